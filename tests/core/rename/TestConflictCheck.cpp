// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/ConflictCheck.h"
#include "core/rename/NewNames.h"
#include "core/rename/RenamePass.h"
#include "support/FakeFileSystem.h"
#include "support/KindTexts.h"
#include "support/TempTree.h"

#include <QTest>
#include <QTimer>
#include <condition_variable>
#include <mutex>

using namespace tamsel;

namespace {
const tamsel::test::KindTexts Kinds;
}
using namespace Qt::StringLiterals;
using tamsel::test::FakeFileSystem;
using tamsel::test::TempTree;

namespace {

// A check run and applied at once; the marks it set.
int markConflicts(FileList& list, const FileSystem& fs)
{
    ConflictCheck check(list);
    check.run(fs);
    const int marked = check.count();
    check.apply(list);
    return marked;
}

RowMark exists(const QString& name)
{
    return {RowMark::Kind::NameExists, 0, -1, name};
}

RowMark badName(NameFault fault)
{
    return {RowMark::Kind::BadName, quint8(fault), -1, {}};
}

} // namespace

using Rows = QList<std::pair<QByteArray, QString>>; // a file (folder/name) and its preview
using Marks = QMap<int, RowMark>;

class TestConflictCheck : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

private Q_SLOTS:
    void marks_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QList<QByteArray>>("onDisk"); // files beside the listed ones
        QTest::addColumn<Marks>("marks");
        QTest::newRow("nothing in the way")
            << Rows{{"a", u"x"_s}, {"b", u"y"_s}} << QList<QByteArray>{} << Marks{};
        QTest::newRow("a file on disk")
            << Rows{{"a", u"x"_s}} << QList<QByteArray>{"x"} << Marks{{0, exists(u"x"_s)}};
        QTest::newRow("chain, the blocked row first")
            << Rows{{"a", u"b"_s}, {"b", u"c"_s}} << QList<QByteArray>{} << Marks{{0, exists(u"b"_s)}};
        QTest::newRow("chain, the freeing row first")
            << Rows{{"b", u"c"_s}, {"a", u"b"_s}} << QList<QByteArray>{} << Marks{};
        QTest::newRow("swap") << Rows{{"a", u"b"_s}, {"b", u"a"_s}} << QList<QByteArray>{}
                              << Marks{{0, exists(u"b"_s)}, {1, exists(u"a"_s)}};
        QTest::newRow("two rows, one name")
            << Rows{{"x", u"same"_s}, {"y", u"same"_s}, {"z", u"other"_s}} << QList<QByteArray>{}
            << Marks{{1, RowMark{RowMark::Kind::SameNewName, 0, 0, {}}}};
        QTest::newRow("one name in two folders")
            << Rows{{"d1/a", u"n"_s}, {"d2/a", u"n"_s}} << QList<QByteArray>{} << Marks{};
        QTest::newRow("names no file system takes")
            << Rows{{"a", u"x/y"_s}, {"b", u".."_s}, {"c", QString(86, u'照')}, {"d", u"x"_s + QChar(0xD800)}}
            << QList<QByteArray>{}
            << Marks{{0, badName(NameFault::Slash)},
                     {1, badName(NameFault::Dots)},
                     {2, badName(NameFault::TooLong)},
                     {3, badName(NameFault::Invalid)}};
        // Names that would break lists and scripts, or hide their real end; direction marks are
        // part of writing right to left.
        QTest::newRow("names that deceive or break") << Rows{{"a", u"x\ny.txt"_s},
                                                             {"b", u"x\u0085"_s},
                                                             {"c", u"b\u202Eexe.txt"_s},
                                                             {"d", u"\u05D0\u200F.txt"_s},
                                                             {"e", u"e\u2067f"_s}}
                                                     << QList<QByteArray>{}
                                                     << Marks{{0, badName(NameFault::ControlCharacter)},
                                                              {1, badName(NameFault::ControlCharacter)},
                                                              {2, badName(NameFault::DirectionControl)},
                                                              {4, badName(NameFault::DirectionControl)}};
        QTest::newRow("unchanged and blank rows")
            << Rows{{"a", u"a"_s}, {"b", u"  "_s}} << QList<QByteArray>{} << Marks{};
        QTest::newRow("a file renamed twice")
            << Rows{{"a", u"b"_s}, {"a", u"c"_s}} << QList<QByteArray>{}
            << Marks{{1, RowMark{RowMark::Kind::SourceGone, 0, -1, u"a"_s}}};
    }
    void marks()
    {
        QFETCH(Rows, rows);
        QFETCH(QList<QByteArray>, onDisk);
        QFETCH(Marks, marks);
        TempTree tree;
        for (const char* dir : {"d1", "d2"})
            tree.folder(dir);
        for (const QByteArray& name : onDisk)
            tree.file(name);
        FileList list(m_fs);
        for (const auto& [file, preview] : rows) {
            if (!QFile::exists(QFile::decodeName(tree.root() + file)))
                tree.file(file);
            list.addFileRow(tree.root() + file);
            list.setCell(list.fileCount() - 1, ColPreview, preview);
        }
        QCOMPARE(markConflicts(list, m_fs), int(marks.size()));
        Marks found;
        for (int r = 0; r < list.fileCount(); ++r) {
            if (const RowMark* mark = list.conflict(r))
                found.insert(r, *mark);
        }
        QCOMPARE(found, marks);
        // The pass itself stops at the first marked row, and at no other.
        const RenameOutcome outcome = renamePass(list, m_fs, Kinds);
        QCOMPARE(outcome.failure.row, marks.isEmpty() ? -1 : marks.firstKey());
    }

    void anyChangeTakesTheMarksAway()
    {
        TempTree tree;
        FileList list(m_fs);
        for (const char* n : {"a", "b", "c"})
            list.addFileRow(tree.file(n));
        list.setCell(0, ColPreview, u"b"_s);
        QCOMPARE(markConflicts(list, m_fs), 1);
        QVERIFY(list.conflict(0));
        QCOMPARE(*list.conflict(0), exists(u"b"_s));
        list.moveBlock(2, 2, 1);
        QCOMPARE(list.conflictCount(), 0);
        QCOMPARE(markConflicts(list, m_fs), 1);
        list.setCell(0, ColPreview, u"z"_s);
        QCOMPARE(list.conflictCount(), 0);
    }

    // The list changes while a check runs: the check overtaken never sets its marks, and its end
    // never waits for the check that overtook it.
    void aStaleCheckIsDroppedNotWaitedFor()
    {
        TempTree tree;
        FakeFileSystem fs;
        FileList list(fs);
        list.addFileRow(tree.file("a"));
        list.addFileRow(tree.file("b"));
        list.setCell(0, ColPreview, u"b"_s);
        std::mutex mutex;
        std::condition_variable changed;
        int opened = 0;
        bool released = false;
        bool releasedByWindow = false;
        fs.beforeChange = [&](const char* operation, const QByteArray&) {
            if (qstrcmp(operation, "open") != 0)
                return;
            std::unique_lock lock(mutex);
            if (++opened == 2) // the second check waits for the window, 10 s at most
                releasedByWindow = changed.wait_for(lock, std::chrono::seconds(10), [&] { return released; });
            changed.notify_all();
        };
        ConflictChecker checker(list, fs, [] { return true; });
        checker.start();
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return opened == 1; });
        }
        list.setCell(0, ColPreview, u"c"_s); // now nothing is in the way
        checker.start();
        bool windowWentOn = false;
        QTimer::singleShot(50, [&] {
            std::lock_guard lock(mutex);
            windowWentOn = released = opened == 2;
            changed.notify_all();
        });
        QTRY_VERIFY_WITH_TIMEOUT(windowWentOn, 5000);
        checker.finish();
        QVERIFY(releasedByWindow);
        QCOMPARE(list.conflictCount(), 0);
        list.setCell(0, ColPreview, u"b"_s);
        checker.start();
        checker.settle();
        QCOMPARE(list.conflictCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestConflictCheck)
#include "TestConflictCheck.moc"

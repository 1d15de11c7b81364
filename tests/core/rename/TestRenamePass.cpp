// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/platform/SafeRename.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/RenamePass.h"
#include "core/rename/rules/CaseRule.h"
#include "core/rename/rules/InsertRule.h"
#include "core/rename/rules/ReplaceRule.h"
#include "support/FakeFileSystem.h"
#include "support/KindTexts.h"
#include "support/TempTree.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace tamsel;

namespace {
const tamsel::test::KindTexts Kinds;
}
using namespace Qt::StringLiterals;
using tamsel::test::contentOf;
using tamsel::test::FakeFileSystem;
using tamsel::test::namesIn;
using tamsel::test::TempTree;

namespace {

QStringList column(const FileList& list, int column)
{
    QStringList out;
    for (int r = 0; r < list.fileCount(); ++r)
        out << list.cell(r, column);
    return out;
}

bool exists(const QByteArray& path)
{
    return ::access(path.constData(), F_OK) == 0;
}

} // namespace

class TestRenamePass : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

    void add(FileList& list, TempTree& tree, std::initializer_list<std::pair<const char*, QString>> rows)
    {
        for (const auto& [name, preview] : rows) {
            list.addFileRow(tree.file(name, 3));
            list.setCell(list.fileCount() - 1, ColPreview, preview);
        }
    }

private Q_SLOTS:
    void renamesRowAfterRow()
    {
        TempTree tree;
        FileList list(m_fs);
        add(list, tree,
            {{"a.txt", u"1.txt"_s}, {"b.txt", u"   "_s}, {"c.txt", u" lead.txt"_s}, {"d", u"d"_s}});
        list.setCell(1, ColResult, u"old"_s);
        QVERIFY(hasPreview(list));
        const RenameOutcome outcome = renamePass(list, m_fs, Kinds);
        QCOMPARE(outcome.failure.row, -1);
        QCOMPARE(column(list, ColResult),
                 (QStringList{u"renamed"_s, u"untouched"_s, u"renamed"_s, u"renamed"_s}));
        QCOMPARE(column(list, ColNewName), (QStringList{u"1.txt"_s, QString(), u" lead.txt"_s, u"d"_s}));
        QVERIFY(exists(tree.root() + "1.txt") && !exists(tree.root() + "a.txt"));
        QVERIFY(exists(tree.root() + "b.txt"));
        QVERIFY(exists(tree.root() + " lead.txt")); // the leading blank is kept
        QVERIFY(exists(tree.root() + "d"));         // the same name: nothing changes, nothing fails
        // Previews stay, names stay until a refresh.
        QCOMPARE(list.cell(0, ColPreview), u"1.txt"_s);
        QCOMPARE(list.cell(0, ColOriginalName), u"a.txt"_s);
        list.refreshFileList();
        QCOMPARE(column(list, ColOriginalName),
                 (QStringList{u"1.txt"_s, u"b.txt"_s, u" lead.txt"_s, u"d"_s}));
        QCOMPARE(list.cell(0, ColFileSize), u"0.002929688 KB "_s);
        QVERIFY(!hasPreview(list));
    }

    void theFirstFailureEndsThePass_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("error");
        QTest::newRow("target exists") << u"taken.txt"_s << int(EEXIST);
        QTest::newRow("slash") << u"sub/x.txt"_s << int(EINVAL);
        QTest::newRow("parent") << u".."_s << int(EINVAL);
        QTest::newRow("dot") << u"."_s << int(EINVAL);
        QTest::newRow("too long") << QString(256, u'x') << int(EINVAL);
        QTest::newRow("too long in bytes") << QString(86, u'名') << int(EINVAL);
        QTest::newRow("lone surrogate") << u"x"_s + QChar(0xD800) << int(EINVAL);
        QTest::newRow("surrogate for no byte") << u"x"_s + QChar(0xDC41) << int(EINVAL);
    }
    void theFirstFailureEndsThePass()
    {
        QFETCH(QString, failing);
        QFETCH(int, error);
        TempTree tree;
        tree.file("taken.txt");
        tree.folder("sub");
        FileList list(m_fs);
        add(list, tree, {{"a", u"A1"_s}, {"b", failing}, {"c", u"C1"_s}});
        list.setCell(1, ColResult, u"earlier"_s);
        list.setCell(2, ColResult, u"earlier"_s);
        const RenameOutcome outcome = renamePass(list, m_fs, Kinds);
        QCOMPARE(outcome.failure.row, 1);
        QCOMPARE(outcome.failure.error.errnum, error);
        QCOMPARE(column(list, ColResult), (QStringList{u"renamed"_s, u"earlier"_s, u"earlier"_s}));
        QVERIFY(exists(tree.root() + "A1"));
        QVERIFY(exists(tree.root() + "b") && exists(tree.root() + "c"));
        QVERIFY(!exists(tree.root() + "sub/x.txt"));
        QCOMPARE(QDir(QString::fromUtf8(tree.root())).entryList(QDir::Files | QDir::Hidden).size(), 4);
    }

    void sameTargetTwiceAndSwaps()
    {
        TempTree tree;
        FileList list(m_fs);
        add(list, tree, {{"a.txt", u"b.txt"_s}, {"b.txt", u"a.txt"_s}});
        QCOMPARE(renamePass(list, m_fs, Kinds).failure.row, 0);
        QVERIFY(exists(tree.root() + "a.txt") && exists(tree.root() + "b.txt"));

        FileList twice(m_fs);
        add(twice, tree, {{"x", u"same"_s}, {"y", u"same"_s}, {"z", u"other"_s}});
        QCOMPARE(renamePass(twice, m_fs, Kinds).failure.row, 1);
        QCOMPARE(column(twice, ColResult), (QStringList{u"renamed"_s, QString(), QString()}));
        QVERIFY(exists(tree.root() + "y") && exists(tree.root() + "z"));
    }

    void missingSourceAndStaleNames()
    {
        TempTree tree;
        FileList list(m_fs);
        add(list, tree, {{"a", u"a2"_s}, {"gone", u"g2"_s}});
        QCOMPARE(::unlink(QByteArray(tree.root() + "gone").constData()), 0);
        RenameOutcome outcome = renamePass(list, m_fs, Kinds);
        QCOMPARE(outcome.failure.row, 1);
        QCOMPARE(outcome.failure.error.errnum, ENOENT);
        // A second pass before a refresh starts from where the first left each file: the first row is a2
        // already, the second is still missing.
        outcome = renamePass(list, m_fs, Kinds);
        QCOMPARE(outcome.failure.row, 1);
        QVERIFY(exists(tree.root() + "a2"));
    }

    void linksAreRenamedAsThemselves()
    {
        TempTree tree;
        tree.folder("dir");
        QCOMPARE(::symlink("dir", QByteArray(tree.root() + "to-dir").constData()), 0);
        QCOMPARE(::symlink("nowhere", QByteArray(tree.root() + "broken").constData()), 0);
        FileList list(m_fs);
        list.addFileRow(tree.root() + "to-dir");
        list.addFileRow(tree.root() + "broken");
        list.setCell(0, ColPreview, u"link-a"_s);
        list.setCell(1, ColPreview, u"link-b"_s);
        QCOMPARE(renamePass(list, m_fs, Kinds).failure.row, -1);
        QCOMPARE(column(list, ColResult), (QStringList{u"renamed"_s, u"renamed"_s}));
        list.refreshFileList();
        QCOMPARE(column(list, ColOriginalName), (QStringList{u"link-a"_s, u"link-b"_s}));
    }

    void namesThatAreNotUtf8()
    {
        TempTree tree;
        const QByteArray gbk("\xb2\xe2\xca\xd4.txt");
        FileList list(m_fs);
        list.addFileRow(tree.file(gbk, 5));
        list.setCell(0, ColPreview, u"测试.txt"_s);
        QCOMPARE(renamePass(list, m_fs, Kinds).failure.row, -1);
        QVERIFY(!exists(tree.root() + gbk));
        QVERIFY(exists(tree.root() + "测试.txt"));
        list.refreshFileList();
        QCOMPARE(list.cell(0, ColOriginalName), u"测试.txt"_s);
        QCOMPARE(list.cell(0, ColFileSize), u"0.004882813 KB "_s);
    }

    // Names that are not UTF-8 go through every rule byte for byte.
    void namesThatAreNotUtf8KeepTheirBytes()
    {
        TempTree tree;
        const QByteArray gbk("\xb2\xe2\xca\xd4.txt");   // "测试.txt" in GBK
        const QByteArray alike("\xb3\xe3\xcb\xd5.txt"); // shows as the same four U+FFFD
        tree.write(gbk, "1");
        tree.write(alike, "2");
        FileList list(m_fs);
        list.addFileRow(tree.root() + gbk);
        list.addFileRow(tree.root() + alike);
        const ReplaceRule replace({u"nothing"_s, u"x"_s, false});
        previewPass(list, replace, replace.plan(list.fileCount(), {}));
        QCOMPARE(renamePass(list, m_fs, Kinds).failure.row, -1);
        QCOMPARE(column(list, ColResult), (QStringList{u"renamed"_s, u"renamed"_s}));
        QCOMPARE(namesIn(tree.root()), (QList<QByteArray>{gbk, alike}));
        const InsertRule insert({u"新"_s, u"0"_s, true});
        previewPass(list, insert, insert.plan(list.fileCount(), {}));
        QCOMPARE(renamePass(list, m_fs, Kinds).failure.row, -1);
        QCOMPARE(contentOf(tree.root() + "新" + gbk), QByteArray("1"));
        QCOMPARE(contentOf(tree.root() + "新" + alike), QByteArray("2"));
    }

    // A rule that matches nothing renames nothing, however odd the name.
    void aRuleThatChangesNothingKeepsTheName()
    {
        TempTree tree;
        FileList list(m_fs);
        const QStringList names{u"draft."_s, u"a.  "_s, u"f.无后缀名"_s, u"..."_s, u".profile"_s, u"plain"_s};
        for (const QString& name : names)
            list.addFileRow(tree.file(name.toUtf8()));
        const ReplaceRule replace({u"zzz"_s, u"y"_s, false});
        previewPass(list, replace, replace.plan(list.fileCount(), {}));
        QCOMPARE(column(list, ColPreview), names);
        const CaseRule keep(CaseChange::Keep, CaseChange::Keep);
        previewPass(list, keep, keep.plan(list.fileCount(), {}));
        QCOMPARE(column(list, ColPreview), names);
        QCOMPARE(renamePass(list, m_fs, Kinds).failure.row, -1);
        QCOMPARE(namesIn(tree.root()).size(), names.size());
    }

    // The folder a pass opened is the one it renames in, even when its path changes meanwhile.
    void aFolderFlippedDuringThePass()
    {
        TempTree tree;
        for (const char* dir : {"one", "two"}) {
            tree.folder(dir);
            for (int i = 0; i < 6; ++i)
                tree.write(dir + QByteArray("/f") + QByteArray::number(i), dir);
        }
        const QByteArray link = tree.root() + "current";
        QCOMPARE(::symlink("one", link.constData()), 0);
        FileList list(m_fs);
        for (int i = 0; i < 6; ++i) {
            list.addFileRow(link + "/f" + QByteArray::number(i));
            list.setCell(i, ColPreview, u"g"_s + QString::number(i));
        }
        const RenameOutcome outcome = renamePass(list, m_fs, Kinds, [&](int row) {
            if (row == 3) {
                ::unlink(link.constData());
                ::symlink("two", link.constData());
            }
            return true;
        });
        QCOMPARE(outcome.failure.row, -1);
        const QList<QByteArray> renamed{"g0", "g1", "g2", "g3", "g4", "g5"};
        QCOMPARE(namesIn(tree.root() + "one"), renamed);
        QCOMPARE(namesIn(tree.root() + "two"), (QList<QByteArray>{"f0", "f1", "f2", "f3", "f4", "f5"}));
    }

    void aFolderInTheFilesPlaceIsNotRenamed()
    {
        TempTree tree;
        FileList list(m_fs);
        add(list, tree, {{"a.txt", u"b.txt"_s}});
        ::unlink(QByteArray(tree.root() + "a.txt").constData());
        tree.folder("a.txt");
        tree.write("a.txt/inside", "I");
        const RenameOutcome outcome = renamePass(list, m_fs, Kinds);
        QCOMPARE(outcome.failure.row, 0);
        QCOMPARE(outcome.failure.error.errnum, EISDIR);
        QCOMPARE(contentOf(tree.root() + "a.txt/inside"), QByteArray("I"));
        QVERIFY(!exists(tree.root() + "b.txt"));
    }

    void aFileLeftUnderATemporaryNameIsNamed()
    {
        TempTree tree;
        FakeFileSystem fs;
        fs.ignoreCase = true;
        FileList list(fs);
        list.addFileRow(tree.write("Photo.JPG", "P"));
        list.setCell(0, ColPreview, u"photo.jpg"_s);
        int renames = 0;
        fs.beforeChange = [&](const char* operation, const QByteArray&) {
            if (qstrcmp(operation, "rename") == 0 && ++renames == 3)
                tree.write("PHOTO.JPG", "other program");
        };
        const RenameOutcome outcome = renamePass(list, fs, Kinds);
        QCOMPARE(outcome.failure.row, 0);
        QVERIFY(list.cell(0, ColResult).startsWith(u"failed, left as .tamsel-"_s));
        QCOMPARE(outcome.failure.left, RenamedRow::Left::File);
        QVERIFY(outcome.failure.leftAs.startsWith(".tamsel-"));
    }

    // A file a killed run left under a temporary name is found by the next pass that looks for it.
    void theNextPassRecoversAKilledRunsTemporaryName()
    {
        TempTree tree;
        FileList list(m_fs);
        add(list, tree, {{"a", u"b"_s}, {"Photo.JPG", u"photo.jpg"_s}});
        ::rename(QByteArray(tree.root() + "Photo.JPG").constData(),
                 QByteArray(tree.root() + temporaryPrefix() + "1073741824-7-1-Photo.JPG").constData());
        QCOMPARE(renamePass(list, m_fs, Kinds).failure.row, -1);
        QCOMPARE(namesIn(tree.root()), (QList<QByteArray>{"b", "photo.jpg"}));
    }

    // Where nothing can rename without replacing (FUSE vfat), the row says the pass had no guard.
    void aRenameWithoutGuardSaysSo()
    {
        TempTree tree;
        FakeFileSystem fs;
        fs.noReplace = false;
        fs.hardLinks = false;
        FileList list(fs);
        list.addFileRow(tree.write("a", "A"));
        list.setCell(0, ColPreview, u"b"_s);
        QCOMPARE(renamePass(list, fs, Kinds).failure.row, -1);
        QCOMPARE(list.cell(0, ColResult), u"renamed unguarded"_s);
        QCOMPARE(list.cell(0, ColNewName), u"b"_s);
    }

    void nothingToRename()
    {
        FileList list(m_fs);
        QVERIFY(!hasPreview(list));
        list.addFileRow("/none/a");
        list.setCell(0, ColPreview, u"  "_s);
        QVERIFY(!hasPreview(list));
    }
};

QTEST_GUILESS_MAIN(TestRenamePass)
#include "TestRenamePass.moc"

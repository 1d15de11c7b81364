// SPDX-License-Identifier: GPL-3.0-or-later
// The file list as the grid's model: header, blank lines, numbers, alignment, and the row signals
// it gives views as the list changes.
#include "core/filelist/AddFiles.h"
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "gui/filelist/FileListModel.h"
#include "support/FakeFileSystem.h"
#include "support/TempTree.h"

#include <QAbstractItemModelTester>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <atomic>

using namespace tamsel;
using namespace Qt::StringLiterals;
using tamsel::test::FakeFileSystem;
using tamsel::test::TempTree;

namespace {

constexpr auto QtTestFailures = QAbstractItemModelTester::FailureReportingMode::QtTest;

QString shown(const FileListModel& model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

QString number(const FileListModel& model, int row)
{
    return model.headerData(row, Qt::Vertical).toString();
}

} // namespace

class TestFileListModel : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

private Q_SLOTS:
    void emptyListShowsHeaderAndBlankLines()
    {
        FileList list(m_fs);
        FileListModel model(list);
        QCOMPARE(model.rowCount(), 29);
        QCOMPARE(model.columnCount(), 11);
        const QStringList headers = {u"编号"_s,         u"原文件名"_s, u"预览"_s,     u"执行结果"_s,
                                     u"文件所在目录"_s, u"文件名称"_s, u"文件类型"_s, u"文件大小"_s,
                                     u"创建时间"_s,     u"修改时间"_s, u"新文件名"_s};
        for (int c = 0; c < 11; ++c) {
            QCOMPARE(FileListModel::headerText(c), headers[c]);
            QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), headers[c]);
            QCOMPARE(shown(model, 0, c), QString());
        }
        QCOMPARE(number(model, 0), QString());

        // A refresh of nothing changes no line.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        list.refreshFileList();
        QCOMPARE(model.rowCount(), 29);
        QCOMPARE(changed.size(), 0);
    }

    void alignments()
    {
        FileList list(m_fs);
        FileListModel model(list);
        auto align = [&](int column) {
            return model.data(model.index(0, column), Qt::TextAlignmentRole).toInt();
        };
        QCOMPARE(align(ColNumber), int(Qt::AlignCenter));
        QCOMPARE(align(ColFileType), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(align(ColFileSize), int(Qt::AlignRight | Qt::AlignVCenter));
        for (int c : {1, 2, 3, 4, 5, 8, 9, 10})
            QCOMPARE(align(c), int(Qt::AlignLeft | Qt::AlignVCenter));
    }

    // Files are numbered from 1; bytes that are not UTF-8 show as U+FFFD.
    void rowsShowNumberAndNames()
    {
        TempTree tree;
        const QByteArray gbk("\xb2\xe2\xca\xd4.txt");           // "测试" in GBK
        const QByteArray dir = tree.folder("\xce\xc4\xbc\xfe"); // "文件" in GBK
        const QByteArray path = dir + gbk;
        tree.file(path.mid(tree.root().size()));
        FileList list(m_fs);
        FileListModel model(list);
        list.addFileRow(tree.file("照片.JPG"));
        list.addFileRow(path);
        QCOMPARE(shown(model, 0, ColOriginalName), u"照片.JPG"_s);
        QCOMPARE(shown(model, 1, ColOriginalName), u"\uFFFD\uFFFD\uFFFD\uFFFD.txt"_s);
        QVERIFY(shown(model, 1, ColDirectory).endsWith(u"/\uFFFD\u013C\uFFFD/"_s)); // "\xc4\xbc" is UTF-8
        QCOMPARE(number(model, 0), u"1"_s);
        QCOMPARE(number(model, 1), u"2"_s);
        QCOMPARE(number(model, 2), QString());
        QCOMPARE(shown(model, 2, ColOriginalName), QString());
    }

    void growsOneRowPerAppendBeyondThirty()
    {
        TempTree tree;
        const QByteArray path = tree.file("f.txt");
        FileList list(m_fs);
        FileListModel model(list);
        QAbstractItemModelTester tester(&model, QtTestFailures);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        for (int i = 1; i <= 29; ++i)
            list.addFileRow(path);
        QCOMPARE(model.rowCount(), 29);
        QCOMPARE(inserted.size(), 0);
        list.addFileRow(path);
        QCOMPARE(model.rowCount(), 30);
        list.addFileRow(path);
        QCOMPARE(model.rowCount(), 31);
        QCOMPARE(inserted.size(), 2);
        QCOMPARE(number(model, 30), u"31"_s);
    }

    void removeBlockClosesTheGap_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("gridRows");
        QTest::newRow("middle of four") << 4 << 1 << 2 << 30;
        QTest::newRow("last two of four") << 4 << 2 << 3 << 30;
        QTest::newRow("all four") << 4 << 0 << 3 << 30;
        QTest::newRow("5 of 40") << 40 << 9 << 13 << 36;
        QTest::newRow("10 of 31") << 31 << 0 << 9 << 30;
        QTest::newRow("first of 100") << 100 << 0 << 0 << 100;
    }
    void removeBlockClosesTheGap()
    {
        QFETCH(int, files);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, gridRows);
        FileList list(m_fs);
        FileListModel model(list);
        QAbstractItemModelTester tester(&model, QtTestFailures);
        for (int i = 0; i < files; ++i)
            list.addFileRow(QByteArray("/none/f") + QByteArray::number(i));
        list.removeBlock(first, last);
        QCOMPARE(model.rowCount(), gridRows - 1);
        for (int r = 0; r < list.fileCount(); ++r)
            QCOMPARE(number(model, r), QString::number(r + 1));
        QCOMPARE(shown(model, first, ColOriginalName), list.cell(first, ColOriginalName));
        for (int r = list.fileCount(); r < list.fileCount() + 2; ++r) {
            QCOMPARE(number(model, r), QString());
            QCOMPARE(shown(model, r, ColOriginalName), QString());
        }
    }

    void batchedAppendsReachTheViewTogether()
    {
        TempTree tree;
        const QByteArray path = tree.file("f");
        FileList list(m_fs);
        FileListModel model(list);
        QAbstractItemModelTester tester(&model, QtTestFailures);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        list.beginBatch();
        for (int i = 0; i < 100; ++i)
            list.addFileRow(path);
        QCOMPARE(model.rowCount(), 29);
        list.flush();
        QCOMPARE(model.rowCount(), 100);
        list.addFileRow(path);
        list.endBatch();
        QCOMPARE(model.rowCount(), 101);
        QCOMPARE(inserted.size(), 2);

        list.initFileList();
        QCOMPARE(model.rowCount(), 29);
        QCOMPARE(number(model, 0), QString());
    }

    void recursiveWalkReachesTheView()
    {
        TempTree tree;
        tree.file("one.txt");
        tree.folder("sub");
        tree.file("sub/inner.doc");
        tree.folder("sub/deeper");
        tree.file("sub/deeper/deep.jpg");
        FakeFileSystem fs;
        FileList list(fs);
        FileListModel model(list);
        QAbstractItemModelTester tester(&model, QtTestFailures);
        QVERIFY(addFolderRecursive(list, fs, tree.root().chopped(1), {}));
        QCOMPARE(model.rowCount(), 29);
        QCOMPARE(shown(model, 2, ColOriginalName), u"deep.jpg"_s);
        QCOMPARE(number(model, 2), u"3"_s);
        QCOMPARE(number(model, 3), QString());
    }

    // A walk held at a sub-folder until it has let events through, where the list is emptied: the
    // model stays consistent through the reset and the batches after it.
    void walkEmptiedMidwayKeepsTheModelConsistent()
    {
        TempTree tree;
        const QByteArray sub = tree.folder("sub");
        FakeFileSystem fs;
        fs.madeUpFiles.insert(tree.root(), 5000);
        fs.madeUpFiles.insert(sub, 300);
        std::atomic<bool> atSub = false;
        QSemaphore goOn;
        fs.beforeChange = [&](const char* operation, const QByteArray& folder) {
            if (qstrcmp(operation, "list") != 0 || folder != sub)
                return;
            atSub = true;
            QVERIFY(goOn.tryAcquire(1, 60000));
        };
        FileList list(fs);
        FileListModel model(list);
        QAbstractItemModelTester tester(&model, QtTestFailures);
        int countAtClear = -1;
        WalkHooks hooks;
        hooks.yield = [&] {
            if (atSub && list.fileCount() > 0 && countAtClear < 0) {
                countAtClear = list.fileCount();
                list.initFileList();
                goOn.release();
            }
        };
        QVERIFY(addFolderRecursive(list, fs, tree.root(), hooks));
        QVERIFY(countAtClear > 0);
        QCOMPARE(list.fileCount(), 5300 - countAtClear);
        QCOMPARE(model.rowCount(), std::max(29, list.fileCount()));
        QCOMPARE(number(model, list.fileCount() - 1), QString::number(list.fileCount()));
    }
};

QTEST_GUILESS_MAIN(TestFileListModel)
#include "TestFileListModel.moc"

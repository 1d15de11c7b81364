// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "support/TempTree.h"

#include <QSignalSpy>
#include <QTest>
#include <cstdio>

using namespace tamsel;
using tamsel::test::TempTree;
using namespace Qt::StringLiterals;

class TestFileList : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

private Q_SLOTS:
    void startsEmpty()
    {
        FileList list(m_fs);
        QCOMPARE(list.fileCount(), 0);
        for (int c = 0; c < ColumnCount; ++c)
            QCOMPARE(list.cell(0, c), QString());

        // A refresh of nothing announces nothing.
        QSignalSpy changed(&list, &FileList::rowsChanged);
        QSignalSpy counts(&list, &FileList::fileCountChanged);
        list.refreshFileList();
        QCOMPARE(list.fileCount(), 0);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(counts.size(), 0);
    }

    void appendFillsEveryCell_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("sizeText");
        QTest::newRow("a.b.c") << QByteArray("a.b.c") << qint64(2560) << u"a.b"_s << u"c"_s << u"2.5 KB "_s;
        QTest::newRow("notes") << QByteArray("notes") << qint64(0) << u"notes"_s << u"无后缀名"_s
                               << u"0 KB "_s;
        QTest::newRow(".profile") << QByteArray(".profile") << qint64(1536) << QString() << u"profile"_s
                                  << u"1.5 KB "_s;
        QTest::newRow("a.") << QByteArray("a.") << qint64(1048576) << u"a"_s << QString() << u"1024 KB "_s;
        QTest::newRow("chinese") << QByteArray("照片.JPG") << qint64(1000) << u"照片"_s << u"JPG"_s
                                 << u"0.9765625 KB "_s;
    }
    void appendFillsEveryCell()
    {
        QFETCH(QByteArray, name);
        QFETCH(qint64, size);
        QFETCH(QString, main);
        QFETCH(QString, extension);
        QFETCH(QString, sizeText);
        TempTree tree;
        const QByteArray path = tree.file(name, size);
        FileList list(m_fs);
        QSignalSpy counts(&list, &FileList::fileCountChanged);
        QSignalSpy changed(&list, &FileList::rowsChanged);
        QVERIFY(list.addFileRow(path));

        // Outside a batch the row is announced at once.
        QCOMPARE(list.fileCount(), 1);
        QCOMPARE(counts.size(), 1);
        QCOMPARE(counts.first().first().toInt(), 1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first(), (QVariantList{0, 0}));
        QCOMPARE(list.cell(0, ColNumber), QString());
        QCOMPARE(list.cell(0, ColOriginalName), QString::fromUtf8(name));
        QCOMPARE(list.cell(0, ColPreview), QString());
        QCOMPARE(list.cell(0, ColResult), QString());
        QCOMPARE(list.cell(0, ColDirectory), QString::fromUtf8(tree.root()));
        QCOMPARE(list.cell(0, ColFileName), main);
        QCOMPARE(list.cell(0, ColFileType), extension);
        QCOMPARE(list.cell(0, ColFileSize), sizeText);
        QVERIFY(!list.cell(0, ColModified).isEmpty());
        QCOMPARE(list.cell(0, ColNewName), QString());
        QCOMPARE(list.cell(1, ColOriginalName), QString());
        QCOMPARE(list.pathBytes(0), path);
    }

    void createdTimeIsBirthTimeOrEmpty()
    {
        TempTree tree;
        FileList list(m_fs);
        list.addFileRow(tree.file("born"));
        const auto st = m_fs.stat(list.pathBytes(0));
        QVERIFY(st);
        QCOMPARE(list.cell(0, ColCreated).isEmpty(), !st->createdMs.has_value());
    }

    void samePathTwiceGivesTwoRows()
    {
        TempTree tree;
        const QByteArray path = tree.file("twice.txt", 10);
        FileList list(m_fs);
        list.addFileRow(path);
        list.addFileRow(path);
        QCOMPARE(list.fileCount(), 2);
        QCOMPARE(list.cell(0, ColOriginalName), u"twice.txt"_s);
        QCOMPARE(list.cell(1, ColOriginalName), u"twice.txt"_s);
    }

    void rootAndBarePaths()
    {
        FileList list(m_fs);
        list.addFileRow(QByteArray("/no-such-file-in-root"));
        QCOMPARE(list.cell(0, ColDirectory), u"/"_s);
        QCOMPARE(list.cell(0, ColOriginalName), u"no-such-file-in-root"_s);
        // A file that cannot be read keeps its row with empty details.
        QCOMPARE(list.cell(0, ColFileSize), QString());
        QCOMPARE(list.cell(0, ColCreated), QString());
        QCOMPARE(list.cell(0, ColModified), QString());
        QCOMPARE(list.cell(0, ColFileName), u"no-such-file-in-root"_s);
        list.addFileRow(QByteArray("bare"));
        QCOMPARE(list.cell(1, ColDirectory), QString());
        QCOMPARE(list.pathBytes(1), QByteArray("bare"));
    }

    void refresh()
    {
        TempTree tree;
        FileList list(m_fs);
        list.addFileRow(tree.file("keep.doc", 100));
        list.addFileRow(tree.file("old.doc", 100));
        list.addFileRow(tree.file("blank.doc", 100));
        list.addFileRow(tree.file("lead.doc", 100));
        for (int r = 0; r < 4; ++r) {
            list.setCell(r, ColPreview, u"preview"_s);
            list.setCell(r, ColResult, u"操作成功！"_s);
        }
        QCOMPARE(std::rename(QByteArray(tree.root() + "old.doc").constData(),
                             QByteArray(tree.root() + "x.txt").constData()),
                 0);
        tree.file("x.txt", 2560);
        list.setCell(1, ColNewName, u"x.txt"_s);
        list.setCell(2, ColNewName, u"   "_s);
        QCOMPARE(std::rename(QByteArray(tree.root() + "lead.doc").constData(),
                             QByteArray(tree.root() + " y.txt").constData()),
                 0);
        list.setCell(3, ColNewName, u" y.txt"_s);

        list.refreshFileList();
        QCOMPARE(list.cell(0, ColOriginalName), u"keep.doc"_s);
        QCOMPARE(list.cell(1, ColOriginalName), u"x.txt"_s);
        QCOMPARE(list.cell(1, ColFileName), u"x"_s);
        QCOMPARE(list.cell(1, ColFileType), u"txt"_s);
        QCOMPARE(list.cell(1, ColFileSize), u"2.5 KB "_s);
        QCOMPARE(list.cell(2, ColOriginalName), u"blank.doc"_s);
        QCOMPARE(list.cell(3, ColOriginalName), u" y.txt"_s);
        QCOMPARE(list.cell(3, ColFileSize), u"0.09765625 KB "_s);
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(list.cell(r, ColPreview), QString());
            QCOMPARE(list.cell(r, ColResult), QString());
            QCOMPARE(list.cell(r, ColNewName), QString());
        }
        QCOMPARE(list.fileCount(), 4);
    }

    void refreshKeepsRowOfVanishedFile()
    {
        TempTree tree;
        FileList list(m_fs);
        const QByteArray path = tree.file("gone.txt", 2048);
        list.addFileRow(path);
        QCOMPARE(list.cell(0, ColFileSize), u"2 KB "_s);
        QCOMPARE(std::remove(path.constData()), 0);
        list.refreshFileList();
        QCOMPARE(list.fileCount(), 1);
        QCOMPARE(list.cell(0, ColOriginalName), u"gone.txt"_s);
        QCOMPARE(list.cell(0, ColFileType), u"txt"_s);
        QCOMPARE(list.cell(0, ColFileSize), QString());
        QCOMPARE(list.cell(0, ColModified), QString());
    }

    void nonUtf8NamesKeepTheirBytes()
    {
        TempTree tree;
        const QByteArray gbk("\xb2\xe2\xca\xd4.txt");           // "测试" in GBK
        const QByteArray dir = tree.folder("\xce\xc4\xbc\xfe"); // "文件" in GBK
        const QByteArray path = dir + gbk;
        tree.file(path.mid(tree.root().size()), 7);
        FileList list(m_fs);
        list.addFileRow(path);
        list.addFileRow(tree.file("plain.txt"));
        // The cell holds the bytes as characters of their own.
        QCOMPARE(list.cell(0, ColOriginalName), u"\xdcb2\xdce2\xdcca\xdcd4.txt"_s);
        QCOMPARE(list.pathBytes(0), path);
        QCOMPARE(list.cell(0, ColFileSize), u"0.006835938 KB "_s);

        // The bytes travel with the row.
        list.moveBlock(1, 1, 0);
        QCOMPARE(list.pathBytes(0), tree.root() + "plain.txt");
        QCOMPARE(list.pathBytes(1), path);
        list.refreshFileList();
        QCOMPARE(list.cell(1, ColFileSize), u"0.006835938 KB "_s);

        // A new name from a rename is UTF-8 and replaces the old bytes.
        list.setCell(1, ColNewName, u"新.txt"_s);
        list.refreshFileList();
        QCOMPARE(list.pathBytes(1), dir + QByteArray("新.txt"));
    }

    void foldersShareOneDirectoryString()
    {
        TempTree tree;
        FileList list(m_fs);
        list.addFileRow(tree.file("one"));
        list.addFileRow(tree.file("two"));
        QVERIFY(list.cell(0, ColDirectory).isSharedWith(list.cell(1, ColDirectory)));
    }

    // The block operations against the row-by-row algorithms they stand for.
    void blockMovesMatchStepByStepMoves()
    {
        for (int n = 1; n <= 7; ++n) {
            for (int first = 1; first <= n; ++first) {
                for (int last = first; last <= n; ++last) {
                    for (int to = 1; to + (last - first) <= n; ++to) {
                        FileList list(m_fs);
                        QStringList expected;
                        for (int i = 0; i < n; ++i) {
                            list.addFileRow(QByteArray("/none/") + char('a' + i));
                            expected << QString(QChar(u'a' + i));
                        }
                        // One step up: the row above the block goes below it.
                        int f = first, l = last;
                        while (f > to) {
                            const QString above = expected[f - 2];
                            for (int r = f; r <= l; ++r)
                                expected[r - 2] = expected[r - 1];
                            expected[l - 1] = above;
                            --f, --l;
                        }
                        while (f < to) {
                            const QString below = expected[l];
                            for (int r = l; r >= f; --r)
                                expected[r] = expected[r - 1];
                            expected[f - 1] = below;
                            ++f, ++l;
                        }
                        list.moveBlock(first - 1, last - 1, to - 1);
                        QStringList actual;
                        for (int r = 0; r < n; ++r)
                            actual << list.cell(r, ColOriginalName);
                        QCOMPARE(actual, expected);
                    }
                }
            }
        }
    }

    void removeBlockClosesTheGap_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("middle of four") << 4 << 1 << 2;
        QTest::newRow("last two of four") << 4 << 2 << 3;
        QTest::newRow("all four") << 4 << 0 << 3;
        QTest::newRow("5 of 40") << 40 << 9 << 13;
        QTest::newRow("10 of 31") << 31 << 0 << 9;
        QTest::newRow("first of 100") << 100 << 0 << 0;
    }
    void removeBlockClosesTheGap()
    {
        QFETCH(int, files);
        QFETCH(int, first);
        QFETCH(int, last);
        FileList list(m_fs);
        QStringList expected;
        for (int i = 0; i < files; ++i) {
            list.addFileRow(QByteArray("/none/f") + QByteArray::number(i));
            expected << u"f"_s + QString::number(i);
        }
        QSignalSpy counts(&list, &FileList::fileCountChanged);
        QSignalSpy changed(&list, &FileList::rowsChanged);
        list.removeBlock(first, last);
        expected.remove(first, last - first + 1);
        QCOMPARE(list.fileCount(), files - (last - first + 1));
        for (int r = 0; r < list.fileCount(); ++r)
            QCOMPARE(list.cell(r, ColOriginalName), expected[r]);
        for (int r = list.fileCount(); r < list.fileCount() + 2; ++r)
            QCOMPARE(list.cell(r, ColOriginalName), QString());
        // From the first row removed to the old last row: the rows that moved up and those that went.
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first(), (QVariantList{first, files - 1}));
        QCOMPARE(counts.size(), 1);
        QCOMPARE(counts.first().first().toInt(), list.fileCount());
    }

    void gatherMatchesKeepsBothOrders_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("result");
        QTest::addColumn<int>("matches");
        const QStringList four = {u"a.txt"_s, u"b.doc"_s, u"ab.txt"_s, u"c.txt"_s};
        QTest::newRow("a") << four << u"a"_s << QStringList{u"a.txt"_s, u"ab.txt"_s, u"b.doc"_s, u"c.txt"_s}
                           << 2;
        QTest::newRow("txt") << four << u"txt"_s
                             << QStringList{u"a.txt"_s, u"ab.txt"_s, u"c.txt"_s, u"b.doc"_s} << 3;
        QTest::newRow("case matters") << four << u"A"_s << four << 0;
        QTest::newRow("every row") << four << u"."_s << four << 4;
        QTest::newRow("first rows only") << four << u"a."_s << four << 1;
        QTest::newRow("extension searched too")
            << four << u"doc"_s << QStringList{u"b.doc"_s, u"a.txt"_s, u"ab.txt"_s, u"c.txt"_s} << 1;
        QTest::newRow("chinese") << QStringList{u"甲.txt"_s, u"乙照片.jpg"_s} << u"照片"_s
                                 << QStringList{u"乙照片.jpg"_s, u"甲.txt"_s} << 1;
    }
    void gatherMatchesKeepsBothOrders()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, text);
        QFETCH(QStringList, result);
        QFETCH(int, matches);
        FileList list(m_fs);
        for (const QString& f : files)
            list.addFileRow(QByteArray("/none/") + f.toUtf8());
        for (int r = 0; r < list.fileCount(); ++r)
            list.setCell(r, ColPreview, u"p-"_s + list.cell(r, ColOriginalName));
        QCOMPARE(list.gatherMatches(text), matches);
        for (int r = 0; r < list.fileCount(); ++r) {
            QCOMPARE(list.cell(r, ColOriginalName), result[r]);
            QCOMPARE(list.cell(r, ColPreview), u"p-"_s + result[r]);
        }
    }

    void batchedAppendsAreAnnouncedTogether()
    {
        TempTree tree;
        const QByteArray path = tree.file("f");
        FileList list(m_fs);
        QSignalSpy counts(&list, &FileList::fileCountChanged);
        QSignalSpy changed(&list, &FileList::rowsChanged);
        QSignalSpy reset(&list, &FileList::listReset);
        list.beginBatch();
        for (int i = 0; i < 100; ++i)
            list.addFileRow(path);
        QCOMPARE(list.fileCount(), 100);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(counts.size(), 0);
        list.flush();
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.last(), (QVariantList{0, 99}));
        list.addFileRow(path);
        list.endBatch();
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed.last(), (QVariantList{100, 100}));
        QCOMPARE(counts.size(), 2);
        QCOMPARE(counts.last().first().toInt(), 101);

        list.initFileList();
        QCOMPARE(reset.size(), 1);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(counts.last().first().toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestFileList)
#include "TestFileList.moc"

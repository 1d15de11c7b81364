// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/FileSystem.h"
#include "support/TempTree.h"

#include <QTest>
#include <algorithm>
#include <cerrno>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>

using namespace tamsel;
using tamsel::test::TempTree;

class TestFileSystem : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

    QList<QByteArray> list(const QByteArray& dir, QList<bool>* isDir = nullptr)
    {
        QList<QByteArray> names;
        QList<bool> dirs;
        const bool ok = m_fs.listDir(dir, [&](const DirEntry& e) {
            names << e.name;
            dirs << e.isDir;
            return true;
        });
        if (!ok)
            names << QByteArray("<failed>");
        // Sort both by name so the checks do not depend on the file system's order.
        QList<int> order(names.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&](int a, int b) { return names[a] < names[b]; });
        QList<QByteArray> sorted;
        QList<bool> sortedDirs;
        for (int i : order) {
            sorted << names[i];
            if (i < dirs.size())
                sortedDirs << dirs[i];
        }
        if (isDir)
            *isDir = sortedDirs;
        return sorted;
    }

private Q_SLOTS:
    void statOfFilesFoldersAndLinks()
    {
        TempTree tree;
        const QByteArray file = tree.file("f.bin", 5000);
        const auto st = m_fs.stat(file);
        QVERIFY(st);
        QCOMPARE(st->size, qint64(5000));
        QVERIFY(!st->isDir);
        QVERIFY(st->modifiedMs > 0);
        QVERIFY(m_fs.stat(tree.folder("sub"))->isDir);
        QVERIFY(!m_fs.stat(tree.root() + "missing"));
        QVERIFY(!m_fs.stat(QByteArray()));

        QCOMPARE(::symlink("f.bin", QByteArray(tree.root() + "link").constData()), 0);
        QCOMPARE(m_fs.stat(tree.root() + "link")->size, qint64(5000));
        QCOMPARE(::symlink("nowhere", QByteArray(tree.root() + "broken").constData()), 0);
        QVERIFY(m_fs.stat(tree.root() + "broken")); // the link itself
    }

    void listingSeesHiddenEntriesAndNeverFollowsLinks()
    {
        TempTree tree;
        tree.file("a.txt");
        tree.file(".hidden");
        tree.folder("sub");
        QCOMPARE(::symlink("sub", QByteArray(tree.root() + "dirlink").constData()), 0);
        QCOMPARE(::symlink("missing", QByteArray(tree.root() + "broken").constData()), 0);
        QList<bool> dirs;
        const QList<QByteArray> names = list(tree.root(), &dirs);
        QCOMPARE(names, (QList<QByteArray>{".hidden", "a.txt", "broken", "dirlink", "sub"}));
        QCOMPARE(dirs, (QList<bool>{false, false, false, false, true}));
        QCOMPARE(list(tree.root() + "missing"), QList<QByteArray>{"<failed>"});
    }

    void listingStopsWhenAsked()
    {
        TempTree tree;
        for (const char* n : {"1", "2", "3"})
            tree.file(n);
        int seen = 0;
        QVERIFY(m_fs.listDir(tree.root(), [&](const DirEntry&) { return ++seen < 2; }));
        QCOMPARE(seen, 2);
    }

    void renameNeverReplaces()
    {
        TempTree tree;
        const QByteArray a = tree.file("a.txt", 1);
        const QByteArray b = tree.file("b.txt", 2);
        QCOMPARE(m_fs.rename(a, b), EEXIST);
        QCOMPARE(m_fs.stat(b)->size, qint64(2));
        QCOMPARE(m_fs.rename(a, tree.root() + "c.txt"), 0);
        QVERIFY(!m_fs.fileExists(a));
        QVERIFY(m_fs.fileExists(tree.root() + "c.txt"));
        QCOMPARE(m_fs.rename(a, tree.root() + "d.txt"), ENOENT);
    }

    void fileExistsExcludesFolders()
    {
        TempTree tree;
        QVERIFY(m_fs.fileExists(tree.file(".hidden")));
        const QByteArray ro = tree.file("ro");
        ::chmod(ro.constData(), 0444);
        QVERIFY(m_fs.fileExists(ro));
        QVERIFY(!m_fs.fileExists(tree.folder("dir")));
        QVERIFY(!m_fs.fileExists(QByteArray()));
        QVERIFY(!m_fs.fileExists(tree.root() + "missing"));
    }

    void readFileUpToALimit()
    {
        TempTree tree;
        const QByteArray path = tree.file("t.txt", 100);
        QCOMPARE(m_fs.readFile(path, 100)->size(), 100);
        QVERIFY(!m_fs.readFile(path, 99));
        QVERIFY(!m_fs.readFile(tree.root() + "missing", 100));
    }
};

QTEST_GUILESS_MAIN(TestFileSystem)
#include "TestFileSystem.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/FileSystem.h"
#include "support/TempTree.h"

#include <QTest>
#include <algorithm>
#include <cerrno>
#include <numeric>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tamsel;
using tamsel::test::runProgram;
using tamsel::test::TempTree;

class TestFileSystem : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

    QList<QByteArray> list(const QByteArray& dir, QList<bool>* isDir = nullptr)
    {
        QList<QByteArray> names;
        QList<bool> dirs;
        const bool ok = m_fs.listDir(dir, [&](const DirEntry& e) {
            names << e.name.toByteArray();
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
        QVERIFY(!st->isDir());
        QVERIFY(st->modifiedMs > 0);
        QVERIFY(m_fs.stat(tree.folder("sub"))->isDir());
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
        tree.file("a.txt", 1);
        const QByteArray b = tree.file("b.txt", 2);
        auto opened = m_fs.openFolder(tree.root());
        QVERIFY(opened);
        const auto folder = std::move(*opened);
        QCOMPARE(folder->renameNoReplace("a.txt", "b.txt").error(), EEXIST);
        QCOMPARE(m_fs.stat(b)->size, qint64(2));
        QCOMPARE(folder->renameNoReplace("a.txt", "c.txt").error(), 0);
        QVERIFY(m_fs.fileExists(tree.root() + "c.txt"));
        QCOMPARE(folder->renameNoReplace("a.txt", "d.txt").error(), ENOENT);
        QCOMPARE(m_fs.openFolder(tree.root() + "missing").error(), ENOENT);
    }

    // Every change through an open folder stays in it, whatever becomes of its path.
    void anOpenFolderStaysWhereItWas()
    {
        TempTree tree;
        tree.folder("one");
        tree.folder("two");
        tree.file("one/a", 1);
        tree.file("two/a", 2);
        const QByteArray link = tree.root() + "current";
        QCOMPARE(::symlink("one", link.constData()), 0);
        auto opened = m_fs.openFolder(link + '/');
        QVERIFY(opened);
        const auto folder = std::move(*opened);
        QCOMPARE(::unlink(link.constData()), 0);
        QCOMPARE(::symlink("two", link.constData()), 0);
        QCOMPARE(folder->renameNoReplace("a", "b").error(), 0);
        QCOMPARE(folder->link("b", "c").error(), 0);
        QCOMPARE(folder->unlink("c").error(), 0);
        QCOMPARE(list(tree.root() + "one"), QList<QByteArray>{"b"});
        QCOMPARE(list(tree.root() + "two"), QList<QByteArray>{"a"});
        QCOMPARE(folder->entry("b")->size, qint64(1));
        QCOMPARE(folder->entry("b")->type, FileType::Regular);
        QCOMPARE(folder->self()->identity, m_fs.stat(tree.root() + "one")->identity);
    }

    // Without d_type every entry is looked up; one removed meanwhile is skipped, not a failure.
    void aVanishedEntryOnAFileSystemWithoutTypes()
    {
        if (::geteuid() != 0)
            QSKIP("mounting needs root");
        TempTree tree;
        const QString image = QString::fromUtf8(tree.file("ext4.img", 16 << 20));
        const QByteArray mnt = tree.folder("mnt");
        if (!runProgram(QStringLiteral("mkfs.ext4"),
                        {QStringLiteral("-q"), QStringLiteral("-F"), QStringLiteral("-O"),
                         QStringLiteral("^filetype"), image}) ||
            !runProgram(QStringLiteral("mount"),
                        {QStringLiteral("-o"), QStringLiteral("loop"), image, QString::fromUtf8(mnt)}))
            QSKIP("no loop mount here");
        struct Unmount {
            QByteArray path;
            ~Unmount() { ::umount(path.constData()); }
        } unmount{mnt};
        for (const char* n : {"a", "b", "c", "d"})
            tree.file("mnt/" + QByteArray(n));
        tree.folder("mnt/sub");
        QList<QByteArray> files;
        bool sub = false;
        const bool ok = m_fs.listDir(mnt, [&](const DirEntry& e) {
            if (!e.isDir && files.isEmpty()) {
                for (const char* n : {"a", "b", "c", "d"})
                    if (e.name != n)
                        ::unlink(QByteArray(mnt + n).constData());
            }
            if (!e.isDir)
                files << e.name.toByteArray();
            sub = sub || e.name == "sub";
            return true;
        });
        QVERIFY(ok);
        QVERIFY(sub);
        QCOMPARE(files.size(), 1);
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
        QCOMPARE(m_fs.readFile(path, 99).error(), EFBIG);
        QCOMPARE(m_fs.readFile(tree.folder("dir"), 100).error(), EINVAL);
        QCOMPARE(m_fs.readFile(tree.root() + "missing", 100).error(), ENOENT);
    }
};

QTEST_GUILESS_MAIN(TestFileSystem)
#include "TestFileSystem.moc"

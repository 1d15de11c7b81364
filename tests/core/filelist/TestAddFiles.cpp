// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/AddFiles.h"
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "support/FakeFileSystem.h"
#include "support/TempTree.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <sys/stat.h>
#include <unistd.h>

using namespace tamsel;
using namespace Qt::StringLiterals;
using tamsel::test::FakeFileSystem;
using tamsel::test::TempTree;

namespace {

QStringList names(const FileList& list, int from = 0, int to = -1)
{
    QStringList out;
    for (int r = from; r <= (to < 0 ? list.fileCount() - 1 : to); ++r)
        out << list.cell(r, ColOriginalName);
    return out;
}

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

} // namespace

class TestAddFiles : public QObject {
    Q_OBJECT
    FakeFileSystem m_fs;
    int m_failures = 0;
    WalkHooks m_hooks;

private Q_SLOTS:
    void init()
    {
        m_fs = {};
        m_failures = 0;
        m_hooks = WalkHooks{};
        m_hooks.failed = [this] { ++m_failures; };
    }

    void recursiveWalkListsAFoldersFilesBeforeItsSubFolders()
    {
        TempTree tree;
        tree.file("one.txt");
        tree.file(".hidden");
        tree.folder("sub");
        tree.file("sub/inner.doc");
        tree.folder("sub/deeper");
        tree.file("sub/deeper/deep.jpg");
        tree.folder("empty");
        tree.file("two");
        FileList list(m_fs);
        QSignalSpy changed(&list, &FileList::rowsChanged);
        QSignalSpy counts(&list, &FileList::fileCountChanged);
        QVERIFY(addFolderRecursive(list, m_fs, tree.root().chopped(1), m_hooks));
        QCOMPARE(list.fileCount(), 5);
        QCOMPARE(sorted(names(list, 0, 2)), (QStringList{u".hidden"_s, u"one.txt"_s, u"two"_s}));
        QCOMPARE(names(list, 3), (QStringList{u"inner.doc"_s, u"deep.jpg"_s}));
        QCOMPARE(list.cell(3, ColDirectory), QString::fromUtf8(tree.root() + "sub/"));
        QCOMPARE(list.cell(4, ColDirectory), QString::fromUtf8(tree.root() + "sub/deeper/"));
        QCOMPARE(list.cell(0, ColDirectory), QString::fromUtf8(tree.root()));
        QCOMPARE(m_failures, 0);
        // The batch was announced, up to its last row.
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.first().first().toInt(), 0);
        QCOMPARE(changed.last().last().toInt(), 4);
        QCOMPARE(counts.last().first().toInt(), 5);
    }

    void flatWalkSkipsSubFolders()
    {
        TempTree tree;
        tree.file("a");
        tree.file(".b");
        tree.folder("sub");
        tree.file("sub/c");
        FileList list(m_fs);
        QVERIFY(addFolderFlat(list, m_fs, tree.root(), m_hooks));
        QCOMPARE(sorted(names(list)), (QStringList{u".b"_s, u"a"_s}));
        QCOMPARE(m_fs.listed, QList<QByteArray>{tree.root()});
    }

    void linksAreFilesAndNeverFollowed()
    {
        TempTree tree;
        tree.folder("sub");
        tree.file("sub/f");
        QCOMPARE(::symlink("..", QByteArray(tree.root() + "sub/up").constData()), 0);
        QCOMPARE(::symlink(tree.root().constData(), QByteArray(tree.root() + "loop").constData()), 0);
        QCOMPARE(::symlink("missing", QByteArray(tree.root() + "broken").constData()), 0);
        FileList list(m_fs);
        QVERIFY(addFolderRecursive(list, m_fs, tree.root(), m_hooks));
        QCOMPARE(sorted(names(list)), (QStringList{u"broken"_s, u"f"_s, u"loop"_s, u"up"_s}));
    }

    // A sub-folder replaced by a link after its parent was read is not followed either.
    void aSubFolderSwappedForALinkIsNotFollowed()
    {
        TempTree tree;
        tree.folder("walk");
        tree.folder("walk/sub");
        tree.folder("elsewhere");
        tree.file("walk/sub/f");
        tree.file("elsewhere/secret");
        const QByteArray sub = tree.root() + "walk/sub";
        m_fs.beforeChange = [&](const char* operation, const QByteArray& dir) {
            if (qstrcmp(operation, "list") == 0 && dir == sub + '/') {
                ::rename(sub.constData(), QByteArray(sub + "-was").constData());
                QCOMPARE(::symlink("../elsewhere", sub.constData()), 0);
            }
        };
        FileList list(m_fs);
        QVERIFY(addFolderRecursive(list, m_fs, tree.root() + "walk", m_hooks));
        QCOMPARE(names(list), QStringList());
        QCOMPARE(m_failures, 1);
    }

    void anUnreadableFolderFailsAloneAndTheWalkGoesOn()
    {
        TempTree tree;
        tree.file("top");
        for (const char* sub : {"a", "b", "c"}) {
            tree.folder(sub);
            tree.file(QByteArray(sub) + "/in-" + sub);
        }
        m_fs.unreadable.insert(tree.root() + "b/");
        FileList list(m_fs);
        QVERIFY(addFolderRecursive(list, m_fs, tree.root(), m_hooks));
        QCOMPARE(m_failures, 1);
        QCOMPARE(sorted(names(list)), (QStringList{u"in-a"_s, u"in-c"_s, u"top"_s}));

        // The folder itself unreadable: the walk reports once and adds nothing.
        m_fs.unreadable.insert(tree.root());
        FileList other(m_fs);
        QVERIFY(!addFolderRecursive(other, m_fs, tree.root(), m_hooks));
        QCOMPARE(m_failures, 2);
        QCOMPARE(other.fileCount(), 0);
        // The flat walk fails silently.
        QVERIFY(!addFolderFlat(other, m_fs, tree.root(), m_hooks));
        QCOMPARE(m_failures, 2);
    }

    void reallyUnreadableFolder()
    {
        if (::geteuid() == 0)
            QSKIP("root reads every folder");
        TempTree tree;
        tree.folder("locked");
        tree.file("locked/secret");
        tree.file("open");
        ::chmod(QByteArray(tree.root() + "locked").constData(), 0);
        PosixFileSystem fs;
        FileList list(fs);
        QVERIFY(addFolderRecursive(list, fs, tree.root(), m_hooks));
        ::chmod(QByteArray(tree.root() + "locked").constData(), 0755);
        QCOMPARE(m_failures, 1);
        QCOMPARE(names(list), QStringList{u"open"_s});
    }

    void sameFolderTwiceAppendsTwice()
    {
        TempTree tree;
        tree.file("x");
        FileList list(m_fs);
        addFolderFlat(list, m_fs, tree.root(), m_hooks);
        addFolderRecursive(list, m_fs, tree.root(), m_hooks);
        QCOMPARE(names(list), (QStringList{u"x"_s, u"x"_s}));
    }

    void rootGetsNoSecondSlash()
    {
        FileList list(m_fs);
        m_hooks.stopped = [] { return true; };
        addFolderFlat(list, m_fs, "/", m_hooks);
        addFolderRecursive(list, m_fs, "/tmp", m_hooks);
        QCOMPARE(m_fs.listed.mid(0, 2), (QList<QByteArray>{"/", "/tmp/"}));
        for (const QByteArray& folder : m_fs.listed)
            QVERIFY(!folder.contains("//"));
    }

    void stoppingEndsTheWalk()
    {
        TempTree tree;
        for (int i = 0; i < 50; ++i)
            tree.file("f" + QByteArray::number(i));
        tree.folder("sub");
        tree.file("sub/g");
        FileList list(m_fs);
        m_hooks.stopped = [] { return true; };
        addFolderRecursive(list, m_fs, tree.root(), m_hooks);
        QCOMPARE(list.fileCount(), 0); // nothing is added once the program ends
        QCOMPARE(m_failures, 0);

        // A tree far larger than the reader may read ahead (100 folders of 5,000 files), stopped once
        // the first files are in the list: the reader waits for the list to take what it has read,
        // so it gives up with most of the tree unread.
        for (int d = 0; d < 100; ++d)
            m_fs.madeUpFiles.insert(tree.folder("d" + QByteArray::number(d)), 5000);
        m_fs.listed.clear();
        m_hooks.stopped = [&] { return list.fileCount() > 0; };
        addFolderRecursive(list, m_fs, tree.root(), m_hooks);
        const int added = list.fileCount();
        const qsizetype listed = m_fs.listed.size();
        QVERIFY(added > 0);
        QVERIFY2(added <= 5000, qPrintable(QString::number(added))); // one hand-over at the most
        QVERIFY2(listed < 50, qPrintable(QString::number(listed)));
        // The reader is gone: nothing more is read or added.
        QCoreApplication::processEvents();
        QCOMPARE(m_fs.listed.size(), listed);
        QCOMPARE(list.fileCount(), added);
    }

    // A reader held at a sub-folder until the walk has let events through: what a command does
    // meanwhile (empty the list) holds, and the files read after it are added.
    void walkLetsEventsThroughAndChangesSurvive()
    {
        TempTree tree;
        const QByteArray sub = tree.folder("sub");
        m_fs.madeUpFiles.insert(tree.root(), 5000);
        m_fs.madeUpFiles.insert(sub, 300);
        std::atomic<bool> atSub = false;
        QSemaphore goOn;
        m_fs.beforeChange = [&](const char* operation, const QByteArray& folder) {
            if (qstrcmp(operation, "list") != 0 || folder != sub)
                return;
            atSub = true;
            QVERIFY(goOn.tryAcquire(1, 60000));
        };
        FileList list(m_fs);
        QSignalSpy changed(&list, &FileList::rowsChanged);
        QSignalSpy counts(&list, &FileList::fileCountChanged);
        QSignalSpy reset(&list, &FileList::listReset);
        int yields = 0;
        int countAtClear = -1;
        m_hooks.yield = [&] {
            ++yields;
            // What a command might do between two hand-overs: empty the list.
            if (atSub && list.fileCount() > 0 && countAtClear < 0) {
                countAtClear = list.fileCount();
                list.initFileList();
                goOn.release();
            }
        };
        QVERIFY(addFolderRecursive(list, m_fs, tree.root(), m_hooks));
        QVERIFY(yields > 0);
        QVERIFY(countAtClear > 0);
        QCOMPARE(list.fileCount(), 5300 - countAtClear);
        // The emptying was announced, and every row after it.
        QCOMPARE(reset.size(), 1);
        QCOMPARE(changed.last().last().toInt(), list.fileCount() - 1);
        QCOMPARE(counts.last().first().toInt(), list.fileCount());
        QCOMPARE(list.cell(list.fileCount() - 1, ColDirectory), QString::fromUtf8(sub));
        for (int r = 0; r < list.fileCount(); ++r)
            QVERIFY(list.cell(r, ColOriginalName).startsWith(u'm'));
    }

    void pickedFilesInTheDialogsOrder()
    {
        TempTree tree;
        const QByteArray gbk("\xb2\xe2\xca\xd4.txt");
        tree.file("b.txt");
        tree.file("a.h");
        tree.file(gbk);
        tree.file("c");
        FileList list(m_fs);
        const QString root = QString::fromUtf8(tree.root());
        addPickedFiles(list, m_fs,
                       {root + u"b.txt"_s, root + u"a.h"_s, root + QString::fromUtf8(gbk), root + u"c"_s});
        QCOMPARE(list.fileCount(), 4);
        QCOMPARE(list.cell(0, ColOriginalName), u"b.txt"_s);
        QCOMPARE(list.cell(1, ColOriginalName), u"a.h"_s); // one-letter extensions are accepted
        QCOMPARE(list.pathBytes(2), tree.root() + gbk);
        QCOMPARE(list.cell(2, ColFileSize), u"0 KB "_s);
        QCOMPARE(list.cell(3, ColFileType), u"无后缀名"_s);
        addPickedFiles(list, m_fs, {});
        QCOMPARE(list.fileCount(), 4);
    }

    void resolvesNamesThatAreNotUtf8()
    {
        TempTree tree;
        const QByteArray dir = tree.folder("\xce\xc4\xbc\xfe");
        tree.file("\xce\xc4\xbc\xfe/\xb2\xe2.txt");
        const QByteArray path = dir + "\xb2\xe2.txt";
        QCOMPARE(resolvePath(m_fs, QString::fromUtf8(path)), path);
        QCOMPARE(resolvePath(m_fs, QString::fromUtf8(dir.chopped(1))), dir.chopped(1));
        QCOMPARE(resolvePath(m_fs, u"/tmp/plain name"_s), QByteArray("/tmp/plain name"));
        // Nothing to find: the text's own bytes.
        const QString missing = QString::fromUtf8(tree.root()) + u"\uFFFD.none"_s;
        QCOMPARE(resolvePath(m_fs, missing), missing.toUtf8());
    }
};

QTEST_GUILESS_MAIN(TestAddFiles)
#include "TestAddFiles.moc"

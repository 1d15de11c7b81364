// SPDX-License-Identifier: GPL-3.0-or-later
// The rename pass on real files under everything that can go wrong around it. After each case every
// file's content is still there exactly once, under its old or its new name, and every row's
// result tells the truth.
#include "core/filelist/AddFiles.h"
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/platform/SafeRename.h"
#include "core/rename/RenamePass.h"
#include "support/FakeFileSystem.h"
#include "support/KilledPass.h"
#include "support/KindTexts.h"
#include "support/TempTree.h"

#include <QFile>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tamsel;

namespace {
const tamsel::test::KindTexts Kinds;
}
using namespace Qt::StringLiterals;
using tamsel::test::contentOf;
using tamsel::test::FakeFileSystem;
using tamsel::test::FuseVfatMount;
using tamsel::test::namesIn;
using tamsel::test::TempTree;

namespace {

const QString Succeeded = u"renamed"_s;

// The contents of the regular files in folder, by inode, so that two names of one file count once.
QMultiMap<QByteArray, QByteArray> contents(const QByteArray& folder)
{
    QMultiMap<QByteArray, QByteArray> out;
    QSet<ino_t> seen;
    for (const QByteArray& name : namesIn(folder)) {
        struct stat st {};
        if (::lstat(QByteArray(folder + name).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            !seen.contains(st.st_ino)) {
            seen.insert(st.st_ino);
            out.insert(contentOf(folder + name), name);
        }
    }
    return out;
}

// Runs f in a child process as the unprivileged user "nobody"; its exit code.
int asNobody(const std::function<int()>& f)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? f() : 99);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

class TestRenameFaults : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

    // One row a file: name -> preview; each file holds its own name as content.
    static void fill(FileList& list, TempTree& tree, const QList<std::pair<QByteArray, QString>>& rows)
    {
        for (const auto& [name, preview] : rows) {
            struct stat st {};
            if (::lstat(QByteArray(tree.root() + name).constData(), &st) != 0)
                tree.write(name, name);
            list.addFileRow(tree.root() + name);
            list.setCell(list.fileCount() - 1, ColPreview, preview);
        }
    }

    // Every row that says it succeeded holds, under its new name, the content it had.
    static void checkResults(const FileList& list, const QByteArray& folder,
                             const QMultiMap<QByteArray, QByteArray>& before)
    {
        for (int r = 0; r < list.fileCount(); ++r) {
            if (list.cell(r, ColResult) != Succeeded)
                continue;
            const QByteArray now = folder + list.cell(r, ColNewName).toUtf8();
            struct stat st {};
            QVERIFY2(::lstat(now.constData(), &st) == 0, now.constData());
            if (S_ISREG(st.st_mode))
                QVERIFY2(before.contains(contentOf(now)), now.constData());
        }
    }

private Q_SLOTS:
    // Another program changes the folder between the preview and the rename.
    void changesBetweenPreviewAndRename_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("failedRow");
        QTest::newRow("source removed") << u"remove"_s << 1;
        QTest::newRow("source renamed") << u"rename"_s << 1;
        QTest::newRow("source replaced by a folder") << u"folder"_s << 1;
        QTest::newRow("source replaced by a link") << u"link"_s << 1;
        QTest::newRow("source replaced by another file") << u"file"_s << 1;
        QTest::newRow("target created") << u"target"_s << 1;
    }
    void changesBetweenPreviewAndRename()
    {
        QFETCH(QString, change);
        QFETCH(int, failedRow);
        TempTree tree;
        FileList list(m_fs);
        fill(list, tree, {{"a", u"A"_s}, {"b", u"B"_s}, {"c", u"C"_s}});
        const QByteArray b = tree.root() + "b";
        if (change == u"remove"_s) {
            ::unlink(b.constData());
        } else if (change == u"rename"_s) {
            ::rename(b.constData(), QByteArray(tree.root() + "b2").constData());
        } else if (change == u"folder"_s) {
            ::unlink(b.constData());
            tree.folder("b");
            tree.write("b/kept", "kept");
        } else if (change == u"link"_s) {
            ::unlink(b.constData());
            ::symlink("c", b.constData());
        } else if (change == u"file"_s) {
            ::unlink(b.constData());
            tree.write("b", "a newer b");
        } else {
            tree.write("B", "other program");
        }
        const auto before = contents(tree.root());
        const RenameOutcome outcome = renamePass(list, m_fs, Kinds);
        QCOMPARE(outcome.failure.row, failedRow);
        QCOMPARE(contents(tree.root()).keys(), before.keys());
        checkResults(list, tree.root(), before);
        QCOMPARE(list.cell(0, ColResult), Succeeded);
        if (failedRow >= 0)
            QCOMPARE(list.cell(2, ColResult), QString());
        if (change == u"folder"_s)
            QCOMPARE(contentOf(tree.root() + "b/kept"), QByteArray("kept"));
        if (change == u"link"_s || change == u"file"_s) {
            // Another file than the one listed: it keeps its name.
            QCOMPARE(outcome.failure.error.kind, Failure::Kind::FileReplaced);
            QCOMPARE(namesIn(tree.root()), (QList<QByteArray>{"A", "b", "c"}));
        }
    }

    // The folder listed is replaced by another real folder, or by a link to one, before the pass:
    // nothing of the other folder is renamed, and the row says why.
    void anotherFolderUnderTheListedPath_data()
    {
        QTest::addColumn<bool>("byLink");
        QTest::newRow("another folder") << false;
        QTest::newRow("a link to another folder") << true;
    }
    void anotherFolderUnderTheListedPath()
    {
        QFETCH(bool, byLink);
        TempTree tree;
        tree.folder("photos");
        tree.write("photos/a", "listed");
        FileList list(m_fs);
        addFolderFlat(list, m_fs, tree.root() + "photos", {});
        list.setCell(0, ColPreview, u"A"_s);
        QVERIFY(::rename(QByteArray(tree.root() + "photos").constData(),
                         QByteArray(tree.root() + "moved").constData()) == 0);
        tree.folder("other");
        tree.write("other/a", "someone else's");
        if (byLink)
            QVERIFY(::symlink("other", QByteArray(tree.root() + "photos").constData()) == 0);
        else
            QVERIFY(::rename(QByteArray(tree.root() + "other").constData(),
                             QByteArray(tree.root() + "photos").constData()) == 0);
        const RenameOutcome outcome = renamePass(list, m_fs, Kinds);
        QCOMPARE(outcome.failure.row, 0);
        QCOMPARE(outcome.failure.error.errnum, ESTALE);
        QCOMPARE(contentOf(tree.root() + "photos/a"), QByteArray("someone else's"));
        QCOMPARE(contentOf(tree.root() + "moved/a"), QByteArray("listed"));
    }

    // FUSE numbers files and folders anew once the kernel has forgotten them: that alone is no
    // other folder and no other file.
    void fuseNumbersForgottenFilesAnew()
    {
        TempTree tree;
        const FuseVfatMount vfat(tree, "mnt");
        if (!vfat.mounted())
            QSKIP("FUSE vfat needs root, /dev/fuse, mkfs.vfat and fusefat");
        tree.folder("mnt/SUB");
        tree.write("mnt/SUB/A.TXT", "A");
        FileList list(m_fs);
        QVERIFY(addFolderRecursive(list, m_fs, vfat.path(), {}));
        list.setCell(0, ColPreview, u"B.TXT"_s);
        const auto before = m_fs.stat(vfat.path() + "SUB");
        QFile caches(u"/proc/sys/vm/drop_caches"_s);
        if (!caches.open(QIODevice::WriteOnly) || caches.write("2") != 1)
            QSKIP("the kernel's caches cannot be dropped here");
        caches.close();
        if (m_fs.stat(vfat.path() + "SUB")->identity == before->identity)
            QSKIP("the driver kept its numbers");
        QCOMPARE(renamePass(list, m_fs, Kinds).failure.row, -1);
        QCOMPARE(contentOf(vfat.path() + "SUB/B.TXT"), QByteArray("A"));
    }

    // Names at the edges of what a file system takes.
    void oddNames()
    {
        TempTree tree;
        FileList list(m_fs);
        const QByteArray longest(255, 'x');
        fill(list, tree,
             {{"new\nline", u"tab here"_s},
              {"back\\slash", u"-leading"_s},
              {"\xb2\xe2\xca\xd4.txt", u"测试.txt"_s},
              {"short", QString::fromLatin1(longest)},
              {"plain", QString(256, u'y')}});
        const auto before = contents(tree.root());
        const RenameOutcome outcome = renamePass(list, m_fs, Kinds);
        QCOMPARE(outcome.failure.row, 4);
        QCOMPARE(outcome.failure.error.errnum, EINVAL);
        QCOMPARE(contents(tree.root()).keys(), before.keys());
        QCOMPARE(namesIn(tree.root()),
                 (QList<QByteArray>{"-leading", "plain", "tab here", longest, "测试.txt"}));
        checkResults(list, tree.root(), before);
    }

    // Hard links, links to files and folders, dangling links, and two rows for one file.
    void linksAndTwoRowsForOneFile()
    {
        TempTree tree;
        tree.write("file", "F");
        tree.folder("dir");
        ::link(QByteArray(tree.root() + "file").constData(), QByteArray(tree.root() + "hard").constData());
        ::symlink("file", QByteArray(tree.root() + "to-file").constData());
        ::symlink("dir", QByteArray(tree.root() + "to-dir").constData());
        ::symlink("nowhere", QByteArray(tree.root() + "dangling").constData());
        FileList list(m_fs);
        fill(list, tree,
             {{"hard", u"hard2"_s},
              {"to-file", u"to-file2"_s},
              {"to-dir", u"to-dir2"_s},
              {"dangling", u"dangling2"_s},
              {"file", u"file2"_s},
              {"file", u"file3"_s}});
        const auto before = contents(tree.root());
        const RenameOutcome outcome = renamePass(list, m_fs, Kinds);
        QCOMPARE(outcome.failure.row, 5);
        QCOMPARE(outcome.failure.error.errnum, ENOENT);
        QCOMPARE(contents(tree.root()).keys(), before.keys());
        QCOMPARE(namesIn(tree.root()),
                 (QList<QByteArray>{"dangling2", "dir", "file2", "hard2", "to-dir2", "to-file2"}));
        char target[16] = {};
        QVERIFY(::readlink(QByteArray(tree.root() + "to-file2").constData(), target, sizeof target - 1) > 0);
        QCOMPARE(QByteArray(target), QByteArray("file")); // the link itself moved, not what it names
        checkResults(list, tree.root(), before);
    }

    // Folders the user may not change or may not look into.
    void foldersWithoutPermission_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("error");
        QTest::newRow("read-only folder") << 0555 << EACCES;
        QTest::newRow("listed but not searched") << 0644 << EACCES;
    }
    void foldersWithoutPermission()
    {
        QFETCH(int, mode);
        QFETCH(int, error);
        if (::geteuid() != 0)
            QSKIP("needs root to run as another user");
        TempTree tree;
        ::chmod(tree.root().constData(), 0755);
        const QByteArray folder = tree.folder("locked");
        tree.write("locked/a", "A");
        FileList list(m_fs);
        list.addFileRow(folder + "a");
        list.setCell(0, ColPreview, u"b"_s);
        ::chmod(folder.constData(), mode_t(mode));
        const int code = asNobody([&] {
            const RenameOutcome outcome = renamePass(list, m_fs, Kinds);
            return outcome.failure.row == 0 && outcome.failure.error.errnum == error ? 0 : 1;
        });
        ::chmod(folder.constData(), 0755);
        QCOMPARE(code, 0);
        QCOMPARE(namesIn(folder), QList<QByteArray>{"a"});
    }

    // A file system without room left still renames, whichever way it renames.
    void aFullFileSystem_data()
    {
        QTest::addColumn<bool>("noReplace");
        QTest::newRow("renameat2") << true;
        QTest::newRow("link and unlink") << false;
    }
    void aFullFileSystem()
    {
        QFETCH(bool, noReplace);
        if (::geteuid() != 0)
            QSKIP("mounting needs root");
        TempTree tree;
        const QByteArray mnt = tree.folder("small");
        if (::mount("tmpfs", mnt.constData(), "tmpfs", 0, "size=64k,nr_inodes=64") != 0)
            QSKIP("no tmpfs can be mounted here");
        struct Unmount {
            QByteArray path;
            ~Unmount() { ::umount(path.constData()); }
        } unmount{mnt};
        tree.write("small/a", "A");
        tree.write("small/b", "B");
        // Fills it up: writes until no room is left.
        const int fd = ::open(QByteArray(mnt + "filler").constData(), O_CREAT | O_WRONLY, 0644);
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        ::close(fd);
        FakeFileSystem fs;
        fs.noReplace = noReplace;
        FileList list(fs);
        list.addFileRow(mnt + "a");
        list.addFileRow(mnt + "b");
        list.setCell(0, ColPreview, u"A2"_s);
        list.setCell(1, ColPreview, u"B2"_s);
        const auto before = contents(mnt);
        const RenameOutcome outcome = renamePass(list, fs, Kinds);
        QCOMPARE(contents(mnt).keys(), before.keys());
        QCOMPARE(list.cell(0, ColResult) == Succeeded, outcome.failure.row != 0);
        checkResults(list, mnt, before);
    }

    // Without RENAME_NOREPLACE the old name goes through a temporary name that is then removed: when
    // that removal fails, the file keeps its old name alone and the pass reports the failure.
    void aTemporaryNameThatCannotGo()
    {
        TempTree tree;
        tree.write("a", "A");
        FakeFileSystem fs;
        fs.noReplace = false;
        bool failed = false;
        fs.unlinkFault = [&](const QByteArray& name) {
            const bool fail = !failed && name.startsWith(TemporaryPrefix);
            failed = failed || fail;
            return fail ? EIO : 0;
        };
        FileList list(fs);
        list.addFileRow(tree.root() + "a");
        list.setCell(0, ColPreview, u"b"_s);
        const RenameOutcome outcome = renamePass(list, fs, Kinds);
        QVERIFY(failed);
        QCOMPARE(outcome.failure.row, 0);
        QCOMPARE(outcome.failure.error.errnum, EIO);
        QCOMPARE(namesIn(tree.root()), QList<QByteArray>{"a"});
    }

    // Without RENAME_NOREPLACE a kill may come between the steps of a rename through a second name:
    // killed at each step of one row, every file still has its old or its new name, or both, and
    // the next pass over the files, each listed once by one of its names, leaves each its one new
    // name and no temporary name.
    void killedDuringLinkAndUnlink()
    {
        const int files = 200; // the kill comes where it is asked for: a few files are as good as many
        int step = 0;
        for (;; ++step) {
            TempTree tree;
            for (int i = 0; i < files; ++i)
                tree.write("f" + QByteArray::number(i), QByteArray::number(i));
            if (!test::killedPass(QStringLiteral(TAMSEL_RENAME_CHILD), tree.root(), files, 0, u"link"_s,
                                  "rename 100 " + QByteArray::number(step)))
                break; // past the row's last step
            FakeFileSystem fs;
            fs.noReplace = false;
            FileList list(fs);
            for (int i = 0; i < files; ++i) {
                const QByteArray old = "f" + QByteArray::number(i);
                const QByteArray renamed = "r0-" + QByteArray::number(i);
                const bool isRenamed = contentOf(tree.root() + renamed) == QByteArray::number(i);
                QVERIFY(isRenamed || contentOf(tree.root() + old) == QByteArray::number(i));
                // The rows before the kill are renamed, those after it are not.
                if (i != 99)
                    QCOMPARE(isRenamed, i < 99);
                list.addFileRow(tree.root(), isRenamed ? renamed : old);
                list.setCell(list.fileCount() - 1, ColPreview, u"d-"_s + QString::number(i));
            }
            QCOMPARE(renamePass(list, fs, Kinds).failure.row, -1);
            const QList<QByteArray> names = namesIn(tree.root());
            QCOMPARE(names.size(), files);
            for (const QByteArray& name : names)
                QCOMPARE(contentOf(tree.root() + name), name.mid(2));
        }
        QVERIFY2(step >= 4, "a link, a rename and an unlink at the least"); // the row itself is step 0
    }

    // A pass killed before, between or after the changes of a row leaves every file under its old or
    // its new name, once: the rows before under the new, the rows after under the old.
    void killedMidPass_data()
    {
        QTest::addColumn<int>("round");
        QTest::addColumn<QByteArray>("stop");
        QTest::addColumn<int>("renamed"); // files under their new name afterwards
        QTest::newRow("at the first row") << 0 << QByteArray("rename 1 row") << 0;
        QTest::newRow("before a rename") << 1 << QByteArray("rename 777 rename") << 776;
        QTest::newRow("after a rename") << 2 << QByteArray("rename 1500 rename-done") << 1500;
        QTest::newRow("at the last row") << 3 << QByteArray("rename 2000 rename-done") << 2000;
    }
    void killedMidPass()
    {
        QFETCH(int, round);
        QFETCH(QByteArray, stop);
        QFETCH(int, renamed);
        const int files = 2000;
        TempTree tree;
        // The round's names, as the rounds before would have left them.
        const QByteArray before = round == 0 ? QByteArray("f") : "r" + QByteArray::number(round - 1) + '-';
        const QByteArray after = "r" + QByteArray::number(round) + '-';
        for (int i = 0; i < files; ++i)
            tree.write(before + QByteArray::number(i), QByteArray::number(i));
        QVERIFY(test::killedPass(QStringLiteral(TAMSEL_RENAME_CHILD), tree.root(), files, round, u"rename"_s,
                                 stop));
        const QList<QByteArray> names = namesIn(tree.root());
        QCOMPARE(names.size(), files);
        QSet<QByteArray> seen;
        for (const QByteArray& name : names) {
            const QByteArray content = contentOf(tree.root() + name);
            seen.insert(content);
            const bool isRenamed = name.startsWith(after);
            QVERIFY2(name == (isRenamed ? after : before) + content, name.constData());
            QCOMPARE(isRenamed, content.toInt() < renamed);
        }
        QCOMPARE(seen.size(), files);
    }
};

QTEST_GUILESS_MAIN(TestRenameFaults)
#include "TestRenameFaults.moc"

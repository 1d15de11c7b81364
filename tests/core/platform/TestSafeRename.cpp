// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SafeRename.h"
#include "support/FakeFileSystem.h"
#include "support/TempTree.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tamsel;
using tamsel::test::contentOf;
using tamsel::test::FakeFileSystem;
using tamsel::test::FuseVfatMount;
using tamsel::test::namesIn;
using tamsel::test::runProgram;
using tamsel::test::TempTree;

namespace {

using Names = QList<QByteArray>;

// A pid no process has: beyond the kernel's limit.
constexpr int DeadPid = 1 << 30;

// This process's start time, as its temporary names carry it.
quint64 processStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2).split(' ').value(19).toULongLong();
}

// A temporary name of process pid, started at start, with its serial and the rest of the name.
QByteArray leftover(const TempTree& tree, int pid, int serial, const QByteArray& rest, quint64 start = 7)
{
    return tree.root() + temporaryPrefix() + QByteArray::number(pid) + '-' + QByteArray::number(start) + '-' +
           QByteArray::number(serial) + rest;
}

} // namespace

class TestSafeRename : public QObject {
    Q_OBJECT
    FakeFileSystem m_fs;

    std::unique_ptr<Folder> open(const QByteArray& path)
    {
        auto folder = m_fs.openFolder(path);
        if (!folder)
            qFatal("cannot open %s", path.constData());
        return std::move(*folder);
    }

private Q_SLOTS:
    void init() { m_fs = {}; }

    void onlyFilesAndLinksAreRenamed()
    {
        TempTree tree;
        tree.write("a", "A");
        tree.folder("dir");
        tree.write("dir/inside", "I");
        QCOMPARE(::symlink("dir", QByteArray(tree.root() + "link").constData()), 0);
        auto folder = open(tree.root());
        QCOMPARE(renameEntry(*folder, "a", "a").error, Failure());
        QCOMPARE(renameEntry(*folder, "gone", "gone").error, Failure::system(ENOENT));
        QCOMPARE(m_fs.renames.size(), 0);
        QCOMPARE(renameEntry(*folder, "dir", "moved").error, Failure::system(EISDIR));
        QCOMPARE(renameEntry(*folder, "link", "link2").error, Failure());
        QCOMPARE(namesIn(tree.root()), (Names{"a", "dir", "link2"}));
        QCOMPARE(contentOf(tree.root() + "dir/inside"), QByteArray("I"));
    }

    // Every way the file system offers to rename, each refusing an existing target.
    void everyStrategyRefusesToReplace_data()
    {
        QTest::addColumn<bool>("noReplace");
        QTest::addColumn<bool>("hardLinks");
        QTest::newRow("renameat2") << true << true;
        QTest::newRow("link and unlink") << false << true;
        QTest::newRow("checked rename") << false << false;
    }
    void everyStrategyRefusesToReplace()
    {
        QFETCH(bool, noReplace);
        QFETCH(bool, hardLinks);
        m_fs.noReplace = noReplace;
        m_fs.hardLinks = hardLinks;
        TempTree tree;
        tree.write("a", "A");
        tree.write("b", "B");
        auto folder = open(tree.root());
        QCOMPARE(renameEntry(*folder, "a", "b").error, Failure::system(EEXIST));
        QCOMPARE(renameEntry(*folder, "a", "c").error, Failure());
        QCOMPARE(namesIn(tree.root()), (Names{"b", "c"}));
        QCOMPARE(contentOf(tree.root() + "b") + contentOf(tree.root() + "c"), QByteArray("BA"));
    }

    void aFolderThatTookTheFilesPlaceGetsItsNameBack()
    {
        TempTree tree;
        tree.write("a.txt", "A");
        auto folder = open(tree.root());
        // Between the check and the rename, another program swaps the file for a folder.
        m_fs.beforeChange = [&](const char*, const QByteArray&) {
            m_fs.beforeChange = nullptr;
            ::rename(QByteArray(tree.root() + "a.txt").constData(),
                     QByteArray(tree.root() + "saved").constData());
            tree.folder("a.txt");
            tree.write("a.txt/photo", "P");
        };
        const RenameResult result = renameEntry(*folder, "a.txt", "b.txt");
        QVERIFY(bool(result.error));
        QVERIFY(result.strandedAs.isEmpty());
        QCOMPARE(namesIn(tree.root()), (Names{"a.txt", "saved"}));
        QCOMPARE(contentOf(tree.root() + "a.txt/photo"), QByteArray("P"));
    }

    // Another program puts its own folder under the new name right before the move-back: only what
    // this rename moved goes back, and the other folder stays where its program put it.
    void theMoveBackTakesOnlyWhatWasMoved()
    {
        TempTree tree;
        tree.folder("a.txt");
        tree.write("a.txt/photo", "P");
        auto folder = open(tree.root());
        bool raced = false;
        m_fs.beforeChange = [&](const char*, const QByteArray& name) {
            if (name == "b.txt" && !raced) {
                raced = true;
                ::rename(QByteArray(tree.root() + "b.txt").constData(),
                         QByteArray(tree.root() + "moved").constData());
                tree.folder("b.txt");
                tree.write("b.txt/theirs", "T");
            }
        };
        const RenameResult result = renameEntry(*folder, "a.txt", "b.txt");
        QCOMPARE(result.error, Failure::system(EISDIR));
        QCOMPARE(contentOf(tree.root() + "b.txt/theirs"), QByteArray("T"));
        QCOMPARE(contentOf(tree.root() + "moved/photo"), QByteArray("P"));
        QCOMPARE(namesIn(tree.root()), (Names{"b.txt", "moved"}));
    }

    // A driver that deletes the file and then fails (FUSE vfat) is caught: the result says so.
    void aFileTheFileSystemLostIsReported()
    {
        m_fs.noReplace = false;
        m_fs.hardLinks = false;
        TempTree tree;
        tree.write("a", "A");
        auto folder = open(tree.root());
        m_fs.refuseUnlink = {"a"};
        int renames = 0;
        m_fs.beforeChange = [&](const char* operation, const QByteArray&) {
            if (qstrcmp(operation, "rename") == 0 && ++renames == 2)
                ::unlink(QByteArray(tree.root() + "a").constData());
        };
        const RenameResult result = renameEntry(*folder, "a", "b");
        QCOMPARE(result.error, Failure::system(EPERM));
        QVERIFY(result.sourceLost);
    }

    void aFolderThatCannotGoBackIsNamed()
    {
        TempTree tree;
        tree.folder("a.txt");
        tree.write("a.txt/photo", "P");
        auto folder = open(tree.root());
        // While the folder is under the new name, another program takes the old one.
        int renames = 0;
        m_fs.beforeChange = [&](const char* operation, const QByteArray&) {
            if (qstrcmp(operation, "rename") == 0 && ++renames == 2)
                tree.write("a.txt", "other program");
        };
        const RenameResult result = renameEntry(*folder, "a.txt", "b.txt");
        QCOMPARE(result.error, Failure::system(EISDIR));
        QCOMPARE(result.strandedAs, QByteArray("b.txt"));
        QCOMPARE(contentOf(tree.root() + "b.txt/photo"), QByteArray("P"));
        QCOMPARE(contentOf(tree.root() + "a.txt"), QByteArray("other program"));
    }

    void linkFallbackRemovesOnlyItsOwnName()
    {
        m_fs.noReplace = false;
        TempTree tree;
        tree.write("a", "A");
        auto folder = open(tree.root());
        // The old name cannot go; meanwhile another program puts its own file under the new one.
        m_fs.refuseUnlink = {"a"};
        m_fs.beforeChange = [&](const char* operation, const QByteArray&) {
            if (qstrcmp(operation, "unlink") == 0) {
                ::unlink(QByteArray(tree.root() + "b").constData());
                tree.write("b", "other program");
            }
        };
        RenameResult result = renameEntry(*folder, "a", "b");
        QCOMPARE(result.error, Failure::system(EPERM));
        QCOMPARE(contentOf(tree.root() + "b"), QByteArray("other program"));
        QCOMPARE(contentOf(tree.root() + "a"), QByteArray("A"));
        QVERIFY(result.extraName.isEmpty());

        // A second name that cannot be taken away again is reported.
        m_fs.beforeChange = nullptr;
        m_fs.refuseUnlink = {"a", "c"};
        result = renameEntry(*folder, "a", "c");
        QCOMPARE(result.error, Failure::system(EPERM));
        QCOMPARE(result.extraName, QByteArray("c"));
    }

    // Without RENAME_NOREPLACE, another program changes a name right after a link was made: its
    // file is neither removed nor replaced.
    void linkFallbackUnderARacingProgram_data()
    {
        QTest::addColumn<bool>("swapSource");
        QTest::newRow("old name replaced before it goes") << true;
        QTest::newRow("new name replaced right after the link") << false;
    }
    void linkFallbackUnderARacingProgram()
    {
        QFETCH(bool, swapSource);
        m_fs.noReplace = false;
        TempTree tree;
        tree.write("a", "A");
        auto folder = open(tree.root());
        const auto replace = [&](const QByteArray& name) {
            ::unlink(QByteArray(tree.root() + name).constData());
            tree.write(name, "other program");
        };
        bool linked = false;
        bool swapped = false;
        m_fs.beforeChange = [&](const char* operation, const QByteArray& name) {
            if (swapSource && linked && !swapped && name == "a" && qstrcmp(operation, "link") != 0) {
                swapped = true;
                replace("a");
            }
        };
        m_fs.afterChange = [&](const char* operation, const QByteArray& to) {
            linked = linked || qstrcmp(operation, "link") == 0;
            if (!swapSource && to == "b" && !swapped) {
                swapped = true;
                replace("b");
            }
        };
        const RenameResult result = renameEntry(*folder, "a", "b");
        QVERIFY(swapped);
        QCOMPARE(namesIn(tree.root()), (Names{"a", "b"}));
        QCOMPARE(contentOf(tree.root() + (swapSource ? "a" : "b")), QByteArray("other program"));
        QCOMPARE(contentOf(tree.root() + (swapSource ? "b" : "a")), QByteArray("A"));
        QCOMPARE(result.error, Failure::system(swapSource ? 0 : EEXIST));
    }

    // Names another program puts in the way right after a step: its entry under the mark right after
    // the link, its folder under the new name right after a plain rename. Neither is removed or moved.
    void anotherProgramsEntryIsNeverTaken_data()
    {
        QTest::addColumn<bool>("hardLinks");
        QTest::newRow("its file under the mark") << true;
        QTest::newRow("its folder under the new name") << false;
    }
    void anotherProgramsEntryIsNeverTaken()
    {
        QFETCH(bool, hardLinks);
        m_fs.noReplace = false;
        m_fs.hardLinks = hardLinks;
        TempTree tree;
        tree.write("a", "A");
        auto folder = open(tree.root());
        QByteArray theirs;
        m_fs.afterChange = [&](const char*, const QByteArray& to) {
            if (!theirs.isEmpty() || (hardLinks ? !to.startsWith(TemporaryPrefix) : to != "b"))
                return;
            theirs = to;
            ::rename(QByteArray(tree.root() + to).constData(), QByteArray(tree.root() + "moved").constData());
            if (hardLinks) {
                tree.write(to, "theirs");
            } else {
                tree.folder(to);
                tree.write(to + "/inside", "theirs");
            }
        };
        const RenameResult result = renameEntry(*folder, "a", "b");
        QVERIFY(bool(result.error));
        QCOMPARE(contentOf(tree.root() + theirs + (hardLinks ? "" : "/inside")), QByteArray("theirs"));
        QCOMPARE(contentOf(tree.root() + "moved"), QByteArray("A"));
    }

    // In a sticky folder another user's file cannot lose its name: no second name is made.
    void stickyFolderOfAnotherUser()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to play two users");
        TempTree tree;
        const QByteArray shared = tree.folder("shared");
        ::chmod(tree.root().constData(), 0755);
        ::chmod(shared.constData(), 01777);
        const QByteArray file = tree.write("shared/theirs", "T");
        ::chmod(file.constData(), 0666);
        QCOMPARE(::chown(file.constData(), 4321, 4321), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(2);
            FakeFileSystem fs;
            fs.noReplace = false;
            auto folder = fs.openFolder(shared);
            ::_exit(folder && renameEntry(**folder, "theirs", "mine").error.isErrno(EPERM) ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(namesIn(shared), Names{"theirs"});
    }

    void caseOnlyOnAFileSystemThatIgnoresCase_data()
    {
        QTest::addColumn<bool>("noReplace");
        QTest::addColumn<bool>("hardLinks");
        QTest::addColumn<bool>("inodePerSpelling");
        QTest::newRow("vfat, ext4 casefold") << true << true << false;
        QTest::newRow("FUSE vfat") << false << false << true;
    }
    void caseOnlyOnAFileSystemThatIgnoresCase()
    {
        QFETCH(bool, noReplace);
        QFETCH(bool, hardLinks);
        QFETCH(bool, inodePerSpelling);
        m_fs.ignoreCase = true;
        m_fs.noReplace = noReplace;
        m_fs.hardLinks = hardLinks;
        m_fs.inodePerSpelling = inodePerSpelling;
        TempTree tree;
        tree.write("Photo.JPG", "P");
        tree.write("other.jpg", "O");
        auto folder = open(tree.root());
        QCOMPARE(renameEntry(*folder, "Photo.JPG", "photo.jpg").error, Failure());
        QCOMPARE(namesIn(tree.root()), (Names{"other.jpg", "photo.jpg"}));
        QCOMPARE(contentOf(tree.root() + "photo.jpg"), QByteArray("P"));
        // Through a temporary name of its own.
        QVERIFY(std::any_of(m_fs.renames.begin(), m_fs.renames.end(),
                            [](const auto& r) { return r.second.startsWith(TemporaryPrefix); }));
        // Another file of that name is never replaced.
        QCOMPARE(renameEntry(*folder, "photo.jpg", "OTHER.jpg").error, Failure::system(EEXIST));
        QCOMPARE(contentOf(tree.root() + "other.jpg"), QByteArray("O"));
    }

    void caseOnlyOnAFileSystemThatKeepsCase()
    {
        TempTree tree;
        tree.write("foo", "1");
        tree.write("FOO", "2");
        auto folder = open(tree.root());
        QCOMPARE(renameEntry(*folder, "foo", "FOO").error, Failure::system(EEXIST));
        // Two names of one file (a hard link) are two files here: nothing is replaced either.
        QVERIFY(bool(folder->link("foo", "bar")));
        QCOMPARE(renameEntry(*folder, "foo", "bar").error, Failure::system(EEXIST));
        QCOMPARE(renameEntry(*folder, "foo", "Foo").error, Failure());
        QCOMPARE(namesIn(tree.root()), (Names{"FOO", "Foo", "bar"}));
        QCOMPARE(contentOf(tree.root() + "FOO"), QByteArray("2"));
        // On FUSE (bindfs, fuse2fs) a rename between two links of one file does nothing: the
        // outcome is judged by the names there afterwards, not by the call's return.
        QVERIFY(bool(folder->link("bar", "BAR")));
        m_fs.hardLinks = false; // FUSE, as the folder tells
        auto fuse = open(tree.root());
        QCOMPARE(renameEntry(*fuse, "bar", "BAR").error, Failure::system(EEXIST));
        QCOMPARE(namesIn(tree.root()), (Names{"BAR", "FOO", "Foo", "bar"}));
    }

    // Another program takes the old name while the file sits under its temporary name.
    void aFileThatCannotGoBackIsReported()
    {
        m_fs.ignoreCase = true;
        TempTree tree;
        tree.write("Photo.JPG", "P");
        auto folder = open(tree.root());
        int renames = 0;
        m_fs.beforeChange = [&](const char* operation, const QByteArray&) {
            if (qstrcmp(operation, "rename") == 0 && ++renames == 3)
                tree.write("PHOTO.JPG", "other program");
        };
        const RenameResult result = renameEntry(*folder, "Photo.JPG", "photo.jpg");
        QCOMPARE(result.error, Failure::system(EEXIST));
        QVERIFY(result.strandedAs.startsWith(TemporaryPrefix));
        QCOMPARE(contentOf(tree.root() + result.strandedAs), QByteArray("P"));
        QCOMPARE(contentOf(tree.root() + "PHOTO.JPG"), QByteArray("other program"));
    }

    // Only a temporary name of this user's that a run which has ended left, and that is the listed
    // file, is taken for it: a planted name, one of a running program, one of another file are not.
    void leftoversComeBackOnlyAsTheListedFile()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to plant another user's file");
        TempTree tree;
        const auto listed = [&](const QByteArray& name) {
            const auto st = PosixFileSystem().stat(tree.root() + name);
            return ListedFile{st->entryStamp, st->size, st->modifiedMs};
        };
        auto folder = open(tree.root());
        // A dead run's, and one whose process id is taken again by a later process.
        tree.write("a.txt", "A");
        ListedFile a = listed("a.txt");
        ::rename(QByteArray(tree.root() + "a.txt").constData(),
                 leftover(tree, DeadPid, 1, "-a.txt").constData());
        QCOMPARE(recoverFile(*folder, "a.txt", "b.txt", a), Recovery::Restored);
        ::rename(QByteArray(tree.root() + "a.txt").constData(),
                 leftover(tree, ::getpid(), 2, "-a.txt", 1).constData());
        QCOMPARE(recoverFile(*folder, "a.txt", "b.txt", a), Recovery::Restored);
        // A long name's, whose own name did not fit: the listing says what it was.
        ::rename(QByteArray(tree.root() + "a.txt").constData(),
                 leftover(tree, DeadPid, 3, "~a.t").constData());
        QCOMPARE(recoverFile(*folder, "a.txt", "b.txt", a), Recovery::Restored);
        QCOMPARE(namesIn(tree.root()), Names{"a.txt"});
        // This run's own, another file's, another user's: left alone.
        const QByteArray own = leftover(tree, ::getpid(), 4, "-a.txt", processStart());
        ::rename(QByteArray(tree.root() + "a.txt").constData(), own.constData());
        QCOMPARE(recoverFile(*folder, "a.txt", "b.txt", a), Recovery::None);
        tree.write("c.txt", "C");
        QCOMPARE(recoverFile(*folder, "c.txt", "d.txt", listed("c.txt")), Recovery::None);
        ::rename(own.constData(), leftover(tree, DeadPid, 5, "-a.txt").constData());
        QCOMPARE(::chown(leftover(tree, DeadPid, 5, "-a.txt").constData(), 4321, 4321), 0);
        QCOMPARE(recoverFile(*folder, "a.txt", "b.txt", a), Recovery::None);
        QCOMPARE(namesIn(tree.root()).size(), 2);
    }

    // A run killed in the middle of renaming through a second name leaves the file under its old
    // or its new name and a temporary one: the next rename of the file finishes the job.
    void aKilledLinkAndUnlinkIsFinished()
    {
        TempTree tree;
        tree.write("a", "A");
        const auto st = PosixFileSystem().stat(tree.root() + "a");
        const ListedFile a{st->entryStamp, st->size, st->modifiedMs};
        const QByteArray mark = leftover(tree, DeadPid, 1, "-a");
        QCOMPARE(::link(QByteArray(tree.root() + "a").constData(), mark.constData()), 0);
        QCOMPARE(::link(mark.constData(), QByteArray(tree.root() + "b").constData()), 0);
        auto folder = open(tree.root());
        QCOMPARE(recoverFile(*folder, "a", "b", a), Recovery::Finished);
        QCOMPARE(namesIn(tree.root()), Names{"b"});
        QCOMPARE(contentOf(tree.root() + "b"), QByteArray("A"));
    }

    // Where the file system has hard links, a refused link is a refusal, not a reason to fall back
    // to a plain rename that could replace a file.
    void aRefusedLinkIsNoFallback()
    {
        m_fs.noReplace = false;
        m_fs.refuseLink = true;
        TempTree tree;
        tree.write("a", "A");
        auto folder = open(tree.root());
        QCOMPARE(renameEntry(*folder, "a", "b").error, Failure::system(EPERM));
        QCOMPARE(namesIn(tree.root()), Names{"a"});
    }

    // A long name's temporary name is cut between characters, never inside one.
    void aLongNameGoesRoundWhole()
    {
        m_fs.ignoreCase = true;
        TempTree tree;
        const QByteArray longName = QString(80, u'照').toUtf8(); // 240 bytes
        tree.write(longName + "A", "L");
        auto folder = open(tree.root());
        QByteArray temp;
        m_fs.beforeChange = [&](const char*, const QByteArray& name) {
            if (name.startsWith(TemporaryPrefix))
                temp = name;
        };
        QCOMPARE(renameEntry(*folder, longName + "A", longName + "a").error, Failure());
        QVERIFY(temp.contains('~'));
        QVERIFY(QString::fromUtf8(temp).toUtf8() == temp); // valid UTF-8: no character cut in two
        QCOMPARE(namesIn(tree.root()), Names{longName + "a"});
    }

    // Real FUSE vfat: neither RENAME_NOREPLACE nor link(), and an inode number per spelling.
    void onARealFuseVfatMount()
    {
        TempTree tree;
        FuseVfatMount vfat(tree, "mnt");
        if (!vfat.mounted())
            QSKIP("FUSE vfat needs root, /dev/fuse, mkfs.vfat and fusefat");
        const QByteArray mnt = vfat.path();
        tree.write("mnt/PHOTO.JPG", "P");
        tree.write("mnt/b.txt", "B");
        PosixFileSystem fs;
        auto opened = fs.openFolder(mnt);
        QVERIFY(opened);
        auto folder = std::move(*opened);
        QCOMPARE(renameEntry(*folder, "PHOTO.JPG", "b.txt").error, Failure::system(EEXIST));
        QCOMPARE(renameEntry(*folder, "PHOTO.JPG", "photo.jpg").error, Failure());
        const RenameResult plain = renameEntry(*folder, "b.txt", "c.txt");
        QCOMPARE(plain.error, Failure());
        QVERIFY(plain.unguarded);
        // Names the driver would lose the file for are refused before it is asked.
        QCOMPARE(renameEntry(*folder, "c.txt", "ü.txt").error, Failure::of(Failure::Kind::NameNotHeld));
        QCOMPARE(renameEntry(*folder, "c.txt", "a:b.txt").error, Failure::of(Failure::Kind::NameNotHeld));
        QCOMPARE(namesIn(mnt), (Names{"c.txt", "photo.jpg"}));
        QCOMPARE(contentOf(mnt + "photo.jpg") + contentOf(mnt + "c.txt"), QByteArray("PB"));
        // The driver is never asked for a change of letter case alone: it would damage the FAT.
        folder.reset();
        QVERIFY(vfat.unmountSound());
    }

    // Real exFAT over FUSE (on a loop device): no RENAME_NOREPLACE, no links, letter case ignored,
    // and ENOENT for a name it does not take.
    void onARealExfatMount()
    {
        if (::geteuid() != 0 || ::access("/dev/fuse", R_OK | W_OK) != 0)
            QSKIP("FUSE needs root and /dev/fuse");
        TempTree tree;
        const QString image = QFile::decodeName(tree.file("exfat.img", 16 << 20));
        const QByteArray mnt = tree.folder("mnt");
        QProcess losetup;
        losetup.start(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), image});
        const bool attached = runProgram(QStringLiteral("mkfs.exfat"), {image}) &&
                              losetup.waitForFinished() && losetup.exitCode() == 0;
        const QString device = QString::fromLocal8Bit(losetup.readAllStandardOutput()).trimmed();
        struct Detach {
            QString device;
            QByteArray mnt;
            ~Detach()
            {
                runProgram(QStringLiteral("fusermount"), {QStringLiteral("-u"), QFile::decodeName(mnt)});
                if (!device.isEmpty())
                    runProgram(QStringLiteral("losetup"), {QStringLiteral("-d"), device});
            }
        } detach{attached ? device : QString(), mnt};
        if (!attached || !runProgram(QStringLiteral("mount.exfat-fuse"), {device, QFile::decodeName(mnt)}))
            QSKIP("no exFAT image can be mounted here");
        tree.write("mnt/a.txt", "A");
        tree.write("mnt/B.txt", "B");
        PosixFileSystem fs;
        auto opened = fs.openFolder(mnt);
        QVERIFY(opened);
        const auto folder = std::move(*opened);
        QCOMPARE(renameEntry(*folder, "a.txt", "a:b.txt").error, Failure::of(Failure::Kind::NameNotHeld));
        QCOMPARE(renameEntry(*folder, "a.txt", "b.txt").error, Failure::system(EEXIST));
        const RenameResult plain = renameEntry(*folder, "a.txt", "照片.txt");
        QCOMPARE(plain.error, Failure());
        QVERIFY(plain.unguarded);
        QCOMPARE(namesIn(mnt), (Names{"B.txt", "照片.txt"}));
        QCOMPARE(contentOf(mnt + "照片.txt") + contentOf(mnt + "B.txt"), QByteArray("AB"));
    }

    // A real file system that ignores case: ext4 with casefold, or tmpfs with it.
    void onARealCaseInsensitiveMount()
    {
        if (::geteuid() != 0)
            QSKIP("mounting needs root");
        TempTree tree;
        const QString image = QString::fromUtf8(tree.file("ext4.img", 16 << 20));
        const QString mountPoint = QString::fromUtf8(tree.folder("mnt"));
        const bool mounted =
            (runProgram(QStringLiteral("mkfs.ext4"),
                        {QStringLiteral("-q"), QStringLiteral("-F"), QStringLiteral("-O"),
                         QStringLiteral("casefold"), image}) &&
             runProgram(QStringLiteral("mount"),
                        {QStringLiteral("-o"), QStringLiteral("loop"), image, mountPoint})) ||
            runProgram(QStringLiteral("mount"),
                       {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                        QStringLiteral("casefold"), QStringLiteral("none"), mountPoint});
        if (!mounted)
            QSKIP("no case-insensitive file system can be mounted here");
        struct Unmount {
            QString path;
            ~Unmount() { runProgram(QStringLiteral("umount"), {path}); }
        } unmount{mountPoint};
        const QByteArray folded = QFile::encodeName(mountPoint) + "/folded/";
        ::mkdir(folded.constData(), 0755);
        runProgram(QStringLiteral("chattr"), {QStringLiteral("+F"), QString::fromUtf8(folded)});
        tree.write("mnt/folded/Photo.JPG", "P");
        if (contentOf(folded + "photo.jpg") != "P")
            QSKIP("the mounted file system does not ignore case");
        PosixFileSystem fs;
        auto opened = fs.openFolder(folded);
        QVERIFY(opened);
        const auto folder = std::move(*opened);
        QCOMPARE(renameEntry(*folder, "Photo.JPG", "photo.jpg").error, Failure());
        QCOMPARE(namesIn(folded), Names{"photo.jpg"});
    }
};

QTEST_GUILESS_MAIN(TestSafeRename)
#include "TestSafeRename.moc"

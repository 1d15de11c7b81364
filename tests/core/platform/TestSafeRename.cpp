// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SafeRename.h"
#include "support/FakeFileSystem.h"
#include "support/TempTree.h"

#include <QFile>
#include <QTest>
#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tamsel;
using tamsel::test::contentOf;
using tamsel::test::FakeFileSystem;
using tamsel::test::namesIn;
using tamsel::test::runProgram;
using tamsel::test::TempTree;

namespace {

using Names = QList<QByteArray>;

// A pid no process has: beyond the kernel's limit.
constexpr int DeadPid = 1 << 30;

} // namespace

class TestSafeRename : public QObject {
    Q_OBJECT
    FakeFileSystem m_fs;

    std::unique_ptr<Folder> open(const QByteArray& path)
    {
        auto folder = m_fs.openFolder(path);
        if (!folder)
            qFatal("cannot open %s", path.constData());
        return folder;
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
        QCOMPARE(renameEntry(*folder, "a", "a").error, 0);
        QCOMPARE(renameEntry(*folder, "gone", "gone").error, ENOENT);
        QCOMPARE(m_fs.renames.size(), 0);
        QCOMPARE(renameEntry(*folder, "dir", "moved").error, EISDIR);
        QCOMPARE(renameEntry(*folder, "link", "link2").error, 0);
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
        QCOMPARE(renameEntry(*folder, "a", "b").error, EEXIST);
        QCOMPARE(renameEntry(*folder, "a", "c").error, 0);
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
        QVERIFY(result.error != 0);
        QVERIFY(result.strandedAs.isEmpty());
        QCOMPARE(namesIn(tree.root()), (Names{"a.txt", "saved"}));
        QCOMPARE(contentOf(tree.root() + "a.txt/photo"), QByteArray("P"));
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
        QCOMPARE(result.error, EISDIR);
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
        QCOMPARE(result.error, EPERM);
        QCOMPARE(contentOf(tree.root() + "b"), QByteArray("other program"));
        QCOMPARE(contentOf(tree.root() + "a"), QByteArray("A"));
        QVERIFY(result.extraName.isEmpty());

        // A second name that cannot be taken away again is reported.
        m_fs.beforeChange = nullptr;
        m_fs.refuseUnlink = {"a", "c"};
        result = renameEntry(*folder, "a", "c");
        QCOMPARE(result.error, EPERM);
        QCOMPARE(result.extraName, QByteArray("c"));
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
            ::_exit(folder && renameEntry(*folder, "theirs", "mine").error == EPERM ? 0 : 1);
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
        QCOMPARE(renameEntry(*folder, "Photo.JPG", "photo.jpg").error, 0);
        QCOMPARE(namesIn(tree.root()), (Names{"other.jpg", "photo.jpg"}));
        QCOMPARE(contentOf(tree.root() + "photo.jpg"), QByteArray("P"));
        // Through a temporary name of its own.
        QVERIFY(std::any_of(m_fs.renames.begin(), m_fs.renames.end(),
                            [](const auto& r) { return r.second.startsWith(TemporaryPrefix); }));
        // Another file of that name is never replaced.
        QCOMPARE(renameEntry(*folder, "photo.jpg", "OTHER.jpg").error, EEXIST);
        QCOMPARE(contentOf(tree.root() + "other.jpg"), QByteArray("O"));
    }

    void caseOnlyOnAFileSystemThatKeepsCase()
    {
        TempTree tree;
        tree.write("foo", "1");
        tree.write("FOO", "2");
        auto folder = open(tree.root());
        QCOMPARE(renameEntry(*folder, "foo", "FOO").error, EEXIST);
        // Two names of one file (a hard link) are two files here: nothing is replaced either.
        QCOMPARE(folder->link("foo", "bar"), 0);
        QCOMPARE(renameEntry(*folder, "foo", "bar").error, EEXIST);
        QCOMPARE(renameEntry(*folder, "foo", "Foo").error, 0);
        QCOMPARE(namesIn(tree.root()), (Names{"FOO", "Foo", "bar"}));
        QCOMPARE(contentOf(tree.root() + "FOO"), QByteArray("2"));
        // On FUSE (bindfs, fuse2fs) a rename between two links of one file does nothing: the
        // outcome is judged by the names there afterwards, not by the call's return.
        QCOMPARE(folder->link("bar", "BAR"), 0);
        m_fs.hardLinks = false; // FUSE, as the folder tells
        auto fuse = m_fs.openFolder(tree.root());
        QCOMPARE(renameEntry(*fuse, "bar", "BAR").error, EEXIST);
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
        QCOMPARE(result.error, EEXIST);
        QVERIFY(result.strandedAs.startsWith(TemporaryPrefix));
        QCOMPARE(contentOf(tree.root() + result.strandedAs), QByteArray("P"));
        QCOMPARE(contentOf(tree.root() + "PHOTO.JPG"), QByteArray("other program"));
    }

    void temporaryNamesLeftByAKilledRunComeBack()
    {
        TempTree tree;
        const QByteArray dead = temporaryPrefix() + QByteArray::number(DeadPid);
        tree.write(dead + "-1-a.txt", "A");
        tree.write(dead + "-2-b.txt", "B2");
        tree.write("b.txt", "B1");        // its name is taken
        tree.write(dead + "-3~cut", "C"); // its name did not fit
        tree.write(temporaryPrefix() + QByteArray::number(::getpid()) + "-9-d.txt", "D"); // alive
        tree.write(TemporaryPrefix + QByteArray("0badcafe-") + QByteArray::number(DeadPid) + "-4-e.txt",
                   "E"); // another machine's
        // Killed between link and unlink: the temporary name is a second name of the file.
        tree.write("f.txt", "F");
        QCOMPARE(::link(QByteArray(tree.root() + "f.txt").constData(),
                        QByteArray(tree.root() + dead + "-5-f.txt").constData()),
                 0);
        auto folder = open(tree.root());
        QCOMPARE(recoverTemporaryNames(*folder), 2);
        QCOMPARE(contentOf(tree.root() + "a.txt"), QByteArray("A"));
        QCOMPARE(contentOf(tree.root() + "b.txt"), QByteArray("B1"));
        QCOMPARE(contentOf(tree.root() + "f.txt"), QByteArray("F"));
        QCOMPARE(namesIn(tree.root()).size(), 7);
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
        QCOMPARE(renameEntry(*folder, "a", "b").error, EPERM);
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
        QCOMPARE(renameEntry(*folder, longName + "A", longName + "a").error, 0);
        QVERIFY(temp.contains('~'));
        QVERIFY(QString::fromUtf8(temp).toUtf8() == temp); // valid UTF-8: no character cut in two
        QCOMPARE(namesIn(tree.root()), Names{longName + "a"});
    }

    // Real FUSE vfat: neither RENAME_NOREPLACE nor link(), and an inode number per spelling.
    void onARealFuseVfatMount()
    {
        if (::geteuid() != 0 || ::access("/dev/fuse", R_OK | W_OK) != 0)
            QSKIP("FUSE needs root and /dev/fuse");
        TempTree tree;
        const QByteArray image = tree.file("vfat.img", 8 << 20);
        const QByteArray mnt = tree.folder("mnt");
        if (!runProgram(QStringLiteral("mkfs.vfat"), {QFile::decodeName(image)}) ||
            !runProgram(QStringLiteral("fusefat"), {QStringLiteral("-o"), QStringLiteral("rw+"),
                                                    QFile::decodeName(image), QFile::decodeName(mnt)}))
            QSKIP("mkfs.vfat or fusefat is missing");
        struct Unmount {
            QByteArray path;
            ~Unmount()
            {
                runProgram(QStringLiteral("fusermount"), {QStringLiteral("-u"), QFile::decodeName(path)});
            }
        } unmount{mnt};
        tree.write("mnt/PHOTO.JPG", "P");
        tree.write("mnt/b.txt", "B");
        PosixFileSystem fs;
        auto folder = fs.openFolder(mnt);
        QVERIFY(folder);
        QCOMPARE(renameEntry(*folder, "PHOTO.JPG", "b.txt").error, EEXIST);
        QCOMPARE(renameEntry(*folder, "PHOTO.JPG", "photo.jpg").error, 0);
        QCOMPARE(renameEntry(*folder, "b.txt", "c.txt").error, 0);
        QCOMPARE(namesIn(mnt), (Names{"c.txt", "photo.jpg"}));
        QCOMPARE(contentOf(mnt + "photo.jpg") + contentOf(mnt + "c.txt"), QByteArray("PB"));
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
        auto folder = fs.openFolder(folded);
        QCOMPARE(renameEntry(*folder, "Photo.JPG", "photo.jpg").error, 0);
        QCOMPARE(namesIn(folded), Names{"photo.jpg"});
    }
};

QTEST_GUILESS_MAIN(TestSafeRename)
#include "TestSafeRename.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// Undo on real files: a pass and its undo leave the tree as it was, and an undo that meets a
// changed tree moves nothing it should not and says why.
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/platform/SafeRename.h"
#include "core/rename/RenamePass.h"
#include "core/rename/UndoPass.h"
#include "core/text/NameCodec.h"
#include "support/FakeFileSystem.h"
#include "support/KilledPass.h"
#include "support/KindTexts.h"
#include "support/TempTree.h"

#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
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
using tamsel::test::runProgram;
using tamsel::test::TempTree;

namespace {

// Every entry below root (one level of folders), with its inode and content.
QMap<QByteArray, QByteArray> snapshot(const QByteArray& root)
{
    QMap<QByteArray, QByteArray> out;
    for (const QByteArray& folder : {QByteArray(), QByteArray("sub/")}) {
        for (const QByteArray& name : namesIn(root + folder)) {
            struct stat st {};
            ::lstat(QByteArray(root + folder + name).constData(), &st);
            out.insert(folder + name, QByteArray::number(st.st_ino) + ':' +
                                          (S_ISREG(st.st_mode) ? contentOf(root + folder + name) : "dir"));
        }
    }
    return out;
}

} // namespace

class TestUndoPass : public QObject {
    Q_OBJECT
    FakeFileSystem m_fs;

private Q_SLOTS:
    // Random lists and previews (chains, clashes, case changes, names that are not UTF-8, a file
    // listed twice, passes stopped half-way); the pass and its undo, itself sometimes stopped and
    // taken up again, leave every name, content and inode as it was.
    void passThenUndoIsTheIdentity()
    {
        const QList<QByteArray> pool{"a.txt", "A.TXT", "b.txt", "照片.jpg", ".hidden", "x\xff.bin",
                                     "c",     "c.txt", "d.TXT", "文档",     "e",       "y\xfe"};
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator rng(seed);
        for (int round = 0; round < 60; ++round) {
            TempTree tree;
            tree.folder("sub");
            FileList list(m_fs);
            for (const QByteArray& folder : {QByteArray(), QByteArray("sub/")}) {
                for (const QByteArray& name : pool) {
                    if (rng.bounded(2))
                        tree.write(folder + name, folder + name);
                }
            }
            for (const QByteArray& path : snapshot(tree.root()).keys()) {
                if (path != "sub")
                    list.addFileRow(tree.root() + path);
            }
            if (list.fileCount() > 0 && rng.bounded(4) == 0)
                list.addFileRow(list.pathBytes(int(rng.bounded(list.fileCount()))));
            if (list.fileCount() > 1)
                list.moveBlock(0, 0, list.fileCount() - 1);
            for (int r = 0; r < list.fileCount(); ++r) {
                const int choice = int(rng.bounded(4));
                const QString own = list.name(r).toString();
                list.setCell(r, ColPreview,
                             choice == 0   ? QString()
                             : choice == 1 ? own.toUpper()
                                           : decodeName(pool[rng.bounded(pool.size())]));
            }
            const auto before = snapshot(tree.root());
            const int stopAt = rng.bounded(3) == 0 ? int(rng.bounded(list.fileCount() + 1)) : -1;
            RenameOutcome pass = renamePass(list, m_fs, Kinds, [&](int row) { return row != stopAt; });
            const int renamed = int(pass.record.files.size());
            int restored = 0;
            const int undoStop = rng.bounded(3) == 0 ? int(rng.bounded(renamed + 1)) : -1;
            const UndoOutcome first =
                undoPass(list, m_fs, pass.record, Kinds, [&](int done) { return done != undoStop; });
            restored += first.restored;
            QCOMPARE(first.stopped, undoStop >= 0 && undoStop < renamed);
            restored += undoPass(list, m_fs, pass.record, Kinds).restored;
            QVERIFY(pass.record.isEmpty());
            QVERIFY2(snapshot(tree.root()) == before, qPrintable(u"seed %1 round %2"_s.arg(seed).arg(round)));
            QCOMPARE(restored, renamed);
        }
    }

    // Between the pass and the undo the tree changes under it: nothing is overwritten or moved
    // elsewhere, and each row tells the truth. The rows have moved meanwhile and some were
    // refreshed or deleted; the files are found all the same.
    void aChangedTreeIsLeftAlone()
    {
        TempTree tree;
        tree.folder("moved");
        tree.folder("lnk-real");
        for (const QByteArray name : {"replaced", "taken", "folder", "moved/f", "lnk-real/f", "gone", "kept"})
            tree.write(name, name);
        tree.folder("other");
        QCOMPARE(::symlink("lnk-real", QByteArray(tree.root() + "lnk").constData()), 0);
        FileList list(m_fs);
        for (const QByteArray name : {"replaced", "taken", "folder", "moved/f", "lnk/f", "gone", "kept"}) {
            list.addFileRow(tree.root() + name);
            list.setCell(list.fileCount() - 1, ColPreview,
                         QString::fromUtf8(name.split('/').last()) + u"-new"_s);
        }
        RenameOutcome pass = renamePass(list, m_fs, Kinds);
        QCOMPARE(pass.record.files.size(), size_t(7));

        const QByteArray root = tree.root();
        QCOMPARE(::unlink(QByteArray(root + "replaced-new").constData()), 0);
        tree.write("replaced-new", "another");
        tree.write("taken", "newcomer");
        QCOMPARE(::unlink(QByteArray(root + "folder-new").constData()), 0);
        tree.folder("folder-new");
        QCOMPARE(::rename(QByteArray(root + "moved").constData(), QByteArray(root + "moved2").constData()),
                 0);
        tree.write("other/f-new", "other");
        QCOMPARE(::unlink(QByteArray(root + "lnk").constData()), 0);
        QCOMPARE(::symlink("other", QByteArray(root + "lnk").constData()), 0);
        list.refreshFileList(); // "kept" shows its new name as its name now
        list.removeBlock(5, 5); // "gone" is listed no more
        list.moveBlock(5, 5, 0);

        const UndoOutcome undo = undoPass(list, m_fs, pass.record, Kinds);
        QCOMPARE(undo.restored, 2);
        QCOMPARE(undo.failed, 5);
        QCOMPARE(contentOf(root + "gone"), QByteArray("gone"));
        QCOMPARE(contentOf(root + "kept"), QByteArray("kept"));
        QCOMPARE(list.cell(0, ColOriginalName), u"kept"_s);
        QCOMPARE(list.cell(0, ColResult), u"undone"_s);
        QCOMPARE(list.cell(0, ColNewName), QString());
        QCOMPARE(list.details(0).stamp, m_fs.stat(root + "kept")->entryStamp);
        const auto errnoName = [](int e) -> QString { return u"errno "_s + QString::number(e); };
        const QStringList expected{u"replaced"_s, errnoName(EEXIST), errnoName(EISDIR), errnoName(ESTALE),
                                   errnoName(ESTALE)};
        for (int r = 1; r <= 5; ++r)
            QCOMPARE(list.cell(r, ColResult), u"undo failed: "_s + expected[r - 1]);
        QCOMPARE(contentOf(root + "replaced-new"), QByteArray("another"));
        QCOMPARE(contentOf(root + "replaced"), QByteArray("<missing>"));
        QCOMPARE(contentOf(root + "taken"), QByteArray("newcomer"));
        QCOMPARE(contentOf(root + "taken-new"), QByteArray("taken"));
        QCOMPARE(contentOf(root + "moved2/f-new"), QByteArray("moved/f"));
        QCOMPARE(contentOf(root + "other/f-new"), QByteArray("other"));
        QCOMPARE(namesIn(root + "other"), QList<QByteArray>{"f-new"});
        QCOMPARE(contentOf(root + "lnk-real/f-new"), QByteArray("lnk-real/f"));
        QVERIFY(pass.record.isEmpty());
    }

    // ext4 with 128-byte inodes keeps no birth time and gives a freed inode number to the next new
    // file: a file made there under the new name is another file, whatever its size and times.
    void aFileInAReusedInodeIsLeftAlone()
    {
        if (::geteuid() != 0)
            QSKIP("mounting needs root");
        TempTree tree;
        const QString image = QFile::decodeName(tree.file("ext4.img", 16 << 20));
        const QByteArray mnt = tree.folder("mnt");
        if (!runProgram(u"mkfs.ext4"_s, {u"-q"_s, u"-F"_s, u"-I"_s, u"128"_s, image}) ||
            !runProgram(u"mount"_s, {u"-o"_s, u"loop"_s, image, QFile::decodeName(mnt)}))
            QSKIP("no ext4 image can be mounted here");
        struct Unmount {
            QByteArray path;
            ~Unmount() { runProgram(u"umount"_s, {QFile::decodeName(path)}); }
        } unmount{mnt};
        tree.write("mnt/a", "A");
        FileList list(m_fs);
        list.addFileRow(mnt + "a");
        list.setCell(0, ColPreview, u"x"_s);
        RenameOutcome pass = renamePass(list, m_fs, Kinds);
        struct stat renamed {};
        QCOMPARE(::stat(QByteArray(mnt + "x").constData(), &renamed), 0);
        QCOMPARE(::unlink(QByteArray(mnt + "x").constData()), 0);
        tree.write("mnt/x", "B");
        const struct timespec times[2] = {renamed.st_atim, renamed.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, QByteArray(mnt + "x").constData(), times, 0), 0);
        struct stat newcomer {};
        QCOMPARE(::stat(QByteArray(mnt + "x").constData(), &newcomer), 0);
        if (newcomer.st_ino != renamed.st_ino)
            QSKIP("the inode number was not given again");
        const UndoOutcome undo = undoPass(list, m_fs, pass.record, Kinds);
        QCOMPARE(undo.failed, 1);
        QCOMPARE(list.cell(0, ColResult), u"undo failed: replaced"_s);
        QCOMPARE(namesIn(mnt), (QList<QByteArray>{"lost+found", "x"}));
    }

    // FUSE numbers a file anew once the kernel lets go of it, and fuse2fs gives a freed inode number
    // again: only the node the pass kept hold of is the renamed file. A file of the same size and
    // time in its place, and two renamed files swapped by hand, stay where they are.
    void onFuseOnlyTheHeldFileGoesBack()
    {
        TempTree tree;
        const FuseVfatMount vfat(tree, "mnt");
        if (!vfat.mounted())
            QSKIP("FUSE vfat needs root, /dev/fuse, mkfs.vfat and fusefat");
        const QByteArray mnt = vfat.path();
        PosixFileSystem fs;
        FileList list(fs);
        for (const QByteArray name : {"A.TXT", "B.TXT", "C.TXT", "D.TXT"}) {
            tree.write("mnt/" + name, name.left(1));
            list.addFileRow(mnt + name);
            list.setCell(list.fileCount() - 1, ColPreview, QString::fromLatin1(name.left(1)) + u"2.TXT"_s);
        }
        RenameOutcome pass = renamePass(list, fs, Kinds);
        QCOMPARE(pass.record.files.size(), size_t(4));
        struct stat a2 {};
        QCOMPARE(::stat(QByteArray(mnt + "A2.TXT").constData(), &a2), 0);
        QCOMPARE(::unlink(QByteArray(mnt + "A2.TXT").constData()), 0);
        tree.write("mnt/A2.TXT", "X");
        const struct timespec times[2] = {a2.st_atim, a2.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, QByteArray(mnt + "A2.TXT").constData(), times, 0), 0);
        const auto move = [&](const QByteArray& from, const QByteArray& to) {
            QCOMPARE(::rename(QByteArray(mnt + from).constData(), QByteArray(mnt + to).constData()), 0);
        };
        move("B2.TXT", "T");
        move("C2.TXT", "B2.TXT");
        move("T", "C2.TXT");
        QFile caches(u"/proc/sys/vm/drop_caches"_s);
        if (caches.open(QIODevice::WriteOnly))
            caches.write("2"); // the kernel forgets what nothing holds
        caches.close();
        const UndoOutcome undo = undoPass(list, fs, pass.record, Kinds);
        QCOMPARE(undo.restored, 1);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(list.cell(r, ColResult), u"undo failed: identity unknown"_s);
        QCOMPARE(namesIn(mnt), (QList<QByteArray>{"A2.TXT", "B2.TXT", "C2.TXT", "D.TXT"}));
        QCOMPARE(contentOf(mnt + "A2.TXT") + contentOf(mnt + "B2.TXT") + contentOf(mnt + "C2.TXT"),
                 QByteArray("XCB"));
    }

    // A file system without a rename that refuses to replace (FUSE vfat, exFAT): the row says so.
    void anUnguardedUndoSaysSo()
    {
        FakeFileSystem fs;
        fs.noReplace = false;
        fs.hardLinks = false;
        TempTree tree;
        tree.write("a", "A");
        FileList list(fs);
        list.addFileRow(tree.root() + "a");
        list.setCell(0, ColPreview, u"b"_s);
        RenameOutcome pass = renamePass(list, fs, Kinds);
        QCOMPARE(undoPass(list, fs, pass.record, Kinds).restored, 1);
        QCOMPARE(list.cell(0, ColResult), u"undone unguarded"_s);
    }

    void killedMidUndo_data()
    {
        QTest::addColumn<bool>("linkMode");
        QTest::newRow("renameat2") << false;
        QTest::newRow("link and unlink") << true;
    }
    // Killed at each step of an undo's file, every file is still there, under its old or its new
    // name; an undo through second names may leave a file under both and its temporary names, which
    // the next pass over the files, listed once each, clears up.
    void killedMidUndo()
    {
        QFETCH(bool, linkMode);
        const int files = 200;
        int step = 0;
        for (;; ++step) {
            TempTree tree;
            for (int i = 0; i < files; ++i)
                tree.write("f" + QByteArray::number(i), QByteArray::number(i));
            // The undo goes last file first: its 100th file is f100.
            if (!test::killedPass(QStringLiteral(TAMSEL_RENAME_CHILD), tree.root(), files, 0,
                                  linkMode ? u"undo-link"_s : u"undo"_s,
                                  "undo 100 " + QByteArray::number(step)))
                break;                           // past the file's last step
            QMap<QByteArray, QByteArray> nameOf; // a name of each file, by content
            for (const QByteArray& name : namesIn(tree.root())) {
                if (linkMode && name.startsWith(TemporaryPrefix))
                    continue;
                const QByteArray content = contentOf(tree.root() + name);
                QVERIFY2(name == "f" + content || name == "r0-" + content, name.constData());
                QVERIFY2(linkMode || !nameOf.contains(content), name.constData());
                // The files undone before the kill have their old names back, the rest their new.
                if (content.toInt() != 100)
                    QCOMPARE(name.startsWith('f'), content.toInt() > 100);
                nameOf.insert(content, name);
            }
            QCOMPARE(nameOf.size(), files);
            if (!linkMode)
                continue;
            FakeFileSystem fs;
            fs.noReplace = false;
            FileList list(fs);
            for (auto it = nameOf.cbegin(); it != nameOf.cend(); ++it) {
                list.addFileRow(tree.root(), it.value());
                list.setCell(list.fileCount() - 1, ColPreview, u"d-"_s + QString::fromUtf8(it.key()));
            }
            QCOMPARE(renamePass(list, fs, Kinds).failure.row, -1);
            const QList<QByteArray> names = namesIn(tree.root());
            QCOMPARE(names.size(), files);
            for (const QByteArray& name : names)
                QCOMPARE(contentOf(tree.root() + name), name.mid(2));
        }
        QVERIFY(step >= 3);
    }
};

QTEST_GUILESS_MAIN(TestUndoPass)
#include "TestUndoPass.moc"

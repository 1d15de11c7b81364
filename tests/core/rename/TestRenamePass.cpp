// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/RenamePass.h"
#include "support/FakeFileSystem.h"
#include "support/TempTree.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace tamsel;
using namespace Qt::StringLiterals;
using tamsel::test::FakeFileSystem;
using tamsel::test::TempTree;

namespace {

QStringList column(const FileList& list, int column)
{
    QStringList out;
    for (int r = 1; r <= list.fileCount(); ++r)
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
            list.setCell(list.fileCount(), ColPreview, preview);
        }
    }

private Q_SLOTS:
    void renamesRowAfterRow()
    {
        TempTree tree;
        FileList list(m_fs);
        add(list, tree,
            {{"a.txt", u"1.txt"_s}, {"b.txt", u"   "_s}, {"c.txt", u" lead.txt"_s}, {"d", u"d"_s}});
        list.setCell(2, ColResult, u"old"_s);
        QVERIFY(hasPreview(list));
        const RenameOutcome outcome = renamePass(list, m_fs);
        QCOMPARE(outcome.failedRow, 0);
        QCOMPARE(column(list, ColResult),
                 (QStringList{u"操作成功！"_s, u"未处理！"_s, u"操作成功！"_s, u"操作成功！"_s}));
        QCOMPARE(column(list, ColNewName), (QStringList{u"1.txt"_s, QString(), u" lead.txt"_s, u"d"_s}));
        QVERIFY(exists(tree.root() + "1.txt") && !exists(tree.root() + "a.txt"));
        QVERIFY(exists(tree.root() + "b.txt"));
        QVERIFY(exists(tree.root() + " lead.txt")); // the leading blank is kept
        QVERIFY(exists(tree.root() + "d"));         // the same name: nothing changes, nothing fails
        // Previews stay, names stay until a refresh.
        QCOMPARE(list.cell(1, ColPreview), u"1.txt"_s);
        QCOMPARE(list.cell(1, ColOriginalName), u"a.txt"_s);
        list.refreshFileList();
        QCOMPARE(column(list, ColOriginalName),
                 (QStringList{u"1.txt"_s, u"b.txt"_s, u" lead.txt"_s, u"d"_s}));
        QCOMPARE(list.cell(1, ColFileSize), u"0.002929688 KB "_s);
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
        list.setCell(2, ColResult, u"earlier"_s);
        list.setCell(3, ColResult, u"earlier"_s);
        const RenameOutcome outcome = renamePass(list, m_fs);
        QCOMPARE(outcome.failedRow, 2);
        QCOMPARE(outcome.error, error);
        QCOMPARE(column(list, ColResult), (QStringList{u"操作成功！"_s, u"earlier"_s, u"earlier"_s}));
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
        QCOMPARE(renamePass(list, m_fs).failedRow, 1);
        QVERIFY(exists(tree.root() + "a.txt") && exists(tree.root() + "b.txt"));

        FileList twice(m_fs);
        add(twice, tree, {{"x", u"same"_s}, {"y", u"same"_s}, {"z", u"other"_s}});
        QCOMPARE(renamePass(twice, m_fs).failedRow, 2);
        QCOMPARE(column(twice, ColResult), (QStringList{u"操作成功！"_s, QString(), QString()}));
        QVERIFY(exists(tree.root() + "y") && exists(tree.root() + "z"));
    }

    void missingSourceAndStaleNames()
    {
        TempTree tree;
        FileList list(m_fs);
        add(list, tree, {{"a", u"a2"_s}, {"gone", u"g2"_s}});
        QCOMPARE(::unlink(QByteArray(tree.root() + "gone").constData()), 0);
        RenameOutcome outcome = renamePass(list, m_fs);
        QCOMPARE(outcome.failedRow, 2);
        QCOMPARE(outcome.error, ENOENT);
        // A second pass before a refresh starts from the old names and fails on its first row.
        outcome = renamePass(list, m_fs);
        QCOMPARE(outcome.failedRow, 1);
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
        list.setCell(1, ColPreview, u"link-a"_s);
        list.setCell(2, ColPreview, u"link-b"_s);
        QCOMPARE(renamePass(list, m_fs).failedRow, 0);
        QCOMPARE(column(list, ColResult), (QStringList{u"操作成功！"_s, u"操作成功！"_s}));
        list.refreshFileList();
        QCOMPARE(column(list, ColOriginalName), (QStringList{u"link-a"_s, u"link-b"_s}));
    }

    void aNameOntoItselfIsNoChange()
    {
        TempTree tree;
        FakeFileSystem fs;
        const QByteArray a = tree.file("a.txt");
        QCOMPARE(renameFile(fs, a, a), 0);
        QCOMPARE(fs.renames.size(), 0);
        QCOMPARE(renameFile(fs, tree.root() + "gone", tree.root() + "gone"), ENOENT);
    }

    void namesThatAreNotUtf8()
    {
        TempTree tree;
        const QByteArray gbk("\xb2\xe2\xca\xd4.txt");
        FileList list(m_fs);
        list.addFileRow(tree.file(gbk, 5));
        list.setCell(1, ColPreview, u"测试.txt"_s);
        QCOMPARE(renamePass(list, m_fs).failedRow, 0);
        QVERIFY(!exists(tree.root() + gbk));
        QVERIFY(exists(tree.root() + "测试.txt"));
        list.refreshFileList();
        QCOMPARE(list.cell(1, ColOriginalName), u"测试.txt"_s);
        QCOMPARE(list.cell(1, ColFileSize), u"0.004882813 KB "_s);
    }

    void nothingToRename()
    {
        FileList list(m_fs);
        QVERIFY(!hasPreview(list));
        list.addFileRow("/none/a");
        list.setCell(1, ColPreview, u"  "_s);
        QVERIFY(!hasPreview(list));
    }

    void caseOnlyRenameOnACaseInsensitiveFileSystem()
    {
        TempTree tree;
        FakeFileSystem fs;
        fs.ignoreCase = true;
        const QByteArray d = tree.root();
        tree.file("Photo.JPG");
        tree.file("other.jpg");
        QCOMPARE(renameFile(fs, d + "Photo.JPG", d + "photo.jpg"), 0);
        QCOMPARE(QDir(QString::fromUtf8(d)).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{u"other.jpg"_s, u"photo.jpg"_s}));
        QCOMPARE(fs.renames.size(), 3); // refused, to a temporary name, to the target
        QVERIFY(fs.renames[1].second.startsWith(QByteArray(d + ".tamsel-")));
        // Another file of that name is never replaced.
        QCOMPARE(renameFile(fs, d + "photo.jpg", d + "OTHER.jpg"), EEXIST);
        QCOMPARE(QDir(QString::fromUtf8(d)).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{u"other.jpg"_s, u"photo.jpg"_s}));
    }

    void caseOnlyRenameOnACaseSensitiveFileSystem()
    {
        TempTree tree;
        tree.file("foo", 1);
        tree.file("FOO", 2);
        QCOMPARE(renameFile(m_fs, tree.root() + "foo", tree.root() + "FOO"), EEXIST);
        QCOMPARE(m_fs.stat(tree.root() + "FOO")->size, qint64(2));
        // Two names of one file (a hard link) are two files here: nothing is replaced either.
        QCOMPARE(
            ::link(QByteArray(tree.root() + "foo").constData(), QByteArray(tree.root() + "bar").constData()),
            0);
        QCOMPARE(renameFile(m_fs, tree.root() + "foo", tree.root() + "bar"), EEXIST);
        QVERIFY(exists(tree.root() + "foo") && exists(tree.root() + "bar"));
        QCOMPARE(renameFile(m_fs, tree.root() + "foo", tree.root() + "Foo"), 0);
    }

    void caseOnlyRenameOnARealCaseInsensitiveMount()
    {
        if (::geteuid() != 0)
            QSKIP("mounting needs root");
        TempTree tree;
        const QString image = QString::fromUtf8(tree.root()) + u"fs.img"_s;
        const QString mountPoint = QString::fromUtf8(tree.folder("mnt"));
        QFile img(image);
        QVERIFY(img.open(QIODevice::WriteOnly));
        img.resize(16 << 20);
        img.close();
        auto run = [](const QString& program, const QStringList& args) {
            QProcess p;
            p.start(program, args);
            return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        };
        const bool mounted =
            (run(u"mkfs.ext4"_s, {u"-q"_s, u"-F"_s, u"-O"_s, u"casefold"_s, image}) &&
             run(u"mount"_s, {u"-o"_s, u"loop"_s, image, mountPoint})) ||
            run(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"casefold"_s, u"none"_s, mountPoint});
        if (!mounted)
            QSKIP("no case-insensitive file system can be mounted here");
        const QByteArray dir = QFile::encodeName(mountPoint);
        const QByteArray folded = dir + "folded/";
        ::mkdir(folded.constData(), 0755);
        run(u"chattr"_s, {u"+F"_s, QString::fromUtf8(folded)});
        {
            QFile f(QString::fromUtf8(folded + "Photo.JPG"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const bool insensitive = exists(folded + "photo.jpg");
        int err = -1;
        if (insensitive)
            err = renameFile(m_fs, folded + "Photo.JPG", folded + "photo.jpg");
        const QStringList names = QDir(QString::fromUtf8(folded)).entryList(QDir::Files | QDir::Hidden);
        run(u"umount"_s, {mountPoint});
        if (!insensitive)
            QSKIP("the mounted file system does not ignore case");
        QCOMPARE(err, 0);
        QCOMPARE(names, QStringList{u"photo.jpg"_s});
    }
};

QTEST_GUILESS_MAIN(TestRenamePass)
#include "TestRenamePass.moc"

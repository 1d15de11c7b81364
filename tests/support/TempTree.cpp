// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TempTree.h"

#include <QProcess>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamsel::test {

TempTree::TempTree() : m_dir(QDir::tempPath() + QStringLiteral("/tamsel-XXXXXX")) {}

namespace {

int removeEntry(const char* path, const struct stat*, int type, struct FTW*)
{
    return type == FTW_DP ? ::rmdir(path) : ::unlink(path);
}

} // namespace

TempTree::~TempTree()
{
    if (m_dir.isValid())
        ::nftw(QFile::encodeName(m_dir.path()).constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

QByteArray TempTree::root() const
{
    return QFile::encodeName(m_dir.path()) + '/';
}

QByteArray TempTree::file(const QByteArray& relative, qint64 size)
{
    const QByteArray path = root() + relative;
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        if (size > 0 && ::ftruncate(fd, size) != 0)
            qWarning("ftruncate failed");
        ::close(fd);
    }
    return path;
}

QByteArray TempTree::write(const QByteArray& relative, const QByteArray& content)
{
    const QByteArray path = root() + relative;
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, content.constData(), size_t(content.size())) != content.size())
        qWarning("writing %s failed", path.constData());
    if (fd >= 0)
        ::close(fd);
    return path;
}

QByteArray contentOf(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return "<missing>";
    QByteArray content;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        content.append(buf, n);
    ::close(fd);
    return content;
}

QList<QByteArray> namesIn(const QByteArray& folder)
{
    QList<QByteArray> names;
    if (DIR* d = ::opendir(folder.constData())) {
        while (const dirent* e = ::readdir(d)) {
            const QByteArray name(e->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

QByteArray TempTree::folder(const QByteArray& relative)
{
    const QByteArray path = root() + relative;
    ::mkdir(path.constData(), 0755);
    return path + '/';
}

bool runProgram(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

FuseVfatMount::FuseVfatMount(TempTree& tree, const QByteArray& name) : m_path(tree.folder(name))
{
    if (::geteuid() != 0 || ::access("/dev/fuse", R_OK | W_OK) != 0)
        return;
    m_image = QFile::decodeName(tree.file(name + ".img", 8 << 20));
    m_mounted = runProgram(QStringLiteral("mkfs.vfat"), {m_image}) &&
                runProgram(QStringLiteral("fusefat"),
                           {QStringLiteral("-o"), QStringLiteral("rw+"), m_image, QFile::decodeName(m_path)});
}

bool FuseVfatMount::unmountSound()
{
    m_mounted = m_mounted &&
                !runProgram(QStringLiteral("fusermount"), {QStringLiteral("-u"), QFile::decodeName(m_path)});
    return !m_mounted && runProgram(QStringLiteral("fsck.fat"), {QStringLiteral("-n"), m_image});
}

FuseVfatMount::~FuseVfatMount()
{
    if (m_mounted)
        runProgram(QStringLiteral("fusermount"), {QStringLiteral("-u"), QFile::decodeName(m_path)});
}

} // namespace tamsel::test

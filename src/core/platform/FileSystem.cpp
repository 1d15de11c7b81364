// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tamsel {
namespace {

qint64 toMs(const struct statx_timestamp& t)
{
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

bool statxAt(int dirFd, const char* path, int flags, struct statx* out)
{
    return ::statx(dirFd, path, flags | AT_STATX_SYNC_AS_STAT,
                   STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME, out) == 0;
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

} // namespace

std::optional<FileStat> PosixFileSystem::stat(const QByteArray& path) const
{
    if (path.isEmpty())
        return std::nullopt;
    struct statx sx {};
    if (!statxAt(AT_FDCWD, path.constData(), 0, &sx) &&
        !statxAt(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW, &sx))
        return std::nullopt;
    FileStat st;
    st.size = qint64(sx.stx_size);
    st.modifiedMs = toMs(sx.stx_mtime);
    if (sx.stx_mask & STATX_BTIME)
        st.createdMs = toMs(sx.stx_btime);
    st.isDir = S_ISDIR(sx.stx_mode);
    return st;
}

bool PosixFileSystem::listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit) const
{
    std::unique_ptr<DIR, DirCloser> d(::opendir(dir.isEmpty() ? "." : dir.constData()));
    if (!d)
        return false;
    const int fd = ::dirfd(d.get());
    DirEntry entry;
    for (;;) {
        errno = 0;
        const struct dirent* e = ::readdir(d.get());
        if (!e)
            return errno == 0;
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        bool isDir = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct statx sx {};
            if (!statxAt(fd, n, AT_SYMLINK_NOFOLLOW, &sx))
                return false;
            isDir = S_ISDIR(sx.stx_mode);
        }
        entry.name = QByteArray(n);
        entry.isDir = isDir;
        if (!visit(entry))
            return true;
    }
}

std::optional<FileIdentity> PosixFileSystem::identity(const QByteArray& path) const
{
    struct statx sx {};
    if (path.isEmpty() || !statxAt(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW, &sx))
        return std::nullopt;
    return FileIdentity{(quint64(sx.stx_dev_major) << 32) | sx.stx_dev_minor, sx.stx_ino};
}

int PosixFileSystem::rename(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    const int err = errno;
    if (err != EINVAL && err != ENOSYS && err != ENOTSUP)
        return err;
    // The file system lacks RENAME_NOREPLACE: link() fails on an existing target just as well.
    if (::link(from.constData(), to.constData()) != 0)
        return errno;
    if (::unlink(from.constData()) != 0) {
        const int unlinkErr = errno;
        ::unlink(to.constData());
        return unlinkErr;
    }
    return 0;
}

bool PosixFileSystem::fileExists(const QByteArray& path) const
{
    if (path.isEmpty())
        return false;
    // A link counts as the file it is, even when it points to a folder or nowhere.
    struct statx sx {};
    if (!statxAt(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW, &sx))
        return false;
    return !S_ISDIR(sx.stx_mode);
}

std::optional<QByteArray> PosixFileSystem::readFile(const QByteArray& path, qint64 maxBytes) const
{
    // Non-blocking open: a named pipe would otherwise wait for a writer.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray data;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        if (data.size() + n > maxBytes) {
            ::close(fd);
            return std::nullopt;
        }
        data.append(buf, n);
    }
    ::close(fd);
    return data;
}

bool isValidFileName(const QByteArray& name)
{
    return !name.isEmpty() && name.size() <= 255 && name != "." && name != ".." && !name.contains('/') &&
           !name.contains('\0');
}

int renameFile(FileSystem& fs, const QByteArray& from, const QByteArray& to)
{
    // A name onto itself is no change, as rename(2) has it; only the source must exist.
    if (from == to)
        return fs.identity(from) ? 0 : ENOENT;
    const int err = fs.rename(from, to);
    if (err != EEXIST)
        return err;
    const auto source = fs.identity(from);
    if (!source || source != fs.identity(to))
        return err;
    // The target is the source under another spelling: go round through a name of our own.
    const QByteArray dir = from.left(from.lastIndexOf('/') + 1);
    static unsigned serial = 0;
    QByteArray temp;
    int moved = EEXIST;
    for (int attempt = 0; attempt < 100 && moved == EEXIST; ++attempt) {
        temp = dir;
        temp.append(".tamsel-")
            .append(QByteArray::number(::getpid()))
            .append('-')
            .append(QByteArray::number(++serial));
        moved = fs.rename(from, temp);
    }
    if (moved != 0)
        return moved;
    const int finalErr = fs.rename(temp, to);
    if (finalErr != 0)
        fs.rename(temp, from);
    return finalErr;
}

} // namespace tamsel

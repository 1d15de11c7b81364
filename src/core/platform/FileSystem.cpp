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
                   STATX_TYPE | STATX_MODE | STATX_INO | STATX_UID | STATX_SIZE | STATX_MTIME | STATX_BTIME,
                   out) == 0;
}

FileType typeOf(quint32 mode)
{
    if (S_ISREG(mode))
        return FileType::Regular;
    if (S_ISDIR(mode))
        return FileType::Directory;
    if (S_ISLNK(mode))
        return FileType::Link;
    return FileType::Other;
}

FileStat toStat(const struct statx& sx)
{
    FileStat st;
    st.type = typeOf(sx.stx_mode);
    st.identity = {(quint64(sx.stx_dev_major) << 32) | sx.stx_dev_minor, sx.stx_ino};
    st.size = qint64(sx.stx_size);
    st.modifiedMs = toMs(sx.stx_mtime);
    if (sx.stx_mask & STATX_BTIME)
        st.createdMs = toMs(sx.stx_btime);
    st.mode = sx.stx_mode & 07777;
    st.owner = sx.stx_uid;
    return st;
}

int errorOf(int result)
{
    return result == 0 ? 0 : errno;
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

// Lists the folder open at fd (which stays open), names only.
bool listFd(int fd, const std::function<bool(const struct dirent&)>& visit)
{
    const int own = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (own < 0)
        return false;
    std::unique_ptr<DIR, DirCloser> d(::fdopendir(own));
    if (!d) {
        ::close(own);
        return false;
    }
    for (;;) {
        errno = 0;
        const struct dirent* e = ::readdir(d.get());
        if (!e)
            return errno == 0;
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        if (!visit(*e))
            return true;
    }
}

class PosixFolder final : public Folder {
public:
    explicit PosixFolder(int fd) : m_fd(fd) {}
    ~PosixFolder() override { ::close(m_fd); }
    PosixFolder(const PosixFolder&) = delete;
    PosixFolder& operator=(const PosixFolder&) = delete;

    std::optional<FileStat> entry(const QByteArray& name, int* error) const override
    {
        struct statx sx {};
        if (!statxAt(m_fd, name.constData(), AT_SYMLINK_NOFOLLOW, &sx)) {
            if (error)
                *error = errno;
            return std::nullopt;
        }
        return toStat(sx);
    }
    std::optional<FileStat> self() const override
    {
        struct statx sx {};
        if (!statxAt(m_fd, "", AT_EMPTY_PATH, &sx))
            return std::nullopt;
        return toStat(sx);
    }
    bool listNames(const std::function<bool(QByteArrayView)>& visit) const override
    {
        return listFd(m_fd, [&](const struct dirent& e) { return visit(QByteArrayView(e.d_name)); });
    }
    int renameNoReplace(const QByteArray& from, const QByteArray& to) override
    {
        return errorOf(::renameat2(m_fd, from.constData(), m_fd, to.constData(), RENAME_NOREPLACE));
    }
    int renameReplacing(const QByteArray& from, const QByteArray& to) override
    {
        return errorOf(::renameat(m_fd, from.constData(), m_fd, to.constData()));
    }
    int link(const QByteArray& from, const QByteArray& to) override
    {
        return errorOf(::linkat(m_fd, from.constData(), m_fd, to.constData(), 0));
    }
    int unlink(const QByteArray& name) override { return errorOf(::unlinkat(m_fd, name.constData(), 0)); }

private:
    int m_fd;
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
    return toStat(sx);
}

bool PosixFileSystem::listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit) const
{
    const int fd = ::open(dir.isEmpty() ? "." : dir.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    DirEntry entry;
    bool failed = false;
    const bool listed = listFd(fd, [&](const struct dirent& e) {
        bool isDir = e.d_type == DT_DIR;
        if (e.d_type == DT_UNKNOWN) {
            struct statx sx {};
            if (!statxAt(fd, e.d_name, AT_SYMLINK_NOFOLLOW, &sx)) {
                // An entry removed since the folder was read is no reason to give up the folder.
                if (errno == ENOENT)
                    return true;
                failed = true;
                return false;
            }
            isDir = S_ISDIR(sx.stx_mode);
        }
        entry.name = QByteArray(e.d_name);
        entry.isDir = isDir;
        return visit(entry);
    });
    ::close(fd);
    return listed && !failed;
}

std::unique_ptr<Folder> PosixFileSystem::openFolder(const QByteArray& path, int* error) const
{
    const int fd = ::open(path.isEmpty() ? "." : path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = errno;
        return nullptr;
    }
    return std::make_unique<PosixFolder>(fd);
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

} // namespace tamsel

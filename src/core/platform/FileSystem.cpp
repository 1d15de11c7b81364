// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/FileSystem.h"

#include <QList>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <vector>

namespace tamsel {
namespace {

qint64 toMs(const struct statx_timestamp& t)
{
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

bool statxAt(int dirFd, const char* path, int flags, struct statx* out)
{
    return ::statx(dirFd, path, flags | AT_STATX_SYNC_AS_STAT,
                   STATX_TYPE | STATX_MODE | STATX_INO | STATX_UID | STATX_SIZE | STATX_MTIME | STATX_CTIME |
                       STATX_BTIME,
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
    st.entryStamp = sx.stx_ino;
    if (sx.stx_mask & STATX_BTIME)
        st.entryStamp ^=
            (quint64(sx.stx_btime.tv_sec) * 1000000000u + sx.stx_btime.tv_nsec) * 0x9E3779B97F4A7C15u;
    st.size = qint64(sx.stx_size);
    st.modifiedMs = toMs(sx.stx_mtime);
    st.changedNs = qint64(sx.stx_ctime.tv_sec) * 1000000000 + sx.stx_ctime.tv_nsec;
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

struct LinuxDirent64 {
    quint64 ino;
    qint64 off;
    unsigned short reclen;
    unsigned char type;
    char name[1];
};

// Reads the folder open for reading at fd (which stays open) with getdents64, in large reads:
// visit(name, d_type) for every entry but "." and "..", until it returns false. False on a read
// error.
template <typename Visit> bool readEntries(int fd, Visit&& visit)
{
    thread_local std::vector<char> buffer(1 << 17);
    bool ok = true;
    for (bool more = true; more;) {
        const long n = ::syscall(SYS_getdents64, fd, buffer.data(), buffer.size());
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (long at = 0; at < n && more;) {
            const auto* e = reinterpret_cast<const LinuxDirent64*>(buffer.data() + at);
            at += e->reclen;
            const char* name = e->name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            more = visit(name, e->type);
        }
    }
    return ok;
}

constexpr quint32 FuseMagic = 0x65735546;

bool onFuse(int fd)
{
    struct statfs fs {};
    return ::fstatfs(fd, &fs) == 0 && quint32(fs.f_type) == FuseMagic;
}

// The driver of the FUSE mount with the device number device, from its type in the mount table
// ("fuse.fusefat", "fuseblk.fusefat"); empty when not found.
QByteArray fuseDriverOf(quint64 device)
{
    const QByteArray wanted =
        QByteArray::number(device >> 32) + ':' + QByteArray::number(device & 0xffffffffu);
    FILE* table = std::fopen("/proc/self/mountinfo", "re");
    if (!table)
        return {};
    QByteArray driver;
    char* line = nullptr;
    size_t capacity = 0;
    while (driver.isEmpty() && ::getline(&line, &capacity, table) > 0) {
        // id parent major:minor root mount-point options [optional fields] - type source options
        const QList<QByteArray> fields = QByteArray(line).trimmed().split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 3 || fields[2] != wanted || dash < 0 || dash + 1 >= fields.size())
            continue;
        const QByteArray& type = fields[dash + 1];
        if (type.startsWith("fuse"))
            driver = type.contains('.') ? type.mid(type.indexOf('.') + 1) : fields.value(dash + 2);
    }
    std::free(line);
    std::fclose(table);
    return driver;
}

// An O_PATH descriptor of the entry. Holds are counted: they take descriptors, of which they may use a
// quarter.
class PosixHold final : public EntryHold {
public:
    static std::shared_ptr<EntryHold> open(int dirFd, const char* name)
    {
        static const rlim_t limit = [] {
            struct rlimit rl {};
            return ::getrlimit(RLIMIT_NOFILE, &rl) == 0 ? std::min<rlim_t>(rl.rlim_cur / 4, 16384) : 0;
        }();
        if (rlim_t(s_count.load()) >= limit)
            return nullptr;
        const int fd = ::openat(dirFd, name, O_PATH | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        return std::make_shared<PosixHold>(fd);
    }
    explicit PosixHold(int fd) : m_fd(fd) { ++s_count; }
    ~PosixHold() override
    {
        ::close(m_fd);
        --s_count;
    }
    PosixHold(const PosixHold&) = delete;
    PosixHold& operator=(const PosixHold&) = delete;

private:
    static inline std::atomic<long> s_count = 0;
    int m_fd;
};

class PosixFolder final : public Folder {
public:
    explicit PosixFolder(int fd) : m_fd(fd) {}
    ~PosixFolder() override { ::close(m_fd); }
    PosixFolder(const PosixFolder&) = delete;
    PosixFolder& operator=(const PosixFolder&) = delete;

    Result<FileStat> entry(const QByteArray& name) const override
    {
        struct statx sx {};
        if (!statxAt(m_fd, name.constData(), AT_SYMLINK_NOFOLLOW, &sx))
            return Result<FileStat>::failed(errno);
        return toStat(sx);
    }
    quint64 entryHandle(const QByteArray& name) const override
    {
        struct {
            struct file_handle head;
            unsigned char bytes[MAX_HANDLE_SZ];
        } handle{};
        handle.head.handle_bytes = MAX_HANDLE_SZ;
        int mountId = 0;
        if (::name_to_handle_at(m_fd, name.constData(), &handle.head, &mountId, 0) != 0)
            return 0;
        // FNV-1a over the type and the bytes; never 0.
        quint64 h = 14695981039346656037u ^ quint32(handle.head.handle_type);
        for (unsigned i = 0; i < handle.head.handle_bytes; ++i)
            h = (h ^ handle.bytes[i]) * 1099511628211u;
        return h | 1;
    }
    std::shared_ptr<EntryHold> hold(const QByteArray& name) const override
    {
        return PosixHold::open(m_fd, name.constData());
    }
    std::optional<FileStat> self() const override
    {
        struct statx sx {};
        if (!statxAt(m_fd, "", AT_EMPTY_PATH, &sx))
            return std::nullopt;
        return toStat(sx);
    }
    bool mayLackHardLinks() const override
    {
        switch (kind().type) {
        case FuseMagic:
        case 0x4d44:     // vfat
        case 0x2011BAB0: // exFAT
        case 0x517B:     // SMB
        case 0xFF534D42: // CIFS
        case 0xFE534D42: // SMB2
            return true;
        default:
            return false;
        }
    }
    bool inodesMayChange() const override { return kind().type == FuseMagic; }
    bool holdsName(const QByteArray& name) const override
    {
        if (!kind().fatNames)
            return true;
        return std::none_of(name.begin(), name.end(), [](char c) {
            return uchar(c) < 0x20 || uchar(c) >= 0x80 || std::strchr(":?*\"<>|\\", c) != nullptr;
        });
    }
    bool renamesLetterCase() const override { return !kind().fatNames; }
    bool listNames(const std::function<bool(QByteArrayView)>& visit) const override
    {
        // m_fd is a path handle; reading needs a descriptor of its own.
        const int fd = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool listed =
            readEntries(fd, [&](const char* name, unsigned char) { return visit(QByteArrayView(name)); });
        ::close(fd);
        return listed;
    }
    Result<void> renameNoReplace(const QByteArray& from, const QByteArray& to) override
    {
        return Result<void>::fromErrno(
            errorOf(::renameat2(m_fd, from.constData(), m_fd, to.constData(), RENAME_NOREPLACE)));
    }
    Result<void> renameReplacing(const QByteArray& from, const QByteArray& to) override
    {
        return Result<void>::fromErrno(errorOf(::renameat(m_fd, from.constData(), m_fd, to.constData())));
    }
    Result<void> link(const QByteArray& from, const QByteArray& to) override
    {
        return Result<void>::fromErrno(errorOf(::linkat(m_fd, from.constData(), m_fd, to.constData(), 0)));
    }
    Result<void> unlink(const QByteArray& name) override
    {
        return Result<void>::fromErrno(errorOf(::unlinkat(m_fd, name.constData(), 0)));
    }

private:
    struct Kind {
        quint32 type = 0;      // statfs f_type
        bool fatNames = false; // FUSE vfat (fusefat): ASCII names without FAT's forbidden characters
    };
    // What file system the folder is on, looked up once.
    const Kind& kind() const
    {
        if (!m_kind) {
            Kind k;
            if (struct statfs fs{}; ::fstatfs(m_fd, &fs) == 0)
                k.type = quint32(fs.f_type);
            if (k.type == FuseMagic) {
                if (const auto st = self())
                    k.fatNames = fuseDriverOf(st->identity.device) == "fusefat";
            }
            m_kind = k;
        }
        return *m_kind;
    }

    int m_fd;
    mutable std::optional<Kind> m_kind;
};

} // namespace

Result<FileStat> PosixFileSystem::stat(const QByteArray& path) const
{
    if (path.isEmpty())
        return Result<FileStat>::failed(ENOENT);
    // The name's own entry first: one call for all but links.
    struct statx sx {};
    if (!statxAt(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW, &sx))
        return Result<FileStat>::failed(errno);
    FileStat st = toStat(sx);
    if (st.type == FileType::Link) {
        if (struct statx target{}; statxAt(AT_FDCWD, path.constData(), 0, &target)) {
            const quint64 own = st.entryStamp;
            st = toStat(target);
            st.entryStamp = own;
        }
    }
    return st;
}

bool PosixFileSystem::listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit,
                              bool withStats, std::optional<FileIdentity> expected) const
{
    const int fd = ::open(dir.isEmpty() ? "." : dir.constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC | (expected ? O_NOFOLLOW : 0));
    if (fd < 0)
        return false;
    DirEntry entry;
    if (struct statx self{}; statxAt(fd, "", AT_EMPTY_PATH, &self))
        entry.folder = toStat(self).identity;
    // FUSE numbers a folder anew once it has been forgotten: there the mount must be the same.
    if (expected && entry.folder != *expected && !(entry.folder.device == expected->device && onFuse(fd))) {
        ::close(fd);
        return false;
    }
    bool failed = false;
    const bool listed = readEntries(fd, [&](const char* name, unsigned char type) {
        struct statx sx {};
        bool isDir = type == DT_DIR;
        bool known = false; // sx holds the entry's own status
        if (type == DT_UNKNOWN || (withStats && (isDir || type == DT_LNK))) {
            if (statxAt(fd, name, AT_SYMLINK_NOFOLLOW, &sx)) {
                isDir = S_ISDIR(sx.stx_mode);
                known = true;
            } else if (errno == ENOENT) {
                return true; // removed since the folder was read: no reason to give up the folder
            } else if (type == DT_UNKNOWN) {
                failed = true;
                return false;
            }
        }
        entry.name = QByteArrayView(name);
        entry.isDir = isDir;
        entry.stat.reset();
        if (withStats) {
            if (known && S_ISLNK(sx.stx_mode)) {
                // As stat() has it: a link as what it points to, a broken link as itself.
                const quint64 own = toStat(sx).entryStamp;
                struct statx target {};
                entry.stat = toStat(statxAt(fd, name, 0, &target) ? target : sx);
                entry.stat->entryStamp = own;
            } else if (known || statxAt(fd, name, 0, &sx)) {
                entry.stat = toStat(sx);
            }
        }
        return visit(entry);
    });
    ::close(fd);
    return listed && !failed;
}

Result<std::unique_ptr<Folder>> PosixFileSystem::openFolder(const QByteArray& path) const
{
    const int fd = ::open(path.isEmpty() ? "." : path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Result<std::unique_ptr<Folder>>::failed(errno);
    return std::unique_ptr<Folder>(std::make_unique<PosixFolder>(fd));
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

Result<QByteArray> PosixFileSystem::readFile(const QByteArray& path, qint64 maxBytes) const
{
    using Read = Result<QByteArray>;
    // Non-blocking open: a named pipe would otherwise wait for a writer.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Read::failed(errno);
    const auto fail = [fd](int error) {
        ::close(fd);
        return Read::failed(error);
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(errno);
    if (!S_ISREG(st.st_mode))
        return fail(EINVAL);
    if (st.st_size > maxBytes)
        return fail(EFBIG);
    QByteArray data;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            break;
        if (data.size() + n > maxBytes)
            return fail(EFBIG); // grew while read
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

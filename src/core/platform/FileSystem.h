// SPDX-License-Identifier: GPL-3.0-or-later
// Paths are raw bytes: Linux file names need not be valid UTF-8.
#pragma once

#include "core/platform/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <memory>
#include <optional>

namespace tamsel {

enum class FileType { Regular, Directory, Link, Other };

// Which file an entry is: the same device and inode number.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct FileStat {
    FileType type = FileType::Regular;
    FileIdentity identity;
    // Which file the name's own entry is (the link itself where identity is what it points to): its
    // inode number mixed with its birth time where the file system records one, so that a file
    // made later under a freed inode number is another file.
    quint64 entryStamp = 0;
    qint64 size = 0;
    qint64 modifiedMs = 0;
    qint64 changedNs = 0;            // status change time: a rename, a write or a chmod moves it
    std::optional<qint64> createdMs; // birth time, where the file system records it
    quint32 mode = 0;                // permission bits, sticky bit included
    quint32 owner = 0;
    bool isDir() const { return type == FileType::Directory; }
};

// A name the file system can take for a file in a folder: not empty, no "/" or NUL, not "." or
// "..", at most 255 bytes.
bool isValidFileName(const QByteArray& name);

struct DirEntry {
    FileIdentity folder;          // the folder being read: which one it is
    QByteArrayView name;          // valid while the entry is being visited
    bool isDir = false;           // real directories only; links to directories count as files
    std::optional<FileStat> stat; // when asked for: a file's as FileSystem::stat gives it
};

// Keeps the kernel's hold on an entry's file while it lives: FUSE keeps the number and the handle it
// gave a file only while the kernel holds it.
class EntryHold {
public:
    virtual ~EntryHold() = default;
};

// A folder held open: operations on its entries stay in this folder, whatever happens meanwhile to
// the path that led to it (a folder replaced, a link on the way flipped). Links at an entry's name
// are never followed. Failures answer the call's errno value.
class Folder {
public:
    virtual ~Folder() = default;

    // The entry itself, or why it cannot be looked up.
    virtual Result<FileStat> entry(const QByteArray& name) const = 0;
    // Which file the entry is by the file system's own handle for it (the inode number and its
    // generation; on FUSE the node the kernel knows it by): a file made later in a freed inode has
    // another. 0 where the file system gives no handle.
    virtual quint64 entryHandle(const QByteArray& name) const = 0;
    // A hold on the entry's file (a link as itself); nothing when it cannot be opened or when the
    // program holds as many as it may.
    virtual std::shared_ptr<EntryHold> hold(const QByteArray& name) const = 0;
    // The folder's own status.
    virtual std::optional<FileStat> self() const = 0;
    // True on file systems that may have no hard links (FUSE, vfat, exFAT, SMB shares).
    virtual bool mayLackHardLinks() const = 0;
    // True where a file's inode number need not last while nothing holds it open (FUSE numbers
    // files as it looks them up).
    virtual bool inodesMayChange() const = 0;
    // False for a name the file system cannot hold, known before asking it (FUSE vfat takes only
    // ASCII names without the characters FAT forbids, and loses the file when asked for another).
    virtual bool holdsName(const QByteArray& name) const = 0;
    // False where a rename that changes only the letter case must not be asked for (FUSE vfat hangs
    // on it and leaves the FAT damaged).
    virtual bool renamesLetterCase() const = 0;
    // The names of the entries except "." and "..", until visit returns false. False when the
    // folder cannot be read.
    virtual bool listNames(const std::function<bool(QByteArrayView)>& visit) const = 0;

    // Fails with EEXIST rather than replace; EINVAL where the file system cannot promise that.
    virtual Result<void> renameNoReplace(const QByteArray& from, const QByteArray& to) = 0;
    // rename(2) as it is: replaces an existing target.
    virtual Result<void> renameReplacing(const QByteArray& from, const QByteArray& to) = 0;
    // A second name for the entry (a link is linked as itself).
    virtual Result<void> link(const QByteArray& from, const QByteArray& to) = 0;
    virtual Result<void> unlink(const QByteArray& name) = 0;
};

// Threads: listDir runs on the walk's reader thread, and openFolder with the Folder it returns
// on the conflict check's, both beside the window's thread, which uses every call. An
// implementation keeps no state that calls share (PosixFileSystem keeps none); a Folder is used
// only by the thread that opened it.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Follows a symbolic link; a broken link reports the link itself. entryStamp is the link's own.
    virtual Result<FileStat> stat(const QByteArray& path) const = 0;

    // Calls visit for every entry except "." and ".." in the order the file system returns them,
    // until visit returns false; with withStats, every entry comes with its status, looked up at the
    // folder's handle (a folder's own, never followed). An entry that vanishes while the folder is
    // read is skipped. Returns false when the folder cannot be opened or read, or when expected is
    // given and the folder opened is another one (a link, or a folder put in its place).
    virtual bool listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit,
                         bool withStats = false,
                         std::optional<FileIdentity> expected = std::nullopt) const = 0;

    // The folder at path ("" is the working folder).
    virtual Result<std::unique_ptr<Folder>> openFolder(const QByteArray& path) const = 0;

    // True for an existing non-directory (read-only and hidden files included); a symbolic link
    // is a file of its own, wherever it points.
    virtual bool fileExists(const QByteArray& path) const = 0;

    // The whole regular file; EFBIG when it is larger than maxBytes, EINVAL when it is not a
    // regular file.
    virtual Result<QByteArray> readFile(const QByteArray& path, qint64 maxBytes) const = 0;
};

class PosixFileSystem final : public FileSystem {
public:
    Result<FileStat> stat(const QByteArray& path) const override;
    bool listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit,
                 bool withStats = false, std::optional<FileIdentity> expected = std::nullopt) const override;
    Result<std::unique_ptr<Folder>> openFolder(const QByteArray& path) const override;
    bool fileExists(const QByteArray& path) const override;
    Result<QByteArray> readFile(const QByteArray& path, qint64 maxBytes) const override;
};

} // namespace tamsel

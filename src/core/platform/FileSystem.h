// SPDX-License-Identifier: GPL-3.0-or-later
// Paths are raw bytes: Linux file names need not be valid UTF-8.
#pragma once

#include <QByteArray>
#include <functional>
#include <optional>

namespace tamsel {

struct FileStat {
    qint64 size = 0;
    qint64 modifiedMs = 0;
    std::optional<qint64> createdMs; // birth time, where the file system records it
    bool isDir = false;
};

// Which file a path names, without following a final symbolic link.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// A name the file system can take for a file in a folder: not empty, no "/" or NUL, not "." or
// "..", at most 255 bytes.
bool isValidFileName(const QByteArray& name);

struct DirEntry {
    QByteArray name;
    bool isDir = false; // real directories only; links to directories count as files
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Follows a symbolic link; a broken link reports the link itself.
    virtual std::optional<FileStat> stat(const QByteArray& path) const = 0;

    // Calls visit for every entry except "." and ".." in the order the file system returns them,
    // until visit returns false. Returns false when the folder cannot be opened or read.
    virtual bool listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit) const = 0;

    virtual std::optional<FileIdentity> identity(const QByteArray& path) const = 0;

    // Renames in place and never replaces an existing target. Returns 0 or an errno value.
    virtual int rename(const QByteArray& from, const QByteArray& to) = 0;

    // True for an existing non-directory (read-only and hidden files included); a symbolic link
    // is a file of its own, wherever it points.
    virtual bool fileExists(const QByteArray& path) const = 0;

    // The whole regular file, or nothing when it cannot be read, is not a regular file or is
    // larger than maxBytes.
    virtual std::optional<QByteArray> readFile(const QByteArray& path, qint64 maxBytes) const = 0;
};

class PosixFileSystem final : public FileSystem {
public:
    std::optional<FileStat> stat(const QByteArray& path) const override;
    bool listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit) const override;
    std::optional<FileIdentity> identity(const QByteArray& path) const override;
    int rename(const QByteArray& from, const QByteArray& to) override;
    bool fileExists(const QByteArray& path) const override;
    std::optional<QByteArray> readFile(const QByteArray& path, qint64 maxBytes) const override;
};

// Renames a file without ever replacing another one. Where the target names the source itself
// (a change of letter case on a case-insensitive file system), the file goes through a unique
// temporary name in its folder. Returns 0 or an errno value.
int renameFile(FileSystem& fs, const QByteArray& from, const QByteArray& to);

} // namespace tamsel

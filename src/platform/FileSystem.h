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

    // Renames in place and never replaces an existing target. Returns 0 or an errno value.
    virtual int rename(const QByteArray& from, const QByteArray& to) = 0;

    // True for an existing non-directory (read-only and hidden files included).
    virtual bool fileExists(const QByteArray& path) const = 0;

    // The whole file, or nothing when it cannot be read or is larger than maxBytes.
    virtual std::optional<QByteArray> readFile(const QByteArray& path, qint64 maxBytes) const = 0;
};

class PosixFileSystem final : public FileSystem {
public:
    std::optional<FileStat> stat(const QByteArray& path) const override;
    bool listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit) const override;
    int rename(const QByteArray& from, const QByteArray& to) override;
    bool fileExists(const QByteArray& path) const override;
    std::optional<QByteArray> readFile(const QByteArray& path, qint64 maxBytes) const override;
};

} // namespace tamsel

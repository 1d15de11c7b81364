// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/platform/FileSystem.h"

#include <QList>
#include <QSet>

namespace tamsel::test {

// The real file system with faults to order: folders that cannot be listed, and letter case
// ignored as on vfat or exfat (a name finds a file whatever its case; a rename onto a name taken
// in any case fails). Listings and renames are recorded.
class FakeFileSystem final : public FileSystem {
public:
    QSet<QByteArray> unreadable;
    bool ignoreCase = false;
    mutable QList<QByteArray> listed;
    QList<std::pair<QByteArray, QByteArray>> renames;

    std::optional<FileStat> stat(const QByteArray& path) const override;
    bool listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit) const override;
    std::optional<FileIdentity> identity(const QByteArray& path) const override;
    int rename(const QByteArray& from, const QByteArray& to) override;
    bool fileExists(const QByteArray& path) const override;
    std::optional<QByteArray> readFile(const QByteArray& path, qint64 maxBytes) const override;

private:
    // The path as stored: with ignoreCase, the entry of its folder that matches it in any case.
    QByteArray stored(const QByteArray& path) const;

    PosixFileSystem m_real;
};

} // namespace tamsel::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/platform/FileSystem.h"

#include <QHash>
#include <QList>
#include <QSet>

namespace tamsel::test {

// The real file system with faults to order, for folders opened through it:
// - folders that cannot be listed;
// - letter case ignored, as on vfat or exFAT (a name finds an entry whatever its case; a rename
//   or link onto a name taken in any case fails with EEXIST);
// - no RENAME_NOREPLACE (EINVAL) and no hard links (EPERM), as on FUSE file systems, which may
//   also number every spelling of a name as a file of its own;
// - names that may not be removed or moved away;
// - a hook run before every change, where a test plays another program;
// - files that exist in listings only, for walks over more files than a test would make.
// Listings and changes are recorded.
class FakeFileSystem final : public FileSystem {
public:
    QSet<QByteArray> unreadable;
    bool ignoreCase = false;
    bool noReplace = true;
    bool hardLinks = true;
    bool inodePerSpelling = false;
    QSet<QByteArray> refuseUnlink; // names whose removal or rename fails with EPERM, as in a sticky folder
    bool refuseLink = false;       // link() refused with EPERM, as for protected hard links
    // An errno value to fail the removal of a name with, or 0.
    std::function<int(const QByteArray& name)> unlinkFault;
    // Called with the operation ("rename", "link", "unlink", or "list" and "open" with the folder)
    // and its first name before it runs; afterChange with the new name after a rename or a link.
    std::function<void(const char* operation, const QByteArray& name)> beforeChange;
    std::function<void(const char* operation, const QByteArray& to)> afterChange;

    // Folders (as listed, with a trailing "/") whose listing ends with this many more files, "m0",
    // "m1", …, that are nowhere on disk.
    QHash<QByteArray, int> madeUpFiles;

    mutable QList<QByteArray> listed;
    QList<std::pair<QByteArray, QByteArray>> renames; // renames and links, in order

    Result<FileStat> stat(const QByteArray& path) const override { return m_real.stat(path); }
    bool listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit,
                 bool withStats = false, std::optional<FileIdentity> expected = std::nullopt) const override;
    Result<std::unique_ptr<Folder>> openFolder(const QByteArray& path) const override;
    bool fileExists(const QByteArray& path) const override { return m_real.fileExists(path); }
    Result<QByteArray> readFile(const QByteArray& path, qint64 maxBytes) const override
    {
        return m_real.readFile(path, maxBytes);
    }

private:
    PosixFileSystem m_real;
};

} // namespace tamsel::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/platform/FileSystem.h"

#include <QList>
#include <QSet>

namespace tamsel::test {

// The real file system with faults to order, for folders opened through it:
// - folders that cannot be listed;
// - letter case ignored, as on vfat or exFAT (a name finds an entry whatever its case; a rename
//   or link onto a name taken in any case fails with EEXIST);
// - no RENAME_NOREPLACE (EINVAL) and no hard links (EPERM), as on FUSE file systems, which may
//   also number every spelling of a name as a file of its own;
// - names that may not be removed;
// - a hook run before every change, where a test plays another program.
// Listings and changes are recorded.
class FakeFileSystem final : public FileSystem {
public:
    QSet<QByteArray> unreadable;
    bool ignoreCase = false;
    bool noReplace = true;
    bool hardLinks = true;
    bool inodePerSpelling = false;
    QSet<QByteArray> refuseUnlink; // names whose removal fails with EPERM, as in a sticky folder
    bool refuseLink = false;       // link() refused with EPERM, as for protected hard links
    // Called with the operation ("rename", "link", "unlink") and its first name before it runs.
    std::function<void(const char* operation, const QByteArray& name)> beforeChange;

    mutable QList<QByteArray> listed;
    QList<std::pair<QByteArray, QByteArray>> renames; // renames and links, in order

    std::optional<FileStat> stat(const QByteArray& path) const override { return m_real.stat(path); }
    bool listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit,
                 bool withStats = false) const override;
    std::unique_ptr<Folder> openFolder(const QByteArray& path, int* error = nullptr) const override;
    bool fileExists(const QByteArray& path) const override { return m_real.fileExists(path); }
    std::optional<QByteArray> readFile(const QByteArray& path, qint64 maxBytes) const override
    {
        return m_real.readFile(path, maxBytes);
    }

private:
    PosixFileSystem m_real;
};

} // namespace tamsel::test

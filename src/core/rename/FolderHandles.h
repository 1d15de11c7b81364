// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/platform/FileSystem.h"

#include <QHash>
#include <memory>

namespace tamsel {

// The folders of a pass, each opened once under a key of the caller's. Folders are closed in bulk
// past a limit, so that work spread over many folders does not run out of descriptors; a folder
// opened again must be the one opened first (or the one expected), else ESTALE.
class FolderHandles {
public:
    explicit FolderHandles(const FileSystem& fs) : m_fs(fs) {}

    // expected: which folder it must be; without it, the first one opened decides.
    Result<Folder*> open(quint32 key, const QByteArray& path, std::optional<FileIdentity> expected);
    // The folder a key was opened as; only after open() succeeded for it.
    FileIdentity identity(quint32 key) const { return m_identities.value(key); }

private:
    static constexpr qsizetype MaxOpen = 256;
    const FileSystem& m_fs;
    QHash<quint32, std::shared_ptr<Folder>> m_open;
    QHash<quint32, FileIdentity> m_identities;
};

} // namespace tamsel

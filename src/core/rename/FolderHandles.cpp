// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/FolderHandles.h"

#include <cerrno>

namespace tamsel {

Result<Folder*> FolderHandles::open(quint32 key, const QByteArray& path, std::optional<FileIdentity> expected)
{
    if (const auto it = m_open.constFind(key); it != m_open.constEnd())
        return it->get();
    if (m_open.size() >= MaxOpen)
        m_open.clear();
    auto opened = m_fs.openFolder(path);
    if (!opened)
        return Result<Folder*>::failed(opened.error());
    std::unique_ptr<Folder> folder = std::move(*opened);
    // Only the folder that was meant: one put in its place, or a link flipped on the way, is
    // another folder, also when it is opened again after the handles were closed.
    const auto self = folder->self();
    auto seen = m_identities.constFind(key);
    if (seen == m_identities.constEnd() && expected)
        seen = m_identities.insert(key, *expected);
    // FUSE numbers a folder anew once it has been forgotten: there the mount must be the same.
    const auto changed = [&] {
        return *seen != self->identity &&
               !(folder->inodesMayChange() && seen->device == self->identity.device);
    };
    if (!self || (seen != m_identities.constEnd() && changed()))
        return Result<Folder*>::failed(ESTALE);
    if (seen == m_identities.constEnd())
        m_identities.insert(key, self->identity);
    return m_open.insert(key, std::shared_ptr<Folder>(std::move(folder)))->get();
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeFileSystem.h"

#include <cerrno>

namespace tamsel::test {

QByteArray FakeFileSystem::stored(const QByteArray& path) const
{
    if (!ignoreCase || m_real.identity(path))
        return path;
    const qsizetype slash = path.lastIndexOf('/') + 1;
    const QString folded = QString::fromUtf8(path.mid(slash)).toCaseFolded();
    QByteArray found = path;
    m_real.listDir(path.left(slash), [&](const DirEntry& e) {
        if (QString::fromUtf8(e.name).toCaseFolded() != folded)
            return true;
        found = path.left(slash) + e.name;
        return false;
    });
    return found;
}

std::optional<FileStat> FakeFileSystem::stat(const QByteArray& path) const
{
    return m_real.stat(stored(path));
}

bool FakeFileSystem::listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit) const
{
    listed << dir;
    return !unreadable.contains(dir) && m_real.listDir(dir, visit);
}

std::optional<FileIdentity> FakeFileSystem::identity(const QByteArray& path) const
{
    return m_real.identity(stored(path));
}

int FakeFileSystem::rename(const QByteArray& from, const QByteArray& to)
{
    renames << std::pair(from, to);
    if (stored(to) != to)
        return EEXIST;
    return m_real.rename(stored(from), to);
}

bool FakeFileSystem::fileExists(const QByteArray& path) const
{
    return m_real.fileExists(stored(path));
}

std::optional<QByteArray> FakeFileSystem::readFile(const QByteArray& path, qint64 maxBytes) const
{
    return m_real.readFile(stored(path), maxBytes);
}

} // namespace tamsel::test

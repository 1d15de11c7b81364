// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeFileSystem.h"

#include <QString>
#include <cerrno>

namespace tamsel::test {
namespace {

class FakeFolder final : public Folder {
public:
    FakeFolder(std::unique_ptr<Folder> real, FakeFileSystem& fs) : m_real(std::move(real)), m_fs(fs) {}

    Result<FileStat> entry(const QByteArray& name) const override
    {
        auto st = m_real->entry(stored(name));
        if (st && m_fs.inodePerSpelling)
            st->identity.inode = st->entryStamp = qHash(name);
        return st;
    }
    quint64 entryHandle(const QByteArray& name) const override
    {
        return m_fs.inodePerSpelling ? 0 : m_real->entryHandle(stored(name));
    }
    std::shared_ptr<EntryHold> hold(const QByteArray& name) const override
    {
        return m_real->hold(stored(name));
    }
    std::optional<FileStat> self() const override { return m_real->self(); }
    bool mayLackHardLinks() const override { return !m_fs.hardLinks; }
    bool inodesMayChange() const override { return m_fs.inodePerSpelling; }
    bool holdsName(const QByteArray& name) const override { return m_real->holdsName(name); }
    bool renamesLetterCase() const override { return m_real->renamesLetterCase(); }
    bool listNames(const std::function<bool(QByteArrayView)>& visit) const override
    {
        return m_real->listNames(visit);
    }
    Result<void> renameNoReplace(const QByteArray& from, const QByteArray& to) override
    {
        change("rename", from, to);
        if (!m_fs.noReplace)
            return Result<void>::fromErrno(EINVAL);
        if (m_fs.refuseUnlink.contains(from))
            return Result<void>::fromErrno(EPERM);
        if (stored(to) != to)
            return Result<void>::fromErrno(EEXIST);
        return changed("rename", to, m_real->renameNoReplace(stored(from), to));
    }
    Result<void> renameReplacing(const QByteArray& from, const QByteArray& to) override
    {
        change("rename", from, to);
        if (m_fs.refuseUnlink.contains(from))
            return Result<void>::fromErrno(EPERM);
        return changed("rename", to, m_real->renameReplacing(stored(from), stored(to)));
    }
    Result<void> link(const QByteArray& from, const QByteArray& to) override
    {
        change("link", from, to);
        if (!m_fs.hardLinks || m_fs.refuseLink)
            return Result<void>::fromErrno(EPERM);
        if (stored(to) != to)
            return Result<void>::fromErrno(EEXIST);
        return changed("link", to, m_real->link(stored(from), to));
    }
    Result<void> unlink(const QByteArray& name) override
    {
        change("unlink", name, {});
        if (m_fs.refuseUnlink.contains(name))
            return Result<void>::fromErrno(EPERM);
        if (const int fault = m_fs.unlinkFault ? m_fs.unlinkFault(name) : 0; fault != 0)
            return Result<void>::fromErrno(fault);
        return m_real->unlink(stored(name));
    }

private:
    void change(const char* operation, const QByteArray& name, const QByteArray& to)
    {
        if (m_fs.beforeChange)
            m_fs.beforeChange(operation, name);
        if (!to.isEmpty())
            m_fs.renames << std::pair(name, to);
    }

    Result<void> changed(const char* operation, const QByteArray& to, Result<void> result)
    {
        if (result && m_fs.afterChange)
            m_fs.afterChange(operation, to);
        return result;
    }

    // The name as stored: with letter case ignored, the entry that matches it in any case.
    QByteArray stored(const QByteArray& name) const
    {
        if (!m_fs.ignoreCase || m_real->entry(name))
            return name;
        const QString folded = QString::fromUtf8(name).toCaseFolded();
        QByteArray found = name;
        m_real->listNames([&](QByteArrayView entry) {
            if (QString::fromUtf8(entry).toCaseFolded() != folded)
                return true;
            found = entry.toByteArray();
            return false;
        });
        return found;
    }

    std::unique_ptr<Folder> m_real;
    FakeFileSystem& m_fs;
};

} // namespace

bool FakeFileSystem::listDir(const QByteArray& dir, const std::function<bool(const DirEntry&)>& visit,
                             bool withStats, std::optional<FileIdentity> expected) const
{
    listed << dir;
    if (beforeChange)
        beforeChange("list", dir);
    if (unreadable.contains(dir))
        return false;
    bool goOn = true;
    if (!m_real.listDir(
            dir, [&](const DirEntry& e) { return goOn = visit(e); }, withStats, expected))
        return false;
    const int madeUp = madeUpFiles.value(dir);
    const auto folder = madeUp > 0 ? m_real.stat(dir) : Result<FileStat>::failed(ENOENT);
    for (int i = 0; goOn && folder && i < madeUp; ++i) {
        const QByteArray name = "m" + QByteArray::number(i);
        FileStat stat;
        stat.identity = {folder->identity.device, ~quint64(i)};
        stat.entryStamp = stat.identity.inode;
        goOn = visit({folder->identity, name, false, withStats ? std::optional(stat) : std::nullopt});
    }
    return true;
}

Result<std::unique_ptr<Folder>> FakeFileSystem::openFolder(const QByteArray& path) const
{
    if (beforeChange)
        beforeChange("open", path);
    auto real = m_real.openFolder(path);
    if (!real)
        return real;
    return std::unique_ptr<Folder>(
        std::make_unique<FakeFolder>(std::move(*real), const_cast<FakeFileSystem&>(*this)));
}

} // namespace tamsel::test

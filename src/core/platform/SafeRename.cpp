// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SafeRename.h"

#include "core/platform/FileSystem.h"
#include "core/text/NameCodec.h"

#include <QList>
#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace tamsel {
namespace {

// How a file system lets a file take a new name without replacing another.
enum class Strategy { NoReplace, LinkThenUnlink, CheckedRename };

bool noReplaceUnsupported(int err)
{
    return err == EINVAL || err == ENOSYS || err == ENOTSUP || err == EOPNOTSUPP;
}

bool linksUnsupported(int err)
{
    return err == EPERM || err == ENOSYS || err == ENOTSUP || err == EOPNOTSUPP;
}

bool renamable(const FileStat& st)
{
    return st.type == FileType::Regular || st.type == FileType::Link;
}

QString folded(QByteArrayView name)
{
    return decodeName(name).toCaseFolded();
}

// In a sticky folder (/tmp, shared folders) only the owner of the file or of the folder may take
// a name away; a second name made there could not be removed again.
bool stickyRefusesUnlink(const Folder& folder, const FileStat& file)
{
    const auto self = folder.self();
    const uid_t me = ::geteuid();
    return self && (self->mode & S_ISVTX) && me != 0 && file.owner != me && self->owner != me;
}

// Takes away a name this rename made, but only while it still names the file.
void removeOwnName(Folder& folder, const QByteArray& name, const FileStat& file, RenameResult& result)
{
    const auto now = folder.entry(name);
    if (now && now->identity == file.identity && folder.unlink(name) != 0)
        result.extraName = name;
}

int linkThenUnlink(Folder& folder, const QByteArray& from, const QByteArray& to, const FileStat& file,
                   RenameResult& result, bool* noLinks)
{
    if (stickyRefusesUnlink(folder, file))
        return EPERM;
    const int linked = folder.link(from, to);
    if (linked != 0) {
        *noLinks = linksUnsupported(linked);
        return linked;
    }
    const auto source = folder.entry(from);
    if (!source || source->identity != file.identity) {
        // Another program put something else under the old name meanwhile: leave it alone.
        removeOwnName(folder, to, file, result);
        return ESTALE;
    }
    const int unlinked = folder.unlink(from);
    if (unlinked != 0)
        removeOwnName(folder, to, file, result);
    return unlinked;
}

// True when the folder's listing holds name in any letter case. FUSE file systems may go on
// finding a name for a moment after its file has left it; the listing is never behind.
bool listsName(const Folder& folder, const QByteArray& name)
{
    const QString wanted = folded(name);
    bool found = false;
    folder.listNames([&](QByteArrayView entry) {
        found = entry == name || folded(entry) == wanted;
        return !found;
    });
    return found;
}

int checkedRename(Folder& folder, const QByteArray& from, const QByteArray& to)
{
    int err = 0;
    if (folder.entry(to, &err)) {
        if (listsName(folder, to))
            return EEXIST;
    } else if (err != ENOENT) {
        return err;
    }
    return folder.renameReplacing(from, to);
}

// Moves from to to with the first strategy, from the given one down, that the file system has;
// strategy keeps the one that worked.
int move(Folder& folder, const QByteArray& from, const QByteArray& to, const FileStat& file,
         Strategy& strategy, RenameResult& result)
{
    if (strategy == Strategy::NoReplace) {
        const int err = folder.renameNoReplace(from, to);
        if (!noReplaceUnsupported(err))
            return err;
        strategy = Strategy::LinkThenUnlink;
    }
    if (strategy == Strategy::LinkThenUnlink) {
        bool noLinks = false;
        const int err = linkThenUnlink(folder, from, to, file, result, &noLinks);
        if (!noLinks)
            return err;
        strategy = Strategy::CheckedRename;
    }
    return checkedRename(folder, from, to);
}

// True when to names the file from under another spelling, on a file system that ignores case.
bool sameFileOtherSpelling(const Folder& folder, const QByteArray& from, const QByteArray& to,
                           const FileStat& file)
{
    if (from == to || folded(from) != folded(to))
        return false;
    const auto target = folder.entry(to);
    if (!target)
        return false;
    if (target->identity == file.identity)
        return true;
    // FUSE file systems may number each spelling as a file of its own: then the listing tells,
    // with the source as the only entry that matches the new name.
    const QString wanted = folded(to);
    QList<QByteArray> matches;
    folder.listNames([&](QByteArrayView name) {
        if (folded(name) == wanted)
            matches << name.toByteArray();
        return matches.size() < 2;
    });
    return matches == QList<QByteArray>{from};
}

QByteArray temporaryName(const Folder& folder, const QByteArray& name)
{
    static unsigned serial = 0;
    for (;;) {
        QByteArray temp =
            TemporaryPrefix + QByteArray::number(::getpid()) + '-' + QByteArray::number(++serial);
        // A name that does not fit is marked with "~": it cannot be given back from the temporary name.
        const bool fits = temp.size() + 1 + name.size() <= 255;
        temp += fits ? '-' + name : '~' + name.left(255 - temp.size() - 1);
        int err = 0;
        if (!folder.entry(temp, &err) && err == ENOENT)
            return temp;
    }
}

void caseOnlyRename(Folder& folder, const QByteArray& from, const QByteArray& to, const FileStat& file,
                    RenameResult& result)
{
    Strategy strategy = Strategy::NoReplace;
    const QByteArray temp = temporaryName(folder, from);
    result.error = move(folder, from, temp, file, strategy, result);
    if (result.error != 0)
        return;
    result.error = move(folder, temp, to, file, strategy, result);
    if (result.error != 0 && move(folder, temp, from, file, strategy, result) != 0)
        result.strandedAs = temp;
}

} // namespace

RenameResult renameEntry(Folder& folder, const QByteArray& from, const QByteArray& to)
{
    RenameResult result;
    int err = 0;
    const auto file = folder.entry(from, &err);
    if (!file) {
        result.error = err;
        return result;
    }
    if (!renamable(*file)) {
        result.error = file->isDir() ? EISDIR : EPERM;
        return result;
    }
    if (from == to)
        return result;

    Strategy strategy = Strategy::NoReplace;
    err = move(folder, from, to, *file, strategy, result);
    if (err == EEXIST && sameFileOtherSpelling(folder, from, to, *file)) {
        caseOnlyRename(folder, from, to, *file, result);
        return result;
    }
    if (err == 0 && strategy != Strategy::LinkThenUnlink) {
        // A folder may have taken the file's place just before the rename: give it its name back.
        const auto moved = folder.entry(to);
        if (moved && !renamable(*moved)) {
            if (move(folder, to, from, *moved, strategy, result) != 0)
                result.strandedAs = to;
            err = ESTALE;
        }
    }
    result.error = err;
    return result;
}

int recoverTemporaryNames(Folder& folder)
{
    QList<std::pair<QByteArray, QByteArray>> leftovers;
    const QByteArray prefix(TemporaryPrefix);
    folder.listNames([&](QByteArrayView view) {
        if (!view.startsWith(prefix))
            return true;
        const QByteArray name = view.toByteArray();
        if (!name.startsWith(prefix))
            return true;
        // prefix, process id, "-", serial, "-", the file's own name
        const qsizetype dash = name.indexOf('-', prefix.size());
        const qsizetype nameStart = dash < 0 ? -1 : name.indexOf('-', dash + 1) + 1;
        if (nameStart <= 0 || nameStart >= name.size())
            return true;
        bool pidOk = false;
        bool serialOk = false;
        const pid_t pid = name.mid(prefix.size(), dash - prefix.size()).toInt(&pidOk);
        name.mid(dash + 1, nameStart - dash - 2).toUInt(&serialOk);
        const bool alive = !pidOk || pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
        if (serialOk && !alive)
            leftovers.append({name, name.mid(nameStart)});
        return true;
    });
    int recovered = 0;
    for (const auto& [temp, original] : leftovers) {
        const auto file = folder.entry(temp);
        if (file && isValidFileName(original) && renameEntry(folder, temp, original).error == 0)
            ++recovered;
    }
    return recovered;
}

} // namespace tamsel

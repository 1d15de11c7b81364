// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SafeRename.h"

#include "core/platform/FileSystem.h"
#include "core/text/NameCodec.h"

#include <QList>
#include <cerrno>
#include <csignal>
#include <optional>
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

// link() refused in a way that means the file system has no hard links at all. EPERM counts only
// where the file system may lack them: elsewhere it is a refusal (protected hard links, a file
// the user may not write), and no reason to rename in a way that could replace.
bool linksUnsupported(int err, const Folder& folder)
{
    return err == ENOSYS || err == ENOTSUP || err == EOPNOTSUPP ||
           (err == EPERM && folder.mayLackHardLinks());
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

// Takes away a name this rename made, but only while it still names what it was made for.
void removeOwnName(Folder& folder, const QByteArray& name, const FileIdentity& made, RenameResult& result)
{
    const auto now = folder.entry(name);
    if (!now || now->identity != made)
        return;
    if (folder.unlink(name) != 0)
        result.extraName = name;
}

int linkThenUnlink(Folder& folder, const QByteArray& from, const QByteArray& to, const FileStat& file,
                   RenameResult& result, bool* noLinks)
{
    if (stickyRefusesUnlink(folder, file))
        return EPERM;
    const int linked = folder.link(from, to);
    if (linked != 0) {
        *noLinks = linksUnsupported(linked, folder);
        return linked;
    }
    // What the new name links to: the file, unless another program swapped the old name meanwhile.
    const auto made = folder.entry(to);
    const FileIdentity madeFor = made ? made->identity : file.identity;
    const auto source = folder.entry(from);
    if (!made || made->identity != file.identity || !source || source->identity != file.identity) {
        removeOwnName(folder, to, madeFor, result);
        return ESTALE;
    }
    const int unlinked = folder.unlink(from);
    if (unlinked != 0)
        removeOwnName(folder, to, madeFor, result);
    return unlinked;
}

// A plain rename right after the target was seen to be free. Whatever the lookup finds counts as
// there: a name it finds that the listing does not show (an 8.3 alias, a folding of the file
// system's own) may still be another file.
int checkedRename(Folder& folder, const QByteArray& from, const QByteArray& to)
{
    int err = 0;
    if (folder.entry(to, &err))
        return EEXIST;
    if (err != ENOENT)
        return err;
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
    if (target->identity == file.identity) {
        // Unless both spellings are listed: then they are two names of one file (hard links) on a
        // file system that keeps case, and a rename between them would do nothing.
        bool fromListed = false;
        bool toListed = false;
        folder.listNames([&](QByteArrayView name) {
            fromListed = fromListed || name == from;
            toListed = toListed || name == to;
            return !(fromListed && toListed);
        });
        return !(fromListed && toListed);
    }
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

// This machine, in eight hex digits: folders shared with other machines see their temporary names too.
QByteArray hostTag()
{
    static const QByteArray tag = [] {
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        quint32 h = 2166136261u;
        for (const char* c = host; *c; ++c)
            h = (h ^ uchar(*c)) * 16777619u;
        return QByteArray::number(h, 16).rightJustified(8, '0');
    }();
    return tag;
}

// A free temporary name for name: prefix, host, process, serial, "-" and the name, or "~" and as
// much of it as fits, cut between characters. Nothing, with the errno value, when the folder cannot
// say whether a name is free.
std::optional<QByteArray> temporaryName(const Folder& folder, const QByteArray& name, int* error)
{
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        QByteArray temp = TemporaryPrefix + hostTag() + '-' + QByteArray::number(::getpid()) + '-' +
                          QByteArray::number(++serial);
        if (temp.size() + 1 + name.size() <= 255) {
            temp += '-' + name;
        } else {
            // A name that does not fit is marked with "~": it cannot be given back from this one.
            qsizetype keep = 255 - temp.size() - 1;
            while (keep > 0 && (uchar(name[keep]) & 0xC0) == 0x80)
                --keep;
            temp += '~' + name.left(keep);
        }
        const auto there = folder.entry(temp, error);
        if (!there && *error == ENOENT)
            return temp;
        if (!there)
            return std::nullopt;
    }
    *error = EEXIST;
    return std::nullopt;
}

// The new name is the file itself under another spelling. On the file systems that may have no
// hard links (FUSE vfat and exFAT number each spelling on its own, so the kernel passes the rename
// on), a plain rename may take the new spelling straight: the name can stand for no other file.
// Where it did not (the kernel saw one file and did nothing), the file goes round through a
// temporary name.
void caseOnlyRename(Folder& folder, const QByteArray& from, const QByteArray& to, const FileStat& file,
                    RenameResult& result)
{
    if (folder.mayLackHardLinks()) {
        result.error = folder.renameReplacing(from, to);
        bool spelled = false;
        folder.listNames([&](QByteArrayView name) {
            spelled = name == to;
            return !spelled;
        });
        if (result.error != 0 || spelled)
            return;
    }
    Strategy strategy = Strategy::NoReplace;
    int err = 0;
    const auto tempName = temporaryName(folder, from, &err);
    if (!tempName) {
        result.error = err;
        return;
    }
    const QByteArray temp = *tempName;
    result.error = move(folder, from, temp, file, strategy, result);
    if (result.error != 0)
        return;
    result.error = move(folder, temp, to, file, strategy, result);
    if (result.error != 0 && move(folder, temp, from, file, strategy, result) != 0)
        result.strandedAs = temp;
}

int refusal(const FileStat& st)
{
    return st.isDir() ? EISDIR : EPERM;
}

// The outcome of a move: what the new name holds once it was made. Anything but a file or a link
// (a folder that took the file's place) goes back to its own name.
void settle(Folder& folder, const QByteArray& from, const QByteArray& to, Strategy strategy, int err,
            RenameResult& result)
{
    if (err == 0) {
        result.renamed = folder.entry(to);
        if (result.renamed && !renamable(*result.renamed) && strategy != Strategy::LinkThenUnlink) {
            err = refusal(*result.renamed);
            if (move(folder, to, from, *result.renamed, strategy, result) != 0)
                result.strandedAs = to;
            result.renamed.reset();
        }
    }
    result.error = err;
}

} // namespace

RenameResult renameEntry(Folder& folder, const QByteArray& from, const QByteArray& to)
{
    RenameResult result;
    Strategy strategy = Strategy::NoReplace;
    int err = 0;
    if (from != to) {
        // Renamed first and looked at after: one look a file, and a folder or other entry that
        // stood under the name is given it back at once.
        err = folder.renameNoReplace(from, to);
        if (err == 0 || err == ENOENT) {
            settle(folder, from, to, strategy, err, result);
            return result;
        }
        if (noReplaceUnsupported(err))
            strategy = Strategy::LinkThenUnlink;
    }
    const auto file = folder.entry(from, &err);
    if (!file) {
        result.error = err;
        return result;
    }
    if (!renamable(*file)) {
        result.error = refusal(*file);
        return result;
    }
    if (from == to) {
        result.renamed = file;
        return result;
    }
    err = move(folder, from, to, *file, strategy, result);
    if (err == EEXIST && sameFileOtherSpelling(folder, from, to, *file)) {
        caseOnlyRename(folder, from, to, *file, result);
        if (result.error == 0)
            result.renamed = folder.entry(to);
        return result;
    }
    settle(folder, from, to, strategy, err, result);
    return result;
}

QByteArray temporaryPrefix()
{
    return TemporaryPrefix + hostTag() + '-';
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
        // prefix, host, "-", process id, "-", serial, "-", the file's own name
        const QList<QByteArray> parts = name.mid(prefix.size()).split('-');
        if (parts.size() < 4 || parts[0] != hostTag())
            return true; // another machine's, or not ours at all
        bool pidOk = false;
        bool serialOk = false;
        const pid_t pid = parts[1].toInt(&pidOk);
        parts[2].toUInt(&serialOk);
        const qsizetype nameStart = prefix.size() + parts[0].size() + parts[1].size() + parts[2].size() + 3;
        const bool alive = !pidOk || pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
        if (serialOk && !alive && nameStart < name.size())
            leftovers.append({name, name.mid(nameStart)});
        return true;
    });
    int recovered = 0;
    for (const auto& [temp, original] : leftovers) {
        const auto file = folder.entry(temp);
        if (!file || !isValidFileName(original))
            continue;
        // Killed between link and unlink: both names are the one file; the temporary one goes.
        const auto there = folder.entry(original);
        if (there && there->identity == file->identity && folder.unlink(temp) == 0)
            ++recovered;
        else if (!there && renameEntry(folder, temp, original).error == 0)
            ++recovered;
    }
    return recovered;
}

} // namespace tamsel

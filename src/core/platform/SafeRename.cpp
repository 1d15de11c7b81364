// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SafeRename.h"

#include "core/platform/FileSystem.h"
#include "core/text/NameCodec.h"

#include <QHash>
#include <QList>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tamsel {
namespace {

// This file's own failures beside errno values (which are positive), until they are reported.
enum Code : int {
    FileReplaced = -1,
    NameNotHeld = -2,
    IdentityUnknown = -3,
};

Failure failureOf(int code)
{
    switch (code) {
    case FileReplaced:
        return Failure::of(Failure::Kind::FileReplaced);
    case NameNotHeld:
        return Failure::of(Failure::Kind::NameNotHeld);
    case IdentityUnknown:
        return Failure::of(Failure::Kind::IdentityUnknown);
    default:
        return Failure::system(code);
    }
}

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

// True when now is the file the listing saw. Where inode numbers need not last (FUSE), a regular
// file of the same size and modification time counts as the same.
bool isListed(const Folder& folder, const FileStat& now, const ListedFile& listed)
{
    if (listed.stamp == 0 || now.entryStamp == listed.stamp)
        return true;
    return folder.inodesMayChange() && now.type == FileType::Regular && now.size == listed.size &&
           now.modifiedMs == listed.modifiedMs;
}

// Before a file known by its handle or change time is renamed: 0 when now, under name, is it,
// FileReplaced when it is another file, IdentityUnknown when that cannot be told. The inode number
// may stand for a file made later in a freed inode: the handle (its generation) tells, or else the
// change time where there is no birth time. On FUSE the handle lasts only while the kernel holds the
// file (Folder::hold), and a file of the same size and time is no proof.
int confirmListed(const Folder& folder, const QByteArray& name, const FileStat& now, const ListedFile& listed)
{
    if (!isListed(folder, now, listed))
        return FileReplaced;
    if (listed.handle == 0 && listed.changedNs == 0)
        return 0;
    const quint64 handle = listed.handle != 0 ? folder.entryHandle(name) : 0;
    if (folder.inodesMayChange())
        return handle != 0 && handle == listed.handle && now.changedNs == listed.changedNs
                   ? 0
                   : int(IdentityUnknown);
    if (handle != 0)
        return handle == listed.handle ? 0 : int(FileReplaced);
    if (!now.createdMs && now.changedNs != listed.changedNs)
        return IdentityUnknown;
    return 0;
}

bool sameEntry(const Folder& folder, const FileStat& a, const FileStat& b)
{
    return isListed(folder, a, {b.entryStamp, b.size, b.modifiedMs});
}

void keepExtraName(RenameResult& result, const QByteArray& name, int error)
{
    result.extraName = name;
    result.extraError = error;
}

// Takes away a name this rename made, but only while it still names what it was made for; the
// removal's errno value.
int removeOwnName(Folder& folder, const QByteArray& name, const FileStat& made, RenameResult& result)
{
    const auto now = folder.entry(name);
    if (!now || !sameEntry(folder, *now, made))
        return 0;
    const int removed = folder.unlink(name).error();
    if (removed != 0)
        keepExtraName(result, name, removed);
    return removed;
}

// The start time of a process in clock ticks since boot; nothing when there is no such process.
std::optional<quint64> processStart(pid_t pid)
{
    const QByteArray path = "/proc/" + QByteArray::number(pid) + "/stat";
    FILE* f = std::fopen(path.constData(), "re");
    if (!f)
        return std::nullopt;
    char buffer[1024] = {};
    const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
    std::fclose(f);
    // pid (command) state ... : the start time is the 20th field after the command's ")".
    const QByteArray line(buffer, qsizetype(n));
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    bool ok = false;
    const quint64 start = fields.value(19).toULongLong(&ok);
    return ok ? std::optional(start) : std::nullopt;
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

// This run: its machine, process id and start time, so that a later process with the same id is
// not taken for it.
QByteArray runTag()
{
    static const QByteArray tag = hostTag() + '-' + QByteArray::number(::getpid()) + '-' +
                                  QByteArray::number(processStart(::getpid()).value_or(0));
    return tag;
}

// Eight hex digits for a name, which a mark carries for the name it is giving the file.
QByteArray nameTag(QByteArrayView name)
{
    quint32 h = 2166136261u;
    for (const char c : name)
        h = (h ^ uchar(c)) * 16777619u;
    return QByteArray::number(h, 16).rightJustified(8, '0');
}

// A free temporary name for name: prefix, run, serial, "=" and the tag of target when given, "-"
// and the name, or "~" and as much of it as fits, cut between characters; the errno value when the
// folder cannot say whether a name is free.
Result<QByteArray> temporaryName(const Folder& folder, const QByteArray& name, const QByteArray& target = {})
{
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        QByteArray temp = TemporaryPrefix + runTag() + '-' + QByteArray::number(++serial);
        if (!target.isEmpty())
            temp += '=' + nameTag(target);
        if (temp.size() + 1 + name.size() <= 255) {
            temp += '-' + name;
        } else {
            qsizetype keep = 255 - temp.size() - 1;
            while (keep > 0 && (uchar(name[keep]) & 0xC0) == 0x80)
                --keep;
            temp += '~' + name.left(keep);
        }
        const auto there = folder.entry(temp);
        if (!there && there.error() == ENOENT)
            return temp;
        if (!there)
            return Result<QByteArray>::failed(there.error());
    }
    return Result<QByteArray>::failed(EEXIST);
}

// Takes the name away from the file, by moving it to a temporary name first and removing that
// only when it named the file: whatever another program put under the name meanwhile is moved,
// never removed, and goes back. When the temporary name cannot be removed, the name comes back and
// the removal's errno value is returned, for the caller to take back what it began; where it
// cannot come back either, 0, and the result names the temporary name.
int takeAwayName(Folder& folder, const QByteArray& name, const FileStat& file, RenameResult& result)
{
    const auto temp = temporaryName(folder, name);
    if (!temp)
        return temp.error();
    if (const int moved = folder.renameReplacing(name, *temp).error(); moved != 0)
        return moved;
    const auto taken = folder.entry(*temp);
    if (taken && sameEntry(folder, *taken, file)) {
        const int removed = folder.unlink(*temp).error();
        if (removed == 0)
            return 0;
        if (folder.link(*temp, name).error() != 0) {
            keepExtraName(result, *temp, removed);
            return 0;
        }
        removeOwnName(folder, *temp, file, result);
        return removed;
    }
    // Another program's entry: back under its name by a second name and the removal of this one.
    if (!taken || folder.link(*temp, name).error() != 0 || folder.unlink(*temp).error() != 0)
        result.strandedAs = *temp;
    return ESTALE;
}

// Where hard links exist but RENAME_NOREPLACE does not: a second name of this program's own (the
// mark, which tells both names), then the new name (which link() never replaces), then the old name
// is moved away and removed, each step checked to act on the file. A kill leaves the file under its
// own names and the temporary one, which recoverFile() clears up.
int linkThenUnlink(Folder& folder, const QByteArray& from, const QByteArray& to, const FileStat& file,
                   RenameResult& result, bool* noLinks)
{
    if (stickyRefusesUnlink(folder, file))
        return EPERM;
    const auto mark = temporaryName(folder, from, to);
    if (!mark)
        return mark.error();
    if (const int linked = folder.link(from, *mark).error(); linked != 0) {
        *noLinks = linksUnsupported(linked, folder);
        return linked;
    }
    // Another program's entry under the mark (put there right after the link) stays.
    const auto marked = folder.entry(*mark);
    if (!marked || !sameEntry(folder, *marked, file))
        return ESTALE;
    int err = folder.link(*mark, to).error();
    if (err == 0) {
        // Another program may have put its own file under the new name right after the link.
        const auto made = folder.entry(to);
        if (!made || !sameEntry(folder, *made, file)) {
            err = EEXIST;
        } else if (const int taken = takeAwayName(folder, from, file, result);
                   taken != 0 && taken != ESTALE) {
            if (const int back = takeAwayName(folder, to, file, result); back != 0)
                keepExtraName(result, to, back);
            err = taken;
        }
        // ESTALE: the old name had gone to another entry meanwhile, and the file keeps the new one.
    }
    removeOwnName(folder, *mark, file, result);
    return err == 0 ? result.extraError : err;
}

// A plain rename right after the target was seen to be free. Whatever the lookup finds counts as
// there: a name it finds that the listing does not show (an 8.3 alias, a folding of the file
// system's own) may still be another file.
int checkedRename(Folder& folder, const QByteArray& from, const QByteArray& to, RenameResult& result)
{
    if (const auto there = folder.entry(to); there || there.error() != ENOENT)
        return there ? EEXIST : there.error();
    const int err = folder.renameReplacing(from, to).error();
    result.unguarded = result.unguarded || err == 0;
    return err;
}

// Moves from to to with the first strategy, from the given one down, that the file system has;
// strategy keeps the one that worked.
int move(Folder& folder, const QByteArray& from, const QByteArray& to, const FileStat& file,
         Strategy& strategy, RenameResult& result)
{
    if (strategy == Strategy::NoReplace) {
        const int err = folder.renameNoReplace(from, to).error();
        if (!noReplaceUnsupported(err))
            return err;
        strategy = Strategy::LinkThenUnlink;
    }
    if (strategy == Strategy::LinkThenUnlink && !file.isDir()) {
        bool noLinks = false;
        const int err = linkThenUnlink(folder, from, to, file, result, &noLinks);
        if (!noLinks)
            return err;
        strategy = Strategy::CheckedRename;
    }
    return checkedRename(folder, from, to, result);
}

// A plain rename when no entry in the listing is to in any letter case. FUSE vfat answers a lookup
// of a file's other spelling for a while after the file moved away: there the listing tells.
int renameUnlisted(Folder& folder, const QByteArray& from, const QByteArray& to, RenameResult& result)
{
    const QString wanted = folded(to);
    bool taken = false;
    if (!folder.listNames([&](QByteArrayView name) {
            taken = folded(name) == wanted;
            return !taken;
        }))
        return EEXIST;
    const int err = taken ? EEXIST : folder.renameReplacing(from, to).error();
    result.unguarded = result.unguarded || err == 0;
    return err;
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

// The new name is the file itself under another spelling. On the file systems that may have no
// hard links (exFAT over FUSE numbers each spelling on its own, so the kernel passes the rename
// on), a plain rename may take the new spelling straight: the name can stand for no other file.
// Where it did not (the kernel saw one file and did nothing), or where the file system must not be
// asked (FUSE vfat), the file goes round through a temporary name.
void caseOnlyRename(Folder& folder, const QByteArray& from, const QByteArray& to, const FileStat& file,
                    RenameResult& result)
{
    if (folder.mayLackHardLinks() && folder.renamesLetterCase()) {
        result.error = failureOf(folder.renameReplacing(from, to).error());
        bool spelled = false;
        folder.listNames([&](QByteArrayView name) {
            spelled = name == to;
            return !spelled;
        });
        if (result.error || spelled)
            return;
    }
    Strategy strategy = Strategy::NoReplace;
    const auto tempName = temporaryName(folder, from);
    if (!tempName) {
        result.error = Failure::system(tempName.error());
        return;
    }
    const QByteArray temp = *tempName;
    result.error = failureOf(move(folder, from, temp, file, strategy, result));
    if (result.error)
        return;
    result.error = failureOf(folder.renamesLetterCase() ? move(folder, temp, to, file, strategy, result)
                                                        : renameUnlisted(folder, temp, to, result));
    if (result.error && move(folder, temp, from, file, strategy, result) != 0)
        result.strandedAs = temp;
}

int refusal(const FileStat& st)
{
    return st.isDir() ? EISDIR : EPERM;
}

// Gives what this rename moved its own name back, and nothing else: when the entry that goes back
// is not the one moved (another program put its own under the new name meanwhile), that one
// returns to the new name. strandedAs names where the moved entry is when it cannot go back.
void giveBack(Folder& folder, const QByteArray& from, const QByteArray& to, const FileStat& moved,
              Strategy strategy, RenameResult& result)
{
    if (move(folder, to, from, moved, strategy, result) != 0) {
        result.strandedAs = to;
        return;
    }
    const auto back = folder.entry(from);
    if (back && !sameEntry(folder, *back, moved)) {
        move(folder, from, to, *back, strategy, result);
        result.strandedAs = to;
    }
}

// The outcome of a move: what the new name holds once it was made. Anything but the listed file or
// a link (another file put in its place, a folder) is not renamed; it goes back to its own name
// only when this rename moved it unseen (movedUnseen), and stays where it is when the file was
// seen before the move: then another program put it there after.
void settle(Folder& folder, const QByteArray& from, const QByteArray& to, Strategy strategy, int err,
            const ListedFile& listed, bool movedUnseen, RenameResult& result)
{
    if (err == 0) {
        result.renamed = folder.entry(to);
        if (result.renamed && (!renamable(*result.renamed) || !isListed(folder, *result.renamed, listed))) {
            err = renamable(*result.renamed) ? int(FileReplaced) : refusal(*result.renamed);
            if (movedUnseen)
                giveBack(folder, from, to, *result.renamed, strategy, result);
            result.renamed.reset();
        }
    }
    result.error = failureOf(err);
}

// After a failed rename: is the file still under its old name? ENOENT with the file still there is
// the file system refusing the new name (exFAT over FUSE).
void checkSource(Folder& folder, const QByteArray& from, RenameResult& result)
{
    if (!result.error || !result.strandedAs.isEmpty())
        return;
    const auto source = folder.entry(from);
    if (source && result.error.isErrno(ENOENT))
        result.error = Failure::of(Failure::Kind::NameNotHeld);
    result.sourceLost = !source && source.error() == ENOENT && !result.error.isErrno(ENOENT);
}

RenameResult tryRename(Folder& folder, const QByteArray& from, const QByteArray& to, const ListedFile& listed)
{
    RenameResult result;
    if (from != to && !folder.holdsName(to)) {
        result.error = Failure::of(Failure::Kind::NameNotHeld);
        return result;
    }
    Strategy strategy = Strategy::NoReplace;
    int err = 0;
    const bool lookFirst = listed.handle != 0 || listed.changedNs != 0;
    if (from != to && !lookFirst) {
        // Renamed first and looked at after: one look a file, and anything but the listed file
        // that stood under the name is given it back at once.
        err = folder.renameNoReplace(from, to).error();
        if (err == 0 || err == ENOENT) {
            settle(folder, from, to, strategy, err, listed, true, result);
            return result;
        }
        if (noReplaceUnsupported(err))
            strategy = Strategy::LinkThenUnlink;
    }
    const auto file = folder.entry(from);
    if (!file) {
        result.error = Failure::system(file.error());
        return result;
    }
    if (!renamable(*file)) {
        result.error = failureOf(refusal(*file));
        return result;
    }
    if (const int confirmed = confirmListed(folder, from, *file, listed); confirmed != 0) {
        result.error = failureOf(confirmed);
        return result;
    }
    if (from == to) {
        result.renamed = file;
        return result;
    }
    err = move(folder, from, to, *file, strategy, result);
    if (err == EEXIST && sameFileOtherSpelling(folder, from, to, *file)) {
        caseOnlyRename(folder, from, to, *file, result);
        if (!result.error)
            result.renamed = folder.entry(to);
        return result;
    }
    if (strategy == Strategy::LinkThenUnlink) {
        // Checked at every step already; a folder cannot be linked.
        result.error = failureOf(err);
        if (err == 0)
            result.renamed = folder.entry(to);
    } else {
        // The move's own check: the file looked at, whose change time the move has moved.
        settle(folder, from, to, strategy, err, {file->entryStamp, file->size, file->modifiedMs}, false,
               result);
    }
    return result;
}

struct Leftover {
    QByteArray name;
    FileStat stat;
    QByteArray source;    // the name it was made from; empty when it did not fit
    QByteArray targetTag; // a mark's: the tag of the name it was giving the file
};

// The leftovers among names (of this machine's runs that have ended) that this user made and that
// are still there.
QList<Leftover> leftovers(const Folder& folder, const QList<QByteArray>& names)
{
    const qsizetype prefixSize = temporaryPrefix().size();
    QList<Leftover> out;
    for (const QByteArray& name : names) {
        const auto st = folder.entry(name);
        if (!st || st->owner != ::geteuid() || !renamable(*st))
            continue;
        // After the process id and start time: serial, "=" and a tag, then "-" and the name or "~"
        const QByteArray rest = name.mid(prefixSize).split('-').mid(2).join('-');
        const qsizetype cut = rest.indexOf('~');
        const qsizetype dash = rest.indexOf('-');
        const qsizetype end = cut >= 0 && (dash < 0 || cut < dash) ? cut : dash;
        const QByteArray head = rest.left(end);
        const qsizetype tag = head.indexOf('=');
        out.append({name, *st, end == dash && dash >= 0 ? rest.mid(dash + 1) : QByteArray(),
                    tag >= 0 ? head.mid(tag + 1) : QByteArray()});
    }
    return out;
}

// What a killed link rename began, the file having both the mark's names: the one the row does not
// list goes, the old one when the row lists neither. Where the row asks for that very rename, its
// end is left to recoverFile.
void settleTwoNames(Folder& folder, const QByteArray& from, const QByteArray& to, const Leftover& mark)
{
    if (mark.targetTag.isEmpty() || mark.source.isEmpty())
        return;
    const auto source = folder.entry(mark.source);
    if (!source || !sameEntry(folder, *source, mark.stat))
        return;
    QByteArray target;
    folder.listNames([&](QByteArrayView name) {
        if (name != mark.source && !name.startsWith(TemporaryPrefix) && nameTag(name) == mark.targetTag) {
            const QByteArray candidate = name.toByteArray();
            const auto st = folder.entry(candidate);
            if (st && sameEntry(folder, *st, mark.stat))
                target = candidate;
        }
        return target.isEmpty();
    });
    if (target.isEmpty() || (from == mark.source && to == target))
        return;
    RenameResult ignored;
    takeAwayName(folder, from == target || from != mark.source ? mark.source : target, mark.stat, ignored);
}

} // namespace

RenameResult renameEntry(Folder& folder, const QByteArray& from, const QByteArray& to,
                         const ListedFile& listed)
{
    RenameResult result = tryRename(folder, from, to, listed);
    if (!result.error)
        result.error = Failure::system(result.extraError);
    checkSource(folder, from, result);
    return result;
}

QByteArray temporaryPrefix()
{
    return TemporaryPrefix + hostTag() + '-';
}

RenameResult RecoveringRenamer::rename(quint32 folderKey, Folder& folder, const QByteArray& from,
                                       const QByteArray& to, const ListedFile& listed)
{
    auto left = m_leftovers.constFind(folderKey);
    if (left == m_leftovers.constEnd())
        left = m_leftovers.insert(folderKey, leftoverNames(folder));
    if (!left->isEmpty() && recoverFile(folder, from, to, listed, &*left) == Recovery::Finished) {
        RenameResult result;
        result.renamed = folder.entry(to);
        return result;
    }
    return renameEntry(folder, from, to, listed);
}

QList<QByteArray> leftoverNames(const Folder& folder)
{
    QList<QByteArray> names;
    const QByteArray prefix = temporaryPrefix();
    folder.listNames([&](QByteArrayView name) {
        if (name.startsWith(prefix))
            names << name.toByteArray();
        return true;
    });
    if (names.isEmpty() || !processStart(::getpid()))
        return {};
    QHash<QByteArray, bool> ended; // by run: process id and start time
    names.removeIf([&](const QByteArray& name) {
        // prefix (host included), process id, "-", start time, "-", serial …
        const QList<QByteArray> parts = name.mid(prefix.size()).split('-');
        bool pidOk = false;
        bool startOk = false;
        const pid_t pid = parts.value(0).toInt(&pidOk);
        const quint64 start = parts.value(1).toULongLong(&startOk);
        if (parts.size() < 3 || !pidOk || pid <= 0 || !startOk)
            return true;
        const QByteArray run = parts[0] + '-' + parts[1];
        auto it = ended.constFind(run);
        if (it == ended.constEnd())
            it = ended.insert(run, processStart(pid) != start); // a run still going: this one included
        return !*it;
    });
    return names;
}

Recovery recoverFile(Folder& folder, const QByteArray& from, const QByteArray& to, const ListedFile& listed,
                     const QList<QByteArray>* names)
{
    if (listed.stamp == 0)
        return Recovery::None;
    QList<Leftover> mine;
    for (const Leftover& l : leftovers(folder, names ? *names : leftoverNames(folder))) {
        if (isListed(folder, l.stat, listed))
            mine << l;
    }
    if (mine.isEmpty())
        return Recovery::None;
    for (const Leftover& l : std::as_const(mine))
        settleTwoNames(folder, from, to, l);
    const FileStat& file = mine.first().stat;
    RenameResult ignored;
    const auto atNew = folder.entry(to);
    const auto atOld = folder.entry(from);
    Recovery outcome = Recovery::None;
    if (atNew && sameEntry(folder, *atNew, file)) {
        // Killed once the new name was made: the old name, if still there, goes the safe way.
        if (from != to && atOld && sameEntry(folder, *atOld, file))
            takeAwayName(folder, from, file, ignored);
        outcome = Recovery::Finished;
    } else if (atOld && sameEntry(folder, *atOld, file)) {
        outcome = Recovery::Restored; // killed between a second name and the move
    } else if (!atOld) {
        const RenameResult back = tryRename(folder, mine.first().name, from, {});
        if (back.error)
            return Recovery::None;
        mine.removeFirst();
        outcome = Recovery::Restored;
    }
    if (outcome != Recovery::None) {
        for (const Leftover& l : std::as_const(mine))
            removeOwnName(folder, l.name, l.stat, ignored);
    }
    return outcome;
}

} // namespace tamsel

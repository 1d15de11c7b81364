// SPDX-License-Identifier: GPL-3.0-or-later
// Renaming one file in its folder without ever replacing or losing another one, or leaving
// another one moved.
#pragma once

#include "core/platform/FileSystem.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <optional>

namespace tamsel {

// What the listing saw of a file: enough to tell it from another one put under its name.
struct ListedFile {
    quint64 stamp = 0; // FileStat::entryStamp; 0 when not known: any file counts as the listed one
    qint64 size = 0;
    qint64 modifiedMs = 0;
    // Where known (what a rename pass saw right after it renamed the file): Folder::entryHandle, and
    // the status change time, compared where the file system keeps no birth time and gives no
    // handle. Either makes the file be looked at before it is renamed.
    quint64 handle = 0;
    qint64 changedNs = 0;
};

struct RenameResult {
    Failure error;
    // Set when what was moved could not be put back after a failure: the name it is left under.
    QByteArray strandedAs;
    // Set when a second name of the file could not be taken away again; error is then set too.
    QByteArray extraName;
    int extraError = 0; // why it could not
    // The entry under its new name, after a rename that worked.
    std::optional<FileStat> renamed;
    // Renamed by a plain rename right after the new name was seen to be free: the file system
    // offers no way to rename without replacing, so a file another program made in between was not
    // safe.
    bool unguarded = false;
    // The rename failed and the file is gone from its old name too (FUSE vfat deletes it first).
    bool sourceLost = false;
};

// Temporary names start with this, followed by a tag of the machine, the process id and its start
// time, a serial number, "-" and the file's own name, so that a name left behind by a killed run
// says what it was and whose it was.
inline constexpr char TemporaryPrefix[] = ".tamsel-";

// The start of this machine's temporary names: TemporaryPrefix and its tag.
QByteArray temporaryPrefix();

// Renames the entry from to the name to, both in folder, never onto an existing name, and only
// the listed file: a file or a link other than the listed one under the old name (found in the
// look after the rename) is given its own name back at once, and so is anything but a file or a
// link (a folder that took the file's place); a kill between the two leaves it under the new name.
// The rename is made:
// - where the file system has RENAME_NOREPLACE, with it;
// - where it has not but has hard links, through a second name of this program's own, each step
//   checked to act on the same file, so that the old name is only ever moved, never removed;
// - where it has neither (FUSE vfat or exFAT), by a plain rename right after the target was seen
//   to be free (the result says so).
// A change of letter case alone on a file system that ignores case goes round through a
// temporary name.
RenameResult renameEntry(Folder& folder, const QByteArray& from, const QByteArray& to,
                         const ListedFile& listed = {});

enum class Recovery {
    None,     // no leftover of a killed run of this user's is the listed file
    Restored, // the file is back under its old name: its rename can be tried again
    Finished, // the killed run had given the file its new name already; the leftovers are gone
};

// The temporary names in folder of this machine's runs that have ended: looked up once a pass,
// for recoverFile.
QList<QByteArray> leftoverNames(const Folder& folder);

// Finishes or undoes what a killed run of this program left of the listed file's rename from
// from to to: a temporary name of a run that has ended, made by this user, that names the listed
// file. A temporary name whose own name did not fit ("~") comes back too, as the listed name says
// what it was. A file a killed link rename left under both its names keeps the one the row lists.
// names: leftoverNames(folder), when looked up already.
Recovery recoverFile(Folder& folder, const QByteArray& from, const QByteArray& to, const ListedFile& listed,
                     const QList<QByteArray>* names = nullptr);

// Renames for a pass: what a killed run left of each file is finished or taken back first
// (recoverFile), with each folder's leftover names looked up once, by the pass's key for it.
class RecoveringRenamer {
public:
    RenameResult rename(quint32 folderKey, Folder& folder, const QByteArray& from, const QByteArray& to,
                        const ListedFile& listed);

private:
    QHash<quint32, QList<QByteArray>> m_leftovers;
};

} // namespace tamsel

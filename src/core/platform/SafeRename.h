// SPDX-License-Identifier: GPL-3.0-or-later
// Renaming one file in its folder without ever replacing or losing another one, or leaving
// another one moved.
#pragma once

#include "core/platform/FileSystem.h"

#include <QByteArray>
#include <optional>

namespace tamsel {

struct RenameResult {
    int error = 0; // 0 or an errno value
    // Set when the file could not be put back after a failure: the name it is left under.
    QByteArray strandedAs;
    // Set when a second name of the file could not be taken away again.
    QByteArray extraName;
    // The entry under its new name, after a rename that worked.
    std::optional<FileStat> renamed;
};

// Temporary names start with this, followed by a tag of the machine, the process id, a serial
// number, "-" and the file's own name, so that a name left behind by a killed run says what it was.
inline constexpr char TemporaryPrefix[] = ".tamsel-";

// The start of this machine's temporary names: TemporaryPrefix and its tag.
QByteArray temporaryPrefix();

// Renames the entry from to the name to, both in folder, never onto an existing name. Only a
// regular file or a symbolic link keeps the new name: anything else found under it afterwards
// (a folder that took the file's place) is given its own name back at once; a kill between the
// two leaves it under the new name. The rename is made:
// - where the file system has RENAME_NOREPLACE, with it;
// - where it has not but has hard links, by a link to the new name and the removal of the old
//   one, each checked to act on the same file;
// - where it has neither (FUSE vfat or exFAT), by a plain rename right after the target was seen
//   to be free.
// A change of letter case alone on a file system that ignores case goes round through a
// temporary name.
RenameResult renameEntry(Folder& folder, const QByteArray& from, const QByteArray& to);

// Puts back files that a killed run left under a temporary name in folder, where the process that
// named them has ended and their own name is free. Returns how many came back.
int recoverTemporaryNames(Folder& folder);

} // namespace tamsel

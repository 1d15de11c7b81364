// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/platform/FileSystem.h"

#include <QByteArray>
#include <QByteArrayView>
#include <memory>
#include <vector>

namespace tamsel {

// What one rename pass did, in pass order: for each file renamed, its folder, which file it is
// under its new name, and both names. The names of all files share one buffer.
struct RenameRecord {
    struct Folder {
        QByteArray path; // ending with "/", or empty for the working folder
        FileIdentity identity;
    };
    struct File {
        quint32 folder = 0; // into folders
        int row = -1;       // the row it had in the pass
        quint64 stamp = 0;  // FileStat::entryStamp under the new name
        qint64 size = 0;
        qint64 modifiedMs = 0;
        // Where the stamp alone may not tell the file: its change time right after the rename, and
        // Folder::entryHandle under the new name; 0 elsewhere.
        qint64 changedNs = 0;
        quint64 handle = 0;
        qsizetype nameStart = 0; // old name, then new name, in names
        int oldLength = 0;
        int newLength = 0;
    };
    std::vector<Folder> folders;
    std::vector<File> files;
    QByteArray names;
    // Where file numbers last only while held (FUSE): holds on the renamed files, for the undo.
    std::vector<std::shared_ptr<EntryHold>> held;

    bool isEmpty() const { return files.empty(); }
    QByteArrayView oldName(const File& f) const
    {
        return QByteArrayView(names).sliced(f.nameStart, f.oldLength);
    }
    QByteArrayView newName(const File& f) const
    {
        return QByteArrayView(names).sliced(f.nameStart + f.oldLength, f.newLength);
    }
    void add(quint32 folder, int row, const FileStat& renamed, quint64 handle, qint64 changedNs,
             QByteArrayView oldName, QByteArrayView newName)
    {
        files.push_back({folder, row, renamed.entryStamp, renamed.size, renamed.modifiedMs, changedNs, handle,
                         names.size(), int(oldName.size()), int(newName.size())});
        names.append(oldName).append(newName);
    }
    // Drops the files from `from` on, with their names.
    void truncate(size_t from)
    {
        if (from < files.size()) {
            names.truncate(files[from].nameStart);
            files.resize(from);
        }
    }
};

} // namespace tamsel

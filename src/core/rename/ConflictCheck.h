// SPDX-License-Identifier: GPL-3.0-or-later
// Which rows a rename pass would fail on, told before it runs.
#pragma once

#include "core/filelist/FileList.h"

#include <QHash>
#include <QString>
#include <vector>

namespace tamsel {

class FileSystem;

// Marks every row whose rename would fail, with the reason, by playing the pass in row order over
// the names of the folders involved, each read once: a row takes its new name only if nothing
// holds it at that row's turn; a row that would fail changes nothing. Rows whose preview is blank
// or their own name are never marked.
//
// The check works on a copy of the rows taken when it is made, so that it may run on a thread of
// its own while the list stays in use; its marks are set only on the list as it was copied.
class ConflictCheck {
public:
    explicit ConflictCheck(const FileList& list);

    // Reads the folders and plays the pass; on any thread.
    void run(const FileSystem& fs);
    // Sets the marks, when the list has not changed since the copy. True when it had not.
    bool apply(FileList& list);
    int count() const { return int(m_reasons.size()); }

private:
    std::vector<FileList::Row> m_rows;
    std::vector<QByteArray> m_folders; // by folder index
    quint64 m_generation;
    QHash<int, QString> m_reasons;
};

// A check run and applied at once.
int markConflicts(FileList& list, const FileSystem& fs);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Which rows a rename pass would fail on, told before it runs.
#pragma once

#include <QByteArray>
#include <memory>
#include <thread>
#include <vector>

namespace tamsel {

class FileList;
class FileSystem;

// Marks every row whose rename would fail, with the reason, by playing the pass in row order over
// the names of the folders involved, each read once: a row takes its new name only if nothing
// holds it at that row's turn; a row that would fail changes nothing. Rows whose preview is blank
// or their own name are never marked.
//
// The folders with many rows are read on a thread of their own from the moment the check is made,
// so that reading them overlaps the preview that comes before the marks.
class ConflictCheck {
public:
    ConflictCheck(const FileList& list, const FileSystem& fs);
    ~ConflictCheck();
    ConflictCheck(const ConflictCheck&) = delete;
    ConflictCheck& operator=(const ConflictCheck&) = delete;

    // Once the previews are written: marks the rows; how many were marked.
    int mark(FileList& list);

    struct Listing; // the names of one folder as read

private:
    const FileSystem& m_fs;
    std::vector<std::unique_ptr<Listing>> m_listings; // by folder index; null for small folders
    std::thread m_reader;
};

// A check started and finished at once.
int markConflicts(FileList& list, const FileSystem& fs);

} // namespace tamsel

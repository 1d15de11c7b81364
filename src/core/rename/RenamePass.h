// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/rename/RenameRecord.h"

#include <QString>
#include <functional>

namespace tamsel {

class FileList;
class FileSystem;

// True when some row has a preview that is not blank.
bool hasPreview(const FileList& list);

struct RenameOutcome {
    int failedRow = -1;  // -1 when every row was handled
    int error = 0;       // the errno value or RenameFailure of the failure
    QString note;        // where a file was left when it could not be put back, for the user
    int stoppedAt = -1;  // the first row not reached when the pass was stopped; -1 otherwise
    RenameRecord record; // the files renamed, to undo
};

// Renames row after row what the preview says, writing each row's result, and the new name on
// success. A row renamed by an earlier pass and not refreshed since starts from its new name. Ends at the
// first rename that fails: that row and the rows after it stay untouched, unless the row's file was left
// under another name, which its result then gives. Each row's folder is opened once for the pass; every
// change happens relative to it. goOn(row) is asked before each row; false stops the pass there, and the rows
// from there on show no result.
RenameOutcome renamePass(FileList& list, FileSystem& fs, const std::function<bool(int row)>& goOn = {});

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tamsel {

class FileList;
class FileSystem;

// True when some row has a preview that is not blank.
bool hasPreview(const FileList& list);

struct RenameOutcome {
    int failedRow = 0; // 0 when every row was handled
    int error = 0;     // the errno value of the failure
};

// Renames row after row what the preview says, writing each row's result, and the new name on
// success. Ends at the first rename that fails: that row and the rows after it stay untouched.
RenameOutcome renamePass(FileList& list, FileSystem& fs);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/filelist/FileList.h"
#include "core/rename/PassOutcomes.h"
#include "core/rename/RenameRecord.h"

#include <functional>
#include <vector>

namespace tamsel {

class FileSystem;
class PassControl;

// True when some row has a preview that is not blank.
bool hasPreview(const FileList& list);

struct RenameOutcome {
    RenamedRow failure;  // the row the pass ended on when a rename failed; its row -1 otherwise
    int stoppedAt = -1;  // the first row not reached when the pass was stopped; -1 otherwise
    RenameRecord record; // the files renamed, to undo
};

// Renames row after row what the preview says. A row renamed by an earlier pass and not refreshed
// since starts from its new name. Ends at the first rename that fails: that row and the rows after
// it stay untouched, unless the row's file was left under another name, which its result then
// tells. Each row's folder is opened once for the pass; every change happens relative to it.
// control.goOn(done) is asked before each row; false stops the pass there, and the rows from there
// on are NotReached. What became of the rows reaches deliver through control.post, in row order
// and in batches.
RenameOutcome renamePass(const ListCopy& list, FileSystem& fs, PassControl& control,
                         const std::function<void(const std::vector<RenamedRow>&)>& deliver);

// Shows the rows' results in the list: texts for their result cells, the new names of the rows
// renamed.
void applyRenamed(FileList& list, const std::vector<RenamedRow>& rows, const PassTexts& texts);

// The pass over the list where it is called, its results applied as they come.
RenameOutcome renamePass(FileList& list, FileSystem& fs, const PassTexts& texts,
                         const std::function<bool(int done)>& goOn = {});

} // namespace tamsel

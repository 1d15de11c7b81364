// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/rename/PassOutcomes.h"
#include "core/rename/RenameRecord.h"

#include <functional>
#include <vector>

namespace tamsel {

class FileList;
class FileSystem;
class PassControl;
struct ListCopy;

struct UndoOutcome {
    int restored = 0;
    int failed = 0;
    bool stopped = false; // the files not reached are still in the record
};

// Takes back what a rename pass did, the last file first, so that chains unwind: each file goes
// from its new name back to its old one, in the folder it was renamed in, never onto an existing
// name and only while its new name still names the renamed file. A file that cannot go back is
// left as it is and the undo goes on. What became of the files that rows still list (found by
// folder and new name, also after a refresh) reaches deliver through control.post, in batches.
// control.goOn(done) is asked before each file; false stops the undo there, and the record keeps
// the files not reached. The files tried leave the record.
UndoOutcome undoPass(const ListCopy& list, const FileSystem& fs, RenameRecord& record, PassControl& control,
                     const std::function<void(const std::vector<UndoneFile>&)>& deliver);

// Shows the files' results in the list: a restored row its old name and fresh details.
void applyUndone(FileList& list, const std::vector<UndoneFile>& files, const PassTexts& texts);

// The undo where it is called, its results applied as they come.
UndoOutcome undoPass(FileList& list, const FileSystem& fs, RenameRecord& record, const PassTexts& texts,
                     const std::function<bool(int done)>& goOn = {});

} // namespace tamsel

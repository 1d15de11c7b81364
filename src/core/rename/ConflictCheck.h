// SPDX-License-Identifier: GPL-3.0-or-later
// Which rows a rename pass would fail on, told before it runs.
#pragma once

namespace tamsel {

class FileList;
class FileSystem;

// Marks every row whose rename would fail, with the reason, by playing the pass in row order over
// the names of the folders involved, each read once: a row takes its new name only if nothing
// holds it at that row's turn; a row that would fail changes nothing. Rows whose preview is blank
// or their own name are never marked. Returns how many rows were marked.
int markConflicts(FileList& list, const FileSystem& fs);

} // namespace tamsel

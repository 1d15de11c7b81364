// SPDX-License-Identifier: GPL-3.0-or-later
// The preview pass: a rule's new name for every row, into the preview column.
#pragma once

#include "core/rename/rules/Rule.h"

#include <QString>
#include <functional>
#include <vector>

namespace tamsel {

class FileList;
class PassControl;

// What a preview starts from: the listed names, or each row's preview where it has one (the
// listed name where not), so that rules add up.
enum class PreviewFrom { ListedNames, Previews };

// Told now and then how far a pass has come: the row it is at. False stops the pass.
using RowProgress = std::function<bool(int row)>;

struct PreviewCount {
    int named = 0;       // rows with a new name for their preview
    int undecided = 0;   // rows the rule could not decide on
    int tooComplex = 0;  // rows whose matching took too much work
    int missingInfo = 0; // rows whose file lacks what the rule needs
    bool stopped = false;
};

// The previews of rows first, first + 1, …: each row's text ends at its end in text (empty for a
// row without a new name).
struct PreviewedRows {
    int first = 0;
    QString text;
    std::vector<qsizetype> ends;
};

// Names every row by the rule as planned and hands the previews to deliver through control.post, in
// batches in row order: a row without a new name gets an empty preview (from previews: keeps the one
// it had), and so do the rows after a stop (control.goOn is asked every few dozen rows). On the worker it
// reads the list itself, not a copy, so that the window writes each preview into a row whose text it alone
// holds: while the pass runs, nothing but deliver may change the list, and deliver changes only rows the pass
// has read.
PreviewCount previewPass(const FileList& list, const Rule& rule, const RulePlan& plan, PassControl& control,
                         const std::function<void(const PreviewedRows&)>& deliver,
                         PreviewFrom from = PreviewFrom::ListedNames);

// The preview a row's next preview starts from: from previews, its preview where that is a new name
// (a blank one is none, as the rename takes it); else nothing, and the row starts from its listed name.
QStringView earlierPreview(const FileList& list, int row, PreviewFrom from);
// The row as the next preview's rule reads it.
RowName startingRow(const FileList& list, int row, PreviewFrom from);

// What a rule that reads files is told of the row's file; inFolder is its place in its folder.
RowFile rowFile(const FileList& list, int row, int inFolder);

// Writes the rows' previews into the list.
void applyPreviews(FileList& list, const PreviewedRows& rows);

// The pass over the list where it is called, its previews written as they come.
PreviewCount previewPass(FileList& list, const Rule& rule, const RulePlan& plan,
                         const RowProgress& progress = {}, PreviewFrom from = PreviewFrom::ListedNames);

} // namespace tamsel

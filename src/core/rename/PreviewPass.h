// SPDX-License-Identifier: GPL-3.0-or-later
// The preview pass: every row's preview emptied, then the rule of the chosen mode run.
#pragma once

#include "core/rename/RenameRules.h"

namespace tamsel {

// The rename modes, in the order of their tabs.
enum class RenameMode { Numbering, DeleteCharacters, Insert, Replace, LetterCase, NameFile, Count };

// The inputs of every mode as the user left them; the pass reads those of its mode only.
struct PreviewInputs {
    NumberingInputs numbering;
    DeleteInputs deletion;
    InsertInputs insertion;
    ReplaceInputs replacement;
    CaseChange mainCase = CaseChange::Keep;
    CaseChange extensionCase = CaseChange::Keep;
    QString names;                          // the name list's text
    std::function<void(int)> showNameCount; // receives the number of names the list holds
};

// Empties the preview of every data row.
void clearPreviews(FileList& list);

// What the mode's rule would do with these inputs (see RulePlan); the rules that never ask always go.
RulePlan planPreview(const FileList& list, RenameMode mode, const PreviewInputs& inputs,
                     const QList<bool>& answers);
// Empties every preview, then runs the mode's rule as planned.
void previewPass(FileList& list, RenameMode mode, const PreviewInputs& inputs, const RulePlan& plan,
                 const RowProgress& progress = {});

} // namespace tamsel

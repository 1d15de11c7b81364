// SPDX-License-Identifier: GPL-3.0-or-later
// The preview pass: a rule's new name for every row, into the preview column.
#pragma once

#include "core/rename/rules/Rule.h"

#include <functional>

namespace tamsel {

class FileList;

// Told now and then how far a pass has come: the row it is at. False stops the pass.
using RowProgress = std::function<bool(int row)>;

struct PreviewCount {
    int named = 0;     // rows with a new name for their preview
    int undecided = 0; // rows the rule could not decide on
    bool stopped = false;
};

// Gives every row the rule's name for it as planned, and empties every other row's preview; rows
// after a stop are emptied too.
PreviewCount previewPass(FileList& list, const Rule& rule, const RulePlan& plan,
                         const RowProgress& progress = {});

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/rename/PreviewPass.h"

class QObject;

namespace tamsel {

class Dialogs;

// Plans the preview of mode, asking the plan's questions and showing its refusal. A name list's
// count goes to the inputs' showNameCount as soon as it is known, before a question about it.
RulePlan settlePreview(Dialogs& dialogs, QObject* owner, const FileList& list, RenameMode mode,
                       const PreviewInputs& inputs);

} // namespace tamsel

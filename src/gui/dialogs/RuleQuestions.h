// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/rename/rules/Rule.h"

#include <functional>

class QObject;

namespace tamsel {

class Dialogs;

// What a plan's refusal says, with its caption, and its question with its caption.
QString refusalText(const RulePlan& plan);
QString refusalCaption(PlanRefusal refusal);
QString questionText(const RulePlan& plan);
QString questionCaption(PlanQuestion question);

// Plans the rule for files rows, asking the plan's questions and showing its refusal. A name list's
// count goes to showNameCount as soon as it is known, before a question about it.
RulePlan settlePreview(Dialogs& dialogs, QObject* owner, const Rule& rule, int files,
                       const std::function<void(int)>& showNameCount = {});

} // namespace tamsel

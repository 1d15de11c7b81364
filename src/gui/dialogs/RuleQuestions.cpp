// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/RuleQuestions.h"

#include "gui/dialogs/Dialogs.h"

namespace tamsel {

RulePlan settlePreview(Dialogs& dialogs, QObject* owner, const FileList& list, RenameMode mode,
                       const PreviewInputs& inputs)
{
    QList<bool> answers;
    for (;;) {
        RulePlan plan = planPreview(list, mode, inputs, answers);
        if (plan.nameCount >= 0 && inputs.showNameCount && answers.isEmpty())
            inputs.showNameCount(plan.nameCount);
        if (!plan.refusal.isEmpty()) {
            dialogs.message(owner, plan.refusal, Caption::Notice);
            return plan;
        }
        if (plan.question.isEmpty())
            return plan;
        answers << dialogs.question(owner, plan.question, plan.questionCaption);
    }
}

} // namespace tamsel

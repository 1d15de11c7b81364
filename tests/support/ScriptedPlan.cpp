// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedPlan.h"

namespace tamsel::test {

RulePlan ScriptedPlan::settle(const FileList& list, RenameMode mode, const PreviewInputs& inputs)
{
    QList<bool> answers;
    for (;;) {
        RulePlan plan = planPreview(list, mode, inputs, answers);
        if (plan.nameCount >= 0 && inputs.showNameCount && answers.isEmpty())
            inputs.showNameCount(plan.nameCount);
        if (!plan.refusal.isEmpty()) {
            calls.append({QStringLiteral("message"), plan.refusal, QString()});
            return plan;
        }
        if (plan.question.isEmpty())
            return plan;
        calls.append({QStringLiteral("question"), plan.question, plan.questionCaption});
        if (m_answers.isEmpty())
            ++unanswered;
        answers << (!m_answers.isEmpty() && m_answers.takeFirst());
    }
}

bool preview(FileList& list, ScriptedPlan& script, RenameMode mode, const PreviewInputs& inputs)
{
    const RulePlan plan = script.settle(list, mode, inputs);
    previewPass(list, mode, inputs, plan);
    return plan.go;
}

bool numbering(FileList& list, ScriptedPlan& script, const NumberingInputs& inputs)
{
    PreviewInputs in;
    in.numbering = inputs;
    return preview(list, script, RenameMode::Numbering, in);
}

bool nameList(FileList& list, ScriptedPlan& script, const QString& text,
              const std::function<void(int)>& showCount)
{
    PreviewInputs in;
    in.names = text;
    in.showNameCount = showCount;
    return preview(list, script, RenameMode::NameFile, in);
}

} // namespace tamsel::test

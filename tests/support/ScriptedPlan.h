// SPDX-License-Identifier: GPL-3.0-or-later
// A rule's questions answered from a script, as the window's dialogs would answer them, for tests
// of the engine alone.
#pragma once

#include "core/rename/PreviewPass.h"

#include <QList>
#include <QString>

namespace tamsel::test {

class ScriptedPlan {
public:
    struct Call {
        QString kind; // "message" for a refusal, "question"
        QString text;
        QString caption; // a question's; a refusal's is the window's to choose
    };

    // Answers to the questions, taken in order.
    void answerYes() { m_answers.append(true); }
    void answerNo() { m_answers.append(false); }

    QList<Call> calls;
    // Questions that found no answer waiting (taken as No); a test should end with none.
    int unanswered = 0;

    // The plan of mode, its questions answered from the script.
    RulePlan settle(const FileList& list, RenameMode mode, const PreviewInputs& inputs);

private:
    QList<bool> m_answers;
};

// A preview as the window makes it: the rule's plan settled, then the pass. True when the rule
// wrote previews.
bool preview(FileList& list, ScriptedPlan& script, RenameMode mode, const PreviewInputs& inputs);
bool numbering(FileList& list, ScriptedPlan& script, const NumberingInputs& inputs);
bool nameList(FileList& list, ScriptedPlan& script, const QString& text,
              const std::function<void(int)>& showCount);

} // namespace tamsel::test

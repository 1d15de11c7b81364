// SPDX-License-Identifier: GPL-3.0-or-later
// Dialogs for tests: every call is recorded, answers come from a queue, nothing ever blocks.
#pragma once

#include "gui/dialogs/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace tamsel {
class FileList;
class Rule;
} // namespace tamsel

namespace tamsel::test {

class ScriptedDialogs final : public Dialogs {
public:
    struct Call {
        QString kind; // "message", "question", "input", "template", "openFiles", "openFile", "pickFolder"
        QString text; // text, prompt or joined filters
        QString caption;
    };

    // Answers, taken in order, each for one kind of dialog: an answer that meets another kind fails
    // the test.
    void answerYes() { m_answers.append({Kind::Question, true}); }
    void answerNo() { m_answers.append({Kind::Question, false}); }
    void answerText(const QString& text) { m_answers.append({Kind::Input, text}); }
    void answerCancel() { m_answers.append({Kind::Input, QVariant()}); } // an input box cancelled
    // A template typed into the template dialog and accepted; nothing for 取消.
    void answerTemplate(const std::optional<QString>& text)
    {
        m_answers.append({Kind::Template, text ? QVariant(*text) : QVariant()});
    }
    void answerFiles(const QStringList& paths) { m_answers.append({Kind::OpenFiles, paths}); }
    void answerFile(const QString& path) { m_answers.append({Kind::OpenFile, path}); }
    void answerFolder(const QString& path) { m_answers.append({Kind::PickFolder, path}); }

    QList<Call> calls;
    // Calls that found no answer waiting; a test should end with none.
    int unanswered = 0;

    void message(QObject*, const QString& text, const QString& caption) override;
    bool question(QObject*, const QString& text, const QString& caption) override;
    std::optional<QString> inputText(QObject*, const QString& prompt, const QString& title) override;
    // Answered like an input box (answerText, answerCancel); the items are kept in lastItems.
    std::optional<QString> inputItem(QObject*, const QString& prompt, const QString& title,
                                     const QStringList& items) override;
    QStringList lastItems;
    // Recorded as a "template" call with the line shown under the answer; an answer the dialog
    // would not accept fails the test.
    std::optional<QString> askTemplate(QObject*, const TemplateRequest& request) override;
    TemplateRequest lastTemplate;
    QStringList openFiles(QObject*, const QStringList& filters) override;
    QString openFile(QObject*, const QStringList& filters) override;
    QString pickFolder(QObject*, const QString& prompt) override;
    // Records the progress shown; the user stops the work once it has done cancelAt steps.
    std::unique_ptr<Progress> progress(QObject*, const QString& label, int total, bool cancellable) override;
    int cancelAt = -1;
    QStringList progressLabels;
    // Runs at every step of the work shown, to look at the window meanwhile.
    std::function<void()> duringProgress;

private:
    enum class Kind { Question, Input, Template, OpenFiles, OpenFile, PickFolder };
    struct Answer {
        Kind kind;
        QVariant value;
    };
    QVariant next(Kind kind);
    QList<Answer> m_answers;
};

// A preview as the window makes it: the rule's plan settled through dialogs, then the pass. True
// when the rule wrote previews.
bool preview(FileList& list, Dialogs& dialogs, const Rule& rule,
             const std::function<void(int)>& showCount = {});

} // namespace tamsel::test

// SPDX-License-Identifier: GPL-3.0-or-later
// Dialogs for tests: every call is recorded, answers come from a queue, nothing ever blocks.
#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tamsel::test {

class ScriptedDialogs final : public Dialogs {
public:
    struct Call {
        QString kind; // "message", "question", "input", "openFiles", "openFile", "pickFolder"
        QString text; // text, prompt or joined filters
        QString caption;
    };

    // Answers, taken in order: bool for questions, QString or std::nullopt-as-invalid for inputs,
    // QStringList / QString for the file dialogs and the folder picker.
    void answer(const QVariant& value) { m_answers.append(value); }

    QList<Call> calls;
    // Calls that found no answer waiting; a test should end with none.
    int unanswered = 0;

    void message(QWidget*, const QString& text, const QString& caption) override;
    bool question(QWidget*, const QString& text, const QString& caption) override;
    std::optional<QString> inputText(QWidget*, const QString& prompt, const QString& title) override;
    QStringList openFiles(QWidget*, const QStringList& filters) override;
    QString openFile(QWidget*, const QStringList& filters) override;
    QString pickFolder(QWidget*, const QString& prompt) override;

private:
    QVariant next();
    QList<QVariant> m_answers;
};

} // namespace tamsel::test

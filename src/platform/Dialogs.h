// SPDX-License-Identifier: GPL-3.0-or-later
// Every message box, question, input box and file dialog goes through this interface, so that
// tests can answer them and read back their texts.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace tamsel {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message with an OK button; an empty caption means the application's title.
    virtual void message(QWidget* parent, const QString& text, const QString& caption) = 0;
    // A Yes/No question; true for Yes.
    virtual bool question(QWidget* parent, const QString& text, const QString& caption) = 0;
    // An input box; nothing when cancelled.
    virtual std::optional<QString> inputText(QWidget* parent, const QString& prompt,
                                             const QString& title) = 0;
    // A file-open dialog; filters are in Qt's form ("描述 (*.txt)"). Empty when cancelled.
    virtual QStringList openFiles(QWidget* parent, const QStringList& filters) = 0;
    virtual QString openFile(QWidget* parent, const QStringList& filters) = 0;
    // A folder picker; empty when cancelled.
    virtual QString pickFolder(QWidget* parent, const QString& prompt) = 0;
};

// The real dialogs: QMessageBox without icons, QInputDialog, QFileDialog.
class QtDialogs final : public Dialogs {
public:
    void message(QWidget* parent, const QString& text, const QString& caption) override;
    bool question(QWidget* parent, const QString& text, const QString& caption) override;
    std::optional<QString> inputText(QWidget* parent, const QString& prompt, const QString& title) override;
    QStringList openFiles(QWidget* parent, const QStringList& filters) override;
    QString openFile(QWidget* parent, const QStringList& filters) override;
    QString pickFolder(QWidget* parent, const QString& prompt) override;
};

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/dialogs/Dialogs.h"

namespace tamsel {

// The real dialogs: QMessageBox without icons, QInputDialog, QFileDialog.
class QtDialogs final : public Dialogs {
public:
    void message(QObject* owner, const QString& text, const QString& caption) override;
    bool question(QObject* owner, const QString& text, const QString& caption) override;
    std::optional<QString> inputText(QObject* owner, const QString& prompt, const QString& title) override;
    std::optional<QString> inputItem(QObject* owner, const QString& prompt, const QString& title,
                                     const QStringList& items) override;
    QStringList openFiles(QObject* owner, const QStringList& filters) override;
    QString openFile(QObject* owner, const QStringList& filters) override;
    QString pickFolder(QObject* owner, const QString& prompt) override;
    std::unique_ptr<Progress> progress(QObject* owner, const QString& label, int total,
                                       bool cancellable) override;

private:
    // A text box, or a list of items where there are any.
    static std::optional<QString> input(QObject* owner, const QString& prompt, const QString& title,
                                        const QStringList& items);
};

} // namespace tamsel

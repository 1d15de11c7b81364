// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/dialogs/Dialogs.h"

#include <QFileDialog>
#include <QFileIconProvider>

namespace tamsel {

// Icons and types of a file dialog's entries from their names alone: sniffing contents reads every
// file shown on the window's thread, and a file that blocks when read (in /proc, on a dead
// share) would freeze the window.
class NameOnlyIconProvider final : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
    using QFileIconProvider::icon;
};

// The real dialogs: QMessageBox without icons, QInputDialog, QFileDialog. The file dialogs keep
// no state beyond the run: they start in the folder last chosen in it, else the home folder, and
// never read or write Qt's own file-dialog settings.
class QtDialogs final : public Dialogs {
public:
    QtDialogs();
    void message(QObject* owner, const QString& text, const QString& caption) override;
    bool question(QObject* owner, const QString& text, const QString& caption) override;
    std::optional<QString> inputText(QObject* owner, const QString& prompt, const QString& title) override;
    std::optional<QString> inputItem(QObject* owner, const QString& prompt, const QString& title,
                                     const QStringList& items) override;
    std::optional<QString> askTemplate(QObject* owner, const TemplateRequest& request) override;
    QStringList openFiles(QObject* owner, const QStringList& filters) override;
    QString openFile(QObject* owner, const QStringList& filters) override;
    QString pickFolder(QObject* owner, const QString& prompt) override;
    std::unique_ptr<Progress> progress(QObject* owner, const QString& label, int total,
                                       bool cancellable) override;

private:
    QStringList runFileDialog(QObject* owner, const QString& caption, const QStringList& filters,
                              QFileDialog::FileMode mode);
    QString startFolder() const;

    NameOnlyIconProvider m_icons;
    QString m_lastFolder;
    // A text box, or a list of items where there are any.
    static std::optional<QString> input(QObject* owner, const QString& prompt, const QString& title,
                                        const QStringList& items);
};

} // namespace tamsel

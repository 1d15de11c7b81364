// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tamsel {
namespace {

QString captionOr(const QString& caption)
{
    return caption.isEmpty() ? QApplication::applicationName() : caption;
}

} // namespace

void QtDialogs::message(QWidget* parent, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, captionOr(caption), text, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtDialogs::question(QWidget* parent, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, captionOr(caption), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> QtDialogs::inputText(QWidget* parent, const QString& prompt, const QString& title)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QStringList QtDialogs::openFiles(QWidget* parent, const QStringList& filters)
{
    return QFileDialog::getOpenFileNames(parent, QStringLiteral("打开"), QString(), filters.join(QStringLiteral(";;")),
                                         nullptr, QFileDialog::HideNameFilterDetails);
}

QString QtDialogs::openFile(QWidget* parent, const QStringList& filters)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("打开"), QString(), filters.join(QStringLiteral(";;")),
                                        nullptr, QFileDialog::HideNameFilterDetails);
}

QString QtDialogs::pickFolder(QWidget* parent, const QString& prompt)
{
    return QFileDialog::getExistingDirectory(parent, prompt, QString(), QFileDialog::ShowDirsOnly);
}

} // namespace tamsel

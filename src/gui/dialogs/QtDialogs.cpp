// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace tamsel {
namespace {

QWidget* window(QObject* owner)
{
    return qobject_cast<QWidget*>(owner);
}

QString captionOr(const QString& caption)
{
    return caption.isEmpty() ? QApplication::applicationName() : caption;
}

} // namespace

void QtDialogs::message(QObject* owner, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, captionOr(caption), text, QMessageBox::NoButton, window(owner));
    box.setTextFormat(Qt::PlainText);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtDialogs::question(QObject* owner, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, captionOr(caption), text, QMessageBox::NoButton, window(owner));
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> QtDialogs::inputText(QObject* owner, const QString& prompt, const QString& title)
{
    QInputDialog dialog(window(owner));
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    // Texts are shown as they stand: a "<" in a name or search text is no markup.
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QStringList QtDialogs::openFiles(QObject* owner, const QStringList& filters)
{
    return QFileDialog::getOpenFileNames(window(owner), QStringLiteral("打开"), QString(),
                                         filters.join(QStringLiteral(";;")), nullptr,
                                         QFileDialog::HideNameFilterDetails);
}

QString QtDialogs::openFile(QObject* owner, const QStringList& filters)
{
    return QFileDialog::getOpenFileName(window(owner), QStringLiteral("打开"), QString(),
                                        filters.join(QStringLiteral(";;")), nullptr,
                                        QFileDialog::HideNameFilterDetails);
}

QString QtDialogs::pickFolder(QObject* owner, const QString& prompt)
{
    return QFileDialog::getExistingDirectory(window(owner), prompt, QString(), QFileDialog::ShowDirsOnly);
}

} // namespace tamsel

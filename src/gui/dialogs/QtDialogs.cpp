// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/QtDialogs.h"

#include "gui/dialogs/TemplateDialog.h"
#include "gui/style/Geometry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <algorithm>
#include <limits>

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

// QProgressDialog, modal to its window. The work runs on the window's thread and reports here as
// often as it likes; every few tens of milliseconds this lets the window's events through, so the
// window repaints, a later start is answered and 取消 can be clicked. Until the dialog shows, the
// user's input waits: a click or a key meant for the window must not act on a list being worked
// on. It shows itself only from update(), never on a timer of its own: while the work waits on a
// question, the question stays in front.
// A progress dialog that only its 取消 closes: without one, Escape and the close button do nothing,
// for the pass goes on whatever the user does.
class ProgressDialog final : public QProgressDialog {
public:
    ProgressDialog(const QString& label, bool cancellable, int total, QWidget* window)
        : QProgressDialog(label, cancellable ? QStringLiteral("取消") : QString(), 0, std::max(total, 1),
                          window),
          m_cancellable(cancellable)
    {
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (m_cancellable || event->key() != Qt::Key_Escape)
            QProgressDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (m_cancellable)
            QProgressDialog::closeEvent(event);
        else
            event->ignore();
    }

private:
    bool m_cancellable;
};

class QtProgress final : public Progress {
public:
    QtProgress(QWidget* window, const QString& label, int total, bool cancellable)
        : m_dialog(label, cancellable, total, window), m_label(label), m_total(total)
    {
        m_dialog.setWindowTitle(QApplication::applicationName());
        m_dialog.setWindowModality(Qt::WindowModal);
        // Shown by update() alone; QProgressDialog's own timer would show it over a question.
        m_dialog.setMinimumDuration(std::numeric_limits<int>::max());
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.reset();                   // stops the timer that would show the dialog on its own
        m_dialog.setMinimumWidth(tw(5400)); // room for its title and the counts

        for (QLabel* l : m_dialog.findChildren<QLabel*>())
            l->setTextFormat(Qt::PlainText);
        m_clock.start();
        m_started.start();
    }
    bool update(int done) override
    {
        if (m_clock.elapsed() < EventsEveryMs)
            return !m_dialog.wasCanceled();
        m_clock.restart();
        // Once shown it stays; hidden from outside (the program is ending), it stays hidden.
        if (!m_shown && m_started.elapsed() >= ShowAfterMs) {
            m_dialog.show();
            m_shown = true;
        }
        if (m_dialog.isVisible()) {
            m_dialog.setLabelText(m_label + QStringLiteral("（") + QString::number(done) + u'/' +
                                  QString::number(m_total) + QStringLiteral("）"));
            m_dialog.setValue(std::clamp(done, 0, m_dialog.maximum()));
        }
        return !m_dialog.wasCanceled();
    }

private:
    static constexpr qint64 ShowAfterMs = 500;
    static constexpr qint64 EventsEveryMs = 40;
    ProgressDialog m_dialog;
    bool m_shown = false;
    QString m_label;
    int m_total;
    QElapsedTimer m_clock;
    QElapsedTimer m_started;
};

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
    return input(owner, prompt, title, {});
}

std::optional<QString> QtDialogs::inputItem(QObject* owner, const QString& prompt, const QString& title,
                                            const QStringList& items)
{
    return input(owner, prompt, title, items);
}

std::optional<QString> QtDialogs::input(QObject* owner, const QString& prompt, const QString& title,
                                        const QStringList& items)
{
    QInputDialog dialog(window(owner));
    if (!items.isEmpty()) {
        dialog.setComboBoxItems(items);
        dialog.setComboBoxEditable(false);
    }
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

std::optional<QString> QtDialogs::askTemplate(QObject* owner, const TemplateRequest& request)
{
    TemplateDialog dialog(request, window(owner));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.text();
}

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const
{
    return QFileIconProvider::icon(info.isDir() ? Folder : File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const
{
    if (info.isDir())
        return QStringLiteral("文件夹");
    if (!info.isFile())
        return QFileIconProvider::type(info);
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

QtDialogs::QtDialogs()
{
    // The program keeps no settings: Qt's own (the file dialog's last folder and history, in
    // QtProject.conf) go to a path that is never a folder, so they are neither read nor written.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
}

QStringList QtDialogs::openFiles(QObject* owner, const QStringList& filters)
{
    return runFileDialog(owner, QStringLiteral("打开"), filters, QFileDialog::ExistingFiles);
}

QString QtDialogs::openFile(QObject* owner, const QStringList& filters)
{
    return runFileDialog(owner, QStringLiteral("打开"), filters, QFileDialog::ExistingFile).value(0);
}

QStringList QtDialogs::runFileDialog(QObject* owner, const QString& caption, const QStringList& filters,
                                     QFileDialog::FileMode mode)
{
    QFileDialog dialog(window(owner), caption, startFolder(), filters.join(QStringLiteral(";;")));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (mode == QFileDialog::Directory)
        dialog.setOption(QFileDialog::ShowDirsOnly); // before the mode: the type box goes off with it
    dialog.setFileMode(mode);
    dialog.setIconProvider(&m_icons);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (!chosen.isEmpty())
        m_lastFolder =
            mode == QFileDialog::Directory ? chosen.first() : QFileInfo(chosen.first()).absolutePath();
    return chosen;
}

QString QtDialogs::startFolder() const
{
    if (!m_lastFolder.isEmpty() && QFileInfo(m_lastFolder).isDir())
        return m_lastFolder;
    return QDir::homePath();
}

std::unique_ptr<Progress> QtDialogs::progress(QObject* owner, const QString& label, int total,
                                              bool cancellable)
{
    return std::make_unique<QtProgress>(window(owner), label, total, cancellable);
}

QString QtDialogs::pickFolder(QObject* owner, const QString& prompt)
{
    return runFileDialog(owner, prompt, {}, QFileDialog::Directory).value(0);
}

} // namespace tamsel

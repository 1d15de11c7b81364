// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/TemplateDialog.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tamsel {

TemplateDialog::TemplateDialog(const TemplateRequest& request, QWidget* parent)
    : QDialog(parent), m_request(request)
{
    setObjectName(QStringLiteral("Form_InfoTemplate"));
    setWindowTitle(request.title);
    auto* layout = new QVBoxLayout(this);
    auto* templateLabel = new QLabel(QStringLiteral("模板(&T)："), this);
    m_template = new QLineEdit(request.initial, this);
    m_template->setObjectName(QStringLiteral("Text_InfoTemplate"));
    templateLabel->setBuddy(m_template);
    m_example = new QLabel(this);
    m_example->setObjectName(QStringLiteral("Label_InfoExample"));
    m_example->setTextFormat(Qt::PlainText);
    m_example->setWordWrap(true);
    auto* fieldsLabel = new QLabel(QStringLiteral("字段（双击或回车插入）(&F)："), this);
    m_fields = new QListWidget(this);
    m_fields->setObjectName(QStringLiteral("List_InfoTokens"));
    fieldsLabel->setBuddy(m_fields);
    for (qsizetype i = 0; i < request.fields.size(); ++i) {
        const QString note = i < request.notes.size() ? request.notes[i] : QString();
        m_fields->addItem(request.fields[i] + QStringLiteral("　") + note);
    }
    m_fields->setCurrentRow(0);
    m_fields->installEventFilter(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    layout->addWidget(templateLabel);
    layout->addWidget(m_template);
    layout->addWidget(m_example);
    layout->addWidget(fieldsLabel);
    layout->addWidget(m_fields, 1);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_fields, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { insertField(m_fields->row(item)); });
    connect(m_template, &QLineEdit::textChanged, this, &TemplateDialog::check);
    check();
    resize(sizeHint().expandedTo(QSize(480, 420)));
}

QString TemplateDialog::text() const
{
    return m_template->text();
}

bool TemplateDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the list inserts its field rather than closing the dialog.
    if (watched == m_fields && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            insertField(m_fields->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TemplateDialog::insertField(int row)
{
    if (row < 0 || row >= m_request.fields.size())
        return;
    m_template->insert(m_request.fields[row]);
    m_template->setFocus();
}

void TemplateDialog::check()
{
    const TemplateCheck result =
        m_request.check ? m_request.check(m_template->text()) : TemplateCheck{true, {}};
    m_example->setText(result.line);
    // Heard with the box: the example, or why 确定 cannot be pressed.
    m_template->setAccessibleDescription(result.line);
    m_ok->setEnabled(result.ok);
}

} // namespace tamsel

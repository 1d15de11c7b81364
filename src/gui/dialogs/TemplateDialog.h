// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/dialogs/Dialogs.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tamsel {

// The template box (Text_InfoTemplate), the fields to insert (List_InfoTokens: double-click or
// Enter puts one at the cursor) and the line under them (Label_InfoExample): the example, or what
// is wrong, when 确定 is disabled.
class TemplateDialog final : public QDialog {
    Q_OBJECT
public:
    TemplateDialog(const TemplateRequest& request, QWidget* parent = nullptr);
    QString text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void insertField(int row);
    void check();

    const TemplateRequest& m_request;
    QLineEdit* m_template = nullptr;
    QListWidget* m_fields = nullptr;
    QLabel* m_example = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;

namespace tamsel {

// The strip with the home-page link: blue underlined text that goes red and shifts a little while
// pressed; a click runs the home-page command.
class LinkStrip : public QWidget {
    Q_OBJECT
public:
    LinkStrip(const QString& text, QWidget* parent);
    QLabel* label() const { return m_label; }

    void press();
    void release();

Q_SIGNALS:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setTextColour(quint32 colour);

    QLabel* m_label;
    QWidget* m_line;
    QPoint m_rest;
    bool m_pressed = false;
};

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace tamsel {

// A captioned frame: an etched border with the caption over its top edge, children placed
// relative to the frame's top left corner.
class Frame : public QWidget {
    Q_OBJECT
public:
    Frame(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
};

} // namespace tamsel

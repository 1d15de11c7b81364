// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chrome/Frame.h"

#include "gui/accessibility/Accessibility.h"

#include <QPainter>

namespace tamsel {

Frame::Frame(const QString& caption, QWidget* parent) : QWidget(parent), m_caption(caption)
{
    setAccessibleName(caption);
    refreshAccessible(this);
}

void Frame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QFontMetrics fm(font());
    const int top = fm.height() / 2;
    const QRect box = rect().adjusted(0, top, -1, -1);
    // Etched: a dark line with a light one beside it.
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(box.adjusted(1, 1, 0, 0));
    if (m_caption.isEmpty())
        return;
    const QRect text(8, 0, fm.horizontalAdvance(m_caption) + 2, fm.height());
    p.fillRect(text, palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, m_caption);
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chrome/LinkStrip.h"

#include "gui/accessibility/Accessibility.h"
#include "gui/style/Geometry.h"

#include <QLabel>
#include <QMouseEvent>

namespace tamsel {
namespace {

constexpr quint32 LinkRed = 0x0000FF;
constexpr int PressShift = 20; // twips

} // namespace

LinkStrip::LinkStrip(const QString& text, QWidget* parent)
    : QWidget(parent), m_label(new QLabel(text, this)), m_line(new QWidget(this))
{
    setObjectName(QStringLiteral("Picture_KervoLink"));
    m_label->setObjectName(QStringLiteral("Label_KervoLink"));
    m_line->setObjectName(QStringLiteral("Line_KervoLink"));
    place(m_label, 120, 120, 4500, 180);
    m_label->resize(m_label->width(), std::max(m_label->height(), m_label->sizeHint().height()));
    m_rest = m_label->pos();
    place(m_line, 0, 360, 4680, 15);
    m_line->setFixedHeight(1);
    m_line->setAutoFillBackground(true);
    m_label->setCursor(Qt::PointingHandCursor);
    setCursor(Qt::PointingHandCursor);
    m_label->installEventFilter(this);
    installEventFilter(this);
    setAccessibleName(text);
    setTextColour(LinkBlue);
    QPalette p = m_line->palette();
    p.setColor(QPalette::Window, bgr(LinkBlue));
    m_line->setPalette(p);
    refreshAccessible(this);
}

void LinkStrip::setTextColour(quint32 colour)
{
    QPalette p = m_label->palette();
    p.setColor(QPalette::WindowText, bgr(colour));
    m_label->setPalette(p);
}

void LinkStrip::press()
{
    m_pressed = true;
    m_label->move(m_rest + QPoint(tw(PressShift), tw(PressShift)));
    setTextColour(LinkRed);
}

void LinkStrip::release()
{
    if (!m_pressed)
        return;
    m_pressed = false;
    m_label->move(m_rest);
    setTextColour(LinkBlue);
}

bool LinkStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_label && watched != this)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::MouseButtonPress) {
        press();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // The label has moved while pressed: judge the release against where it was pressed.
        const QPoint at = mouse->position().toPoint();
        const bool inside =
            widget == m_label ? QRect(QPoint(0, 0), m_label->size()).contains(at) : rect().contains(at);
        release();
        if (mouse->button() == Qt::LeftButton && inside)
            Q_EMIT clicked();
        return true;
    }
    return false;
}

} // namespace tamsel

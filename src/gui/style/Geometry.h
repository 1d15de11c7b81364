// SPDX-License-Identifier: GPL-3.0-or-later
// Layout units: positions are given in twips, 15 to a pixel at 96 dots per inch.
#pragma once

#include <QColor>
#include <QWidget>
#include <cmath>

namespace tamsel {

inline int tw(double twips)
{
    return int(std::lround(twips / 15.0));
}

inline void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(tw(left), tw(top), tw(width), tw(height));
}

// For captions without a given size: their natural size at the given position.
inline void placeAt(QWidget* w, int left, int top)
{
    w->move(tw(left), tw(top));
    w->resize(w->sizeHint());
}

// Colours are written as 0x00BBGGRR.
inline QColor bgr(quint32 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

inline constexpr quint32 WindowColour = 0xFFF6EE;
inline constexpr quint32 FrameColour = 0xFBF6EE;
inline constexpr quint32 PanelColour = 0xFBD3BD;
inline constexpr quint32 LinkBlue = 0xFF0000;
inline constexpr quint32 White = 0xFFFFFF;

inline void setBackground(QWidget* w, quint32 colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, bgr(colour));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Layout units: positions are given in twips, 15 to a pixel at 96 dots per inch and zoom 1.
#pragma once

#include <QColor>
#include <QSize>
#include <QWidget>
#include <cmath>

namespace tamsel {

// How large the window is drawn: its layout in pixels per pixel of the fixed layout, its fonts in
// points per point of the given sizes. Both 1 on a desktop of 9 or 10 point text at 96 dots per
// inch, where the layout is exact.
struct Zoom {
    double layout = 1.0;
    double fonts = 1.0;
    bool operator==(const Zoom&) const = default;
};

// The zoom for a desktop whose text is desktopPoints large on a screen of dpi logical dots per
// inch: the window grows with larger text, and shrinks until it fits the available area (in the
// screen's logical pixels), natural being its size with title and menu bars at zoom 1.
Zoom zoomFor(qreal desktopPoints, qreal dpi, QSize available, QSize natural);

// The zoom of the window; set once before the window is built.
Zoom& windowZoom();

inline int tw(double twips)
{
    return int(std::lround(twips * windowZoom().layout / 15.0));
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

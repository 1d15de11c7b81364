// SPDX-License-Identifier: GPL-3.0-or-later
// Paints a widget's button-face areas with a fill of its own choosing. The widget first paints
// itself into an image as usual; every pixel of the button-face colour is then replaced by the
// fill, and the result reaches the screen in one copy. The fill is chosen per widget through its
// properties "MyStyle" (0 solid, 1 tiled picture, 2 gradient, 3 pulsing gradient), "MySolidColor",
// "MyPicture" (a QImage), "MyGradientColor1", "MyGradientColor2", "MyGradientDir" (0 horizontal,
// 1 vertical) and "MyFadeTime"; "Hooked" marks a widget whose painting is installed. Colours are
// 0x00BBGGRR numbers.
#pragma once

#include <QColor>
#include <QRgba64>

class QPainter;
class QWidget;

namespace tamsel {

// A widget whose normal appearance the painting can draw into an image of its own.
class PaintedControl {
public:
    virtual ~PaintedControl() = default;
    // Paints what the widget shows, its background included, children excluded.
    virtual void paintAppearance(QPainter& painter) const = 0;
};

enum class PaintStyle { Solid, Picture, Gradient, PulsingGradient };

void setPaintStyle(QWidget* widget, PaintStyle style);
// A colour 0x800000nn names system colour nn and is stored as that colour's current value.
void setSolidColour(QWidget* widget, quint32 colour);
// Installs the painting once; a widget already hooked is left as it is. Only a PaintedControl is
// painted this way; on other widgets the properties are kept but change nothing.
void hookTabControl(QWidget* widget);

// The current value of system colour index nn (the button face is 15), as 0x00BBGGRR.
quint32 systemColour(int index);

// The pulse: the level moves by fade in its direction and turns at 0 and 255.
struct Pulse {
    int level = 0;
    bool rising = true;
};
Pulse pulseStep(Pulse pulse, int fade);
// A gradient colour brightened for the pulse level: red and green gain the level, blue a share.
quint32 brighten(quint32 colour, int level);
// A colour in the 16-bit channels the gradient takes: each channel c becomes c * 256.
QRgba64 gradientColour(quint32 colour);

// The pulse shared by every painted widget.
Pulse& sharedPulse();

} // namespace tamsel

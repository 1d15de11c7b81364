// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chrome/TabPainter.h"

#include "gui/style/Geometry.h"

#include <QApplication>
#include <QBasicTimer>
#include <QEvent>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QTimer>
#include <QTimerEvent>
#include <QVariant>
#include <QWidget>

namespace tamsel {
namespace {

quint32 toBgr(const QColor& c)
{
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

int intProperty(const QWidget* w, const char* name)
{
    return w->property(name).toInt();
}

PaintStyle paintStyle(const QWidget* w)
{
    return PaintStyle(intProperty(w, "MyStyle"));
}

// The gradient colours in use; black until first read.
quint32 g_gradient1 = 0;
quint32 g_gradient2 = 0;

// Stands in for the widget's own event handling: paints through an image and runs the pulse.
class TabPaintProc : public QObject {
public:
    explicit TabPaintProc(QWidget* widget) : QObject(widget), m_widget(widget) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_widget)
            return false;
        if (paintStyle(m_widget) == PaintStyle::PulsingGradient && event->type() != QEvent::Timer)
            m_timer.start(1, this);
        switch (event->type()) {
        case QEvent::Paint:
            if (const auto* control = dynamic_cast<const PaintedControl*>(m_widget)) {
                paint(*control);
                return true;
            }
            return false;
        case QEvent::Destroy:
            m_timer.stop();
            return false;
        default:
            return false;
        }
    }

    void timerEvent(QTimerEvent* event) override
    {
        if (event->timerId() != m_timer.timerId())
            return;
        if (paintStyle(m_widget) != PaintStyle::PulsingGradient) {
            m_timer.stop();
            return;
        }
        sharedPulse() = pulseStep(sharedPulse(), intProperty(m_widget, "MyFadeTime"));
        g_gradient1 = brighten(quint32(intProperty(m_widget, "MyGradientColor1")), sharedPulse().level);
        g_gradient2 = brighten(quint32(intProperty(m_widget, "MyGradientColor2")), sharedPulse().level);
        m_widget->update();
    }

private:
    void paint(const PaintedControl& painted)
    {
        const QSize size = m_widget->size();
        const qreal dpr = m_widget->devicePixelRatioF();
        QImage control(size * dpr, QImage::Format_ARGB32_Premultiplied);
        control.setDevicePixelRatio(dpr);
        control.fill(Qt::transparent);
        {
            QPainter p(&control);
            painted.paintAppearance(p);
        }

        QImage fill(control.size(), QImage::Format_ARGB32_Premultiplied);
        fill.setDevicePixelRatio(dpr);
        {
            QPainter p(&fill);
            const QRect all(QPoint(0, 0), size);
            const PaintStyle style = paintStyle(m_widget);
            if (style == PaintStyle::Gradient || style == PaintStyle::PulsingGradient) {
                if (style == PaintStyle::Gradient) {
                    g_gradient1 = quint32(intProperty(m_widget, "MyGradientColor1"));
                    g_gradient2 = quint32(intProperty(m_widget, "MyGradientColor2"));
                }
                const bool vertical = intProperty(m_widget, "MyGradientDir") == 1;
                QLinearGradient gradient(0, 0, vertical ? 0 : size.width(), vertical ? size.height() : 0);
                gradient.setColorAt(0, QColor::fromRgba64(gradientColour(g_gradient1)));
                gradient.setColorAt(1, QColor::fromRgba64(gradientColour(g_gradient2)));
                p.fillRect(all, gradient);
            } else if (style == PaintStyle::Picture) {
                const QImage picture = m_widget->property("MyPicture").value<QImage>();
                if (picture.isNull())
                    p.fillRect(all, Qt::white);
                else
                    p.fillRect(all, QBrush(picture));
            } else {
                p.fillRect(all, bgr(quint32(intProperty(m_widget, "MySolidColor"))));
            }
        }

        // Where the control shows the button face, the fill shows instead.
        const QRgb face = m_widget->palette().color(QPalette::Button).rgba();
        for (int y = 0; y < control.height(); ++y) {
            auto* c = reinterpret_cast<QRgb*>(control.scanLine(y));
            const auto* f = reinterpret_cast<const QRgb*>(fill.constScanLine(y));
            for (int x = 0; x < control.width(); ++x) {
                if (c[x] == face)
                    c[x] = f[x];
            }
        }
        QPainter screen(m_widget);
        screen.drawImage(QPoint(0, 0), control);
    }

    QWidget* m_widget;
    QBasicTimer m_timer;
};

} // namespace

void setPaintStyle(QWidget* widget, PaintStyle style)
{
    widget->setProperty("MyStyle", int(style));
}

quint32 systemColour(int index)
{
    static const QPalette::ColorRole roles[] = {
        QPalette::Mid,
        QPalette::Window,
        QPalette::Highlight,
        QPalette::Window,
        QPalette::Window,
        QPalette::Base,
        QPalette::Shadow,
        QPalette::WindowText,
        QPalette::Text,
        QPalette::HighlightedText,
        QPalette::Window,
        QPalette::Window,
        QPalette::Dark,
        QPalette::Highlight,
        QPalette::HighlightedText,
        QPalette::Button,
        QPalette::Dark,
        QPalette::PlaceholderText,
        QPalette::ButtonText,
        QPalette::WindowText,
        QPalette::Light,
        QPalette::Shadow,
        QPalette::Midlight,
        QPalette::ToolTipText,
        QPalette::ToolTipBase,
        QPalette::Window,
        QPalette::Link,
        QPalette::Highlight,
        QPalette::Highlight,
        QPalette::Highlight,
        QPalette::Window,
    };
    const QPalette palette = QApplication::palette();
    if (index < 0 || index >= int(std::size(roles)))
        return toBgr(palette.color(QPalette::Window));
    return toBgr(palette.color(roles[index]));
}

void setSolidColour(QWidget* widget, quint32 colour)
{
    if (colour & 0x80000000u)
        colour = systemColour(int(colour & 0xff));
    widget->setProperty("MySolidColor", colour);
}

void hookTabControl(QWidget* widget)
{
    if (intProperty(widget, "Hooked") != 0)
        return;
    widget->setProperty("Hooked", -1);
    widget->installEventFilter(new TabPaintProc(widget));
}

Pulse pulseStep(Pulse pulse, int fade)
{
    pulse.level += pulse.rising ? fade : -fade;
    if (pulse.level >= 256) {
        pulse.level = 255;
        pulse.rising = !pulse.rising;
    } else if (pulse.level < 0) {
        pulse.level = 0;
        pulse.rising = !pulse.rising;
    }
    return pulse;
}

quint32 brighten(quint32 colour, int level)
{
    const int r = int(colour & 0xff);
    const int g = int((colour >> 8) & 0xff);
    const int b = int((colour >> 16) & 0xff);
    const auto clip = [](int v) { return quint32(std::min(v, 255)); };
    return clip(r + level) | clip(g + level) << 8 | clip(b + b * level / 192) << 16;
}

QRgba64 gradientColour(quint32 colour)
{
    // Written as six hex digits, each channel's two digits followed by "00".
    const QString hex = QString::number(colour & 0xffffff, 16).rightJustified(6, u'0');
    const auto channel = [&](int at) {
        return quint16(QStringView(hex).mid(at, 2).toUInt(nullptr, 16) << 8);
    };
    return qRgba64(channel(4), channel(2), channel(0), 0xffff);
}

Pulse& sharedPulse()
{
    static Pulse pulse;
    return pulse;
}

} // namespace tamsel

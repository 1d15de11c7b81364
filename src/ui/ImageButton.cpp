// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ImageButton.h"

#include "ui/ButtonState.h"
#include "ui/Geometry.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace tamsel {
namespace {

QPixmap buttonFace(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(250, 252, 255));
    fill.setColorAt(1, QColor(196, 214, 246));
    QPainterPath path;
    path.addRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 4, 4);
    p.fillPath(path, fill);
    p.setPen(QColor(104, 136, 196));
    p.drawPath(path);
    return pixmap;
}

} // namespace

ImageButton::ImageButton(QWidget* parent, const QString& name, const QString& caption, const Layout& layout)
    : QLabel(parent), m_caption(new QLabel(caption, this)), m_mask(new QLabel(parent))
{
    setObjectName(QStringLiteral("Picture_") + name);
    m_caption->setObjectName(QStringLiteral("Label_") + name);
    m_mask->setObjectName(QStringLiteral("Label_Mask_") + name);
    setAccessibleName(caption);

    m_mask->setGeometry(tw(layout.mask.x()), tw(layout.mask.y()), tw(layout.mask.width()),
                        tw(layout.mask.height()));
    place(this, layout.picture.x(), layout.picture.y(), layout.picture.width(), layout.picture.height());
    setPixmap(buttonFace(size()));

    // The caption stays centred where the font is larger than the space given to it.
    QRect captionRect(tw(layout.caption.x()), tw(layout.caption.y()), tw(layout.caption.width()),
                      tw(layout.caption.height()));
    const QSize hint = m_caption->sizeHint();
    if (hint.width() > captionRect.width() || hint.height() > captionRect.height())
        captionRect = QRect(QPoint(0, 0), hint.expandedTo(captionRect.size()))
                          .translated((width() - std::max(hint.width(), captionRect.width())) / 2,
                                      (height() - std::max(hint.height(), captionRect.height())) / 2);
    m_caption->setGeometry(captionRect);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->installEventFilter(this);
    m_mask->lower();
}

void ImageButton::press(QMouseEvent*)
{
    ButtonPressed = true;
}

void ImageButton::release(QWidget* control, QMouseEvent* event)
{
    ButtonPressed = false;
    if (event->button() == Qt::LeftButton && control->rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void ImageButton::mousePressEvent(QMouseEvent* event)
{
    press(event);
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    release(this, event);
}

bool ImageButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_caption) {
        if (event->type() == QEvent::MouseButtonPress) {
            press(static_cast<QMouseEvent*>(event));
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            release(m_caption, static_cast<QMouseEvent*>(event));
            return true;
        }
    }
    return QLabel::eventFilter(watched, event);
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chrome/ImageButton.h"

#include "gui/accessibility/Accessibility.h"
#include "gui/chrome/ButtonState.h"
#include "gui/style/Artwork.h"
#include "gui/style/Geometry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tamsel {

ImageButton::ImageButton(QWidget* parent, const QString& name, const QString& caption, const Layout& layout)
    : QLabel(parent), m_caption(new QLabel(caption, this)), m_mask(new QLabel(parent))
{
    setObjectName(QStringLiteral("Picture_") + name);
    m_caption->setObjectName(QStringLiteral("Label_") + name);
    m_mask->setObjectName(QStringLiteral("Label_Mask_") + name);
    setAccessibleName(caption);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    markDecoration(m_mask);

    m_mask->setGeometry(tw(layout.mask.x()), tw(layout.mask.y()), tw(layout.mask.width()),
                        tw(layout.mask.height()));
    m_mask->setMouseTracking(true);
    m_mask->installEventFilter(this);
    place(this, layout.picture.x(), layout.picture.y(), layout.picture.width(), layout.picture.height());
    setMouseTracking(true);
    m_images = buttonImages(size());
    setPixmap(m_images[0]);

    // The caption stays centred where the font is larger than the space given to it.
    QRect captionRect(tw(layout.caption.x()), tw(layout.caption.y()), tw(layout.caption.width()),
                      tw(layout.caption.height()));
    const QSize hint = m_caption->sizeHint();
    if (hint.width() > captionRect.width() || hint.height() > captionRect.height()) {
        const QSize grown = hint.expandedTo(captionRect.size());
        captionRect = QRect(QPoint((width() - grown.width()) / 2, (height() - grown.height()) / 2), grown);
    }
    m_caption->setGeometry(captionRect);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->installEventFilter(this);
    m_mask->lower();
    refreshAccessible(this);
}

void ImageButton::showPicture(Picture picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    setPixmap(m_images[size_t(picture)]);
}

void ImageButton::press()
{
    ButtonPressed = true;
    showPicture(Picture::Pressed);
}

void ImageButton::hover(QPoint point)
{
    if (ButtonPressed)
        return;
    const bool inside = point.x() >= 0 && point.y() >= 0 && point.x() <= width() && point.y() <= height();
    showPicture(inside ? Picture::Hover : Picture::Normal);
}

void ImageButton::release(QPoint point)
{
    ButtonPressed = false;
    if (point.x() < 0 || point.y() < 0 || point.x() > width() || point.y() > height())
        showPicture(Picture::Normal);
}

void ImageButton::releaseOnCaption(QPoint point)
{
    ButtonPressed = false;
    // The caption is taken to be centred in the picture.
    const QPoint p = point + QPoint((width() - m_caption->width()) / 2, (height() - m_caption->height()) / 2);
    const bool outside = p.x() < 0 || p.y() < 0 || p.x() > width() || p.y() > height();
    showPicture(outside ? Picture::Normal : Picture::Hover);
}

void ImageButton::leave()
{
    if (!ButtonPressed)
        showPicture(Picture::Normal);
}

void ImageButton::mousePressEvent(QMouseEvent*)
{
    press();
}

void ImageButton::mouseMoveEvent(QMouseEvent* event)
{
    hover(event->position().toPoint());
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    release(at);
    if (event->button() == Qt::LeftButton && rect().contains(at))
        Q_EMIT clicked();
}

void ImageButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            activate();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ImageButton::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // A dotted frame inside the picture's border, in every style (some draw focus only after Tab).
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(3, 3, -4, -4));
}

bool ImageButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_caption) {
        if (event->type() == QEvent::MouseButtonPress) {
            press();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            releaseOnCaption(at);
            if (mouse->button() == Qt::LeftButton && m_caption->rect().contains(at))
                Q_EMIT clicked();
            return true;
        }
    } else if (watched == m_mask && event->type() == QEvent::MouseMove) {
        leave();
    }
    return QLabel::eventFilter(watched, event);
}

} // namespace tamsel

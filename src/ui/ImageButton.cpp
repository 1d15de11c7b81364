// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ImageButton.h"

#include "ui/Artwork.h"
#include "ui/ButtonState.h"
#include "ui/Geometry.h"

#include <QMouseEvent>

namespace tamsel {

ImageButton::ImageButton(QWidget* parent, const QString& name, const QString& caption, const Layout& layout)
    : QLabel(parent), m_caption(new QLabel(caption, this)), m_mask(new QLabel(parent))
{
    setObjectName(QStringLiteral("Picture_") + name);
    m_caption->setObjectName(QStringLiteral("Label_") + name);
    m_mask->setObjectName(QStringLiteral("Label_Mask_") + name);
    setAccessibleName(caption);
    setCursor(Qt::PointingHandCursor);

    m_mask->setGeometry(tw(layout.mask.x()), tw(layout.mask.y()), tw(layout.mask.width()),
                        tw(layout.mask.height()));
    m_mask->setMouseTracking(true);
    m_mask->installEventFilter(this);
    place(this, layout.picture.x(), layout.picture.y(), layout.picture.width(), layout.picture.height());
    setMouseTracking(true);
    m_images = ButtonImages(size());
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
}

void ImageButton::showImage(int image)
{
    if (image == m_image)
        return;
    m_image = image;
    setPixmap(m_images[size_t(image - 1)]);
}

void ImageButton::PressImageButton()
{
    ButtonPressed = true;
    showImage(3);
}

void ImageButton::HoverImageButton(QPoint point)
{
    if (ButtonPressed)
        return;
    const bool inside = point.x() >= 0 && point.y() >= 0 && point.x() <= width() && point.y() <= height();
    showImage(inside ? 2 : 1);
}

void ImageButton::ReleaseImageButton(QPoint point)
{
    ButtonPressed = false;
    if (point.x() < 0 || point.y() < 0 || point.x() > width() || point.y() > height())
        showImage(1);
}

void ImageButton::ReleaseImageButtonCaption(QPoint point)
{
    ButtonPressed = false;
    // The caption is taken to be centred in the picture.
    const QPoint p = point + QPoint((width() - m_caption->width()) / 2, (height() - m_caption->height()) / 2);
    const bool outside = p.x() < 0 || p.y() < 0 || p.x() > width() || p.y() > height();
    showImage(outside ? 1 : 2);
}

void ImageButton::LeaveImageButton()
{
    if (!ButtonPressed)
        showImage(1);
}

void ImageButton::mousePressEvent(QMouseEvent*)
{
    PressImageButton();
}

void ImageButton::mouseMoveEvent(QMouseEvent* event)
{
    HoverImageButton(event->position().toPoint());
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    ReleaseImageButton(at);
    if (event->button() == Qt::LeftButton && rect().contains(at))
        Q_EMIT clicked();
}

bool ImageButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_caption) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonPress) {
            PressImageButton();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const QPoint at = mouse->position().toPoint();
            ReleaseImageButtonCaption(at);
            if (mouse->button() == Qt::LeftButton && m_caption->rect().contains(at))
                Q_EMIT clicked();
            return true;
        }
    } else if (watched == m_mask && event->type() == QEvent::MouseMove) {
        LeaveImageButton();
    }
    return QLabel::eventFilter(watched, event);
}

} // namespace tamsel

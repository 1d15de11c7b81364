// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/style/Artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tamsel {
namespace {

const QColor Ink(40, 72, 140);
const QColor Paper(255, 255, 255);
const QColor Sky(66, 120, 220);
const QColor Leaf(46, 160, 67);
const QColor Alarm(210, 48, 48);
const QColor Folder(240, 190, 70);

// Drawing happens on a 16 x 16 grid, scaled to the pixmap.
void page(QPainter& p, QRectF r)
{
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(Ink, 1));
    p.setBrush(Paper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 3, r.top()), QPointF(r.right() - 3, r.top() + 3));
    p.drawLine(QPointF(r.right() - 3, r.top() + 3), QPointF(r.right(), r.top() + 3));
}

void plus(QPainter& p, QPointF c)
{
    p.setPen(QPen(Leaf, 2.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(c.x() - 3, c.y()), QPointF(c.x() + 3, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - 3), QPointF(c.x(), c.y() + 3));
}

void cross(QPainter& p, QPointF c)
{
    p.setPen(QPen(Alarm, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - 2.5, c.y() - 2.5), QPointF(c.x() + 2.5, c.y() + 2.5));
    p.drawLine(QPointF(c.x() - 2.5, c.y() + 2.5), QPointF(c.x() + 2.5, c.y() - 2.5));
}

void arrow(QPainter& p, double x, double from, double to)
{
    const double dir = to < from ? -1 : 1;
    p.setPen(QPen(Sky, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x, from), QPointF(x, to - dir * 3));
    QPainterPath head;
    head.moveTo(x, to);
    head.lineTo(x - 4, to - dir * 4.5);
    head.lineTo(x + 4, to - dir * 4.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Sky);
    p.drawPath(head);
}

void bar(QPainter& p, double y)
{
    p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(3, y), QPointF(13, y));
}

void draw(QPainter& p, ToolbarCommand command)
{
    switch (command) {
    case ToolbarCommand::AddFiles:
        page(p, QRectF(2.5, 1.5, 9, 12));
        plus(p, QPointF(12, 12));
        break;
    case ToolbarCommand::AddFolder: {
        p.setPen(QPen(Ink.darker(110), 1));
        p.setBrush(Folder);
        QPainterPath f;
        f.moveTo(1.5, 4);
        f.lineTo(6, 4);
        f.lineTo(7.5, 5.5);
        f.lineTo(13.5, 5.5);
        f.lineTo(13.5, 13.5);
        f.lineTo(1.5, 13.5);
        f.closeSubpath();
        p.drawPath(f);
        plus(p, QPointF(12, 12));
        break;
    }
    case ToolbarCommand::Search:
        p.setPen(QPen(Ink, 1.6));
        p.setBrush(QColor(220, 235, 255));
        p.drawEllipse(QPointF(6.5, 6.5), 4, 4);
        p.setPen(QPen(Ink, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
        break;
    case ToolbarCommand::MoveUp:
        arrow(p, 8, 14, 2);
        break;
    case ToolbarCommand::MoveDown:
        arrow(p, 8, 2, 14);
        break;
    case ToolbarCommand::MoveToTop:
        bar(p, 2);
        arrow(p, 8, 15, 4);
        break;
    case ToolbarCommand::MoveToBottom:
        bar(p, 14);
        arrow(p, 8, 1, 12);
        break;
    case ToolbarCommand::DeleteAll:
        page(p, QRectF(4.5, 0.5, 9, 11));
        page(p, QRectF(2.5, 2.5, 9, 11));
        cross(p, QPointF(11.5, 12));
        break;
    case ToolbarCommand::DeleteSelected:
        page(p, QRectF(2.5, 1.5, 9, 12));
        cross(p, QPointF(11.5, 12));
        break;
    case ToolbarCommand::Preview: {
        QPainterPath eye;
        eye.moveTo(1, 8);
        eye.quadTo(8, 1, 15, 8);
        eye.quadTo(8, 15, 1, 8);
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(Paper);
        p.drawPath(eye);
        p.setBrush(Sky);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(8, 8), 2.8, 2.8);
        break;
    }
    case ToolbarCommand::Rename: {
        p.setPen(QPen(Ink, 1.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(2, 14.5), QPointF(14, 14.5));
        p.save();
        p.translate(8.5, 7.5);
        p.rotate(45);
        p.setPen(QPen(Ink, 0.8));
        p.setBrush(Folder);
        p.drawRect(QRectF(-1.8, -7, 3.6, 10));
        QPainterPath tip;
        tip.moveTo(-1.8, 3);
        tip.lineTo(1.8, 3);
        tip.lineTo(0, 6);
        tip.closeSubpath();
        p.setBrush(Paper);
        p.drawPath(tip);
        p.restore();
        break;
    }
    case ToolbarCommand::Refresh: {
        p.setPen(QPen(Leaf, 2.2, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 90 * 16, 270 * 16);
        QPainterPath head;
        head.moveTo(8, 0);
        head.lineTo(12.5, 3);
        head.lineTo(8, 6);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(Leaf);
        p.drawPath(head);
        break;
    }
    }
}

} // namespace

QIcon toolbarIcon(ToolbarCommand command)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        draw(p, command);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

std::array<QPixmap, 3> buttonImages(QSize size)
{
    struct Look {
        QColor top, bottom, border;
        qreal inset;
    };
    // Normal: cool and light; hover: warmer with a brighter rim; pressed: darker and sunk.
    const Look looks[3] = {
        {QColor(252, 253, 255), QColor(196, 214, 246), QColor(104, 136, 196), 0.5},
        {QColor(255, 255, 255), QColor(214, 230, 255), QColor(236, 150, 40), 0.5},
        {QColor(170, 194, 236), QColor(218, 230, 250), QColor(60, 92, 160), 1.0},
    };
    std::array<QPixmap, 3> images;
    for (int i = 0; i < 3; ++i) {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(QPointF(0, 0), QSizeF(size))
                             .adjusted(looks[i].inset, looks[i].inset, -looks[i].inset, -looks[i].inset);
        QLinearGradient fill(0, 0, 0, size.height());
        fill.setColorAt(0, looks[i].top);
        fill.setColorAt(1, looks[i].bottom);
        QPainterPath path;
        path.addRoundedRect(r, 4, 4);
        p.fillPath(path, fill);
        p.setPen(QPen(looks[i].border, i == 1 ? 1.6 : 1.0));
        p.drawPath(path);
        if (i != 2) {
            // A soft highlight along the top edge.
            p.setPen(QPen(QColor(255, 255, 255, 170), 1));
            p.drawLine(QPointF(r.left() + 4, r.top() + 1.5), QPointF(r.right() - 4, r.top() + 1.5));
        }
        p.end();
        images[size_t(i)] = pixmap;
    }
    return images;
}

} // namespace tamsel

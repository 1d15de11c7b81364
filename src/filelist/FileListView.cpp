// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileListView.h"

#include "filelist/FileList.h"
#include "ui/Fonts.h"
#include "ui/Geometry.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <array>
#include <cmath>

namespace tamsel {
namespace {

// No frame around the current cell.
class NoFocusDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }
};

int roundEven(double v)
{
    return int(std::nearbyint(v));
}

} // namespace

std::array<int, 11> FileListView::columnWidthsTw(int gridWidthTw)
{
    const int w = gridWidthTw - 280;
    std::array<int, 11> widths{};
    widths[0] = roundEven(w * 10 / 100.0);
    widths[1] = roundEven(w * 35 / 100.0);
    widths[2] = roundEven(w * 35 / 100.0);
    widths[3] = roundEven(w * 20 / 100.0);
    const int rest = w - widths[0];
    widths[4] = rest;
    widths[5] = roundEven(rest / 2.0);
    widths[6] = roundEven(rest / 6.0);
    widths[7] = roundEven(rest / 3.0);
    widths[8] = roundEven(rest / 2.0);
    widths[9] = roundEven(rest / 2.0);
    widths[10] = rest;
    return widths;
}

FileListView::FileListView(QWidget* parent) : QTableView(parent)
{
    setFont(songFont(9));
    setItemDelegate(new NoFocusDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setAlternatingRowColors(false);

    QPalette p = palette();
    p.setColor(QPalette::Base, bgr(White));
    p.setColor(QPalette::Window, bgr(White));
    setPalette(p);

    const QString headerStyle =
        QStringLiteral("QHeaderView::section { background-color: rgb(189, 211, 251); color: black;"
                       " border: none; border-right: 1px solid rgb(150, 170, 210); border-bottom: 1px solid "
                       "rgb(150, 170, 210);"
                       " padding: 0px 2px; }"
                       "QTableCornerButton::section { background-color: rgb(189, 211, 251);"
                       " border: none; border-right: 1px solid rgb(150, 170, 210); border-bottom: 1px solid "
                       "rgb(150, 170, 210); }");
    setStyleSheet(headerStyle);

    QHeaderView* top = horizontalHeader();
    QFont bold = songFont(9);
    bold.setBold(true);
    top->setFont(bold);
    top->setDefaultAlignment(Qt::AlignCenter);
    top->setHighlightSections(false);
    top->setSectionsMovable(false);
    top->setFixedHeight(tw(285));

    QHeaderView* numbers = verticalHeader();
    numbers->setFont(songFont(9));
    numbers->setDefaultAlignment(Qt::AlignCenter);
    numbers->setSectionResizeMode(QHeaderView::Fixed);
    numbers->setMinimumSectionSize(1);
    numbers->setDefaultSectionSize(tw(270));
    numbers->setHighlightSections(false);

    if (auto* corner = findChild<QAbstractButton*>())
        corner->installEventFilter(this);
}

void FileListView::setFileList(FileList* list)
{
    setModel(list);
    const auto widths = columnWidthsTw(6615);
    verticalHeader()->setFixedWidth(tw(widths[0]));
    setColumnHidden(ColNumber, true);
    for (int c = 1; c < ColumnCount; ++c)
        setColumnWidth(c, tw(widths[c]));
}

bool FileListView::eventFilter(QObject* watched, QEvent* event)
{
    auto* corner = qobject_cast<QAbstractButton*>(watched);
    if (corner && event->type() == QEvent::Paint) {
        static_cast<QObject*>(corner)->event(event); // the corner's own background and borders
        QPainter painter(corner);
        painter.setFont(horizontalHeader()->font());
        painter.setPen(Qt::black);
        painter.drawText(corner->rect(), Qt::AlignCenter, FileList::headerText(ColNumber));
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace tamsel

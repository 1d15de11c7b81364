// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/filelist/FileListView.h"

#include "gui/chrome/ButtonState.h"
#include "gui/filelist/FileListModel.h"
#include "gui/style/Fonts.h"
#include "gui/style/Geometry.h"
#include "gui/style/Palette.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <array>
#include <cmath>

namespace tamsel {
namespace {

// No frame around the current cell; a preview whose rename would fail in red.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
        if (!index.data(FileListModel::ConflictRole).toString().isEmpty()) {
            option->palette.setColor(QPalette::Text, QColor(220, 0, 0));
            option->palette.setColor(QPalette::HighlightedText, QColor(255, 200, 200));
        }
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
    setItemDelegate(new CellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab moves between controls; the arrows move inside the grid.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setAlternatingRowColors(false);

    // The cells are white under every theme, so their text is dark under every theme: both come
    // from one palette, never the text from a dark theme and the ground from this one.
    QPalette p = lightPalette();
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
    // A click on a header sorts; it never selects the column.
    top->setSectionsClickable(true);
    disconnect(top, &QHeaderView::sectionPressed, this, nullptr);
    disconnect(top, &QHeaderView::sectionEntered, this, nullptr);
    connect(top, &QHeaderView::sectionClicked, this, &FileListView::headerClicked);
    connect(top, &QHeaderView::sortIndicatorChanged, this, [this, top](int column, Qt::SortOrder order) {
        if (m_sortColumn >= 0 && (column != m_sortColumn || order != m_sortOrder)) {
            const QSignalBlocker blocker(top);
            top->setSortIndicator(m_sortColumn, m_sortOrder);
        }
    });
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
    numbers->viewport()->installEventFilter(this);
}

void FileListView::setFileList(FileListModel* list)
{
    setModel(list);
    const auto widths = columnWidthsTw(6615);
    verticalHeader()->setFixedWidth(tw(widths[0]));
    setColumnHidden(ColNumber, true);
    for (int c = 1; c < ColumnCount; ++c)
        setColumnWidth(c, tw(widths[c]));
    // After every reset (start-up, delete all) the first row is the current row.
    connect(list, &QAbstractItemModel::modelReset, this, [this] { setRowRange(0, 0); });
    setRowRange(0, 0);
}

std::pair<int, int> FileListView::selectedRows() const
{
    int top = -1;
    int bottom = -1;
    if (selectionModel()) {
        // Ranges, not rows: a selection of a million rows is still a handful of ranges.
        for (const QItemSelectionRange& range : selectionModel()->selection()) {
            top = top < 0 ? range.top() : std::min(top, range.top());
            bottom = std::max(bottom, range.bottom());
        }
        if (top < 0 && currentIndex().isValid())
            top = bottom = currentIndex().row();
    }
    if (top < 0)
        return {0, 0};
    return {top, bottom};
}

void FileListView::setRowRange(int row, int rowSel)
{
    if (!model() || !selectionModel())
        return;
    const int last = model()->rowCount() - 1;
    const int a = std::clamp(row, 0, last);
    const int b = std::clamp(rowSel, 0, last);
    const QModelIndex end = model()->index(b, 1);
    selectionModel()->setCurrentIndex(end, QItemSelectionModel::NoUpdate);
    selectionModel()->select(
        QItemSelection(model()->index(std::min(a, b), 0), model()->index(std::max(a, b), 0)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(end);
}

void FileListView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    // No frame around the current cell, so a frame around the whole grid says it has the focus.
    if (hasFocus()) {
        QPainter painter(viewport());
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
    }
}

void FileListView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void FileListView::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void FileListView::keyPressEvent(QKeyEvent* event)
{
    const bool keypadDel = (event->modifiers() & Qt::KeypadModifier) &&
                           (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma);
    if (event->key() == Qt::Key_Delete || keypadDel) {
        Q_EMIT deletePressed();
        return;
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        contextMenuEvent(&menu);
        return;
    }
    QTableView::keyPressEvent(event);
}

void FileListView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        Q_EMIT contextMenuAsked(columnAt(event->pos().x()), event->globalPos());
        return;
    }
    const QModelIndex current = currentIndex();
    const QRect cell = visualRect(current);
    Q_EMIT contextMenuAsked(current.isValid() ? current.column() : -1,
                            viewport()->mapToGlobal(cell.isValid() ? cell.center() : QPoint(0, 0)));
}

void FileListView::showSortIndicator(int column, bool descending)
{
    m_sortColumn = column;
    m_sortOrder = descending ? Qt::DescendingOrder : Qt::AscendingOrder;
    horizontalHeader()->setSortIndicatorShown(column >= 0);
    if (column >= 0)
        horizontalHeader()->setSortIndicator(column, m_sortOrder);
}

void FileListView::keyReleaseEvent(QKeyEvent* event)
{
    QTableView::keyReleaseEvent(event);
    Q_EMIT selectionGesture();
}

void FileListView::mousePressEvent(QMouseEvent* event)
{
    ButtonPressed = true;
    QTableView::mousePressEvent(event);
}

void FileListView::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    if (ButtonPressed)
        Q_EMIT selectionGesture();
}

void FileListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    ButtonPressed = false;
    Q_EMIT selectionGesture();
}

bool FileListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == verticalHeader()->viewport()) {
        // The number column: the header selects first, the count follows.
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            ButtonPressed = true;
            break;
        case QEvent::MouseMove:
            if (ButtonPressed)
                QMetaObject::invokeMethod(this, &FileListView::selectionGesture, Qt::QueuedConnection);
            break;
        case QEvent::MouseButtonRelease:
            ButtonPressed = false;
            QMetaObject::invokeMethod(this, &FileListView::selectionGesture, Qt::QueuedConnection);
            break;
        default:
            break;
        }
        return false;
    }
    auto* corner = qobject_cast<QAbstractButton*>(watched);
    if (corner && event->type() == QEvent::Paint) {
        static_cast<QObject*>(corner)->event(event); // the corner's own background and borders
        QPainter painter(corner);
        painter.setFont(horizontalHeader()->font());
        painter.setPen(Qt::black);
        painter.drawText(corner->rect(), Qt::AlignCenter, FileListModel::headerText(ColNumber));
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace tamsel

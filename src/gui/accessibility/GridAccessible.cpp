// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/accessibility/GridAccessible.h"

#include "core/filelist/FileList.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>

namespace tamsel {
namespace {

class GridTable;

// One cell, a column header (row -1) or a row header (column -1). Cells are no objects of their
// own: the table makes them when asked and forgets them when the list changes.
class GridCell final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCell(GridTable* table, int row, int column) : m_table(table), m_row(row), m_column(column) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override
    {
        if (m_row < 0) // the corner (column -1) is the number column's header
            return QAccessible::ColumnHeader;
        return m_column < 0 ? QAccessible::RowHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this)
                                                       : nullptr;
    }

    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    QTableView* view() const;
    QModelIndex index() const;

    GridTable* m_table;
    int m_row;
    int m_column;
};

class GridTable final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridTable(QTableView* view) : QAccessibleWidget(view, QAccessible::Table) {}
    ~GridTable() override { forgetCells(); }

    QTableView* view() const { return static_cast<QTableView*>(widget()); }
    int rows() const
    {
        return view()->model() ? view()->model()->headerData(0, Qt::Vertical, GridFileCountRole).toInt() : 0;
    }
    int columns() const { return view()->model() ? view()->model()->columnCount() : 0; }

    // The cell at (row, column), -1 standing for a header.
    QAccessibleInterface* cell(int row, int column) const
    {
        if (row < -1 || row >= rows() || column < -1 || column >= columns())
            return nullptr;
        const int key = indexOf(row, column);
        if (const auto it = m_cells.constFind(key); it != m_cells.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* made = new GridCell(const_cast<GridTable*>(this), row, column);
        m_cells.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }
    int indexOf(int row, int column) const { return (row + 1) * (columns() + 1) + column + 1; }

    // QAccessibleInterface
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return (rows() + 1) * (columns() + 1); }
    QAccessibleInterface* child(int index) const override
    {
        const int width = columns() + 1;
        return index < 0 ? nullptr : cell(index / width - 1, index % width - 1);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const QAccessibleTableCellInterface* c =
            child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
        return c && child->parent() == this ? indexOf(c->rowIndex(), c->columnIndex()) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint at = view()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = view()->indexAt(at);
        return index.isValid() ? cell(index.row(), index.column()) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        const QModelIndex current = view()->currentIndex();
        return view()->hasFocus() && current.isValid() ? cell(current.row(), current.column()) : nullptr;
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        return row >= 0 && column >= 0 ? cell(row, column) : nullptr;
    }
    int selectedCellCount() const override { return selectedRowCount() * columns(); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        for (const int row : selectedRows()) {
            for (int column = 0; column < columns(); ++column)
                cells << cell(row, column);
        }
        return cells;
    }
    QString columnDescription(int column) const override
    {
        return view()->model()->headerData(column, Qt::Horizontal).toString();
    }
    QString rowDescription(int row) const override
    {
        return view()->model()->headerData(row, Qt::Vertical).toString();
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override { return columns(); }
    int rowCount() const override { return rows(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> out;
        if (!view()->selectionModel())
            return out;
        // Ranges, not rows: a selection of a million rows is a handful of ranges.
        for (const QItemSelectionRange& range : view()->selectionModel()->selection()) {
            for (int row = range.top(); row <= std::min(range.bottom(), rows() - 1); ++row)
                out << row;
        }
        return out;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return row < rows() && view()->selectionModel() &&
               view()->selectionModel()->isRowSelected(row, QModelIndex());
    }
    bool selectRow(int row) override
    {
        if (row < 0 || row >= rows())
            return false;
        view()->selectRow(row);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Cells read their data by position: a change of data keeps them; rows that come or go take
    // the cells from there on with them, so that none names a file that moved.
    void modelChange(QAccessibleTableModelChangeEvent* event) override
    {
        switch (event->modelChangeType()) {
        case QAccessibleTableModelChangeEvent::DataChanged:
            break;
        case QAccessibleTableModelChangeEvent::RowsInserted:
        case QAccessibleTableModelChangeEvent::RowsRemoved:
            forgetCells(event->firstRow());
            break;
        default:
            forgetCells();
            break;
        }
    }

private:
    // The cells of rows from firstRow on; every cell, headers included, by default.
    void forgetCells(int firstRow = -1)
    {
        // All of them without asking the view: it may be going already.
        const int width = firstRow < 0 ? 1 : columns() + 1;
        for (auto it = m_cells.begin(); it != m_cells.end();) {
            const int row = it.key() / width - 1;
            if (firstRow < 0 || row >= firstRow) {
                QAccessible::deleteAccessibleInterface(it.value());
                it = m_cells.erase(it);
            } else {
                ++it;
            }
        }
    }

    mutable QHash<int, QAccessible::Id> m_cells;
};

QTableView* GridCell::view() const
{
    return m_table->view();
}

QModelIndex GridCell::index() const
{
    return view()->model()->index(m_row, m_column);
}

bool GridCell::isValid() const
{
    return m_table->isValid() && m_row < m_table->rows() && m_column < m_table->columns();
}

QWindow* GridCell::window() const
{
    return m_table->window();
}

QAccessibleInterface* GridCell::parent() const
{
    return m_table;
}

QAccessibleInterface* GridCell::table() const
{
    return m_table;
}

QString GridCell::text(QAccessible::Text t) const
{
    const QAbstractItemModel* model = view()->model();
    if (m_row < 0)
        return t == QAccessible::Name
                   ? model->headerData(std::max(m_column, int(ColNumber)), Qt::Horizontal).toString()
                   : QString();
    if (m_column < 0)
        return t == QAccessible::Name ? model->headerData(m_row, Qt::Vertical).toString() : QString();
    switch (t) {
    case QAccessible::Name:
        return model->data(index(), Qt::DisplayRole).toString();
    case QAccessible::Description:
        return model->data(index(), Qt::AccessibleDescriptionRole).toString();
    default:
        return {};
    }
}

QRect GridCell::rect() const
{
    QTableView* v = view();
    QRect r;
    QWidget* on = v->viewport();
    if (m_row < 0 && m_column < 0) {
        r = QRect(0, 0, v->verticalHeader()->width(), v->horizontalHeader()->height());
        on = v;
        r.translate(v->frameWidth(), v->frameWidth());
    } else if (m_row < 0) {
        on = v->horizontalHeader();
        r = QRect(v->horizontalHeader()->sectionViewportPosition(m_column), 0,
                  v->horizontalHeader()->sectionSize(m_column), v->horizontalHeader()->height());
    } else if (m_column < 0) {
        on = v->verticalHeader();
        r = QRect(0, v->verticalHeader()->sectionViewportPosition(m_row), v->verticalHeader()->width(),
                  v->verticalHeader()->sectionSize(m_row));
    } else {
        r = v->visualRect(index());
    }
    return r.isValid() ? QRect(on->mapToGlobal(r.topLeft()), r.size()) : QRect();
}

QAccessible::State GridCell::state() const
{
    QAccessible::State s;
    QTableView* v = view();
    const bool hidden = m_column >= 0 && v->isColumnHidden(m_column);
    const QRect shown = v->viewport()->rect();
    if (hidden || (m_row >= 0 && m_column >= 0 && !v->visualRect(index()).intersects(shown))) {
        s.invisible = true;
        s.offscreen = true;
    }
    if (m_row >= 0 && m_column >= 0) {
        s.selectable = true;
        s.focusable = true;
        s.selected = isSelected();
        s.focused = v->hasFocus() && v->currentIndex() == index();
    }
    return s;
}

bool GridCell::isSelected() const
{
    return m_row >= 0 && m_table->isRowSelected(m_row);
}

QList<QAccessibleInterface*> GridCell::columnHeaderCells() const
{
    if (m_row < 0 || m_column < 0)
        return {};
    return {m_table->cell(-1, m_column)};
}

QList<QAccessibleInterface*> GridCell::rowHeaderCells() const
{
    if (m_row < 0 || m_column < 0)
        return {};
    return {m_table->cell(m_row, -1)};
}

} // namespace

QAccessibleInterface* gridAccessible(QTableView* grid)
{
    return new GridTable(grid);
}

} // namespace tamsel

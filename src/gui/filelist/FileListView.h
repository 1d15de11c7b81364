// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>
#include <array>
#include <utility>

namespace tamsel {

class FileListModel;

// The file list grid. The number column is the vertical header, so it stays in view when the list
// scrolls sideways; its caption "编号" stands in the corner above it.
class FileListView : public QTableView {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);
    void setFileList(FileListModel* list);

    // Column widths in twips for a grid of the given width.
    static std::array<int, 11> columnWidthsTw(int gridWidthTw);

    // The first and last selected rows, counted from 0; with nothing selected, the first row counts
    // as selected.
    std::pair<int, int> selectedRows() const;
    // Selects the rows between row and rowSel (one before the first counts as the first) and keeps
    // them in view.
    void setRowRange(int row, int rowSel);

    // Typed letters do not move the current row: a following Delete or move must act on the rows
    // the user chose.
    void keyboardSearch(const QString&) override {}

    // The header's arrow on the column the rows were sorted by; column -1 takes it away.
    void showSortIndicator(int column, bool descending);

Q_SIGNALS:
    // A key was released, or the mouse pressed, dragged or released on the grid.
    void selectionGesture();
    // Delete, or the keypad's Del key, was pressed.
    void deletePressed();
    // A data column's header was clicked.
    void headerClicked(int column);
    // The context menu was asked for (right button, the Menu key, Shift+F10), for a column, to
    // be shown at a global position.
    void contextMenuAsked(int column, QPoint at);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The arrow as the last sort left it: a click moves Qt's own arrow before anything sorts.
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace tamsel

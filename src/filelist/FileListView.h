// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>

namespace tamsel {

class FileList;

// The file list grid. The number column is the vertical header, so it stays in view when the list
// scrolls sideways; its caption "编号" stands in the corner above it.
class FileListView : public QTableView {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);
    void setFileList(FileList* list);

    // Column widths in twips for a grid of the given width.
    static std::array<int, 11> columnWidthsTw(int gridWidthTw);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/filelist/FileList.h"

#include <QAbstractTableModel>

namespace tamsel {

// The file list as the grid shows it: its first line is the header (the view's horizontal header),
// the number column is the vertical header, and the grid has at least MinRows lines, blank beyond
// the files. Model row r is the list's row r.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int MinRows = 30; // the header line included
    // Why the row's rename would fail, for the preview cell; empty when it would not.
    static constexpr int ConflictRole = Qt::UserRole + 1;

    explicit FileListModel(FileList& list, QObject* parent = nullptr);

    FileList& fileList() const { return m_list; }
    static QString headerText(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The previews that made the preview column, in order, for the list as it is now; their number
    // and names show in the column header's tooltip when there are more than one. A change of the
    // listing forgets them.
    void setPreviewSteps(const QStringList& steps);
    QStringList previewSteps() const;

private:
    void rowsChanged(int first, int last);
    void marksChanged();
    QString markText(int row) const;

    FileList& m_list;
    int m_rows = MinRows - 1; // rows the view has been told about
    QStringList m_steps;
    quint64 m_stepsListing = 0; // the list's listing version the steps belong to
};

// The reason shown on a row whose new name has the fault.
QString nameFaultText(quint8 fault);
// The reason shown on a marked row.
QString rowMarkText(const RowMark& mark);

} // namespace tamsel

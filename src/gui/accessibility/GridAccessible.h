// SPDX-License-Identifier: GPL-3.0-or-later
// The file list as a screen reader reads it: a table of the files alone. The grid keeps blank rows
// below the last file for its look; a reader that heard them would count files that are not there.
#pragma once

#include <Qt>

class QAccessibleInterface;
class QTableView;

namespace tamsel {

// The grid's model answers headerData(0, Qt::Vertical, GridFileCountRole) with its number of files.
inline constexpr int GridFileCountRole = Qt::UserRole + 2;

// The table of a grid showing a file list: its rows are the list's files. Children are numbered as
// QTableView numbers them in its focus events: row by row, the header row and the number column
// first.
QAccessibleInterface* gridAccessible(QTableView* grid);

} // namespace tamsel

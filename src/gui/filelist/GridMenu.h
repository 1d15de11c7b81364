// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class QAction;

namespace tamsel {

class FileListCommands;
class FileListView;

// The grid's context menu: sorting by the column it was asked for, then the given commands.
void installGridMenu(FileListView* grid, FileListCommands* commands, const QList<QAction*>& more);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/filelist/GridMenu.h"

#include "core/filelist/ListSort.h"
#include "gui/filelist/FileListCommands.h"
#include "gui/filelist/FileListView.h"

#include <QMenu>

namespace tamsel {

void installGridMenu(FileListView* grid, FileListCommands* commands, const QList<QAction*>& more)
{
    QObject::connect(grid, &FileListView::contextMenuAsked, grid, [=](int column, QPoint at) {
        QMenu menu(grid);
        QAction* up = menu.addAction(QStringLiteral("按此列升序排序 (&A)"));
        QAction* down = menu.addAction(QStringLiteral("按此列降序排序 (&D)"));
        up->setObjectName(QStringLiteral("Menu_SortAscending"));
        down->setObjectName(QStringLiteral("Menu_SortDescending"));
        for (QAction* sort : {up, down})
            sort->setEnabled(isSortColumn(column));
        menu.addSeparator();
        menu.addActions(more);
        QAction* chosen = menu.exec(at);
        if (chosen == up || chosen == down)
            commands->sortByColumn(column, chosen == down);
    });
}

} // namespace tamsel

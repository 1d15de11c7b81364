// SPDX-License-Identifier: GPL-3.0-or-later
// One table of the window's commands: each command's menu item, toolbar button and shortcut are
// made from its one row.
#pragma once

#include <QKeySequence>
#include <QList>
#include <functional>

class QAction;
class QMenu;
class QToolBar;

namespace tamsel {

struct Command {
    enum class When {
        Always,
        NoPass,
        WholeList
    };                       // may run: always, not while a pass runs,
                             // not while a pass runs or a folder is read
    const char* item;        // the menu item's objectName
    const char16_t* caption; // the menu item's
    QMenu* menu;
    QKeySequence shortcut;
    int button = 0; // the toolbar button's number (Toolbar1_<n>), 0 for none
    const char16_t* buttonCaption = nullptr;
    const char16_t* tip = nullptr;
    When when = When::Always;
    std::function<void()> run;
};

// The actions made, by when they may run.
struct CommandActions {
    QList<QAction*> noPass;
    QList<QAction*> wholeList;
};

// The menu items in table order, and the toolbar's buttons in the order of their numbers, all
// sharing the toolbar's width.
CommandActions installCommands(const QList<Command>& commands, QToolBar* toolbar);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/CommandTable.h"

#include "gui/forms/FormBuilder.h"
#include "gui/style/Artwork.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <algorithm>

namespace tamsel {

CommandActions installCommands(const QList<Command>& commands, QToolBar* toolbar)
{
    CommandActions actions;
    const auto sort = [&](QAction* action, Command::When when) {
        if (when == Command::When::NoPass)
            actions.noPass << action;
        else if (when == Command::When::WholeList)
            actions.wholeList << action;
    };
    QList<const Command*> buttons;
    for (const Command& c : commands) {
        QAction* action = item(c.menu, c.item, QString::fromUtf16(c.caption), c.shortcut);
        QObject::connect(action, &QAction::triggered, c.menu, c.run);
        sort(action, c.when);
        if (c.button)
            buttons << &c;
    }
    std::sort(buttons.begin(), buttons.end(),
              [](const Command* a, const Command* b) { return a->button < b->button; });
    // The toolbar's font is the window's own, not the theme's, and its buttons share its width:
    // all of them show whatever the theme and the fonts at hand.
    const QFont font = toolbar->window()->font();
    toolbar->setFont(font);
    const int buttonWidth = toolbar->width() / int(std::max<qsizetype>(1, buttons.size()));
    for (const Command* c : std::as_const(buttons)) {
        auto* action = new QAction(toolbarIcon(ToolbarCommand(c->button)),
                                   QString::fromUtf16(c->buttonCaption), toolbar);
        action->setObjectName(QStringLiteral("Toolbar1_") + QString::number(c->button));
        action->setToolTip(QString::fromUtf16(c->tip));
        // The button shows the icon text, which Qt would otherwise trim.
        action->setIconText(action->text());
        toolbar->addAction(action);
        QWidget* button = toolbar->widgetForAction(action);
        button->setAccessibleName(action->text().trimmed());
        button->setFont(font);
        button->setFixedWidth(buttonWidth);
        QObject::connect(action, &QAction::triggered, toolbar, c->run);
        sort(action, c->when);
    }
    return actions;
}

} // namespace tamsel

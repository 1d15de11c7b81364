// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/AccessibleWidgets.h"

#include "gui/accessibility/Accessibility.h"
#include "gui/accessibility/GridAccessible.h"
#include "gui/chrome/Frame.h"
#include "gui/chrome/ImageButton.h"
#include "gui/chrome/LinkStrip.h"
#include "gui/chrome/TabControl.h"
#include "gui/filelist/FileListView.h"

#include <QTabBar>

namespace tamsel {
namespace {

QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (auto* button = qobject_cast<ImageButton*>(object))
        return pressableAccessible(button, QAccessible::Button, [button] { button->activate(); });
    if (auto* link = qobject_cast<LinkStrip*>(object))
        return pressableAccessible(link, QAccessible::Link, [link] { Q_EMIT link->clicked(); });
    if (auto* frame = qobject_cast<Frame*>(object))
        return groupAccessible(frame);
    if (auto* grid = qobject_cast<FileListView*>(object))
        return gridAccessible(grid);
    if (auto* bar = qobject_cast<QTabBar*>(object); bar && qobject_cast<TabControl*>(bar->parent()))
        return tabStripAccessible(bar);
    return markedAccessible(object);
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace tamsel

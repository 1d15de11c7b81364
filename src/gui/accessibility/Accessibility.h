// SPDX-License-Identifier: GPL-3.0-or-later
// What screen readers learn of the program's own widgets, beyond what Qt tells them. The widgets
// mark themselves here; the factory that knows their classes lives with the window.
#pragma once

#include <QAccessible>
#include <functional>

class QLabel;
class QObject;
class QString;
class QTabBar;
class QWidget;

namespace tamsel {

// Forgets what assistive technology was told of object so far. A widget of the program's own that
// is asked about while its base class is built gets the base's description; its constructor calls
// this once it is whole.
void refreshAccessible(QObject* object);

// A label behind other controls that only draws or catches the pointer: never exposed.
void markDecoration(QWidget* widget);

// A number read with its caption: "总文件数： 7" rather than "7".
void markCounter(QLabel* number, const QString& caption);

// A control drawn by the program that acts as one thing (a push button, a link), pressed by its
// press action; its inner labels are part of it.
QAccessibleInterface* pressableAccessible(QWidget* widget, QAccessible::Role role,
                                          std::function<void()> press);
// A group of controls whose decorations stay out of sight.
QAccessibleInterface* groupAccessible(QWidget* widget);
// The mode tabs of a tab control.
QAccessibleInterface* tabStripAccessible(QTabBar* bar);
// What the marks above make of object (a counter, a decoration, a widget holding decorations);
// null for anything else.
QAccessibleInterface* markedAccessible(QObject* object);

} // namespace tamsel

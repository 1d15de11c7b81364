// SPDX-License-Identifier: GPL-3.0-or-later
// What screen readers learn of the program's own widgets, beyond what Qt tells them.
#pragma once

class QLabel;
class QObject;
class QString;
class QWidget;

namespace tamsel {

// Installs the interfaces below; once per process, before any window is shown.
void installAccessibility();

// Forgets what assistive technology was told of object so far. A widget of the program's own that
// is asked about while its base class is built gets the base's description; its constructor calls
// this once it is whole.
void refreshAccessible(QObject* object);

// A label behind other controls that only draws or catches the pointer: never exposed.
void markDecoration(QWidget* widget);

// A number read with its caption: "总文件数： 7" rather than "7".
void markCounter(QLabel* number, const QString& caption);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Making the named controls of a form: the main window's at their twip positions, the list
// dialogs' in layouts. Every control gets its name as objectName.
#pragma once

#include "gui/style/Geometry.h"

#include <QKeySequence>
#include <QString>
#include <QStringList>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QWidget;

namespace tamsel {

class Frame;

template <typename W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A new control of type W at a place given in twips.
template <typename W> W* control(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* c = named(new W(parent), name);
    place(c, left, top, width, height);
    return c;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top);
// A number in a label placed by label(): the label grows with it, and shrinks back down to its
// minimum width.
void showCount(QLabel* label, qsizetype count);
// A frame at a place in twips, or, without one, for a layout.
Frame* frame(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
             int height);
Frame* frame(QWidget* parent, const char* name, const QString& caption);
// An editable box keeps exactly what was typed: no completion, no item chosen for it.
QComboBox* combo(QWidget* parent, const char* name, bool editable, int left, int top, int width,
                 int height = 300);
// The caption is what a screen reader says for the input, never the code name.
void caption(QLabel* label, QWidget* input);
// A number read with its caption.
void counter(QLabel* caption, QLabel* number);
// The box's items, the first chosen.
void fill(QComboBox* box, const QStringList& items);
QStringList numbers(int from, int to);

QMenu* menu(QMenuBar* bar, const char* name, const QString& caption);
QAction* item(QWidget* menu, const char* name, const QString& caption, QKeySequence shortcut = {});

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/forms/FormBuilder.h"

#include "gui/accessibility/Accessibility.h"
#include "gui/chrome/Frame.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QMenuBar>
#include <algorithm>

namespace tamsel {

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* l = named(new QLabel(text, parent), name);
    placeAt(l, left, top);
    return l;
}

void showCount(QLabel* label, qsizetype count)
{
    label->setText(QString::number(count));
    label->resize(std::max(label->sizeHint().width(), label->minimumWidth()), label->sizeHint().height());
}

Frame* frame(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
             int height)
{
    Frame* f = frame(parent, name, caption);
    place(f, left, top, width, height);
    return f;
}

Frame* frame(QWidget* parent, const char* name, const QString& caption)
{
    return named(new Frame(caption, parent), name);
}

QComboBox* combo(QWidget* parent, const char* name, bool editable, int left, int top, int width, int height)
{
    auto* c = control<QComboBox>(parent, name, left, top, width, height);
    c->setEditable(editable);
    if (editable) {
        c->setInsertPolicy(QComboBox::NoInsert);
        // Qt's default completer fills in items as the user types, and matches Enter to an item
        // whatever its letter case.
        auto* exact = new QCompleter(QStringList(), c);
        exact->setCaseSensitivity(Qt::CaseSensitive);
        c->setCompleter(exact);
    }
    c->setMaxVisibleItems(14);
    return c;
}

void caption(QLabel* label, QWidget* input)
{
    label->setBuddy(input);
    input->setAccessibleName(label->text());
}

void counter(QLabel* caption, QLabel* number)
{
    caption->setBuddy(number);
    markCounter(number, caption->text());
}

void fill(QComboBox* box, const QStringList& items)
{
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(0);
    if (box->isEditable())
        box->setEditText(items.first());
}

QStringList numbers(int from, int to)
{
    QStringList items;
    for (int i = from; i <= to; ++i)
        items << QString::number(i);
    return items;
}

QMenu* menu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("_Title"));
    return m;
}

QAction* item(QWidget* menu, const char* name, const QString& caption, QKeySequence shortcut)
{
    auto* action = named(new QAction(caption, menu), name);
    action->setShortcut(shortcut);
    menu->addAction(action);
    return action;
}

} // namespace tamsel

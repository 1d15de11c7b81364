// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/accessibility/Accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <QTabBar>

namespace tamsel {
namespace {

constexpr char DecorationProperty[] = "tamselDecoration";
constexpr char CounterProperty[] = "tamselCounterCaption";

bool isDecoration(const QObject* object)
{
    return object->property(DecorationProperty).toBool();
}

// A control drawn by the program that acts as one thing: a push button or a link, pressed by its
// press action; its inner labels are part of it, not children of their own.
class PressableAccessible final : public QAccessibleWidget {
public:
    PressableAccessible(QWidget* widget, QAccessible::Role role, std::function<void()> press)
        : QAccessibleWidget(widget, role), m_press(std::move(press))
    {
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            m_press();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    std::function<void()> m_press;
};

// A container whose decoration labels stay out of sight.
class ContainerAccessible final : public QAccessibleWidget {
public:
    explicit ContainerAccessible(QWidget* widget, QAccessible::Role role, const QString& name = {})
        : QAccessibleWidget(widget, role, name)
    {
    }
    int childCount() const override { return int(children().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> list = children();
        return index >= 0 && index < list.size() ? QAccessible::queryAccessibleInterface(list[index])
                                                 : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? int(children().indexOf(child->object())) : -1;
    }

private:
    QList<QWidget*> children() const
    {
        QList<QWidget*> list;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isWindow() && !isDecoration(w))
                list << w;
        }
        return list;
    }
};

// The mode tabs: the current one is selected, and only a focused bar has a focused tab.
class TabAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(QAccessibleInterface* strip, QTabBar* bar, int index)
        : m_strip(strip), m_bar(bar), m_index(index)
    {
    }
    bool isValid() const override { return m_bar && m_index < m_bar->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_strip->window(); }
    QAccessibleInterface* parent() const override { return m_strip; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_bar->tabText(m_index) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = m_bar->tabRect(m_index);
        return QRect(m_bar->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        const bool current = m_bar->currentIndex() == m_index;
        s.selectable = true;
        s.focusable = true;
        s.selected = current;
        s.focused = current && m_bar->hasFocus();
        s.invisible = !m_bar->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && isValid())
            m_bar->setCurrentIndex(m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QAccessibleInterface* m_strip;
    QPointer<QTabBar> m_bar;
    int m_index;
};

class TabStripAccessible final : public QAccessibleWidget {
public:
    explicit TabStripAccessible(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~TabStripAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_tabs))
            QAccessible::deleteAccessibleInterface(id);
    }
    int childCount() const override { return bar()->count(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= bar()->count())
            return nullptr;
        while (m_tabs.size() <= index)
            m_tabs << QAccessible::registerAccessibleInterface(
                new TabAccessible(const_cast<TabStripAccessible*>(this), bar(), int(m_tabs.size())));
        return QAccessible::accessibleInterface(m_tabs[index]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (qsizetype i = 0; i < m_tabs.size(); ++i) {
            if (QAccessible::accessibleInterface(m_tabs[i]) == child)
                return int(i);
        }
        return -1;
    }
    QAccessibleInterface* focusChild() const override
    {
        return bar()->hasFocus() ? child(bar()->currentIndex()) : nullptr;
    }
    // The focus is on the current tab, not on the strip as well.
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focused = false;
        return s;
    }

private:
    QTabBar* bar() const { return static_cast<QTabBar*>(widget()); }
    mutable QList<QAccessible::Id> m_tabs;
};

class CounterAccessible final : public QAccessibleWidget {
public:
    explicit CounterAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const auto* label = static_cast<const QLabel*>(widget());
        return label->property(CounterProperty).toString() + u' ' + label->text();
    }
};

bool hasDecorations(const QObject* object)
{
    for (const QObject* child : object->children()) {
        if (isDecoration(child))
            return true;
    }
    return false;
}

} // namespace

QAccessibleInterface* pressableAccessible(QWidget* widget, QAccessible::Role role,
                                          std::function<void()> press)
{
    return new PressableAccessible(widget, role, std::move(press));
}

QAccessibleInterface* groupAccessible(QWidget* widget)
{
    return new ContainerAccessible(widget, QAccessible::Grouping);
}

QAccessibleInterface* tabStripAccessible(QTabBar* bar)
{
    return new TabStripAccessible(bar);
}

QAccessibleInterface* markedAccessible(QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (auto* label = qobject_cast<QLabel*>(widget); label && label->property(CounterProperty).isValid())
        return new CounterAccessible(label);
    if (isDecoration(widget)) // reached only when asked for by name: nothing to say
        return new QAccessibleWidget(widget, QAccessible::NoRole);
    if (hasDecorations(widget))
        return new ContainerAccessible(widget, QAccessible::Client);
    return nullptr;
}

void refreshAccessible(QObject* object)
{
    if (QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(object))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
}

void markDecoration(QWidget* widget)
{
    widget->setProperty(DecorationProperty, true);
    refreshAccessible(widget);
    if (widget->parentWidget())
        refreshAccessible(widget->parentWidget());
}

void markCounter(QLabel* number, const QString& caption)
{
    number->setProperty(CounterProperty, caption);
    refreshAccessible(number);
}

} // namespace tamsel

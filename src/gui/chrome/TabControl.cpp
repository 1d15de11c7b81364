// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chrome/TabControl.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace tamsel {
namespace {

// One row of tabs sharing the width equally, whatever their captions.
class EvenTabBar : public QTabBar {
    Q_OBJECT // a class name of its own, which screen readers are told of in their own way
        public : using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override
    {
        QSize size = QTabBar::tabSizeHint(index);
        const int n = std::max(1, count());
        const int extra = index < width() % n ? 1 : 0;
        size.setWidth(width() / n + extra);
        return size;
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    // The tab control draws the tabs; the bar only takes the clicks and keys.
    void paintEvent(QPaintEvent*) override {}
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Home)
            setCurrentIndex(0);
        else if (event->key() == Qt::Key_End)
            setCurrentIndex(count() - 1);
        else
            QTabBar::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override
    {
        QTabBar::focusInEvent(event);
        parentWidget()->update();
        // The focus is on the current tab: that is what a screen reader names, after Qt has told
        // it of the bar.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (QAccessible::isActive() && hasFocus() && currentIndex() >= 0) {
                    QAccessibleEvent focus(this, QAccessible::Focus);
                    focus.setChild(currentIndex());
                    QAccessible::updateAccessibility(&focus);
                }
            },
            Qt::QueuedConnection);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QTabBar::focusOutEvent(event);
        parentWidget()->update();
    }
};

} // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent), m_bar(new EvenTabBar(this))
{
    m_bar->setExpanding(true);
    m_bar->setDrawBase(false);
    m_bar->setUsesScrollButtons(false);
    m_bar->setElideMode(Qt::ElideNone);
    m_bar->setAccessibleName(QStringLiteral("设定重命名方式"));
    connect(m_bar, &QTabBar::currentChanged, this, [this](int index) {
        showPage(index);
        update();
        Q_EMIT currentChanged(index);
    });
}

void TabControl::addStepKeys(QWidget* window)
{
    const auto step = [this](int delta) {
        const int n = count();
        setCurrentIndex((currentIndex() + delta + n) % n);
    };
    for (const auto keys : {Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::Key_PageDown})
        connect(new QShortcut(keys, window), &QShortcut::activated, this, [step] { step(1); });
    for (const auto keys : {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, Qt::CTRL | Qt::SHIFT | Qt::Key_Tab,
                            Qt::CTRL | Qt::Key_PageUp})
        connect(new QShortcut(keys, window), &QShortcut::activated, this, [step] { step(-1); });
}

QWidget* TabControl::addPage(const QString& caption)
{
    auto* page = new QWidget(this);
    page->setAccessibleName(caption);
    page->setGeometry(rect());
    page->setVisible(m_pages.empty());
    m_pages.push_back(page);
    m_bar->addTab(caption);
    m_bar->raise();
    return page;
}

int TabControl::currentIndex() const
{
    return m_bar->currentIndex();
}

void TabControl::setCurrentIndex(int index)
{
    m_bar->setCurrentIndex(index);
}

void TabControl::showPage(int index)
{
    for (size_t i = 0; i < m_pages.size(); ++i)
        m_pages[i]->setVisible(int(i) == index);
}

void TabControl::resizeEvent(QResizeEvent*)
{
    m_bar->setGeometry(0, 0, width(), m_bar->sizeHint().height());
    for (QWidget* page : m_pages)
        page->setGeometry(rect());
}

void TabControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintAppearance(p);
}

void TabControl::paintAppearance(QPainter& p) const
{
    // The classic look, drawn flat in the button-face colour so that a painter hooked onto the
    // control can find those areas.
    p.fillRect(rect(), palette().color(QPalette::Window));
    const QPalette system = palette();
    const QColor face = system.color(QPalette::Button);
    const QColor light = system.color(QPalette::Light);
    const QColor dark = system.color(QPalette::Dark);
    const QColor shadow = system.color(QPalette::Shadow);
    const int barHeight = m_bar->height();
    const QRect page(0, barHeight - 1, width(), height() - barHeight + 1);

    auto bevel = [&](const QRect& r, bool openBottom) {
        p.setPen(light);
        p.drawLine(r.topLeft(), openBottom ? r.bottomLeft() : r.bottomLeft() - QPoint(0, 1));
        p.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
        p.setPen(shadow);
        p.drawLine(r.topRight(), r.bottomRight());
        p.setPen(dark);
        p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() - QPoint(1, 0));
        if (!openBottom) {
            p.setPen(shadow);
            p.drawLine(r.bottomLeft(), r.bottomRight());
            p.setPen(dark);
            p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() - QPoint(1, 1));
        }
    };

    p.fillRect(page, face);
    bevel(page, false);

    QFont captionFont = font();
    captionFont.setStyleStrategy(QFont::NoAntialias);
    p.setFont(captionFont);
    const int current = m_bar->currentIndex();
    for (int i = 0; i < m_bar->count(); ++i) {
        const bool selected = i == current;
        QRect tab = m_bar->tabRect(i);
        tab.setBottom(barHeight - 1);
        if (!selected)
            tab.adjust(selected ? 0 : 1, 2, selected ? 0 : -1, -1);
        p.fillRect(tab, face);
        bevel(tab, true);
        if (selected) {
            // The selected tab opens into the page.
            p.fillRect(QRect(tab.left() + 1, barHeight - 1, tab.width() - 3, 2), face);
        }
        p.setPen(system.color(QPalette::ButtonText));
        p.drawText(tab.adjusted(0, selected ? 0 : 1, 0, 0), Qt::AlignCenter, m_bar->tabText(i));
        if (selected && m_bar->hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = tab.adjusted(4, 4, -4, -3);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
        }
    }
}

} // namespace tamsel

#include "TabControl.moc"

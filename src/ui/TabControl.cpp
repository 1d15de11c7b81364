// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TabControl.h"

#include <QPainter>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace tamsel {
namespace {

// One row of tabs sharing the width equally, whatever their captions.
class EvenTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

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

    // The style's tab padding would clip short captions in narrow tabs: shapes come from the
    // style, captions are centred in the whole tab.
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (int i = 0; i < count(); ++i) {
            QStyleOptionTab tab;
            initStyleOption(&tab, i);
            const QString caption = tab.text;
            tab.text.clear();
            style()->drawControl(QStyle::CE_TabBarTabShape, &tab, &painter, this);
            painter.setPen(tab.palette.color(QPalette::WindowText));
            painter.drawText(tab.rect.adjusted(0, i == currentIndex() ? 0 : 2, 0, 0), Qt::AlignCenter,
                             caption);
        }
    }
};

} // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent), m_bar(new EvenTabBar(this))
{
    m_bar->setExpanding(true);
    m_bar->setDrawBase(false);
    m_bar->setUsesScrollButtons(false);
    m_bar->setElideMode(Qt::ElideNone);
    connect(m_bar, &QTabBar::currentChanged, this, [this](int index) {
        showPage(index);
        Q_EMIT currentChanged(index);
    });
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

void TabControl::setPanelColor(const QColor& colour)
{
    m_panel = colour;
    QPalette p = m_bar->palette();
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Window, colour);
    m_bar->setPalette(p);
    update();
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
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, m_bar->height() - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_bar->size();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
    if (m_panel.isValid())
        painter.fillRect(frame.rect.adjusted(2, 2, -2, -2), m_panel);
}

} // namespace tamsel

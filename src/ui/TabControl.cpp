// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TabControl.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace tamsel {

TabControl::TabControl(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this))
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
    if (m_panel.isValid())
        painter.fillRect(frame.rect, m_panel);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

} // namespace tamsel

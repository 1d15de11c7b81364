// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>
#include <vector>

class QTabBar;

namespace tamsel {

// A tab control whose pages cover the whole control, tab strip included, so that controls on a
// page are placed relative to the control's top left corner. One row of equally wide tabs.
class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    QWidget* addPage(const QString& caption);
    QWidget* page(int index) const { return m_pages.at(size_t(index)); }
    int count() const { return int(m_pages.size()); }
    int currentIndex() const;
    void setCurrentIndex(int index);
    QTabBar* tabBar() const { return m_bar; }

    // Colour of the tab faces and the page area.
    void setPanelColor(const QColor& colour);

Q_SIGNALS:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPage(int index);

    QTabBar* m_bar;
    std::vector<QWidget*> m_pages;
    QColor m_panel;
};

} // namespace tamsel

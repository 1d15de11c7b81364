// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/chrome/TabPainter.h"

#include <QWidget>
#include <vector>

class QTabBar;

namespace tamsel {

// A tab control whose pages cover the whole control, tab strip included, so that controls on a
// page are placed relative to the control's top left corner. One row of equally wide tabs.
class TabControl : public QWidget, public PaintedControl {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    QWidget* addPage(const QString& caption);
    // The next and the previous page from anywhere in window, as in every tabbed window.
    void addStepKeys(QWidget* window);
    int count() const { return int(m_pages.size()); }
    int currentIndex() const;
    void setCurrentIndex(int index);
    QTabBar* tabBar() const { return m_bar; }
    void paintAppearance(QPainter& painter) const override;

Q_SIGNALS:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPage(int index);

    QTabBar* m_bar;
    std::vector<QWidget*> m_pages;
};

} // namespace tamsel

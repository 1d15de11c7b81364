// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QLineEdit;
class QScrollBar;

namespace tamsel {

// Checks every character typed into a box before it lands, and refuses every way of pasting
// (keys, context menu, middle click, drag and drop). The clipboard itself is never touched.
class KeystrokeFilter : public QObject {
    Q_OBJECT
public:
    // accepts(typed, box) decides one typed character; maxTyped > 0 limits what typing can reach.
    using Rule = std::function<bool(QChar typed, const QLineEdit& box)>;

    static void install(QLineEdit* box, Rule rule, int maxTyped = 0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeystrokeFilter(QLineEdit* box, Rule rule, int maxTyped);
    bool accepts(const QString& typed) const;

    QLineEdit* m_box;
    Rule m_rule;
    int m_maxTyped;
};

// A vertical scroll bar used as a spin control beside a text box: it rests at 2 of 1..3, its upper
// arrow lowers the number and its lower arrow raises it, within lowerBound and 100. The Up and
// Down keys in the box act as the arrows; the wheel over the spin steps once per notch.
void bindSpin(QScrollBar* spin, QLineEdit* box, int lowerBound);

} // namespace tamsel

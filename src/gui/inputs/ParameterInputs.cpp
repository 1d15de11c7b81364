// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/inputs/ParameterInputs.h"

#include "core/inputs/InputRules.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace tamsel {
namespace {

// The standard menu names its paste entry "edit-paste" in newer Qt versions; older ones show
// the paste shortcut after a tab.
bool isPasteAction(const QAction* action)
{
    static const QString shortcut =
        u'\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    return action->objectName() == QLatin1String("edit-paste") || action->text().endsWith(shortcut);
}

} // namespace

KeystrokeFilter::KeystrokeFilter(QLineEdit* box, Rule rule, int maxTyped)
    : QObject(box), m_box(box), m_rule(std::move(rule)), m_maxTyped(maxTyped)
{
}

void KeystrokeFilter::install(QLineEdit* box, Rule rule, int maxTyped)
{
    box->setAcceptDrops(false);
    box->installEventFilter(new KeystrokeFilter(box, std::move(rule), maxTyped));
}

bool KeystrokeFilter::accepts(const QString& typed) const
{
    for (const QChar c : typed) {
        if (!m_rule(c, *m_box))
            return false;
    }
    if (m_maxTyped > 0 && !(typed.size() == 1 && typed[0] == Backspace)) {
        const qsizetype after = m_box->text().size() - m_box->selectedText().size() + typed.size();
        if (after > m_maxTyped)
            return false;
    }
    return true;
}

bool KeystrokeFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_box)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste))
            return true;
        const QString text = key->text();
        // Keys that type no character (arrows, Delete, Tab) are not filtered.
        if (text.isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab ||
            key->key() == Qt::Key_Backtab)
            return false;
        return !accepts(text);
    }
    case QEvent::InputMethod: {
        auto* im = static_cast<QInputMethodEvent*>(event);
        if (!im->commitString().isEmpty() && !accepts(im->commitString())) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::ContextMenu: {
        auto* ev = static_cast<QContextMenuEvent*>(event);
        QMenu* menu = m_box->createStandardContextMenu();
        for (QAction* action : menu->actions()) {
            if (isPasteAction(action))
                action->setEnabled(false);
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(ev->globalPos());
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // The middle button pastes the X11 selection.
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        event->ignore();
        return true;
    default:
        return false;
    }
}

namespace {

// The keys and the wheel step a spin as its arrows do: Up as the upper arrow, Down as the lower
// one, and one step per notch of the wheel.
class SpinSteps : public QObject {
public:
    SpinSteps(QScrollBar* spin, QLineEdit* box) : QObject(spin), m_spin(spin), m_box(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_box && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Up && key != Qt::Key_Down)
                return false;
            m_spin->triggerAction(key == Qt::Key_Up ? QAbstractSlider::SliderSingleStepSub
                                                    : QAbstractSlider::SliderSingleStepAdd);
            return true;
        }
        if (watched == m_spin && event->type() == QEvent::Wheel) {
            m_wheel += static_cast<QWheelEvent*>(event)->angleDelta().y();
            for (; m_wheel >= Notch; m_wheel -= Notch)
                m_spin->triggerAction(QAbstractSlider::SliderSingleStepSub);
            for (; m_wheel <= -Notch; m_wheel += Notch)
                m_spin->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return true;
        }
        return false;
    }

private:
    static constexpr int Notch = 120; // eighths of a degree
    QScrollBar* m_spin;
    QLineEdit* m_box;
    int m_wheel = 0;
};

} // namespace

void bindSpin(QScrollBar* spin, QLineEdit* box, int lowerBound)
{
    auto* steps = new SpinSteps(spin, box);
    spin->installEventFilter(steps);
    box->installEventFilter(steps);
    constexpr int Rest = int(SpinPosition::Rest);
    spin->setRange(int(SpinPosition::Lower), int(SpinPosition::Raise));
    spin->setSingleStep(1);
    spin->setPageStep(1);
    spin->setValue(Rest);
    QObject::connect(spin, &QScrollBar::valueChanged, box, [spin, box, lowerBound](int value) {
        if (value == Rest)
            return;
        spin->setValue(Rest);
        if (const auto text = spinStep(SpinPosition(value), box->text(), lowerBound))
            box->setText(*text);
    });
}

} // namespace tamsel

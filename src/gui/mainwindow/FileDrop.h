// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <functional>

class QWidget;

namespace tamsel {

// Files and folders dragged from a file manager onto any part of window, the inputs that take
// dropped text included: add receives their paths once the drop has returned.
class FileDrop : public QObject {
public:
    FileDrop(QWidget* window, std::function<void(const QList<QByteArray>&)> add);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QList<QByteArray>&)> m_add;
};

} // namespace tamsel

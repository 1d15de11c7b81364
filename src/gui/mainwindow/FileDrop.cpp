// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/FileDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <optional>

namespace tamsel {
namespace {

// The local paths of a drop, as bytes; nothing unless every item is a local file or folder of this
// machine whose names decode without a "/" or NUL inside.
std::optional<QList<QByteArray>> droppedPaths(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    QList<QByteArray> paths;
    for (const QUrl& url : data->urls()) {
        // A file of another machine is no file of this one, whatever its path.
        if (!url.isLocalFile() || !(url.host().isEmpty() || url.host() == u"localhost"))
            return std::nullopt;
        // Percent-decoded by hand, a name at a time: a name that is not UTF-8 keeps its bytes, and
        // an encoded "/" or NUL inside a name is refused, never taken for a separator or an end.
        QByteArray path;
        for (const QByteArray& part : url.path(QUrl::FullyEncoded).toLatin1().split('/')) {
            const QByteArray name = QByteArray::fromPercentEncoding(part);
            if (name.contains('/') || name.contains('\0'))
                return std::nullopt;
            path += (path.isEmpty() && part.isEmpty() ? "" : "/") + name;
        }
        paths << path;
    }
    if (paths.isEmpty())
        return std::nullopt;
    return paths;
}

} // namespace

FileDrop::FileDrop(QWidget* window, std::function<void(const QList<QByteArray>&)> add)
    : QObject(window), m_add(std::move(add))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->acceptDrops())
            w->installEventFilter(this);
    }
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const auto paths = droppedPaths(drop->mimeData());
    if (!paths) {
        // Text dropped on an input is the input's; anything else is refused.
        if (watched != parent())
            return false;
        event->ignore();
        return true;
    }
    drop->acceptProposedAction();
    // After the drop returns: the file manager waits for it, and a folder brings a question.
    if (type == QEvent::Drop)
        QTimer::singleShot(0, this, [this, paths = *paths] { m_add(paths); });
    return true;
}

} // namespace tamsel

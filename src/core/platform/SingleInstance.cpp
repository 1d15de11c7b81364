// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace tamsel {
namespace {

QString lockFilePath(const QString& name)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + u'/' + name + u".lock";
}

} // namespace

SingleInstance::SingleInstance(const QString& name) : m_path(lockFilePath(name)), m_lock(m_path)
{
    // Only a dead owner makes a lock stale, however old it is.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::tryAcquire()
{
    return m_lock.isLocked() || m_lock.tryLock(0);
}

} // namespace tamsel

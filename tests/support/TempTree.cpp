// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TempTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamsel::test {

TempTree::TempTree() : m_dir(QDir::tempPath() + QStringLiteral("/tamsel-XXXXXX")) {}

QByteArray TempTree::root() const
{
    return QFile::encodeName(m_dir.path()) + '/';
}

QByteArray TempTree::file(const QByteArray& relative, qint64 size)
{
    const QByteArray path = root() + relative;
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        if (size > 0 && ::ftruncate(fd, size) != 0)
            qWarning("ftruncate failed");
        ::close(fd);
    }
    return path;
}

QByteArray TempTree::folder(const QByteArray& relative)
{
    const QByteArray path = root() + relative;
    ::mkdir(path.constData(), 0755);
    return path + '/';
}

} // namespace tamsel::test

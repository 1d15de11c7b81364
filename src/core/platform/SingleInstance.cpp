// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SingleInstance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tamsel {
namespace {

constexpr char Magic[] = "tamselrenvold-1";
constexpr qint64 MaxRequest = 64 << 20;

QString basePath(const QString& name)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + u'/' + name;
}

bool socketAddress(const QString& path, sockaddr_un* address)
{
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.size() >= qsizetype(sizeof address->sun_path))
        return false;
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}

// Waits for fd to be ready for events until deadline; false on a timeout.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int n = ::poll(&p, 1, int(std::max<qint64>(0, deadline.remainingTime())));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

bool writeAll(int fd, const QByteArray& data, const QDeadlineTimer& deadline)
{
    qsizetype sent = 0;
    while (sent < data.size()) {
        if (!waitFor(fd, POLLOUT, deadline))
            return false;
        const ssize_t n = ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        sent += std::max<ssize_t>(n, 0);
    }
    return true;
}

// Everything the peer sends until it closes its side, or nothing on a timeout or an error.
std::optional<QByteArray> readAll(int fd, const QDeadlineTimer& deadline)
{
    QByteArray data;
    char buffer[65536];
    for (;;) {
        if (!waitFor(fd, POLLIN, deadline))
            return std::nullopt;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0)
            return data;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return std::nullopt;
        }
        if (data.size() + n > MaxRequest)
            return std::nullopt;
        data.append(buffer, n);
    }
}

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), m_path(basePath(name)), m_lock(lockPath())
{
    // Only a dead owner makes a lock stale, however old it is.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server >= 0) {
        ::close(m_server);
        ::unlink(QFile::encodeName(socketPath()).constData());
    }
}

bool SingleInstance::tryAcquire()
{
    if (m_lock.isLocked())
        return true;
    if (!m_lock.tryLock(0))
        return false;
    listen();
    return true;
}

bool SingleInstance::listen()
{
    sockaddr_un address{};
    if (!socketAddress(socketPath(), &address))
        return false;
    // Whatever is there was left by an instance that no longer holds the lock.
    ::unlink(address.sun_path);
    m_server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_server < 0)
        return false;
    if (::bind(m_server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_server, 8) != 0) {
        ::close(m_server);
        m_server = -1;
        return false;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_server, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SingleInstance::accept);
    return true;
}

void SingleInstance::accept()
{
    for (;;) {
        const int client = ::accept4(m_server, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            return;
        // Only the same user may hand over; the runtime folder is theirs alone anyway.
        ucred peer{};
        socklen_t size = sizeof peer;
        const bool same =
            ::getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
        const QDeadlineTimer deadline(2000);
        const auto bytes = same ? readAll(client, deadline) : std::nullopt;
        const auto request = bytes ? decode(*bytes) : std::nullopt;
        // A start that gave up waiting has told its user so: what it sent is not taken.
        const bool answered = request && writeAll(client, "ok", deadline);
        ::close(client);
        if (answered)
            Q_EMIT handedOver(*request);
    }
}

bool SingleInstance::handOver(const HandOver& request, int timeoutMs) const
{
    sockaddr_un address{};
    if (!socketAddress(socketPath(), &address))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    // The first instance may still be starting: try until it listens.
    while (!deadline.hasExpired()) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            const bool sent = writeAll(fd, encode(request), deadline) && ::shutdown(fd, SHUT_WR) == 0;
            const auto answer = sent ? readAll(fd, deadline) : std::nullopt;
            ::close(fd);
            return answer == QByteArray("ok");
        }
        ::close(fd);
        QThread::msleep(50);
    }
    return false;
}

QByteArray SingleInstance::encode(const HandOver& request)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << QByteArray(Magic) << request.workingDir << request.paths;
    return bytes;
}

std::optional<HandOver> SingleInstance::decode(const QByteArray& bytes)
{
    QDataStream in(bytes);
    QByteArray magic;
    HandOver request;
    in >> magic >> request.workingDir >> request.paths;
    if (in.status() != QDataStream::Ok || magic != Magic || !in.atEnd())
        return std::nullopt;
    return request;
}

} // namespace tamsel

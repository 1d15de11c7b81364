// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SingleInstance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tamsel {
namespace {

constexpr char Magic[] = "tamselrenvold-1";
constexpr qint64 MaxRequest = 64 << 20;

// A folder fit for the lock and the socket: the user's own, closed to everyone else, no link.
bool isPrivateFolder(const QByteArray& path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

// The user's runtime folder, else a folder of the user's own in the temporary folder; empty when
// neither is safe, and then there is no hand-over: a folder another user made must not receive
// this user's starts.
QString basePath(const QString& name)
{
    QList<QByteArray> folders;
    if (const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"); !runtime.isEmpty())
        folders << runtime;
    const QByteArray own =
        QFile::encodeName(QDir::tempPath()) + "/tamselrenvold-" + QByteArray::number(::getuid());
    ::mkdir(own.constData(), 0700);
    folders << own;
    for (const QByteArray& folder : folders) {
        if (isPrivateFolder(folder))
            return QFile::decodeName(folder) + u'/' + name;
    }
    return {};
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

// count bytes from the peer, or nothing on a timeout, an error or an early end.
std::optional<QByteArray> readExactly(int fd, qsizetype count, const QDeadlineTimer& deadline)
{
    QByteArray data;
    char buffer[64];
    while (data.size() < count) {
        if (!waitFor(fd, POLLIN, deadline))
            return std::nullopt;
        const ssize_t n =
            ::recv(fd, buffer, size_t(std::min<qsizetype>(sizeof buffer, count - data.size())), 0);
        if (n == 0)
            return std::nullopt;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return std::nullopt;
        }
        data.append(buffer, n);
    }
    return data;
}

bool peerIsMe(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

QByteArray framed(const QByteArray& message)
{
    const quint32 n = quint32(message.size());
    const char length[4] = {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
    return QByteArray(length, 4) + message;
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
    m_clients.clear();
    if (m_server >= 0) {
        ::close(m_server);
        ::unlink(QFile::encodeName(socketPath()).constData());
    }
}

bool SingleInstance::tryAcquire()
{
    if (m_path.isEmpty() || m_lock.isLocked())
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

// A later start sends its request with its length ahead of it, is answered "ok", and acknowledges
// that it heard the answer: only then are its paths taken, for a start that gave up waiting has
// told its user so. Starts are read as their bytes come, never waited for: a start that sends
// nothing, or too much, or too slowly, is dropped.
struct SingleInstance::Client {
    int fd = -1;
    QByteArray received;
    std::optional<HandOver> request; // once whole and answered
    std::unique_ptr<QSocketNotifier> notifier;
    QTimer deadline;
    ~Client()
    {
        notifier.reset();
        ::close(fd);
    }
};

void SingleInstance::accept()
{
    for (;;) {
        const int fd = ::accept4(m_server, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        if (!peerIsMe(fd) || m_clients.size() >= MaxClients) {
            ::close(fd);
            continue;
        }
        auto client = std::make_unique<Client>();
        Client* c = client.get();
        c->fd = fd;
        c->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(c->notifier.get(), &QSocketNotifier::activated, this, [this, c] { readClient(c); });
        c->deadline.setSingleShot(true);
        connect(&c->deadline, &QTimer::timeout, this, [this, c] { dropClient(c); });
        c->deadline.start(ClientTimeoutMs);
        m_clients.push_back(std::move(client));
    }
}

void SingleInstance::readClient(Client* c)
{
    char buffer[65536];
    ssize_t n = 0;
    while ((n = ::recv(c->fd, buffer, sizeof buffer, 0)) > 0) {
        c->received.append(buffer, n);
        if (c->received.size() > MaxRequest + 5)
            return dropClient(c);
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
        return dropClient(c);
    const auto* p = reinterpret_cast<const uchar*>(c->received.constData());
    const qint64 length = c->received.size() >= 4 ? qint64(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3] : -1;
    if (length > MaxRequest)
        return dropClient(c);
    if (!c->request && length >= 0 && c->received.size() >= 4 + length) {
        c->request = decode(c->received.mid(4, length));
        if (!c->request || ::send(c->fd, "ok", 2, MSG_NOSIGNAL) != 2)
            return dropClient(c);
    }
    if (c->request && c->received.size() == 4 + length + 1 && c->received.endsWith('!')) {
        const HandOver request = *c->request;
        dropClient(c);
        Q_EMIT handedOver(request);
        return;
    }
    if (n == 0) // closed before the end
        dropClient(c);
}

void SingleInstance::dropClient(Client* c)
{
    // Later: the client's notifier or timer may be the caller.
    const auto it = std::find_if(m_clients.begin(), m_clients.end(),
                                 [c](const std::unique_ptr<Client>& k) { return k.get() == c; });
    if (it == m_clients.end())
        return;
    std::shared_ptr<Client> doomed(std::move(*it));
    m_clients.erase(it);
    doomed->notifier->setEnabled(false);
    doomed->deadline.stop();
    QTimer::singleShot(0, this, [doomed] {}); // gone once the event at hand is handled
}

bool SingleInstance::handOver(const HandOver& request, int timeoutMs) const
{
    sockaddr_un address{};
    if (m_path.isEmpty() || !socketAddress(socketPath(), &address))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    // The first instance may still be starting: try until it listens.
    while (!deadline.hasExpired()) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            // Nothing goes to a listener of another user.
            const bool sent = peerIsMe(fd) && writeAll(fd, framed(encode(request)), deadline);
            const bool answered =
                sent && readExactly(fd, 2, deadline) == QByteArray("ok") && writeAll(fd, "!", deadline);
            ::close(fd);
            return answered;
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

namespace {

// Reads what QDataStream writes, believing no count beyond the bytes that are there.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}
    bool atEnd() const { return m_at == m_bytes.size(); }
    // A size: 32 bits, or a marker and 64 bits for the large ones; nothing beyond what is left.
    std::optional<qint64> size(qint64 bytesEach)
    {
        auto n = number(4);
        if (n && *n == 0xfffffffe)
            n = number(8);
        if (!n || *n > quint64(m_bytes.size() - m_at) / quint64(bytesEach))
            return std::nullopt;
        return qint64(*n);
    }
    std::optional<QByteArray> bytes()
    {
        if (m_bytes.size() - m_at >= 4 && m_bytes.mid(m_at, 4) == "\xff\xff\xff\xff") {
            m_at += 4;
            return QByteArray(); // a null array
        }
        const auto n = size(1);
        if (!n)
            return std::nullopt;
        const QByteArray out = m_bytes.mid(m_at, *n);
        m_at += *n;
        return out;
    }

private:
    std::optional<quint64> number(int width)
    {
        if (m_bytes.size() - m_at < width)
            return std::nullopt;
        quint64 n = 0;
        for (int i = 0; i < width; ++i)
            n = (n << 8) | uchar(m_bytes[m_at++]);
        return n;
    }

    const QByteArray& m_bytes;
    qsizetype m_at = 0;
};

} // namespace

std::optional<HandOver> SingleInstance::decode(const QByteArray& bytes)
{
    Reader in(bytes);
    const auto magic = in.bytes();
    if (!magic || *magic != Magic)
        return std::nullopt;
    const auto workingDir = in.bytes();
    const auto count = in.size(4); // every path takes four bytes at least
    if (!workingDir || !count)
        return std::nullopt;
    HandOver request{*workingDir, {}};
    request.paths.reserve(*count);
    for (qint64 i = 0; i < *count; ++i) {
        const auto path = in.bytes();
        if (!path)
            return std::nullopt;
        request.paths << *path;
    }
    if (!in.atEnd())
        return std::nullopt;
    return request;
}

} // namespace tamsel

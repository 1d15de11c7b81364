// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QSocketNotifier;

namespace tamsel {

// What a later start hands to the running program: where it was started and its paths, as bytes.
struct HandOver {
    QByteArray workingDir;
    QList<QByteArray> paths;
    bool operator==(const HandOver&) const = default;
};

// One running instance per user: a lock file in the user's runtime folder (or a private folder of
// the user's own), and a local socket beside it through which a later start hands over what it was
// asked to open. A lock left by a process that no longer runs is taken over, and so is its socket.
// Where no folder is safe, every start runs on its own.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True for the first instance, which from then on listens for later ones.
    bool tryAcquire();
    // For a later instance: gives request to the first; true once the first has taken it.
    bool handOver(const HandOver& request, int timeoutMs = 5000) const;

    QString lockPath() const { return m_path + QStringLiteral(".lock"); }
    QString socketPath() const { return m_path + QStringLiteral(".socket"); }

    // The request as it travels, and back; nothing for bytes that are no request.
    static QByteArray encode(const HandOver& request);
    static std::optional<HandOver> decode(const QByteArray& bytes);

Q_SIGNALS:
    void handedOver(const tamsel::HandOver& request);

private:
    struct Client;
    static constexpr qsizetype MaxClients = 16;
    static constexpr int ClientTimeoutMs = 2000;

    bool listen();
    void accept();
    void readClient(Client* client);
    void dropClient(Client* client);

    QString m_path; // empty when no folder is safe for the lock and the socket
    QLockFile m_lock;
    int m_server = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::vector<std::unique_ptr<Client>> m_clients;
};

} // namespace tamsel

Q_DECLARE_METATYPE(tamsel::HandOver)

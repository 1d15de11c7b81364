// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SingleInstance.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace tamsel;

// Starts the real program, each with the same private runtime directory.
class TestSingleInstance : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }
    void start(QProcess& p)
    {
        p.setProcessEnvironment(environment());
        p.start(QStringLiteral(TAMSEL_EXE), {});
        QVERIFY(p.waitForStarted());
    }
    QString lockPath() const { return m_runtime.path() + QStringLiteral("/tamselrenvold.lock"); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void secondStartEndsAtOnce()
    {
        QProcess first;
        start(first);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lockPath()), 10000);

        QProcess second;
        start(second);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardOutput(), QByteArray());
        QCOMPARE(first.state(), QProcess::Running);

        // A crash leaves the lock behind; the next start takes it over.
        first.kill();
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(QFile::exists(lockPath()));
        QProcess third;
        start(third);
        QVERIFY2(!third.waitForFinished(1500), "a stale lock blocked the start");
        third.kill();
        third.waitForFinished(5000);
    }

    // A later start hands its paths, as bytes, and its folder to the running one over the socket.
    void aLaterStartHandsOver()
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        SingleInstance first(QStringLiteral("tamselrenvold"));
        // A crashed run left its socket file behind: it is no obstacle.
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(first.socketPath());
        std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
        ::unlink(socketPath.constData());
        const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QCOMPARE(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(stale);
        QVERIFY(first.tryAcquire());
        QSignalSpy handed(&first, &SingleInstance::handedOver);

        QTemporaryDir cwd;
        QProcess second;
        second.setProcessEnvironment(environment());
        second.setWorkingDirectory(cwd.path());
        // Through the shell: a name that is not UTF-8 cannot be a QString argument.
        second.start(QStringLiteral("/bin/sh"),
                     {QStringLiteral("-c"),
                      QStringLiteral("exec \"$0\" a.txt \"$(printf '\\262\\342.txt')\""),
                      QStringLiteral(TAMSEL_EXE)});
        QTRY_COMPARE_WITH_TIMEOUT(handed.size(), 1, 10000);
        QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        const auto request = handed.first().first().value<HandOver>();
        QCOMPARE(request.workingDir, QFile::encodeName(cwd.path()));
        QCOMPARE(request.paths, (QList<QByteArray>{"a.txt", "\xb2\xe2.txt"}));

        // Without paths it only asks the window to come forward.
        auto raised = std::async(std::launch::async, [&] { return first.handOver({"/", {}}); });
        QTRY_COMPARE(handed.size(), 2);
        QVERIFY(raised.get());
        QVERIFY(handed.last().first().value<HandOver>().paths.isEmpty());
        // Bytes that are no request are turned away.
        QCOMPARE(SingleInstance::decode("garbage"), std::nullopt);
    }

    // A start that gave up on a window too busy to answer has told its user so: the window must
    // not add its paths later.
    void aRequestGivenUpOnIsNotTaken()
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        SingleInstance first(QStringLiteral("busy"));
        QVERIFY(first.tryAcquire());
        QSignalSpy handed(&first, &SingleInstance::handedOver);
        // The first instance reads nothing while this thread waits: it is busy.
        QVERIFY(!first.handOver({"/", {"a.txt"}}, 300));
        QTest::qWait(300);
        QCOMPARE(handed.size(), 0);
        auto later = std::async(std::launch::async, [&] { return first.handOver({"/", {"b.txt"}}); });
        QTRY_COMPARE(handed.size(), 1);
        QVERIFY(later.get());
        QCOMPARE(handed.first().first().value<HandOver>().paths, QList<QByteArray>{"b.txt"});
    }

    void oneLockPerProcess()
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        SingleInstance a(QStringLiteral("unit"));
        SingleInstance b(QStringLiteral("unit"));
        QVERIFY(a.tryAcquire());
        QVERIFY(a.tryAcquire());
        QVERIFY(!b.tryAcquire());
        QCOMPARE(a.lockPath(), m_runtime.path() + QStringLiteral("/unit.lock"));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "TestSingleInstance.moc"

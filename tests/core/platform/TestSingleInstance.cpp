// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SingleInstance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
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

        // Paths that look like Qt's options are paths all the same: those that name a file, and
        // everything after "--".
        QFile(cwd.path() + QStringLiteral("/-reverse")).open(QIODevice::WriteOnly);
        QProcess third;
        third.setProcessEnvironment(environment());
        third.setWorkingDirectory(cwd.path());
        third.start(QStringLiteral(TAMSEL_EXE),
                    {QStringLiteral("-reverse"), QStringLiteral("b.txt"), QStringLiteral("--"),
                     QStringLiteral("-style"), QStringLiteral("x")});
        QTRY_COMPARE_WITH_TIMEOUT(handed.size(), 2, 10000);
        QVERIFY(third.state() == QProcess::NotRunning || third.waitForFinished(10000));
        QCOMPARE(handed.last().first().value<HandOver>().paths,
                 (QList<QByteArray>{"-reverse", "b.txt", "-style", "x"}));
        handed.clear();

        // Without paths it only asks the window to come forward.
        auto raised = std::async(std::launch::async, [&] { return first.handOver({"/", {}}); });
        QTRY_COMPARE(handed.size(), 1);
        QVERIFY(raised.get());
        QVERIFY(handed.last().first().value<HandOver>().paths.isEmpty());
        // Bytes that are no request are turned away.
        QCOMPARE(SingleInstance::decode("garbage"), std::nullopt);
    }

    // Counts and lengths are believed only as far as the bytes received bear them out.
    void theDecoderTrustsNoCount()
    {
        const HandOver request{"/home/li", {"a.txt", "\xb2\xe2.txt", ""}};
        const QByteArray bytes = SingleInstance::encode(request);
        QCOMPARE(SingleInstance::decode(bytes), request);
        for (qsizetype cut = 0; cut < bytes.size(); ++cut)
            QCOMPARE(SingleInstance::decode(bytes.left(cut)), std::nullopt);
        QCOMPARE(SingleInstance::decode(bytes + 'x'), std::nullopt);
        // The magic, an empty folder, then a count of paths that asks for gigabytes.
        const QByteArray magic = bytes.left(4 + 15);
        for (const QByteArray& count :
             {QByteArray("\x7f\xff\xff\xff"), QByteArray("\xff\xff\xff\xfe\x00\x00\x00\x18\x00\x00\x00\x00")})
            QCOMPARE(SingleInstance::decode(magic + QByteArray(4, '\0') + count), std::nullopt);
        QCOMPARE(SingleInstance::decode(magic + QByteArray("\x7f\xff\xff\xff")), std::nullopt);
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

    // Starts that send nothing, or too much, hold nobody up: the next one is answered at once.
    void idleAndOversizedStartsAreDropped()
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        SingleInstance first(QStringLiteral("idle"));
        QVERIFY(first.tryAcquire());
        QSignalSpy handed(&first, &SingleInstance::handedOver);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(first.socketPath());
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        QList<int> idle;
        for (int i = 0; i < 6; ++i) {
            idle << ::socket(AF_UNIX, SOCK_STREAM, 0);
            QCOMPARE(::connect(idle.last(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        }
        const int huge = idle.last();
        QCOMPARE(::send(huge, "\x7f\xff\xff\xff", 4, 0), 4);
        QElapsedTimer clock;
        clock.start();
        auto later = std::async(std::launch::async, [&] { return first.handOver({"/", {"c.txt"}}); });
        QTRY_COMPARE_WITH_TIMEOUT(handed.size(), 1, 1500);
        QVERIFY(later.get());
        QVERIFY2(clock.elapsed() < 1000, "idle starts held the window up");
        char byte = 0;
        QTRY_COMPARE(::recv(huge, &byte, 1, MSG_DONTWAIT), ssize_t(0)); // dropped
        for (const int fd : idle)
            ::close(fd);
    }

    // Without a runtime folder, and with the temporary folder's runtime folder planted by another
    // user, the lock and the socket still go to a folder of this user's alone.
    void noSharedFolderForTheSocket()
    {
        if (::geteuid() != 0)
            QSKIP("planting a folder of another user needs root");
        QTemporaryDir tmp; // a temporary folder as every user shares it
        QCOMPARE(::chmod(QFile::encodeName(tmp.path()).constData(), 01777), 0);
        const QByteArray planted = QFile::encodeName(tmp.path()) + "/runtime-root";
        QCOMPARE(::mkdir(planted.constData(), 0700), 0);
        QCOMPARE(::chown(planted.constData(), 65534, 65534), 0);
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        SingleInstance instance(QStringLiteral("planted"));
        qputenv("XDG_RUNTIME_DIR", runtime);
        qunsetenv("TMPDIR");
        const QByteArray folder = QFile::encodeName(QFileInfo(instance.lockPath()).path());
        struct stat st {};
        QCOMPARE(::lstat(folder.constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0);
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

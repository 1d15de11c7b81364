// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/SingleInstance.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

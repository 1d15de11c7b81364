// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/CellText.h"

#include <QDateTime>
#include <QTest>

using namespace tamsel;

class TestCellText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sizes_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << qint64(0) << QStringLiteral("0 KB ");
        QTest::newRow("1000") << qint64(1000) << QStringLiteral("0.9765625 KB ");
        QTest::newRow("1023 rounds to seven digits") << qint64(1023) << QStringLiteral("0.9990234 KB ");
        QTest::newRow("1536") << qint64(1536) << QStringLiteral("1.5 KB ");
        QTest::newRow("2560") << qint64(2560) << QStringLiteral("2.5 KB ");
        QTest::newRow("1 MiB") << qint64(1048576) << QStringLiteral("1024 KB ");
        QTest::newRow("1 byte") << qint64(1) << QStringLiteral("0.0009765625 KB ");
        QTest::newRow("5 GiB is not cut to 32 bits")
            << qint64(5) * 1024 * 1024 * 1024 << QStringLiteral("5242880 KB ");
        QTest::newRow("10 GiB needs an exponent")
            << qint64(10) * 1024 * 1024 * 1024 << QStringLiteral("1.048576E+07 KB ");
        QTest::newRow("single precision") << qint64(123456789) << QStringLiteral("120563.3 KB ");
    }
    void sizes()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(sizeText(bytes), text);
    }

    void nameSplit_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("extension");
        QTest::newRow("several dots")
            << QStringLiteral("a.b.c") << QStringLiteral("a.b") << QStringLiteral("c");
        QTest::newRow("no dot") << QStringLiteral("notes") << QStringLiteral("notes")
                                << QStringLiteral("无后缀名");
        QTest::newRow("leading dot") << QStringLiteral(".profile") << QString() << QStringLiteral("profile");
        QTest::newRow("trailing dot") << QStringLiteral("a.") << QStringLiteral("a") << QString();
        QTest::newRow("chinese") << QStringLiteral("照片 一.JPG") << QStringLiteral("照片 一")
                                 << QStringLiteral("JPG");
        QTest::newRow("blank extension")
            << QStringLiteral("a. txt") << QStringLiteral("a") << QStringLiteral(" txt");
    }
    void nameSplit()
    {
        QFETCH(QString, name);
        QFETCH(QString, main);
        QFETCH(QString, extension);
        QCOMPARE(mainNameOf(name).toString(), main);
        QCOMPARE(fileTypeText(name), extension);
        // The data behind the cell: no extension is an empty one, never the marker.
        QCOMPARE(extensionOf(name).toString(), extension == NoExtensionMarker ? QString() : extension);
    }

    void times()
    {
        // The tests run with TZ=UTC and the C locale.
        const qint64 afternoon = QDateTime(QDate(2024, 3, 9), QTime(13, 45, 7), Qt::UTC).toMSecsSinceEpoch();
        const QString text = timeText(afternoon + 999);
        QVERIFY2(text.endsWith(QStringLiteral(" 13:45:07")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("9")) && text.contains(QStringLiteral("3")), qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("UTC")), qPrintable(text));

        const qint64 midnight = QDateTime(QDate(2024, 3, 9), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
        const QString date = timeText(midnight);
        QVERIFY2(!date.contains(u':'), qPrintable(date));
        QVERIFY(text.startsWith(date + u' '));

        QCOMPARE(timeText(midnight + 1000), date + QStringLiteral(" 00:00:01"));
        // Before the epoch the seconds round down, not toward zero.
        QVERIFY(timeText(-500).endsWith(QStringLiteral(" 23:59:59")));
    }
};

QTEST_GUILESS_MAIN(TestCellText)
#include "TestCellText.moc"

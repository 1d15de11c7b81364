// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/NameCodec.h"

#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

class TestNameCodec : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyNameComesBackToItsBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("utf-8") << QByteArray("照片 一.JPG") << u"照片 一.JPG"_s;
        QTest::newRow("gbk") << QByteArray("\xb2\xe2\xca\xd4.txt") << u"\uFFFD\uFFFD\uFFFD\uFFFD.txt"_s;
        QTest::newRow("byte-order mark first") << QByteArray("\xef\xbb\xbfname") << u"\uFEFFname"_s;
        QTest::newRow("byte-order mark inside")
            << QByteArray("a\xe4\xb8\x80\xef\xbb\xbf\xda") << u"a一\uFEFF\uFFFD"_s;
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << u"\uFFFD\uFFFD"_s;
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << u"\uFFFD\uFFFD\uFFFD"_s;
        QTest::newRow("outside the basic plane") << QByteArray("\xf0\x90\x82\x80!") << u"\U00010080!"_s;
        QTest::newRow("beyond unicode") << QByteArray("\xf4\x90\x80\x80") << u"\uFFFD\uFFFD\uFFFD\uFFFD"_s;
        QTest::newRow("replacement character itself") << QByteArray("\xef\xbf\xbd\xfe") << u"\uFFFD\uFFFD"_s;
        QTest::newRow("a direction override hides the end") << QByteArray("b\xe2\x80\xae"
                                                                          "exe.txt")
                                                            << u"b⟦RLO⟧exe.txt"_s;
        QTest::newRow("controls") << QByteArray("x\ny\x7f\xc2\x85") << u"x␊y␡⟦U+0085⟧"_s;
    }
    void everyNameComesBackToItsBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const QString text = decodeName(bytes);
        QCOMPARE(encodeName(text), std::optional(bytes));
        char buffer[64];
        QCOMPARE(QByteArray(buffer, encodeNameTo(text, buffer, sizeof buffer)), bytes);
        QCOMPARE(encodeNameTo(text, buffer, bytes.size() - 1), -1);
        QCOMPARE(displayName(text), shown);
    }

    // Text that stands for no bytes: a lone surrogate that is no escaped byte.
    void surrogatesThatNameNoByteAreRefused()
    {
        QCOMPARE(encodeName(QString(u"a"_s + QChar(0xD800))), std::nullopt);
        QCOMPARE(encodeName(QString(u"a"_s + QChar(0xDC41))), std::nullopt);
        QCOMPARE(encodeName(QString(QChar(0xDCB2))), std::optional(QByteArray("\xb2")));
        char buffer[8];
        QCOMPARE(encodeNameTo(QString(u"a"_s + QChar(0xD800)), buffer, sizeof buffer), -1);
    }
};

QTEST_GUILESS_MAIN(TestNameCodec)
#include "TestNameCodec.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/inputs/InputRules.h"

#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

class TestInputRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void digitKeys_data()
    {
        QTest::addColumn<QChar>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("letter") << QChar(u'a') << u"5"_s << 0 << false;
        QTest::newRow("blank") << QChar(u' ') << u""_s << 0 << false;
        QTest::newRow("minus") << QChar(u'-') << u""_s << 0 << false;
        QTest::newRow("fullwidth digit") << QChar(u'５') << u""_s << 0 << false;
        QTest::newRow("ctrl+v") << QChar(0x16) << u""_s << 0 << false;
        QTest::newRow("ctrl+c") << QChar(0x03) << u"5"_s << 1 << false;
        QTest::newRow("digit") << QChar(u'7') << u""_s << 0 << true;
        QTest::newRow("backspace") << Backspace << u"57"_s << 0 << true;
        QTest::newRow("0 into empty") << QChar(u'0') << u""_s << 0 << false;
        QTest::newRow("0 over whole selection") << QChar(u'0') << u"12"_s << 2 << false;
        QTest::newRow("0 after 5") << QChar(u'0') << u"5"_s << 0 << true;
        QTest::newRow("0 over part of the text") << QChar(u'0') << u"12"_s << 1 << true;
        QTest::newRow("7 over whole selection") << QChar(u'7') << u"1"_s << 1 << true;
    }
    void digitKeys()
    {
        QFETCH(QChar, typed);
        QFETCH(QString, text);
        QFETCH(int, selected);
        QFETCH(bool, accepted);
        QCOMPARE(digitKeyFilter(typed, text, selected), accepted);
        QCOMPARE(startCharKeyFilter(OrdinalModel::Digits, typed, text, selected), accepted);
    }

    void offsetKeys_data()
    {
        QTest::addColumn<QChar>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("0 into empty") << QChar(u'0') << u""_s << true;
        QTest::newRow("5 after leading 0") << QChar(u'5') << u"0"_s << false;
        QTest::newRow("0 after leading 0") << QChar(u'0') << u"0"_s << false;
        QTest::newRow("backspace after leading 0") << Backspace << u"0"_s << true;
        QTest::newRow("5 into empty") << QChar(u'5') << u""_s << true;
        QTest::newRow("0 after 5") << QChar(u'0') << u"5"_s << true;
        QTest::newRow("letter") << QChar(u'x') << u""_s << false;
    }
    void offsetKeys()
    {
        QFETCH(QChar, typed);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QCOMPARE(offsetKeyFilter(typed, text), accepted);
    }

    void letterKeys()
    {
        QVERIFY(startCharKeyFilter(OrdinalModel::Upper, u'Q', u""_s, 0));
        QVERIFY(!startCharKeyFilter(OrdinalModel::Upper, u'q', u""_s, 0));
        QVERIFY(!startCharKeyFilter(OrdinalModel::Upper, u'3', u""_s, 0));
        QVERIFY(!startCharKeyFilter(OrdinalModel::Upper, u'Ä', u""_s, 0));
        QVERIFY(startCharKeyFilter(OrdinalModel::Upper, Backspace, u"A"_s, 0));
        QVERIFY(startCharKeyFilter(OrdinalModel::Lower, u'q', u""_s, 0));
        QVERIFY(!startCharKeyFilter(OrdinalModel::Lower, u'Q', u""_s, 0));
        QVERIFY(!startCharKeyFilter(OrdinalModel::Lower, u'ß', u""_s, 0));
        QVERIFY(startCharKeyFilter(OrdinalModel::Lower, Backspace, u""_s, 0));
    }

    void spin_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lower");
        QTest::addColumn<QString>("result"); // empty: unchanged
        QTest::newRow("upper arrow at the lower bound 1") << 1 << u"1"_s << 1 << QString();
        QTest::newRow("lower arrow raises") << 3 << u"1"_s << 1 << u"2"_s;
        QTest::newRow("lower arrow at 100") << 3 << u"100"_s << 1 << QString();
        QTest::newRow("lower arrow to 100") << 3 << u"99"_s << 0 << u"100"_s;
        QTest::newRow("upper arrow at 0") << 1 << u"0"_s << 0 << QString();
        QTest::newRow("upper arrow from 1 to 0") << 1 << u"1"_s << 0 << u"0"_s;
        QTest::newRow("rest position") << 2 << u"5"_s << 0 << QString();
        QTest::newRow("empty box stays empty") << 3 << u""_s << 0 << QString();
        QTest::newRow("leading zero") << 3 << u"07"_s << 0 << u"8"_s;
    }
    void spin()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        QFETCH(int, lower);
        QFETCH(QString, result);
        const auto stepped = spinStep(SpinPosition(value), text, lower);
        QCOMPARE(stepped.value_or(QString()), result);
    }

    void startItems()
    {
        const QStringList digits = startCharItems(OrdinalModel::Digits);
        QCOMPARE(digits.size(), 14);
        QCOMPARE(digits.first(), u"0"_s);
        QCOMPARE(digits.mid(9), (QStringList{u"9"_s, u"10"_s, u"100"_s, u"1000"_s, u"10000"_s}));
        const QStringList upper = startCharItems(OrdinalModel::Upper);
        QCOMPARE(upper.size(), 26);
        QCOMPARE(upper.first() + upper.last(), u"AZ"_s);
        QCOMPARE(startCharItems(OrdinalModel::Lower).join(QString()), u"abcdefghijklmnopqrstuvwxyz"_s);
    }
};

QTEST_GUILESS_MAIN(TestInputRules)
#include "TestInputRules.moc"

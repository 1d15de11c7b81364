// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/Numbering.h"
#include "core/rename/rules/RuleText.h"
#include "core/text/PlainText.h"

#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

class TestNameRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void join_data()
    {
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("result");
        QTest::newRow("txt") << u"a"_s << u"txt"_s << u"a.txt"_s;
        QTest::newRow(".txt") << u"a"_s << u".txt"_s << u"a.txt"_s;
        QTest::newRow("..txt") << u"a"_s << u"..txt"_s << u"a.txt"_s;
        QTest::newRow("dots only") << u"a"_s << u"..."_s << u"a"_s;
        QTest::newRow("empty") << u"a"_s << QString() << u"a"_s;
        QTest::newRow("marker") << u"a"_s << u"无后缀名"_s << u"a"_s;
        QTest::newRow("marker with blanks") << u"a"_s << u" 无后缀名 "_s << u"a"_s;
        QTest::newRow("blanks only") << u"a"_s << u"   "_s << u"a"_s;
        QTest::newRow("tar.gz") << u"a"_s << u"tar.gz"_s << u"a.tar.gz"_s;
        QTest::newRow("blank then txt") << u"a"_s << u" txt"_s << u"a. txt"_s;
        QTest::newRow("blank then .txt") << u"a"_s << u" .txt"_s << u"a. .txt"_s;
        QTest::newRow("trailing blank kept") << u"a"_s << u"txt "_s << u"a.txt "_s;
        QTest::newRow("empty main") << QString() << u"profile"_s << u".profile"_s;
        QTest::newRow("tab is not a blank") << u"a"_s << u"\t"_s << u"a.\t"_s;
    }
    void join()
    {
        QFETCH(QString, main);
        QFETCH(QString, extension);
        QFETCH(QString, result);
        QCOMPARE(joinNameAndExtension(main, extension), result);
    }

    void padding()
    {
        QCOMPARE(padNumber(8, 2), u"08"_s);
        QCOMPARE(padNumber(28, 2), u"28"_s);
        QCOMPARE(padNumber(100, 2), QString());
        QCOMPARE(padNumber(0, 1), u"0"_s);
        QCOMPARE(padNumber(2147483647, 9), QString());
        QCOMPARE(padNumber(7, 9), u"000000007"_s);
    }

    void capacity()
    {
        QCOMPARE(numberCapacity(90, 5, 2), qint64(2));
        QCOMPARE(numberCapacity(0, 1, 1), qint64(10));
        QCOMPARE(numberCapacity(100, 1, 2), qint64(0));
        QCOMPARE(numberCapacity(99, 1, 2), qint64(1));
        QCOMPARE(numberCapacity(0, 1000, 3), qint64(1));
        QCOMPARE(numberCapacity(1, 1, 9), qint64(999999999));
        // Widths a qint64 cannot count to saturate instead of overflowing.
        QCOMPARE(numberCapacity(0, 1, 18), qint64(1000000000000000000));
        QCOMPARE(numberCapacity(0, 1, 19), std::numeric_limits<qint64>::max());
        QCOMPARE(numberCapacity(5, 2, 40), (std::numeric_limits<qint64>::max() - 5) / 2 + 1);
    }

    void letters()
    {
        QCOMPARE(letterValue(u"A"_s), qint64(0));
        QCOMPARE(letterValue(u"Z"_s), qint64(25));
        QCOMPARE(letterValue(u"BA"_s), qint64(26));
        QCOMPARE(letterValue(u"ZZ"_s), qint64(675));
        QCOMPARE(letterValue(u"ABA"_s), qint64(26));
        QCOMPARE(letterValue(u"ZZZZZZZ"_s), qint64(8031810175));
        QCOMPARE(letterValue(QString(40, u'Z')), std::numeric_limits<qint64>::max());
    }

    void numbers()
    {
        QCOMPARE(readNumber(u" 12 "_s), std::optional<qint64>(12));
        QCOMPARE(readNumber(u"007"_s), std::optional<qint64>(7));
        QCOMPARE(readNumber(QString()), std::nullopt);
        QCOMPARE(readNumber(u"1a"_s), std::nullopt);
        QCOMPARE(readNumber(u"-1"_s), std::nullopt);
        QCOMPARE(readNumber(u"99999999999999999999999"_s), std::optional(std::numeric_limits<qint64>::max()));
        QCOMPARE(trimBlanks(u"\t a \t"_s), u"\t a \t"_s);
        QCOMPARE(trimBlanks(u"  a b  "_s), u"a b"_s);
        QCOMPARE(leftTrimBlanks(u"  a "_s), u"a "_s);
    }
};

QTEST_GUILESS_MAIN(TestNameRules)
#include "TestNameRules.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/CaseRule.h"
#include "core/rename/rules/DeleteRule.h"
#include "core/rename/rules/InsertRule.h"
#include "core/rename/rules/NameListRule.h"
#include "core/rename/rules/NumberingRule.h"
#include "core/rename/rules/ReplaceRule.h"
#include "core/text/NameCodec.h"

#include <QTest>
#include <functional>
#include <memory>

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

// The rule's name for the row at index, as planned for files rows; "-" for none.
QString named(const Rule& rule, const QString& name, int index = 0, int files = 1)
{
    const RulePlan plan = rule.plan(files, {});
    QString out;
    if (!plan.go || index >= plan.rows || !rule.step(RowName::split(name, index), plan, out).named)
        return u"-"_s;
    return out;
}

} // namespace

class TestRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deleteRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("fromFirst");
        QTest::addColumn<bool>("rightward");
        QTest::addColumn<QString>("result");
        QTest::newRow("first, rightward") << u"abcdef.x"_s << u"2"_s << u"3"_s << true << true << u"abf.x"_s;
        QTest::newRow("first, leftward, clamped")
            << u"abcdef.x"_s << u"2"_s << u"3"_s << true << false << u"cdef.x"_s;
        QTest::newRow("last, rightward, clamped")
            << u"abcdef.x"_s << u"2"_s << u"3"_s << false << true << u"abcd.x"_s;
        QTest::newRow("last, leftward") << u"abcdef.x"_s << u"2"_s << u"3"_s << false << false << u"aef.x"_s;
        QTest::newRow("defaults remove the first")
            << u"Photo01.x"_s << u"0"_s << u"1"_s << true << true << u"hoto01.x"_s;
        QTest::newRow("last, rightward, offset 0")
            << u"abc.x"_s << u"0"_s << u"2"_s << false << true << u"abc.x"_s;
        QTest::newRow("offset beyond the end")
            << u"abc.x"_s << u"9"_s << u"1"_s << true << true << u"abc.x"_s;
        QTest::newRow("everything") << u"ab.x"_s << u"0"_s << u"5"_s << true << true << u"-"_s;
        QTest::newRow("last, leftward, beyond the start")
            << u"abcdef.x"_s << u"5"_s << u"9"_s << false << false << u"bcdef.x"_s;
        QTest::newRow("first, leftward, beyond the end")
            << u"abc.x"_s << u"9"_s << u"2"_s << true << false << u"abc.x"_s;
        QTest::newRow("count 0") << u"abc.x"_s << u"1"_s << u"0"_s << true << true << u"abc.x"_s;
        QTest::newRow("chinese") << u"照片一二.x"_s << u"2"_s << u"1"_s << true << true << u"照片二.x"_s;
        QTest::newRow("outside the basic plane")
            << u"a\U0001F600b.x"_s << u"1"_s << u"1"_s << true << true << u"ab.x"_s;
        // The main name is lowered, the extension kept; İ is one character, without a combining dot.
        QTest::newRow("dotted capital I") << u"xİ.txt"_s << u"0"_s << u"1"_s << true << true << u"i.txt"_s;
        QTest::newRow("extension kept")
            << u"README.TXT"_s << u"0"_s << u"1"_s << true << true << u"eadme.TXT"_s;
        QTest::newRow("empty main") << u".profile"_s << u"0"_s << u"1"_s << true << true << u"-"_s;
        // Empty boxes count as 0: nothing is deleted, the name is lowered.
        QTest::newRow("empty boxes") << u"Photo01.JPG"_s << QString() << QString() << true << true
                                     << u"photo01.JPG"_s;
    }
    void deleteRule()
    {
        QFETCH(QString, name);
        QFETCH(QString, offset);
        QFETCH(QString, count);
        QFETCH(bool, fromFirst);
        QFETCH(bool, rightward);
        QFETCH(QString, result);
        QCOMPARE(named(DeleteRule({offset, count, fromFirst, rightward}), name), result);
    }

    void insertRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<bool>("fromFirst");
        QTest::addColumn<QString>("result");
        QTest::newRow("2 from the first") << u"abcdef.x"_s << u"XY"_s << u"2"_s << true << u"abxycdef.x"_s;
        QTest::newRow("2 from the last") << u"abcdef.x"_s << u"XY"_s << u"2"_s << false << u"abcdxyef.x"_s;
        QTest::newRow("0 from the first") << u"abcdef.x"_s << u"XY"_s << u"0"_s << true << u"xyabcdef.x"_s;
        QTest::newRow("0 from the last") << u"abcdef.x"_s << u"XY"_s << u"0"_s << false << u"abcdefxy.x"_s;
        QTest::newRow("L") << u"abcdef.x"_s << u"XY"_s << u"6"_s << true << u"abcdefxy.x"_s;
        QTest::newRow("L from the last") << u"abcdef.x"_s << u"XY"_s << u"6"_s << false << u"xyabcdef.x"_s;
        QTest::newRow("L + 1") << u"abcdef.x"_s << u"XY"_s << u"7"_s << true << u"-"_s;
        QTest::newRow("L + 1 from the last") << u"abcdef.x"_s << u"XY"_s << u"7"_s << false << u"-"_s;
        QTest::newRow("outside the basic plane")
            << u"\U0001F600b.x"_s << u"XY"_s << u"1"_s << true << u"\U0001F600xyb.x"_s;
        QTest::newRow("main lowered, extension kept")
            << u"ab.TXT"_s << u"XY"_s << u"2"_s << true << u"abxy.TXT"_s;
        QTest::newRow("no extension") << u"名字"_s << u"XY"_s << u"2"_s << true << u"名字xy"_s;
        QTest::newRow("nothing inserted") << u"ABC.txt"_s << QString() << u"0"_s << true << u"abc.txt"_s;
        // An empty offset box counts as 0, as in the delete tab.
        QTest::newRow("empty offset") << u"abcdef.txt"_s << u"_"_s << QString() << true << u"_abcdef.txt"_s;
        QTest::newRow("whole name from the last")
            << u"ABC.txt"_s << u"-"_s << u"3"_s << false << u"-abc.txt"_s;
    }
    void insertRule()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, offset);
        QFETCH(bool, fromFirst);
        QFETCH(QString, result);
        QCOMPARE(named(InsertRule({text, offset, fromFirst}), name), result);
    }

    void replaceRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<bool>("deleteOnly");
        QTest::addColumn<QString>("result");
        QTest::newRow("prefix") << u"IMG_001.jpg"_s << u"IMG_"_s << u"Trip-"_s << false << u"Trip-001.jpg"_s;
        // A byte that is not UTF-8 beside a character outside the basic plane: only the byte matches.
        QTest::newRow("half a pair") << decodeName("a\xf3\xb2\xb2\xb2\xb2.t") << decodeName("\xb2") << u"X"_s
                                     << false << u"a\U000F2CB2X.t"_s;
        QTest::newRow("case matters")
            << u"IMG_001.jpg"_s << u"img_"_s << u"Trip-"_s << false << u"IMG_001.jpg"_s;
        QTest::newRow("dots") << u"a.b.c.txt"_s << u"."_s << u"_"_s << false << u"a_b_c.txt"_s;
        QTest::newRow("no overlaps") << u"aaaa.txt"_s << u"aa"_s << u"b"_s << false << u"bb.txt"_s;
        QTest::newRow("odd overlap") << u"aaa.txt"_s << u"aa"_s << u"b"_s << false << u"ba.txt"_s;
        QTest::newRow("not searched again") << u"ab.txt"_s << u"a"_s << u"ab"_s << false << u"abb.txt"_s;
        QTest::newRow("delete wins") << u"xax.txt"_s << u"a"_s << u"x"_s << true << u"xx.txt"_s;
        QTest::newRow("nothing to find") << u"Photo.JPG"_s << QString() << u"x"_s << false << u"Photo.JPG"_s;
        QTest::newRow("all deleted") << u"aaa.txt"_s << u"a"_s << QString() << true << u".txt"_s;
        QTest::newRow("extension untouched") << u"txt.txt"_s << u"txt"_s << u"doc"_s << false << u"doc.txt"_s;
        QTest::newRow("no extension") << u"notes"_s << u"o"_s << u"0"_s << false << u"n0tes"_s;
    }
    void replaceRule()
    {
        QFETCH(QString, name);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(bool, deleteOnly);
        QFETCH(QString, result);
        QCOMPARE(named(ReplaceRule({find, replacement, deleteOnly}), name), result);
    }

    void caseRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("mainChange");
        QTest::addColumn<int>("extensionChange");
        QTest::addColumn<QString>("result");
        QTest::newRow("first upper, all lower") << u"hello world.TXT"_s << 1 << 3 << u"Hello world.txt"_s;
        QTest::newRow("rest kept") << u"mIXed.a"_s << 1 << 0 << u"MIXed.a"_s;
        QTest::newRow("digit first") << u"1abc.a"_s << 1 << 0 << u"1abc.a"_s;
        QTest::newRow("both kept") << u"Photo.JPG"_s << 0 << 0 << u"Photo.JPG"_s;
        QTest::newRow("no extension") << u"notes"_s << 2 << 2 << u"NOTES"_s;
        QTest::newRow("empty main") << u".profile"_s << 1 << 2 << u".PROFILE"_s;
        QTest::newRow("empty extension kept") << u"notes."_s << 0 << 1 << u"notes."_s;
        QTest::newRow("other scripts") << u"élan Ωmega 照片.Ä"_s << 2 << 3 << u"ÉLAN ΩMEGA 照片.ä"_s;
        QTest::newRow("first outside the basic plane") << u"\U00010428x.t"_s << 1 << 0 << u"\U00010400x.t"_s;
        QTest::newRow("empty name") << QString() << 1 << 1 << QString();
        // One character stays one: the simple case mapping, never ß to SS or ﬁ to FI.
        QTest::newRow("sharp s first") << u"ßeta.ß"_s << 1 << 2 << u"ßeta.ß"_s;
        QTest::newRow("ligature") << u"ﬁle.txt"_s << 2 << 0 << u"ﬁLE.txt"_s;
        QTest::newRow("dotted capital I") << u"İstanbul.TXT"_s << 3 << 3 << u"istanbul.txt"_s;
    }
    void caseRule()
    {
        QFETCH(QString, name);
        QFETCH(int, mainChange);
        QFETCH(int, extensionChange);
        QFETCH(QString, result);
        QCOMPARE(named(CaseRule(CaseChange(mainChange), CaseChange(extensionChange)), name), result);
    }

    // An extension that reads like the no-extension marker is an extension like any other.
    void markerExtensionKept_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<QStringList>("previews");
        QTest::newRow("numbering") << 0 << QStringList{u"1.无后缀名"_s, u"2"_s};
        QTest::newRow("delete") << 1 << QStringList{u"b.无后缀名"_s, u"d"_s};
        QTest::newRow("insert") << 2 << QStringList{u"xab.无后缀名"_s, u"xcd"_s};
        QTest::newRow("replace") << 3 << QStringList{u"ab.无后缀名"_s, u"cd"_s};
        QTest::newRow("case") << 4 << QStringList{u"AB.无后缀名"_s, u"CD"_s};
        QTest::newRow("name list") << 5 << QStringList{u"n.无后缀名"_s, u"m"_s};
    }
    void markerExtensionKept()
    {
        QFETCH(int, rule);
        QFETCH(QStringList, previews);
        NumberingInputs numbering;
        numbering.model = OrdinalModel::Digits;
        numbering.start = numbering.increment = numbering.width = u"1"_s;
        const std::function<std::unique_ptr<Rule>()> rules[] = {
            [&] { return std::make_unique<NumberingRule>(numbering); },
            [] {
                return std::make_unique<DeleteRule>(DeleteInputs{u"0"_s, u"1"_s, true, true});
            },
            [] {
                return std::make_unique<InsertRule>(InsertInputs{u"X"_s, u"0"_s, true});
            },
            [] {
                return std::make_unique<ReplaceRule>(ReplaceInputs{u"none"_s, u"x"_s, false});
            },
            [] { return std::make_unique<CaseRule>(CaseChange::AllUpper, CaseChange::Keep); },
            [] { return std::make_unique<NameListRule>(u"n\nm\n"_s); },
        };
        const auto made = rules[rule]();
        QCOMPARE((QStringList{named(*made, u"ab.无后缀名"_s, 0, 2), named(*made, u"cd"_s, 1, 2)}), previews);
    }

    void countNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("lines") << u"alpha\nbeta\n"_s << QStringList{u"alpha"_s, u"beta"_s};
        QTest::newRow("cr lf and cr") << u"a\r\nb\rc"_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("blank lines") << u"\n  \na\n\n"_s << QStringList{u"a"_s};
        QTest::newRow("blanks kept") << u"  x \n"_s << QStringList{u"  x "_s};
        QTest::newRow("only breaks") << u"\n\n\n"_s << QStringList{};
        QTest::newRow("tab is a name") << u"\t\n"_s << QStringList{u"\t"_s};
    }
    void countNames()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QCOMPARE(listedNames(text), names);
    }

    // Names in list order, each row keeping its own extension, as far as the names go.
    void nameListRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("result");
        const QString names = u"x\ny\nz\nsurplus\n"_s;
        QTest::newRow("first") << names << u"a.txt"_s << 0 << u"x.txt"_s;
        QTest::newRow("second") << names << u"b.jpg"_s << 1 << u"y.jpg"_s;
        QTest::newRow("no extension") << names << u"c"_s << 2 << u"z"_s;
        QTest::newRow("blanks kept") << u"  one \n"_s << u"a.txt"_s << 0 << u"  one .txt"_s;
        QTest::newRow("beyond the names") << u"  one \n"_s << u"b.jpg"_s << 1 << u"-"_s;
    }
    void nameListRule()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QString, result);
        const NameListRule rule(text);
        QString out;
        QCOMPARE(rule.step(RowName::split(name, index), rule.plan(3, {true}), out).named ? out : u"-"_s,
                 result);
    }

    // The plan: a refusal for a blank list, a question when it holds fewer names than rows, and the
    // name count for the page's counter.
    void nameListPlan_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("files");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<int>("refusal");
        QTest::addColumn<int>("question");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("nameCount");
        QTest::addColumn<int>("rows"); // -1: nothing is written
        const int none = int(PlanRefusal::None);
        const int noQuestion = int(PlanQuestion::None);
        const int tooFew = int(PlanQuestion::TooFewNames);
        QTest::newRow("more names than rows")
            << u"x\ny\nz\nsurplus\n"_s << 3 << QList<bool>{} << none << noQuestion << 0 << 4 << 3;
        QTest::newRow("blank") << u"   "_s << 3 << QList<bool>{} << int(PlanRefusal::NoNames) << noQuestion
                               << 0 << -1 << -1;
        QTest::newRow("too few") << u"  one \n"_s << 3 << QList<bool>{} << none << tooFew << 1 << 1 << -1;
        QTest::newRow("too few, no") << u"  one \n"_s << 3 << QList<bool>{false} << none << noQuestion << 0
                                     << 1 << -1;
        QTest::newRow("too few, yes")
            << u"  one \n"_s << 3 << QList<bool>{true} << none << noQuestion << 0 << 1 << 1;
        // Breaks only: not blank, no names.
        QTest::newRow("breaks only") << u"\n\n"_s << 3 << QList<bool>{} << none << tooFew << 0 << 0 << -1;
        QTest::newRow("no rows") << QString() << 0 << QList<bool>{} << none << noQuestion << 0 << -1 << -1;
    }
    void nameListPlan()
    {
        QFETCH(QString, text);
        QFETCH(int, files);
        QFETCH(QList<bool>, answers);
        QFETCH(int, refusal);
        QFETCH(int, question);
        QFETCH(int, capacity);
        QFETCH(int, nameCount);
        QFETCH(int, rows);
        const RulePlan plan = NameListRule(text).plan(files, answers);
        QCOMPARE(int(plan.refusal), refusal);
        QCOMPARE(int(plan.question), question);
        if (plan.question != PlanQuestion::None) {
            QCOMPARE(plan.files, qint64(files));
            QCOMPARE(plan.capacity, qint64(capacity));
        }
        QCOMPARE(plan.nameCount, nameCount);
        QCOMPARE(plan.go ? plan.rows : -1, rows);
    }
};

QTEST_GUILESS_MAIN(TestRules)
#include "TestRules.moc"

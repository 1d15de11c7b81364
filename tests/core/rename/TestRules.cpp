// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/CaseRule.h"
#include "core/rename/rules/ConvertRule.h"
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

    void regexRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("result");
        QTest::newRow("groups") << u"IMG_20240501_1234.jpg"_s << uR"x(IMG_(\d{4})(\d\d)(\d\d)_(\d+))x"_s
                                << u"$1-$2-$3 #$4"_s << u"2024-05-01 #1234.jpg"_s;
        QTest::newRow("download junk") << u"【高清】电影名[www.site.com].mp4"_s
                                       << uR"x(【[^】]*】|\[[^\]]*\])x"_s << QString() << u"电影名.mp4"_s;
        QTest::newRow("named groups") << u"S01E05 标题.mkv"_s << uR"x(S(?<s>\d+)E(?<e>\d+))x"_s
                                      << u"第${s}季第${e}集"_s << u"第01季第05集 标题.mkv"_s;
        QTest::newRow("two digits, then braces")
            << u"abcdefghijk"_s << u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)"_s << u"$11$1${1}1"_s << u"kaa1"_s;
        QTest::newRow("unset group") << u"b"_s << u"(a)?b"_s << u"[$1]"_s << u"[]"_s;
        QTest::newRow("case escapes") << u"hello big world.txt"_s << uR"x((\w+) (\w+) (\w+))x"_s
                                      << uR"x(\u$1 \U$2\E \Lx$3Y)x"_s << u"Hello BIG xworldy.txt"_s;
        QTest::newRow("first up, rest down")
            << u"JOHN SMITH"_s << uR"x(\w+)x"_s << uR"x(\u\L$0)x"_s << u"John Smith"_s;
        QTest::newRow("the rest keeps its case") << u"ABC def"_s << u"def"_s << uR"x(\Ux)x"_s << u"ABC X"_s;
        QTest::newRow("empty matches") << u"abc.txt"_s << u"x*"_s << u"-"_s << u"-a-b-c-.txt"_s;
        QTest::newRow("empty after a match") << u"aaa"_s << u"a*"_s << u"-"_s << u"--"_s;
        QTest::newRow("start anchor") << u"abcabc"_s << u"^abc"_s << u"X"_s << u"Xabc"_s;
        QTest::newRow("end anchor, main name only") << u"abcabc.c"_s << u"c$"_s << u"X"_s << u"abcabX.c"_s;
        QTest::newRow("case-sensitive") << u"Photo.JPG"_s << u"photo"_s << u"img"_s << u"Photo.JPG"_s;
        QTest::newRow("(?i)") << u"Photo.JPG"_s << u"(?i)PHOTO"_s << u"img"_s << u"img.JPG"_s;
        QTest::newRow("dollars") << u"价格"_s << u"价格"_s << uR"x($$5 $ $x \$ \\)x"_s << u"$5 $ $x $ \\"_s;
        QTest::newRow("Chinese") << u"第十二集.mp4"_s << u"第(.+)集"_s << u"EP$1"_s << u"EP十二.mp4"_s;
        QTest::newRow("outside the basic plane") << u"😀a"_s << u"."_s << u"[$0]"_s << u"[😀][a]"_s;
        // Bytes that are not UTF-8 never match, not even ".", and stay as they were.
        QTest::newRow("bytes kept") << decodeName("\xd5\xd5"
                                                  "abc\xc6.jpg")
                                    << u"abc"_s << u"X"_s << decodeName("\xd5\xd5X\xc6.jpg");
        QTest::newRow("bytes part matches") << decodeName("a\xff"
                                                          "b.txt")
                                            << u".+"_s << u"<$0>"_s << decodeName("<a>\xff<b>.txt");
        QTest::newRow("empty matches around a byte")
            << decodeName("\xff") << u"x*"_s << u"-"_s << decodeName("-\xff-");
        QTest::newRow("no pattern") << u"abc"_s << QString() << u"x"_s << u"abc"_s;
    }
    void regexRule()
    {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        QFETCH(QString, replacement);
        QFETCH(QString, result);
        QCOMPARE(named(ReplaceRule({pattern, replacement, false, true}), name), result);
        // 直接删除 is an empty replacement.
        QCOMPARE(named(ReplaceRule({pattern, replacement, true, true}), name),
                 named(ReplaceRule({pattern, QString(), false, true}), name));
    }

    void regexFaults_data()
    {
        using Kind = PatternFault::Kind;
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("detail");
        QTest::newRow("unclosed group") << u"中(文"_s << QString() << Kind::UnclosedGroup << 3 << QString();
        QTest::newRow("counted in characters")
            << u"😀[a"_s << QString() << Kind::UnclosedClass << 3 << QString();
        QTest::newRow("unmatched )") << u"ab)"_s << QString() << Kind::UnmatchedParenthesis << 2 << QString();
        QTest::newRow("nothing to repeat") << u"*a"_s << QString() << Kind::NothingToRepeat << 0 << QString();
        QTest::newRow("unknown name")
            << uR"x((a)\k<x>)x"_s << QString() << Kind::UnknownGroup << 6 << QString();
        QTest::newRow("bad escape") << uR"x(a\i)x"_s << QString() << Kind::BadEscape << 2 << QString();
        QTest::newRow("backslash at the end") << u"a\\"_s << QString() << Kind::BadEscape << 2 << QString();
        QTest::newRow("other") << u"a{2,1}"_s << QString() << Kind::Other << 5
                               << u"numbers out of order in {} quantifier"_s;
        QTest::newRow("$n beyond the groups")
            << u"(a)"_s << u"x$2"_s << Kind::ReplacementUnknownGroup << 3 << u"$2"_s;
        QTest::newRow("unknown ${name}")
            << u"(?<a>x)"_s << u"${b}"_s << Kind::ReplacementUnknownGroup << 4 << u"${b}"_s;
        QTest::newRow("unclosed ${") << u"a"_s << u"x${1"_s << Kind::ReplacementUnclosedName << 4
                                     << QString();
    }
    void regexFaults()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, replacement);
        QFETCH(PatternFault::Kind, kind);
        QFETCH(int, after);
        QFETCH(QString, detail);
        const ReplaceRule rule({pattern, replacement, false, true});
        const RulePlan plan = rule.plan(3, {});
        QCOMPARE(plan.refusal, PlanRefusal::PatternInvalid);
        QVERIFY(!plan.go);
        QCOMPARE(plan.fault.kind, kind);
        QCOMPARE(plan.fault.after, after);
        if (kind == PatternFault::Kind::Other || plan.fault.inReplacement())
            QCOMPARE(plan.fault.detail, detail);
    }

    // A runaway pattern gives up on its name in bounded work; the other rows are named.
    void regexRunawayBounded()
    {
        const ReplaceRule rule({u"(a+)+$"_s, u"X"_s, false, true});
        const QString runawayName = QString(40, u'a') + u"b.txt"_s;
        QString out = u"kept"_s;
        const RowOutcome runaway = rule.step(RowName::split(runawayName, 0), {}, out);
        QVERIFY(!runaway.named);
        QVERIFY(runaway.tooComplex);
        QCOMPARE(out, u"kept"_s);
        QCOMPARE(named(rule, u"aab.txt"_s), u"aab.txt"_s);
        QCOMPARE(named(rule, u"baa.txt"_s), u"bX.txt"_s);
    }

    // Chinese numerals become digits where a name counts with them, and only there.
    void numeralsRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("result");
        QTest::newRow("after 第, before 集") << u"第十二集.mp4"_s << 0 << u"第12集.mp4"_s;
        QTest::newRow("padded") << u"第十二集.mp4"_s << 3 << u"第012集.mp4"_s;
        QTest::newRow("with units") << u"第一百零五回"_s << 0 << u"第105回"_s;
        QTest::newRow("positional year") << u"二〇二四年总结"_s << 0 << u"2024年总结"_s;
        QTest::newRow("两, financial") << u"第两集 第叁集"_s << 2 << u"第02集 第03集"_s;
        QTest::newRow("the whole name") << u"十二.txt"_s << 0 << u"12.txt"_s;
        QTest::newRow("words stay") << u"三国演义 陆丹 一千零一夜"_s << 0 << u"-"_s;
    }
    void numeralsRule()
    {
        QFETCH(QString, name);
        QFETCH(int, width);
        QFETCH(QString, result);
        QCOMPARE(named(ConvertRule({ConvertInputs::Kind::Numerals, {}, {}, width}, nullptr), name), result);
    }

    void fullWidthRule()
    {
        const ConvertRule rule({ConvertInputs::Kind::FullWidth, {}, {}, 0}, nullptr);
        QCOMPARE(named(rule, u"ＡＢＣ１２３　报告．ＴＸＴ"_s), u"ABC123 报告.TXT"_s);
        QCOMPARE(named(rule, u"报告、总结「一」。txt"_s), u"-"_s);
        QCOMPARE(named(rule, u"ａ／ｂ"_s), u"a／b"_s); // no "/" in a name
        QCOMPARE(widestChineseNumber(u"第一百零五回 第三集"), 3);
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/PreviewPass.h"
#include "core/text/NameCodec.h"
#include "support/ScriptedPlan.h"

#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

class TestRules : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

    static void fill(FileList& list, const QStringList& names)
    {
        for (const QString& n : names)
            list.addFileRow(QByteArray("/none/") + *encodeName(n));
    }
    // The main name the rule makes of main, lowered as the rules lower it; "-" for no preview.
    template <typename Inputs>
    QString ruledMain(const QString& main, void (*rule)(FileList&, const Inputs&, const RowProgress&),
                      const Inputs& in)
    {
        FileList list(m_fs);
        fill(list, {main + u".x"_s});
        rule(list, in, {});
        const QString preview = list.cell(0, ColPreview);
        return preview.isEmpty() ? u"-"_s : preview.chopped(2);
    }
    static QStringList previews(const FileList& list)
    {
        QStringList out;
        for (int r = 0; r < list.fileCount(); ++r)
            out << list.cell(r, ColPreview);
        return out;
    }

private Q_SLOTS:
    void deleteTable_data()
    {
        QTest::addColumn<QString>("main");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("fromFirst");
        QTest::addColumn<bool>("rightward");
        QTest::addColumn<QString>("result");
        QTest::newRow("first, rightward") << u"abcdef"_s << 2 << 3 << true << true << u"abf"_s;
        QTest::newRow("first, leftward, clamped") << u"abcdef"_s << 2 << 3 << true << false << u"cdef"_s;
        QTest::newRow("last, rightward, clamped") << u"abcdef"_s << 2 << 3 << false << true << u"abcd"_s;
        QTest::newRow("last, leftward") << u"abcdef"_s << 2 << 3 << false << false << u"aef"_s;
        QTest::newRow("defaults remove the first") << u"Photo01"_s << 0 << 1 << true << true << u"hoto01"_s;
        QTest::newRow("last, rightward, offset 0") << u"abc"_s << 0 << 2 << false << true << u"abc"_s;
        QTest::newRow("offset beyond the end") << u"abc"_s << 9 << 1 << true << true << u"abc"_s;
        QTest::newRow("everything") << u"ab"_s << 0 << 5 << true << true << u"-"_s;
        QTest::newRow("last, leftward, beyond the start")
            << u"abcdef"_s << 5 << 9 << false << false << u"bcdef"_s;
        QTest::newRow("first, leftward, beyond the end") << u"abc"_s << 9 << 2 << true << false << u"abc"_s;
        QTest::newRow("count 0") << u"abc"_s << 1 << 0 << true << true << u"abc"_s;
        QTest::newRow("chinese") << u"照片一二"_s << 2 << 1 << true << true << u"照片二"_s;
        QTest::newRow("outside the basic plane") << u"a\U0001F600b"_s << 1 << 1 << true << true << u"ab"_s;
    }
    void deleteTable()
    {
        QFETCH(QString, main);
        QFETCH(int, offset);
        QFETCH(int, count);
        QFETCH(bool, fromFirst);
        QFETCH(bool, rightward);
        QFETCH(QString, result);
        const DeleteInputs in{QString::number(offset), QString::number(count), fromFirst, rightward};
        QCOMPARE(ruledMain(main, &applyDeleteRule, in), result.toLower());
    }

    void deleteRuleLowersTheMainNameOnly()
    {
        {
            FileList one(m_fs);
            fill(one, {u"xİ.txt"_s});
            applyDeleteRule(one, {u"0"_s, u"1"_s, true, true});
            QCOMPARE(one.cell(0, ColPreview), u"i.txt"_s); // one character, no combining dot
        }
        FileList list(m_fs);
        fill(list, {u"README.TXT"_s, u"ab.JPG"_s, u".profile"_s, u"Photo01.JPG"_s});
        applyDeleteRule(list, {u"0"_s, u"1"_s, true, true});
        QCOMPARE(previews(list), (QStringList{u"eadme.TXT"_s, u"b.JPG"_s, QString(), u"hoto01.JPG"_s}));
        // Empty boxes count as 0: nothing is deleted, the name is lowered.
        clearPreviews(list);
        applyDeleteRule(list, {QString(), QString(), true, true});
        QCOMPARE(previews(list), (QStringList{u"readme.TXT"_s, u"ab.JPG"_s, QString(), u"photo01.JPG"_s}));
    }

    void insertTable_data()
    {
        QTest::addColumn<QString>("main");
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("fromFirst");
        QTest::addColumn<QString>("result"); // "-" for no preview
        QTest::newRow("2 from the first") << u"abcdef"_s << 2 << true << u"abXYcdef"_s;
        QTest::newRow("2 from the last") << u"abcdef"_s << 2 << false << u"abcdXYef"_s;
        QTest::newRow("0 from the first") << u"abcdef"_s << 0 << true << u"XYabcdef"_s;
        QTest::newRow("0 from the last") << u"abcdef"_s << 0 << false << u"abcdefXY"_s;
        QTest::newRow("L") << u"abcdef"_s << 6 << true << u"abcdefXY"_s;
        QTest::newRow("L from the last") << u"abcdef"_s << 6 << false << u"XYabcdef"_s;
        QTest::newRow("L + 1") << u"abcdef"_s << 7 << true << u"-"_s;
        QTest::newRow("L + 1 from the last") << u"abcdef"_s << 7 << false << u"-"_s;
        QTest::newRow("outside the basic plane") << u"\U0001F600b"_s << 1 << true << u"\U0001F600XYb"_s;
    }
    void insertTable()
    {
        QFETCH(QString, main);
        QFETCH(int, offset);
        QFETCH(bool, fromFirst);
        QFETCH(QString, result);
        const InsertInputs in{u"XY"_s, QString::number(offset), fromFirst};
        QCOMPARE(ruledMain(main, &applyInsertRule, in), result.toLower());
    }

    void insertRule()
    {
        FileList list(m_fs);
        fill(list, {u"abcdef.txt"_s, u"ABC.txt"_s, u"ab.TXT"_s, u"名字"_s});
        applyInsertRule(list, {u"XY"_s, u"2"_s, true});
        QCOMPARE(previews(list),
                 (QStringList{u"abxycdef.txt"_s, u"abxyc.txt"_s, u"abxy.TXT"_s, u"名字xy"_s}));
        clearPreviews(list);
        applyInsertRule(list, {QString(), u"0"_s, true});
        QCOMPARE(previews(list), (QStringList{u"abcdef.txt"_s, u"abc.txt"_s, u"ab.TXT"_s, u"名字"_s}));
        // An empty offset box counts as 0, as in the delete tab.
        clearPreviews(list);
        applyInsertRule(list, {u"_"_s, QString(), true});
        QCOMPARE(previews(list).first(), u"_abcdef.txt"_s);
        clearPreviews(list);
        applyInsertRule(list, {u"-"_s, u"3"_s, false});
        QCOMPARE(previews(list), (QStringList{u"abc-def.txt"_s, u"-abc.txt"_s, QString(), QString()}));
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
        FileList list(m_fs);
        fill(list, {name});
        applyReplaceRule(list, {find, replacement, deleteOnly});
        QCOMPARE(list.cell(0, ColPreview), result);
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
        FileList list(m_fs);
        fill(list, {name});
        applyCaseRule(list, CaseChange(mainChange), CaseChange(extensionChange));
        QCOMPARE(list.cell(0, ColPreview), result);
    }

    void anExtensionThatReadsLikeTheMarkerIsKept()
    {
        FileList list(m_fs);
        fill(list, {u"ab.无后缀名"_s, u"cd"_s});
        test::ScriptedPlan script;
        NumberingInputs numbering;
        numbering.model = OrdinalModel::Digits;
        numbering.start = numbering.increment = numbering.width = u"1"_s;
        PreviewInputs in;
        in.numbering = numbering;
        in.deletion = {u"0"_s, u"1"_s, true, true};
        in.insertion = {u"X"_s, u"0"_s, true};
        in.replacement = {u"none"_s, u"x"_s, false};
        in.mainCase = CaseChange::AllUpper;
        in.names = u"n\nm\n"_s;
        const QList<std::pair<RenameMode, QStringList>> expected = {
            {RenameMode::Numbering, {u"1.无后缀名"_s, u"2"_s}},
            {RenameMode::DeleteCharacters, {u"b.无后缀名"_s, u"d"_s}},
            {RenameMode::Insert, {u"xab.无后缀名"_s, u"xcd"_s}},
            {RenameMode::Replace, {u"ab.无后缀名"_s, u"cd"_s}},
            {RenameMode::LetterCase, {u"AB.无后缀名"_s, u"CD"_s}},
            {RenameMode::NameFile, {u"n.无后缀名"_s, u"m"_s}},
        };
        for (const auto& [mode, previewed] : expected) {
            test::preview(list, script, mode, in);
            QCOMPARE(previews(list), previewed);
        }
        QCOMPARE(script.calls.size(), 0);
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

    void textFileRule()
    {
        FileList list(m_fs);
        fill(list, {u"a.txt"_s, u"b.jpg"_s, u"c"_s});
        test::ScriptedPlan script;
        int shown = -1;
        auto show = [&](int c) { shown = c; };
        test::nameList(list, script, u"x\ny\nz\nsurplus\n"_s, show);
        QCOMPARE(previews(list), (QStringList{u"x.txt"_s, u"y.jpg"_s, u"z"_s}));
        QCOMPARE(shown, 4);
        QCOMPARE(script.calls.size(), 0);

        clearPreviews(list);
        test::nameList(list, script, u"   \n"_s.left(3), show);
        QCOMPARE(script.calls.size(), 1);
        QCOMPARE(script.calls[0].kind, u"message"_s);
        QCOMPARE(script.calls[0].text, u"无预命名信息，请选择有命名信息的文件！"_s);
        QCOMPARE(shown, 4); // the count is left alone

        // Fewer names: the question; No writes nothing, Yes the names there are.
        script.answerNo();
        test::nameList(list, script, u"  one \n"_s, show);
        QCOMPARE(script.calls[1].text,
                 u"列表中一共有［3］个文件；\n预命名信息有［1］条；\n"
                 "只能对［1］个文件进行重命名。\n多余的［2］个文件将忽略。是否继续？"_s);
        QCOMPARE(script.calls[1].caption, u"提示信息"_s);
        QCOMPARE(previews(list), QStringList(3));
        QCOMPARE(shown, 1);
        script.answerYes();
        test::nameList(list, script, u"  one \n"_s, show);
        QCOMPARE(previews(list), (QStringList{u"  one .txt"_s, QString(), QString()}));

        // Breaks only: not blank, no names.
        clearPreviews(list);
        script.answerYes();
        test::nameList(list, script, u"\n\n"_s, show);
        QVERIFY(script.calls.last().text.contains(u"预命名信息有［0］条"_s));
        QCOMPARE(previews(list), QStringList(3));
        QCOMPARE(script.unanswered, 0);

        FileList empty(m_fs);
        test::nameList(empty, script, QString(), show);
        QCOMPARE(script.calls.size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestRules)
#include "TestRules.moc"

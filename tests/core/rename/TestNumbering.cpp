// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/PreviewPass.h"
#include "support/ScriptedPlan.h"

#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<tamsel::OrdinalModel>)

class TestNumbering : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

    // Files named f1.jpg, f2.txt, ... (nothing on disk is needed).
    static void fill(FileList& list, int files, const QStringList& extensions = {u"jpg"_s, u"txt"_s})
    {
        list.beginBatch();
        for (int i = 1; i <= files; ++i)
            list.addFileRow(QByteArray("/none/f") + QByteArray::number(i) + '.' +
                            extensions[(i - 1) % extensions.size()].toUtf8());
        list.endBatch();
    }
    static QStringList previews(const FileList& list)
    {
        QStringList out;
        for (int r = 0; r < list.fileCount(); ++r)
            out << list.cell(r, ColPreview);
        return out;
    }
    static NumberingInputs inputs(OrdinalModel model, const QString& start, const QString& increment,
                                  const QString& width)
    {
        NumberingInputs in;
        in.model = model;
        in.start = start;
        in.increment = increment;
        in.width = width;
        return in;
    }
    // Main names of the previews (each file keeps its own extension).
    static QStringList mains(const FileList& list)
    {
        QStringList out;
        for (const QString& p : previews(list))
            out << p.section(u'.', 0, 0);
        return out;
    }

private Q_SLOTS:
    void workedExamples_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("increment");
        QTest::addColumn<QString>("width");
        QTest::addColumn<int>("files");
        QTest::addColumn<QVariantList>("answers");
        QTest::addColumn<QStringList>("names");
        const auto digits = int(OrdinalModel::Digits);
        const auto upper = int(OrdinalModel::Upper);
        const auto lower = int(OrdinalModel::Lower);
        QTest::newRow("0 1 2") << digits << u"0"_s << u"1"_s << u"2"_s << 3 << QVariantList{}
                               << QStringList{u"00"_s, u"01"_s, u"02"_s};
        QTest::newRow("1 1 3") << digits << u"1"_s << u"1"_s << u"3"_s << 4 << QVariantList{}
                               << QStringList{u"001"_s, u"002"_s, u"003"_s, u"004"_s};
        QTest::newRow("8 5 2") << digits << u"8"_s << u"5"_s << u"2"_s << 5 << QVariantList{}
                               << QStringList{u"08"_s, u"13"_s, u"18"_s, u"23"_s, u"28"_s};
        QTest::newRow("90 5 2 yes") << digits << u"90"_s << u"5"_s << u"2"_s << 5 << QVariantList{true}
                                    << QStringList{u"90"_s, u"95"_s, QString(), QString(), QString()};
        QTest::newRow("90 5 2 no") << digits << u"90"_s << u"5"_s << u"2"_s << 5 << QVariantList{false}
                                   << QStringList(5);
        QTest::newRow("A 1") << upper << u"A"_s << u"1"_s << u"1"_s << 3 << QVariantList{}
                             << QStringList{u"A"_s, u"B"_s, u"C"_s};
        QTest::newRow("Y 2 padded") << upper << u"Y"_s << u"1"_s << u"2"_s << 4 << QVariantList{}
                                    << QStringList{u"AY"_s, u"AZ"_s, u"BA"_s, u"BB"_s};
        QTest::newRow("Y 1 yes") << upper << u"Y"_s << u"1"_s << u"1"_s << 4 << QVariantList{true}
                                 << QStringList{u"Y"_s, u"Z"_s, QString(), QString()};
        QTest::newRow("ABC 2 yes") << upper << u"ABC"_s << u"1"_s << u"2"_s << 2 << QVariantList{true}
                                   << QStringList{u"ABC"_s, u"ABD"_s};
        QTest::newRow("ABC 2 no") << upper << u"ABC"_s << u"1"_s << u"2"_s << 2 << QVariantList{false}
                                  << QStringList{u"BC"_s, u"BD"_s};
        QTest::newRow("x 1") << lower << u"x"_s << u"1"_s << u"1"_s << 3 << QVariantList{}
                             << QStringList{u"x"_s, u"y"_s, u"z"_s};
        QTest::newRow("C 3 padded") << upper << u"C"_s << u"1"_s << u"3"_s << 2 << QVariantList{}
                                    << QStringList{u"AAC"_s, u"AAD"_s};
        QTest::newRow("start trimmed")
            << digits << u"  7 "_s << u" 1"_s << u"1"_s << 2 << QVariantList{} << QStringList{u"7"_s, u"8"_s};
        QTest::newRow("width exactly the last")
            << digits << u"1"_s << u"1"_s << u"2"_s << 10 << QVariantList{}
            << QStringList{u"01"_s, u"02"_s, u"03"_s, u"04"_s, u"05"_s,
                           u"06"_s, u"07"_s, u"08"_s, u"09"_s, u"10"_s};
        QTest::newRow("start 100 width 2")
            << digits << u"100"_s << u"1"_s << u"2"_s << 2 << QVariantList{true} << QStringList(2);
        QTest::newRow("width 7") << upper << u"A"_s << u"1"_s << u"7"_s << 2 << QVariantList{}
                                 << QStringList{u"AAAAAAA"_s, u"AAAAAAB"_s};
    }
    void workedExamples()
    {
        QFETCH(int, model);
        QFETCH(QString, start);
        QFETCH(QString, increment);
        QFETCH(QString, width);
        QFETCH(int, files);
        QFETCH(QVariantList, answers);
        QFETCH(QStringList, names);
        FileList list(m_fs);
        fill(list, files);
        test::ScriptedPlan script;
        for (const QVariant& a : answers)
            a.toBool() ? script.answerYes() : script.answerNo();
        test::numbering(list, script, inputs(OrdinalModel(model), start, increment, width));
        QCOMPARE(mains(list), names);
        QCOMPARE(script.calls.size(), answers.size());
        QCOMPARE(script.unanswered, 0);
        // Named rows keep their own extension.
        if (!names.first().isEmpty())
            QVERIFY(list.cell(0, ColPreview).endsWith(u".jpg"_s));
    }

    void digitCapacityQuestion()
    {
        FileList list(m_fs);
        fill(list, 5);
        test::ScriptedPlan script;
        script.answerNo();
        QVERIFY(!test::numbering(list, script, inputs(OrdinalModel::Digits, u"90"_s, u"5"_s, u"2"_s)));
        QCOMPARE(script.calls.size(), 1);
        QCOMPARE(script.calls[0].kind, u"question"_s);
        QCOMPARE(script.calls[0].caption, u"提示信息"_s);
        QCOMPARE(script.calls[0].text, u"列表中一共有［5］个文件；\n开始编号为［90］；\n增量为［5］；\n"
                                       "您选择的位数为［2］位；\n只能对［2］个文件进行重命名。\n"
                                       "多余的［3］个文件将忽略。是否继续？"_s);
    }

    void startUpDefaultsWithFifteenFiles()
    {
        FileList list(m_fs);
        fill(list, 15);
        test::ScriptedPlan script;
        script.answerYes();
        QVERIFY(test::numbering(list, script, inputs(OrdinalModel::Digits, u"0"_s, u"1"_s, u"1"_s)));
        QVERIFY(
            script.calls[0].text.contains(u"只能对［10］个文件进行重命名。\n多余的［5］个文件将忽略。"_s));
        const QStringList names = mains(list);
        QCOMPARE(names.mid(0, 10), (QStringList{u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s,
                                                u"7"_s, u"8"_s, u"9"_s}));
        QCOMPARE(names.mid(10), QStringList(5));
    }

    void startWiderThanWidth()
    {
        FileList list(m_fs);
        fill(list, 3);
        test::ScriptedPlan script;
        script.answerYes();
        test::numbering(list, script, inputs(OrdinalModel::Digits, u"100"_s, u"1"_s, u"2"_s));
        QCOMPARE(script.calls[0].text.split(u'\n')[4], u"只能对［0］个文件进行重命名。"_s);
    }

    void letterCapacityQuestions()
    {
        FileList list(m_fs);
        fill(list, 30);
        test::ScriptedPlan script;
        script.answerYes();
        test::numbering(list, script, inputs(OrdinalModel::Upper, u"A"_s, u"1"_s, u"1"_s));
        QCOMPARE(script.calls[0].text,
                 u"列表中一共有［30］个文件；\n开始编号为［A］；\n您选择的位数为［1］位；\n"
                 "只能对［26］个文件进行重命名。\n多余的［4］个文件将忽略。是否继续？"_s);
        QCOMPARE(mains(list)[25], u"Z"_s);
        QCOMPARE(mains(list)[26], QString());

        // The question shows the start as adjusted, in the model's case, and the width it ended with.
        FileList four(m_fs);
        fill(four, 4);
        test::ScriptedPlan lowerScript;
        lowerScript.answerYes(); // widen to the start's length
        lowerScript.answerNo();  // then too few names: no
        test::numbering(four, lowerScript, inputs(OrdinalModel::Lower, u"zzy"_s, u"1"_s, u"2"_s));
        QCOMPARE(lowerScript.calls[0].caption, u"操作提示"_s);
        QCOMPARE(lowerScript.calls[0].text,
                 u"您选择的位数少于开始字符的位数，是否补充位数？\n"
                 "以开始字符的长度为位数单击［是］；\n以当前选择位数为长度请单击［否］；"_s);
        QCOMPARE(lowerScript.calls[1].text,
                 u"列表中一共有［4］个文件；\n开始编号为［zzy］；\n您选择的位数为［3］位；\n"
                 "只能对［2］个文件进行重命名。\n多余的［2］个文件将忽略。是否继续？"_s);
        QCOMPARE(previews(four), QStringList(4));
    }

    void innerLettersCount()
    {
        FileList list(m_fs);
        fill(list, 17550);
        test::ScriptedPlan script;
        QVERIFY(test::numbering(list, script, inputs(OrdinalModel::Upper, u"ABA"_s, u"1"_s, u"3"_s)));
        QCOMPARE(script.calls.size(), 0);
        QCOMPARE(list.cell(17549, ColPreview).section(u'.', 0, 0), u"ZZZ"_s);
        list.addFileRow("/none/one-more.txt");
        script.answerYes();
        test::numbering(list, script, inputs(OrdinalModel::Upper, u"ABA"_s, u"1"_s, u"3"_s));
        QVERIFY(script.calls[0].text.contains(u"只能对［17550］个文件"_s));
        QCOMPARE(list.cell(17550, ColPreview), QString());
    }

    void wideLetterStartsBeyondTheCapacity()
    {
        FileList list(m_fs);
        fill(list, 2);
        test::ScriptedPlan script;
        script.answerYes();
        // BAAAAAA is 26^6: widths 7 to 9 count with 26^6, so no name is left.
        test::numbering(list, script, inputs(OrdinalModel::Upper, u"BAAAAAA"_s, u"1"_s, u"7"_s));
        QVERIFY(script.calls[0].text.contains(u"只能对［0］个文件进行重命名。\n多余的［2］个"_s));
        QCOMPARE(previews(list), QStringList(2));
    }

    void decorationsAndExtensions()
    {
        FileList list(m_fs);
        fill(list, 3, {u"jpg"_s, u"无"_s, u"TXT"_s});
        list.addFileRow("/none/noext");
        test::ScriptedPlan script;
        NumberingInputs in = inputs(OrdinalModel::Upper, u"A"_s, u"1"_s, u"1"_s);
        in.prefix = u" IMG_ "_s;
        in.suffix = u"_v"_s;
        test::numbering(list, script, in);
        QCOMPARE(previews(list),
                 (QStringList{u"IMG_A_v.jpg"_s, u"IMG_B_v.无"_s, u"IMG_C_v.TXT"_s, u"IMG_D_v"_s}));

        in.model = OrdinalModel::Lower;
        in.start = u"x"_s;
        clearPreviews(list);
        list.removeBlock(3, 3);
        test::numbering(list, script, in);
        QCOMPARE(previews(list), (QStringList{u"img_x_v.jpg"_s, u"img_y_v.无"_s, u"img_z_v.TXT"_s}));

        in = inputs(OrdinalModel::Digits, u"1"_s, u"1"_s, u"1"_s);
        in.keepExtension = false;
        for (const auto& [typed, result] : QList<std::pair<QString, QString>>{
                 {u"..Png"_s, u"1.Png"_s}, {QString(), u"1"_s}, {u"不修改 "_s, u"1.不修改 "_s}}) {
            in.newExtension = typed;
            clearPreviews(list);
            test::numbering(list, script, in);
            QCOMPARE(list.cell(0, ColPreview), result);
        }
        QCOMPARE(script.calls.size(), 0);
    }

    void refusals()
    {
        FileList list(m_fs);
        fill(list, 3);
        test::ScriptedPlan script;
        // Nothing to do: no message.
        QVERIFY(!test::numbering(list, script, inputs(OrdinalModel::Digits, u"  "_s, u"1"_s, u"1"_s)));
        FileList empty(m_fs);
        QVERIFY(!test::numbering(empty, script, inputs(OrdinalModel::Digits, u"1"_s, u"1"_s, u"1"_s)));
        QCOMPARE(script.calls.size(), 0);

        // An increment the user deleted, and numbers past the 32-bit range: refused before any row.
        QVERIFY(!test::numbering(list, script, inputs(OrdinalModel::Digits, u"1"_s, QString(), u"1"_s)));
        QVERIFY(
            !test::numbering(list, script, inputs(OrdinalModel::Digits, u"2147483647"_s, u"1"_s, u"9"_s)));
        QVERIFY(
            !test::numbering(list, script, inputs(OrdinalModel::Digits, u"99999999999"_s, u"1"_s, u"9"_s)));
        QVERIFY(
            !test::numbering(list, script, inputs(OrdinalModel::Digits, u"1"_s, u"1073741824"_s, u"9"_s)));
        QVERIFY(!test::numbering(list, script, inputs(OrdinalModel::Upper, u"ZZZZZZZZ"_s, u"1"_s, u"8"_s)));
        QCOMPARE(script.calls.size(), 5);
        for (const auto& call : script.calls)
            QCOMPARE(call.kind, u"message"_s);
        QCOMPARE(previews(list), QStringList(3));
        // The largest last number that fits is fine.
        script.calls.clear();
        test::numbering(list, script, inputs(OrdinalModel::Digits, u"2147483645"_s, u"1"_s, u"9"_s));
        QCOMPARE(script.calls.size(), 1); // only the width question
    }

    // The plan before anything is written: a refusal, the next question with its caption, or how
    // many rows get a name, as the answers so far decide.
    void plans_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("increment");
        QTest::addColumn<QString>("width");
        QTest::addColumn<int>("files");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("asks"); // the question's caption; "refused" for a refusal
        QTest::addColumn<int>("rows");     // -1: nothing is written
        const int digits = int(OrdinalModel::Digits);
        const int upper = int(OrdinalModel::Upper);
        QTest::newRow("fits") << digits << u"1"_s << u"1"_s << u"2"_s << 3 << QList<bool>{} << QString() << 3;
        QTest::newRow("too narrow") << digits << u"90"_s << u"5"_s << u"2"_s << 5 << QList<bool>{}
                                    << u"提示信息"_s << -1;
        QTest::newRow("too narrow, yes")
            << digits << u"90"_s << u"5"_s << u"2"_s << 5 << QList<bool>{true} << QString() << 5;
        QTest::newRow("too narrow, no")
            << digits << u"90"_s << u"5"_s << u"2"_s << 5 << QList<bool>{false} << QString() << -1;
        QTest::newRow("not a number")
            << digits << u"x"_s << u"1"_s << u"2"_s << 3 << QList<bool>{} << u"refused"_s << -1;
        QTest::newRow("start wider") << upper << u"ABC"_s << u"1"_s << u"2"_s << 2 << QList<bool>{}
                                     << u"操作提示"_s << -1;
        QTest::newRow("start wider, no")
            << upper << u"ABC"_s << u"1"_s << u"2"_s << 2 << QList<bool>{false} << QString() << 2;
        QTest::newRow("wider, yes, then too few")
            << upper << u"ZZZ"_s << u"1"_s << u"2"_s << 30 << QList<bool>{true} << u"提示信息"_s << -1;
        QTest::newRow("wider, yes, too few, yes")
            << upper << u"ZZZ"_s << u"1"_s << u"2"_s << 30 << QList<bool>{true, true} << QString() << 1;
    }
    void plans()
    {
        QFETCH(int, model);
        QFETCH(QString, start);
        QFETCH(QString, increment);
        QFETCH(QString, width);
        QFETCH(int, files);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, asks);
        QFETCH(int, rows);
        FileList list(m_fs);
        fill(list, files);
        const RulePlan plan =
            planNumbering(list, inputs(OrdinalModel(model), start, increment, width), answers);
        QCOMPARE(!plan.refusal.isEmpty(), asks == u"refused"_s);
        QCOMPARE(plan.questionCaption, asks == u"refused"_s ? QString() : asks);
        QCOMPARE(plan.go ? plan.rows : -1, rows);
    }

    void noModelWritesNothing()
    {
        FileList list(m_fs);
        fill(list, 2);
        test::ScriptedPlan script;
        NumberingInputs in = inputs(OrdinalModel::Digits, u"1"_s, u"1"_s, u"1"_s);
        in.model.reset();
        QVERIFY(!test::numbering(list, script, in));
        QCOMPARE(previews(list), QStringList(2));
        QCOMPARE(script.calls.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestNumbering)
#include "TestNumbering.moc"

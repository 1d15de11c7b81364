// SPDX-License-Identifier: GPL-3.0-or-later
// What the window says of a rule's plan: its refusals and questions, word for word.
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/rules/NameListRule.h"
#include "core/rename/rules/NumberingRule.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

NumberingRule numbering(OrdinalModel model, const QString& start, const QString& increment,
                        const QString& width)
{
    NumberingInputs in;
    in.model = model;
    in.start = start;
    in.increment = increment;
    in.width = width;
    return NumberingRule(in);
}

} // namespace

class TestRuleQuestions : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

    void fill(FileList& list, int files)
    {
        for (int i = 1; i <= files; ++i)
            list.addFileRow("/none/", "f" + QByteArray::number(i) + ".jpg");
    }

private Q_SLOTS:
    void numberingQuestions()
    {
        FileList list(m_fs);
        fill(list, 5);
        test::ScriptedDialogs dialogs;
        dialogs.answerNo();
        QVERIFY(!test::preview(list, dialogs, numbering(OrdinalModel::Digits, u"90"_s, u"5"_s, u"2"_s)));
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].kind, u"question"_s);
        QCOMPARE(dialogs.calls[0].caption, u"提示信息"_s);
        QCOMPARE(dialogs.calls[0].text, u"列表中一共有［5］个文件；\n开始编号为［90］；\n增量为［5］；\n"
                                        "您选择的位数为［2］位；\n只能对［2］个文件进行重命名。\n"
                                        "多余的［3］个文件将忽略。是否继续？"_s);

        FileList thirty(m_fs);
        fill(thirty, 30);
        dialogs.calls.clear();
        dialogs.answerYes();
        test::preview(thirty, dialogs, numbering(OrdinalModel::Upper, u"A"_s, u"1"_s, u"1"_s));
        QCOMPARE(dialogs.calls[0].text,
                 u"列表中一共有［30］个文件；\n开始编号为［A］；\n您选择的位数为［1］位；\n"
                 "只能对［26］个文件进行重命名。\n多余的［4］个文件将忽略。是否继续？"_s);
        QCOMPARE(thirty.cell(25, ColPreview), u"Z.jpg"_s);
        QCOMPARE(thirty.cell(26, ColPreview), QString());

        // The question shows the start as adjusted, in the model's case, and the width it ended with.
        FileList four(m_fs);
        fill(four, 4);
        dialogs.calls.clear();
        dialogs.answerYes(); // widen to the start's length
        dialogs.answerNo();  // then too few names: no
        test::preview(four, dialogs, numbering(OrdinalModel::Lower, u"zzy"_s, u"1"_s, u"2"_s));
        QCOMPARE(dialogs.calls[0].caption, u"操作提示"_s);
        QCOMPARE(dialogs.calls[0].text,
                 u"您选择的位数少于开始字符的位数，是否补充位数？\n"
                 "以开始字符的长度为位数单击［是］；\n以当前选择位数为长度请单击［否］；"_s);
        QCOMPARE(dialogs.calls[1].text,
                 u"列表中一共有［4］个文件；\n开始编号为［zzy］；\n您选择的位数为［3］位；\n"
                 "只能对［2］个文件进行重命名。\n多余的［2］个文件将忽略。是否继续？"_s);
        QCOMPARE(four.cell(0, ColPreview), QString());
        QCOMPARE(dialogs.unanswered, 0);
    }

    void refusals_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("increment");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("text");
        const int digits = int(OrdinalModel::Digits);
        const int upper = int(OrdinalModel::Upper);
        const QString notDigits = u"开始字符、增量和位数必须是数字，请重新输入！"_s;
        const QString outOfRange =
            u"编号超出范围：最后一个编号不能大于2147483647。\n请减小开始字符或增量！"_s;
        QTest::newRow("increment deleted") << digits << u"1"_s << QString() << u"1"_s << notDigits;
        QTest::newRow("last past the range") << digits << u"2147483647"_s << u"1"_s << u"9"_s << outOfRange;
        QTest::newRow("not letters") << upper << u"A1"_s << u"1"_s << u"1"_s
                                     << u"开始字符必须是字母，位数必须是数字，请重新输入！"_s;
        QTest::newRow("letters past the range") << upper << u"ZZZZZZZZ"_s << u"1"_s << u"8"_s
                                                << u"开始字符超出范围，请使用较短或较小的开始字符！"_s;
    }
    void refusals()
    {
        QFETCH(int, model);
        QFETCH(QString, start);
        QFETCH(QString, increment);
        QFETCH(QString, width);
        QFETCH(QString, text);
        FileList list(m_fs);
        fill(list, 3);
        test::ScriptedDialogs dialogs;
        QVERIFY(!test::preview(list, dialogs, numbering(OrdinalModel(model), start, increment, width)));
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].kind, u"message"_s);
        QCOMPARE(dialogs.calls[0].text, text);
        QCOMPARE(dialogs.calls[0].caption, u"提示信息"_s);
    }

    void nameList()
    {
        FileList list(m_fs);
        fill(list, 3);
        test::ScriptedDialogs dialogs;
        int shown = -1;
        auto show = [&](int c) { shown = c; };
        test::preview(list, dialogs, NameListRule(u"x\ny\nz\nsurplus\n"_s), show);
        QCOMPARE(shown, 4);
        QCOMPARE(dialogs.calls.size(), 0);

        test::preview(list, dialogs, NameListRule(u"   "_s), show);
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].kind, u"message"_s);
        QCOMPARE(dialogs.calls[0].text, u"无预命名信息，请选择有命名信息的文件！"_s);
        QCOMPARE(dialogs.calls[0].caption, u"提示信息"_s);
        QCOMPARE(shown, 4); // the count is left alone

        // The count is shown before the question about it.
        dialogs.answerNo();
        test::preview(list, dialogs, NameListRule(u"  one \n"_s), show);
        QCOMPARE(dialogs.calls[1].text,
                 u"列表中一共有［3］个文件；\n预命名信息有［1］条；\n"
                 "只能对［1］个文件进行重命名。\n多余的［2］个文件将忽略。是否继续？"_s);
        QCOMPARE(dialogs.calls[1].caption, u"提示信息"_s);
        QCOMPARE(shown, 1);
        QCOMPARE(dialogs.unanswered, 0);
    }
};

QTEST_MAIN(TestRuleQuestions)
#include "TestRuleQuestions.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/NumberingRule.h"

#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

NumberingInputs inputs(OrdinalModel model, const QString& start, const QString& increment,
                       const QString& width)
{
    NumberingInputs in;
    in.model = model;
    in.start = start;
    in.increment = increment;
    in.width = width;
    return in;
}

// The plan once the answers are given; it asks exactly as many questions as there are answers.
RulePlan settled(const Rule& rule, int files, const QList<bool>& answers)
{
    for (qsizetype asked = 0; asked < answers.size(); ++asked) {
        if (rule.plan(files, answers.first(asked)).question == PlanQuestion::None)
            QTest::qFail("a question too few", __FILE__, __LINE__);
    }
    return rule.plan(files, answers);
}

// The names of rows f1.jpg, f2.txt, ... as planned; empty for a row without one.
QStringList names(const Rule& rule, const RulePlan& plan, int files,
                  const QStringList& extensions = {u"jpg"_s, u"txt"_s})
{
    QStringList out;
    QString name;
    for (int i = 0; i < files; ++i) {
        name.resize(0);
        const QString row = u"f"_s + QString::number(i + 1) + u'.' + extensions[i % extensions.size()];
        const bool named = plan.go && i < plan.rows && rule.step(RowName::split(row, i), plan, name).named;
        out << (named ? name : QString());
    }
    return out;
}

// The main names alone.
QStringList mains(const QStringList& names)
{
    QStringList out;
    for (const QString& n : names)
        out << n.section(u'.', 0, 0);
    return out;
}

} // namespace

class TestNumbering : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workedExamples_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("increment");
        QTest::addColumn<QString>("width");
        QTest::addColumn<int>("files");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("names");
        const auto digits = int(OrdinalModel::Digits);
        const auto upper = int(OrdinalModel::Upper);
        const auto lower = int(OrdinalModel::Lower);
        QTest::newRow("0 1 2") << digits << u"0"_s << u"1"_s << u"2"_s << 3 << QList<bool>{}
                               << QStringList{u"00"_s, u"01"_s, u"02"_s};
        QTest::newRow("1 1 3") << digits << u"1"_s << u"1"_s << u"3"_s << 4 << QList<bool>{}
                               << QStringList{u"001"_s, u"002"_s, u"003"_s, u"004"_s};
        QTest::newRow("8 5 2") << digits << u"8"_s << u"5"_s << u"2"_s << 5 << QList<bool>{}
                               << QStringList{u"08"_s, u"13"_s, u"18"_s, u"23"_s, u"28"_s};
        QTest::newRow("90 5 2 yes") << digits << u"90"_s << u"5"_s << u"2"_s << 5 << QList<bool>{true}
                                    << QStringList{u"90"_s, u"95"_s, QString(), QString(), QString()};
        QTest::newRow("90 5 2 no") << digits << u"90"_s << u"5"_s << u"2"_s << 5 << QList<bool>{false}
                                   << QStringList(5);
        QTest::newRow("A 1") << upper << u"A"_s << u"1"_s << u"1"_s << 3 << QList<bool>{}
                             << QStringList{u"A"_s, u"B"_s, u"C"_s};
        QTest::newRow("Y 2 padded") << upper << u"Y"_s << u"1"_s << u"2"_s << 4 << QList<bool>{}
                                    << QStringList{u"AY"_s, u"AZ"_s, u"BA"_s, u"BB"_s};
        QTest::newRow("Y 1 yes") << upper << u"Y"_s << u"1"_s << u"1"_s << 4 << QList<bool>{true}
                                 << QStringList{u"Y"_s, u"Z"_s, QString(), QString()};
        QTest::newRow("ABC 2 yes") << upper << u"ABC"_s << u"1"_s << u"2"_s << 2 << QList<bool>{true}
                                   << QStringList{u"ABC"_s, u"ABD"_s};
        QTest::newRow("ABC 2 no") << upper << u"ABC"_s << u"1"_s << u"2"_s << 2 << QList<bool>{false}
                                  << QStringList{u"BC"_s, u"BD"_s};
        QTest::newRow("x 1") << lower << u"x"_s << u"1"_s << u"1"_s << 3 << QList<bool>{}
                             << QStringList{u"x"_s, u"y"_s, u"z"_s};
        QTest::newRow("ABZ 3") << upper << u"ABZ"_s << u"1"_s << u"3"_s << 2 << QList<bool>{}
                               << QStringList{u"ABZ"_s, u"ACA"_s};
        QTest::newRow("C 3 padded") << upper << u"C"_s << u"1"_s << u"3"_s << 2 << QList<bool>{}
                                    << QStringList{u"AAC"_s, u"AAD"_s};
        QTest::newRow("start trimmed")
            << digits << u"  7 "_s << u" 1"_s << u"1"_s << 2 << QList<bool>{} << QStringList{u"7"_s, u"8"_s};
        QTest::newRow("width exactly the last") << digits << u"1"_s << u"1"_s << u"2"_s << 10 << QList<bool>{}
                                                << QStringList{u"01"_s, u"02"_s, u"03"_s, u"04"_s, u"05"_s,
                                                               u"06"_s, u"07"_s, u"08"_s, u"09"_s, u"10"_s};
        QTest::newRow("start 100 width 2")
            << digits << u"100"_s << u"1"_s << u"2"_s << 2 << QList<bool>{true} << QStringList(2);
        QTest::newRow("width 7") << upper << u"A"_s << u"1"_s << u"7"_s << 2 << QList<bool>{}
                                 << QStringList{u"AAAAAAA"_s, u"AAAAAAB"_s};
        QTest::newRow("start-up defaults, fifteen files")
            << digits << u"0"_s << u"1"_s << u"1"_s << 15 << QList<bool>{true}
            << (QStringList{u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s, u"9"_s}
                << QStringList(5));
        QTest::newRow("A 1, past Z") << upper << u"A"_s << u"1"_s << u"1"_s << 28 << QList<bool>{true}
                                     << (QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s, u"G"_s,
                                                     u"H"_s, u"I"_s, u"J"_s, u"K"_s, u"L"_s, u"M"_s, u"N"_s,
                                                     u"O"_s, u"P"_s, u"Q"_s, u"R"_s, u"S"_s, u"T"_s, u"U"_s,
                                                     u"V"_s, u"W"_s, u"X"_s, u"Y"_s, u"Z"_s}
                                         << QStringList(2));
        QTest::newRow("zzy widened, too few, no")
            << lower << u"zzy"_s << u"1"_s << u"2"_s << 4 << QList<bool>{true, false} << QStringList(4);
        // BAAAAAA is 26^6: widths 7 to 9 count with 26^6, so no name is left.
        QTest::newRow("wide letters beyond the capacity")
            << upper << u"BAAAAAA"_s << u"1"_s << u"7"_s << 2 << QList<bool>{true} << QStringList(2);
    }
    void workedExamples()
    {
        QFETCH(int, model);
        QFETCH(QString, start);
        QFETCH(QString, increment);
        QFETCH(QString, width);
        QFETCH(int, files);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, names);
        const NumberingRule rule(inputs(OrdinalModel(model), start, increment, width));
        const RulePlan plan = settled(rule, files, answers);
        QCOMPARE(plan.question, PlanQuestion::None);
        QCOMPARE(plan.refusal, PlanRefusal::None);
        const QStringList named = ::names(rule, plan, files);
        QCOMPARE(mains(named), names);
        // Named rows keep their own extension.
        if (!names.first().isEmpty())
            QVERIFY(named.first().endsWith(u".jpg"_s));
    }

    void innerLettersCount()
    {
        const NumberingRule rule(inputs(OrdinalModel::Upper, u"ABA"_s, u"1"_s, u"3"_s));
        const RulePlan plan = settled(rule, 17550, {});
        QCOMPARE(plan.rows, 17550);
        QString name;
        QVERIFY(rule.step(RowName::split(u"f.txt"_s, 17549), plan, name).named);
        QCOMPARE(name, u"ZZZ.txt"_s);
        const RulePlan more = rule.plan(17551, {});
        QCOMPARE(more.question, PlanQuestion::LettersBeyondWidth);
        QCOMPARE(more.capacity, qint64(17550));
        QCOMPARE(settled(rule, 17551, {true}).rows, 17550);
    }

    void decorationsAndExtensions_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("keepExtension");
        QTest::addColumn<QString>("newExtension");
        QTest::addColumn<QStringList>("names");
        const QStringList prefixed = {u"IMG_A_v.jpg"_s, u"IMG_B_v.无"_s, u"IMG_C_v.TXT"_s, u"IMG_D_v"_s};
        QTest::newRow("upper") << int(OrdinalModel::Upper) << u"A"_s << true << QString() << prefixed;
        QTest::newRow("lower, prefix lowered")
            << int(OrdinalModel::Lower) << u"x"_s << true << QString()
            << QStringList{u"img_x_v.jpg"_s, u"img_y_v.无"_s, u"img_z_v.TXT"_s}; // z is the last
        QTest::newRow("new extension, its dots dropped")
            << int(OrdinalModel::Digits) << u"1"_s << false << u"..Png"_s
            << QStringList{u"IMG_1_v.Png"_s, u"IMG_2_v.Png"_s, u"IMG_3_v.Png"_s, u"IMG_4_v.Png"_s};
        QTest::newRow("no new extension")
            << int(OrdinalModel::Digits) << u"1"_s << false << QString()
            << QStringList{u"IMG_1_v"_s, u"IMG_2_v"_s, u"IMG_3_v"_s, u"IMG_4_v"_s};
        QTest::newRow("the keep item with a blank is an extension")
            << int(OrdinalModel::Digits) << u"1"_s << false << u"不修改 "_s
            << QStringList{u"IMG_1_v.不修改 "_s, u"IMG_2_v.不修改 "_s, u"IMG_3_v.不修改 "_s,
                           u"IMG_4_v.不修改 "_s};
    }
    void decorationsAndExtensions()
    {
        QFETCH(int, model);
        QFETCH(QString, start);
        QFETCH(bool, keepExtension);
        QFETCH(QString, newExtension);
        QFETCH(QStringList, names);
        NumberingInputs in = inputs(OrdinalModel(model), start, u"1"_s, u"1"_s);
        in.prefix = u" IMG_ "_s;
        in.suffix = u"_v"_s;
        in.keepExtension = keepExtension;
        in.newExtension = newExtension;
        const NumberingRule rule(in);
        const RulePlan plan =
            settled(rule, 4, model == int(OrdinalModel::Lower) ? QList<bool>{true} : QList<bool>{});
        QStringList named = ::names(rule, plan, 3, {u"jpg"_s, u"无"_s, u"TXT"_s});
        QString last;
        if (plan.rows > 3 && rule.step(RowName::split(u"noext"_s, 3), plan, last).named)
            named << last;
        QCOMPARE(named, names);
    }

    // The plan before anything is written: a refusal, the next question, or how many rows get a
    // name, as the answers so far decide; a question tells the numbers it is about.
    void plans_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("increment");
        QTest::addColumn<QString>("width");
        QTest::addColumn<int>("files");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<PlanRefusal>("refusal");
        QTest::addColumn<PlanQuestion>("question");
        QTest::addColumn<qint64>("capacity");
        QTest::addColumn<QStringList>("shown"); // start, increment and width as the question shows them
        QTest::addColumn<int>("rows");          // -1: nothing is written
        const int digits = int(OrdinalModel::Digits);
        const int upper = int(OrdinalModel::Upper);
        const int lower = int(OrdinalModel::Lower);
        const auto none = PlanRefusal::None;
        const auto ask = PlanQuestion::None;
        QTest::newRow("fits") << digits << u"1"_s << u"1"_s << u"2"_s << 3 << QList<bool>{} << none << ask
                              << qint64(0) << QStringList() << 3;
        QTest::newRow("too narrow") << digits << u"90"_s << u"5"_s << u"2"_s << 5 << QList<bool>{} << none
                                    << PlanQuestion::NumbersBeyondWidth << qint64(2)
                                    << QStringList{u"90"_s, u"5"_s, u"2"_s} << -1;
        QTest::newRow("too narrow, typed as typed")
            << digits << u" 090 "_s << u"05"_s << u" 02"_s << 5 << QList<bool>{} << none
            << PlanQuestion::NumbersBeyondWidth << qint64(2) << QStringList{u"090"_s, u"05"_s, u"02"_s} << -1;
        QTest::newRow("too narrow, yes") << digits << u"90"_s << u"5"_s << u"2"_s << 5 << QList<bool>{true}
                                         << none << ask << qint64(0) << QStringList() << 5;
        QTest::newRow("too narrow, no") << digits << u"90"_s << u"5"_s << u"2"_s << 5 << QList<bool>{false}
                                        << none << ask << qint64(0) << QStringList() << -1;
        QTest::newRow("fifteen files, width 1")
            << digits << u"0"_s << u"1"_s << u"1"_s << 15 << QList<bool>{} << none
            << PlanQuestion::NumbersBeyondWidth << qint64(10) << QStringList{u"0"_s, u"1"_s, u"1"_s} << -1;
        QTest::newRow("start wider than the width")
            << digits << u"100"_s << u"1"_s << u"2"_s << 3 << QList<bool>{} << none
            << PlanQuestion::NumbersBeyondWidth << qint64(0) << QStringList{u"100"_s, u"1"_s, u"2"_s} << -1;
        QTest::newRow("not a number")
            << digits << u"x"_s << u"1"_s << u"2"_s << 3 << QList<bool>{} << PlanRefusal::NumbersNotDigits
            << ask << qint64(0) << QStringList() << -1;
        QTest::newRow("increment deleted")
            << digits << u"1"_s << QString() << u"1"_s << 3 << QList<bool>{} << PlanRefusal::NumbersNotDigits
            << ask << qint64(0) << QStringList() << -1;
        // Numbers past the 32-bit range are refused before any row; the largest last one that fits
        // only asks for its width.
        QTest::newRow("last past the range")
            << digits << u"2147483647"_s << u"1"_s << u"9"_s << 3 << QList<bool>{}
            << PlanRefusal::NumbersOutOfRange << ask << qint64(0) << QStringList() << -1;
        QTest::newRow("start past the range")
            << digits << u"99999999999"_s << u"1"_s << u"9"_s << 3 << QList<bool>{}
            << PlanRefusal::NumbersOutOfRange << ask << qint64(0) << QStringList() << -1;
        QTest::newRow("increment past the range")
            << digits << u"1"_s << u"1073741824"_s << u"9"_s << 3 << QList<bool>{}
            << PlanRefusal::NumbersOutOfRange << ask << qint64(0) << QStringList() << -1;
        QTest::newRow("last at the range") << digits << u"2147483645"_s << u"1"_s << u"9"_s << 3
                                           << QList<bool>{} << none << PlanQuestion::NumbersBeyondWidth
                                           << qint64(0) << QStringList{u"2147483645"_s, u"1"_s, u"9"_s} << -1;
        QTest::newRow("letters past the range")
            << upper << u"ZZZZZZZZ"_s << u"1"_s << u"8"_s << 3 << QList<bool>{}
            << PlanRefusal::LettersOutOfRange << ask << qint64(0) << QStringList() << -1;
        QTest::newRow("not letters") << upper << u"A1"_s << u"1"_s << u"2"_s << 3 << QList<bool>{}
                                     << PlanRefusal::LettersNotLetters << ask << qint64(0) << QStringList()
                                     << -1;
        QTest::newRow("width past 9")
            << upper << u"A"_s << u"1"_s << u"10"_s << 3 << QList<bool>{} << PlanRefusal::LettersNotLetters
            << ask << qint64(0) << QStringList() << -1;
        QTest::newRow("letters too few")
            << upper << u"A"_s << u"1"_s << u"1"_s << 30 << QList<bool>{} << none
            << PlanQuestion::LettersBeyondWidth << qint64(26) << QStringList{u"A"_s, QString(), u"1"_s} << -1;
        QTest::newRow("start wider") << upper << u"ABC"_s << u"1"_s << u"2"_s << 2 << QList<bool>{} << none
                                     << PlanQuestion::WidenToStart << qint64(0) << QStringList() << -1;
        QTest::newRow("start wider, no") << upper << u"ABC"_s << u"1"_s << u"2"_s << 2 << QList<bool>{false}
                                         << none << ask << qint64(0) << QStringList() << 2;
        // The question shows the start as adjusted, in the model's case, and the width it ended with.
        QTest::newRow("lower, widened, then too few")
            << lower << u"zzy"_s << u"1"_s << u"2"_s << 4 << QList<bool>{true} << none
            << PlanQuestion::LettersBeyondWidth << qint64(2) << QStringList{u"zzy"_s, QString(), u"3"_s}
            << -1;
        QTest::newRow("wider, yes, then too few")
            << upper << u"ZZZ"_s << u"1"_s << u"2"_s << 30 << QList<bool>{true} << none
            << PlanQuestion::LettersBeyondWidth << qint64(1) << QStringList{u"ZZZ"_s, QString(), u"3"_s}
            << -1;
        QTest::newRow("wider, yes, too few, yes")
            << upper << u"ZZZ"_s << u"1"_s << u"2"_s << 30 << QList<bool>{true, true} << none << ask
            << qint64(0) << QStringList() << 1;
        QTest::newRow("wide start, no room")
            << upper << u"BAAAAAA"_s << u"1"_s << u"7"_s << 2 << QList<bool>{} << none
            << PlanQuestion::LettersBeyondWidth << qint64(0) << QStringList{u"BAAAAAA"_s, QString(), u"7"_s}
            << -1;
        // Nothing to do: no refusal, no question.
        QTest::newRow("blank start") << digits << u"  "_s << u"1"_s << u"1"_s << 3 << QList<bool>{} << none
                                     << ask << qint64(0) << QStringList() << -1;
        QTest::newRow("no rows") << digits << u"1"_s << u"1"_s << u"1"_s << 0 << QList<bool>{} << none << ask
                                 << qint64(0) << QStringList() << -1;
    }
    void plans()
    {
        QFETCH(int, model);
        QFETCH(QString, start);
        QFETCH(QString, increment);
        QFETCH(QString, width);
        QFETCH(int, files);
        QFETCH(QList<bool>, answers);
        QFETCH(PlanRefusal, refusal);
        QFETCH(PlanQuestion, question);
        QFETCH(qint64, capacity);
        QFETCH(QStringList, shown);
        QFETCH(int, rows);
        const RulePlan plan =
            NumberingRule(inputs(OrdinalModel(model), start, increment, width)).plan(files, answers);
        QCOMPARE(plan.refusal, refusal);
        QCOMPARE(plan.question, question);
        if (question != PlanQuestion::None && question != PlanQuestion::WidenToStart) {
            QCOMPARE(plan.files, qint64(files));
            QCOMPARE(plan.capacity, capacity);
            QCOMPARE((QStringList{plan.shownStart, plan.shownIncrement, plan.shownWidth}), shown);
        }
        QCOMPARE(plan.go ? plan.rows : -1, rows);
    }

    void noModelWritesNothing()
    {
        NumberingInputs in = inputs(OrdinalModel::Digits, u"1"_s, u"1"_s, u"1"_s);
        in.model.reset();
        const RulePlan plan = NumberingRule(in).plan(2, {});
        QVERIFY(!plan.go);
        QCOMPARE(plan.refusal, PlanRefusal::None);
        QCOMPARE(plan.question, PlanQuestion::None);
    }
};

QTEST_GUILESS_MAIN(TestNumbering)
#include "TestNumbering.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/rules/CaseRule.h"
#include "core/rename/rules/DeleteRule.h"
#include "core/rename/rules/InsertRule.h"
#include "core/rename/rules/NameListRule.h"
#include "core/rename/rules/NumberingRule.h"
#include "core/rename/rules/RepairRule.h"
#include "core/rename/rules/ReplaceRule.h"

#include <functional>
#include <memory>

#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

class TestPreviewPass : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

private Q_SLOTS:
    // The pass names the planned rows in list order, empties every other preview, and stops where
    // its progress says so, leaving no name from there on.
    void namesPlannedRowsAndStops()
    {
        const int files = 5000;
        FileList list(m_fs);
        QString names;
        {
            FileList::Batch batch(list);
            for (int i = 1; i <= files; ++i) {
                list.addFileRow("/none/", "f" + QByteArray::number(i) + ".txt");
                names += u"n"_s + QString::number(i) + u'\n';
            }
        }
        list.setCell(files - 1, ColPreview, u"left from before"_s);
        const NameListRule rule(names.section(u'\n', 0, files - 2) + u'\n');
        const RulePlan plan = rule.plan(files, {true});
        QCOMPARE(plan.rows, files - 1);

        PreviewCount count = previewPass(list, rule, plan);
        QCOMPARE(count.named, files - 1);
        QVERIFY(!count.stopped);
        QCOMPARE(list.cell(0, ColPreview), u"n1.txt"_s);
        QCOMPARE(list.cell(files - 2, ColPreview), u"n4999.txt"_s);
        QCOMPARE(list.cell(files - 1, ColPreview), QString());

        QList<int> reported;
        count = previewPass(list, rule, plan, [&](int row) {
            reported << row;
            return row < 100;
        });
        QCOMPARE(reported, (QList<int>{0, 64, 128}));
        QVERIFY(count.stopped);
        QCOMPARE(count.named, 128);
        QCOMPARE(list.cell(127, ColPreview), u"n128.txt"_s);
        QCOMPARE(list.cell(128, ColPreview), QString());
    }

    // Every rule as a later step: it reads each row's preview, the listed name where there is none
    // (the middle row), and a row it leaves without a name keeps what it had.
    void chainedStep_data()
    {
        using Make = std::function<std::unique_ptr<Rule>()>;
        QTest::addColumn<Make>("make");
        QTest::addColumn<QStringList>("previews");
        const auto numbering = [] {
            NumberingInputs in{OrdinalModel::Digits, u"1"_s, u"1"_s, u"2"_s, u"n"_s, {}, true, {}};
            return std::make_unique<NumberingRule>(in);
        };
        QTest::newRow("numbering") << Make(numbering)
                                   << QStringList{u"n01.txt"_s, u"n02.txt"_s, u"n03.JPG"_s};
        QTest::newRow("delete") << Make([] {
            return std::make_unique<DeleteRule>(DeleteInputs{u"0"_s, u"1"_s, true, true});
        }) << QStringList{u"1.txt"_s, QString(), u"3.JPG"_s};
        QTest::newRow("insert") << Make([] {
            return std::make_unique<InsertRule>(InsertInputs{u"-"_s, u"0"_s, true});
        }) << QStringList{u"-x1.txt"_s, u"-b.txt"_s, u"-y3.JPG"_s};
        QTest::newRow("replace") << Make([] {
            return std::make_unique<ReplaceRule>(ReplaceInputs{u"1"_s, u"one"_s, false, false});
        }) << QStringList{u"xone.txt"_s, u"b.txt"_s, u"y3.JPG"_s};
        QTest::newRow("regex") << Make([] {
            return std::make_unique<ReplaceRule>(ReplaceInputs{u"^(.)"_s, u"\\U$1"_s, false, true});
        }) << QStringList{u"X1.txt"_s, u"B.txt"_s, u"Y3.JPG"_s};
        QTest::newRow("case") << Make([] {
            return std::make_unique<CaseRule>(CaseChange::Keep, CaseChange::AllLower);
        }) << QStringList{u"x1.txt"_s, u"b.txt"_s, u"y3.jpg"_s};
        QTest::newRow("name list") << Make([] { return std::make_unique<NameListRule>(u"p\nq\nr\n"_s); })
                                   << QStringList{u"p.txt"_s, u"q.txt"_s, u"r.JPG"_s};
        QTest::newRow("repair, nothing to repair")
            << Make([] { return std::make_unique<RepairRule>(SourceEncoding::Gb18030); })
            << QStringList{u"x1.txt"_s, QString(), u"y3.JPG"_s};
    }
    void chainedStep()
    {
        QFETCH(std::function<std::unique_ptr<Rule>()>, make);
        QFETCH(QStringList, previews);
        FileList list(m_fs);
        for (const char* name : {"a.txt", "b.txt", "c.doc"})
            list.addFileRow("/none/", name);
        list.setCell(0, ColPreview, u"x1.txt"_s);
        list.setCell(2, ColPreview, u"y3.JPG"_s);
        const std::unique_ptr<Rule> rule = make();
        previewPass(list, *rule, rule->plan(3, {}), {}, PreviewFrom::Previews);
        QCOMPARE((QStringList{list.cell(0, ColPreview), list.cell(1, ColPreview), list.cell(2, ColPreview)}),
                 previews);
    }

    // A row a later step gives up on, or whose preview is blank, is not named by the step before.
    void chainedRowsWithoutAName()
    {
        FileList list(m_fs);
        list.addFileRow("/none/", "a.txt");
        list.addFileRow("/none/", "b.txt");
        list.setCell(0, ColPreview, QString(40, u'a') + u"b.txt"_s);
        list.setCell(1, ColPreview, u"  "_s);
        const ReplaceRule rule({u"(a+)+$"_s, u"x"_s, false, true});
        const PreviewCount count = previewPass(list, rule, rule.plan(2, {}), {}, PreviewFrom::Previews);
        QCOMPARE(count.tooComplex, 1);
        QCOMPARE(list.cell(0, ColPreview), QString());
        QCOMPARE(list.cell(1, ColPreview), u"b.txt"_s);
    }
};

QTEST_GUILESS_MAIN(TestPreviewPass)
#include "TestPreviewPass.moc"

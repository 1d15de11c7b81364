// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/rules/NameListRule.h"

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
};

QTEST_GUILESS_MAIN(TestPreviewPass)
#include "TestPreviewPass.moc"

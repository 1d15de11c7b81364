// SPDX-License-Identifier: GPL-3.0-or-later
// The whole way through the main window: add a folder, preview, rename, refresh.
#include "app/MainWindow.h"
#include "filelist/FileList.h"
#include "platform/FileSystem.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "ui/TabControl.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

using namespace tamsel;
using namespace Qt::StringLiterals;

class TestEndToEnd : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;
    test::ScriptedDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;

    template <typename T>
    T* get(const char* name)
    {
        T* w = m_window->findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("no %s", name);
        return w;
    }
    void trigger(const char* action) { get<QAction>(action)->trigger(); }
    QStringList filesIn(const QByteArray& dir)
    {
        return QDir(QString::fromUtf8(dir)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private Q_SLOTS:
    void init()
    {
        m_dialogs = {};
        m_window = std::make_unique<MainWindow>(m_dialogs, m_fs);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        QCOMPARE(m_dialogs.unanswered, 0);
    }

    void numberAFolder()
    {
        test::TempTree tree;
        tree.file("b.jpg", 10);
        tree.file("a.JPG", 20);
        tree.file("notes", 30);
        tree.folder("sub");
        tree.file("sub/c.png", 40);

        m_dialogs.answer(QString::fromUtf8(tree.root()));
        m_dialogs.answer(true); // with sub-folders
        trigger("Menu_AddDir");
        FileList& list = m_window->fileList();
        QCOMPARE(list.FileCount(), 4);
        QCOMPARE(get<QLabel>("Label_FileSum")->text(), u"4"_s);

        // Put the files in name order with the list commands, as a user would.
        get<QComboBox>("Combo_Digit")->setCurrentIndex(2); // width 3
        get<QComboBox>("Combo_StartChar")->lineEdit()->setText(u"7"_s);
        get<QLineEdit>("Text_BofAddChar")->setText(u"img_"_s);
        // Click the caption of the preview button.
        QLabel* caption = get<QLabel>("Label_Preview");
        QTest::mouseClick(caption, Qt::LeftButton, {}, caption->rect().center());
        QStringList previews;
        for (int r = 1; r <= 4; ++r)
            previews << list.cell(r, ColPreview);
        for (int r = 1; r <= 4; ++r)
            QVERIFY2(previews[r - 1].startsWith(u"img_"_s + QString::number(6 + r).rightJustified(3, u'0')),
                     qPrintable(previews.join(u", ")));
        QCOMPARE(m_dialogs.calls.size(), 2); // folder picker and question only

        // Rename with a click on the picture; answer the confirmation.
        m_dialogs.answer(true);
        QWidget* picture = get<QWidget>("Picture_Execution");
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(m_dialogs.calls.last().text, u"是否开始执行重命名？"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"操作提示"_s);
        for (int r = 1; r <= 4; ++r)
            QCOMPARE(list.cell(r, ColResult), u"操作成功！"_s);
        QStringList expected;
        for (int r = 1; r <= 4; ++r) {
            if (list.cell(r, ColDirectory).endsWith(u"sub/"_s))
                continue;
            expected << previews[r - 1];
        }
        expected.sort();
        QCOMPARE(filesIn(tree.root()), expected);
        QCOMPARE(filesIn(tree.root() + "sub").size(), 1);
        QVERIFY(filesIn(tree.root() + "sub").first().endsWith(u".png"_s));

        // F5 makes the new names current.
        trigger("Menu_Refurbish");
        for (int r = 1; r <= 4; ++r) {
            QCOMPARE(list.cell(r, ColOriginalName), previews[r - 1]);
            QCOMPARE(list.cell(r, ColPreview), QString());
            QCOMPARE(list.cell(r, ColResult), QString());
        }
        QVERIFY(list.cell(1, ColFileSize).endsWith(u" KB "_s));
    }

    void renameAsksFirstAndReportsErrors()
    {
        trigger("Menu_Execution");
        QCOMPARE(m_dialogs.calls.size(), 1);
        QCOMPARE(m_dialogs.calls[0].kind, u"message"_s);
        QCOMPARE(m_dialogs.calls[0].text, u"请先进行预处理，得到你想要的结果再开始重命名！"_s);
        QCOMPARE(m_dialogs.calls[0].caption, u"操作提示"_s);

        test::TempTree tree;
        tree.file("one.txt");
        tree.file("two.txt");
        m_window->fileList().AddFileRow(tree.root() + "one.txt");
        m_window->fileList().AddFileRow(tree.root() + "two.txt");
        get<QAction>("Toolbar1_10")->trigger(); // preview: 0 and 1, width 1
        QCOMPARE(m_window->fileList().cell(2, ColPreview), u"1.txt"_s);

        m_dialogs.answer(false);
        get<QAction>("Toolbar1_11")->trigger();
        QCOMPARE(filesIn(tree.root()), (QStringList{u"one.txt"_s, u"two.txt"_s}));
        QCOMPARE(m_window->fileList().cell(1, ColResult), QString());

        // A clash on the second row: the first stays renamed, the message ends the pass.
        tree.file("1.txt");
        m_dialogs.answer(true);
        trigger("Menu_Execution");
        QCOMPARE(m_dialogs.calls.last().kind, u"message"_s);
        QCOMPARE(m_dialogs.calls.last().text, u"发生错误，重命名失败！\n必须以合法的字符进行重命名。"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"错误提示"_s);
        QCOMPARE(m_window->fileList().cell(1, ColResult), u"操作成功！"_s);
        QCOMPARE(m_window->fileList().cell(2, ColResult), QString());
        QCOMPARE(filesIn(tree.root()), (QStringList{u"0.txt"_s, u"1.txt"_s, u"two.txt"_s}));
    }

    void previewFollowsTheTab()
    {
        m_window->fileList().AddFileRow("/none/a.txt");
        get<QAction>("Menu_Preview")->trigger();
        QCOMPARE(m_window->fileList().cell(1, ColPreview), u"0.txt"_s);
        // Changing the tab keeps the previews.
        get<TabControl>("SSTab1")->setCurrentIndex(3);
        QCOMPARE(m_window->fileList().cell(1, ColPreview), u"0.txt"_s);
    }
};

QTEST_MAIN(TestEndToEnd)
#include "TestEndToEnd.moc"

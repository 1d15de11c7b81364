// SPDX-License-Identifier: GPL-3.0-or-later
// The list commands through the main window's menus, toolbar, keys and dialogs.
#include "core/filelist/FileList.h"
#include "gui/filelist/FileListView.h"
#include "support/ControlInventory.h"
#include "support/FakeFileSystem.h"
#include "support/MainWindowFixture.h"
#include "support/TempTree.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QTimer>
#include <QToolBar>

using namespace tamsel;
using namespace Qt::StringLiterals;
using tamsel::test::TempTree;

class TestListCommands : public QObject, public test::MainWindowFixture {
    Q_OBJECT

    FileList& list() { return m_window->fileList(); }
    FileListView* grid() { return get<FileListView>("MSFlexGrid1"); }
    QAbstractItemModel* model() { return grid()->model(); }
    QString label(const char* name) { return get<QLabel>(name)->text(); }
    void trigger(const char* action) { get<QAction>(action)->trigger(); }
    QStringList names()
    {
        QStringList out;
        for (int r = 0; r < list().fileCount(); ++r)
            out << list().cell(r, ColOriginalName);
        return out;
    }
    void addNames(const QStringList& files)
    {
        for (const QString& f : files)
            list().addFileRow(QByteArray("/none/") + f.toUtf8());
    }
    std::pair<int, int> selected() { return grid()->selectedRows(); }

    // A window whose folder walks read 5,000 files in the tree's top folder and 1,000 in its
    // sub-folder (none of them on disk) and hold before the sub-folder until the test lets them go
    // on: the window has let events through by then.
    test::FakeFileSystem m_heldFs;
    QSemaphore m_goOn;
    bool openHeldWindow(TempTree& tree)
    {
        const QByteArray sub = tree.folder("sub");
        m_heldFs = {};
        m_heldFs.madeUpFiles.insert(tree.root(), 5000);
        m_heldFs.madeUpFiles.insert(sub, 1000);
        m_heldFs.beforeChange = [this, sub](const char* operation, const QByteArray& folder) {
            if (qstrcmp(operation, "list") == 0 && folder == sub && !m_goOn.tryAcquire(1, 60000))
                qWarning("the walk was never let go on");
        };
        m_goOn.tryAcquire(m_goOn.available());
        return openWindow(&m_heldFs);
    }
    // Runs the event loop until the program ends, or fails after a while.
    bool runsToTheEnd()
    {
        // A timer of this call's own: it goes with the call, never firing into a later test.
        bool timedOut = false;
        QTimer deadline;
        deadline.setSingleShot(true);
        connect(&deadline, &QTimer::timeout, this, [&] {
            timedOut = true;
            QApplication::exit(1);
        });
        deadline.start(10000);
        return QApplication::exec() == 0 && !timedOut;
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow()); }
    void cleanup()
    {
        m_window.reset();
        QCOMPARE(m_dialogs.unanswered, 0);
    }

    void menusAndToolbar()
    {
        QMenuBar* bar = m_window->menuBar();
        QStringList visible;
        for (QAction* a : bar->actions()) {
            if (a->isVisible())
                visible << a->text();
        }
        QCOMPARE(visible, (QStringList{u" 文件 (&F)"_s, u" 编辑 (&E)"_s, u" 运行 (&R)"_s, u" 帮助 (&H)"_s}));
        for (const auto& [name, items] : test::menuItems()) {
            QStringList texts;
            for (QAction* a : get<QMenu>(name)->actions())
                texts << a->text();
            QCOMPARE(texts, items);
        }
        QCOMPARE(get<QAction>("Menu_AddFile")->shortcut(), QKeySequence(u"Ctrl+O"_s));
        QCOMPARE(get<QAction>("Menu_Exit")->shortcut(), QKeySequence(u"Ctrl+Q"_s));
        QCOMPARE(get<QAction>("Menu_Refurbish")->shortcut(), QKeySequence(u"F5"_s));
        QCOMPARE(get<QAction>("Menu_Undo")->shortcut(), QKeySequence(u"Ctrl+Z"_s));
        QCOMPARE(get<QAction>("Meun_MoveBottom")->text(), u"移至底部 (&B)"_s);
        for (const char* hidden : {"Menu_Add", "Menu_Remove", "Menu_Sort"}) {
            QVERIFY(!get<QAction>(hidden)->isVisible());
            QVERIFY(bar->actions().contains(get<QAction>(hidden)));
        }
        QVERIFY(!get<QMenu>("Menu_Advanced")->menuAction()->isVisible());
        QCOMPARE(get<QMenu>("Menu_Advanced")->title(), u" 高级 (&A)"_s);

        const QStringList captions = {u" 添加文件"_s, u" 添加目录"_s, u" 文件搜索"_s, u" 上移一步"_s,
                                      u" 下移一步"_s, u" 移至顶部"_s, u" 移至底部"_s, u" 删除全部"_s,
                                      u" 删除选中"_s, u"预处理"_s,    u"重命名"_s,    u"刷新文件"_s};
        const QList<QAction*> buttons = get<QToolBar>("Toolbar1")->actions();
        QCOMPARE(buttons.size(), 12);
        for (int k = 0; k < 12; ++k) {
            QCOMPARE(buttons[k]->objectName(), u"Toolbar1_"_s + QString::number(k + 1));
            QCOMPARE(buttons[k]->text(), captions[k]);
            QCOMPARE(buttons[k]->iconText(), captions[k]); // what the button shows
            QVERIFY(!buttons[k]->icon().isNull());
        }
        QCOMPARE(buttons[0]->toolTip(), u"添加文件 Ctrl+O"_s);
        QCOMPARE(buttons[8]->toolTip(), u"删除选中"_s);
        QCOMPARE(buttons[11]->toolTip(), u"刷新文件 F5"_s);
    }

    void keyboardShortcuts()
    {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_dialogs.answerFiles(QStringList{});
        QTest::keyClick(m_window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(m_dialogs.calls.size(), 1);
        QCOMPARE(m_dialogs.calls[0].kind, u"openFiles"_s);
        QCOMPARE(m_dialogs.calls[0].text,
                 u"全部文件 (*.*) (*);;文本文件 (*.txt);;word文档 (*.doc);;"
                 "全部图片 (*bmp;*.gif;*.jpg;*.jpeg;*.jpe;*.jfif;*.tif;*.tiff;*.png) "
                 "(*bmp *.gif *.jpg *.jpeg *.jpe *.jfif *.tif *.tiff *.png)"_s);

        TempTree tree;
        list().addFileRow(tree.file("a.txt"));
        list().setCell(0, ColNewName, u"b.txt"_s);
        tree.file("b.txt", 2048);
        QTest::keyClick(m_window.get(), Qt::Key_F5);
        QCOMPARE(list().cell(0, ColOriginalName), u"b.txt"_s);

        QTimer::singleShot(0, m_window.get(),
                           [this] { QTest::keyClick(m_window.get(), Qt::Key_Q, Qt::ControlModifier); });
        QVERIFY(runsToTheEnd());
    }

    void addingFilesAndFolders()
    {
        TempTree tree;
        const QString root = QString::fromUtf8(tree.root());
        for (const char* n : {"c.txt", "a.txt", "b"})
            tree.file(n, 1);
        m_dialogs.answerFiles(QStringList{root + u"c.txt"_s, root + u"a.txt"_s, root + u"b"_s});
        trigger("Menu_AddFile");
        QCOMPARE(names(), (QStringList{u"c.txt"_s, u"a.txt"_s, u"b"_s}));
        QCOMPARE(list().cell(0, ColDirectory), root);
        QCOMPARE(label("Label_FileSum"), u"3"_s);

        // Cancelled dialogs add nothing and ask nothing more.
        m_dialogs.answerFiles(QStringList{});
        get<QAction>("Toolbar1_1")->trigger();
        m_dialogs.answerFolder(QString());
        get<QAction>("Toolbar1_2")->trigger();
        QCOMPARE(list().fileCount(), 3);
        QCOMPARE(m_dialogs.calls.last().kind, u"pickFolder"_s);
        QCOMPARE(m_dialogs.calls.last().text, u"请选择软件安装路径："_s);

        tree.folder("sub");
        tree.file("sub/inner", 1);
        tree.file(".hidden", 1);
        m_dialogs.answerFolder(root.chopped(1));
        m_dialogs.answerNo();
        trigger("Menu_AddDir");
        QCOMPARE(m_dialogs.calls.last().kind, u"question"_s);
        QCOMPARE(m_dialogs.calls.last().text, u"是否包含［"_s + root.chopped(1) + u"］目录下的子目录？"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"提示信息"_s);
        QCOMPARE(list().fileCount(), 7);
        QVERIFY(names().mid(3).contains(u".hidden"_s));
        QVERIFY(!names().contains(u"inner"_s));
        m_dialogs.answerFolder(root);
        m_dialogs.answerYes();
        trigger("Menu_AddDir");
        QCOMPARE(list().fileCount(), 12);
        QCOMPARE(names().last(), u"inner"_s);
        QCOMPARE(label("Label_FileSum"), u"12"_s);
    }

    void selectionCounter()
    {
        addNames({u"a"_s, u"b"_s, u"c"_s, u"d"_s});
        QCOMPARE(label("Label_FileSel"), u"0"_s);
        grid()->setFocus();
        grid()->setRowRange(1, 2);
        QTest::keyRelease(grid(), Qt::Key_Shift);
        QCOMPARE(label("Label_FileSel"), u"2"_s);
        // Dragging with the button held counts as it goes.
        QWidget* cells = grid()->viewport();
        const auto rowCenter = [&](int row) { return grid()->visualRect(model()->index(row, 1)).center(); };
        QTest::mousePress(cells, Qt::LeftButton, {}, rowCenter(0));
        QMouseEvent move(QEvent::MouseMove, rowCenter(2), cells->mapToGlobal(rowCenter(2)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(cells, &move);
        QCOMPARE(label("Label_FileSel"), u"3"_s);
        QTest::mouseRelease(cells, Qt::LeftButton, {}, rowCenter(2));
        QCOMPARE(selected(), std::pair(0, 2));
        QCOMPARE(label("Label_FileSel"), u"3"_s);
        // A selection in the blank rows below the list counts nothing.
        grid()->setRowRange(9, 11);
        QTest::keyRelease(grid(), Qt::Key_Down);
        QCOMPARE(label("Label_FileSel"), u"0"_s);
    }

    void movingRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("rowSel");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("result");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        const QStringList same = {u"a"_s, u"b"_s, u"c"_s, u"d"_s};
        QTest::newRow("up") << 1 << 2 << u"Menu_MoveBack"_s << QStringList{u"b"_s, u"c"_s, u"a"_s, u"d"_s}
                            << 0 << 1;
        QTest::newRow("down") << 1 << 2 << u"Menu_MoveNext"_s << QStringList{u"a"_s, u"d"_s, u"b"_s, u"c"_s}
                              << 2 << 3;
        QTest::newRow("to top") << 2 << 2 << u"Menu_MoveTop"_s << QStringList{u"c"_s, u"a"_s, u"b"_s, u"d"_s}
                                << 0 << 0;
        QTest::newRow("to bottom") << 1 << 1 << u"Meun_MoveBottom"_s
                                   << QStringList{u"a"_s, u"c"_s, u"d"_s, u"b"_s} << 3 << 3;
        QTest::newRow("upward selection")
            << 2 << 0 << u"Menu_MoveNext"_s << QStringList{u"d"_s, u"a"_s, u"b"_s, u"c"_s} << 1 << 3;
        QTest::newRow("up at the top") << 0 << 0 << u"Menu_MoveBack"_s << same << 0 << 0;
        QTest::newRow("down at the end") << 3 << 3 << u"Toolbar1_5"_s << same << 3 << 3;
        QTest::newRow("into the blank rows")
            << 2 << 7 << u"Toolbar1_6"_s << QStringList{u"c"_s, u"d"_s, u"a"_s, u"b"_s} << 0 << 1;
        QTest::newRow("below the list") << 5 << 7 << u"Toolbar1_4"_s << same << 5 << 7;
    }
    void movingRows()
    {
        QFETCH(int, row);
        QFETCH(int, rowSel);
        QFETCH(QString, command);
        QFETCH(QStringList, result);
        QFETCH(int, first);
        QFETCH(int, last);
        addNames({u"a"_s, u"b"_s, u"c"_s, u"d"_s});
        list().setCell(0, ColPreview, u"preview of a"_s);
        grid()->setRowRange(row, rowSel);
        get<QAction>(command.toLatin1().constData())->trigger();
        QCOMPARE(names(), result);
        QCOMPARE(selected(), std::pair(first, last));
        for (int r = 0; r < 4; ++r)
            QCOMPARE(grid()->verticalHeader()->model()->headerData(r, Qt::Vertical).toString(),
                     QString::number(r + 1));
        QCOMPARE(list().cell(result.indexOf(u"a"_s), ColPreview), u"preview of a"_s);
    }

    void deletingRows_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("rowSel");
        QTest::addColumn<int>("remaining");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("modelRows");
        QTest::newRow("middle") << 4 << 1 << 2 << 2 << 1 << 29;
        QTest::newRow("last two") << 4 << 2 << 3 << 2 << 1 << 29;
        QTest::newRow("all") << 4 << 0 << 3 << 0 << 0 << 29;
        QTest::newRow("5 of 40") << 40 << 5 << 9 << 35 << 5 << 35;
        QTest::newRow("10 of 31") << 31 << 21 << 30 << 21 << 20 << 29;
        QTest::newRow("into the blank rows") << 3 << 2 << 6 << 2 << 1 << 29;
    }
    void deletingRows()
    {
        QFETCH(int, files);
        QFETCH(int, row);
        QFETCH(int, rowSel);
        QFETCH(int, remaining);
        QFETCH(int, current);
        QFETCH(int, modelRows);
        QAbstractItemModelTester tester(model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QStringList added;
        for (int i = 1; i <= files; ++i)
            added << u"f"_s + QString::number(i);
        addNames(added);
        grid()->setRowRange(row, rowSel);
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Delete);
        QCOMPARE(list().fileCount(), remaining);
        QCOMPARE(label("Label_FileSum"), QString::number(remaining));
        QCOMPARE(model()->rowCount(), modelRows);
        QCOMPARE(selected(), std::pair(current, current));
        QCOMPARE(label("Label_FileSel"), remaining ? u"1"_s : u"0"_s);
        QStringList expected = added;
        expected.remove(row, std::min(rowSel, files - 1) - row + 1);
        QCOMPARE(names(), expected);
        for (int r = remaining; r < files; ++r)
            QCOMPARE(model()->headerData(r, Qt::Vertical).toString(), QString());
    }

    void deleteKeysAndBlankSelections()
    {
        addNames({u"a"_s, u"b"_s, u"c"_s});
        grid()->setRowRange(4, 5);
        QTest::keyClick(grid(), Qt::Key_Delete);
        QCOMPARE(list().fileCount(), 3);
        grid()->setRowRange(1, 1);
        QTest::keyClick(grid(), Qt::Key_Period, Qt::KeypadModifier); // the keypad's Del
        QCOMPARE(names(), (QStringList{u"a"_s, u"c"_s}));
        trigger("Menu_DelAll");
        QCOMPARE(list().fileCount(), 0);
        QCOMPARE(label("Label_FileSum"), u"0"_s);
        QCOMPARE(label("Label_FileSel"), u"0"_s);
        QCOMPARE(model()->rowCount(), 29);
        trigger("Menu_DelSel"); // on an empty list: nothing
        QCOMPARE(list().fileCount(), 0);
    }

    void search()
    {
        trigger("Menu_FileSearch");
        QCOMPARE(m_dialogs.calls.size(), 1);
        QCOMPARE(m_dialogs.calls[0].text, u"还未添加文件，请先添加待改名的文件！"_s);
        QCOMPARE(m_dialogs.calls[0].caption, u"提示信息"_s);

        addNames({u"a.txt"_s, u"b.doc"_s, u"ab.txt"_s, u"c.txt"_s});
        m_dialogs.answerText(u"a"_s);
        trigger("Menu_FileSearch");
        QCOMPARE(m_dialogs.calls[1].kind, u"input"_s);
        QCOMPARE(m_dialogs.calls[1].text, u"请输入您想搜索的字符串"_s);
        QCOMPARE(m_dialogs.calls[1].caption, u"文件搜索"_s);
        QCOMPARE(names(), (QStringList{u"a.txt"_s, u"ab.txt"_s, u"b.doc"_s, u"c.txt"_s}));
        QCOMPARE(m_dialogs.calls[2].text, u"共找到［2］条记录与［a］有关！"_s);
        QCOMPARE(m_dialogs.calls[2].caption, QString());
        QCOMPARE(label("Label_FileSel"), u"2"_s);
        // The matches are what is selected: 删除选中 takes the rows the count names.
        QCOMPARE(selected(), std::make_pair(0, 1));
        trigger("Menu_DelSel");
        QCOMPARE(names(), (QStringList{u"b.doc"_s, u"c.txt"_s}));
        addNames({u"a.txt"_s, u"ab.txt"_s});
        m_dialogs.answerText(u"a"_s);
        trigger("Menu_FileSearch");

        // A second search works on the order the first left.
        m_dialogs.answerText(u"txt"_s);
        get<QAction>("Toolbar1_3")->trigger();
        QCOMPARE(names(), (QStringList{u"a.txt"_s, u"ab.txt"_s, u"c.txt"_s, u"b.doc"_s}));
        QCOMPARE(m_dialogs.calls.last().text, u"共找到［3］条记录与［txt］有关！"_s);

        // No match, an empty text, a cancelled box: nothing.
        const auto calls = m_dialogs.calls.size();
        m_dialogs.answerText(u"A"_s);
        trigger("Menu_FileSearch");
        m_dialogs.answerText(QString());
        trigger("Menu_FileSearch");
        m_dialogs.answerCancel();
        trigger("Menu_FileSearch");
        QCOMPARE(m_dialogs.calls.size(), calls + 3); // the three input boxes only
        QCOMPARE(names(), (QStringList{u"a.txt"_s, u"ab.txt"_s, u"c.txt"_s, u"b.doc"_s}));
        QCOMPARE(selected(), std::make_pair(0, 2)); // still the matches of the last search
    }

    // Headers sort whole rows, a second click the other way; the arrow stays until the order is the
    // user's own again. The grid's menu does the same from the keyboard.
    void sortingByColumns()
    {
        addNames({u"b10.txt"_s, u"a2.txt"_s, u"b9.txt"_s});
        list().setCell(1, ColPreview, u"x"_s);
        QHeaderView* header = grid()->horizontalHeader();
        const auto click = [&](int column) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 4, 4));
        };
        click(ColOriginalName);
        QCOMPARE(names(), (QStringList{u"a2.txt"_s, u"b9.txt"_s, u"b10.txt"_s}));
        QCOMPARE(list().cell(0, ColPreview), u"x"_s);
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        click(ColOriginalName);
        QCOMPARE(names(), (QStringList{u"b10.txt"_s, u"b9.txt"_s, u"a2.txt"_s}));
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        click(ColPreview);
        QCOMPARE(names().first(), u"b10.txt"_s);
        QCOMPARE(selected(), std::make_pair(0, 0)); // a header click selects no column
        QCOMPARE(header->sortIndicatorSection(), int(ColOriginalName));
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        grid()->setRowRange(1, 1);
        trigger("Menu_MoveTop");
        QVERIFY(!header->isSortIndicatorShown());

        // Shift+F10 on a cell of 文件名称: the menu, the second item, Enter.
        QStringList items;
        QTimer::singleShot(0, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction* a : menu->actions())
                items << (a->isEnabled() ? a->text() : u"-"_s);
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        grid()->setCurrentIndex(model()->index(0, ColFileName));
        QTest::keyClick(grid(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(items, (QStringList{u"按此列升序排序 (&A)"_s, u"按此列降序排序 (&D)"_s, QString(),
                                     u"删除选中"_s, u"移至顶部 (&T)"_s, u"移至底部 (&B)"_s}));
        QCOMPARE(names(), (QStringList{u"b10.txt"_s, u"b9.txt"_s, u"a2.txt"_s}));
        QCOMPARE(header->sortIndicatorSection(), int(ColFileName));
        // On a column that does not sort, the sort items are there but unavailable.
        QTimer::singleShot(0, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu && !menu->actions().first()->isEnabled());
            menu->close();
        });
        grid()->setCurrentIndex(model()->index(0, ColResult));
        QTest::keyClick(grid(), Qt::Key_F10, Qt::ShiftModifier);
    }

    void filterDialog()
    {
        addNames({u"a.txt"_s, u"b.txt"_s, u"c.doc"_s, u"d"_s, u"e."_s, u"f. "_s});
        trigger("Menu_Remove");
        auto* dialog = get<QDialog>("Form_RemoveListFile");
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), u"过滤器(去除列表中的文件)"_s);
        QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
        auto* keep = dialog->findChild<QListWidget*>(u"List1"_s);
        auto* remove = dialog->findChild<QListWidget*>(u"List2"_s);
        const auto items = [&] {
            QStringList out;
            for (int i = 0; i < keep->count(); ++i)
                out << keep->item(i)->text();
            return out;
        };
        QCOMPARE(items(), (QStringList{u"txt"_s, u"doc"_s, u"无后缀名"_s}));
        QCOMPARE(remove->count(), 0);
        QVERIFY(dialog->findChild<QRadioButton*>(u"Option1_0"_s)->isChecked());
        QVERIFY(dialog->findChild<QRadioButton*>(u"Option2_0"_s)->isChecked());

        // Changed by the user, then shown again: reset, no duplicates, types kept.
        dialog->findChild<QRadioButton*>(u"Option1_2"_s)->setChecked(true);
        dialog->findChild<QRadioButton*>(u"Option2_1"_s)->setChecked(true);
        QVERIFY(dialog->findChild<QRadioButton*>(u"Option1_2"_s)->isChecked()); // groups are independent
        dialog->findChild<QLineEdit*>(u"Text1"_s)->setText(u"x"_s);
        remove->addItem(u"zip"_s);
        trigger("Menu_DelAll");
        addNames({u"f.jpg"_s});
        trigger("Menu_Remove");
        QCOMPARE(items(), (QStringList{u"txt"_s, u"doc"_s, u"无后缀名"_s, u"jpg"_s}));
        QCOMPARE(remove->count(), 0);
        QCOMPARE(dialog->findChild<QLineEdit*>(u"Text1"_s)->text(), QString());
        QVERIFY(dialog->findChild<QRadioButton*>(u"Option1_0"_s)->isChecked());

        // Its other buttons leave the list alone; closing only hides it.
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->objectName() != u"Command_Close"_s)
                b->click();
        }
        QCOMPARE(names(), QStringList{u"f.jpg"_s});
        QVERIFY(dialog->isVisible());
        dialog->findChild<QPushButton*>(u"Command_Close"_s)->click();
        QVERIFY(!dialog->isVisible());
        trigger("Menu_Remove");
        dialog->close();
        QVERIFY(!dialog->isVisible());
        QVERIFY(m_window->findChild<QDialog*>(u"Form_RemoveListFile"_s));
    }

    void sortDialog()
    {
        addNames({u"b"_s, u"a"_s});
        trigger("Menu_Sort");
        auto* dialog = get<QDialog>("Form_SortListFile");
        QCOMPARE(dialog->windowTitle(), u"文件列表排序"_s);
        auto option = [&](const char* name) { return dialog->findChild<QRadioButton*>(QLatin1String(name)); };
        option("Option1_3")->setChecked(true);
        option("Option2_1")->setChecked(true);
        option("Option3_1")->setChecked(true);
        dialog->findChild<QLineEdit*>(u"Text_BaseNum"_s)->setText(u"3"_s);
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->objectName() != u"Command_Close"_s)
                b->click();
        }
        QCOMPARE(names(), (QStringList{u"b"_s, u"a"_s}));
        dialog->close();
        trigger("Menu_Sort");
        QVERIFY(option("Option1_0")->isChecked() && option("Option2_0")->isChecked() &&
                option("Option3_0")->isChecked());
        QCOMPARE(dialog->findChild<QLineEdit*>(u"Text_BaseNum"_s)->text(), u"10"_s);
        QCOMPARE(option("Option1_4")->text(), u"修改时间"_s);
    }

    void addFilesDialog()
    {
        trigger("Menu_Add");
        auto* dialog = get<QDialog>("Form_AddListFile");
        QCOMPARE(dialog->windowTitle(), u"添加文件对话框"_s);
        auto* dir = dialog->findChild<QLineEdit*>(u"Text_Dir"_s);
        auto* sub = dialog->findChild<QCheckBox*>(u"Check_ContainSubDir"_s);
        m_dialogs.answerFolder(u"/some/folder"_s);
        dialog->findChild<QPushButton*>(u"Command_BrowseDir"_s)->click();
        QCOMPARE(dir->text(), u"/some/folder"_s);
        m_dialogs.answerFolder(QString());
        dialog->findChild<QPushButton*>(u"Command_BrowseDir"_s)->click();
        QCOMPARE(dir->text(), QString());
        TempTree tree;
        tree.file("x.txt");
        m_dialogs.answerFiles(QStringList{QString::fromUtf8(tree.root()) + u"x.txt"_s});
        dialog->findChild<QPushButton*>(u"Command_BrowseFile"_s)->click();
        QCOMPARE(names(), QStringList{u"x.txt"_s});
        dialog->findChild<QPushButton*>(u"Command_Import"_s)->click();
        QCOMPARE(list().fileCount(), 1);
        dir->setText(u"typed"_s);
        sub->setChecked(true);
        dialog->findChild<QPushButton*>(u"Command_Close"_s)->click();
        QVERIFY(!dialog->isVisible());
        trigger("Menu_Add");
        QCOMPARE(dir->text(), QString());
        QVERIFY(!sub->isChecked());
    }

    void closingWithADialogOpenEndsTheProgram()
    {
        trigger("Menu_Sort");
        QTimer::singleShot(0, m_window.get(), [this] { m_window->close(); });
        QVERIFY(runsToTheEnd());
        QVERIFY(!get<QDialog>("Form_SortListFile")->isVisible());
    }

    void commandsDuringAFolderWalk()
    {
        TempTree tree;
        QVERIFY(openHeldWindow(tree));
        QAbstractItemModelTester tester(model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        int countAtDelete = -1;
        // Deleting everything while the walk lets events through.
        QTimer::singleShot(1, m_window.get(), [&] {
            countAtDelete = list().fileCount();
            trigger("Menu_DelAll");
            m_goOn.release();
        });
        m_dialogs.answerFolder(QString::fromUtf8(tree.root()));
        m_dialogs.answerYes();
        trigger("Menu_AddDir");
        QVERIFY(countAtDelete >= 0);
        QCOMPARE(list().fileCount(), 6000 - countAtDelete);
        QCOMPARE(label("Label_FileSum"), QString::number(list().fileCount()));
        for (int r = 0; r < list().fileCount(); ++r)
            QVERIFY(list().cell(r, ColOriginalName).startsWith(u'm'));
    }

    void exitDuringAFolderWalk()
    {
        TempTree tree;
        QVERIFY(openHeldWindow(tree));
        m_dialogs.answerFolder(QString::fromUtf8(tree.root()));
        m_dialogs.answerYes();
        QTimer::singleShot(0, m_window.get(), [this] { trigger("Menu_AddDir"); });
        QTimer::singleShot(1, m_window.get(), [this] {
            trigger("Menu_Exit");
            m_goOn.release();
        });
        QVERIFY(runsToTheEnd());
        QVERIFY(m_window->exiting());
        QVERIFY(!m_window->isVisible());
        QVERIFY(list().fileCount() < 6000); // the walk stopped early
    }

    // A rename half-way through a folder would have the walk list renamed files again.
    void noPreviewOrRenameWhileAFolderIsRead()
    {
        TempTree tree;
        QVERIFY(openHeldWindow(tree));
        const char* commands[] = {"Menu_Preview", "Menu_Execution", "Toolbar1_10", "Toolbar1_11"};
        bool seen = false;
        QTimer::singleShot(1, m_window.get(), [&] {
            seen = true;
            for (const char* name : commands) {
                QVERIFY(!get<QAction>(name)->isEnabled());
                get<QAction>(name)->trigger();
            }
            QVERIFY(!get<QWidget>("Picture_Execution")->isEnabled());
            QVERIFY(!get<QWidget>("Picture_Preview")->isEnabled());
            m_goOn.release();
        });
        m_dialogs.answerFolder(QString::fromUtf8(tree.root()));
        m_dialogs.answerYes();
        trigger("Menu_AddDir");
        QVERIFY(seen);
        QCOMPARE(list().fileCount(), 6000);
        QCOMPARE(m_dialogs.calls.size(), 2); // the folder and the sub-folder question only
        QCOMPARE(list().cell(0, ColPreview), QString());
        for (const char* name : commands)
            QVERIFY(get<QAction>(name)->isEnabled());
        QVERIFY(get<QWidget>("Picture_Execution")->isEnabled());
    }
};

QTEST_MAIN(TestListCommands)
#include "TestListCommands.moc"

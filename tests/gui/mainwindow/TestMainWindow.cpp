// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "gui/chrome/TabControl.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/style/Geometry.h"
#include "support/ControlInventory.h"
#include "support/MainWindowFixture.h"
#include "support/TempTree.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace tamsel;
using namespace Qt::StringLiterals;

class TestMainWindow : public QObject, public test::MainWindowFixture {
    Q_OBJECT
    QStringList items(const char* combo)
    {
        QStringList list;
        auto* c = get<QComboBox>(combo);
        for (int i = 0; i < c->count(); ++i)
            list << c->itemText(i);
        return list;
    }
    QString text(const char* name)
    {
        if (auto* c = m_window->findChild<QComboBox*>(QLatin1String(name)))
            return c->currentText();
        if (auto* e = m_window->findChild<QLineEdit*>(QLatin1String(name)))
            return e->text();
        if (auto* l = m_window->findChild<QLabel*>(QLatin1String(name)))
            return l->text();
        return get<QPlainTextEdit>(name)->toPlainText();
    }
    QLineEdit* edit(const char* name)
    {
        if (auto* c = m_window->findChild<QComboBox*>(QLatin1String(name)))
            return c->lineEdit();
        return get<QLineEdit>(name);
    }
    TabControl* tabs() { return get<TabControl>("SSTab1"); }
    static QString shownText(QWidget* w)
    {
        if (auto* label = qobject_cast<QLabel*>(w))
            return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            return button->text();
        if (auto* combo = qobject_cast<QComboBox*>(w))
            return combo->currentText();
        if (auto* line = qobject_cast<QLineEdit*>(w))
            return line->text();
        return w->accessibleName();
    }
    // Types into a box as a user would, the box given the focus first.
    void type(const char* name, const QString& keys)
    {
        QLineEdit* e = edit(name);
        e->setFocus();
        QTest::keyClicks(e, keys);
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow()); }
    void cleanup()
    {
        m_window.reset();
        QCOMPARE(m_dialogs.unanswered, 0);
        m_dialogs.calls.clear();
    }

    // Exact on the desktops the layout was made for; larger with larger text; never beyond the screen.
    void zoomFollowsTextAndScreen_data()
    {
        QTest::addColumn<qreal>("points");
        QTest::addColumn<qreal>("dpi");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<bool>("exact");
        QTest::newRow("9 pt, full HD") << 9.0 << 96.0 << QSize(1920, 1050) << true;
        QTest::newRow("10 pt, 800 x 600") << 10.0 << 96.0 << QSize(800, 600) << true;
        QTest::newRow("16 pt text") << 16.0 << 96.0 << QSize(1920, 1050) << false;
        QTest::newRow("144 dpi") << 9.0 << 144.0 << QSize(2560, 1400) << false;
        QTest::newRow("scale 2 on full HD") << 10.0 << 96.0 << QSize(960, 510) << false;
        QTest::newRow("large text, small screen") << 20.0 << 96.0 << QSize(1024, 600) << false;
    }
    void zoomFollowsTextAndScreen()
    {
        QFETCH(qreal, points);
        QFETCH(qreal, dpi);
        QFETCH(QSize, available);
        QFETCH(bool, exact);
        const QSize natural(794, 590);
        const Zoom zoom = zoomFor(points, dpi, available, natural);
        QCOMPARE(zoom == Zoom{}, exact);
        QVERIFY(natural.width() * zoom.layout <= available.width());
        QVERIFY(natural.height() * zoom.layout <= available.height());
        // Text grows as the layout does: points at dpi make as many pixels as the layout gives.
        QCOMPARE(zoom.fonts * dpi / 96.0, zoom.layout);
        if (points > 10 && natural.height() * points / 10 <= available.height())
            QCOMPARE(zoom.fonts, points / 10);
    }

    void windowIsFixed()
    {
        QCOMPARE(m_window->objectName(), u"Form_Main"_s);
        QCOMPARE(m_window->windowTitle(), u"TamselRenvold_V1.0"_s);
        QCOMPARE(m_window->centralWidget()->size(), QSize(794, 529));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(m_window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(m_window->windowIcon().availableSizes().contains(QSize(32, 32)));
    }

    // Every control of the inventory by its object name: its caption or start-up text, what a
    // screen reader hears, its place (captions may need more room in a larger font, never less) and
    // the colour behind it, as set and as drawn.
    void controlsOfTheInventory_data()
    {
        QTest::addColumn<int>("index");
        for (qsizetype i = 0; i < test::controls().size(); ++i)
            QTest::newRow(test::controls()[i].name) << int(i);
    }
    void controlsOfTheInventory()
    {
        QFETCH(int, index);
        const test::Control& c = test::controls()[index];
        QWidget* w = m_window->findChild<QWidget*>(QLatin1String(c.name));
        QVERIFY(w);
        if (!c.shown.isEmpty())
            QCOMPARE(shownText(w), c.shown);
        if (!c.heard.isEmpty())
            QCOMPARE(w->accessibleName(), c.heard);
        if (!c.place.isEmpty()) {
            QCOMPARE(w->pos(), c.place.topLeft());
            QVERIFY(w->width() >= c.place.width() && w->height() >= c.place.height());
            // No other placed control of its parent in the way; the masks lie behind their buttons
            // by design.
            const auto isMask = [](const char* name) { return QByteArray(name).startsWith("Label_Mask_"); };
            for (const test::Control& other : test::controls()) {
                auto* o = m_window->findChild<QWidget*>(QLatin1String(other.name));
                if (other.place.isEmpty() || o == w || !o || o->parentWidget() != w->parentWidget() ||
                    isMask(other.name) || isMask(c.name))
                    continue;
                const QRect a = w->geometry();
                const QRect b = o->geometry();
                QVERIFY2(!a.intersects(b) || a.contains(b) || b.contains(a), other.name);
            }
        }
        if (c.ground.isValid()) {
            QCOMPARE(w->palette().color(QPalette::Window), c.ground);
            if (qobject_cast<QAbstractButton*>(w)) {
                for (int i = 0; i < tabs()->count() && !w->isVisible(); ++i)
                    tabs()->setCurrentIndex(i); // its page
                const QImage shown = w->grab().toImage();
                QCOMPARE(shown.pixelColor(shown.width() - 2, 1), c.ground);
            }
        }
    }

    void startUpState()
    {
        QCOMPARE(tabs()->currentIndex(), 0);
        QStringList captions;
        for (int i = 0; i < tabs()->count(); ++i)
            captions << tabs()->tabBar()->tabText(i);
        QCOMPARE(captions,
                 (QStringList{u"序 数"_s, u"删 除"_s, u"插 入"_s, u"替 换"_s, u"大小写"_s, u"从文件"_s}));
        // Fixed choices take no typing; the rest do.
        for (const char* fixed : {"Combo_OrdinalModel", "Combo_Digit"})
            QVERIFY(!get<QComboBox>(fixed)->isEditable());
        for (const char* typed : {"Combo_StartChar", "Combo_LocateMode_Insert"})
            QVERIFY(get<QComboBox>(typed)->isEditable());
        QVERIFY(get<QComboBox>("Combo_GrowthBase")->isEnabled());
        QVERIFY(!get<QCheckBox>("Check_DirectDelete")->isChecked());
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(get<QRadioButton>(qPrintable(u"Option_Filename_%1"_s.arg(i)))->isChecked(), i == 0);
            QCOMPARE(get<QRadioButton>(qPrintable(u"Option_Extension_%1"_s.arg(i)))->isChecked(), i == 0);
        }
        QCOMPARE(m_window->fileList().fileCount(), 0);
        QCOMPARE(get<QTableView>("MSFlexGrid1")->model()->rowCount(), 29);
        QCOMPARE(m_dialogs.calls.size(), 0);
        // The label is the input's buddy, so its access key and reader both lead to the input.
        QCOMPARE(get<QLabel>("Label5")->buddy(), get<QWidget>("Combo_StartChar"));
        // Whatever face stands in for the fonts asked for, it has the Chinese glyphs.
        for (const char* name : {"Label_Explain", "MSFlexGrid1"})
            QVERIFY(QFontMetrics(get<QWidget>(name)->font()).inFont(u'预'));
    }

    void gridShowsTheList()
    {
        auto* grid = get<QTableView>("MSFlexGrid1");
        QVERIFY(grid->isColumnHidden(0));
        QCOMPARE(grid->verticalHeader()->width(), 42);
        QCOMPARE(grid->columnWidth(1), 148);
        QCOMPARE(grid->columnWidth(3), 84);
        QCOMPARE(grid->columnWidth(4), 380);
        QCOMPARE(grid->columnWidth(6), 63);
        QCOMPARE(grid->columnWidth(10), 380);
        QCOMPARE(grid->horizontalHeader()->font().bold(), true);

        test::TempTree tree;
        m_window->fileList().addFileRow(tree.file("a.txt", 10));
        QCOMPARE(text("Label_FileSum"), u"1"_s);
        QCOMPARE(grid->model()->headerData(0, Qt::Vertical).toString(), u"1"_s);
        QCOMPARE(grid->model()->data(grid->model()->index(0, 1)).toString(), u"a.txt"_s);
    }

    void explanationFollowsTheTab()
    {
        const QStringList texts = {
            u"将多个文件名更改为有序的字符串"_s,
            u"删除文件名中特定位置的字符串"_s,
            u"将一个字符串插入到文件名中的特定位置"_s,
            u"用一个字符串替换文件名中的特定字符串或直接删除"_s,
            u"可分别更改主文件名和扩展名中英文字母的大小写"_s,
            u"使用文本文件中的字符为文件命名\n\n注意：文本文件中的字符串以回车换行。"_s,
        };
        for (int i : {5, 0, 3, 1, 4, 2, 5}) {
            QTest::mouseClick(tabs()->tabBar(), Qt::LeftButton, {}, tabs()->tabBar()->tabRect(i).center());
            QCOMPARE(tabs()->currentIndex(), i);
            QCOMPARE(text("Label_Explain"), texts[i]);
        }
        // Inputs keep their values across tab changes.
        type("Text_SourceChar", u"abc"_s);
        tabs()->setCurrentIndex(0);
        tabs()->setCurrentIndex(3);
        QCOMPARE(text("Text_SourceChar"), u"abc"_s);
    }

    void optionalSettingsShowOnTabZeroOnly()
    {
        for (int i = 0; i < 6; ++i) {
            tabs()->setCurrentIndex(i);
            for (const char* name :
                 {"Frame_OptionalSet", "Text_BofAddChar", "Text_EofAddChar", "Combo_ModifiedSuffix"})
                QCOMPARE(get<QWidget>(name)->isVisible(), i == 0);
        }
    }

    void digitBoxesTakeDigitsOnly()
    {
        edit("Combo_GrowthBase")->clear();
        type("Combo_GrowthBase", u"a"_s);
        QCOMPARE(text("Combo_GrowthBase"), QString());
        type("Combo_GrowthBase", u"0"_s);
        QCOMPARE(text("Combo_GrowthBase"), QString());
        type("Combo_GrowthBase", u"5 -+.0"_s);
        QCOMPARE(text("Combo_GrowthBase"), u"50"_s);
        QTest::keyClick(edit("Combo_GrowthBase"), Qt::Key_Return);
        QCOMPARE(items("Combo_GrowthBase").size(), 12); // typed text never becomes an item

        tabs()->setCurrentIndex(1);
        edit("Text_DeleteMedian")->selectAll();
        type("Text_DeleteMedian", u"0"_s);
        QCOMPARE(text("Text_DeleteMedian"), u"1"_s);
        edit("Text_DeleteMedian")->selectAll();
        type("Text_DeleteMedian", u"7"_s);
        QCOMPARE(text("Text_DeleteMedian"), u"7"_s);
        type("Text_DeleteMedian", u"89"_s); // two characters at the most
        QCOMPARE(text("Text_DeleteMedian"), u"78"_s);
        QTest::keyClick(edit("Text_DeleteMedian"), Qt::Key_Backspace);
        QCOMPARE(text("Text_DeleteMedian"), u"7"_s);
    }

    void offsetBoxesRefuseAfterALeadingZero()
    {
        tabs()->setCurrentIndex(1);
        QLineEdit* box = edit("Text_MedianOffset_Del");
        box->setFocus();
        box->end(false);
        type("Text_MedianOffset_Del", u"5"_s);
        QCOMPARE(box->text(), u"0"_s);
        box->selectAll();
        type("Text_MedianOffset_Del", u"5"_s);
        QCOMPARE(box->text(), u"0"_s);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QString());
        type("Text_MedianOffset_Del", u"5x9"_s);
        QCOMPARE(box->text(), u"59"_s);
        type("Text_MedianOffset_Del", u"1"_s);
        QCOMPARE(box->text(), u"59"_s);

        tabs()->setCurrentIndex(2);
        edit("Text_MedianOffset_Insert")->clear();
        type("Text_MedianOffset_Insert", u"0"_s);
        QCOMPARE(text("Text_MedianOffset_Insert"), u"0"_s);
    }

    void modelChangeRefillsTheStart()
    {
        auto* model = get<QComboBox>("Combo_OrdinalModel");
        edit("Combo_GrowthBase")->setText(u"7"_s);
        model->setCurrentIndex(1);
        QCOMPARE(text("Combo_StartChar"), u"A"_s);
        QCOMPARE(items("Combo_StartChar").size(), 26);
        QCOMPARE(items("Combo_StartChar").join(QString()), u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"_s);
        QCOMPARE(text("Combo_GrowthBase"), u"1"_s);
        QVERIFY(!get<QComboBox>("Combo_GrowthBase")->isEnabled());
        edit("Combo_StartChar")->clear();
        type("Combo_StartChar", u"Qq3Z"_s);
        QCOMPARE(text("Combo_StartChar"), u"QZ"_s);

        model->setCurrentIndex(2);
        QCOMPARE(text("Combo_StartChar"), u"a"_s);
        QCOMPARE(items("Combo_StartChar").last(), u"z"_s);
        edit("Combo_StartChar")->clear();
        type("Combo_StartChar", u"Qq3z"_s);
        QCOMPARE(text("Combo_StartChar"), u"qz"_s);

        model->setCurrentIndex(0);
        QCOMPARE(text("Combo_StartChar"), u"0"_s);
        QCOMPARE(items("Combo_StartChar").size(), 14);
        QVERIFY(get<QComboBox>("Combo_GrowthBase")->isEnabled());
        QCOMPARE(text("Combo_GrowthBase"), u"1"_s);
        edit("Combo_StartChar")->clear();
        type("Combo_StartChar", u"0a12"_s);
        QCOMPARE(text("Combo_StartChar"), u"12"_s);
    }

    void spinsStepWithinTheirBounds()
    {
        auto step = [&](const char* spin, QAbstractSlider::SliderAction action) {
            auto* bar = get<QScrollBar>(spin);
            bar->triggerAction(action);
            QCOMPARE(bar->value(), 2);
        };
        constexpr auto Up = QAbstractSlider::SliderSingleStepSub;   // the upper arrow
        constexpr auto Down = QAbstractSlider::SliderSingleStepAdd; // the lower arrow
        tabs()->setCurrentIndex(1);
        step("VScroll_DeleteMedian", Up);
        QCOMPARE(text("Text_DeleteMedian"), u"1"_s);
        step("VScroll_DeleteMedian", Down);
        QCOMPARE(text("Text_DeleteMedian"), u"2"_s);
        step("VScroll_DeleteMedian", QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(text("Text_DeleteMedian"), u"3"_s);
        edit("Text_DeleteMedian")->setText(u"99"_s);
        step("VScroll_DeleteMedian", Down);
        QCOMPARE(text("Text_DeleteMedian"), u"100"_s);
        step("VScroll_DeleteMedian", Down);
        QCOMPARE(text("Text_DeleteMedian"), u"100"_s);

        step("VScroll_MedianOffset_Del", Up);
        QCOMPARE(text("Text_MedianOffset_Del"), u"0"_s);
        step("VScroll_MedianOffset_Del", Down);
        QCOMPARE(text("Text_MedianOffset_Del"), u"1"_s);

        tabs()->setCurrentIndex(2);
        step("VScroll_MedianOffset_Insert", Up);
        QCOMPARE(text("Text_MedianOffset_Insert"), u"0"_s);
        edit("Text_MedianOffset_Insert")->setText(u"1"_s);
        step("VScroll_MedianOffset_Insert", Up);
        QCOMPARE(text("Text_MedianOffset_Insert"), u"0"_s);
        edit("Text_MedianOffset_Insert")->clear();
        step("VScroll_MedianOffset_Insert", Down);
        QCOMPARE(text("Text_MedianOffset_Insert"), QString());

        // A real click on the lower arrow.
        tabs()->setCurrentIndex(1);
        auto* bar = get<QScrollBar>("VScroll_DeleteMedian");
        edit("Text_DeleteMedian")->setText(u"5"_s);
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 2));
        QCOMPARE(text("Text_DeleteMedian"), u"6"_s);
        QCOMPARE(bar->value(), 2);
    }

    void pasteIsRefusedWithoutTouchingTheClipboard()
    {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(u"12"_s);
        const QList<std::pair<int, const char*>> boxes = {{0, "Combo_GrowthBase"},
                                                          {0, "Combo_StartChar"},
                                                          {1, "Text_DeleteMedian"},
                                                          {1, "Text_MedianOffset_Del"},
                                                          {2, "Text_MedianOffset_Insert"}};
        for (const auto& [tab, name] : boxes) {
            tabs()->setCurrentIndex(tab);
            QLineEdit* box = edit(name);
            box->clear();
            box->setFocus();
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
            QTest::mouseClick(box, Qt::MiddleButton);
            QCOMPARE(box->text(), QString());
            QVERIFY(!box->acceptDrops());

            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2),
                                        box->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(box, &menuEvent);
            QMenu* menu = nullptr;
            QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
            bool sawPaste = false;
            const QString pasteKey = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
            for (QAction* action : menu->actions()) {
                if (action->text().endsWith(pasteKey) ||
                    action->objectName() == QLatin1String("edit-paste")) {
                    sawPaste = true;
                    QVERIFY(!action->isEnabled());
                }
            }
            QVERIFY(sawPaste);
            menu->close();
            QCOMPARE(clipboard->text(), u"12"_s);
        }
        // Other inputs paste as usual.
        QLineEdit* prefix = edit("Text_BofAddChar");
        tabs()->setCurrentIndex(0);
        prefix->setFocus();
        QTest::keyClick(prefix, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(prefix->text(), u"12"_s);
    }

    void refreshMakesNewNamesCurrent()
    {
        test::TempTree tree;
        FileList& list = m_window->fileList();
        list.addFileRow(tree.file("a.txt"));
        list.setCell(0, ColNewName, u"b.txt"_s);
        tree.file("b.txt", 512);
        m_window->refreshFileList();
        QCOMPARE(list.cell(0, ColOriginalName), u"b.txt"_s);
        QCOMPARE(list.cell(0, ColFileSize), u"0.5 KB "_s);
    }

    void closingTheWindowEndsTheProgram()
    {
        QTimer::singleShot(0, m_window.get(), [this] { m_window->close(); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        bool timedOut = false;
        connect(&watchdog, &QTimer::timeout, [&] {
            timedOut = true;
            QApplication::exit(1);
        });
        watchdog.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!timedOut);
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The window by keyboard alone, through a screen reader's eyes, under a dark theme, and inputs
// that keep what the user typed.
#include "core/filelist/FileList.h"
#include "gui/chrome/ImageButton.h"
#include "gui/chrome/TabControl.h"
#include "gui/dialogs/QtDialogs.h"
#include "gui/filelist/FileListView.h"
#include "support/MainWindowFixture.h"
#include "support/TempTree.h"

#include <QAccessible>
#include <QComboBox>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

// How far apart two colours are, 0 to 765.
int distance(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// The largest distance between the most common colour of the widget's picture (its background)
// and any other pixel: where there is readable text, it is large.
int contrast(QWidget* w)
{
    const QImage image = w->grab().toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    int best = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, distance(QColor(it.key()), QColor(background)));
    return best;
}

QPalette darkPalette()
{
    QPalette p;
    const QColor dark(45, 45, 48);
    const QColor light(235, 235, 235);
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button})
        p.setColor(role, dark);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
        p.setColor(role, light);
    return p;
}

} // namespace

class TestUsability : public QObject, public test::MainWindowFixture {
    Q_OBJECT
    FileList& list() { return m_window->fileList(); }
    FileListView* grid() { return get<FileListView>("MSFlexGrid1"); }
    TabControl* tabs() { return get<TabControl>("SSTab1"); }
    QWidget* focused() { return QApplication::focusWidget(); }

    void addFiles(test::TempTree& tree, std::initializer_list<const char*> names)
    {
        for (const char* n : names)
            list().addFileRow(tree.file(n));
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { m_window.reset(); }

    void tabMovesBetweenControls()
    {
        test::TempTree tree;
        addFiles(tree, {"a", "b", "c"});
        grid()->setFocus();
        grid()->setRowRange(0, 0);
        QTest::keyClick(grid(), Qt::Key_Down);
        QCOMPARE(grid()->selectedRows(), std::pair(1, 1));
        QTest::keyClick(grid(), Qt::Key_Tab);
        QVERIFY(focused() != grid());
        QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focused(), grid());

        // The name list takes no tab characters: Tab moves on.
        tabs()->setCurrentIndex(int(5));
        auto* names = get<QPlainTextEdit>("Text_FileContent");
        names->setFocus();
        QTest::keyClicks(names, u"a"_s);
        QTest::keyClick(names, Qt::Key_Tab);
        QCOMPARE(names->toPlainText(), u"a"_s);
        QVERIFY(focused() != names);
    }

    // Tab from the grid comes round to it through every control of the page: no trap on the way.
    void tabComesRound()
    {
        grid()->setFocus();
        QStringList order;
        do {
            QTest::keyClick(focused(), Qt::Key_Tab);
            order << focused()->objectName();
        } while (focused() != grid() && order.size() < 30);
        QCOMPARE(order.first(), u"Picture_Preview"_s);
        QCOMPARE(order.last(), u"MSFlexGrid1"_s);
        QVERIFY(order.contains(u"Combo_ModifiedSuffix"_s));
        QCOMPARE(order.size(), 11);
    }

    void pictureButtonsByKeyboardAndReader()
    {
        tabs()->setCurrentIndex(5);
        for (const char* name :
             {"Picture_Preview", "Picture_Execution", "Picture_Browse", "Picture_CountSUM"}) {
            auto* button = get<ImageButton>(name);
            QObject::disconnect(button, &ImageButton::clicked, nullptr, nullptr); // the spy alone listens
            QSignalSpy clicks(button, &ImageButton::clicked);
            const QImage unfocused = button->grab().toImage();
            button->setFocus(Qt::TabFocusReason);
            QVERIFY2(button->hasFocus(), name);
            QVERIFY2(button->grab().toImage() != unfocused, name); // a focus frame shows
            QTest::keyClick(button, Qt::Key_Space);
            QTest::keyClick(button, Qt::Key_Return);
            QTest::keyClick(button, Qt::Key_Enter);
            QCOMPARE(clicks.size(), 3);

            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(button);
            QCOMPARE(a->role(), QAccessible::Button);
            QCOMPARE(a->text(QAccessible::Name), button->accessibleName());
            QCOMPARE(a->childCount(), 0);
            QVERIFY(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
            a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(clicks.size(), 4);
        }
    }

    void modeTabsFromAnywhere()
    {
        auto* bar = tabs()->tabBar();
        for (QWidget* from :
             {static_cast<QWidget*>(grid()), static_cast<QWidget*>(get<QComboBox>("Combo_Digit")),
              static_cast<QWidget*>(bar)}) {
            tabs()->setCurrentIndex(0);
            from->setFocus();
            QTest::keyClick(focused(), Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(tabs()->currentIndex(), 1);
            QTest::keyClick(focused(), Qt::Key_PageDown, Qt::ControlModifier);
            QCOMPARE(tabs()->currentIndex(), 2);
            QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(tabs()->currentIndex(), 1);
            QTest::keyClick(focused(), Qt::Key_PageUp, Qt::ControlModifier);
            QTest::keyClick(focused(), Qt::Key_PageUp, Qt::ControlModifier);
            QCOMPARE(tabs()->currentIndex(), 5); // round to the last
        }
        // A reader hears the current mode as selected, and as focused only while the tabs have the
        // focus.
        QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(bar);
        QCOMPARE(strip->childCount(), 6);
        grid()->setFocus();
        QVERIFY(strip->child(5)->state().selected && !strip->child(5)->state().focused);
        QVERIFY(!strip->child(4)->state().selected);
        bar->setFocus();
        QVERIFY(strip->child(5)->state().focused);
        QTest::keyClick(bar, Qt::Key_Home);
        QCOMPARE(tabs()->currentIndex(), 0);
        QTest::keyClick(bar, Qt::Key_End);
        QCOMPARE(tabs()->currentIndex(), 5);
    }

    void typedLettersLeaveTheSelectionAlone()
    {
        test::TempTree tree;
        addFiles(tree, {"apple", "banana", "cherry"});
        grid()->setFocus();
        grid()->setRowRange(1, 1);
        QTest::keyClicks(grid(), u"ca"_s);
        QCOMPARE(grid()->selectedRows(), std::pair(1, 1));
        // Select all, then delete: exactly the files go.
        QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(get<QLabel>("Label_FileSel")->text(), u"3"_s);
        QTest::keyClick(grid(), Qt::Key_Delete);
        QCOMPARE(list().fileCount(), 0);
    }

    void spinsStepByKeysAndWheel()
    {
        tabs()->setCurrentIndex(1);
        auto* box = get<QLineEdit>("Text_DeleteMedian");
        auto* spin = get<QScrollBar>("VScroll_DeleteMedian");
        box->setText(u"5"_s);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Up); // as the upper arrow
        QCOMPARE(box->text(), u"4"_s);
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->text(), u"6"_s);
        box->setText(u"1"_s);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(box->text(), u"1"_s); // the lower bound, as for a click
        auto wheel = [&](int delta) {
            const QPointF at(spin->width() / 2.0, spin->height() / 2.0);
            QWheelEvent event(at, spin->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(spin, &event);
        };
        box->setText(u"10"_s);
        wheel(-120);
        QCOMPARE(box->text(), u"11"_s);
        wheel(240);
        QCOMPARE(box->text(), u"9"_s);
        wheel(60);
        QCOMPARE(box->text(), u"9"_s);
        wheel(60); // half notches add up to one
        QCOMPARE(box->text(), u"8"_s);
        QCOMPARE(spin->value(), 2);
    }

    void screenReadersHearValuesAndGroups()
    {
        auto name = [](QObject* o) {
            return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name);
        };
        test::TempTree tree;
        addFiles(tree, {"a", "b"});
        QCOMPARE(name(get<QLabel>("Label_FileSum")), u"总文件数： 2"_s);
        QCOMPARE(name(get<QLabel>("Label_FileSel")), u"已选文件： 0"_s);
        QCOMPARE(name(get<QLabel>("Label_FileContentSUM")), u"列表中文件名的数量： 0"_s);

        for (const char* group : {"Frame_Filename", "Frame_Extension"}) {
            QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(get<QWidget>(group));
            QCOMPARE(frame->role(), QAccessible::Grouping);
            QCOMPARE(frame->childCount(), 4);
            QCOMPARE(frame->child(0)->role(), QAccessible::RadioButton);
            QCOMPARE(frame->child(0)->text(QAccessible::Description), frame->text(QAccessible::Name));
        }
        // Decorations are left out; the link is a link.
        QAccessibleInterface* client = QAccessible::queryAccessibleInterface(m_window->centralWidget());
        for (int i = 0; i < client->childCount(); ++i)
            QVERIFY(!client->child(i)->object()->objectName().startsWith(u"Label_Mask_"_s));
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(get<QWidget>("Picture_KervoLink"));
        QCOMPARE(link->role(), QAccessible::Link);
        QVERIFY(link->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QCOMPARE(name(grid()), u"文件列表"_s);
    }

    void editableCombosKeepWhatWasTyped()
    {
        auto typeInto = [&](const char* box, const QString& keys) {
            auto* combo = get<QComboBox>(box);
            combo->lineEdit()->clear();
            combo->setFocus();
            for (const QChar c : keys) {
                // Typed as an input method types, which also carries Chinese.
                QInputMethodEvent typed;
                typed.setCommitString(c);
                QApplication::sendEvent(combo->lineEdit(), &typed);
            }
            return combo;
        };
        QCOMPARE(typeInto("Combo_ModifiedSuffix", u"d"_s)->currentText(), u"d"_s);
        QCOMPARE(typeInto("Combo_ModifiedSuffix", u"tx"_s)->currentText(), u"tx"_s);
        QComboBox* suffix = typeInto("Combo_ModifiedSuffix", u"TXT"_s);
        QTest::keyClick(suffix->lineEdit(), Qt::Key_Return);
        QCOMPARE(suffix->currentText(), u"TXT"_s);
        QCOMPARE(suffix->count(), 7);
        tabs()->setCurrentIndex(2);
        QComboBox* origin = get<QComboBox>("Combo_LocateMode_Insert");
        origin->setCurrentIndex(1);
        QCOMPARE(typeInto("Combo_LocateMode_Insert", u"从"_s)->currentText(), u"从"_s);
        QCOMPARE(origin->count(), 2);
    }

    void dialogTextsArePlain()
    {
        QtDialogs dialogs;
        QString seen;
        auto inspect = [&] {
            QTimer::singleShot(0, [&] {
                QWidget* w = QApplication::activeModalWidget();
                if (auto* box = qobject_cast<QMessageBox*>(w)) {
                    seen = box->textFormat() == Qt::PlainText ? box->text() : u"rich"_s;
                    box->done(0);
                } else if (auto* input = qobject_cast<QInputDialog*>(w)) {
                    const auto labels = input->findChildren<QLabel*>();
                    seen = std::all_of(labels.begin(), labels.end(),
                                       [](QLabel* l) { return l->textFormat() == Qt::PlainText; })
                               ? input->labelText()
                               : u"rich"_s;
                    input->reject();
                }
            });
        };
        inspect();
        dialogs.message(m_window.get(), u"共找到［1］条记录与［<i>a</i>］有关！"_s, QString());
        QCOMPARE(seen, u"共找到［1］条记录与［<i>a</i>］有关！"_s);
        inspect();
        dialogs.question(m_window.get(), u"是否包含［/tmp/<b>x</b>］目录下的子目录？"_s, u"提示信息"_s);
        QCOMPARE(seen, u"是否包含［/tmp/<b>x</b>］目录下的子目录？"_s);
        inspect();
        dialogs.inputText(m_window.get(), u"<u>请输入</u>"_s, u"文件搜索"_s);
        QCOMPARE(seen, u"<u>请输入</u>"_s);
    }

    // Under a dark theme the window keeps its own colours, and every text stays readable.
    void readableUnderADarkTheme()
    {
        m_window.reset();
        const QPalette saved = QApplication::palette();
        QApplication::setPalette(darkPalette());
        QVERIFY(openWindow());
        test::TempTree tree;
        addFiles(tree, {"readable.txt"});
        for (const char* name : {"Frame_FileList", "Frame_SetReNameMode", "Frame_Explain", "Label_Explain",
                                 "Label1", "Label_FileSum", "Frame_BasicSet", "Picture_KervoLink", "SSTab1"})
            QVERIFY2(contrast(get<QWidget>(name)) > 300, name);
        QVERIFY(contrast(grid()->viewport()) > 300);
        // Tool buttons take their texts' colour from a style sheet, not the window's palette.
        QWidget* addFiles = get<QToolBar>("Toolbar1")->widgetForAction(get<QAction>("Toolbar1_1"));
        QVERIFY(distance(addFiles->palette().color(QPalette::ButtonText), QColor(238, 246, 255)) > 300);
        QCOMPARE(grid()->viewport()->palette().color(QPalette::Base), QColor(Qt::white));
        m_window.reset();
        QApplication::setPalette(saved);
    }

    // A theme's large toolbar font does not push buttons behind the overflow arrow.
    void everyToolbarButtonShowsUnderATheme()
    {
        const QSize plain =
            get<QToolBar>("Toolbar1")->widgetForAction(get<QAction>("Toolbar1_1"))->sizeHint();
        m_window.reset();
        QFont big = QApplication::font();
        big.setPointSize(16);
        QApplication::setFont(big, "QToolButton");
        QApplication::setFont(big, "QToolBar");
        QVERIFY(openWindow());
        auto* toolbar = get<QToolBar>("Toolbar1");
        for (int k = 1; k <= 12; ++k)
            QVERIFY(toolbar->widgetForAction(get<QAction>(qPrintable(u"Toolbar1_"_s + QString::number(k))))
                        ->isVisible());
        QCOMPARE(toolbar->widgetForAction(get<QAction>("Toolbar1_1"))->sizeHint(), plain);
        auto* overflow = toolbar->findChild<QToolButton*>(u"qt_toolbar_ext_button"_s);
        QVERIFY(!overflow || !overflow->isVisible());
        m_window.reset();
        QApplication::setFont(QApplication::font(), "QToolButton");
        QApplication::setFont(QApplication::font(), "QToolBar");
    }
};

QTEST_MAIN(TestUsability)
#include "TestUsability.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/FileSystem.h"
#include "gui/chrome/ButtonState.h"
#include "gui/chrome/ImageButton.h"
#include "gui/chrome/LinkStrip.h"
#include "gui/chrome/TabControl.h"
#include "gui/chrome/TabPainter.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/style/Geometry.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QUrl>
#include <memory>

using namespace tamsel;
using namespace Qt::StringLiterals;

// Receives the addresses the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

class TestChrome : public QObject, public test::MainWindowFixture {
    Q_OBJECT
    static QColor pixel(QWidget* w, QPoint at) { return w->grab().toImage().pixelColor(at); }

private Q_SLOTS:
    void init()
    {
        ButtonPressed = false;
        QVERIFY(openWindow());
    }
    void cleanup() { m_window.reset(); }

    void systemColoursAreResolvedWhenStored()
    {
        QWidget w;
        const QColor face = QApplication::palette().color(QPalette::Button);
        setSolidColour(&w, 0x8000000F);
        QCOMPARE(w.property("MySolidColor").toUInt(),
                 quint32(face.red() | face.green() << 8 | face.blue() << 16));
        QPalette other = QApplication::palette();
        other.setColor(QPalette::Button, Qt::red);
        QApplication::setPalette(other);
        QVERIFY(w.property("MySolidColor").toUInt() != 0x0000FFu); // stored, not looked up again
        QApplication::setPalette(QPalette());
        setSolidColour(&w, 0xFBD3BD);
        QCOMPARE(w.property("MySolidColor").toUInt(), 0xFBD3BDu);
    }

    void tabsShowThePanelColour()
    {
        auto* tabs = get<TabControl>("SSTab1");
        QCOMPARE(tabs->property("MyStyle").toInt(), 0);
        QCOMPARE(tabs->property("MySolidColor").toUInt(), 0xFBD3BDu);
        QCOMPARE(tabs->property("Hooked").toInt(), -1);
        const QImage image = tabs->grab().toImage();
        const QColor panel(189, 211, 251);
        QCOMPARE(image.pixelColor(tabs->width() / 2, tabs->height() - 20), panel); // the page
        const QRect current = tabs->tabBar()->tabRect(0);
        QCOMPARE(image.pixelColor(current.left() + 5, current.center().y()), panel); // a tab face
        const QRect other = tabs->tabBar()->tabRect(3);
        QCOMPARE(image.pixelColor(other.center().x(), 0), QColor(238, 246, 251)); // above it: its background
        // The caption's text stays dark.
        bool dark = false;
        for (int x = other.left(); x < other.right(); ++x) {
            for (int y = other.top() + 4; y < other.bottom(); ++y)
                dark = dark || image.pixelColor(x, y).lightness() < 80;
        }
        QVERIFY(dark);
    }

    void hookingTwiceChangesNothing()
    {
        auto* tabs = get<TabControl>("SSTab1");
        const auto filters = tabs->findChildren<QObject*>(Qt::FindDirectChildrenOnly).size();
        hookTabControl(tabs);
        QCOMPARE(tabs->findChildren<QObject*>(Qt::FindDirectChildrenOnly).size(), filters);
    }

    void otherFillStyles()
    {
        auto* tabs = get<TabControl>("SSTab1");
        tabs->setCurrentIndex(1); // nothing stands in the lower part of this page
        const QPoint left(4, tabs->height() - 20);
        const QPoint right(tabs->width() - 5, tabs->height() - 20);
        setPaintStyle(tabs, PaintStyle::Gradient);
        tabs->setProperty("MyGradientColor1", 0x0000FF); // red at the left
        tabs->setProperty("MyGradientColor2", 0xFF0000); // blue at the right
        tabs->setProperty("MyGradientDir", 0);
        const QImage gradient = tabs->grab().toImage();
        QVERIFY(gradient.pixelColor(left).red() > 230 && gradient.pixelColor(left).blue() < 25);
        QVERIFY(gradient.pixelColor(right).blue() > 230 && gradient.pixelColor(right).red() < 25);

        setPaintStyle(tabs, PaintStyle::Picture);
        QImage picture(2, 1, QImage::Format_RGB32);
        picture.setPixelColor(0, 0, Qt::green);
        picture.setPixelColor(1, 0, Qt::yellow);
        tabs->setProperty("MyPicture", picture);
        const QImage tiled = tabs->grab().toImage();
        const int y = tabs->height() - 20;
        QCOMPARE(tiled.pixelColor(10, y), QColor(Qt::green));
        QCOMPARE(tiled.pixelColor(11, y), QColor(Qt::yellow));

        setPaintStyle(tabs, PaintStyle::PulsingGradient);
        tabs->setProperty("MyFadeTime", 40);
        const int before = sharedPulse().level;
        tabs->update();
        QTRY_VERIFY(sharedPulse().level != before);
        setPaintStyle(tabs, PaintStyle::Solid);
    }

    void imageButtonStates()
    {
        auto* preview = get<ImageButton>("Picture_Preview");
        auto* execution = get<ImageButton>("Picture_Execution");
        QSignalSpy clicks(preview, &ImageButton::clicked);
        QCOMPARE(preview->picture(), ImageButton::Picture::Normal);
        QCOMPARE(preview->pixmap().size(), QSize(65, 26));
        QCOMPARE(get<ImageButton>("Picture_Browse")->pixmap().size(), QSize(49, 42));

        // Press, drag out, release: normal picture, no click.
        QTest::mouseMove(preview, QPoint(5, 5));
        QCOMPARE(preview->picture(), ImageButton::Picture::Hover);
        QTest::mousePress(preview, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(preview->picture(), ImageButton::Picture::Pressed);
        QVERIFY(ButtonPressed);
        preview->hover(QPoint(200, 5)); // held: no change
        QCOMPARE(preview->picture(), ImageButton::Picture::Pressed);
        QTest::mouseRelease(preview, Qt::LeftButton, {}, QPoint(200, 5));
        QCOMPARE(preview->picture(), ImageButton::Picture::Normal);
        QVERIFY(!ButtonPressed);
        QCOMPARE(clicks.size(), 0);

        // Press and release on the picture: the pressed picture stays until the pointer moves.
        QTest::mousePress(preview, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseRelease(preview, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(preview->picture(), ImageButton::Picture::Pressed);
        QTest::mouseMove(preview, QPoint(4, 4));
        QCOMPARE(preview->picture(), ImageButton::Picture::Hover);

        // The mask around the button restores the normal picture.
        QLabel* mask = get<QLabel>("Label_Mask_Preview");
        QTest::mouseMove(mask, QPoint(1, 1));
        QCOMPARE(preview->picture(), ImageButton::Picture::Normal);

        // Press and release on the caption: a click, and the hover picture.
        QLabel* caption = get<QLabel>("Label_Preview");
        QTest::mousePress(caption, Qt::LeftButton, {}, caption->rect().center());
        QCOMPARE(preview->picture(), ImageButton::Picture::Pressed);
        QTest::mouseRelease(caption, Qt::LeftButton, {}, caption->rect().center());
        QCOMPARE(clicks.size(), 2);
        QCOMPARE(preview->picture(), ImageButton::Picture::Hover);
        // Released far outside: no click, the normal picture.
        QTest::mousePress(caption, Qt::LeftButton, {}, caption->rect().center());
        QTest::mouseRelease(caption, Qt::LeftButton, {}, QPoint(300, 300));
        QCOMPARE(clicks.size(), 2);
        QCOMPARE(preview->picture(), ImageButton::Picture::Normal);

        // While one button is held, another gets no hover picture.
        preview->press();
        execution->hover(QPoint(5, 5));
        QCOMPARE(execution->picture(), ImageButton::Picture::Normal);
        execution->leave();
        QCOMPARE(preview->picture(), ImageButton::Picture::Pressed);
        preview->release(QPoint(500, 500));
        execution->hover(QPoint(5, 5));
        QCOMPARE(execution->picture(), ImageButton::Picture::Hover);
    }

    void captionsOfTheTabButtonsRunTheirCommands()
    {
        get<TabControl>("SSTab1")->setCurrentIndex(5);
        m_dialogs.answerFile(QString());
        QLabel* browse = get<QLabel>("Label_Browse");
        QTest::mouseClick(browse, Qt::LeftButton, {}, browse->rect().center());
        QCOMPARE(m_dialogs.calls.size(), 1);
        QCOMPARE(m_dialogs.calls[0].kind, u"openFile"_s);
    }

    void linkPressAndRelease()
    {
        auto* strip = get<LinkStrip>("Picture_KervoLink");
        QLabel* label = strip->label();
        const QPoint rest = label->pos();
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(u"https"_s, &catcher, "open");
        QTest::mousePress(label, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(label->pos(), rest + QPoint(1, 1));
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(label->pos(), rest);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl(u"https://tamsel.example/"_s)});
        // On the strip around the text, too.
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->width() - 3, strip->height() - 3));
        QCOMPARE(catcher.opened.size(), 2);
        QCOMPARE(label->pos(), rest);
        get<QAction>("Menu_HomePage")->trigger();
        QCOMPARE(catcher.opened.size(), 3);
        QDesktopServices::unsetUrlHandler(u"https"_s);
    }

    void aboutBox()
    {
        get<QAction>("Menu_About")->trigger();
        QCOMPARE(m_dialogs.calls.size(), 1);
        const auto& call = m_dialogs.calls[0];
        QCOMPARE(call.kind, u"message"_s);
        QCOMPARE(call.caption, u"关于 - KervoRenvold"_s);
        const QStringList lines = call.text.split(u'\n');
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines[0], QString());
        QCOMPARE(lines[1], u"KervoRenvold_V1.0"_s);
        QCOMPARE(lines[2], QString());
        QCOMPARE(lines[3].count(u'\t'), 1);
        QCOMPARE(lines[5], u"https://tamsel.example/"_s);
        QVERIFY(lines[7].startsWith(u"Copyright"_s));
        QCOMPARE(lines[8], QString());
    }
};

QTEST_MAIN(TestChrome)
#include "TestChrome.moc"

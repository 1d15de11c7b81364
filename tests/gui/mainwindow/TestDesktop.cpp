// SPDX-License-Identifier: GPL-3.0-or-later
// The window among the desktop's programs: paths to open, drops from a file manager, the marks and
// warnings before a rename, and a rename stopped half-way.
#include "convert/LibraryChineseText.h"
#include "core/filelist/FileList.h"
#include "gui/dialogs/QtDialogs.h"
#include "gui/filelist/FileListModel.h"
#include "gui/filelist/FileListView.h"
#include "info/LibraryFileFacts.h"
#include "support/FakeFileSystem.h"
#include "support/MainWindowFixture.h"
#include "support/MediaFiles.h"
#include "support/TempTree.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <algorithm>

using namespace tamsel;
using namespace Qt::StringLiterals;
using tamsel::test::contentOf;
using tamsel::test::namesIn;
using tamsel::test::TempTree;

class TestDesktop : public QObject, public test::MainWindowFixture {
    Q_OBJECT
    FileList& list() { return m_window->fileList(); }
    // Why the grid marks the row, as it shows it.
    QString mark(int row)
    {
        const QAbstractItemModel* model = get<FileListView>("MSFlexGrid1")->model();
        return model->index(row, ColPreview).data(FileListModel::ConflictRole).toString();
    }
    QStringList names()
    {
        QStringList out;
        for (int r = 0; r < list().fileCount(); ++r)
            out << list().cell(r, ColOriginalName);
        out.sort();
        return out;
    }
    // A drop of urls onto target; true when it was accepted.
    bool drop(QWidget* target, const QList<QUrl>& urls, const QString& text = {})
    {
        QMimeData data;
        if (!urls.isEmpty())
            data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        QCoreApplication::processEvents(); // the files are added once the drop has returned
        return dropped.isAccepted();
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow()); }
    void cleanup()
    {
        QCOMPARE(m_dialogs.unanswered, 0);
        m_window.reset();
    }

    void pathsToOpen()
    {
        TempTree tree;
        tree.file("one.txt");
        tree.file("\xb2\xe2.txt"); // not UTF-8
        tree.folder("flat");
        tree.file("flat/f1");
        tree.folder("flat/sub");
        tree.file("flat/sub/deep");
        m_dialogs.answerNo();  // flat/: without its sub-folders
        m_dialogs.answerYes(); // flat/ again: with them
        m_window->openPaths(
            {"one.txt", tree.root() + "\xb2\xe2.txt", "./flat/", "missing", "flat", "/no/such"},
            tree.root().chopped(1));
        QCOMPARE(names(), (QStringList{u"deep"_s, u"f1"_s, u"f1"_s, u"one.txt"_s, u"\xdcb2\xdce2.txt"_s}));
        QCOMPARE(list().pathBytes(1), tree.root() + "\xb2\xe2.txt");
        QCOMPARE(m_dialogs.calls.size(), 3);
        QCOMPARE(m_dialogs.calls[0].text,
                 u"是否包含［"_s + QString::fromUtf8(tree.root()) + u"flat］目录下的子目录？"_s);
        QCOMPARE(m_dialogs.calls[2].kind, u"message"_s);
        QCOMPARE(m_dialogs.calls[2].text, u"下列路径不存在，未添加：\nmissing\n/no/such"_s);
        QCOMPARE(m_dialogs.calls[2].caption, u"提示信息"_s);
    }

    void dropsFromAFileManager()
    {
        TempTree tree;
        tree.file("dropped.txt");
        tree.file("\xce\xc4.bin");
        tree.folder("folder");
        tree.file("folder/inside");
        // Only local files and folders are taken; anything else is refused outright.
        QVERIFY(!drop(m_window.get(), {QUrl(u"https://example.org/a.txt"_s)}));
        QVERIFY(!drop(m_window.get(), {}, u"/tmp/plain text"_s));
        QVERIFY(!drop(m_window.get(), {QUrl::fromLocalFile(QString::fromUtf8(tree.root()) + u"dropped.txt"_s),
                                       QUrl(u"sftp://host/x"_s)}));
        // Another machine's file, a "/" or a NUL inside a name: never a path of this machine.
        tree.folder("a");
        tree.file("a/b");
        tree.file("x");
        const QString root = QString::fromUtf8(tree.root().toPercentEncoding("/"));
        for (const QString& url :
             QStringList{u"file://otherhost"_s + root + u"dropped.txt"_s, u"file://"_s + root + u"a%2Fb"_s,
                         u"file://"_s + root + u"x%00.txt"_s})
            QVERIFY2(!drop(m_window.get(), {QUrl(url, QUrl::TolerantMode)}), qPrintable(url));
        QCOMPARE(list().fileCount(), 0);
        QVERIFY(!list().addFileRow(tree.root() + QByteArray("x\0.txt", 6)));
        QCOMPARE(list().fileCount(), 0);

        QUrl notUtf8;
        notUtf8.setScheme(u"file"_s);
        notUtf8.setPath(QString::fromLatin1(QByteArray(tree.root() + "\xce\xc4.bin").toPercentEncoding("/")),
                        QUrl::TolerantMode);
        m_dialogs.answerYes();
        QVERIFY(drop(m_window.get(),
                     {QUrl::fromLocalFile(QString::fromUtf8(tree.root()) + u"dropped.txt"_s), notUtf8,
                      QUrl::fromLocalFile(QString::fromUtf8(tree.root()) + u"folder"_s)}));
        QCOMPARE(names(), (QStringList{u"dropped.txt"_s, u"inside"_s, u"\xdcce\xdcc4.bin"_s}));
        QCOMPARE(list().pathBytes(1), tree.root() + "\xce\xc4.bin");
        // An input that takes dropped text hands files on to the list.
        auto* prefix = get<QLineEdit>("Text_BofAddChar");
        QVERIFY(drop(prefix, {QUrl::fromLocalFile(QString::fromUtf8(tree.root()) + u"dropped.txt"_s)}));
        QCOMPARE(prefix->text(), QString());
        QCOMPARE(list().fileCount(), 4);
    }

    void theRenameQuestionWarnsOfMarkedRows()
    {
        TempTree tree;
        for (const char* n : {"a.txt", "b.txt", "c.txt"})
            list().addFileRow(tree.file(n));
        tree.file("taken.txt");
        // Replacing "a" by "b" makes a.txt into b.txt, which stands in the way at row 1.
        get<QLineEdit>("Text_SourceChar")->setText(u"a"_s);
        get<QLineEdit>("Text_DestChar")->setText(u"b"_s);
        get<QWidget>("SSTab1")->findChild<QTabBar*>()->setCurrentIndex(3);
        get<QAction>("Menu_Preview")->trigger();
        // The marks follow the preview from a thread of their own; the rename question waits for them.
        m_dialogs.answerNo();
        get<QAction>("Menu_Execution")->trigger();
        QCOMPARE(m_dialogs.calls.last().text, u"是否开始执行重命名？\n注意：有［1］个文件的新文件名无法使用（"
                                              u"已用红色标出，鼠标指向可查看原因），"
                                              "重命名会在第一个这样的文件处停止。"_s);
        QCOMPARE(mark(0), u"文件［b.txt］已存在"_s);
        // A screen reader hears the mark, and the files alone, not the grid's blank rows.
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(get<FileListView>("MSFlexGrid1"));
        QCOMPARE(table->tableInterface()->rowCount(), 3);
        QCOMPARE(table->tableInterface()->cellAt(0, ColPreview)->text(QAccessible::Description),
                 u"文件［b.txt］已存在"_s);
        QCOMPARE(table->tableInterface()->cellAt(1, ColPreview)->text(QAccessible::Description), QString());
        // Nothing marked: the question as it always was.
        get<QLineEdit>("Text_DestChar")->setText(u"x"_s);
        get<QAction>("Menu_Preview")->trigger();
        m_dialogs.answerNo();
        get<QAction>("Menu_Execution")->trigger();
        QCOMPARE(m_dialogs.calls.last().text, u"是否开始执行重命名？"_s);
        QCOMPARE(m_dialogs.progressLabels, (QStringList{u"正在预处理…"_s, u"正在预处理…"_s}));
    }

    // The marks follow the list: after rows moved, and on the row a failed pass stopped at.
    void marksFollowMovesAndPasses()
    {
        TempTree tree;
        for (const char* n : {"a", "b", "c"})
            list().addFileRow(tree.file(n));
        tree.file("1");
        get<QAction>("Menu_Preview")->trigger(); // numbering: 0, 1, 2; "1" is there already
        QTRY_COMPARE(mark(1), u"文件［1］已存在"_s);
        get<FileListView>("MSFlexGrid1")->setRowRange(1, 1);
        get<QAction>("Menu_MoveBack")->trigger(); // b's row first now: it still wants "1"
        QCOMPARE(list().conflictCount(), 0);
        QTRY_COMPARE(mark(0), u"文件［1］已存在"_s);
        m_dialogs.answerYes();
        get<QAction>("Menu_Execution")->trigger();
        QCOMPARE(m_dialogs.calls.last().caption, u"错误提示"_s);
        QTRY_COMPARE(mark(0), u"文件［1］已存在"_s);
    }

    // The real dialogs through a whole rename: the question, the progress while the window goes on
    // answering, 取消 half-way, and the summary.
    void aRealProgressRepaintsAndStops()
    {
        // A file system slow enough for a pass of seconds, until the pass has ended.
        int changesWhileShown = -1;
        QString summary;
        test::FakeFileSystem slow;
        slow.beforeChange = [&](const char*, const QByteArray&) {
            if (summary.isEmpty())
                QThread::usleep(400);
        };
        QtDialogs real;
        MainWindow window(real, slow);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        FileList& files = window.fileList();
        TempTree tree;
        const int count = 3000;
        for (int i = 0; i < count; ++i)
            files.addFileRow(tree.write("f" + QByteArray::number(i), QByteArray::number(i)));
        window.findChild<QComboBox*>(u"Combo_Digit"_s)->setCurrentIndex(3);
        window.findChild<QAction*>(u"Menu_Preview"_s)->trigger(); // numbering: 0000 to 2999
        QSignalSpy painted(window.findChild<FileListView*>(u"MSFlexGrid1"_s)->model(),
                           &QAbstractItemModel::dataChanged);
        QList<int> values;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                if (box->text().startsWith(u"已取消"_s))
                    summary = box->text();
                box->buttons().first()->click(); // 是, or 确定
            } else if (auto* progress = qobject_cast<QProgressDialog*>(modal)) {
                QVERIFY(progress->isVisible());
                values << progress->value();
                if (values.size() == 4) {
                    changesWhileShown = int(painted.size());
                    progress->findChild<QPushButton*>()->click();
                }
            }
        });
        user.start(50);
        window.findChild<QAction*>(u"Menu_Execution"_s)->trigger();
        user.stop();
        QVERIFY2(values.size() >= 4, "no progress dialog while the pass ran");
        QVERIFY(std::is_sorted(values.begin(), values.end()) && values.first() < values.last());
        QVERIFY2(changesWhileShown > 0, "the list reached the view only at the end of the pass");
        int done = 0;
        while (done < count && files.cell(done, ColResult) == u"操作成功！"_s)
            ++done;
        QVERIFY(done > 0 && done < count);
        QCOMPARE(summary, u"已取消：完成［"_s + QString::number(done) + u"］个，未处理［"_s +
                              QString::number(count - done) + u"］个。"_s);
        QCOMPARE(files.cell(done, ColResult), QString());
        // Every file once, under its new name or its old one.
        QCOMPARE(namesIn(tree.root()).size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(contentOf(tree.root() + (i < done ? QByteArray::number(i).rightJustified(4, '0')
                                                       : "f" + QByteArray::number(i))),
                     QByteArray::number(i));

        // The half-done pass is undone whole, after the real question.
        QString asked;
        user.disconnect();
        connect(&user, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked = box->text();
                box->buttons().first()->click(); // 是
            }
        });
        user.start(50);
        window.findChild<QAction*>(u"Menu_Undo"_s)->trigger();
        user.stop();
        QCOMPARE(asked, u"是否撤销最近一次重命名？\n将恢复［"_s + QString::number(done) +
                            u"］个文件的原文件名（位于［"_s + QString::fromUtf8(tree.root().chopped(1)) +
                            u"］）。"_s);
        for (int i = 0; i < count; ++i)
            QCOMPARE(contentOf(tree.root() + "f" + QByteArray::number(i)), QByteArray::number(i));
        QVERIFY(!window.findChild<QAction*>(u"Menu_Undo"_s)->isEnabled());
    }

    // A rule's question comes up through the real message box before the preview is written, and
    // its answer decides what is written.
    void aRealRuleQuestionDecidesThePreview()
    {
        QtDialogs real;
        MainWindow window(real, m_fs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        FileList& files = window.fileList();
        for (int i = 0; i < 12; ++i)
            files.addFileRow("/none/", "f" + QByteArray::number(i));
        QString asked;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked = box->text();
                box->buttons().first()->click(); // 是
            }
        });
        user.start(50);
        window.findChild<QAction*>(u"Menu_Preview"_s)->trigger(); // 0 to 11 in one digit: only 0-9 fit
        user.stop();
        QVERIFY(asked.startsWith(u"列表中一共有［12］个文件；"_s));
        QCOMPARE(files.cell(9, ColPreview), u"9"_s);
        QCOMPARE(files.cell(10, ColPreview), QString());
    }

    // The encoding is chosen in the real item box, by keyboard; the summary comes after.
    void aRealEncodingChoice()
    {
        QtDialogs real;
        MainWindow window(real, m_fs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.fileList().addFileRow("/none/", "\xb1\xa8\xb8\xe6.txt"); // 报告 in GBK
        QStringList items;
        QString summary;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* input = qobject_cast<QInputDialog*>(modal)) {
                items = input->comboBoxItems();
                auto* combo = input->findChild<QComboBox*>();
                QTest::keyClick(combo, Qt::Key_Down); // GB18030
                QTest::keyClick(combo, Qt::Key_Return);
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                summary = box->text();
                box->buttons().first()->click();
            }
        });
        user.start(50);
        window.findChild<QAction*>(u"Menu_RepairNames"_s)->trigger();
        user.stop();
        QCOMPARE(items.size(), 5);
        QCOMPARE(summary, u"共有［1］个文件名可以修复，请核对预览后重命名。"_s);
        QCOMPARE(window.fileList().cell(0, ColPreview), u"报告.txt"_s);
    }

    // 中文转换 in the real item boxes, by keyboard: the kind, then the width; the summary after.
    void aRealChineseConversion()
    {
        QtDialogs real;
        MainWindow window(real, m_fs);
        const LibraryChineseText chinese;
        window.setChineseText(&chinese);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.fileList().addFileRow("/none/", "第十二集.mp4");
        window.fileList().addFileRow("/none/", "第三集.mp4");
        QStringList asked;
        QString summary;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* input = qobject_cast<QInputDialog*>(modal)) {
                asked << input->windowTitle() + input->labelText() + input->comboBoxItems().join(u'|');
                auto* combo = input->findChild<QComboBox*>();
                if (asked.size() == 1) {
                    for (int i = 0; i < 5; ++i)
                        QTest::keyClick(combo, Qt::Key_Down); // 中文数字 → 阿拉伯数字
                }
                QTest::keyClick(combo, Qt::Key_Return);
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                summary = box->windowTitle() + box->text();
                box->buttons().first()->click();
            }
        });
        user.start(50);
        window.findChild<QAction*>(u"Menu_ConvertChinese"_s)->trigger();
        user.stop();
        QCOMPARE(asked,
                 (QStringList{u"中文转换转换方式：繁体 → 简体|简体 → 繁体|简体 → 台湾正体|简体 → 香港繁体|"
                              u"汉字 → 拼音|中文数字 → 阿拉伯数字|全角字符 → 半角字符"_s,
                              u"中文转换数字位数：自动（按最大的数补零）|不补零|2 位|3 位|4 位"_s}));
        QCOMPARE(summary, u"提示信息共有［2］个文件名可以转换，请核对预览后重命名。"_s);
        QCOMPARE(window.fileList().cell(0, ColPreview), u"第12集.mp4"_s);
        QCOMPARE(window.fileList().cell(1, ColPreview), u"第03集.mp4"_s);
    }

    // The template dialog by keyboard: a wrong template disables 确定 and says why under it, Enter in
    // the list of fields inserts one at the cursor, the example follows the template.
    void aRealTemplateDialog()
    {
        QtDialogs real;
        MainWindow window(real, m_fs);
        const LibraryFileFacts facts;
        window.setFileFacts(&facts);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TempTree tree;
        window.fileList().addFileRow(tree.write(
            "a.jpg", test::jpegWithExif({8, 8}, {{"Exif.Photo.DateTimeOriginal", "2024:05:01 12:34:56"},
                                                 {"Exif.Image.Model", "X100V"}})));
        window.fileList().addFileRow(tree.write("notes.txt", "no picture"));
        QStringList seen;
        QString summary;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                summary = box->text();
                box->buttons().first()->click();
                return;
            }
            if (!modal || modal->objectName() != u"Form_InfoTemplate"_s || !seen.isEmpty())
                return;
            auto* text = modal->findChild<QLineEdit*>(u"Text_InfoTemplate"_s);
            auto* fields = modal->findChild<QListWidget*>(u"List_InfoTokens"_s);
            auto* example = modal->findChild<QLabel*>(u"Label_InfoExample"_s);
            auto* ok = modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            seen << modal->windowTitle() << text->text() << example->text();
            QTest::keyClicks(text, u"{"_s);
            seen << example->text() << (ok->isEnabled() ? u"确定可用"_s : u"确定不可用"_s);
            QTest::keyClick(text, Qt::Key_Backspace);
            QTest::keyClicks(text, u"_"_s);
            fields->setFocus();
            for (int i = 0; i < 8; ++i) // down to {相机}
                QTest::keyClick(fields, Qt::Key_Down);
            QTest::keyClick(fields, Qt::Key_Return);
            seen << text->text() << example->text() << QString::number(text->hasFocus());
            QTest::keyClick(text, Qt::Key_Return);
        });
        user.start(50);
        window.findChild<QAction*>(u"Menu_NameFromInfo"_s)->trigger();
        user.stop();
        QCOMPARE(seen, (QStringList{u"按文件信息命名"_s, u"{拍摄时间}"_s, u"示例：20240501_123456.jpg"_s,
                                    u"模板有误：第 7 个字符“{”没有对应的“}”。"_s, u"确定不可用"_s,
                                    u"{拍摄时间}_{相机}"_s, u"示例：20240501_123456_X100V.jpg"_s, u"1"_s}));
        QCOMPARE(summary, u"有［1］个文件缺少模板所需的信息，没有预览。"_s);
        QCOMPARE(window.fileList().cell(0, ColPreview), u"20240501_123456_X100V.jpg"_s);
    }

    // Qt's file dialog would start where its settings say, in a folder whose files block when its
    // icons sniff them; the program's dialogs start at home, and write nothing there.
    void fileDialogsStartAtHomeAndKeepNoSettings()
    {
        TempTree home;
        const QByteArray config = home.folder(".config");
        const QByteArray settings = "[FileDialog]\nhistory=file:///proc\nlastVisited=file:///proc\n";
        home.write(".config/QtProject.conf", settings);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(config));
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.root());
        QtDialogs real;
        QStringList openedIn;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                openedIn << dialog->directory().absolutePath() + u'/';
                dialog->reject();
            }
        });
        user.start(20);
        real.pickFolder(m_window.get(), u"请选择软件安装路径："_s);
        real.openFiles(m_window.get(), {u"所有文件 (*)"_s});
        user.stop();
        qputenv("HOME", oldHome);
        QCOMPARE(openedIn, QStringList(2, QString::fromUtf8(home.root())));
        QCOMPARE(namesIn(home.root()), QList<QByteArray>{".config"});
        QCOMPARE(namesIn(config), QList<QByteArray>{"QtProject.conf"});
        QCOMPARE(contentOf(config + "QtProject.conf"), settings);
    }

    void progressNeverCoversAQuestion()
    {
        QtDialogs dialogs;
        const auto progress = dialogs.progress(m_window.get(), u"正在预处理…"_s, 10, false);
        QTest::qWait(700); // the work waits on a question meanwhile
        auto* shown = m_window->findChild<QProgressDialog*>();
        QVERIFY(!shown || !shown->isVisible());
        // Nor later: no timer of the dialog's own would show it over the question.
        for (const QTimer* timer : shown->findChildren<QTimer*>())
            QVERIFY(!timer->isActive());
        progress->update(5);
        QVERIFY(m_window->findChild<QProgressDialog*>()->isVisible());
    }

    void aRenameStoppedHalfWay()
    {
        TempTree tree;
        for (int i = 0; i < 10; ++i)
            list().addFileRow(tree.write("f" + QByteArray::number(i), QByteArray::number(i)));
        get<QAction>("Menu_Preview")->trigger(); // numbering: 1 to 10
        list().setCell(8, ColResult, u"from before"_s);
        m_dialogs.cancelAt = 3;
        m_dialogs.answerYes();
        get<QAction>("Menu_Execution")->trigger();
        QCOMPARE(m_dialogs.calls.last().text, u"已取消：完成［3］个，未处理［7］个。"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"提示信息"_s);
        QCOMPARE(m_dialogs.progressLabels.last(), u"正在重命名…"_s);
        for (int r = 0; r < 10; ++r)
            QCOMPARE(list().cell(r, ColResult), r < 3 ? u"操作成功！"_s : QString());
        // Every file once, under its old name or its new one.
        const QList<QByteArray> now = namesIn(tree.root());
        QCOMPARE(now.size(), 10);
        for (int i = 0; i < 10; ++i) {
            const QByteArray renamed = tree.root() + QByteArray::number(i);
            QCOMPARE(contentOf(i < 3 ? renamed : tree.root() + "f" + QByteArray::number(i)),
                     QByteArray::number(i));
        }
    }
};

QTEST_MAIN(TestDesktop)
#include "TestDesktop.moc"

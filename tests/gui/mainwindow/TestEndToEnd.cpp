// SPDX-License-Identifier: GPL-3.0-or-later
// The whole way through the main window: add a folder, preview, rename, refresh.
#include "convert/LibraryChineseText.h"
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "gui/chrome/TabControl.h"
#include "gui/filelist/FileListView.h"
#include "gui/mainwindow/MainWindow.h"
#include "info/LibraryFileFacts.h"
#include "support/MainWindowFixture.h"
#include "support/MediaFiles.h"
#include "support/TempTree.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <unistd.h>

using namespace tamsel;
using namespace Qt::StringLiterals;

class TestEndToEnd : public QObject, public test::MainWindowFixture {
    Q_OBJECT
    void trigger(const char* action) { get<QAction>(action)->trigger(); }
    QStringList filesIn(const QByteArray& dir)
    {
        return QDir(QString::fromUtf8(dir)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow()); }
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

        m_dialogs.answerFolder(QString::fromUtf8(tree.root()));
        m_dialogs.answerYes(); // with sub-folders
        trigger("Menu_AddDir");
        FileList& list = m_window->fileList();
        QCOMPARE(list.fileCount(), 4);
        QCOMPARE(get<QLabel>("Label_FileSum")->text(), u"4"_s);

        // Put the files in name order with the list commands, as a user would.
        get<QComboBox>("Combo_Digit")->setCurrentIndex(2); // width 3
        get<QComboBox>("Combo_StartChar")->lineEdit()->setText(u"7"_s);
        get<QLineEdit>("Text_BofAddChar")->setText(u"img_"_s);
        // Click the caption of the preview button.
        QLabel* caption = get<QLabel>("Label_Preview");
        QTest::mouseClick(caption, Qt::LeftButton, {}, caption->rect().center());
        QStringList previews;
        for (int r = 0; r < 4; ++r)
            previews << list.cell(r, ColPreview);
        for (int r = 0; r < 4; ++r)
            QVERIFY2(previews[r].startsWith(u"img_"_s + QString::number(7 + r).rightJustified(3, u'0')),
                     qPrintable(previews.join(u", ")));
        QCOMPARE(m_dialogs.calls.size(), 2); // folder picker and question only

        // Rename with a click on the picture; answer the confirmation.
        m_dialogs.answerYes();
        QWidget* picture = get<QWidget>("Picture_Execution");
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(m_dialogs.calls.last().text, u"是否开始执行重命名？"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"操作提示"_s);
        for (int r = 0; r < 4; ++r)
            QCOMPARE(list.cell(r, ColResult), u"操作成功！"_s);
        QStringList expected;
        for (int r = 0; r < 4; ++r) {
            if (list.cell(r, ColDirectory).endsWith(u"sub/"_s))
                continue;
            expected << previews[r];
        }
        expected.sort();
        QCOMPARE(filesIn(tree.root()), expected);
        QCOMPARE(filesIn(tree.root() + "sub").size(), 1);
        QVERIFY(filesIn(tree.root() + "sub").first().endsWith(u".png"_s));

        // F5 makes the new names current.
        trigger("Menu_Refurbish");
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(list.cell(r, ColOriginalName), previews[r]);
            QCOMPARE(list.cell(r, ColPreview), QString());
            QCOMPARE(list.cell(r, ColResult), QString());
        }
        QVERIFY(list.cell(0, ColFileSize).endsWith(u" KB "_s));
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
        m_window->fileList().addFileRow(tree.root() + "one.txt");
        m_window->fileList().addFileRow(tree.root() + "two.txt");
        get<QAction>("Toolbar1_10")->trigger(); // preview: 0 and 1, width 1
        QCOMPARE(m_window->fileList().cell(1, ColPreview), u"1.txt"_s);

        m_dialogs.answerNo();
        get<QAction>("Toolbar1_11")->trigger();
        QCOMPARE(filesIn(tree.root()), (QStringList{u"one.txt"_s, u"two.txt"_s}));
        QCOMPARE(m_window->fileList().cell(0, ColResult), QString());

        // A clash on the second row: the first stays renamed, the message ends the pass.
        tree.file("1.txt");
        m_dialogs.answerYes();
        trigger("Menu_Execution");
        QCOMPARE(m_dialogs.calls.last().kind, u"message"_s);
        QCOMPARE(m_dialogs.calls.last().text,
                 u"发生错误，重命名失败！\n必须以合法的字符进行重命名。\n第［2］行：文件［1.txt］已存在。"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"错误提示"_s);
        QCOMPARE(m_window->fileList().cell(0, ColResult), u"操作成功！"_s);
        QCOMPARE(m_window->fileList().cell(1, ColResult), QString());
        QCOMPARE(filesIn(tree.root()), (QStringList{u"0.txt"_s, u"1.txt"_s, u"two.txt"_s}));

        // A pasted line break, a name too long: the pass stops there and says why.
        const QString tooLong(86, u'长');
        for (const auto& [preview, reason] :
             {std::pair<QString, QString>(u"x\ny.txt"_s, u"新文件名含有控制字符"_s),
              std::pair<QString, QString>(tooLong,
                                          u"新文件名［"_s + tooLong + u"］太长（超过255个字节）"_s)}) {
            m_window->fileList().setCell(1, ColPreview, preview);
            m_dialogs.answerYes();
            trigger("Menu_Execution");
            QCOMPARE(m_dialogs.calls.last().text.section(u'\n', 2), u"第［2］行："_s + reason + u"。"_s);
        }
        QCOMPARE(filesIn(tree.root()), (QStringList{u"0.txt"_s, u"1.txt"_s, u"two.txt"_s}));
    }

    // Each undo takes back the latest pass not yet undone; the item is there only while there is one.
    void undoTakesBackPassByPass()
    {
        QAction* undo = get<QAction>("Menu_Undo");
        QVERIFY(!undo->isEnabled());
        test::TempTree tree;
        FileList& list = m_window->fileList();
        for (const QByteArray name : {"one.txt", "two.txt", "three.txt"})
            list.addFileRow(tree.write(name, name));
        trigger("Menu_Preview"); // 0 to 2
        m_dialogs.answerYes();
        trigger("Menu_Execution");
        QVERIFY(undo->isEnabled());
        trigger("Menu_Refurbish");
        get<QLineEdit>("Text_BofAddChar")->setText(u"x"_s);
        trigger("Menu_Preview");
        bool enabledDuringPass = true;
        m_dialogs.duringProgress = [&] { enabledDuringPass = enabledDuringPass && undo->isEnabled(); };
        m_dialogs.answerYes();
        trigger("Menu_Execution");
        QVERIFY(!enabledDuringPass);
        m_dialogs.duringProgress = {};
        QCOMPARE(filesIn(tree.root()), (QStringList{u"x0.txt"_s, u"x1.txt"_s, u"x2.txt"_s}));

        m_dialogs.answerNo();
        trigger("Menu_Undo");
        const QString place = u"（位于［"_s + QString::fromUtf8(tree.root().chopped(1)) + u"］）。"_s;
        QCOMPARE(m_dialogs.calls.last().text,
                 u"是否撤销最近一次重命名？\n将恢复［3］个文件的原文件名"_s + place);
        QCOMPARE(m_dialogs.calls.last().caption, u"操作提示"_s);
        QCOMPARE(filesIn(tree.root()).first(), u"x0.txt"_s);
        // Stopped after one file, then taken up again: the rest of the pass goes back.
        m_dialogs.cancelAt = 1;
        m_dialogs.answerYes();
        QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_dialogs.progressLabels.last(), u"正在撤销…"_s);
        QCOMPARE(filesIn(tree.root()), (QStringList{u"2.txt"_s, u"x0.txt"_s, u"x1.txt"_s}));
        QCOMPARE(m_dialogs.calls.last().text, u"已取消撤销：已恢复［1］个，未处理［2］个。"_s);
        m_dialogs.cancelAt = -1;
        m_dialogs.answerYes();
        trigger("Menu_Undo");
        QCOMPARE(m_dialogs.calls.last().text,
                 u"是否撤销最近一次重命名？\n将恢复［2］个文件的原文件名"_s + place);
        QCOMPARE(filesIn(tree.root()), (QStringList{u"0.txt"_s, u"1.txt"_s, u"2.txt"_s}));
        QCOMPARE(list.cell(0, ColOriginalName), u"0.txt"_s);
        QCOMPARE(list.cell(0, ColResult), u"已撤销！"_s);
        QCOMPARE(list.cell(0, ColPreview), u"x0.txt"_s); // kept, to be corrected and tried again

        // The first pass: one name has been taken meanwhile. The rest goes back, the summary tells.
        tree.write("two.txt", "newcomer");
        m_dialogs.answerYes();
        trigger("Menu_Undo");
        QCOMPARE(m_dialogs.calls.last().text,
                 u"撤销未全部完成：已恢复［2］个，未能恢复［1］个，原因见“执行结果”列。"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"提示信息"_s);
        QCOMPARE(list.cell(1, ColResult), u"撤销失败！原文件名已被占用"_s);
        QCOMPARE(filesIn(tree.root()), (QStringList{u"1.txt"_s, u"one.txt"_s, u"three.txt"_s, u"two.txt"_s}));
        QVERIFY(!undo->isEnabled());
    }

    // Names from old archives: GBK bytes, and GBK shown as Windows-1252 text. The repair previews
    // what they were; the pass gives them back; a sound name is left alone.
    void repairGarbledNames()
    {
        test::TempTree tree;
        FileList& list = m_window->fileList();
        list.addFileRow(tree.write("\xd6\xd0\xce\xc4.txt", "1"));                 // 中文 in GBK
        list.addFileRow(tree.write("\xc3\x96\xc3\x90\xc3\x8e\xc3\x84.doc", "2")); // ÖÐÎÄ.doc
        list.addFileRow(tree.write("报告.txt", "3"));
        list.setCell(2, ColPreview, u"left from before"_s);
        m_dialogs.answerText(u"自动识别"_s);
        trigger("Menu_RepairNames");
        QCOMPARE(m_dialogs.calls.first().text, u"文件名原来的编码："_s);
        QCOMPARE(m_dialogs.calls.first().caption, u"修复乱码文件名"_s);
        QCOMPARE(m_dialogs.lastItems,
                 (QStringList{u"自动识别"_s, u"GB18030（简体中文）"_s, u"Big5（繁体中文）"_s,
                              u"Shift_JIS（日文）"_s, u"EUC-KR（韩文）"_s}));
        QCOMPARE(m_dialogs.calls.last().text, u"共有［2］个文件名可以修复，请核对预览后重命名。"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"提示信息"_s);
        QCOMPARE(list.cell(0, ColPreview), u"中文.txt"_s);
        QCOMPARE(list.cell(1, ColPreview), u"中文.doc"_s);
        QCOMPARE(list.cell(2, ColPreview), QString());
        m_dialogs.answerYes();
        trigger("Menu_Execution");
        QCOMPARE(filesIn(tree.root()), (QStringList{u"中文.doc"_s, u"中文.txt"_s, u"报告.txt"_s}));
        // Nothing left to repair; a cancelled choice changes nothing.
        m_dialogs.answerCancel();
        trigger("Menu_RepairNames");
        QCOMPARE(list.cell(0, ColPreview), u"中文.txt"_s);
        trigger("Menu_Refurbish");
        m_dialogs.answerText(u"GB18030（简体中文）"_s);
        trigger("Menu_RepairNames");
        QCOMPARE(m_dialogs.calls.last().text, u"没有发现可以修复的文件名。"_s);
    }

    // The replace tab with its box ticked: a pattern and a template, through to the disk and back;
    // a wrong pattern and a runaway one are told, and leave the list without their previews.
    void regularExpressionsRenameOnDisk()
    {
        test::TempTree tree;
        FileList& list = m_window->fileList();
        for (const char* n : {"IMG_20240501_1234.jpg", "【高清】电影名[www.site.com].mp4", "notes.txt"})
            list.addFileRow(tree.file(n));
        get<TabControl>("SSTab1")->setCurrentIndex(3);
        auto* box = get<QCheckBox>("Check_RegularExpression");
        QCOMPARE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name), u"正则表达式"_s);
        QCOMPARE(get<QCheckBox>("Check_DirectDelete")->nextInFocusChain(), box);
        QVERIFY(!box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QVERIFY(box->isChecked());
        auto* find = get<QLineEdit>("Text_SourceChar");
        auto* replacement = get<QLineEdit>("Text_DestChar");
        find->setText(uR"x(IMG_(\d{4})(\d\d)(\d\d)_(\d+))x"_s);
        replacement->setText(u"$1-$2-$3 #$4"_s);
        trigger("Menu_Preview");
        QCOMPARE(list.cell(0, ColPreview), u"2024-05-01 #1234.jpg"_s);
        QCOMPARE(list.cell(1, ColPreview), u"【高清】电影名[www.site.com].mp4"_s);
        QCOMPARE(list.cell(2, ColPreview), u"notes.txt"_s);
        m_dialogs.answerYes();
        trigger("Menu_Execution");
        QCOMPARE(filesIn(tree.root()), (QStringList{u"2024-05-01 #1234.jpg"_s, u"notes.txt"_s,
                                                    u"【高清】电影名[www.site.com].mp4"_s}));
        m_dialogs.answerYes();
        trigger("Menu_Undo");
        QCOMPARE(filesIn(tree.root()), (QStringList{u"IMG_20240501_1234.jpg"_s, u"notes.txt"_s,
                                                    u"【高清】电影名[www.site.com].mp4"_s}));
        trigger("Menu_Refurbish");

        find->setText(u"(notes"_s);
        list.setCell(2, ColPreview, u"left from before"_s);
        trigger("Menu_Preview");
        QCOMPARE(m_dialogs.calls.last().text,
                 u"正则表达式有误：缺少右括号“)”（在正则表达式的第 6 个字符之后）。"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"错误提示"_s);
        QCOMPARE(list.cell(2, ColPreview), QString());

        list.addFileRow(tree.file(QByteArray(40, 'a') + "b.txt"));
        find->setText(u"(a+)+$"_s);
        replacement->setText(u"x"_s);
        trigger("Menu_Preview");
        QCOMPARE(m_dialogs.calls.last().text,
                 u"有［1］个文件名无法用这个正则表达式处理（匹配过于复杂），它们没有预览。"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"提示信息"_s);
        QCOMPARE(list.cell(3, ColPreview), QString());
        QCOMPARE(list.cell(2, ColPreview), u"notes.txt"_s);

        // Stopped while it toils, a preview leaves none at all, and tells nothing.
        for (int i = 0; i < 100; ++i)
            list.addFileRow(tree.file(QByteArray(40, 'a') + QByteArray::number(i) + "b.txt"));
        find->setText(u"(a+)+\\d"_s);
        const int told = int(m_dialogs.calls.size());
        m_dialogs.cancelAt = 50;
        trigger("Menu_Preview");
        QCOMPARE(int(m_dialogs.calls.size()), told);
        for (int r = 0; r < list.fileCount(); ++r)
            QCOMPARE(list.cell(r, ColPreview), QString());
    }

    // 按文件信息命名 over photos, songs and a file without what the template needs: the dialog's
    // example line and faults, the previews, the summary, the rename on disk.
    void namesFromFileInformation()
    {
        test::TempTree tree;
        const LibraryFileFacts facts;
        m_window->setFileFacts(&facts);
        FileList& list = m_window->fileList();
        list.addFileRow(tree.write(
            "DSC_0001.JPG",
            test::jpegWithExif({16, 12}, {{"Exif.Photo.DateTimeOriginal", "2024:05:01 12:34:56"}})));
        list.addFileRow(tree.write(
            "IMG_0002.jpg",
            test::jpegWithExif({16, 12}, {{"Exif.Photo.DateTimeDigitized", "2024:05:01 12:40:00"}})));
        list.addFileRow(tree.write("notes.txt", "no picture"));
        QCOMPARE(get<QAction>("Menu_NameFromInfo")->text(), u"按文件信息命名 (&I)"_s);

        m_dialogs.answerTemplate(u"{拍摄时间:yyyy-MM-dd HH.mm.ss}_{序号:2}"_s);
        trigger("Menu_NameFromInfo");
        const TemplateRequest& asked = m_dialogs.lastTemplate;
        QCOMPARE(asked.title, u"按文件信息命名"_s);
        QCOMPARE(asked.initial, u"{拍摄时间}"_s);
        QCOMPARE(asked.check(u"{拍摄时间}"_s).line, u"示例：20240501_123456.JPG"_s);
        QCOMPARE(asked.check(u"{相机}"_s).line, u"示例：第一个文件缺少模板所需的信息。"_s);
        QCOMPARE(asked.check(u"x{拍摄时间"_s).line, u"模板有误：第 2 个字符“{”没有对应的“}”。"_s);
        QVERIFY(!asked.check(u"{作者}"_s).ok);
        QCOMPARE(asked.check(u"{作者}"_s).line, u"模板有误：没有“{作者}”这个字段。"_s);
        QCOMPARE(list.cell(0, ColPreview), u"2024-05-01 12.34.56_01.JPG"_s);
        QCOMPARE(list.cell(1, ColPreview), u"2024-05-01 12.40.00_02.jpg"_s);
        QCOMPARE(list.cell(2, ColPreview), QString());
        QCOMPARE(m_dialogs.calls.last().text, u"有［1］个文件缺少模板所需的信息，没有预览。"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"提示信息"_s);
        m_dialogs.answerYes();
        trigger("Menu_Execution");
        QCOMPARE(filesIn(tree.root()), (QStringList{u"2024-05-01 12.34.56_01.JPG"_s,
                                                    u"2024-05-01 12.40.00_02.jpg"_s, u"notes.txt"_s}));

        // The template is kept for the next time; 取消 changes nothing.
        m_dialogs.answerTemplate(std::nullopt);
        trigger("Menu_NameFromInfo");
        QCOMPARE(m_dialogs.lastTemplate.initial, u"{拍摄时间:yyyy-MM-dd HH.mm.ss}_{序号:2}"_s);
        QCOMPARE(list.cell(0, ColPreview), u"2024-05-01 12.34.56_01.JPG"_s);
    }

    // 叠加预处理: three tabs' previews add up, one rename and one undo take the files all the way and
    // back; unticked, a preview starts from the listed names again.
    void chainedPreviewsRenameOnce()
    {
        test::TempTree tree;
        FileList& list = m_window->fileList();
        for (const char* n : {"DSC_a.JPG", "DSC_b.JPG", "notes.TXT"})
            list.addFileRow(tree.file(n));
        auto* chain = get<QAction>("Menu_ChainPreview");
        QVERIFY(chain->isCheckable() && !chain->isChecked());
        chain->trigger();
        const auto previews = [&] {
            return QStringList{list.cell(0, ColPreview), list.cell(1, ColPreview), list.cell(2, ColPreview)};
        };
        const auto tip = [this] {
            return get<FileListView>("MSFlexGrid1")
                ->model()
                ->headerData(ColPreview, Qt::Horizontal, Qt::ToolTipRole);
        };
        get<QLineEdit>("Text_BofAddChar")->setText(u"IMG_"_s);
        trigger("Menu_Preview");
        QCOMPARE(previews(), (QStringList{u"IMG_0.JPG"_s, u"IMG_1.JPG"_s, u"IMG_2.TXT"_s}));
        QVERIFY(!tip().isValid());
        get<TabControl>("SSTab1")->setCurrentIndex(3);
        get<QLineEdit>("Text_SourceChar")->setText(u"IMG_"_s);
        get<QLineEdit>("Text_DestChar")->setText(u"Trip-"_s);
        trigger("Menu_Preview");
        get<TabControl>("SSTab1")->setCurrentIndex(4);
        get<QRadioButton>("Option_Extension_3")->setChecked(true);
        trigger("Menu_Preview");
        QCOMPARE(previews(), (QStringList{u"Trip-0.jpg"_s, u"Trip-1.jpg"_s, u"Trip-2.txt"_s}));
        QCOMPARE(tip().toString(), u"叠加预处理：由［3］步得到（序数 → 替换 → 大小写）"_s);
        m_dialogs.answerYes();
        trigger("Menu_Execution");
        QCOMPARE(m_dialogs.calls.last().text, u"是否开始执行重命名？\n新文件名由［3］步预处理得到。"_s);
        QCOMPARE(filesIn(tree.root()), (QStringList{u"Trip-0.jpg"_s, u"Trip-1.jpg"_s, u"Trip-2.txt"_s}));
        QVERIFY(!tip().isValid());
        m_dialogs.answerYes();
        trigger("Menu_Undo");
        QCOMPARE(filesIn(tree.root()), (QStringList{u"DSC_a.JPG"_s, u"DSC_b.JPG"_s, u"notes.TXT"_s}));
        QVERIFY(!get<QAction>("Menu_Undo")->isEnabled());

        trigger("Menu_Refurbish");
        chain->trigger();
        trigger("Menu_Preview");
        QCOMPARE(previews(), (QStringList{u"DSC_a.jpg"_s, u"DSC_b.jpg"_s, u"notes.txt"_s}));
        m_dialogs.answerNo();
        trigger("Menu_Execution");
        QCOMPARE(m_dialogs.calls.last().text, u"是否开始执行重命名？"_s);
        // A change of the list forgets the steps: what previews it has count as one.
        chain->trigger();
        list.addFileRow(tree.file("new.TXT"));
        QVERIFY(!tip().isValid());
        trigger("Menu_Preview");
        QCOMPARE(tip().toString(), u"叠加预处理：由［2］步得到（此前的预处理 → 大小写）"_s);
    }

    // 中文转换 through the window: each kind asks what it needs, fills the preview like a rule and
    // says how many; the names go to disk and back; 取消 does nothing.
    void chineseConversions()
    {
        const LibraryChineseText chinese;
        m_window->setChineseText(&chinese);
        test::TempTree tree;
        FileList& list = m_window->fileList();
        for (const char* n : {"頭髮與發展.txt", "重庆银行.pdf", "ＡＢＣ１２３．ＴＸＴ"})
            list.addFileRow(tree.file(n));
        const auto convert = [&](const QStringList& answers) {
            for (const QString& answer : answers)
                m_dialogs.answerText(answer);
            trigger("Menu_ConvertChinese");
            return QStringList{list.cell(0, ColPreview), list.cell(1, ColPreview), list.cell(2, ColPreview)};
        };
        QCOMPARE(convert({u"繁体 → 简体"_s}), (QStringList{u"头发与发展.txt"_s, QString(), QString()}));
        QCOMPARE(m_dialogs.calls.last().text, u"共有［1］个文件名可以转换，请核对预览后重命名。"_s);
        QCOMPARE(convert({u"汉字 → 拼音"_s, u"词首大写（ChongqingYinhang）"_s}),
                 (QStringList{u"TouFaYuFaZhan.txt"_s, u"ChongqingYinhang.pdf"_s, QString()}));
        QCOMPARE(m_dialogs.calls.at(m_dialogs.calls.size() - 2).text, u"拼音格式："_s);
        QCOMPARE(convert({u"全角字符 → 半角字符"_s}), (QStringList{QString(), QString(), u"ABC123.TXT"_s}));
        m_dialogs.answerYes();
        trigger("Menu_Execution");
        QCOMPARE(filesIn(tree.root()),
                 (QStringList{u"ABC123.TXT"_s, u"重庆银行.pdf"_s, u"頭髮與發展.txt"_s}));
        trigger("Menu_Refurbish");
        QCOMPARE(convert({u"中文数字 → 阿拉伯数字"_s, u"自动（按最大的数补零）"_s}),
                 (QStringList{QString(), QString(), QString()}));
        QCOMPARE(m_dialogs.calls.last().text, u"没有发现可以转换的文件名。"_s);
        const int asked = int(m_dialogs.calls.size());
        m_dialogs.answerCancel();
        trigger("Menu_ConvertChinese");
        QCOMPARE(int(m_dialogs.calls.size()), asked + 1);
    }

    // One run per tab: set the tab's inputs as a user would, preview, rename, refresh.
    void everyTabRenamesOnDisk_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("delete") << 1 << QStringList{u"IMG_0001.JPG"_s, u"IMG_0002.JPG"_s}
                                << QStringList{u"0001.JPG"_s, u"0002.JPG"_s};
        QTest::newRow("insert") << 2 << QStringList{u"a.txt"_s, u"Bb.txt"_s}
                                << QStringList{u"a-2024.txt"_s, u"bb-2024.txt"_s};
        QTest::newRow("replace") << 3 << QStringList{u"trip one.jpg"_s, u"trip two.jpg"_s}
                                 << QStringList{u"trip_one.jpg"_s, u"trip_two.jpg"_s};
        QTest::newRow("case") << 4 << QStringList{u"photo.JPG"_s, u"Ölbild.PNG"_s}
                              << QStringList{u"Photo.jpg"_s, u"Ölbild.png"_s};
        QTest::newRow("names from a file")
            << 5 << QStringList{u"1.jpg"_s, u"2.jpg"_s} << QStringList{u"北京.jpg"_s, u"上海.jpg"_s};
    }
    void everyTabRenamesOnDisk()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        test::TempTree tree;
        for (const QString& name : before)
            m_window->fileList().addFileRow(tree.file(name.toUtf8(), 1));
        get<TabControl>("SSTab1")->setCurrentIndex(tab);
        switch (tab) {
        case 1:
            get<QLineEdit>("Text_DeleteMedian")->setText(u"4"_s);
            break;
        case 2:
            get<QLineEdit>("Text_InsertCharacter")->setText(u"-2024"_s);
            get<QComboBox>("Combo_LocateMode_Insert")->setCurrentIndex(1);
            break;
        case 3:
            get<QLineEdit>("Text_SourceChar")->setText(u" "_s);
            get<QLineEdit>("Text_DestChar")->setText(u"_"_s);
            break;
        case 4:
            get<QRadioButton>("Option_Filename_1")->setChecked(true);
            get<QRadioButton>("Option_Extension_3")->setChecked(true);
            break;
        case 5: {
            const QByteArray names = tree.root() + "names.txt";
            QFile f(QString::fromUtf8(names));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("\xb1\xb1\xbe\xa9\r\n\r\n  \xc9\xcf\xba\xa3\r\n"); // GB18030, CR LF, a blank line
            f.close();
            m_dialogs.answerFile(QString::fromUtf8(names));
            QLabel* browse = get<QLabel>("Label_Browse");
            QTest::mouseClick(browse, Qt::LeftButton, {}, browse->rect().center());
            QCOMPARE(m_dialogs.calls.last().kind, u"openFile"_s);
            QCOMPARE(m_dialogs.calls.last().text, u"文本文件 (*.txt) (*.txt)"_s);
            QCOMPARE(get<QLineEdit>("Text_PathName")->text(), QString::fromUtf8(names));
            QCOMPARE(get<QPlainTextEdit>("Text_FileContent")->toPlainText(), u"北京\n上海\n"_s);
            QCOMPARE(get<QLabel>("Label_FileContentSUM")->text(), u"2"_s);
            ::unlink(names.constData());
            break;
        }
        default:
            break;
        }
        get<QAction>("Menu_Preview")->trigger();
        m_dialogs.answerYes();
        get<QAction>("Menu_Execution")->trigger();
        QStringList expected = after;
        expected.sort();
        QCOMPARE(filesIn(tree.root()), expected);
        get<QAction>("Toolbar1_12")->trigger();
        for (int r = 0; r < after.size(); ++r) {
            QCOMPARE(m_window->fileList().cell(r, ColOriginalName), after[r]);
            QCOMPARE(m_window->fileList().cell(r, ColResult), QString());
        }
    }

    void namesTypedByHandAreRecounted()
    {
        get<TabControl>("SSTab1")->setCurrentIndex(5);
        get<QPlainTextEdit>("Text_FileContent")->setPlainText(u"  a\n\n b\n   \n"_s);
        QLabel* recount = get<QLabel>("Label_CountSUM");
        QTest::mouseClick(recount, Qt::LeftButton, {}, recount->rect().center());
        QCOMPARE(get<QLabel>("Label_FileContentSUM")->text(), u"2"_s);
        // The count is shown whole, however many digits it has.
        get<QPlainTextEdit>("Text_FileContent")
            ->setPlainText(QString(12345, u'\n').replace(u"\n"_s, u"a\n"_s));
        QTest::mouseClick(recount, Qt::LeftButton, {}, recount->rect().center());
        QLabel* count = get<QLabel>("Label_FileContentSUM");
        QCOMPARE(count->text(), u"12345"_s);
        QVERIFY(count->width() >= count->fontMetrics().horizontalAdvance(u"12345"_s));
        get<QPlainTextEdit>("Text_FileContent")->setPlainText(u"  a\n\n b\n   \n"_s);
        QTest::mouseClick(recount, Qt::LeftButton, {}, recount->rect().center());
        // Browsing and cancelling changes nothing: the typed names are work.
        get<QLineEdit>("Text_PathName")->setText(u"/typed/path.txt"_s);
        m_dialogs.answerFile(QString());
        QTest::mouseClick(get<QLabel>("Picture_Browse"), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(get<QLineEdit>("Text_PathName")->text(), u"/typed/path.txt"_s);
        QCOMPARE(get<QPlainTextEdit>("Text_FileContent")->toPlainText(), u"  a\n\n b\n   \n"_s);
        QCOMPARE(get<QLabel>("Label_FileContentSUM")->text(), u"2"_s);
        // A file that is not text is refused with a message, and nothing changes.
        test::TempTree tree;
        get<QPlainTextEdit>("Text_FileContent")->setPlainText(u"kept"_s);
        const QByteArray binary = tree.root() + "binary.txt";
        QFile f(QString::fromUtf8(binary));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x7f"
                           "ELF\0\0",
                           6));
        f.close();
        m_dialogs.answerFile(QString::fromUtf8(binary));
        QTest::mouseClick(get<QLabel>("Picture_Browse"), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(m_dialogs.calls.last().kind, u"message"_s);
        QCOMPARE(m_dialogs.calls.last().caption, u"提示信息"_s);
        QCOMPARE(get<QPlainTextEdit>("Text_FileContent")->toPlainText(), u"kept"_s);
    }

    void previewFollowsTheTab()
    {
        m_window->fileList().addFileRow("/none/a.txt");
        get<QAction>("Menu_Preview")->trigger();
        QCOMPARE(m_window->fileList().cell(0, ColPreview), u"0.txt"_s);
        // Changing the tab keeps the previews.
        get<TabControl>("SSTab1")->setCurrentIndex(3);
        QCOMPARE(m_window->fileList().cell(0, ColPreview), u"0.txt"_s);
        // A rule that refuses says why in a notice.
        get<TabControl>("SSTab1")->setCurrentIndex(5);
        get<QAction>("Menu_Preview")->trigger();
        QCOMPARE(m_dialogs.calls.size(), 1);
        QCOMPARE(m_dialogs.calls[0].text, u"无预命名信息，请选择有命名信息的文件！"_s);
        QCOMPARE(m_dialogs.calls[0].caption, u"提示信息"_s);
    }
};

QTEST_MAIN(TestEndToEnd)
#include "TestEndToEnd.moc"

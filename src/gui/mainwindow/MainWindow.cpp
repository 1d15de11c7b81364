// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/MainWindow.h"

#include "core/filelist/FileList.h"
#include "core/filelist/RefreshPass.h"
#include "core/passes/PassWorker.h"
#include "core/platform/FileSystem.h"
#include "core/rename/ConflictCheck.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/RenamePass.h"
#include "core/rename/UndoPass.h"
#include "core/rename/rules/ConvertRule.h"
#include "core/rename/rules/InfoRule.h"
#include "core/rename/rules/RepairRule.h"
#include "core/text/NameCodec.h"
#include "gui/chrome/Frame.h"
#include "gui/chrome/ImageButton.h"
#include "gui/chrome/LinkStrip.h"
#include "gui/chrome/TabControl.h"
#include "gui/chrome/TabPainter.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/RuleQuestions.h"
#include "gui/filelist/FileListCommands.h"
#include "gui/filelist/FileListModel.h"
#include "gui/filelist/FileListView.h"
#include "gui/filelist/GridMenu.h"
#include "gui/filelist/ListDialogs.h"
#include "gui/forms/FormBuilder.h"
#include "gui/mainwindow/AccessibleWidgets.h"
#include "gui/mainwindow/CommandTable.h"
#include "gui/mainwindow/FileDrop.h"
#include "gui/mainwindow/ModePages.h"
#include "gui/mainwindow/WindowColours.h"
#include "gui/mainwindow/WindowTexts.h"
#include "gui/style/Fonts.h"
#include "gui/style/Palette.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <optional>

namespace tamsel {

MainWindow::MainWindow(Dialogs& dialogs, FileSystem& fs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_fs(fs), m_list(new FileList(fs, this)),
      m_worker(new PassWorker(this))
{
    setObjectName(QStringLiteral("Form_Main"));
    setWindowTitle(QStringLiteral("TamselRenvold"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    installAccessibility();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/images/icon-%1.png").arg(size));
    setWindowIcon(icon);
    chooseZoom();
    createControls();
    startUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::chooseZoom()
{
    // The desktop's text size and the screen decide how large the window is drawn: larger text
    // makes it larger, a small screen (a large scale factor) smaller, never beyond the screen.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const int menuBar = QFontMetrics(songFont(9)).height() + 10;
    const int titleBar = 32;
    windowZoom() = zoomFor(QApplication::font().pointSizeF(), screen->logicalDotsPerInchY(),
                           screen->availableGeometry().size(), QSize(794, 529 + menuBar + titleBar));
    setFont(songFont(9));
}

void MainWindow::createControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(tw(11910), tw(7935));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_toolbar = new QToolBar(client);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setGeometry(0, 0, client->width(), tw(555));
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setIconSize(QSize(tw(240), tw(240)));
    m_toolbar->setStyleSheet(QStringLiteral("QToolBar { border: none; spacing: 0px; padding: 0px; }"
                                            "QToolButton { padding: 1px 2px; margin: 0px; color: black; }"));
    auto* line1 = named(new QFrame(client), "Line1");
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);
    line1->setGeometry(0, tw(560) - 1, tw(11880), 2);

    createFileListArea(client);
    createModeArea(client);
    auto* linkStrip = new LinkStrip(QStringLiteral("更多精品软件请访问Tamsel软件站  ") + HomePage, client);
    place(linkStrip, 7080, 7273, 4695, 495);
    connect(linkStrip, &LinkStrip::clicked, this, &MainWindow::openHomePage);

    m_commands = new FileListCommands(
        *m_list, m_fs, m_dialogs, {this, m_grid, m_fileSel, m_fileSum}, [this] { return m_exiting; }, this);
    m_commands->setBusy([this] { return m_passRunning; });
    connect(m_grid, &FileListView::selectionGesture, m_commands, &FileListCommands::updateSelection);
    connect(m_grid, &FileListView::deletePressed, m_commands, &FileListCommands::deleteSelectedFiles);
    createCommands();
    new FileDrop(this, [this](const QList<QByteArray>& paths) { addPathsWhenIdle(paths, {}); });
    // Marks follow every change of the order a rename would take, and every pass.
    m_checker = new ConflictChecker(
        *m_list, m_fs, [this] { return !m_passRunning && hasPreview(*m_list); }, this);
    connect(m_commands, &FileListCommands::rowsRearranged, m_checker, &ConflictChecker::startSoon);
    connect(m_commands, &FileListCommands::walkingChanged, this, &MainWindow::updateCommandStates);
}

void MainWindow::createFileListArea(QWidget* client)
{
    Frame* box = frame(client, "Frame_FileList", QStringLiteral("［文件列表］"), 120, 720, 6855, 6375);
    m_grid = control<FileListView>(box, "MSFlexGrid1", 120, 240, 6615, 6015);
    m_model = new FileListModel(*m_list, m_grid);
    m_grid->setFileList(m_model);
    m_grid->setAccessibleName(QStringLiteral("文件列表"));

    QLabel* sumCaption = label(client, "Label1", QStringLiteral("总文件数："), 240, 7440);
    m_fileSum = label(client, "Label_FileSum", QStringLiteral("0"), 1200, 7440);
    m_fileSum->setMinimumWidth(tw(930));
    m_fileSum->resize(tw(930), m_fileSum->height());
    counter(sumCaption, m_fileSum);
    QLabel* selCaption = label(client, "Label2", QStringLiteral("已选文件："), 2280, 7440);
    m_fileSel = label(client, "Label_FileSel", QStringLiteral("0"), 3240, 7440);
    m_fileSel->setMinimumWidth(tw(930));
    m_fileSel->resize(tw(930), m_fileSel->height());
    counter(selCaption, m_fileSel);
    connect(m_list, &FileList::fileCountChanged, m_fileSum,
            [this](int count) { showCount(m_fileSum, count); });

    const QRect wideCaption(240, 120, 540, 180);
    m_preview = new ImageButton(client, QStringLiteral("Preview"), QStringLiteral("预处理"),
                                {QRect(4440, 7320, 975, 390), wideCaption, QRect(4200, 7080, 1455, 855)});
    m_execution = new ImageButton(client, QStringLiteral("Execution"), QStringLiteral("重命名"),
                                  {QRect(5880, 7320, 975, 390), wideCaption, QRect(5640, 7080, 1455, 855)});
    connect(m_preview, &ImageButton::clicked, this, &MainWindow::previewPass);
    connect(m_execution, &ImageButton::clicked, this, &MainWindow::renameCommand);
}

void MainWindow::createModeArea(QWidget* client)
{
    Frame* modeFrame =
        frame(client, "Frame_SetReNameMode", QStringLiteral("［设定重命名方式］"), 7080, 720, 4695, 4215);
    m_tabs = control<TabControl>(modeFrame, "SSTab1", 120, 240, 4455, 3855);
    m_tabs->setFont(songFont(9));
    const PageContext context{m_dialogs, m_fs, [this] { return m_exiting; }};
    for (const ModeEntry& mode : renameModes())
        m_pages.push_back(mode.makePage(m_tabs->addPage(QString::fromUtf16(mode.tab)), context));
    m_tabs->addStepKeys(this);

    Frame* explainFrame = frame(client, "Frame_Explain", QStringLiteral("［说明］"), 7080, 5040, 4695, 2055);
    auto* explain = control<QLabel>(explainFrame, "Label_Explain", 480, 480, 3735, 1335);
    explain->setFont(kaiFont(12));
    explain->setWordWrap(true);
    explain->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    explain->setText(QString::fromUtf16(renameModes().front().explanation));
    connect(m_tabs, &TabControl::currentChanged, explain, [this, explain] {
        explain->setText(QString::fromUtf16(renameModes()[size_t(m_tabs->currentIndex())].explanation));
    });
}

void MainWindow::createCommands()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    QMenu* file = menu(bar, "Menu_File", QStringLiteral(" 文件 (&F)"));
    QMenu* edit = menu(bar, "Menu_Edit", QStringLiteral(" 编辑 (&E)"));
    QMenu* run = menu(bar, "Menu_Run", QStringLiteral(" 运行 (&R)"));
    // Top-level items that are never shown; their commands are reachable only through them.
    QMenu* advanced = menu(bar, "Menu_Advanced", QStringLiteral(" 高级 (&A)"));
    advanced->menuAction()->setVisible(false);
    auto* addDialog = new AddListFileDialog(*m_commands, this);
    auto* filterDialog = new FilterDialog(*m_list, this);
    auto* sortDialog = new SortDialog(this);
    QAction* add = item(bar, "Menu_Add", QStringLiteral("文件添加 (&A)"));
    QAction* remove = item(bar, "Menu_Remove", QStringLiteral("文件过滤 (&M)"));
    QAction* sort = item(bar, "Menu_Sort", QStringLiteral("文件排序 (&S)"));
    for (QAction* hidden : {add, remove, sort})
        hidden->setVisible(false);
    connect(add, &QAction::triggered, addDialog, &AddListFileDialog::showAddFilesDialog);
    connect(remove, &QAction::triggered, filterDialog, &FilterDialog::showFilterDialog);
    connect(sort, &QAction::triggered, sortDialog, &SortDialog::showSortDialog);
    QMenu* help = menu(bar, "Menu_Help", QStringLiteral(" 帮助 (&H)"));

    using When = Command::When;
    FileListCommands* c = m_commands;
    const QKeySequence none;
    m_actions = installCommands(
        {
            {"Menu_AddFile", u"添加文件 (&F)", file, QKeySequence(Qt::CTRL | Qt::Key_O), 1, u" 添加文件",
             u"添加文件 Ctrl+O", When::NoPass, [c] { c->addFilesCommand(); }},
            {"Menu_AddDir", u"添加目录 (&D)", file, none, 2, u" 添加目录", u"添加目录", When::NoPass,
             [c] { c->addFolderCommand(); }},
            {"Menu_FileSearch", u"文件搜索 (&S)", file, none, 3, u" 文件搜索", u"文件搜索", When::NoPass,
             [c] { c->searchFileList(); }},
            {"Menu_Exit", u"退  出 (&X)", file, QKeySequence(Qt::CTRL | Qt::Key_Q), 0, nullptr, nullptr,
             When::Always, [this] { exitProgram(); }},
            {"Menu_MoveBack", u"上移一步 (&P)", edit, none, 4, u" 上移一步", u"上移一步", When::NoPass,
             [c] { c->moveSelectionUp(); }},
            {"Menu_MoveNext", u"下移一步 (&N)", edit, none, 5, u" 下移一步", u"下移一步", When::NoPass,
             [c] { c->moveSelectionDown(); }},
            {"Menu_MoveTop", u"移至顶部 (&T)", edit, none, 6, u" 移至顶部", u"移至顶部", When::NoPass,
             [c] { c->moveSelectionToTop(); }},
            {"Meun_MoveBottom", u"移至底部 (&B)", edit, none, 7, u" 移至底部", u"移至底部", When::NoPass,
             [c] { c->moveSelectionToBottom(); }},
            {"Menu_DelAll", u"删除全部", edit, none, 8, u" 删除全部", u"删除全部", When::NoPass,
             [c] { c->deleteAllFiles(); }},
            {"Menu_DelSel", u"删除选中", edit, none, 9, u" 删除选中", u"删除选中", When::NoPass,
             [c] { c->deleteSelectedFiles(); }},
            {"Menu_Refurbish", u"刷新文件 (&R)", edit, QKeySequence(Qt::Key_F5), 12, u"刷新文件",
             u"刷新文件 F5", When::NoPass, [this] { refreshFileList(); }},
            {"Menu_Undo", u"撤销重命名 (&U)", edit, QKeySequence(Qt::CTRL | Qt::Key_Z), 0, nullptr, nullptr,
             When::WholeList, [this] { undoCommand(); }},
            {"Menu_Preview", u"预处理 (&P)", run, none, 10, u"预处理", u"预处理", When::WholeList,
             [this] { previewPass(); }},
            {"Menu_Execution", u"重命名 (&E)", run, none, 11, u"重命名", u"重命名", When::WholeList,
             [this] { renameCommand(); }},
            {"Menu_RepairNames", u"修复乱码文件名 (&G)", run, none, 0, nullptr, nullptr, When::WholeList,
             [this] { repairNamesCommand(); }},
            {"Menu_ConvertChinese", u"中文转换 (&Z)", run, none, 0, nullptr, nullptr, When::WholeList,
             [this] { convertChineseCommand(); }},
            {"Menu_NameFromInfo", u"按文件信息命名 (&I)", run, none, 0, nullptr, nullptr, When::WholeList,
             [this] { nameFromInfoCommand(); }},
            {"Menu_HomePage", u"访问首页 (&V)", help, none, 0, nullptr, nullptr, When::Always,
             [this] { openHomePage(); }},
            {"Menu_About", u"关  于 ", help, none, 0, nullptr, nullptr, When::Always,
             [this] { showAboutBox(); }},
        },
        m_toolbar);
    m_actions.noPass << add;
    const auto action = [this](const char* name) { return findChild<QAction*>(QLatin1String(name)); };
    installGridMenu(m_grid, m_commands,
                    {action("Menu_DelSel"), action("Menu_MoveTop"), action("Meun_MoveBottom")});
    // Ticked, each preview starts from the one before: its state is read when a preview starts.
    m_chainPreview = new QAction(QStringLiteral("叠加预处理 (&C)"), this);
    m_chainPreview->setObjectName(QStringLiteral("Menu_ChainPreview"));
    m_chainPreview->setCheckable(true);
    run->insertAction(action("Menu_Execution"), m_chainPreview);
    run->insertSeparator(action("Menu_RepairNames"));
    m_undo = action("Menu_Undo");
    edit->insertSeparator(m_undo);
    m_undo->setEnabled(false);
}

void MainWindow::updateCommandStates()
{
    // While a pass runs, nothing may change the list it works on. A rename while a folder is still
    // being read would have the walk list renamed files again.
    const bool wholeList = !m_passRunning && !m_commands->walking();
    for (QAction* action : std::as_const(m_actions.noPass))
        action->setEnabled(!m_passRunning);
    for (QAction* action : std::as_const(m_actions.wholeList))
        action->setEnabled(wholeList);
    m_undo->setEnabled(wholeList && !m_history.empty());
    m_preview->setEnabled(wholeList);
    m_execution->setEnabled(wholeList);
}

void MainWindow::startUp()
{
    m_list->initFileList();
    for (const auto& page : m_pages)
        page->reset();
    setWindowTitle(QStringLiteral("TamselRenvold_") + QStringLiteral("V" TAMSEL_VERSION));
    m_tabs->setCurrentIndex(0);
    showCount(m_fileSel, 0);
    showCount(m_fileSum, 0);
    applyWindowColours(this, m_toolbar, m_tabs);
    // Centred on the screen when first shown.
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void MainWindow::refreshFileList()
{
    if (m_passRunning)
        return;
    runPass([&] {
        const ListCopy copy = m_list->copy();
        runOnWorker(QStringLiteral("正在刷新…"), copy.fileCount(), false, [&](PassControl& control) {
            refreshPass(copy, m_fs, control,
                        [this](const std::vector<RefreshedRow>& rows) { applyRefreshed(*m_list, rows); });
        });
    });
    m_checker->startSoon();
}

void MainWindow::previewPass()
{
    if (m_commands->walking() || m_passRunning)
        return;
    const ModePage& page = *m_pages[size_t(m_tabs->currentIndex())];
    const std::unique_ptr<Rule> rule = page.rule();
    // The rule's questions first, then the pass, which asks nothing.
    const RulePlan plan = settlePreview(m_dialogs, this, *rule, m_list->fileCount(),
                                        [&page](int count) { page.showNameCount(count); });
    const QString step = QString::fromUtf16(renameModes()[size_t(m_tabs->currentIndex())].tab).remove(u' ');
    const PreviewCount count = runPreview(*rule, plan, step);
    if (m_exiting)
        return;
    m_checker->start();
    if (count.tooComplex != 0 && !count.stopped)
        m_dialogs.message(this, tooComplexSummary(count.tooComplex), Caption::Notice);
}

PreviewFrom MainWindow::previewFrom() const
{
    return m_chainPreview->isChecked() ? PreviewFrom::Previews : PreviewFrom::ListedNames;
}

PreviewCount MainWindow::runPreview(const Rule& rule, const RulePlan& plan, const QString& step)
{
    PreviewCount count;
    const bool chained = previewFrom() == PreviewFrom::Previews;
    QStringList steps = chained ? m_model->previewSteps() : QStringList();
    // Previews from before the steps were counted, or from before a change of the list, are one.
    if (chained && steps.isEmpty() && hasPreview(*m_list))
        steps << QStringLiteral("此前的预处理");
    // A step that names nothing leaves the chain as it was.
    if (chained && !plan.go)
        return count;
    // The marks of the previews about to go are not waited for.
    m_checker->cancel();
    runPass([&] {
        runOnWorker(QStringLiteral("正在预处理…"), m_list->fileCount(), true, [&](PassControl& control) {
            count = tamsel::previewPass(
                *m_list, rule, plan, control,
                [this](const PreviewedRows& rows) { applyPreviews(*m_list, rows); }, previewFrom());
        });
        // A stopped preview leaves none: no half of one to rename by.
        if (count.stopped) {
            const FileList::Batch batch(*m_list);
            for (int r = 0; r < m_list->fileCount(); ++r)
                m_list->setCell(r, ColPreview, QStringView());
        }
    });
    if (count.stopped)
        steps.clear();
    else if (plan.go)
        steps << step;
    m_model->setPreviewSteps(steps);
    return count;
}

void MainWindow::renameCommand()
{
    if (m_commands->walking() || m_passRunning)
        return;
    const QString caption = Caption::Prompt;
    // The question tells of the marks: those of the list as it is now.
    m_checker->settle();
    if (!hasPreview(*m_list)) {
        m_dialogs.message(this, QStringLiteral("请先进行预处理，得到你想要的结果再开始重命名！"), caption);
        return;
    }
    if (!m_dialogs.question(
            this, renameQuestion(m_list->conflictCount(), int(m_model->previewSteps().size())), caption) ||
        m_exiting)
        return;
    const int files = m_list->fileCount();
    RenameOutcome outcome;
    const WindowPassTexts texts;
    runPass([&] {
        const ListCopy copy = m_list->copy();
        runOnWorker(QStringLiteral("正在重命名…"), files, true, [&](PassControl& control) {
            outcome = renamePass(copy, m_fs, control, [this, &texts](const std::vector<RenamedRow>& rows) {
                applyRenamed(*m_list, rows, texts);
            });
        });
        if (!outcome.record.isEmpty())
            m_history.push_back(std::move(outcome.record));
        m_model->setPreviewSteps({});
    });
    if (m_exiting)
        return;
    m_checker->startSoon(); // the rows the pass did not rename show again why
    if (outcome.stoppedAt >= 0)
        m_dialogs.message(this, cancelledSummary(outcome.stoppedAt, files), Caption::Notice);
    else if (outcome.failure.row >= 0)
        m_dialogs.message(this, renameFailure(outcome, *m_list), Caption::Error);
}

void MainWindow::undoCommand()
{
    if (m_commands->walking() || m_passRunning || m_history.empty())
        return;
    RenameRecord& record = m_history.back();
    const int files = int(record.files.size());
    if (!m_dialogs.question(this, undoQuestion(record), Caption::Prompt) || m_exiting)
        return;
    UndoOutcome outcome;
    int left = 0;
    const WindowPassTexts texts;
    runPass([&] {
        const ListCopy copy = m_list->copy();
        runOnWorker(QStringLiteral("正在撤销…"), files, true, [&](PassControl& control) {
            outcome =
                undoPass(copy, m_fs, record, control, [this, &texts](const std::vector<UndoneFile>& done) {
                    applyUndone(*m_list, done, texts);
                });
        });
        left = int(record.files.size());
        if (record.isEmpty()) // a stopped undo keeps what it did not reach, for the next one
            m_history.pop_back();
    });
    if (m_exiting)
        return;
    m_checker->startSoon();
    if (outcome.stopped)
        m_dialogs.message(this, cancelledUndoSummary(outcome.restored, left), Caption::Notice);
    else if (outcome.failed != 0)
        m_dialogs.message(this, undoSummary(outcome.restored, outcome.failed), Caption::Notice);
}

void MainWindow::repairNamesCommand()
{
    if (m_commands->walking() || m_passRunning)
        return;
    const QStringList items = repairEncodings();
    const auto chosen = m_dialogs.inputItem(this, QStringLiteral("文件名原来的编码："),
                                            QStringLiteral("修复乱码文件名"), items);
    if (!chosen || m_exiting)
        return;
    const RepairRule rule(SourceEncoding(items.indexOf(*chosen)));
    const PreviewCount count =
        runPreview(rule, rule.plan(m_list->fileCount(), {}), QStringLiteral("修复乱码文件名"));
    if (m_exiting || count.stopped)
        return;
    m_checker->start();
    m_dialogs.message(this, repairSummary(count.named, count.undecided), Caption::Notice);
}

void MainWindow::convertChineseCommand()
{
    if (m_commands->walking() || m_passRunning)
        return;
    const QString title = QStringLiteral("中文转换");
    static const QStringList kinds = {
        QStringLiteral("繁体 → 简体"),        QStringLiteral("简体 → 繁体"),
        QStringLiteral("简体 → 台湾正体"),    QStringLiteral("简体 → 香港繁体"),
        QStringLiteral("汉字 → 拼音"),        QStringLiteral("中文数字 → 阿拉伯数字"),
        QStringLiteral("全角字符 → 半角字符")};
    const auto kind = m_dialogs.inputItem(this, QStringLiteral("转换方式："), title, kinds);
    if (!kind || m_exiting)
        return;
    ConvertInputs inputs;
    const int chosen = int(kinds.indexOf(*kind));
    if (chosen < 4) {
        inputs.kind = ConvertInputs::Kind::Script;
        inputs.script = Script(chosen);
    } else if (chosen == 4) {
        static const QStringList styles = {
            QStringLiteral("连写（chongqingyinhang）"), QStringLiteral("词间空格（chongqing yinhang）"),
            QStringLiteral("词首大写（ChongqingYinhang）"), QStringLiteral("首字母（cqyh）")};
        const auto style = m_dialogs.inputItem(this, QStringLiteral("拼音格式："), title, styles);
        if (!style || m_exiting)
            return;
        inputs.kind = ConvertInputs::Kind::Pinyin;
        inputs.pinyin = PinyinStyle(styles.indexOf(*style));
    } else if (chosen == 5) {
        static const QStringList widths = {QStringLiteral("自动（按最大的数补零）"), QStringLiteral("不补零"),
                                           QStringLiteral("2 位"), QStringLiteral("3 位"),
                                           QStringLiteral("4 位")};
        const auto width = m_dialogs.inputItem(this, QStringLiteral("数字位数："), title, widths);
        if (!width || m_exiting)
            return;
        inputs.kind = ConvertInputs::Kind::Numerals;
        const int w = int(widths.indexOf(*width));
        // 自动: as wide as the largest number any name the preview starts from would get.
        if (w == 0) {
            const PreviewFrom from = previewFrom();
            for (int r = 0; r < m_list->fileCount(); ++r) {
                const RowName row = startingRow(*m_list, r, from);
                inputs.numeralWidth = std::max(inputs.numeralWidth, widestChineseNumber(row.main));
            }
        } else {
            inputs.numeralWidth = w == 1 ? 0 : w;
        }
    } else {
        inputs.kind = ConvertInputs::Kind::FullWidth;
    }
    const ConvertRule rule(inputs, m_chinese);
    const PreviewCount count = runPreview(rule, rule.plan(m_list->fileCount(), {}), *kind);
    if (m_exiting || count.stopped)
        return;
    m_checker->start();
    m_dialogs.message(this,
                      count.named == 0 ? QStringLiteral("没有发现可以转换的文件名。")
                                       : QStringLiteral("共有［") + QString::number(count.named) +
                                             QStringLiteral("］个文件名可以转换，请核对预览后重命名。"),
                      Caption::Notice);
}

namespace {

// The facts of one file, read once with every field when first asked and then given again: the
// template dialog's example follows each key without reading the file each time.
class FirstFileFacts final : public FileFactsReader {
public:
    explicit FirstFileFacts(const FileFactsReader* reader) : m_reader(reader) {}
    FileFacts read(const QByteArray& path, unsigned) const override
    {
        if (!m_facts || path != m_path) {
            m_facts = m_reader ? m_reader->read(path, NeedAll) : FileFacts();
            m_path = path;
        }
        return *m_facts;
    }

private:
    const FileFactsReader* m_reader;
    mutable std::optional<FileFacts> m_facts;
    mutable QByteArray m_path;
};

} // namespace

void MainWindow::nameFromInfoCommand()
{
    if (m_commands->walking() || m_passRunning)
        return;
    TemplateRequest request;
    request.title = QStringLiteral("按文件信息命名");
    request.initial = m_infoTemplate;
    request.fields = infoFieldTokens();
    request.notes = infoFieldNotes();
    request.check = [this, first = std::make_shared<FirstFileFacts>(m_facts)](const QString& text) {
        return infoExample(text, *first);
    };
    const auto text = m_dialogs.askTemplate(this, request);
    if (!text || m_exiting)
        return;
    m_infoTemplate = *text;
    const InfoRule rule(InfoTemplate::parse(*text), m_facts);
    const PreviewCount count = runPreview(rule, rule.plan(m_list->fileCount(), {}), request.title);
    if (m_exiting || count.stopped)
        return;
    m_checker->start();
    if (count.missingInfo != 0)
        m_dialogs.message(this, missingInfoSummary(count.missingInfo), Caption::Notice);
}

TemplateCheck MainWindow::infoExample(const QString& text, const FileFactsReader& reader) const
{
    InfoTemplate parsed = InfoTemplate::parse(text);
    if (parsed.fault.kind != InfoTemplateFault::Kind::None)
        return {false, templateFaultText(parsed.fault)};
    if (m_list->fileCount() == 0)
        return {true, QStringLiteral("示例：列表中还没有文件。")};
    // The first file as the preview would name it: from its preview when 叠加预处理 is ticked.
    RowName row = startingRow(*m_list, 0, previewFrom());
    const RowFile file = rowFile(*m_list, 0, 0);
    row.file = &file;
    const InfoRule rule(std::move(parsed), &reader);
    QString name;
    const RowOutcome outcome = rule.step(row, {}, name);
    if (outcome.missingInfo)
        return {true, QStringLiteral("示例：第一个文件缺少模板所需的信息。")};
    return {true, QStringLiteral("示例：") +
                      displayName(outcome.named ? name : row.main.toString() + row.extension)};
}

void MainWindow::showAboutBox()
{
    m_dialogs.message(this, aboutText(), QStringLiteral("关于 - KervoRenvold"));
}

void MainWindow::openHomePage()
{
    QDesktopServices::openUrl(QUrl(HomePageUrl));
}

void MainWindow::exitProgram()
{
    // Nested loops (a modal dialog, a folder walk letting events through) end with the main
    // one; the walk and the commands see m_exiting and stop.
    m_exiting = true;
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QApplication::exit(0);
}

void MainWindow::openPaths(const QList<QByteArray>& paths, const QByteArray& workingDir)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (!paths.isEmpty())
        addPathsWhenIdle(paths, workingDir);
}

void MainWindow::addPathsWhenIdle(const QList<QByteArray>& paths, const QByteArray& workingDir)
{
    // A pass lets events through, but the rows it works on stay as they are.
    if (m_passRunning)
        m_pendingPaths.append({paths, workingDir});
    else
        m_commands->addPaths(paths, workingDir);
}

void MainWindow::runPass(const std::function<void()>& pass)
{
    m_checker->finish();
    m_passRunning = true;
    updateCommandStates();
    {
        // The view hears of what the pass did every tenth of a second, not every batch it posts.
        const FileList::Batch batch(*m_list);
        pass();
    }
    m_passRunning = false;
    updateCommandStates();
    // After what the pass's caller does next (its summary, its marks): a folder brings a question.
    QTimer::singleShot(0, this, [this, pending = std::exchange(m_pendingPaths, {})] {
        for (const auto& [paths, workingDir] : pending)
            addPathsWhenIdle(paths, workingDir);
    });
}

void MainWindow::runOnWorker(const QString& label, int total, bool cancellable, const PassWorker::Pass& pass)
{
    const auto progress = m_dialogs.progress(this, label, total, cancellable);
    m_worker->run(
        pass, [&](int done) { return progress->update(done) && !m_exiting; }, progress->everyStep());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    exitProgram();
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/MainWindow.h"

#include "core/filelist/AddFiles.h"
#include "core/filelist/FileList.h"
#include "core/inputs/InputRules.h"
#include "core/platform/Dialogs.h"
#include "core/platform/FileSystem.h"
#include "core/rename/ConflictCheck.h"
#include "core/rename/NameFile.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/RenamePass.h"
#include "core/text/NameCodec.h"
#include "gui/accessibility/Accessibility.h"
#include "gui/chrome/Frame.h"
#include "gui/chrome/ImageButton.h"
#include "gui/chrome/LinkStrip.h"
#include "gui/chrome/TabControl.h"
#include "gui/chrome/TabPainter.h"
#include "gui/filelist/FileListCommands.h"
#include "gui/filelist/FileListView.h"
#include "gui/filelist/ListDialogs.h"
#include "gui/inputs/ParameterInputs.h"
#include "gui/style/Artwork.h"
#include "gui/style/Fonts.h"
#include "gui/style/Geometry.h"
#include "gui/style/Palette.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyleFactory>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <cerrno>
#include <cstring>

namespace tamsel {
namespace {

const QString HomePage = QStringLiteral("tamsel.example");
const QString HomePageUrl = QStringLiteral("https://tamsel.example/");
const QString FirstCharMode = QStringLiteral("从首字符开始（从前往后）");
const QString LastCharMode = QStringLiteral("从尾字符开始（从后往前）");

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    placeAt(l, left, top);
    return l;
}

Frame* frame(QWidget* parent, const char* name, const QString& caption, int l, int t, int w, int h)
{
    auto* f = new Frame(caption, parent);
    f->setObjectName(QLatin1String(name));
    place(f, l, t, w, h);
    return f;
}

template <typename W> W* control(QWidget* parent, const char* name, int l, int t, int w, int h)
{
    auto* c = new W(parent);
    c->setObjectName(QLatin1String(name));
    place(c, l, t, w, h);
    return c;
}

QComboBox* combo(QWidget* parent, const char* name, bool editable, int l, int t, int w, int h = 300)
{
    auto* c = control<QComboBox>(parent, name, l, t, w, h);
    c->setEditable(editable);
    if (editable) {
        c->setInsertPolicy(QComboBox::NoInsert);
        // The box keeps exactly what was typed: Qt's default completer fills in items as the user
        // types, and matches Enter to an item whatever its letter case.
        auto* exact = new QCompleter(QStringList(), c);
        exact->setCaseSensitivity(Qt::CaseSensitive);
        c->setCompleter(exact);
    }
    c->setMaxVisibleItems(14);
    return c;
}

// The caption is what a screen reader says for the input, never the code name.
void caption(QLabel* label, QWidget* input)
{
    label->setBuddy(input);
    input->setAccessibleName(label->text());
}

// A number read with its caption.
void counter(QLabel* caption, QLabel* number)
{
    caption->setBuddy(number);
    markCounter(number, caption->text());
}

void fill(QComboBox* box, const QStringList& items)
{
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(0);
    if (box->isEditable())
        box->setEditText(items.first());
}

QStringList numbers(int from, int to)
{
    QStringList items;
    for (int i = from; i <= to; ++i)
        items << QString::number(i);
    return items;
}

} // namespace

MainWindow::MainWindow(Dialogs& dialogs, FileSystem& fs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_fs(fs), m_list(new FileList(fs, this))
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

    auto* line1 = new QFrame(client);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);
    line1->setGeometry(0, tw(560) - 1, tw(11880), 2);

    createFileListArea(client);
    createModeArea(client);
    createLinkStrip(client);
    installInputRules();

    FileListCommands::Controls controls;
    controls.owner = this;
    controls.grid = m_grid;
    controls.fileSel = m_fileSel;
    controls.fileSum = m_fileSum;
    m_commands = new FileListCommands(
        *m_list, m_fs, m_dialogs, controls, [this] { return m_exiting; }, this);
    m_commands->setBusy([this] { return m_passRunning; });
    connect(m_grid, &FileListView::selectionGesture, m_commands, &FileListCommands::updateSelection);
    connect(m_grid, &FileListView::deletePressed, m_commands, &FileListCommands::deleteSelectedFiles);
    createMenus();
    createToolbar();
    setAcceptDrops(true);
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->acceptDrops())
            w->installEventFilter(this);
    }
    // Marks follow every change of the order a rename would take, and every pass.
    m_checker = new ConflictChecker(
        *m_list, m_fs, [this] { return !m_passRunning && hasPreview(*m_list); }, this);
    connect(m_commands, &FileListCommands::rowsRearranged, m_checker, &ConflictChecker::startSoon);
    connect(m_commands, &FileListCommands::walkingChanged, this, &MainWindow::updateCommandStates);
}

void MainWindow::updateCommandStates()
{
    // While a pass runs, nothing may change the list it works on. A rename while a folder is still
    // being read would have the walk list renamed files again.
    static const char* const changesList[] = {
        "Menu_AddFile", "Menu_AddDir",     "Menu_FileSearch", "Menu_MoveBack", "Menu_MoveNext",
        "Menu_MoveTop", "Meun_MoveBottom", "Menu_DelAll",     "Menu_DelSel",   "Menu_Refurbish",
        "Menu_Add",     "Toolbar1_1",      "Toolbar1_2",      "Toolbar1_3",    "Toolbar1_4",
        "Toolbar1_5",   "Toolbar1_6",      "Toolbar1_7",      "Toolbar1_8",    "Toolbar1_9",
        "Toolbar1_12"};
    static const char* const needsWholeList[] = {"Menu_Preview", "Menu_Execution", "Toolbar1_10",
                                                 "Toolbar1_11"};
    const bool walking = m_commands->walking();
    for (const char* name : changesList)
        findChild<QAction*>(QLatin1String(name))->setEnabled(!m_passRunning);
    for (const char* name : needsWholeList)
        findChild<QAction*>(QLatin1String(name))->setEnabled(!m_passRunning && !walking);
    m_preview->setEnabled(!m_passRunning && !walking);
    m_execution->setEnabled(!m_passRunning && !walking);
}

namespace {

QAction* item(QWidget* menu, const char* name, const QString& caption, QKeySequence shortcut = {})
{
    auto* action = new QAction(caption, menu);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    menu->addAction(action);
    return action;
}

QMenu* menu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("_Title"));
    return m;
}

} // namespace

void MainWindow::createMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    FileListCommands* c = m_commands;

    QMenu* file = menu(bar, "Menu_File", QStringLiteral(" 文件 (&F)"));
    connect(item(file, "Menu_AddFile", QStringLiteral("添加文件 (&F)"), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, c, &FileListCommands::addFilesCommand);
    connect(item(file, "Menu_AddDir", QStringLiteral("添加目录 (&D)")), &QAction::triggered, c,
            &FileListCommands::addFolderCommand);
    connect(item(file, "Menu_FileSearch", QStringLiteral("文件搜索 (&S)")), &QAction::triggered, c,
            &FileListCommands::searchFileList);
    connect(item(file, "Menu_Exit", QStringLiteral("退  出 (&X)"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &MainWindow::exitProgram);

    QMenu* edit = menu(bar, "Menu_Edit", QStringLiteral(" 编辑 (&E)"));
    connect(item(edit, "Menu_MoveBack", QStringLiteral("上移一步 (&P)")), &QAction::triggered, c,
            &FileListCommands::moveSelectionUp);
    connect(item(edit, "Menu_MoveNext", QStringLiteral("下移一步 (&N)")), &QAction::triggered, c,
            &FileListCommands::moveSelectionDown);
    connect(item(edit, "Menu_MoveTop", QStringLiteral("移至顶部 (&T)")), &QAction::triggered, c,
            &FileListCommands::moveSelectionToTop);
    connect(item(edit, "Meun_MoveBottom", QStringLiteral("移至底部 (&B)")), &QAction::triggered, c,
            &FileListCommands::moveSelectionToBottom);
    connect(item(edit, "Menu_DelAll", QStringLiteral("删除全部")), &QAction::triggered, c,
            &FileListCommands::deleteAllFiles);
    connect(item(edit, "Menu_DelSel", QStringLiteral("删除选中")), &QAction::triggered, c,
            &FileListCommands::deleteSelectedFiles);
    connect(item(edit, "Menu_Refurbish", QStringLiteral("刷新文件 (&R)"), QKeySequence(Qt::Key_F5)),
            &QAction::triggered, this, &MainWindow::refreshFileList);

    QMenu* run = menu(bar, "Menu_Run", QStringLiteral(" 运行 (&R)"));
    connect(item(run, "Menu_Preview", QStringLiteral("预处理 (&P)")), &QAction::triggered, this,
            &MainWindow::previewPass);
    connect(item(run, "Menu_Execution", QStringLiteral("重命名 (&E)")), &QAction::triggered, this,
            &MainWindow::renameCommand);

    // Top-level items that are never shown; their commands are reachable only through them.
    QMenu* advanced = menu(bar, "Menu_Advanced", QStringLiteral(" 高级 (&A)"));
    advanced->menuAction()->setVisible(false);
    m_addDialog = new AddListFileDialog(*m_commands, this);
    m_filterDialog = new FilterDialog(*m_list, this);
    m_sortDialog = new SortDialog(this);
    QAction* add = item(bar, "Menu_Add", QStringLiteral("文件添加 (&A)"));
    QAction* remove = item(bar, "Menu_Remove", QStringLiteral("文件过滤 (&M)"));
    QAction* sort = item(bar, "Menu_Sort", QStringLiteral("文件排序 (&S)"));
    for (QAction* hidden : {add, remove, sort})
        hidden->setVisible(false);
    connect(add, &QAction::triggered, m_addDialog, &AddListFileDialog::showAddFilesDialog);
    connect(remove, &QAction::triggered, m_filterDialog, &FilterDialog::showFilterDialog);
    connect(sort, &QAction::triggered, m_sortDialog, &SortDialog::showSortDialog);

    QMenu* help = menu(bar, "Menu_Help", QStringLiteral(" 帮助 (&H)"));
    connect(item(help, "Menu_HomePage", QStringLiteral("访问首页 (&V)")), &QAction::triggered, this,
            &MainWindow::openHomePage);
    connect(item(help, "Menu_About", QStringLiteral("关  于 ")), &QAction::triggered, this,
            &MainWindow::showAboutBox);
}

void MainWindow::createToolbar()
{
    struct Button {
        ToolbarCommand command;
        const char16_t* caption;
        const char16_t* tip;
        std::function<void()> run;
    };
    FileListCommands* c = m_commands;
    const Button buttons[] = {
        {ToolbarCommand::AddFiles, u" 添加文件", u"添加文件 Ctrl+O", [c] { c->addFilesCommand(); }},
        {ToolbarCommand::AddFolder, u" 添加目录", u"添加目录", [c] { c->addFolderCommand(); }},
        {ToolbarCommand::Search, u" 文件搜索", u"文件搜索", [c] { c->searchFileList(); }},
        {ToolbarCommand::MoveUp, u" 上移一步", u"上移一步", [c] { c->moveSelectionUp(); }},
        {ToolbarCommand::MoveDown, u" 下移一步", u"下移一步", [c] { c->moveSelectionDown(); }},
        {ToolbarCommand::MoveToTop, u" 移至顶部", u"移至顶部", [c] { c->moveSelectionToTop(); }},
        {ToolbarCommand::MoveToBottom, u" 移至底部", u"移至底部", [c] { c->moveSelectionToBottom(); }},
        {ToolbarCommand::DeleteAll, u" 删除全部", u"删除全部", [c] { c->deleteAllFiles(); }},
        {ToolbarCommand::DeleteSelected, u" 删除选中", u"删除选中", [c] { c->deleteSelectedFiles(); }},
        {ToolbarCommand::Preview, u"预处理", u"预处理", [this] { previewPass(); }},
        {ToolbarCommand::Rename, u"重命名", u"重命名", [this] { renameCommand(); }},
        {ToolbarCommand::Refresh, u"刷新文件", u"刷新文件 F5", [this] { refreshFileList(); }},
    };
    m_toolbar->setIconSize(QSize(tw(240), tw(240)));
    m_toolbar->setStyleSheet(QStringLiteral("QToolBar { border: none; spacing: 0px; padding: 0px; }"
                                            "QToolButton { padding: 1px 2px; margin: 0px; color: black; }"));
    // The toolbar's font is the window's own, not the theme's, and its buttons share its width:
    // all twelve show whatever the theme and the fonts at hand.
    m_toolbar->setFont(font());
    const int buttonWidth = m_toolbar->width() / int(std::size(buttons));
    for (const Button& b : buttons) {
        auto* action = new QAction(toolbarIcon(b.command), QString::fromUtf16(b.caption), m_toolbar);
        action->setObjectName(QStringLiteral("Toolbar1_") + QString::number(int(b.command)));
        action->setToolTip(QString::fromUtf16(b.tip));
        // The button shows the icon text, which Qt would otherwise trim.
        action->setIconText(action->text());
        m_toolbar->addAction(action);
        QWidget* button = m_toolbar->widgetForAction(action);
        button->setAccessibleName(action->text().trimmed());
        button->setFont(font());
        button->setFixedWidth(buttonWidth);
        connect(action, &QAction::triggered, this, b.run);
    }
    connect(m_preview, &ImageButton::clicked, this, &MainWindow::previewPass);
    connect(m_execution, &ImageButton::clicked, this, &MainWindow::renameCommand);
    connect(m_browse, &ImageButton::clicked, this, &MainWindow::browseNameFile);
    connect(m_countSum, &ImageButton::clicked, this, &MainWindow::recountNames);
}

void MainWindow::createFileListArea(QWidget* client)
{
    Frame* box = frame(client, "Frame_FileList", QStringLiteral("［文件列表］"), 120, 720, 6855, 6375);
    m_grid = control<FileListView>(box, "MSFlexGrid1", 120, 240, 6615, 6015);
    m_grid->setFileList(m_list);
    m_grid->setAccessibleName(QStringLiteral("文件列表"));

    QLabel* sumCaption = label(client, "Label1", QStringLiteral("总文件数："), 240, 7440);
    m_fileSum = label(client, "Label_FileSum", QStringLiteral("0"), 1200, 7440);
    m_fileSum->resize(tw(930), m_fileSum->height());
    counter(sumCaption, m_fileSum);
    QLabel* selCaption = label(client, "Label2", QStringLiteral("已选文件："), 2280, 7440);
    m_fileSel = label(client, "Label_FileSel", QStringLiteral("0"), 3240, 7440);
    m_fileSel->resize(tw(930), m_fileSel->height());
    counter(selCaption, m_fileSel);
    connect(m_list, &FileList::fileCountChanged, m_fileSum,
            [this](int count) { m_fileSum->setText(QString::number(count)); });

    const QRect wideCaption(240, 120, 540, 180);
    m_preview = new ImageButton(client, QStringLiteral("Preview"), QStringLiteral("预处理"),
                                {QRect(4440, 7320, 975, 390), wideCaption, QRect(4200, 7080, 1455, 855)});
    m_execution = new ImageButton(client, QStringLiteral("Execution"), QStringLiteral("重命名"),
                                  {QRect(5880, 7320, 975, 390), wideCaption, QRect(5640, 7080, 1455, 855)});
}

void MainWindow::createModeArea(QWidget* client)
{
    Frame* modeFrame =
        frame(client, "Frame_SetReNameMode", QStringLiteral("［设定重命名方式］"), 7080, 720, 4695, 4215);
    m_tabs = control<TabControl>(modeFrame, "SSTab1", 120, 240, 4455, 3855);
    m_tabs->setFont(songFont(9));
    createNumberingPage(m_tabs->addPage(QStringLiteral("序 数")));
    createDeletePage(m_tabs->addPage(QStringLiteral("删 除")));
    createInsertPage(m_tabs->addPage(QStringLiteral("插 入")));
    createReplacePage(m_tabs->addPage(QStringLiteral("替 换")));
    createCasePage(m_tabs->addPage(QStringLiteral("大小写")));
    createTextFilePage(m_tabs->addPage(QStringLiteral("从文件")));
    connect(m_tabs, &TabControl::currentChanged, this, &MainWindow::showModeExplanation);
    // The next and the previous mode from anywhere in the window, as in every tabbed window.
    const auto step = [this](int delta) {
        const int n = m_tabs->count();
        m_tabs->setCurrentIndex((m_tabs->currentIndex() + delta + n) % n);
    };
    for (const auto keys : {Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::Key_PageDown})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(1); });
    for (const auto keys : {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, Qt::CTRL | Qt::SHIFT | Qt::Key_Tab,
                            Qt::CTRL | Qt::Key_PageUp})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(-1); });

    Frame* explainFrame = frame(client, "Frame_Explain", QStringLiteral("［说明］"), 7080, 5040, 4695, 2055);
    m_explain = control<QLabel>(explainFrame, "Label_Explain", 480, 480, 3735, 1335);
    m_explain->setFont(kaiFont(12));
    m_explain->setWordWrap(true);
    m_explain->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_explain->setText(modeExplanation(RenameMode::Numbering));
}

void MainWindow::createNumberingPage(QWidget* page)
{
    Frame* basic = frame(page, "Frame_BasicSet", QStringLiteral("[基本设置]"), 120, 480, 4215, 1335);
    m_ordinalModel = combo(basic, "Combo_OrdinalModel", false, 1020, 300, 1695);
    caption(label(basic, "Label3", QStringLiteral("序数模式："), 120, 360), m_ordinalModel);
    m_growthBase = combo(basic, "Combo_GrowthBase", true, 3420, 300, 735);
    caption(label(basic, "Label4", QStringLiteral("增量："), 2880, 360), m_growthBase);
    m_startChar = combo(basic, "Combo_StartChar", true, 1020, 780, 1695);
    caption(label(basic, "Label5", QStringLiteral("开始字符："), 120, 840), m_startChar);
    m_digit = combo(basic, "Combo_Digit", false, 3420, 780, 735);
    caption(label(basic, "Label9", QStringLiteral("位数："), 2880, 840), m_digit);
    connect(m_ordinalModel, &QComboBox::currentIndexChanged, this, &MainWindow::refillStartChar);

    Frame* optional = frame(page, "Frame_OptionalSet", QStringLiteral("[可选设置]"), 120, 2000, 4215, 1695);
    m_bofAddChar = control<QLineEdit>(optional, "Text_BofAddChar", 1920, 315, 2175, 270);
    caption(label(optional, "Label6", QStringLiteral("在文件名前面加字符："), 120, 360), m_bofAddChar);
    m_eofAddChar = control<QLineEdit>(optional, "Text_EofAddChar", 1920, 795, 2175, 270);
    caption(label(optional, "Label7", QStringLiteral("在文件名后面加字符："), 120, 840), m_eofAddChar);
    m_modifiedSuffix = combo(optional, "Combo_ModifiedSuffix", true, 1920, 1260, 1215);
    caption(label(optional, "Label8", QStringLiteral("修改文件的扩展名为："), 120, 1320), m_modifiedSuffix);
}

namespace {

// Tabs 1 to 3: labels at 360, inputs at 1440, rows 480 twips apart from 660.
constexpr int RowTop[] = {660, 1140, 1620, 2100};
constexpr int InputLeft = 1440;
constexpr int LabelLeft = 360;
constexpr int WideInput = 2535;

QLabel* rowLabel(QWidget* page, const char* name, const QString& text, int row)
{
    return label(page, name, text, LabelLeft, RowTop[row] + 60);
}

// A number box with its scroll-bar spin standing over the box's right end.
QLineEdit* numberBox(QWidget* page, const char* name, const char* spinName, int row, QScrollBar** spin)
{
    auto* box = control<QLineEdit>(page, name, InputLeft, RowTop[row], 1215, 300);
    *spin = new QScrollBar(Qt::Vertical, page);
    (*spin)->setObjectName(QLatin1String(spinName));
    place(*spin, 2400, RowTop[row], 255, 300);
    (*spin)->raise();
    return box;
}

} // namespace

void MainWindow::createDeletePage(QWidget* page)
{
    m_locateModeDel = combo(page, "Combo_LocateMode_Del", false, InputLeft, RowTop[0], WideInput);
    caption(rowLabel(page, "Label11", QStringLiteral("定位模式："), 0), m_locateModeDel);
    m_offsetDel = numberBox(page, "Text_MedianOffset_Del", "VScroll_MedianOffset_Del", 1, &m_offsetDelSpin);
    caption(rowLabel(page, "Label12", QStringLiteral("偏移位数："), 1), m_offsetDel);
    m_offsetDelSpin->setAccessibleName(m_offsetDel->accessibleName());
    m_deleteDirection = combo(page, "Combo_DeleteDirection", false, InputLeft, RowTop[2], 1455);
    caption(rowLabel(page, "Label10", QStringLiteral("删除方向："), 2), m_deleteDirection);
    m_deleteCount = numberBox(page, "Text_DeleteMedian", "VScroll_DeleteMedian", 3, &m_deleteCountSpin);
    caption(rowLabel(page, "Label13", QStringLiteral("删除位数："), 3), m_deleteCount);
    m_deleteCountSpin->setAccessibleName(m_deleteCount->accessibleName());
}

void MainWindow::createInsertPage(QWidget* page)
{
    m_locateModeInsert = combo(page, "Combo_LocateMode_Insert", true, InputLeft, RowTop[0], WideInput);
    caption(rowLabel(page, "Label18", QStringLiteral("定位模式："), 0), m_locateModeInsert);
    m_offsetInsert =
        numberBox(page, "Text_MedianOffset_Insert", "VScroll_MedianOffset_Insert", 1, &m_offsetInsertSpin);
    caption(rowLabel(page, "Label17", QStringLiteral("偏移位数："), 1), m_offsetInsert);
    m_offsetInsertSpin->setAccessibleName(m_offsetInsert->accessibleName());
    m_insertText = control<QLineEdit>(page, "Text_InsertCharacter", InputLeft, RowTop[2], WideInput, 300);
    caption(rowLabel(page, "Label19", QStringLiteral("插入字符："), 2), m_insertText);
}

void MainWindow::createReplacePage(QWidget* page)
{
    m_sourceChar = control<QLineEdit>(page, "Text_SourceChar", InputLeft, RowTop[0], WideInput, 300);
    caption(rowLabel(page, "Label23", QStringLiteral("将字符串："), 0), m_sourceChar);
    m_destChar = control<QLineEdit>(page, "Text_DestChar", InputLeft, RowTop[1], WideInput, 300);
    caption(rowLabel(page, "Label22", QStringLiteral("替换成为："), 1), m_destChar);
    m_directDelete = control<QCheckBox>(page, "Check_DirectDelete", LabelLeft, 1680, 1215, 255);
    m_directDelete->setText(QStringLiteral("直接删除"));
    m_directDelete->resize(m_directDelete->sizeHint().expandedTo(m_directDelete->size()));
}

void MainWindow::createCasePage(QWidget* page)
{
    static const char16_t* const captions[] = {u"保持不变", u"首字大写", u"全部大写", u"全部小写"};
    auto group = [&](const char* frameName, const QString& title, int left, const QString& optionName,
                     QRadioButton** options) {
        Frame* box = frame(page, frameName, title, left, 600, 1815, 2535);
        for (int i = 0; i < 4; ++i) {
            options[i] = new QRadioButton(QString::fromUtf16(captions[i]), box);
            options[i]->setObjectName(optionName + u'_' + QString::number(i));
            // Eight buttons share four captions: the group tells them apart.
            options[i]->setAccessibleDescription(title);
            place(options[i], 360, 480 + 480 * i, 1215, 255);
            options[i]->resize(options[i]->sizeHint().expandedTo(options[i]->size()));
        }
        return box;
    };
    m_frameFilename = group("Frame_Filename", QStringLiteral("[文件名]"), 240,
                            QStringLiteral("Option_Filename"), m_optionFilename);
    m_frameExtension = group("Frame_Extension", QStringLiteral("[扩展名]"), 2400,
                             QStringLiteral("Option_Extension"), m_optionExtension);
}

void MainWindow::createTextFilePage(QWidget* page)
{
    label(page, "Label26", QStringLiteral("打开含有文件名列表的文档：>>>"), 240, 480);
    m_browse = new ImageButton(
        page, QStringLiteral("Browse"), QStringLiteral("浏 览"),
        {QRect(3480, 480, 735, 630), QRect(160, 240, 450, 180), QRect(3240, 240, 1215, 1095)});
    m_pathName = control<QLineEdit>(page, "Text_PathName", 240, 795, 3015, 300);
    m_pathName->setAccessibleName(QStringLiteral("打开含有文件名列表的文档："));
    m_fileContent = control<QPlainTextEdit>(page, "Text_FileContent", 240, 1320, 3975, 1935);
    m_fileContent->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_fileContent->setTabChangesFocus(true);
    m_fileContent->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_fileContent->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_fileContent->setAccessibleName(QStringLiteral("文件名列表"));
    QLabel* countCaption = label(page, "Label27", QStringLiteral("列表中文件名的数量："), 240, 3480);
    m_fileContentSum = label(page, "Label_FileContentSUM", QStringLiteral("0"), 2160, 3480);
    counter(countCaption, m_fileContentSum);
    m_countSum = new ImageButton(
        page, QStringLiteral("CountSUM"), QStringLiteral("刷  新"),
        {QRect(3240, 3360, 975, 390), QRect(240, 120, 540, 180), QRect(3000, 3240, 1455, 615)});
}

void MainWindow::createLinkStrip(QWidget* client)
{
    m_linkStrip = new LinkStrip(QStringLiteral("更多精品软件请访问Tamsel软件站  ") + HomePage, client);
    place(m_linkStrip, 7080, 7273, 4695, 495);
    connect(m_linkStrip, &LinkStrip::clicked, this, &MainWindow::openHomePage);
}

void MainWindow::installInputRules()
{
    auto digits = [](QChar c, const QLineEdit& box) {
        return digitKeyFilter(c, box.text(), box.selectedText().size());
    };
    auto offset = [](QChar c, const QLineEdit& box) { return offsetKeyFilter(c, box.text()); };
    KeystrokeFilter::install(m_growthBase->lineEdit(), digits);
    KeystrokeFilter::install(m_deleteCount, digits, 2);
    KeystrokeFilter::install(m_offsetDel, offset, 2);
    KeystrokeFilter::install(m_offsetInsert, offset, 2);
    KeystrokeFilter::install(m_startChar->lineEdit(), [this](QChar c, const QLineEdit& box) {
        return startCharKeyFilter(OrdinalModel(std::max(0, ordinalModelIndex())), c, box.text(),
                                  box.selectedText().size());
    });
    bindSpin(m_deleteCountSpin, m_deleteCount, 1);
    bindSpin(m_offsetDelSpin, m_offsetDel, 0);
    bindSpin(m_offsetInsertSpin, m_offsetInsert, 0);
}

void MainWindow::startUp()
{
    initMainWindow();
    applyWindowColours();
    // Centred on the screen when first shown.
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void MainWindow::initMainWindow()
{
    m_list->initFileList();
    initNumberingInputs();
    initDeleteInputs();
    initInsertInputs();
    initReplaceInputs();
    initCaseInputs();
    initTextFileInputs();
    initSpinControls();
    setWindowTitle(QStringLiteral("TamselRenvold_") + QStringLiteral("V1.0"));
    m_tabs->setCurrentIndex(int(RenameMode::Numbering));
    showModeExplanation();
    m_fileSel->setText(QStringLiteral("0"));
    m_fileSum->setText(QStringLiteral("0"));
}

void MainWindow::initNumberingInputs()
{
    fill(m_ordinalModel, {QStringLiteral("阿拉伯数字（1）"), QStringLiteral("大写字母（A）"),
                          QStringLiteral("小写字母（a）")});
    refillStartChar();
    fill(m_growthBase,
         numbers(1, 9) << QStringLiteral("10") << QStringLiteral("100") << QStringLiteral("1000"));
    fill(m_digit, numbers(1, 9));
    fill(m_modifiedSuffix,
         {QStringLiteral("不修改"), QStringLiteral("txt"), QStringLiteral("doc"), QStringLiteral("exe"),
          QStringLiteral("jpg"), QStringLiteral("bmp"), QStringLiteral("dat")});
}

void MainWindow::initDeleteInputs()
{
    fill(m_locateModeDel, {FirstCharMode, LastCharMode});
    fill(m_deleteDirection, {QStringLiteral("向后（向右）"), QStringLiteral("向前（向左）")});
    m_offsetDel->setText(QStringLiteral("0"));
    m_deleteCount->setText(QStringLiteral("1"));
}

void MainWindow::initInsertInputs()
{
    fill(m_locateModeInsert, {FirstCharMode, LastCharMode});
    m_offsetInsert->setText(QStringLiteral("0"));
}

void MainWindow::initReplaceInputs()
{
    m_sourceChar->clear();
    m_destChar->clear();
    m_directDelete->setChecked(false);
}

void MainWindow::initCaseInputs()
{
    m_optionFilename[0]->setChecked(true);
    m_optionExtension[0]->setChecked(true);
}

void MainWindow::initTextFileInputs()
{
    m_pathName->clear();
    m_fileContent->clear();
    m_fileContentSum->setText(QStringLiteral("0"));
}

void MainWindow::initSpinControls()
{
    for (QScrollBar* spin : {m_deleteCountSpin, m_offsetDelSpin, m_offsetInsertSpin}) {
        spin->setRange(1, 3);
        spin->setValue(2);
    }
}

void MainWindow::applyWindowColours()
{
    // The window looks the same under every theme: its colours are part of its look, so the
    // texts on them are fixed too.
    setPalette(lightPalette());
    setBackground(centralWidget(), WindowColour);
    setBackground(m_toolbar, WindowColour);
    for (const char* name : {"Frame_FileList", "Frame_SetReNameMode", "Frame_Explain"})
        setBackground(findChild<QWidget*>(QLatin1String(name)), FrameColour);
    for (const char* name : {"Picture_KervoLink", "Frame_OptionalSet", "Frame_BasicSet", "Check_DirectDelete",
                             "Frame_Filename", "Frame_Extension"})
        setBackground(findChild<QWidget*>(QLatin1String(name)), PanelColour);
    for (int i = 0; i < 4; ++i) {
        setBackground(m_optionFilename[i], PanelColour);
        setBackground(m_optionExtension[i], PanelColour);
    }
    setPaintStyle(m_tabs, PaintStyle::Solid);
    setSolidColour(m_tabs, PanelColour);
    hookTabControl(m_tabs);
    m_tabs->update();
    setBackground(m_tabs, FrameColour);
}

int MainWindow::ordinalModelIndex() const
{
    const QString text = m_ordinalModel->currentText();
    for (int i = 0; i < 3; ++i) {
        if (text == m_ordinalModel->itemText(i))
            return i;
    }
    return -1;
}

void MainWindow::refillStartChar()
{
    const int model = ordinalModelIndex();
    if (model < 0)
        return;
    fill(m_startChar, startCharItems(OrdinalModel(model)));
    if (model == 0) {
        m_growthBase->setEnabled(true);
    } else {
        if (m_growthBase->count() > 0)
            m_growthBase->setEditText(m_growthBase->itemText(0));
        m_growthBase->setEnabled(false);
    }
}

QString MainWindow::modeExplanation(RenameMode mode)
{
    switch (mode) {
    case RenameMode::Numbering:
        return QStringLiteral("将多个文件名更改为有序的字符串");
    case RenameMode::DeleteCharacters:
        return QStringLiteral("删除文件名中特定位置的字符串");
    case RenameMode::Insert:
        return QStringLiteral("将一个字符串插入到文件名中的特定位置");
    case RenameMode::Replace:
        return QStringLiteral("用一个字符串替换文件名中的特定字符串或直接删除");
    case RenameMode::LetterCase:
        return QStringLiteral("可分别更改主文件名和扩展名中英文字母的大小写");
    case RenameMode::NameFile:
        return QStringLiteral("使用文本文件中的字符为文件命名") + QStringLiteral("\n\n") +
               QStringLiteral("注意：文本文件中的字符串以回车换行。");
    case RenameMode::Count:
        break;
    }
    return {};
}

void MainWindow::showModeExplanation()
{
    m_explain->setText(modeExplanation(renameMode()));
}

void MainWindow::refreshFileList()
{
    if (m_passRunning)
        return;
    runPass([&] {
        const auto progress =
            m_dialogs.progress(this, QStringLiteral("正在刷新…"), m_list->fileCount(), false);
        m_list->refreshFileList([&](int row) { return progress->update(row) && !m_exiting; });
    });
    m_checker->startSoon();
}

NumberingInputs MainWindow::numberingInputs() const
{
    NumberingInputs in;
    if (const int model = ordinalModelIndex(); model >= 0)
        in.model = OrdinalModel(model);
    in.start = m_startChar->currentText();
    in.increment = m_growthBase->currentText();
    in.width = m_digit->currentText();
    in.prefix = m_bofAddChar->text();
    in.suffix = m_eofAddChar->text();
    in.newExtension = m_modifiedSuffix->currentText();
    in.keepExtension = in.newExtension == m_modifiedSuffix->itemText(0);
    return in;
}

RenameMode MainWindow::renameMode() const
{
    return RenameMode(m_tabs->currentIndex());
}

void MainWindow::previewPass()
{
    if (m_commands->walking() || m_passRunning)
        return;
    auto checked = [](QRadioButton* const(&options)[4]) {
        for (int i = 0; i < 4; ++i) {
            if (options[i]->isChecked())
                return CaseChange(i);
        }
        return CaseChange::Keep;
    };
    PreviewInputs in;
    switch (renameMode()) {
    case RenameMode::Numbering:
        in.numbering = numberingInputs();
        break;
    case RenameMode::DeleteCharacters:
        in.deletion = {m_offsetDel->text(), m_deleteCount->text(),
                       m_locateModeDel->currentText() == m_locateModeDel->itemText(0),
                       m_deleteDirection->currentText() == m_deleteDirection->itemText(0)};
        break;
    case RenameMode::Insert:
        in.insertion = {m_insertText->text(), m_offsetInsert->text(),
                        m_locateModeInsert->currentText() == m_locateModeInsert->itemText(0)};
        break;
    case RenameMode::Replace:
        in.replacement = {m_sourceChar->text(), m_destChar->text(), m_directDelete->isChecked()};
        break;
    case RenameMode::LetterCase:
        in.mainCase = checked(m_optionFilename);
        in.extensionCase = checked(m_optionExtension);
        break;
    case RenameMode::NameFile:
        in.names = m_fileContent->toPlainText();
        in.showNameCount = [this](int count) { m_fileContentSum->setText(QString::number(count)); };
        break;
    case RenameMode::Count:
        break;
    }
    runPass([&] {
        const auto progress =
            m_dialogs.progress(this, QStringLiteral("正在预处理…"), m_list->fileCount(), false);
        tamsel::previewPass({*m_list, m_dialogs, this, [&](int row) { progress->update(row); }}, renameMode(),
                            in);
    });
    m_checker->start();
}

void MainWindow::browseNameFile()
{
    const QString path = m_dialogs.openFile(this, {QStringLiteral("文本文件 (*.txt) (*.txt)")});
    if (m_exiting)
        return;
    const LoadedNames loaded = loadNameFile(m_fs, path.isEmpty() ? QByteArray() : resolvePath(m_fs, path));
    if (!loaded.error.isEmpty()) {
        m_dialogs.message(this, loaded.error, Caption::Notice);
        return;
    }
    m_pathName->setText(path);
    m_fileContent->setPlainText(loaded.text);
    recountNames();
}

void MainWindow::recountNames()
{
    m_fileContentSum->setText(QString::number(listedNames(m_fileContent->toPlainText()).size()));
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
    QString question = QStringLiteral("是否开始执行重命名？");
    if (const int conflicts = m_list->conflictCount())
        question += u'\n' + QStringLiteral("注意：有［") + QString::number(conflicts) +
                    QStringLiteral("］个文件的新文件名有冲突（已用红色标出），重命名会在第一个冲突处停止。");
    if (!m_dialogs.question(this, question, caption) || m_exiting)
        return;
    const int files = m_list->fileCount();
    RenameOutcome outcome;
    runPass([&] {
        const auto progress = m_dialogs.progress(this, QStringLiteral("正在重命名…"), files, true);
        outcome = renamePass(*m_list, m_fs, [&](int row) { return progress->update(row - 1) && !m_exiting; });
    });
    if (m_exiting)
        return;
    m_checker->startSoon(); // the rows the pass did not rename show again why
    if (outcome.stoppedAt != 0) {
        const int done = outcome.stoppedAt - 1;
        m_dialogs.message(this,
                          QStringLiteral("已取消：完成［") + QString::number(done) +
                              QStringLiteral("］个，未处理［") + QString::number(files - done) +
                              QStringLiteral("］个。"),
                          Caption::Notice);
        return;
    }
    if (outcome.failedRow == 0)
        return;
    const QString reason = failureReason(outcome.error, m_list->currentName(outcome.failedRow),
                                         m_list->preview(outcome.failedRow));
    QString text = QStringLiteral("发生错误，重命名失败！") + u'\n' +
                   QStringLiteral("必须以合法的字符进行重命名。") + u'\n' + QStringLiteral("第［") +
                   QString::number(outcome.failedRow) + QStringLiteral("］行：") + reason +
                   QStringLiteral("。");
    if (!outcome.note.isEmpty())
        text += u'\n' + outcome.note;
    m_dialogs.message(this, text, Caption::Error);
}

void MainWindow::showAboutBox()
{
    const QString text = QStringLiteral("\n") + QStringLiteral("KervoRenvold_") + QStringLiteral("V1.0") +
                         QStringLiteral("\n\n") + QStringLiteral("林清远\t周若岚") + QStringLiteral("\n\n") +
                         HomePageUrl + QStringLiteral("\n\n") +
                         QStringLiteral("Copyright © 2026 Tamsel软件站 保留所有权利") + QStringLiteral("\n");
    m_dialogs.message(this, text, QStringLiteral("关于 - KervoRenvold"));
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
    pass();
    m_passRunning = false;
    updateCommandStates();
    // After what the pass's caller does next (its summary, its marks): a folder brings a question.
    QTimer::singleShot(0, this, [this, pending = std::exchange(m_pendingPaths, {})] {
        for (const auto& [paths, workingDir] : pending)
            addPathsWhenIdle(paths, workingDir);
    });
}

namespace {

// The local paths of a drop, as bytes; nothing unless every item is a local file or folder.
std::optional<QList<QByteArray>> droppedPaths(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    QList<QByteArray> paths;
    for (const QUrl& url : data->urls()) {
        // A file of another machine is no file of this one, whatever its path.
        if (!url.isLocalFile() || !(url.host().isEmpty() || url.host() == u"localhost"))
            return std::nullopt;
        // Percent-decoded by hand, a name at a time: a name that is not UTF-8 keeps its bytes, and
        // an encoded "/" or NUL inside a name is refused, never taken for a separator or an end.
        QByteArray path;
        for (const QByteArray& part : url.path(QUrl::FullyEncoded).toLatin1().split('/')) {
            const QByteArray name = QByteArray::fromPercentEncoding(part);
            if (name.contains('/') || name.contains('\0'))
                return std::nullopt;
            path += (path.isEmpty() && part.isEmpty() ? "" : "/") + name;
        }
        paths << path;
    }
    if (paths.isEmpty())
        return std::nullopt;
    return paths;
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event)
{
    if (droppedPaths(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const auto paths = droppedPaths(event->mimeData());
    if (!paths) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // After the drop returns: the file manager waits for it, and a folder brings a question.
    QTimer::singleShot(0, this, [this, paths = *paths] { addPathsWhenIdle(paths, {}); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Inputs that take dropped text hand dropped files on to the window.
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (droppedPaths(static_cast<QDropEvent*>(event)->mimeData())) {
            dragMoveEvent(static_cast<QDragMoveEvent*>(event));
            return true;
        }
        return false;
    case QEvent::Drop:
        if (droppedPaths(static_cast<QDropEvent*>(event)->mimeData())) {
            dropEvent(static_cast<QDropEvent*>(event));
            return true;
        }
        return false;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    exitProgram();
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of scripts/bench compare: one job a run, through the engine alone or through
// the main window (offscreen, driven by its menu actions as a user would).
//   bench_compare tree DIR FILES            makes a tree of FILES files to measure on
//   bench_compare add DIR [window]          adds the tree, with its sub-folders
//   bench_compare preview ROWS RULE [window]  previews RULE over ROWS rows
//   bench_compare rename DIR [window]       renames every file of the tree to "r_" + its name
//   bench_compare undo DIR [window]         the same rename (not timed), then its undo
//   bench_compare sort DIR [window]         the tree listed (not timed), then sorted by name
//   bench_compare repair ROWS [numbering]   repairs ROWS rows, a tenth of them GBK names, through the
//                                           window; with numbering, numbers the same rows instead
// Prints the seconds of the job, the rows it handled and the bytes of memory a row holds.
#include "core/filelist/AddFiles.h"
#include "core/filelist/FileList.h"
#include "core/filelist/ListSort.h"
#include "core/platform/FileSystem.h"
#include "core/rename/ConflictCheck.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/RenamePass.h"
#include "core/rename/UndoPass.h"
#include "core/rename/rules/CaseRule.h"
#include "core/rename/rules/DeleteRule.h"
#include "core/rename/rules/InsertRule.h"
#include "core/rename/rules/NameListRule.h"
#include "core/rename/rules/NumberingRule.h"
#include "core/rename/rules/ReplaceRule.h"
#include "gui/chrome/TabControl.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/filelist/FileListView.h"
#include "gui/mainwindow/Application.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/ModePages.h"
#include "gui/mainwindow/WindowTexts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tamsel;

namespace {

// Answers as a user who picks the folder given and wants its sub-folders.
class BenchDialogs final : public NullDialogs {
public:
    QString folder;
    void message(QObject*, const QString& text, const QString&) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    QString pickFolder(QObject*, const QString&) override { return folder; }
    std::optional<QString> inputItem(QObject*, const QString&, const QString&,
                                     const QStringList& items) override
    {
        return items.first(); // 自动识别
    }
};

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : 0;
}

// Folders of 500 files, each with a sub-folder of 100 more; one name in ten hidden, one in seven
// Chinese.
void makeTree(const QByteArray& root, int files)
{
    ::mkdir(root.constData(), 0755);
    int made = 0;
    for (int d = 0; made < files; ++d) {
        const QByteArray dir = root + "/folder" + QByteArray::number(d);
        const QByteArray sub = dir + "/sub";
        ::mkdir(dir.constData(), 0755);
        ::mkdir(sub.constData(), 0755);
        for (int i = 0; i < 600 && made < files; ++i, ++made) {
            QByteArray name = i % 10 == 0  ? QByteArray(".hidden")
                              : i % 7 == 0 ? QByteArray("照片")
                                           : QByteArray("DSC_");
            name += QByteArray::number(made) + ".JPG";
            const QByteArray path = (i < 500 ? dir : sub) + '/' + name;
            ::close(::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
        }
    }
}

QString nameList(int rows)
{
    QString text;
    text.reserve(rows * 12);
    for (int i = 0; i < rows; ++i)
        text += QStringLiteral("name") + QString::number(i) + u'\n';
    return text;
}

// The rule of a row of the table the benchmark prints, and its tab; the name list with rows names.
std::unique_ptr<Rule> ruleFor(const QString& rule, int rows, RenameMode* mode)
{
    static const QStringList rules = {QStringLiteral("numbering"), QStringLiteral("delete"),
                                      QStringLiteral("insert"),    QStringLiteral("replace"),
                                      QStringLiteral("case"),      QStringLiteral("namelist"),
                                      QStringLiteral("regex")};
    const std::function<std::unique_ptr<Rule>()> makers[] = {
        [] {
            NumberingInputs in;
            in.model = OrdinalModel::Digits;
            in.start = in.increment = QStringLiteral("1");
            in.width = QStringLiteral("7");
            in.prefix = QStringLiteral("IMG_");
            return std::make_unique<NumberingRule>(in);
        },
        [] {
            return std::make_unique<DeleteRule>(
                DeleteInputs{QStringLiteral("0"), QStringLiteral("1"), true, true});
        },
        [] {
            return std::make_unique<InsertRule>(
                InsertInputs{QStringLiteral("trip-"), QStringLiteral("0"), true});
        },
        [] {
            return std::make_unique<ReplaceRule>(
                ReplaceInputs{QStringLiteral("DSC"), QStringLiteral("IMG"), false});
        },
        [] { return std::make_unique<CaseRule>(CaseChange::AllUpper, CaseChange::AllLower); },
        [rows] { return std::make_unique<NameListRule>(nameList(rows)); },
        [] {
            return std::make_unique<ReplaceRule>(
                ReplaceInputs{QStringLiteral("(\\d+)"), QStringLiteral("E$1"), false, true});
        },
    };
    const qsizetype index = std::max<qsizetype>(0, rules.indexOf(rule));
    *mode = index == rules.indexOf(QStringLiteral("regex")) ? RenameMode::Replace : RenameMode(index);
    return makers[index]();
}

// Puts the window's inputs for mode where previewPass would take them.
void setWindowInputs(MainWindow& window, RenameMode mode, int rows)
{
    auto set = [&](const char* name, const QString& text) {
        if (auto* box = window.findChild<QLineEdit*>(QLatin1String(name)))
            box->setText(text);
        else if (auto* combo = window.findChild<QComboBox*>(QLatin1String(name));
                 combo && combo->isEditable())
            combo->setEditText(text);
        else if (combo)
            combo->setCurrentIndex(combo->findText(text));
    };
    window.findChild<TabControl*>(QStringLiteral("SSTab1"))->setCurrentIndex(int(mode));
    set("Combo_Digit", QStringLiteral("7"));
    set("Text_BofAddChar", QStringLiteral("IMG_"));
    set("Text_InsertCharacter", QStringLiteral("trip-"));
    set("Text_SourceChar", QStringLiteral("DSC"));
    set("Text_DestChar", QStringLiteral("IMG"));
    window.findChild<QRadioButton*>(QStringLiteral("Option_Filename_2"))->setChecked(true);
    window.findChild<QRadioButton*>(QStringLiteral("Option_Extension_3"))->setChecked(true);
    if (mode == RenameMode::NameFile)
        window.findChild<QPlainTextEdit*>(QStringLiteral("Text_FileContent"))->setPlainText(nameList(rows));
}

double seconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

void report(double s, int rows, qint64 bytes)
{
    std::printf("%.6f\t%d\t%lld\n", s, rows, rows ? bytes / rows : 0);
}

// rows names DSC_<n>.JPG in the list, with no file behind them.
void listPhotos(FileList& list, int rows)
{
    FileList::Batch batch(list);
    for (int i = 0; i < rows; ++i)
        list.addFileRow(QByteArray("/bench/"), QByteArray("DSC_" + QByteArray::number(i) + ".JPG"),
                        FileStat{});
}

// The tree at dir listed, every file with "r_" + its name for a preview.
void listForRename(FileList& list, const FileSystem& fs, const QString& dir)
{
    addFolderRecursive(list, fs, QFile::encodeName(dir), {});
    for (int r = 0; r < list.fileCount(); ++r)
        list.setCell(r, ColPreview, QStringLiteral("r_") + list.name(r));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpApplication();
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool window = args.contains(QStringLiteral("window"));
    PosixFileSystem fs;
    BenchDialogs dialogs;
    if (args.size() >= 3 && args[0] == QStringLiteral("tree")) {
        makeTree(QFile::encodeName(args[1]), args[2].toInt());
        return 0;
    }
    if (args.size() >= 2 && args[0] == QStringLiteral("add")) {
        const qint64 before = residentBytes();
        QElapsedTimer t;
        if (window) {
            MainWindow w(dialogs, fs);
            w.show();
            QCoreApplication::processEvents();
            dialogs.folder = args[1];
            const qint64 shown = residentBytes();
            t.start();
            w.findChild<QAction*>(QStringLiteral("Menu_AddDir"))->trigger();
            const double s = seconds(t);
            report(s, w.fileList().fileCount(), residentBytes() - shown);
            return 0;
        }
        FileList list(fs);
        t.start();
        addFolderRecursive(list, fs, QFile::encodeName(args[1]), {});
        const double s = seconds(t);
        report(s, list.fileCount(), residentBytes() - before);
        return 0;
    }
    if (args.size() >= 3 && args[0] == QStringLiteral("preview") && args[2] == QStringLiteral("chain")) {
        // Numbering, replace, case: three previews, each from the one before.
        const int rows = args[1].toInt();
        MainWindow w(dialogs, fs);
        FileList& list = w.fileList();
        listPhotos(list, rows);
        const RenameMode modes[] = {RenameMode::Numbering, RenameMode::Replace, RenameMode::LetterCase};
        QElapsedTimer t;
        if (window) {
            w.show();
            w.findChild<QAction*>(QStringLiteral("Menu_ChainPreview"))->setChecked(true);
            setWindowInputs(w, RenameMode::Numbering, rows);
            QCoreApplication::processEvents();
            t.start();
            for (const RenameMode mode : modes) {
                w.findChild<TabControl*>(QStringLiteral("SSTab1"))->setCurrentIndex(int(mode));
                w.findChild<QAction*>(QStringLiteral("Menu_Preview"))->trigger();
                QCoreApplication::processEvents();
            }
        } else {
            t.start();
            PreviewFrom from = PreviewFrom::ListedNames;
            for (const char* name : {"numbering", "replace", "case"}) {
                RenameMode mode;
                const std::unique_ptr<Rule> rule = ruleFor(QLatin1String(name), rows, &mode);
                previewPass(list, *rule, rule->plan(list.fileCount(), {}), {}, from);
                from = PreviewFrom::Previews;
            }
        }
        const double s = seconds(t);
        // The window's numbering starts at its box's 0, the engine's at 1.
        const QString expected =
            window ? QStringLiteral("IMG_0000000.jpg") : QStringLiteral("IMG_0000001.jpg");
        if (rows > 0 && list.cell(0, ColPreview) != expected)
            std::fprintf(stderr, "the preview is not the chain's: %s\n",
                         qPrintable(list.cell(0, ColPreview)));
        report(s, rows, 0);
        return 0;
    }
    if (args.size() >= 3 && args[0] == QStringLiteral("preview")) {
        const int rows = args[1].toInt();
        RenameMode mode;
        const std::unique_ptr<Rule> rule = ruleFor(args[2], rows, &mode);
        MainWindow w(dialogs, fs);
        FileList& list = w.fileList();
        listPhotos(list, rows);
        QElapsedTimer t;
        if (window) {
            w.show();
            setWindowInputs(w, mode, rows);
            if (args[2] == QStringLiteral("regex")) {
                w.findChild<QLineEdit*>(QStringLiteral("Text_SourceChar"))->setText(QStringLiteral("(\\d+)"));
                w.findChild<QLineEdit*>(QStringLiteral("Text_DestChar"))->setText(QStringLiteral("E$1"));
                w.findChild<QCheckBox*>(QStringLiteral("Check_RegularExpression"))->setChecked(true);
            }
            QCoreApplication::processEvents();
            t.start();
            w.findChild<QAction*>(QStringLiteral("Menu_Preview"))->trigger();
            QCoreApplication::processEvents();
        } else {
            t.start();
            previewPass(list, *rule, rule->plan(list.fileCount(), {}));
        }
        const double s = seconds(t);
        const QString expected = args[2] == QStringLiteral("regex")     ? QStringLiteral("DSC_E0.JPG")
                                 : args[2] == QStringLiteral("replace") ? QStringLiteral("IMG_0.JPG")
                                                                        : list.cell(0, ColPreview);
        if (rows > 0 && list.cell(0, ColPreview) != expected)
            std::fprintf(stderr, "the preview is not the rule's\n");
        report(s, rows, 0);
        return 0;
    }
    if (args.size() >= 2 && args[0] == QStringLiteral("rename")) {
        MainWindow w(dialogs, fs);
        FileList& list = w.fileList();
        listForRename(list, fs, args[1]);
        QElapsedTimer t;
        RenameOutcome outcome;
        if (window) {
            w.show();
            QCoreApplication::processEvents();
            t.start();
            w.findChild<QAction*>(QStringLiteral("Menu_Execution"))->trigger();
        } else {
            t.start();
            outcome = renamePass(list, fs, WindowPassTexts());
        }
        const double s = seconds(t);
        if (outcome.failure.row >= 0 ||
            list.cell(list.fileCount() - 1, ColResult) != QStringLiteral("操作成功！"))
            std::fprintf(stderr, "the rename pass failed\n");
        report(s, list.fileCount(), 0);
        return 0;
    }
    if (args.size() >= 2 && args[0] == QStringLiteral("undo")) {
        MainWindow w(dialogs, fs);
        FileList& list = w.fileList();
        listForRename(list, fs, args[1]);
        QElapsedTimer t;
        if (window) {
            w.show();
            w.findChild<QAction*>(QStringLiteral("Menu_Execution"))->trigger();
            QCoreApplication::processEvents();
            t.start();
            w.findChild<QAction*>(QStringLiteral("Menu_Undo"))->trigger();
        } else {
            const WindowPassTexts texts;
            RenameOutcome outcome = renamePass(list, fs, texts);
            t.start();
            undoPass(list, fs, outcome.record, texts);
        }
        const double s = seconds(t);
        if (list.cell(list.fileCount() - 1, ColResult) != QStringLiteral("已撤销！"))
            std::fprintf(stderr, "the undo failed\n");
        report(s, list.fileCount(), 0);
        return 0;
    }
    if (args.size() >= 2 && args[0] == QStringLiteral("sort")) {
        MainWindow w(dialogs, fs);
        FileList& list = w.fileList();
        addFolderRecursive(list, fs, QFile::encodeName(args[1]), {});
        QElapsedTimer t;
        if (window) {
            w.show();
            QCoreApplication::processEvents();
            t.start();
            // A click on the header of 原文件名.
            Q_EMIT w.findChild<FileListView*>()->horizontalHeader()->sectionClicked(ColOriginalName);
            QCoreApplication::processEvents();
        } else {
            t.start();
            list.reorder(sortedOrder(list, ColOriginalName, false));
        }
        report(seconds(t), list.fileCount(), 0);
        return 0;
    }
    if (args.size() >= 2 && args[0] == QStringLiteral("repair")) {
        const int rows = args[1].toInt();
        MainWindow w(dialogs, fs);
        FileList& list = w.fileList();
        {
            FileList::Batch batch(list);
            for (int i = 0; i < rows; ++i) {
                const QByteArray name =
                    (i % 10 ? "DSC_" : "\xd5\xd5\xc6\xac") + QByteArray::number(i) + ".JPG";
                list.addFileRow(QByteArray("/bench/"), name, FileStat{}); // a tenth 照片 in GBK
            }
        }
        const bool numbering = args.contains(QStringLiteral("numbering"));
        if (numbering)
            setWindowInputs(w, RenameMode::Numbering, rows);
        w.show();
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        w.findChild<QAction*>(numbering ? QStringLiteral("Menu_Preview") : QStringLiteral("Menu_RepairNames"))
            ->trigger();
        QCoreApplication::processEvents();
        report(seconds(t), rows, 0);
        return 0;
    }
    std::fprintf(stderr,
                 "usage: bench_compare tree DIR FILES | add DIR [window] | preview ROWS RULE [window] | "
                 "rename DIR [window] | undo DIR [window] | sort DIR [window] | repair ROWS [numbering]\n");
    return 2;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/passes/PassWorker.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/RenameRecord.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/mainwindow/CommandTable.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QToolBar;

namespace tamsel {

class ChineseText;
class ConflictChecker;
class FileFactsReader;
class Dialogs;
class FileList;
class FileListCommands;
class FileListModel;
class FileListView;
class FileSystem;
class ImageButton;
class ModePage;
class TabControl;

// Form_Main: the one main window with its fixed layout. Controls carry their names as objectName.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Dialogs& dialogs, FileSystem& fs, QWidget* parent = nullptr);
    ~MainWindow() override;
    // The library 中文转换 uses for scripts and pinyin; without it, they convert nothing.
    void setChineseText(const ChineseText* text) { m_chinese = text; }
    // What 按文件信息命名 reads files' facts with; without it, fields from files are never found.
    void setFileFacts(const FileFactsReader* reader) { m_facts = reader; }

    FileList& fileList() { return *m_list; }

    void refreshFileList();
    void previewPass();
    void renameCommand();
    // Takes back the latest rename pass not yet undone.
    void undoCommand();
    // Previews the names garbled names had, in an encoding the user chooses.
    void repairNamesCommand();
    void convertChineseCommand();
    // Previews names from a template of fields: the list's, and what files say of themselves.
    void nameFromInfoCommand();
    void showAboutBox();
    void openHomePage();
    // Ends the program at once, also from inside a dialog or a folder walk.
    void exitProgram();
    // Files and folders to open, from the command line or handed over by a later start: the window
    // comes to the front and adds them (relative paths against workingDir).
    void openPaths(const QList<QByteArray>& paths, const QByteArray& workingDir);
    bool exiting() const { return m_exiting; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The build order of the window.
    void chooseZoom();
    void createControls();
    void createFileListArea(QWidget* client);
    void createModeArea(QWidget* client);
    void createCommands();
    void startUp();

    void updateCommandStates();
    // Runs a preview, rename or refresh: the list stays as it is meanwhile, and paths handed over
    // wait for its end.
    void runPass(const std::function<void()>& pass);
    // The rule's previews for every row, as planned: from the listed names, or from the previews
    // when 叠加预处理 is ticked. step names the preview in the chain the column shows.
    PreviewCount runPreview(const Rule& rule, const RulePlan& plan, const QString& step);
    // What a preview starts from, as 叠加预处理 says.
    PreviewFrom previewFrom() const;
    // Runs pass on the worker with a progress dialog; the window's events go on meanwhile.
    void runOnWorker(const QString& label, int total, bool cancellable, const PassWorker::Pass& pass);
    // The template dialog's line: what the first listed file would be named, or what is wrong.
    TemplateCheck infoExample(const QString& text, const FileFactsReader& reader) const;
    void addPathsWhenIdle(const QList<QByteArray>& paths, const QByteArray& workingDir);

    Dialogs& m_dialogs;
    FileSystem& m_fs;
    FileList* m_list = nullptr;
    PassWorker* m_worker = nullptr;
    FileListCommands* m_commands = nullptr;
    ConflictChecker* m_checker = nullptr;
    CommandActions m_actions;
    QAction* m_undo = nullptr;
    QAction* m_chainPreview = nullptr;
    const ChineseText* m_chinese = nullptr;
    const FileFactsReader* m_facts = nullptr;
    QString m_infoTemplate = QStringLiteral("{拍摄时间}");
    FileListModel* m_model = nullptr;
    std::vector<RenameRecord> m_history; // the passes that renamed files, the latest last
    bool m_exiting = false;
    bool m_passRunning = false;
    QList<std::pair<QList<QByteArray>, QByteArray>> m_pendingPaths;

    QToolBar* m_toolbar = nullptr;
    FileListView* m_grid = nullptr;
    QLabel* m_fileSum = nullptr;
    QLabel* m_fileSel = nullptr;
    ImageButton* m_preview = nullptr;
    ImageButton* m_execution = nullptr;
    TabControl* m_tabs = nullptr;
    std::vector<std::unique_ptr<ModePage>> m_pages; // in the order of renameModes()
};

} // namespace tamsel

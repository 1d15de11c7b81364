// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QScrollBar;
class QToolBar;

namespace tamsel {

class AddListFileDialog;
class ConflictChecker;
class Dialogs;
class FileList;
class FileListCommands;
class FilterDialog;
class SortDialog;
class FileListView;
class FileSystem;
class ImageButton;
class LinkStrip;
class TabControl;

enum class RenameMode;

// Form_Main: the one main window with its fixed layout. Controls carry their names as objectName.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Dialogs& dialogs, FileSystem& fs, QWidget* parent = nullptr);
    ~MainWindow() override;

    FileList& fileList() { return *m_list; }
    static QString modeExplanation(RenameMode mode);

    void refreshFileList();
    void previewPass();
    void renameCommand();
    void browseNameFile();
    void showAboutBox();
    void openHomePage();
    // Recounts the names the user may have edited by hand.
    void recountNames();
    // Ends the program at once, also from inside a dialog or a folder walk.
    void exitProgram();
    // Files and folders to open, from the command line or handed over by a later start: the window
    // comes to the front and adds them (relative paths against workingDir).
    void openPaths(const QList<QByteArray>& paths, const QByteArray& workingDir);
    bool exiting() const { return m_exiting; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Files and folders dragged from a file manager, onto any part of the window.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseZoom();
    void createControls();
    void createMenus();
    void createToolbar();
    void createFileListArea(QWidget* client);
    void createModeArea(QWidget* client);
    void createNumberingPage(QWidget* page);
    void createDeletePage(QWidget* page);
    void createInsertPage(QWidget* page);
    void createReplacePage(QWidget* page);
    void createCasePage(QWidget* page);
    void createTextFilePage(QWidget* page);
    void createLinkStrip(QWidget* client);
    void installInputRules();

    void startUp();
    void initMainWindow();
    void initNumberingInputs();
    void initDeleteInputs();
    void initInsertInputs();
    void initReplaceInputs();
    void initCaseInputs();
    void initTextFileInputs();
    void initSpinControls();
    void applyWindowColours();

    void refillStartChar();
    void showModeExplanation();
    RenameMode renameMode() const;
    int ordinalModelIndex() const;
    struct NumberingInputs numberingInputs() const;

    Dialogs& m_dialogs;
    FileSystem& m_fs;
    FileList* m_list = nullptr;
    FileListCommands* m_commands = nullptr;
    AddListFileDialog* m_addDialog = nullptr;
    FilterDialog* m_filterDialog = nullptr;
    SortDialog* m_sortDialog = nullptr;
    bool m_exiting = false;
    ConflictChecker* m_checker = nullptr;
    // A preview or rename pass runs; paths handed over meanwhile wait for its end.
    bool m_passRunning = false;
    QList<std::pair<QList<QByteArray>, QByteArray>> m_pendingPaths;
    void runPass(const std::function<void()>& pass);
    void addPathsWhenIdle(const QList<QByteArray>& paths, const QByteArray& workingDir);
    void updateCommandStates();

    QToolBar* m_toolbar = nullptr;
    FileListView* m_grid = nullptr;
    QLabel* m_fileSum = nullptr;
    QLabel* m_fileSel = nullptr;
    ImageButton* m_preview = nullptr;
    ImageButton* m_execution = nullptr;
    TabControl* m_tabs = nullptr;
    QLabel* m_explain = nullptr;
    LinkStrip* m_linkStrip = nullptr;

    QComboBox* m_ordinalModel = nullptr;
    QComboBox* m_growthBase = nullptr;
    QComboBox* m_startChar = nullptr;
    QComboBox* m_digit = nullptr;
    QLineEdit* m_bofAddChar = nullptr;
    QLineEdit* m_eofAddChar = nullptr;
    QComboBox* m_modifiedSuffix = nullptr;

    QComboBox* m_locateModeDel = nullptr;
    QLineEdit* m_offsetDel = nullptr;
    QScrollBar* m_offsetDelSpin = nullptr;
    QComboBox* m_deleteDirection = nullptr;
    QLineEdit* m_deleteCount = nullptr;
    QScrollBar* m_deleteCountSpin = nullptr;

    QComboBox* m_locateModeInsert = nullptr;
    QLineEdit* m_offsetInsert = nullptr;
    QScrollBar* m_offsetInsertSpin = nullptr;
    QLineEdit* m_insertText = nullptr;

    QLineEdit* m_sourceChar = nullptr;
    QLineEdit* m_destChar = nullptr;
    QCheckBox* m_directDelete = nullptr;

    QWidget* m_frameFilename = nullptr;
    QWidget* m_frameExtension = nullptr;
    QRadioButton* m_optionFilename[4] = {};
    QRadioButton* m_optionExtension[4] = {};

    QLineEdit* m_pathName = nullptr;
    QPlainTextEdit* m_fileContent = nullptr;
    QLabel* m_fileContentSum = nullptr;
    ImageButton* m_browse = nullptr;
    ImageButton* m_countSum = nullptr;
};

} // namespace tamsel

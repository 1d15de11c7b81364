// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QLabel;
class QWidget;

namespace tamsel {

class Dialogs;
class FileList;
class FileListView;
class FileSystem;

// The commands on the file list: adding files and folders, selection, moving, deleting, search.
// Each command takes no arguments and reports through the dialogs interface.
class FileListCommands : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QWidget* owner = nullptr; // the main window: owner of the dialogs
        FileListView* grid = nullptr;
        QLabel* fileSel = nullptr;
        QLabel* fileSum = nullptr;
    };

    FileListCommands(FileList& list, FileSystem& fs, Dialogs& dialogs, const Controls& controls,
                     std::function<bool()> stopped, QObject* parent = nullptr);

    // While busy() is true (a pass works on the list), every command refuses.
    void setBusy(std::function<bool()> busy) { m_busy = std::move(busy); }

    // The filters of the file-open dialog, in Qt's form.
    static QStringList fileFilters();

    void addFilesCommand();
    void addFolderCommand();
    // The file dialog owned by owner, then every chosen file appended.
    void pickFilesAndAdd(QWidget* owner);
    // The folder picker owned by owner; empty text when cancelled.
    QString pickFolder(QWidget* owner);
    // Asks whether to take the sub-folders too, then walks the folder; shown is its path as the
    // question names it.
    void addFolder(const QByteArray& path, const QString& shown);
    // Files and folders named elsewhere (the command line, a drop), relative ones to workingDir:
    // files are added, folders asked about and walked, and those that do not exist named together
    // in one message at the end.
    void addPaths(const QList<QByteArray>& paths, const QByteArray& workingDir);

    void updateSelection();
    void moveSelectionUp();
    void moveSelectionDown();
    void moveSelectionToTop();
    void moveSelectionToBottom();
    void deleteSelectedFiles();
    void deleteAllFiles();
    void searchFileList();
    // Sorts the rows by a column; the current row goes with its file.
    void sortByColumn(int column, bool descending);
    // Ascending, or descending when the rows are sorted ascending by that column already.
    void sortByHeader(int column);
    // The rows are in an order of the user's own again: no column shows an arrow.
    void forgetSortOrder();

    bool walking() const { return m_walking; }

Q_SIGNALS:
    // A folder walk began or ended; it lets events through, so other commands run meanwhile.
    void walkingChanged(bool walking);
    // Rows moved or went: the order a rename would take is another.
    void rowsRearranged();

private:
    struct Selection {
        int first = 0;
        int last = 0;
        int count() const { return last - first + 1; }
    };
    // The selected data rows, cut at the last file; nothing when the selection lies below the list.
    bool selection(Selection* out) const;

    FileList& m_list;
    FileSystem& m_fs;
    Dialogs& m_dialogs;
    Controls m_controls;
    bool busy() const { return m_busy && m_busy(); }

    std::function<bool()> m_stopped;
    std::function<bool()> m_busy;
    bool m_walking = false;
    int m_sortColumn = -1;
    bool m_sortDescending = false;
};

} // namespace tamsel

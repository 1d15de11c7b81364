// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/filelist/FileListCommands.h"

#include "core/filelist/AddFiles.h"
#include "core/filelist/FileList.h"
#include "core/filelist/ListSort.h"
#include "core/platform/FileSystem.h"
#include "core/text/NameCodec.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/filelist/FileListView.h"
#include "gui/forms/FormBuilder.h"

#include <QCoreApplication>
#include <QLabel>

namespace tamsel {

FileListCommands::FileListCommands(FileList& list, FileSystem& fs, Dialogs& dialogs, const Controls& controls,
                                   std::function<bool()> stopped, QObject* parent)
    : QObject(parent), m_list(list), m_fs(fs), m_dialogs(dialogs), m_controls(controls),
      m_stopped(std::move(stopped))
{
    // Any other change of order, and every file added, makes the order the user's own again.
    connect(this, &FileListCommands::rowsRearranged, this, &FileListCommands::forgetSortOrder);
    connect(&m_list, &FileList::fileCountChanged, this, &FileListCommands::forgetSortOrder);
    if (m_controls.grid)
        connect(m_controls.grid, &FileListView::headerClicked, this, &FileListCommands::sortByHeader);
}

QStringList FileListCommands::fileFilters()
{
    // The dialog hides the patterns at the end; "*.*" alone would miss names without a dot.
    return {
        QStringLiteral("全部文件 (*.*) (*)"),
        QStringLiteral("文本文件 (*.txt)"),
        QStringLiteral("word文档 (*.doc)"),
        QStringLiteral("全部图片 (*bmp;*.gif;*.jpg;*.jpeg;*.jpe;*.jfif;*.tif;*.tiff;*.png) "
                       "(*bmp *.gif *.jpg *.jpeg *.jpe *.jfif *.tif *.tiff *.png)"),
    };
}

void FileListCommands::addFilesCommand()
{
    pickFilesAndAdd(m_controls.owner);
}

void FileListCommands::pickFilesAndAdd(QWidget* owner)
{
    if (busy())
        return;
    const QStringList paths = m_dialogs.openFiles(owner, fileFilters());
    if (m_stopped())
        return;
    addPickedFiles(m_list, m_fs, paths);
}

QString FileListCommands::pickFolder(QWidget* owner)
{
    if (busy())
        return {};
    return m_dialogs.pickFolder(owner, QStringLiteral("请选择软件安装路径："));
}

void FileListCommands::addFolderCommand()
{
    const QString folder = pickFolder(m_controls.owner);
    if (folder.isEmpty() || m_stopped())
        return;
    addFolder(resolvePath(m_fs, folder), folder);
}

void FileListCommands::addFolder(const QByteArray& path, const QString& shown)
{
    if (busy())
        return;
    const bool withSubFolders = m_dialogs.question(
        m_controls.owner, QStringLiteral("是否包含［") + shown + QStringLiteral("］目录下的子目录？"),
        Caption::Notice);
    if (m_stopped())
        return;
    WalkHooks hooks;
    hooks.yield = [] { QCoreApplication::processEvents(); };
    hooks.stopped = m_stopped;
    hooks.failed = [this] {
        m_dialogs.message(m_controls.owner, QStringLiteral("搜索失败"), Caption::Notice);
    };
    // Walks may nest: a second folder added while the first is read.
    const bool outer = !m_walking;
    if (outer) {
        m_walking = true;
        Q_EMIT walkingChanged(true);
    }
    if (withSubFolders)
        addFolderRecursive(m_list, m_fs, path, hooks);
    else
        addFolderFlat(m_list, m_fs, path, hooks);
    if (outer) {
        m_walking = false;
        Q_EMIT walkingChanged(false);
    }
}

void FileListCommands::addPaths(const QList<QByteArray>& paths, const QByteArray& workingDir)
{
    if (busy())
        return;
    QStringList missing;
    for (const QByteArray& given : paths) {
        if (m_stopped())
            return;
        const QByteArray path = absolutePath(given, workingDir);
        const QString shown = displayName(decodeName(path));
        const auto st = m_fs.stat(path);
        if (!st)
            missing << displayName(decodeName(given));
        else if (st->isDir())
            addFolder(path, shown);
        else
            m_list.addFileRow(path);
    }
    if (!missing.isEmpty() && !m_stopped())
        m_dialogs.message(m_controls.owner,
                          QStringLiteral("下列路径不存在，未添加：") + u'\n' + missing.join(u'\n'),
                          Caption::Notice);
}

bool FileListCommands::selection(Selection* out) const
{
    auto [first, last] = m_controls.grid->selectedRows();
    if (first >= m_list.fileCount())
        return false;
    out->first = first;
    out->last = std::min(last, m_list.fileCount() - 1);
    return true;
}

void FileListCommands::updateSelection()
{
    showCount(m_controls.fileSel, 0);
    Selection sel;
    if (m_list.fileCount() == 0 || !selection(&sel))
        return;
    showCount(m_controls.fileSel, sel.count());
}

void FileListCommands::moveSelectionUp()
{
    if (busy())
        return;
    Selection sel;
    if (!selection(&sel) || sel.first <= 0)
        return;
    m_list.moveBlock(sel.first, sel.last, sel.first - 1);
    m_controls.grid->setRowRange(sel.first - 1, sel.last - 1);
    Q_EMIT rowsRearranged();
}

void FileListCommands::moveSelectionDown()
{
    if (busy())
        return;
    Selection sel;
    if (!selection(&sel) || sel.last >= m_list.fileCount() - 1)
        return;
    m_list.moveBlock(sel.first, sel.last, sel.first + 1);
    m_controls.grid->setRowRange(sel.first + 1, sel.last + 1);
    Q_EMIT rowsRearranged();
}

void FileListCommands::moveSelectionToTop()
{
    if (busy())
        return;
    Selection sel;
    if (!selection(&sel) || sel.first <= 0)
        return;
    m_list.moveBlock(sel.first, sel.last, 0);
    m_controls.grid->setRowRange(0, sel.count() - 1);
    Q_EMIT rowsRearranged();
}

void FileListCommands::moveSelectionToBottom()
{
    if (busy())
        return;
    Selection sel;
    if (!selection(&sel) || sel.last >= m_list.fileCount() - 1)
        return;
    const int top = m_list.fileCount() - sel.count();
    m_list.moveBlock(sel.first, sel.last, top);
    m_controls.grid->setRowRange(top, m_list.fileCount() - 1);
    Q_EMIT rowsRearranged();
}

void FileListCommands::sortByColumn(int column, bool descending)
{
    if (busy() || !isSortColumn(column))
        return;
    const std::vector<int> order = sortedOrder(m_list, column, descending);
    const int current = m_controls.grid->selectedRows().first;
    m_list.reorder(order);
    if (const auto at = std::find(order.begin(), order.end(), current); at != order.end()) {
        const int row = int(at - order.begin());
        m_controls.grid->setRowRange(row, row);
    }
    Q_EMIT rowsRearranged();
    m_sortColumn = column;
    m_sortDescending = descending;
    m_controls.grid->showSortIndicator(column, descending);
}

void FileListCommands::sortByHeader(int column)
{
    sortByColumn(column, column == m_sortColumn && !m_sortDescending);
}

void FileListCommands::forgetSortOrder()
{
    m_sortColumn = -1;
    if (m_controls.grid)
        m_controls.grid->showSortIndicator(-1, false);
}

void FileListCommands::deleteSelectedFiles()
{
    if (busy())
        return;
    Selection sel;
    if (m_list.fileCount() == 0 || !selection(&sel))
        return;
    const int n = m_list.fileCount();
    m_list.removeBlock(sel.first, sel.last);
    showCount(m_controls.fileSum, m_list.fileCount());
    const int current = sel.last + 1 >= n ? sel.first - 1 : sel.first;
    m_controls.grid->setRowRange(current, current);
    updateSelection();
    Q_EMIT rowsRearranged();
}

void FileListCommands::deleteAllFiles()
{
    if (busy())
        return;
    m_list.initFileList();
    showCount(m_controls.fileSum, 0);
    showCount(m_controls.fileSel, 0);
}

void FileListCommands::searchFileList()
{
    if (busy())
        return;
    if (m_list.fileCount() == 0) {
        m_dialogs.message(m_controls.owner, QStringLiteral("还未添加文件，请先添加待改名的文件！"),
                          Caption::Notice);
        return;
    }
    const QString text =
        m_dialogs
            .inputText(m_controls.owner, QStringLiteral("请输入您想搜索的字符串"), QStringLiteral("文件搜索"))
            .value_or(QString());
    if (text.isEmpty() || m_stopped())
        return;
    const int matches = m_list.gatherMatches(text);
    if (matches == 0)
        return;
    Q_EMIT rowsRearranged();
    // The matches are selected, so that the count, the selection and 删除选中 agree.
    m_controls.grid->setRowRange(0, matches - 1);
    showCount(m_controls.fileSel, matches);
    m_dialogs.message(m_controls.owner,
                      QStringLiteral("共找到［") + QString::number(matches) + QStringLiteral("］条记录与［") +
                          text + QStringLiteral("］有关！"),
                      QString());
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileListCommands.h"

#include "filelist/AddFiles.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QLabel>

namespace tamsel {

FileListCommands::FileListCommands(FileList& list, FileSystem& fs, Dialogs& dialogs, const Controls& controls,
                                   std::function<bool()> stopped, QObject* parent)
    : QObject(parent), m_list(list), m_fs(fs), m_dialogs(dialogs), m_controls(controls),
      m_stopped(std::move(stopped))
{
}

QStringList FileListCommands::FileFilters()
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

void FileListCommands::AddFilesCommand()
{
    PickFilesAndAdd(m_controls.owner);
}

void FileListCommands::PickFilesAndAdd(QWidget* owner)
{
    const QStringList paths = m_dialogs.openFiles(owner, FileFilters());
    if (m_stopped())
        return;
    AddPickedFiles(m_list, m_fs, paths);
}

QString FileListCommands::PickFolder(QWidget* owner)
{
    m_pickedFolder = m_dialogs.pickFolder(owner, QStringLiteral("请选择软件安装路径："));
    return m_pickedFolder;
}

void FileListCommands::AddFolderCommand()
{
    PickFolder(m_controls.owner);
    if (m_pickedFolder.isEmpty() || m_stopped())
        return;
    const QString folder = m_pickedFolder;
    const bool withSubFolders = m_dialogs.question(
        m_controls.owner, QStringLiteral("是否包含［") + folder + QStringLiteral("］目录下的子目录？"),
        QStringLiteral("提示信息"));
    if (m_stopped())
        return;
    WalkHooks hooks;
    hooks.yield = [] { QCoreApplication::processEvents(); };
    hooks.stopped = m_stopped;
    hooks.failed = [this] {
        m_dialogs.message(m_controls.owner, QStringLiteral("搜索失败"), QStringLiteral("提示信息"));
    };
    const QByteArray path = ResolvePath(m_fs, folder);
    if (withSubFolders)
        AddFolderRecursive(m_list, m_fs, path, hooks);
    else
        AddFolderFlat(m_list, m_fs, path, hooks);
}

bool FileListCommands::selection(Selection* out) const
{
    auto [first, last] = m_controls.grid->SelectedRows();
    if (first > m_list.FileCount())
        return false;
    out->first = first;
    out->last = std::min(last, m_list.FileCount());
    return true;
}

void FileListCommands::UpdateSelection()
{
    m_controls.fileSel->setText(QStringLiteral("0"));
    Selection sel;
    if (m_list.FileCount() == 0 || !selection(&sel))
        return;
    m_controls.fileSel->setText(QString::number(sel.count()));
}

void FileListCommands::MoveSelectionUp()
{
    Selection sel;
    if (!selection(&sel) || sel.first <= 1)
        return;
    m_list.MoveBlock(sel.first, sel.last, sel.first - 1);
    m_controls.grid->SetRowRange(sel.first - 1, sel.last - 1);
}

void FileListCommands::MoveSelectionDown()
{
    Selection sel;
    if (!selection(&sel) || sel.last >= m_list.FileCount())
        return;
    m_list.MoveBlock(sel.first, sel.last, sel.first + 1);
    m_controls.grid->SetRowRange(sel.first + 1, sel.last + 1);
}

void FileListCommands::MoveSelectionToTop()
{
    Selection sel;
    if (!selection(&sel) || sel.first <= 1)
        return;
    m_list.MoveBlock(sel.first, sel.last, 1);
    m_controls.grid->SetRowRange(1, sel.count());
}

void FileListCommands::MoveSelectionToBottom()
{
    Selection sel;
    if (!selection(&sel) || sel.last >= m_list.FileCount())
        return;
    const int top = m_list.FileCount() - sel.count() + 1;
    m_list.MoveBlock(sel.first, sel.last, top);
    m_controls.grid->SetRowRange(top, m_list.FileCount());
}

void FileListCommands::DeleteSelectedFiles()
{
    Selection sel;
    if (m_list.FileCount() == 0 || !selection(&sel))
        return;
    const int n = m_list.FileCount();
    m_list.RemoveBlock(sel.first, sel.last);
    m_controls.fileSum->setText(QString::number(m_list.FileCount()));
    const int current = sel.last + 1 > n ? sel.first - 1 : sel.first;
    m_controls.grid->SetRowRange(current, current);
    UpdateSelection();
}

void FileListCommands::DeleteAllFiles()
{
    m_list.InitFileList();
    m_controls.fileSum->setText(QStringLiteral("0"));
    m_controls.fileSel->setText(QStringLiteral("0"));
}

void FileListCommands::SearchFileList()
{
    if (m_list.FileCount() == 0) {
        m_dialogs.message(m_controls.owner, QStringLiteral("还未添加文件，请先添加待改名的文件！"),
                          QStringLiteral("提示信息"));
        return;
    }
    const QString text =
        m_dialogs
            .inputText(m_controls.owner, QStringLiteral("请输入您想搜索的字符串"), QStringLiteral("文件搜索"))
            .value_or(QString());
    if (text.isEmpty() || m_stopped())
        return;
    const int matches = m_list.GatherMatches(text);
    if (matches == 0)
        return;
    m_controls.fileSel->setText(QString::number(matches));
    m_dialogs.message(m_controls.owner,
                      QStringLiteral("共找到［") + QString::number(matches) + QStringLiteral("］条记录与［") +
                          text + QStringLiteral("］有关！"),
                      QString());
}

} // namespace tamsel

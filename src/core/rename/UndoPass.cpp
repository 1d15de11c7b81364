// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/UndoPass.h"

#include "core/filelist/FileList.h"
#include "core/platform/SafeRename.h"
#include "core/rename/FolderHandles.h"
#include "core/text/NameCodec.h"

#include <QHash>
#include <cerrno>
#include <cstring>

namespace tamsel {
namespace {

QString reasonText(int error)
{
    switch (error) {
    case ENOENT:
    case EISDIR:
        return QStringLiteral("文件已不在原处");
    case FileReplaced:
        return QStringLiteral("文件已被替换");
    case EEXIST:
    case ENOTEMPTY:
        return QStringLiteral("原文件名已被占用");
    case ESTALE:
    case ENOTDIR:
        return QStringLiteral("文件所在的文件夹已被移动或替换");
    case IdentityUnknown:
        return QStringLiteral("无法确认是同一个文件");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// The rows that list the record's files: a file's own row from the pass when it still shows the
// file, else the row whose folder and current name are the file's (rows moved, deleted or
// refreshed since).
class RowFinder {
public:
    RowFinder(const FileList& list, const RenameRecord& record) : m_list(list), m_record(record) {}

    int find(const RenameRecord::File& f)
    {
        if (f.row < m_list.fileCount() && shows(f.row, f))
            return f.row;
        if (!m_indexed)
            index();
        return m_rows.value(key(f.folder, m_record.newName(f)), -1);
    }

private:
    // The record's folder of a list folder, or -1.
    qint64 recordFolderOf(quint32 listFolder)
    {
        if (const auto it = m_folders.constFind(listFolder); it != m_folders.constEnd())
            return *it;
        qint64 found = -1;
        const QByteArray path = m_list.folderPath(listFolder);
        for (size_t i = 0; i < m_record.folders.size(); ++i) {
            if (m_record.folders[i].path == path)
                found = qint64(i);
        }
        m_folders.insert(listFolder, found);
        return found;
    }
    bool shows(int row, const RenameRecord::File& f)
    {
        if (recordFolderOf(m_list.folderIndex(row)) != qint64(f.folder))
            return false;
        char bytes[1024];
        const qsizetype n = encodeNameTo(m_list.currentName(row), bytes, sizeof bytes);
        const QByteArray current = n >= 0 ? QByteArray::fromRawData(bytes, n) : m_list.currentNameBytes(row);
        return current == m_record.newName(f);
    }
    static QByteArray key(quint32 folder, QByteArrayView name)
    {
        return QByteArray::number(folder) + '/' + name;
    }
    void index()
    {
        m_indexed = true;
        for (int r = m_list.fileCount() - 1; r >= 0; --r) {
            const qint64 folder = recordFolderOf(m_list.folderIndex(r));
            if (folder >= 0)
                m_rows.insert(key(quint32(folder), m_list.currentNameBytes(r)), r); // the first row wins
        }
    }

    const FileList& m_list;
    const RenameRecord& m_record;
    QHash<quint32, qint64> m_folders;
    QHash<QByteArray, int> m_rows;
    bool m_indexed = false;
};

} // namespace

UndoOutcome undoPass(FileList& list, const FileSystem& fs, RenameRecord& record,
                     const std::function<bool(int done)>& goOn)
{
    const QString undone = QStringLiteral("已撤销！");
    const QString unguarded = QStringLiteral("（此文件系统无法确保不覆盖同名文件）");
    const QString failed = QStringLiteral("撤销失败！");
    FileList::Batch batch(list);
    FolderHandles folders(fs);
    RowFinder rows(list, record);
    RecoveringRenamer renamer;
    UndoOutcome outcome;
    char newBytes[256]; // valid names are at most 255 bytes
    char oldBytes[256];
    size_t i = record.files.size();
    for (; i > 0; --i) {
        if (goOn && !goOn(int(record.files.size() - i))) {
            outcome.stopped = true;
            break;
        }
        const RenameRecord::File& f = record.files[i - 1];
        const RenameRecord::Folder& where = record.folders[f.folder];
        // Names as the system calls read them: each ends in a NUL of its own.
        const auto terminated = [](QByteArrayView name, char* buffer) {
            std::memcpy(buffer, name.data(), size_t(name.size()));
            buffer[name.size()] = 0;
            return QByteArray::fromRawData(buffer, name.size());
        };
        const QByteArray from = terminated(record.newName(f), newBytes);
        const QByteArray to = terminated(record.oldName(f), oldBytes);
        RenameResult result;
        const auto folder = folders.open(f.folder, where.path, where.identity);
        if (!folder) {
            result.error = folder.error() == ENOENT ? ESTALE : folder.error(); // moved away
        } else {
            result = renamer.rename(f.folder, **folder, from, to,
                                    {f.stamp, f.size, f.modifiedMs, f.handle, f.changedNs});
        }
        const int row = rows.find(f);
        if (result.error == 0 && result.renamed) {
            ++outcome.restored;
            if (row >= 0)
                list.setRestored(row, decodeName(to), result.unguarded ? undone + unguarded : undone,
                                 *result.renamed);
            continue;
        }
        ++outcome.failed;
        if (row < 0)
            continue;
        QString text = failed + reasonText(result.error);
        if (!result.strandedAs.isEmpty())
            text += QStringLiteral("，现名为：") + decodeName(result.strandedAs);
        list.setCell(row, ColResult, text);
    }
    record.truncate(i);
    return outcome;
}

} // namespace tamsel

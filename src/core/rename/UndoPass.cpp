// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/UndoPass.h"

#include "core/filelist/FileList.h"
#include "core/passes/PassWorker.h"
#include "core/platform/SafeRename.h"
#include "core/rename/FolderHandles.h"
#include "core/text/NameCodec.h"

#include <QHash>
#include <cerrno>
#include <cstring>

namespace tamsel {
namespace {

// The rows that list the record's files: a file's own row from the pass when it still shows the
// file, else the row whose folder and current name are the file's (rows moved, deleted or
// refreshed since).
class RowFinder {
public:
    RowFinder(const ListCopy& list, const RenameRecord& record) : m_list(list), m_record(record) {}

    int find(const RenameRecord::File& f)
    {
        if (f.row >= 0 && f.row < m_list.fileCount() && shows(f.row, f))
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
        const QByteArray& path = m_list.folders[listFolder];
        for (size_t i = 0; i < m_record.folders.size(); ++i) {
            if (m_record.folders[i].path == path)
                found = qint64(i);
        }
        m_folders.insert(listFolder, found);
        return found;
    }
    bool shows(int row, const RenameRecord::File& f)
    {
        if (recordFolderOf(m_list.rows[size_t(row)].dir) != qint64(f.folder))
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
            const qint64 folder = recordFolderOf(m_list.rows[size_t(r)].dir);
            if (folder >= 0)
                m_rows.insert(key(quint32(folder), m_list.currentNameBytes(r)), r); // the first row wins
        }
    }

    const ListCopy& m_list;
    const RenameRecord& m_record;
    QHash<quint32, qint64> m_folders;
    QHash<QByteArray, int> m_rows;
    bool m_indexed = false;
};

} // namespace

UndoOutcome undoPass(const ListCopy& list, const FileSystem& fs, RenameRecord& record, PassControl& control,
                     const std::function<void(const std::vector<UndoneFile>&)>& deliver)
{
    PostedBatches<UndoneFile> results(control, deliver);
    FolderHandles folders(fs);
    RowFinder rows(list, record);
    RecoveringRenamer renamer;
    UndoOutcome outcome;
    char newBytes[256]; // valid names are at most 255 bytes
    char oldBytes[256];
    size_t i = record.files.size();
    for (; i > 0; --i) {
        if (!control.goOn(int(record.files.size() - i))) {
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
            result.error = Failure::system(folder.error() == ENOENT ? ESTALE : folder.error()); // moved away
        } else {
            result = renamer.rename(f.folder, **folder, from, to,
                                    {f.stamp, f.size, f.modifiedMs, f.handle, f.changedNs});
        }
        UndoneFile done;
        done.row = rows.find(f);
        done.restored = !result.error && result.renamed;
        done.error = result.error;
        done.unguarded = result.unguarded;
        if (done.restored) {
            ++outcome.restored;
            done.stat = *result.renamed;
        } else {
            ++outcome.failed;
            done.leftAs = result.strandedAs;
        }
        if (done.row < 0)
            continue;
        done.oldName = QByteArray(to.constData(), to.size()); // to lives in a buffer reused for each file
        results.add(std::move(done));
    }
    results.flush();
    record.truncate(i);
    return outcome;
}

void applyUndone(FileList& list, const std::vector<UndoneFile>& files, const PassTexts& texts)
{
    FileList::Batch batch(list);
    for (const UndoneFile& f : files) {
        if (f.restored)
            list.setRestored(f.row, decodeName(f.oldName), texts.undone(f), f.stat);
        else
            list.setCell(f.row, ColResult, texts.undone(f));
    }
}

UndoOutcome undoPass(FileList& list, const FileSystem& fs, RenameRecord& record, const PassTexts& texts,
                     const std::function<bool(int done)>& goOn)
{
    DirectControl control(goOn);
    return undoPass(list.copy(), fs, record, control,
                    [&](const std::vector<UndoneFile>& files) { applyUndone(list, files, texts); });
}

} // namespace tamsel

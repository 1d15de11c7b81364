// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/RenamePass.h"

#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/platform/SafeRename.h"
#include "core/rename/FolderHandles.h"
#include "core/rename/NewNames.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <cerrno>
#include <memory>
#include <unordered_map>

namespace tamsel {

bool hasPreview(const FileList& list)
{
    for (int r = 0; r < list.fileCount(); ++r) {
        if (!isBlank(list.preview(r)))
            return true;
    }
    return false;
}

RenameOutcome renamePass(FileList& list, FileSystem& fs, const std::function<bool(int row)>& goOn)
{
    const QString untouched = QStringLiteral("未处理！");
    const QString succeeded = QStringLiteral("操作成功！");
    const QString failed = QStringLiteral("操作失败！");
    const QString unguarded = QStringLiteral("（此文件系统无法确保不覆盖同名文件）");
    FileList::Batch batch(list);
    FolderHandles folders(fs);
    char newBytes[256]; // a valid name is at most 255 bytes
    char oldBytes[1024];
    RenameOutcome outcome;
    std::unordered_map<quint32, quint32> recordFolders; // the list's folder index to the record's
    RecoveringRenamer renamer;
    quint32 lastFolder = 0;
    quint32 recordFolder = 0;
    for (int r = 0; r < list.fileCount(); ++r) {
        if (goOn && !goOn(r)) {
            // Rows not reached show no result, not one from an earlier pass.
            outcome.stoppedAt = r;
            for (int rest = r; rest < list.fileCount(); ++rest)
                list.setCell(rest, ColResult, QString());
            break;
        }
        const QStringView preview = list.preview(r);
        if (isBlank(preview)) {
            list.setCell(r, ColResult, untouched);
            continue;
        }
        // A name that would leave the folder, or that no file system takes, is refused as an error.
        // The names go to the system calls as they are: each ends in a NUL of its own.
        const qsizetype length = encodeNameTo(preview, newBytes, sizeof newBytes - 1);
        newBytes[std::max<qsizetype>(0, length)] = 0;
        const QByteArray name = QByteArray::fromRawData(newBytes, std::max<qsizetype>(0, length));
        // A row renamed by an earlier pass and not refreshed since: its file has the new name.
        const qsizetype oldLength = encodeNameTo(list.currentName(r), oldBytes, sizeof oldBytes - 1);
        oldBytes[std::max<qsizetype>(0, oldLength)] = 0;
        const QByteArray old =
            oldLength >= 0 ? QByteArray::fromRawData(oldBytes, oldLength) : list.currentNameBytes(r);
        // Both names as the system calls will read them: no NUL inside, no "/"; the new one no
        // control characters either.
        int err = length >= 0 && newNameFault(name) == NameFault::None && isValidFileName(old) ? 0 : EINVAL;
        Folder* folder = nullptr;
        if (!err) {
            const quint32 index = list.folderIndex(r);
            const auto opened = folders.open(index, list.directoryBytes(r), list.folderIdentity(index));
            folder = opened ? *opened : nullptr;
            err = opened.error();
        }
        RenameResult result;
        if (folder) {
            const FileList::Row& row = list.details(r);
            const ListedFile listed{row.stamp, row.size, row.modified};
            result = renamer.rename(list.folderIndex(r), *folder, old, name, listed);
            err = result.error;
        }
        if (!result.strandedAs.isEmpty()) {
            // What is left under another name: the file, a folder that had taken its place, or the
            // file that had.
            const QString what = err == EISDIR         ? QStringLiteral("文件夹")
                                 : err == FileReplaced ? QStringLiteral("替换它的文件")
                                                       : QStringLiteral("文件");
            const QString dir = decodeName(list.directoryBytes(r));
            list.setCell(r, ColResult,
                         failed + what + QStringLiteral("现名为：") + decodeName(result.strandedAs));
            outcome.note = what + u'［' + dir + decodeName(old) + QStringLiteral("］现在位于［") + dir +
                           decodeName(result.strandedAs) + QStringLiteral("］。");
        } else if (!result.extraName.isEmpty()) {
            list.setCell(r, ColResult,
                         failed + QStringLiteral("多出文件名：") + decodeName(result.extraName));
            outcome.note = QStringLiteral("文件［") + decodeName(old) + QStringLiteral("］另有一个文件名［") +
                           decodeName(result.extraName) + QStringLiteral("］。");
        } else if (result.sourceLost) {
            outcome.note = QStringLiteral("重命名失败后，文件［") + decodeName(old) +
                           QStringLiteral("］已不在原处：文件系统删除了它。");
        }
        if (err != 0) {
            outcome.failedRow = r;
            outcome.error = err;
            break;
        }
        if (result.renamed && !result.renamed->isDir()) {
            list.setRenamed(r, result.unguarded ? succeeded + unguarded : succeeded);
            const quint32 index = list.folderIndex(r);
            if (old == name)
                continue; // nothing to take back
            if (index != lastFolder || outcome.record.folders.empty()) {
                lastFolder = index;
                auto [it, isNew] = recordFolders.try_emplace(index, quint32(outcome.record.folders.size()));
                if (isNew)
                    outcome.record.folders.push_back({list.directoryBytes(r), folders.identity(index)});
                recordFolder = it->second;
            }
            // Where the stamp may not tell a file made later in a freed inode (no birth time, FUSE),
            // the record keeps the file's handle and change time for the undo to compare.
            const FileStat& renamed = *result.renamed;
            const bool weakStamp = !renamed.createdMs || folder->inodesMayChange();
            outcome.record.add(recordFolder, r, renamed, weakStamp ? folder->entryHandle(name) : 0,
                               weakStamp ? renamed.changedNs : 0, old, name);
            if (folder->inodesMayChange()) {
                if (auto held = folder->hold(name))
                    outcome.record.held.push_back(std::move(held));
            }
        } else {
            list.setCell(r, ColResult, failed);
        }
    }
    return outcome;
}

} // namespace tamsel

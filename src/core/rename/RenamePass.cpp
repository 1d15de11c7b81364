// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/RenamePass.h"

#include "core/passes/PassWorker.h"
#include "core/platform/FileSystem.h"
#include "core/platform/SafeRename.h"
#include "core/rename/FolderHandles.h"
#include "core/rename/NewNames.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <cerrno>
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

RenameOutcome renamePass(const ListCopy& list, FileSystem& fs, PassControl& control,
                         const std::function<void(const std::vector<RenamedRow>&)>& deliver)
{
    PostedBatches<RenamedRow> results(control, deliver);
    const auto rowOf = [](int r, RenamedRow::Kind kind) {
        RenamedRow row;
        row.row = r;
        row.kind = kind;
        return row;
    };
    FolderHandles folders(fs);
    char newBytes[256]; // a valid name is at most 255 bytes
    char oldBytes[1024];
    RenameOutcome outcome;
    std::unordered_map<quint32, quint32> recordFolders; // the list's folder index to the record's
    RecoveringRenamer renamer;
    quint32 lastFolder = 0;
    quint32 recordFolder = 0;
    for (int r = 0; r < list.fileCount(); ++r) {
        if (!control.goOn(r)) {
            // Rows not reached show no result, not one from an earlier pass.
            outcome.stoppedAt = r;
            for (int rest = r; rest < list.fileCount(); ++rest)
                results.add(rowOf(rest, RenamedRow::Kind::NotReached));
            break;
        }
        const QStringView preview = list.preview(r);
        if (isBlank(preview)) {
            results.add(rowOf(r, RenamedRow::Kind::Untouched));
            continue;
        }
        const FileList::Row& row = list.rows[size_t(r)];
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
        RenamedRow done = rowOf(r, RenamedRow::Kind::Failed);
        // Both names as the system calls will read them: no NUL inside, no "/"; the new one no
        // control characters either.
        if (length < 0 || newNameFault(name) != NameFault::None || !isValidFileName(old))
            done.error = Failure{Failure::Kind::InvalidName, EINVAL};
        Folder* folder = nullptr;
        if (!done.error) {
            const auto opened = folders.open(row.dir, list.folders[row.dir], list.folderIdentities[row.dir]);
            folder = opened ? *opened : nullptr;
            done.error = Failure::system(opened.error());
        }
        RenameResult result;
        if (folder) {
            result = renamer.rename(row.dir, *folder, old, name, {row.stamp, row.size, row.modified});
            done.error = result.error;
        }
        done.sourceLost = result.sourceLost;
        if (!result.strandedAs.isEmpty()) {
            // What is left under another name: the file, a folder that had taken its place, or the
            // file that had.
            done.left = result.error.isErrno(EISDIR)                       ? RenamedRow::Left::Folder
                        : result.error.kind == Failure::Kind::FileReplaced ? RenamedRow::Left::ReplacingFile
                                                                           : RenamedRow::Left::File;
            done.leftAs = result.strandedAs;
        }
        done.extraName = result.extraName;
        if (done.error) {
            outcome.failure = done;
            if (!done.leftAs.isEmpty() || !done.extraName.isEmpty())
                results.add(std::move(done));
            break;
        }
        if (!result.renamed || result.renamed->isDir()) {
            results.add(std::move(done));
            continue;
        }
        done.kind = RenamedRow::Kind::Renamed;
        done.unguarded = result.unguarded;
        results.add(std::move(done));
        if (old == name)
            continue; // nothing to take back
        if (row.dir != lastFolder || outcome.record.folders.empty()) {
            lastFolder = row.dir;
            auto [it, isNew] = recordFolders.try_emplace(row.dir, quint32(outcome.record.folders.size()));
            if (isNew)
                outcome.record.folders.push_back({list.folders[row.dir], folders.identity(row.dir)});
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
    }
    results.flush();
    return outcome;
}

void applyRenamed(FileList& list, const std::vector<RenamedRow>& rows, const PassTexts& texts)
{
    FileList::Batch batch(list);
    for (const RenamedRow& row : rows) {
        switch (row.kind) {
        case RenamedRow::Kind::Renamed:
            list.setRenamed(row.row, texts.renamed(row));
            break;
        case RenamedRow::Kind::NotReached:
            list.setCell(row.row, ColResult, QStringView());
            break;
        case RenamedRow::Kind::Untouched:
        case RenamedRow::Kind::Failed:
            list.setCell(row.row, ColResult, texts.renamed(row));
            break;
        }
    }
}

RenameOutcome renamePass(FileList& list, FileSystem& fs, const PassTexts& texts,
                         const std::function<bool(int done)>& goOn)
{
    DirectControl control(goOn);
    return renamePass(list.copy(), fs, control,
                      [&](const std::vector<RenamedRow>& rows) { applyRenamed(list, rows, texts); });
}

} // namespace tamsel

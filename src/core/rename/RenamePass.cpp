// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/RenamePass.h"

#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/platform/SafeRename.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <QHash>
#include <cerrno>
#include <memory>

namespace tamsel {
namespace {

// The folders of the pass, each opened once. Folders are closed in bulk past a limit, so that a
// list spread over many folders does not run out of descriptors; a folder opened again must be
// the one opened first, or its rows fail.
class Folders {
public:
    Folders(const FileList& list, const FileSystem& fs) : m_list(list), m_fs(fs) {}

    Result<Folder*> folderOf(int row)
    {
        const quint32 index = m_list.folderIndex(row);
        if (const auto it = m_open.constFind(index); it != m_open.constEnd())
            return it->get();
        if (m_open.size() >= MaxOpen)
            m_open.clear();
        auto opened = m_fs.openFolder(m_list.directoryBytes(row));
        if (!opened)
            return Result<Folder*>::failed(opened.error());
        std::unique_ptr<Folder> folder = std::move(*opened);
        // Only the folder that was listed: one put in its place, or a link flipped on the way, is
        // another folder, also when it is opened again after the handles were closed.
        const auto self = folder->self();
        auto seen = m_identities.constFind(index);
        if (seen == m_identities.constEnd() && m_list.folderIdentity(index))
            seen = m_identities.insert(index, *m_list.folderIdentity(index));
        // FUSE numbers a folder anew once it has been forgotten: there the mount must be the same.
        const auto changed = [&] {
            return *seen != self->identity &&
                   !(folder->inodesMayChange() && seen->device == self->identity.device);
        };
        if (!self || (seen != m_identities.constEnd() && changed()))
            return Result<Folder*>::failed(ESTALE);
        if (seen == m_identities.constEnd())
            m_identities.insert(index, self->identity);
        return m_open.insert(index, std::shared_ptr<Folder>(std::move(folder)))->get();
    }

private:
    static constexpr qsizetype MaxOpen = 256;
    const FileList& m_list;
    const FileSystem& m_fs;
    QHash<quint32, std::shared_ptr<Folder>> m_open;
    QHash<quint32, FileIdentity> m_identities;
};

} // namespace

bool hasPreview(const FileList& list)
{
    for (int r = 1; r <= list.fileCount(); ++r) {
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
    const QString unguarded = QStringLiteral("（文件系统不能防止覆盖）");
    FileList::Batch batch(list);
    Folders folders(list, fs);
    char newBytes[256]; // a valid name is at most 255 bytes
    char oldBytes[1024];
    RenameOutcome outcome;
    for (int r = 1; r <= list.fileCount(); ++r) {
        if (goOn && !goOn(r)) {
            // Rows not reached show no result, not one from an earlier pass.
            outcome.stoppedAt = r;
            for (int rest = r; rest <= list.fileCount(); ++rest)
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
        // Both names as the system calls will read them: no NUL inside, no "/".
        int err = length >= 0 && isValidFileName(name) && isValidFileName(old) ? 0 : EINVAL;
        Folder* folder = nullptr;
        if (!err) {
            const auto opened = folders.folderOf(r);
            folder = opened ? *opened : nullptr;
            err = opened.error();
        }
        RenameResult result;
        if (folder) {
            const FileList::Row& row = list.details(r);
            const ListedFile listed{row.stamp, row.size, row.modified};
            result = renameEntry(*folder, old, name, listed);
            if (result.error == ENOENT || result.error == EEXIST) {
                // The file may sit under a temporary name a killed run left.
                const Recovery recovery = recoverFile(*folder, old, name, listed);
                if (recovery == Recovery::Restored)
                    result = renameEntry(*folder, old, name, listed);
                else if (recovery == Recovery::Finished)
                    result = {0, {}, {}, folder->entry(name)};
            }
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
        } else {
            list.setCell(r, ColResult, failed);
        }
    }
    return outcome;
}

} // namespace tamsel

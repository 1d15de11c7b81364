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

    Folder* folderOf(int row, int* error)
    {
        const quint32 index = m_list.folderIndex(row);
        if (const auto it = m_open.constFind(index); it != m_open.constEnd())
            return it->get();
        if (m_open.size() >= MaxOpen)
            m_open.clear();
        auto folder = m_fs.openFolder(m_list.directoryBytes(row), error);
        if (!folder)
            return nullptr;
        const auto self = folder->self();
        const auto seen = m_identities.constFind(index);
        if (!self || (seen != m_identities.constEnd() && *seen != self->identity)) {
            *error = ESTALE;
            return nullptr;
        }
        if (seen == m_identities.constEnd()) {
            m_identities.insert(index, self->identity);
            recoverTemporaryNames(*folder);
        }
        return m_open.insert(index, std::shared_ptr<Folder>(std::move(folder)))->get();
    }

private:
    static constexpr qsizetype MaxOpen = 256;
    const FileList& m_list;
    const FileSystem& m_fs;
    QHash<quint32, std::shared_ptr<Folder>> m_open;
    QHash<quint32, FileIdentity> m_identities;
};

QString nameOf(const QByteArray& bytes)
{
    return decodeName(bytes);
}

} // namespace

bool hasPreview(const FileList& list)
{
    for (int r = 1; r <= list.fileCount(); ++r) {
        if (!isBlank(list.cell(r, ColPreview)))
            return true;
    }
    return false;
}

RenameOutcome renamePass(FileList& list, FileSystem& fs, const std::function<bool(int row)>& goOn)
{
    const QString untouched = QStringLiteral("未处理！");
    const QString succeeded = QStringLiteral("操作成功！");
    const QString failed = QStringLiteral("操作失败！");
    FileList::Batch batch(list);
    Folders folders(list, fs);
    RenameOutcome outcome;
    for (int r = 1; r <= list.fileCount(); ++r) {
        if (goOn && !goOn(r)) {
            // Rows not reached show no result, not one from an earlier pass.
            outcome.stoppedAt = r;
            for (int rest = r; rest <= list.fileCount(); ++rest)
                list.setCell(rest, ColResult, QString());
            break;
        }
        const QString preview = list.cell(r, ColPreview);
        if (isBlank(preview)) {
            list.setCell(r, ColResult, untouched);
            continue;
        }
        // A name that would leave the folder, or that no file system takes, is refused as an error.
        const QByteArray name = encodeName(preview).value_or(QByteArray());
        // A row renamed by an earlier pass and not refreshed since: its file has the new name.
        const QByteArray old = list.currentNameBytes(r);
        int err = isValidFileName(name) ? 0 : EINVAL;
        Folder* folder = err ? nullptr : folders.folderOf(r, &err);
        RenameResult result;
        if (folder) {
            result = renameEntry(*folder, old, name);
            err = result.error;
        }
        if (!result.strandedAs.isEmpty()) {
            list.setCell(r, ColResult, failed + QStringLiteral("文件现名为：") + nameOf(result.strandedAs));
            outcome.note = QStringLiteral("文件［") + nameOf(old) + QStringLiteral("］现名为［") +
                           nameOf(result.strandedAs) + QStringLiteral("］。");
        } else if (!result.extraName.isEmpty()) {
            list.setCell(r, ColResult, failed + QStringLiteral("多出文件名：") + nameOf(result.extraName));
            outcome.note = QStringLiteral("文件［") + nameOf(old) + QStringLiteral("］另有一个文件名［") +
                           nameOf(result.extraName) + QStringLiteral("］。");
        }
        if (err != 0) {
            outcome.failedRow = r;
            outcome.error = err;
            break;
        }
        if (result.renamed && !result.renamed->isDir()) {
            list.setCell(r, ColResult, succeeded);
            list.setCell(r, ColNewName, preview);
        } else {
            list.setCell(r, ColResult, failed);
        }
    }
    return outcome;
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/RenamePass.h"

#include "filelist/FileList.h"
#include "platform/FileSystem.h"
#include "rename/NameRules.h"

#include <cerrno>

namespace tamsel {

bool HasPreview(const FileList& list)
{
    for (int r = 1; r <= list.FileCount(); ++r) {
        if (!TrimBlanks(list.cell(r, ColPreview)).isEmpty())
            return true;
    }
    return false;
}

RenameOutcome RenamePass(FileList& list, FileSystem& fs)
{
    const QString untouched = QStringLiteral("未处理！");
    const QString succeeded = QStringLiteral("操作成功！");
    const QString failed = QStringLiteral("操作失败！");
    FileList::Batch batch(list);
    RenameOutcome outcome;
    for (int r = 1; r <= list.FileCount(); ++r) {
        const QString preview = list.cell(r, ColPreview);
        if (LeftTrimBlanks(preview).isEmpty()) {
            list.setCell(r, ColResult, untouched);
            continue;
        }
        const QByteArray name = preview.toUtf8();
        const QByteArray target = list.directoryBytes(r) + name;
        // A name that would leave the folder, or that no file system takes, is refused as an error.
        const int err = ValidFileName(name) ? RenameFile(fs, list.pathBytes(r), target) : EINVAL;
        if (err != 0) {
            outcome = {r, err};
            break;
        }
        if (fs.fileExists(target)) {
            list.setCell(r, ColResult, succeeded);
            list.setCell(r, ColNewName, preview);
        } else {
            list.setCell(r, ColResult, failed);
        }
    }
    return outcome;
}

} // namespace tamsel

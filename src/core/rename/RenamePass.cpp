// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/RenamePass.h"

#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/text/PlainText.h"

#include <cerrno>

namespace tamsel {

bool hasPreview(const FileList& list)
{
    for (int r = 1; r <= list.fileCount(); ++r) {
        if (!trimBlanks(list.cell(r, ColPreview)).isEmpty())
            return true;
    }
    return false;
}

RenameOutcome renamePass(FileList& list, FileSystem& fs)
{
    const QString untouched = QStringLiteral("未处理！");
    const QString succeeded = QStringLiteral("操作成功！");
    const QString failed = QStringLiteral("操作失败！");
    FileList::Batch batch(list);
    RenameOutcome outcome;
    for (int r = 1; r <= list.fileCount(); ++r) {
        const QString preview = list.cell(r, ColPreview);
        if (leftTrimBlanks(preview).isEmpty()) {
            list.setCell(r, ColResult, untouched);
            continue;
        }
        const QByteArray name = preview.toUtf8();
        const QByteArray target = list.directoryBytes(r) + name;
        // A name that would leave the folder, or that no file system takes, is refused as an error.
        const int err = isValidFileName(name) ? renameFile(fs, list.pathBytes(r), target) : EINVAL;
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

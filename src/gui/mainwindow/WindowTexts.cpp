// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/WindowTexts.h"

#include "core/filelist/FileList.h"
#include "core/platform/SafeRename.h"
#include "core/rename/NameFile.h"
#include "core/rename/NewNames.h"
#include "core/rename/RenamePass.h"
#include "core/rename/RenameRecord.h"
#include "core/text/NameCodec.h"

#include <cerrno>
#include <cstring>

namespace tamsel {

const QString HomePage = QStringLiteral("tamsel.example");
const QString HomePageUrl = QStringLiteral("https://tamsel.example/");

QString refusalText(NameFileRefusal refusal)
{
    switch (refusal) {
    case NameFileRefusal::TooLarge:
        return QStringLiteral("文件太大（超过16MB），不像是文件名列表，未读取！");
    case NameFileRefusal::Unreadable:
        return QStringLiteral("无法读取该文件！");
    case NameFileRefusal::NotText:
        return QStringLiteral("该文件不是文本文件，未读取！");
    case NameFileRefusal::None:
        break;
    }
    return {};
}

QString failureReason(int error, QStringView oldName, QStringView newName)
{
    const auto quoted = [](QStringView name) -> QString { return u'［' + displayName(name) + u'］'; };
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return QStringLiteral("文件") + quoted(newName) + QStringLiteral("已存在");
    case ENOENT:
        return QStringLiteral("文件") + quoted(oldName) + QStringLiteral("已不存在");
    case ESTALE:
        return QStringLiteral("文件所在的文件夹已被移动或替换");
    case FileReplaced:
        return QStringLiteral("文件") + quoted(oldName) + QStringLiteral("已被替换");
    case NameNotHeld:
        return QStringLiteral("文件系统不接受新文件名") + quoted(newName);
    case IdentityUnknown:
        return QStringLiteral("无法确认") + quoted(oldName) + QStringLiteral("是同一个文件");
    case EINVAL: {
        const std::optional<QByteArray> bytes = encodeName(newName);
        const NameFault fault = bytes ? newNameFault(*bytes) : NameFault::Invalid;
        switch (fault) {
        case NameFault::TooLong:
            return QStringLiteral("新文件名") + quoted(newName) + QStringLiteral("太长（超过255个字节）");
        case NameFault::ControlCharacter:
        case NameFault::DirectionControl:
            return newNameFaultText(fault);
        default:
            return QStringLiteral("新文件名") + quoted(newName) + QStringLiteral("不合法");
        }
    }
    case EISDIR:
        return QStringLiteral("已有同名文件夹") + quoted(newName);
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("没有权限");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString aboutText()
{
    return QStringLiteral("\n") + QStringLiteral("KervoRenvold_") + QStringLiteral("V" TAMSEL_VERSION) +
           QStringLiteral("\n\n") + QStringLiteral("林清远\t周若岚") + QStringLiteral("\n\n") + HomePageUrl +
           QStringLiteral("\n\n") + QStringLiteral("Copyright © 2026 Tamsel软件站 保留所有权利") +
           QStringLiteral("\n");
}

QString renameQuestion(int conflicts)
{
    QString question = QStringLiteral("是否开始执行重命名？");
    if (conflicts)
        question += u'\n' + QStringLiteral("注意：有［") + QString::number(conflicts) +
                    QStringLiteral("］个文件的新文件名无法使用（已用红色标出，鼠标指向可查看原因），"
                                   "重命名会在第一个这样的文件处停止。");
    return question;
}

QString cancelledSummary(int done, int files)
{
    return QStringLiteral("已取消：完成［") + QString::number(done) + QStringLiteral("］个，未处理［") +
           QString::number(files - done) + QStringLiteral("］个。");
}

QString undoQuestion(const RenameRecord& record)
{
    std::vector<bool> used(record.folders.size(), false);
    int folders = 0;
    for (const RenameRecord::File& f : record.files) {
        folders += !used[f.folder];
        used[f.folder] = true;
    }
    QString place;
    if (folders > 1) {
        place = QStringLiteral("位于［") + QString::number(folders) + QStringLiteral("］个文件夹");
    } else if (folders == 1) {
        QByteArray path = record.folders[record.files.front().folder].path;
        if (path.size() > 1 && path.endsWith('/'))
            path.chop(1);
        place = QStringLiteral("位于［") + displayName(decodeName(path.isEmpty() ? QByteArray(".") : path)) +
                u'］';
    }
    return QStringLiteral("是否撤销最近一次重命名？") + u'\n' + QStringLiteral("将恢复［") +
           QString::number(record.files.size()) + QStringLiteral("］个文件的原文件名（") + place +
           QStringLiteral("）。");
}

QString undoSummary(int restored, int failed)
{
    return QStringLiteral("撤销未全部完成：已恢复［") + QString::number(restored) +
           QStringLiteral("］个，未能恢复［") + QString::number(failed) +
           QStringLiteral("］个，原因见“执行结果”列。");
}

QString cancelledUndoSummary(int restored, int left)
{
    return QStringLiteral("已取消撤销：已恢复［") + QString::number(restored) +
           QStringLiteral("］个，未处理［") + QString::number(left) + QStringLiteral("］个。");
}

QStringList repairEncodings()
{
    return {QStringLiteral("自动识别"), QStringLiteral("GB18030（简体中文）"),
            QStringLiteral("Big5（繁体中文）"), QStringLiteral("Shift_JIS（日文）"),
            QStringLiteral("EUC-KR（韩文）")};
}

QString repairSummary(int repaired, int undecided)
{
    QString text = repaired == 0 ? QStringLiteral("没有发现可以修复的文件名。")
                                 : QStringLiteral("共有［") + QString::number(repaired) +
                                       QStringLiteral("］个文件名可以修复，请核对预览后重命名。");
    if (undecided != 0)
        text += u'\n' + QStringLiteral("另有［") + QString::number(undecided) +
                QStringLiteral("］个文件名无法确定编码，请选择编码后再试。");
    return text;
}

QString renameFailure(const RenameOutcome& outcome, const FileList& list)
{
    const int row = outcome.failedRow;
    QString text =
        QStringLiteral("发生错误，重命名失败！") + u'\n' + QStringLiteral("必须以合法的字符进行重命名。") +
        u'\n' + QStringLiteral("第［") + QString::number(row) + QStringLiteral("］行：") +
        failureReason(outcome.error, list.currentName(row), list.preview(row)) + QStringLiteral("。");
    if (!outcome.note.isEmpty())
        text += u'\n' + outcome.note;
    return text;
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/WindowTexts.h"
#include "gui/filelist/FileListModel.h"

#include "core/filelist/FileList.h"
#include "core/platform/SafeRename.h"
#include "core/rename/NameFile.h"
#include "core/rename/NewNames.h"
#include "core/rename/RenamePass.h"
#include "core/rename/RenameRecord.h"
#include "core/rename/rules/InfoRule.h"
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

namespace {

QString quotedName(QStringView name)
{
    return u'［' + displayName(name) + u'］';
}

const QString Unguarded = QStringLiteral("（此文件系统无法确保不覆盖同名文件）");

// Why an undo could not take a file back.
QString undoReason(const Failure& failure)
{
    switch (failure.kind) {
    case Failure::Kind::FileReplaced:
        return QStringLiteral("文件已被替换");
    case Failure::Kind::IdentityUnknown:
        return QStringLiteral("无法确认是同一个文件");
    default:
        break;
    }
    switch (failure.errnum) {
    case ENOENT:
    case EISDIR:
        return QStringLiteral("文件已不在原处");
    case EEXIST:
    case ENOTEMPTY:
        return QStringLiteral("原文件名已被占用");
    case ESTALE:
    case ENOTDIR:
        return QStringLiteral("文件所在的文件夹已被移动或替换");
    default:
        return QString::fromLocal8Bit(std::strerror(failure.errnum));
    }
}

} // namespace

QString WindowPassTexts::renamed(const RenamedRow& row) const
{
    switch (row.kind) {
    case RenamedRow::Kind::Untouched:
        return QStringLiteral("未处理！");
    case RenamedRow::Kind::Renamed:
        return row.unguarded ? QStringLiteral("操作成功！") + Unguarded : QStringLiteral("操作成功！");
    case RenamedRow::Kind::NotReached:
        return {};
    case RenamedRow::Kind::Failed:
        break;
    }
    const QString failed = QStringLiteral("操作失败！");
    if (!row.leftAs.isEmpty())
        return failed + leftWhat(row.left) + QStringLiteral("现名为：") + decodeName(row.leftAs);
    if (!row.extraName.isEmpty())
        return failed + QStringLiteral("多出文件名：") + decodeName(row.extraName);
    return failed;
}

QString WindowPassTexts::undone(const UndoneFile& file) const
{
    if (file.restored)
        return file.unguarded ? QStringLiteral("已撤销！") + Unguarded : QStringLiteral("已撤销！");
    QString text = QStringLiteral("撤销失败！") + undoReason(file.error);
    if (!file.leftAs.isEmpty())
        text += QStringLiteral("，现名为：") + decodeName(file.leftAs);
    return text;
}

QString leftWhat(RenamedRow::Left left)
{
    switch (left) {
    case RenamedRow::Left::Folder:
        return QStringLiteral("文件夹");
    case RenamedRow::Left::ReplacingFile:
        return QStringLiteral("替换它的文件");
    default:
        return QStringLiteral("文件");
    }
}

QString failureReason(const Failure& failure, QStringView oldName, QStringView newName)
{
    using Kind = Failure::Kind;
    switch (failure.kind) {
    case Kind::None:
        return {};
    case Kind::FileReplaced:
        return QStringLiteral("文件") + quotedName(oldName) + QStringLiteral("已被替换");
    case Kind::NameNotHeld:
        return QStringLiteral("文件系统不接受新文件名") + quotedName(newName);
    case Kind::IdentityUnknown:
        return QStringLiteral("无法确认") + quotedName(oldName) + QStringLiteral("是同一个文件");
    case Kind::InvalidName:
    case Kind::System:
        break;
    }
    const int error = failure.kind == Kind::InvalidName ? EINVAL : failure.errnum;
    const auto quoted = quotedName;
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return QStringLiteral("文件") + quoted(newName) + QStringLiteral("已存在");
    case ENOENT:
        return QStringLiteral("文件") + quoted(oldName) + QStringLiteral("已不存在");
    case ESTALE:
        return QStringLiteral("文件所在的文件夹已被移动或替换");
    case EINVAL: {
        const std::optional<QByteArray> bytes = encodeName(newName);
        const NameFault fault = bytes ? newNameFault(*bytes) : NameFault::Invalid;
        switch (fault) {
        case NameFault::TooLong:
            return QStringLiteral("新文件名") + quoted(newName) + QStringLiteral("太长（超过255个字节）");
        case NameFault::ControlCharacter:
        case NameFault::DirectionControl:
            return nameFaultText(quint8(fault));
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

QString renameQuestion(int conflicts, int steps)
{
    QString question = QStringLiteral("是否开始执行重命名？");
    if (steps > 1)
        question += u'\n' + QStringLiteral("新文件名由［") + QString::number(steps) +
                    QStringLiteral("］步预处理得到。");
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

QString tooComplexSummary(int rows)
{
    return QStringLiteral("有［") + QString::number(rows) +
           QStringLiteral("］个文件名无法用这个正则表达式处理（匹配过于复杂），它们没有预览。");
}

QString missingInfoSummary(int rows)
{
    return QStringLiteral("有［") + QString::number(rows) +
           QStringLiteral("］个文件缺少模板所需的信息，没有预览。");
}

QString templateFaultText(const InfoTemplateFault& fault)
{
    const QString field = u'{' + fault.field + u'}';
    switch (fault.kind) {
    case InfoTemplateFault::Kind::None:
        return {};
    case InfoTemplateFault::Kind::Empty:
        return QStringLiteral("请输入模板。");
    case InfoTemplateFault::Kind::Unclosed:
        return QStringLiteral("模板有误：第 ") + QString::number(fault.position + 1) +
               QStringLiteral(" 个字符“{”没有对应的“}”。");
    case InfoTemplateFault::Kind::UnknownField:
        return QStringLiteral("模板有误：没有“") + field + QStringLiteral("”这个字段。");
    case InfoTemplateFault::Kind::NoFormat:
        return QStringLiteral("模板有误：字段“") + field + QStringLiteral("”不带格式。");
    case InfoTemplateFault::Kind::BadWidth:
        return QStringLiteral("模板有误：“") + field + QStringLiteral("”的位数应是 1 到 9 的数字。");
    }
    return {};
}

QStringList infoFieldTokens()
{
    return {QStringLiteral("{原名}"),
            QStringLiteral("{扩展名}"),
            QStringLiteral("{目录名}"),
            QStringLiteral("{序号:3}"),
            QStringLiteral("{目录序号:3}"),
            QStringLiteral("{修改时间:yyyyMMdd}"),
            QStringLiteral("{创建时间:yyyyMMdd}"),
            QStringLiteral("{拍摄时间}"),
            QStringLiteral("{相机}"),
            QStringLiteral("{宽}"),
            QStringLiteral("{高}"),
            QStringLiteral("{艺术家}"),
            QStringLiteral("{标题}"),
            QStringLiteral("{专辑}"),
            QStringLiteral("{年份}"),
            QStringLiteral("{音轨:2}"),
            QStringLiteral("{时长}")};
}

QStringList infoFieldNotes()
{
    return {QStringLiteral("主文件名（不含扩展名）"),
            QStringLiteral("扩展名（不含点）"),
            QStringLiteral("所在目录的名称"),
            QStringLiteral("列表中的序号，补足 3 位"),
            QStringLiteral("每个目录从 1 起的序号"),
            QStringLiteral("修改时间，冒号后是格式"),
            QStringLiteral("创建时间"),
            QStringLiteral("照片或视频的拍摄时间（yyyyMMdd_HHmmss）"),
            QStringLiteral("相机型号"),
            QStringLiteral("图片或视频的宽（像素）"),
            QStringLiteral("图片或视频的高（像素）"),
            QStringLiteral("音乐的艺术家"),
            QStringLiteral("音乐的标题"),
            QStringLiteral("音乐的专辑"),
            QStringLiteral("音乐的年份"),
            QStringLiteral("音轨号，补足 2 位"),
            QStringLiteral("时长（分-秒）")};
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
    const RenamedRow& failure = outcome.failure;
    const int row = failure.row;
    const QString old = decodeName(list.currentNameBytes(row));
    QString text =
        QStringLiteral("发生错误，重命名失败！") + u'\n' + QStringLiteral("必须以合法的字符进行重命名。") +
        u'\n' + QStringLiteral("第［") + QString::number(row + 1) + QStringLiteral("］行：") +
        failureReason(failure.error, list.currentName(row), list.preview(row)) + QStringLiteral("。");
    const QString dir = decodeName(list.directoryBytes(row));
    if (!failure.leftAs.isEmpty()) {
        const QString what = leftWhat(failure.left);
        text += u'\n' + what + u'［' + dir + old + QStringLiteral("］现在位于［") + dir +
                decodeName(failure.leftAs) + QStringLiteral("］。");
    } else if (!failure.extraName.isEmpty()) {
        text += u'\n' + QStringLiteral("文件［") + old + QStringLiteral("］另有一个文件名［") +
                decodeName(failure.extraName) + QStringLiteral("］。");
    } else if (failure.sourceLost) {
        text += u'\n' + QStringLiteral("重命名失败后，文件［") + old +
                QStringLiteral("］已不在原处：文件系统删除了它。");
    }
    return text;
}

} // namespace tamsel

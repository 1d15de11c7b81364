// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/Preview.h"

#include "app/InputRules.h"
#include "filelist/FileList.h"
#include "platform/Dialogs.h"
#include "rename/NameRules.h"

#include <limits>

namespace tamsel {
namespace {

const QString Notice = QStringLiteral("提示信息");
constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();

QString num(qint64 n)
{
    return QString::number(n);
}

// Writes previews between beginBatch and endBatch, so that the view hears of them once.
struct Batch {
    FileList& list;
    explicit Batch(FileList& l) : list(l) { list.beginBatch(); }
    ~Batch() { list.endBatch(); }
};

QString targetExtension(const FileList& list, int row, const NumberingInputs& in)
{
    return in.keepExtension ? list.cell(row, ColFileType) : in.newExtension;
}

bool digitModel(const RuleContext& ctx, const NumberingInputs& in)
{
    FileList& list = ctx.list;
    const int files = list.FileCount();
    const auto start = ReadNumber(in.start);
    const auto increment = ReadNumber(in.increment);
    const auto width = ReadNumber(in.width);
    if (!start || !increment || !width) {
        ctx.dialogs.message(ctx.owner, QStringLiteral("开始字符、增量和位数必须是数字，请重新输入！"),
                            Notice);
        return false;
    }
    // Every number handed out must stay within the signed 32-bit range.
    const bool fits = *start <= Int32Max && *increment <= Int32Max &&
                      (*increment == 0 || (Int32Max - *start) / *increment >= files - 1);
    if (!fits) {
        ctx.dialogs.message(ctx.owner,
                            QStringLiteral("编号超出范围：最后一个编号不能大于2147483647。") + u'\n' +
                                QStringLiteral("请减小开始字符或增量！"),
                            Notice);
        return false;
    }
    const qint64 last = *start + *increment * (files - 1);
    if (*width < num(last).size()) {
        const qint64 capacity = std::min<qint64>(NumberCapacity(*start, *increment, int(*width)), files);
        const QString text =
            QStringLiteral("列表中一共有［") + num(files) + QStringLiteral("］个文件；") + u'\n' +
            QStringLiteral("开始编号为［") + TrimBlanks(in.start) + QStringLiteral("］；") + u'\n' +
            QStringLiteral("增量为［") + TrimBlanks(in.increment) + QStringLiteral("］；") + u'\n' +
            QStringLiteral("您选择的位数为［") + TrimBlanks(in.width) + QStringLiteral("］位；") + u'\n' +
            QStringLiteral("只能对［") + num(capacity) + QStringLiteral("］个文件进行重命名。") + u'\n' +
            QStringLiteral("多余的［") + num(files - capacity) + QStringLiteral("］个文件将忽略。是否继续？");
        if (!ctx.dialogs.question(ctx.owner, text, Notice))
            return false;
    }
    Batch batch(list);
    const QString prefix = TrimBlanks(in.prefix);
    const QString suffix = TrimBlanks(in.suffix);
    for (int r = 1; r <= files; ++r) {
        const QString ordinal = PadNumber(*start + qint64(r - 1) * *increment, int(*width));
        if (ordinal.isEmpty())
            break;
        list.setCell(r, ColPreview,
                     JoinNameAndExtension(prefix + ordinal + suffix, targetExtension(list, r, in)));
    }
    return true;
}

// Brings the start to the width: pads with "A", or asks whether the width should grow.
QString FitStartLetters(const RuleContext& ctx, const QString& start, int* width)
{
    const int diff = *width - int(start.size());
    if (diff > 0)
        return QString(diff, u'A') + start;
    if (diff == 0)
        return start;
    const QString text = QStringLiteral("您选择的位数少于开始字符的位数，是否补充位数？") + u'\n' +
                         QStringLiteral("以开始字符的长度为位数单击［是］；") + u'\n' +
                         QStringLiteral("以当前选择位数为长度请单击［否］；");
    if (ctx.dialogs.question(ctx.owner, text, QStringLiteral("操作提示"))) {
        *width = int(start.size());
        return start;
    }
    return start.right(*width);
}

bool letterModel(const RuleContext& ctx, const NumberingInputs& in, bool lower)
{
    FileList& list = ctx.list;
    const int files = list.FileCount();
    const auto readWidth = ReadNumber(in.width);
    QString start = TrimBlanks(in.start);
    if (lower)
        start = start.toUpper();
    const bool letters =
        std::all_of(start.begin(), start.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
    if (!readWidth || *readWidth > 9 || !letters) {
        ctx.dialogs.message(ctx.owner, QStringLiteral("开始字符必须是字母，位数必须是数字，请重新输入！"),
                            Notice);
        return false;
    }
    int width = int(*readWidth);
    start = FitStartLetters(ctx, start, &width);
    const qint64 value = LetterValue(start);
    if (value > Int32Max) {
        ctx.dialogs.message(ctx.owner, QStringLiteral("开始字符超出范围，请使用较短或较小的开始字符！"),
                            Notice);
        return false;
    }
    qint64 limit = 1;
    for (int i = 0; i < std::min(width, 6); ++i)
        limit *= 26;
    // Widths 7 to 9 count with 26^6 too; a start beyond that leaves no room at all.
    const qint64 capacity = std::max<qint64>(0, limit - value);
    if (capacity < files) {
        const QString text =
            QStringLiteral("列表中一共有［") + num(files) + QStringLiteral("］个文件；") + u'\n' +
            QStringLiteral("开始编号为［") + (lower ? start.toLower() : start) + QStringLiteral("］；") +
            u'\n' + QStringLiteral("您选择的位数为［") + num(width) + QStringLiteral("］位；") + u'\n' +
            QStringLiteral("只能对［") + num(capacity) + QStringLiteral("］个文件进行重命名。") + u'\n' +
            QStringLiteral("多余的［") + num(files - capacity) + QStringLiteral("］个文件将忽略。是否继续？");
        if (!ctx.dialogs.question(ctx.owner, text, Notice))
            return false;
    }
    const int count = int(std::min<qint64>(capacity, files));
    Batch batch(list);
    QString ordinal = start;
    for (int r = 1; r <= count; ++r) {
        QString name = DecorateOrdinal(ordinal, in.prefix, in.suffix);
        if (lower)
            name = name.toLower();
        list.setCell(r, ColPreview, JoinNameAndExtension(name, targetExtension(list, r, in)));
        ordinal = NextLetters(ordinal);
    }
    return true;
}

} // namespace

void ClearPreviews(FileList& list)
{
    Batch batch(list);
    for (int r = 1; r <= list.FileCount(); ++r)
        list.setCell(r, ColPreview, QString());
}

bool ApplyNumberingRule(const RuleContext& ctx, const NumberingInputs& in)
{
    if (ctx.list.FileCount() <= 0 || TrimBlanks(in.start).isEmpty())
        return false;
    if (!in.model)
        return true;
    switch (*in.model) {
    case OrdinalModel::Digits:
        return digitModel(ctx, in);
    case OrdinalModel::Upper:
        return letterModel(ctx, in, false);
    case OrdinalModel::Lower:
        return letterModel(ctx, in, true);
    }
    return true;
}

} // namespace tamsel

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

// Asks whether to go on when only `capacity` of `files` rows can be named; `details` are the
// lines between the file count and the capacity.
bool askCapacity(const RuleContext& ctx, qint64 files, const QString& details, qint64 capacity)
{
    const QString text = QStringLiteral("列表中一共有［") + num(files) + QStringLiteral("］个文件；") +
                         u'\n' + details + QStringLiteral("只能对［") + num(capacity) +
                         QStringLiteral("］个文件进行重命名。") + u'\n' + QStringLiteral("多余的［") +
                         num(files - capacity) + QStringLiteral("］个文件将忽略。是否继续？");
    return ctx.dialogs.question(ctx.owner, text, Notice);
}

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
        const QString details =
            QStringLiteral("开始编号为［") + TrimBlanks(in.start) + QStringLiteral("］；") + u'\n' +
            QStringLiteral("增量为［") + TrimBlanks(in.increment) + QStringLiteral("］；") + u'\n' +
            QStringLiteral("您选择的位数为［") + TrimBlanks(in.width) + QStringLiteral("］位；") + u'\n';
        if (!askCapacity(ctx, files, details, capacity))
            return false;
    }
    FileList::Batch batch(list);
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
        const QString details = QStringLiteral("开始编号为［") + (lower ? start.toLower() : start) +
                                QStringLiteral("］；") + u'\n' + QStringLiteral("您选择的位数为［") +
                                num(width) + QStringLiteral("］位；") + u'\n';
        if (!askCapacity(ctx, files, details, capacity))
            return false;
    }
    const int count = int(std::min<qint64>(capacity, files));
    FileList::Batch batch(list);
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

int readCount(const QString& text)
{
    // The boxes take two digits and the spin goes to 100: clamp anything else into that range.
    return int(std::min<qint64>(ReadNumber(text).value_or(0), 32767));
}

QList<uint> codePoints(const QString& s)
{
    return s.toUcs4();
}

QString fromCodePoints(const QList<uint>& cps, qsizetype from, qsizetype count)
{
    if (count <= 0 || from >= cps.size())
        return {};
    count = std::min(count, cps.size() - from);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(cps.constData() + from), count);
}

} // namespace

QString DeleteCharacters(const QString& main, int offset, int count, bool fromFirst, bool rightward)
{
    const QList<uint> m = codePoints(main);
    const qsizetype l = m.size();
    const qsizetype o = offset;
    const qsizetype n = count;
    auto left = [&](qsizetype k) { return fromCodePoints(m, 0, std::min(k, l)); };
    auto right = [&](qsizetype k) {
        return k <= 0 ? QString() : fromCodePoints(m, std::max<qsizetype>(0, l - k), k);
    };
    if (fromFirst && rightward)
        return left(o) + (l - o - n >= 1 ? right(l - o - n) : QString());
    if (fromFirst)
        return (o - n >= 0 ? left(o - n) : QString()) + (l - o >= 1 ? right(l - o) : QString());
    if (rightward)
        return (l - o >= 1 ? left(l - o) : QString()) + (o - n >= 0 ? right(o - n) : QString());
    return (l - o - n >= 1 ? left(l - o - n) : QString()) + right(o);
}

void ApplyDeleteRule(FileList& list, const DeleteInputs& in)
{
    const int offset = readCount(in.offset);
    const int count = readCount(in.count);
    FileList::Batch batch(list);
    for (int r = 1; r <= list.FileCount(); ++r) {
        const QString s =
            DeleteCharacters(list.cell(r, ColFileName), offset, count, in.fromFirst, in.rightward);
        if (!s.isEmpty())
            list.setCell(r, ColPreview, JoinNameAndExtension(s.toLower(), list.cell(r, ColFileType)));
    }
}

std::optional<QString> InsertCharacters(const QString& main, const QString& text, int offset, bool fromFirst)
{
    const QList<uint> m = codePoints(main);
    const qsizetype l = m.size();
    if (offset > l)
        return std::nullopt;
    const qsizetype at = fromFirst ? offset : l - offset;
    return fromCodePoints(m, 0, at) + text + fromCodePoints(m, at, l - at);
}

void ApplyInsertRule(FileList& list, const InsertInputs& in)
{
    const int offset = readCount(in.offset);
    FileList::Batch batch(list);
    for (int r = 1; r <= list.FileCount(); ++r) {
        if (const auto s = InsertCharacters(list.cell(r, ColFileName), in.text, offset, in.fromFirst))
            list.setCell(r, ColPreview, JoinNameAndExtension(s->toLower(), list.cell(r, ColFileType)));
    }
}

void ApplyReplaceRule(FileList& list, const ReplaceInputs& in)
{
    const QString replacement = in.deleteOnly ? QString() : in.replacement;
    FileList::Batch batch(list);
    for (int r = 1; r <= list.FileCount(); ++r) {
        QString main = list.cell(r, ColFileName);
        if (!in.find.isEmpty())
            main.replace(in.find, replacement, Qt::CaseSensitive);
        list.setCell(r, ColPreview, JoinNameAndExtension(main, list.cell(r, ColFileType)));
    }
}

QString ChangeCase(const QString& text, CaseChange change)
{
    switch (change) {
    case CaseChange::Keep:
        return text;
    case CaseChange::AllUpper:
        return text.toUpper();
    case CaseChange::AllLower:
        return text.toLower();
    case CaseChange::FirstUpper: {
        if (text.isEmpty())
            return text;
        const qsizetype first = text.front().isHighSurrogate() && text.size() > 1 ? 2 : 1;
        return text.left(first).toUpper() + text.mid(first);
    }
    }
    return text;
}

void ApplyCaseRule(FileList& list, CaseChange mainName, CaseChange extension)
{
    FileList::Batch batch(list);
    for (int r = 1; r <= list.FileCount(); ++r)
        list.setCell(r, ColPreview,
                     JoinNameAndExtension(ChangeCase(list.cell(r, ColFileName), mainName),
                                          ChangeCase(list.cell(r, ColFileType), extension)));
}

QStringList CountNames(const QString& text)
{
    QStringList names;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start <= size) {
        qsizetype end = start;
        while (end < size && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        const QString piece = text.mid(start, end - start);
        if (!LeftTrimBlanks(piece).isEmpty())
            names << piece;
        if (end >= size)
            break;
        start = end + (text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n' ? 2 : 1);
    }
    return names;
}

void ApplyTextFileRule(const RuleContext& ctx, const QString& text, const std::function<void(int)>& showCount)
{
    FileList& list = ctx.list;
    const int files = list.FileCount();
    if (files == 0)
        return;
    if (TrimBlanks(text).isEmpty()) {
        ctx.dialogs.message(ctx.owner, QStringLiteral("无预命名信息，请选择有命名信息的文件！"), Notice);
        return;
    }
    const QStringList names = CountNames(text);
    const int count = int(names.size());
    if (showCount)
        showCount(count);
    if (count < files) {
        const QString details =
            QStringLiteral("预命名信息有［") + num(count) + QStringLiteral("］条；") + u'\n';
        if (!askCapacity(ctx, files, details, count))
            return;
    }
    FileList::Batch batch(list);
    for (int r = 1; r <= std::min(count, files); ++r)
        list.setCell(r, ColPreview, JoinNameAndExtension(names[r - 1], list.cell(r, ColFileType)));
}

void ClearPreviews(FileList& list)
{
    FileList::Batch batch(list);
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

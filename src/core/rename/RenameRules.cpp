// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/RenameRules.h"

#include "core/filelist/CellText.h"
#include "core/filelist/FileList.h"
#include "core/rename/Numbering.h"
#include "core/text/PlainText.h"

#include <limits>

namespace tamsel {
namespace {

constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();

// Tells progress the row now and then: often enough for a progress bar, rarely enough to cost
// nothing.
inline void report(const RowProgress& progress, int row)
{
    if (progress && (row & 0xFFF) == 0)
        progress(row);
}

QString num(qint64 n)
{
    return QString::number(n);
}

// The question whether to go on when only `capacity` of `files` rows can be named; `details` are
// the lines between the file count and the capacity.
void askCapacity(RulePlan& plan, qint64 files, const QString& details, qint64 capacity)
{
    plan.question = QStringLiteral("列表中一共有［") + num(files) + QStringLiteral("］个文件；") + u'\n' +
                    details + QStringLiteral("只能对［") + num(capacity) +
                    QStringLiteral("］个文件进行重命名。") + u'\n' + QStringLiteral("多余的［") +
                    num(files - capacity) + QStringLiteral("］个文件将忽略。是否继续？");
    plan.questionCaption = QStringLiteral("提示信息");
}

// The answer to question number `asked` (from 0), or the plan asks it.
std::optional<bool> answer(const QList<bool>& answers, qsizetype asked)
{
    return asked < answers.size() ? std::optional(answers[asked]) : std::nullopt;
}

RulePlan refused(const QString& text)
{
    RulePlan plan;
    plan.refusal = text;
    return plan;
}

// The row's own extension exactly as the name has it: its dot and every character after it,
// blanks and a lone trailing dot included; empty for a name without a dot.
QStringView ownExtension(QStringView name)
{
    return name.mid(mainNameOf(name).size());
}

// Appends text in upper or lower case, each character mapped to one (the simple case mapping:
// ß stays ß, İ becomes i), so that a name keeps its length; ASCII at once.
void appendCased(QString& out, QStringView text, bool upper)
{
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            out +=
                QChar(upper ? (u >= u'a' && u <= u'z' ? u - 32 : u) : (u >= u'A' && u <= u'Z' ? u + 32 : u));
        }
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        // QChar leaves a letter whose full mapping differs as it is; İ has a simple one, i.
        const char32_t cased = upper ? QChar::toUpper(c) : c == 0x0130 ? U'i' : QChar::toLower(c);
        if (QChar::requiresSurrogates(cased))
            out.append(QChar(QChar::highSurrogate(cased))).append(QChar(QChar::lowSurrogate(cased)));
        else
            out.append(QChar(char16_t(cased)));
    }
}

QString cased(QStringView text, bool upper)
{
    QString out;
    out.reserve(text.size());
    appendCased(out, text, upper);
    return out;
}

// A rule's loop writes each new name into one buffer: no allocation a row once it has grown.
class NameBuffer {
public:
    QString& start()
    {
        m_text.resize(0);
        return m_text;
    }
    QStringView view() const { return m_text; }

private:
    QString m_text;
};

RulePlan planDigits(const FileList& list, const NumberingInputs& in, const QList<bool>& answers)
{
    const int files = list.fileCount();
    const auto start = readNumber(in.start);
    const auto increment = readNumber(in.increment);
    const auto width = readNumber(in.width);
    if (!start || !increment || !width)
        return refused(QStringLiteral("开始字符、增量和位数必须是数字，请重新输入！"));
    // Every number handed out must stay within the signed 32-bit range.
    const bool fits = *start <= Int32Max && *increment <= Int32Max &&
                      (*increment == 0 || (Int32Max - *start) / *increment >= files - 1);
    if (!fits)
        return refused(QStringLiteral("编号超出范围：最后一个编号不能大于2147483647。") + u'\n' +
                       QStringLiteral("请减小开始字符或增量！"));
    RulePlan plan;
    const qint64 last = *start + *increment * (files - 1);
    if (*width < num(last).size()) {
        const qint64 capacity = std::min<qint64>(numberCapacity(*start, *increment, int(*width)), files);
        const QString details =
            QStringLiteral("开始编号为［") + trimBlanks(in.start) + QStringLiteral("］；") + u'\n' +
            QStringLiteral("增量为［") + trimBlanks(in.increment) + QStringLiteral("］；") + u'\n' +
            QStringLiteral("您选择的位数为［") + trimBlanks(in.width) + QStringLiteral("］位；") + u'\n';
        const auto goOn = answer(answers, 0);
        if (!goOn)
            askCapacity(plan, files, details, capacity);
        if (!goOn || !*goOn)
            return plan;
    }
    plan.go = true;
    plan.rows = files; // as far as the numbers fit the width
    plan.start = *start;
    plan.increment = *increment;
    plan.width = int(*width);
    return plan;
}

void applyDigits(FileList& list, const NumberingInputs& in, const RulePlan& plan, const RowProgress& progress)
{
    FileList::Batch batch(list);
    const QString prefix = trimBlanks(in.prefix);
    const QString suffix = trimBlanks(in.suffix);
    const QString typedExtension = joinNameAndExtension(QString(), in.newExtension);
    NameBuffer buffer;
    for (int r = 0; r < plan.rows; ++r) {
        report(progress, r);
        QString& name = buffer.start();
        name += prefix;
        if (!appendPadded(name, plan.start + qint64(r) * plan.increment, plan.width))
            break;
        name += suffix;
        name += in.keepExtension ? ownExtension(list.name(r)) : QStringView(typedExtension);
        list.setCell(r, ColPreview, buffer.view());
    }
}

RulePlan planLetters(const FileList& list, const NumberingInputs& in, const QList<bool>& answers, bool lower)
{
    const int files = list.fileCount();
    const auto readWidth = readNumber(in.width);
    QString start = trimBlanks(in.start);
    if (lower)
        start = start.toUpper();
    const bool letters =
        std::all_of(start.begin(), start.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
    if (!readWidth || *readWidth > 9 || !letters)
        return refused(QStringLiteral("开始字符必须是字母，位数必须是数字，请重新输入！"));
    RulePlan plan;
    int width = int(*readWidth);
    qsizetype asked = 0;
    // The start brought to the width: padded with "A", or the width grows if the user says so.
    if (const int diff = width - int(start.size()); diff > 0) {
        start = QString(diff, u'A') + start;
    } else if (diff < 0) {
        const auto grow = answer(answers, asked++);
        if (!grow) {
            plan.question = QStringLiteral("您选择的位数少于开始字符的位数，是否补充位数？") + u'\n' +
                            QStringLiteral("以开始字符的长度为位数单击［是］；") + u'\n' +
                            QStringLiteral("以当前选择位数为长度请单击［否］；");
            plan.questionCaption = QStringLiteral("操作提示");
            return plan;
        }
        if (*grow)
            width = int(start.size());
        else
            start = start.right(width);
    }
    const qint64 value = letterValue(start);
    if (value > Int32Max)
        return refused(QStringLiteral("开始字符超出范围，请使用较短或较小的开始字符！"));
    qint64 limit = 1;
    for (int i = 0; i < std::min(width, 6); ++i)
        limit *= 26;
    // Widths 7 to 9 count with 26^6 too; a start beyond that leaves no room at all.
    const qint64 capacity = std::max<qint64>(0, limit - value);
    if (capacity < files) {
        const QString details = QStringLiteral("开始编号为［") + (lower ? start.toLower() : start) +
                                QStringLiteral("］；") + u'\n' + QStringLiteral("您选择的位数为［") +
                                num(width) + QStringLiteral("］位；") + u'\n';
        const auto goOn = answer(answers, asked);
        if (!goOn)
            askCapacity(plan, files, details, capacity);
        if (!goOn || !*goOn)
            return plan;
    }
    plan.go = true;
    plan.rows = int(std::min<qint64>(capacity, files));
    plan.letters = start;
    plan.width = width;
    return plan;
}

void applyLetters(FileList& list, const NumberingInputs& in, const RulePlan& plan, bool lower,
                  const RowProgress& progress)
{
    FileList::Batch batch(list);
    const QString typedExtension = joinNameAndExtension(QString(), in.newExtension);
    QString ordinal = plan.letters;
    NameBuffer buffer;
    for (int r = 0; r < plan.rows; ++r) {
        report(progress, r);
        QString& name = buffer.start();
        const QString decorated = decorateOrdinal(ordinal, in.prefix, in.suffix);
        if (lower)
            appendCased(name, decorated, false);
        else
            name += decorated;
        name += in.keepExtension ? ownExtension(list.name(r)) : QStringView(typedExtension);
        list.setCell(r, ColPreview, buffer.view());
        ordinal = nextLetters(ordinal);
    }
}

int readCount(const QString& text)
{
    // The boxes take two digits and the spin goes to 100: clamp anything else into that range.
    return int(std::min<qint64>(readNumber(text).value_or(0), 32767));
}

// A name measured in characters as the user sees them: a surrogate pair is one character, and so
// is a lone surrogate standing for a byte. at(k) is where character k starts.
class Characters {
public:
    explicit Characters(QStringView text) : m_text(text)
    {
        // Without surrogate pairs a character is a code unit: nothing to count.
        if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isHighSurrogate(); }))
            return;
        for (qsizetype i = 0; i < text.size(); ++i) {
            m_starts.push_back(i);
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
        }
        m_starts.push_back(text.size());
    }
    qsizetype count() const { return m_starts.isEmpty() ? m_text.size() : m_starts.size() - 1; }
    // count characters from character `from`, clamped to the text.
    QStringView mid(qsizetype from, qsizetype count) const
    {
        if (count <= 0 || from >= this->count())
            return {};
        const qsizetype end = std::min(from + count, this->count());
        return m_text.mid(at(from), at(end) - at(from));
    }

private:
    qsizetype at(qsizetype k) const { return m_starts.isEmpty() ? k : m_starts[k]; }

    QStringView m_text;
    QList<qsizetype> m_starts;
};

// What the delete rule leaves of a main name: up to two pieces of it.
std::pair<QStringView, QStringView> keptPieces(QStringView main, int offset, int count, bool fromFirst,
                                               bool rightward)
{
    const Characters m(main);
    const qsizetype l = m.count();
    const qsizetype o = offset;
    const qsizetype n = count;
    auto left = [&](qsizetype k) { return m.mid(0, std::min(k, l)); };
    auto right = [&](qsizetype k) {
        return k <= 0 ? QStringView() : m.mid(std::max<qsizetype>(0, l - k), k);
    };
    if (fromFirst && rightward)
        return {left(o), l - o - n >= 1 ? right(l - o - n) : QStringView()};
    if (fromFirst)
        return {o - n >= 0 ? left(o - n) : QStringView(), l - o >= 1 ? right(l - o) : QStringView()};
    if (rightward)
        return {l - o >= 1 ? left(l - o) : QStringView(), o - n >= 0 ? right(o - n) : QStringView()};
    return {l - o - n >= 1 ? left(l - o - n) : QStringView(), right(o)};
}

// Where the insert rule cuts a main name in two; nothing when offset is beyond its end.
std::optional<std::pair<QStringView, QStringView>> splitForInsert(QStringView main, int offset,
                                                                  bool fromFirst)
{
    const Characters m(main);
    const qsizetype l = m.count();
    if (offset > l)
        return std::nullopt;
    const qsizetype at = fromFirst ? offset : l - offset;
    return std::pair(m.mid(0, at), m.mid(at, l - at));
}

// The lines of a name list that hold more than blanks, as they stand.
QList<QStringView> nameLines(QStringView text)
{
    QList<QStringView> lines = splitLines(text);
    lines.removeIf([](QStringView line) { return isBlank(line); });
    return lines;
}

} // namespace

QString joinNameAndExtension(const QString& main, QStringView extension)
{
    qsizetype dots = 0;
    while (dots < extension.size() && extension[dots] == u'.')
        ++dots;
    const QStringView ext = extension.mid(dots);
    if (isBlank(ext) || trimBlanks(ext) == NoExtensionMarker)
        return main;
    return main + u'.' + ext;
}

void applyDeleteRule(FileList& list, const DeleteInputs& in, const RowProgress& progress)
{
    const int offset = readCount(in.offset);
    const int count = readCount(in.count);
    FileList::Batch batch(list);
    NameBuffer buffer;
    for (int r = 0; r < list.fileCount(); ++r) {
        report(progress, r);
        const QStringView name = list.name(r);
        const auto [first, second] = keptPieces(mainNameOf(name), offset, count, in.fromFirst, in.rightward);
        if (first.isEmpty() && second.isEmpty())
            continue;
        QString& out = buffer.start();
        appendCased(out, first, false);
        appendCased(out, second, false);
        out += ownExtension(name);
        list.setCell(r, ColPreview, buffer.view());
    }
}

void applyInsertRule(FileList& list, const InsertInputs& in, const RowProgress& progress)
{
    const int offset = readCount(in.offset);
    FileList::Batch batch(list);
    NameBuffer buffer;
    for (int r = 0; r < list.fileCount(); ++r) {
        report(progress, r);
        const QStringView name = list.name(r);
        const auto halves = splitForInsert(mainNameOf(name), offset, in.fromFirst);
        if (!halves)
            continue;
        QString& out = buffer.start();
        appendCased(out, halves->first, false);
        appendCased(out, in.text, false);
        appendCased(out, halves->second, false);
        out += ownExtension(name);
        list.setCell(r, ColPreview, buffer.view());
    }
}

// Where find stands in text from `from` on, as whole characters: never half of a surrogate pair
// (a byte that is not UTF-8 is a lone surrogate of its own, and may stand beside a pair).
qsizetype indexOfWhole(QStringView text, QStringView find, qsizetype from)
{
    const auto splits = [&](qsizetype i) {
        return i > 0 && i < text.size() && text[i].isLowSurrogate() && text[i - 1].isHighSurrogate();
    };
    for (qsizetype at; (at = text.indexOf(find, from)) >= 0; from = at + 1) {
        if (!splits(at) && !splits(at + find.size()))
            return at;
    }
    return -1;
}

void applyReplaceRule(FileList& list, const ReplaceInputs& in, const RowProgress& progress)
{
    const QString replacement = in.deleteOnly ? QString() : in.replacement;
    FileList::Batch batch(list);
    NameBuffer buffer;
    for (int r = 0; r < list.fileCount(); ++r) {
        report(progress, r);
        const QStringView name = list.name(r);
        const QStringView main = mainNameOf(name);
        QString& out = buffer.start();
        // Every occurrence, left to right, none searched again after its replacement.
        qsizetype from = 0;
        for (qsizetype at; !in.find.isEmpty() && (at = indexOfWhole(main, in.find, from)) >= 0;
             from = at + in.find.size()) {
            out += main.mid(from, at - from);
            out += replacement;
        }
        out += main.mid(from);
        out += ownExtension(name);
        list.setCell(r, ColPreview, buffer.view());
    }
}

QString changeCase(const QString& text, CaseChange change)
{
    switch (change) {
    case CaseChange::Keep:
        return text;
    case CaseChange::AllUpper:
        return cased(text, true);
    case CaseChange::AllLower:
        return cased(text, false);
    case CaseChange::FirstUpper: {
        if (text.isEmpty())
            return text;
        const qsizetype first = text.front().isHighSurrogate() && text.size() > 1 ? 2 : 1;
        return cased(QStringView(text).left(first), true) + text.mid(first);
    }
    }
    return text;
}

void applyCaseRule(FileList& list, CaseChange mainCase, CaseChange extensionCase, const RowProgress& progress)
{
    FileList::Batch batch(list);
    NameBuffer buffer;
    const auto append = [](QString& out, QStringView text, CaseChange change) {
        switch (change) {
        case CaseChange::Keep:
            out += text;
            break;
        case CaseChange::AllUpper:
        case CaseChange::AllLower:
            appendCased(out, text, change == CaseChange::AllUpper);
            break;
        case CaseChange::FirstUpper:
            out += changeCase(text.toString(), change);
            break;
        }
    };
    for (int r = 0; r < list.fileCount(); ++r) {
        report(progress, r);
        const QStringView name = list.name(r);
        const QStringView main = mainNameOf(name);
        QString& out = buffer.start();
        append(out, main, mainCase);
        if (main.size() < name.size()) {
            out += u'.';
            append(out, extensionOf(name), extensionCase);
        }
        list.setCell(r, ColPreview, buffer.view());
    }
}

QStringList listedNames(const QString& text)
{
    QStringList names;
    for (const QStringView line : nameLines(text))
        names << line.toString();
    return names;
}

RulePlan planNameList(const FileList& list, const QString& text, const QList<bool>& answers)
{
    const int files = list.fileCount();
    if (files == 0)
        return {};
    if (trimBlanks(text).isEmpty())
        return refused(QStringLiteral("无预命名信息，请选择有命名信息的文件！"));
    RulePlan plan;
    const int count = int(nameLines(text).size());
    plan.nameCount = count;
    if (count < files) {
        const auto goOn = answer(answers, 0);
        if (!goOn)
            askCapacity(plan, files,
                        QStringLiteral("预命名信息有［") + num(count) + QStringLiteral("］条；") + u'\n',
                        count);
        if (!goOn || !*goOn)
            return plan;
    }
    plan.go = true;
    plan.rows = std::min(count, files);
    return plan;
}

void applyTextFileRule(FileList& list, const QString& text, const RulePlan& plan, const RowProgress& progress)
{
    const QList<QStringView> names = nameLines(text);
    FileList::Batch batch(list);
    NameBuffer buffer;
    for (int r = 0; r < std::min<qsizetype>(plan.rows, names.size()); ++r) {
        report(progress, r);
        QString& out = buffer.start();
        out += names[r];
        out += ownExtension(list.name(r));
        list.setCell(r, ColPreview, buffer.view());
    }
}

RulePlan planNumbering(const FileList& list, const NumberingInputs& in, const QList<bool>& answers)
{
    if (list.fileCount() <= 0 || trimBlanks(in.start).isEmpty() || !in.model)
        return {};
    switch (*in.model) {
    case OrdinalModel::Digits:
        return planDigits(list, in, answers);
    case OrdinalModel::Upper:
        return planLetters(list, in, answers, false);
    case OrdinalModel::Lower:
        return planLetters(list, in, answers, true);
    }
    return {};
}

void applyNumberingRule(FileList& list, const NumberingInputs& in, const RulePlan& plan,
                        const RowProgress& progress)
{
    if (!plan.go || !in.model)
        return;
    if (*in.model == OrdinalModel::Digits)
        applyDigits(list, in, plan, progress);
    else
        applyLetters(list, in, plan, *in.model == OrdinalModel::Lower, progress);
}

} // namespace tamsel

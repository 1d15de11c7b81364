// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/NumberingRule.h"

#include "core/rename/rules/RuleText.h"
#include "core/text/PlainText.h"

#include <algorithm>
#include <limits>

namespace tamsel {
namespace {

constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();

// The answer to question number `asked` (from 0), or the plan asks it.
std::optional<bool> answer(const QList<bool>& answers, qsizetype asked)
{
    return asked < answers.size() ? std::optional(answers[asked]) : std::nullopt;
}

RulePlan refused(PlanRefusal refusal)
{
    RulePlan plan;
    plan.refusal = refusal;
    return plan;
}

QString lowered(QStringView text)
{
    QString out;
    out.reserve(text.size());
    appendCased(out, text, false);
    return out;
}

} // namespace

NumberingRule::NumberingRule(NumberingInputs inputs) : m_in(std::move(inputs))
{
    m_prefix = trimBlanks(m_in.prefix);
    m_suffix = trimBlanks(m_in.suffix);
    if (m_in.model == OrdinalModel::Lower) {
        m_lowerAffixes = lowered(QString(m_prefix + m_suffix));
        m_prefix = lowered(m_prefix);
        m_suffix = lowered(m_suffix);
    }
    m_typedExtension = joinNameAndExtension(QString(), m_in.newExtension);
}

RulePlan NumberingRule::plan(int files, const QList<bool>& answers) const
{
    if (files <= 0 || trimBlanks(m_in.start).isEmpty() || !m_in.model)
        return {};
    if (*m_in.model == OrdinalModel::Digits)
        return planDigits(files, answers);
    return planLetters(files, answers, *m_in.model == OrdinalModel::Lower);
}

RulePlan NumberingRule::planDigits(int files, const QList<bool>& answers) const
{
    const auto start = readNumber(m_in.start);
    const auto increment = readNumber(m_in.increment);
    const auto width = readNumber(m_in.width);
    if (!start || !increment || !width)
        return refused(PlanRefusal::NumbersNotDigits);
    // Every number handed out must stay within the signed 32-bit range.
    const bool fits = *start <= Int32Max && *increment <= Int32Max &&
                      (*increment == 0 || (Int32Max - *start) / *increment >= files - 1);
    if (!fits)
        return refused(PlanRefusal::NumbersOutOfRange);
    RulePlan plan;
    const qint64 last = *start + *increment * (files - 1);
    if (*width < QString::number(last).size()) {
        const auto goOn = answer(answers, 0);
        if (!goOn) {
            plan.question = PlanQuestion::NumbersBeyondWidth;
            plan.files = files;
            plan.capacity = std::min<qint64>(numberCapacity(*start, *increment, int(*width)), files);
            plan.shownStart = trimBlanks(m_in.start);
            plan.shownIncrement = trimBlanks(m_in.increment);
            plan.shownWidth = trimBlanks(m_in.width);
        }
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

RulePlan NumberingRule::planLetters(int files, const QList<bool>& answers, bool lower) const
{
    const auto readWidth = readNumber(m_in.width);
    QString start = trimBlanks(m_in.start);
    if (lower)
        start = start.toUpper();
    const bool letters =
        std::all_of(start.begin(), start.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
    if (!readWidth || *readWidth > 9 || !letters)
        return refused(PlanRefusal::LettersNotLetters);
    RulePlan plan;
    int width = int(*readWidth);
    qsizetype asked = 0;
    // The start brought to the width: padded with "A", or the width grows if the user says so.
    if (const int diff = width - int(start.size()); diff > 0) {
        start = QString(diff, u'A') + start;
    } else if (diff < 0) {
        const auto grow = answer(answers, asked++);
        if (!grow) {
            plan.question = PlanQuestion::WidenToStart;
            return plan;
        }
        if (*grow)
            width = int(start.size());
        else
            start = start.right(width);
    }
    const qint64 value = letterValue(start);
    if (value > Int32Max)
        return refused(PlanRefusal::LettersOutOfRange);
    qint64 limit = 1;
    for (int i = 0; i < std::min(width, 6); ++i)
        limit *= 26;
    // Widths 7 to 9 count with 26^6 too; a start beyond that leaves no room at all.
    const qint64 capacity = std::max<qint64>(0, limit - value);
    if (capacity < files) {
        const auto goOn = answer(answers, asked);
        if (!goOn) {
            plan.question = PlanQuestion::LettersBeyondWidth;
            plan.files = files;
            plan.capacity = capacity;
            plan.shownStart = lower ? start.toLower() : start;
            plan.shownWidth = QString::number(width);
        }
        if (!goOn || !*goOn)
            return plan;
    }
    plan.go = true;
    plan.rows = int(std::min<qint64>(capacity, files));
    plan.start = value;
    plan.width = width;
    return plan;
}

RowOutcome NumberingRule::step(const RowName& row, const RulePlan& plan, QString& out) const
{
    if (*m_in.model == OrdinalModel::Digits) {
        out += m_prefix;
        if (!appendPadded(out, plan.start + qint64(row.index) * plan.increment, plan.width))
            return {};
        out += m_suffix;
    } else if (plan.width == 0 && *m_in.model == OrdinalModel::Lower) {
        out += m_lowerAffixes;
    } else {
        // The plan leaves no row whose letters would be wider than the width.
        out += m_prefix;
        const char16_t first = *m_in.model == OrdinalModel::Lower ? u'a' : u'A';
        out.resize(out.size() + plan.width);
        QChar* letter = out.data() + out.size();
        for (qint64 value = plan.start + row.index, i = 0; i < plan.width; ++i, value /= 26)
            *--letter = QChar(char16_t(first + value % 26));
        out += m_suffix;
    }
    out += m_in.keepExtension ? row.extension : QStringView(m_typedExtension);
    return {true, false};
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/ReplaceRule.h"

namespace tamsel {
namespace {

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

} // namespace

ReplaceRule::ReplaceRule(const ReplaceInputs& inputs)
    : m_find(inputs.find), m_replacement(inputs.deleteOnly ? QString() : inputs.replacement)
{
    // Without a pattern nothing is replaced, as without a text to find.
    if (inputs.regularExpression && !m_find.isEmpty())
        m_regex = std::make_unique<RegexReplacer>(m_find, m_replacement);
}

ReplaceRule::~ReplaceRule() = default;

RulePlan ReplaceRule::plan(int files, const QList<bool>& answers) const
{
    RulePlan plan = Rule::plan(files, answers);
    if (m_regex && m_regex->fault().kind != PatternFault::Kind::None) {
        plan.go = false;
        plan.refusal = PlanRefusal::PatternInvalid;
        plan.fault = m_regex->fault();
    }
    return plan;
}

RowOutcome ReplaceRule::step(const RowName& row, const RulePlan&, QString& out) const
{
    const QStringView main = row.main;
    if (m_regex) {
        if (!m_regex->replace(main, out))
            return {false, false, true};
        out += row.extension;
        return {true, false};
    }
    qsizetype from = 0;
    for (qsizetype at; !m_find.isEmpty() && (at = indexOfWhole(main, m_find, from)) >= 0;
         from = at + m_find.size()) {
        out += main.mid(from, at - from);
        out += m_replacement;
    }
    out += main.mid(from);
    out += row.extension;
    return {true, false};
}

} // namespace tamsel

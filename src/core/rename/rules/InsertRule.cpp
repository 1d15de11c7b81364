// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/InsertRule.h"

#include "core/rename/rules/RuleText.h"

namespace tamsel {

InsertRule::InsertRule(const InsertInputs& inputs)
    : m_text(inputs.text), m_offset(readCount(inputs.offset)), m_fromFirst(inputs.fromFirst)
{
}

RowOutcome InsertRule::step(const RowName& row, const RulePlan&, QString& out) const
{
    const Characters m(row.main);
    const qsizetype length = m.count();
    if (m_offset > length)
        return {};
    const qsizetype at = m_fromFirst ? m_offset : length - m_offset;
    appendCased(out, m.mid(0, at), false);
    appendCased(out, m_text, false);
    appendCased(out, m.mid(at, length - at), false);
    out += row.extension;
    return {true, false};
}

} // namespace tamsel

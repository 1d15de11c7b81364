// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/CaseRule.h"

#include "core/rename/rules/RuleText.h"

namespace tamsel {
namespace {

void appendChanged(QString& out, QStringView text, CaseChange change)
{
    switch (change) {
    case CaseChange::Keep:
        out += text;
        break;
    case CaseChange::AllUpper:
    case CaseChange::AllLower:
        appendCased(out, text, change == CaseChange::AllUpper);
        break;
    case CaseChange::FirstUpper: {
        // The first character, a surrogate pair being one.
        const qsizetype first = !text.isEmpty() && text.front().isHighSurrogate() && text.size() > 1 ? 2 : 1;
        appendCased(out, text.left(first), true);
        out += text.mid(std::min(first, text.size()));
        break;
    }
    }
}

} // namespace

CaseRule::CaseRule(CaseChange mainCase, CaseChange extensionCase)
    : m_mainCase(mainCase), m_extensionCase(extensionCase)
{
}

RowOutcome CaseRule::step(const RowName& row, const RulePlan&, QString& out) const
{
    appendChanged(out, row.main, m_mainCase);
    if (!row.extension.isEmpty()) {
        out += u'.';
        appendChanged(out, row.extension.mid(1), m_extensionCase);
    }
    return {true, false};
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// The letter case of the main name and of the extension, each on its own.
#pragma once

#include "core/rename/rules/Rule.h"

namespace tamsel {

// The case options, in the order of their buttons.
enum class CaseChange { Keep, FirstUpper, AllUpper, AllLower };

// Every row is named; a name keeps its length (see appendCased).
class CaseRule final : public Rule {
public:
    CaseRule(CaseChange mainCase, CaseChange extensionCase);
    RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const override;

private:
    CaseChange m_mainCase;
    CaseChange m_extensionCase;
};

} // namespace tamsel

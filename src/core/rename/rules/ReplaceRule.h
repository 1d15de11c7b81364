// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing or deleting text in the main name.
#pragma once

#include "core/rename/rules/Rule.h"

#include <memory>

namespace tamsel {

// The replace tab.
struct ReplaceInputs {
    QString find;
    QString replacement;
    bool deleteOnly = false;
    bool regularExpression = false; // find is a pattern, replacement a template (see RegexReplacer)
};

// Every occurrence, left to right, none searched again after its replacement; every row is named,
// but for a name whose matching takes too much work. A wrong pattern or template refuses the plan.
class ReplaceRule final : public Rule {
public:
    explicit ReplaceRule(const ReplaceInputs& inputs);
    ~ReplaceRule() override;
    RulePlan plan(int files, const QList<bool>& answers) const override;
    RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const override;

private:
    QString m_find;
    QString m_replacement;
    std::unique_ptr<RegexReplacer> m_regex; // compiled once, for every row
};

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing or deleting text in the main name.
#pragma once

#include "core/rename/rules/Rule.h"

namespace tamsel {

// The replace tab.
struct ReplaceInputs {
    QString find;
    QString replacement;
    bool deleteOnly = false;
};

// Every occurrence, left to right, none searched again after its replacement; every row is named.
class ReplaceRule final : public Rule {
public:
    explicit ReplaceRule(const ReplaceInputs& inputs);
    RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const override;

private:
    QString m_find;
    QString m_replacement;
};

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Numbering: an ordinal (digits or letters) a row in list order, between a prefix and a suffix.
#pragma once

#include "core/rename/Numbering.h"
#include "core/rename/rules/Rule.h"

#include <optional>

namespace tamsel {

// The numbering tab's inputs as the user left them.
struct NumberingInputs {
    std::optional<OrdinalModel> model; // none when the model box shows none of its items
    QString start;
    QString increment;
    QString width;
    QString prefix;
    QString suffix;
    bool keepExtension = true; // the new-extension box shows "不修改"
    QString newExtension;
};

class NumberingRule final : public Rule {
public:
    explicit NumberingRule(NumberingInputs inputs);
    // Refuses numbers beyond the signed 32-bit range; asks when not every row fits the width, and
    // whether to widen to start letters wider than the width.
    RulePlan plan(int files, const QList<bool>& answers) const override;
    RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const override;

private:
    RulePlan planDigits(int files, const QList<bool>& answers) const;
    RulePlan planLetters(int files, const QList<bool>& answers, bool lower) const;

    NumberingInputs m_in;
    QString m_prefix; // trimmed, and in lower case for lower-case letters
    QString m_suffix;
    QString m_lowerAffixes; // prefix and suffix lowered as one, for an ordinal of no letters
    QString m_typedExtension;
};

} // namespace tamsel

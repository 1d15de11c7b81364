// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting characters from the main name, which is lowered.
#pragma once

#include "core/rename/rules/Rule.h"

namespace tamsel {

// The delete tab: remove count characters at offset, counted from the first or the last character.
struct DeleteInputs {
    QString offset; // an empty box counts as 0, in all three number boxes
    QString count;
    bool fromFirst = true;
    bool rightward = true;
};

// Positions count characters as the user sees them: a character outside the basic plane is one.
// A row with nothing left of its main name gets no name.
class DeleteRule final : public Rule {
public:
    explicit DeleteRule(const DeleteInputs& inputs);
    RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const override;

private:
    int m_offset;
    int m_count;
    bool m_fromFirst;
    bool m_rightward;
};

} // namespace tamsel

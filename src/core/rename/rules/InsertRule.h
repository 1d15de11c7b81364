// SPDX-License-Identifier: GPL-3.0-or-later
// Inserting text into the main name, which is lowered with it.
#pragma once

#include "core/rename/rules/Rule.h"

namespace tamsel {

// The insert tab: insert text at offset, counted from the first or the last character.
struct InsertInputs {
    QString text;
    QString offset;
    bool fromFirst = true;
};

// No name for a row whose main name offset goes beyond.
class InsertRule final : public Rule {
public:
    explicit InsertRule(const InsertInputs& inputs);
    RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const override;

private:
    QString m_text;
    int m_offset;
    bool m_fromFirst;
};

} // namespace tamsel

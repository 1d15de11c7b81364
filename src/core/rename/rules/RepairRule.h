// SPDX-License-Identifier: GPL-3.0-or-later
// Garbled names given back the text they were (see repairedName).
#pragma once

#include "core/rename/NameRepair.h"
#include "core/rename/rules/Rule.h"

namespace tamsel {

// Names only the rows whose name it can repair; a row that more than one reading fits is
// undecided and gets no name.
class RepairRule final : public Rule {
public:
    explicit RepairRule(SourceEncoding encoding, SourceEncoding preferred = localeEncoding());
    RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const override;

private:
    SourceEncoding m_encoding;
    SourceEncoding m_preferred;
};

} // namespace tamsel

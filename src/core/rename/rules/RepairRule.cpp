// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/RepairRule.h"

#include "core/text/NameCodec.h"

#include <algorithm>

namespace tamsel {

RepairRule::RepairRule(SourceEncoding encoding, SourceEncoding preferred)
    : m_encoding(encoding), m_preferred(preferred)
{
}

RowOutcome RepairRule::step(const RowName& row, const RulePlan&, QString& out) const
{
    const auto ascii = [](QStringView text) {
        return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    };
    if (ascii(row.main) && ascii(row.extension))
        return {};
    // The repair reads the whole name, and its bytes as they are on disk.
    out += row.main;
    out += row.extension;
    const auto encoded = encodeName(out);
    const QByteArray bytes = encoded ? *encoded : out.toUtf8();
    RowOutcome outcome;
    const auto repaired = repairedName(out, bytes, m_encoding, &outcome.undecided, m_preferred);
    out.resize(0);
    if (repaired) {
        out += *repaired;
        outcome.named = true;
    }
    return outcome;
}

} // namespace tamsel

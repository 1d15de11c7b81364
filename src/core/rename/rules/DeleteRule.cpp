// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/DeleteRule.h"

#include "core/rename/rules/RuleText.h"

#include <algorithm>
#include <utility>

namespace tamsel {
namespace {

// What the delete rule leaves of a main name: up to two pieces of it.
std::pair<QStringView, QStringView> keptPieces(QStringView main, int offset, int count, bool fromFirst,
                                               bool rightward)
{
    const Characters m(main);
    const qsizetype l = m.count();
    const qsizetype o = offset;
    const qsizetype n = count;
    auto left = [&](qsizetype k) { return m.mid(0, std::min(k, l)); };
    auto right = [&](qsizetype k) {
        return k <= 0 ? QStringView() : m.mid(std::max<qsizetype>(0, l - k), k);
    };
    if (fromFirst && rightward)
        return {left(o), l - o - n >= 1 ? right(l - o - n) : QStringView()};
    if (fromFirst)
        return {o - n >= 0 ? left(o - n) : QStringView(), l - o >= 1 ? right(l - o) : QStringView()};
    if (rightward)
        return {l - o >= 1 ? left(l - o) : QStringView(), o - n >= 0 ? right(o - n) : QStringView()};
    return {l - o - n >= 1 ? left(l - o - n) : QStringView(), right(o)};
}

} // namespace

DeleteRule::DeleteRule(const DeleteInputs& inputs)
    : m_offset(readCount(inputs.offset)), m_count(readCount(inputs.count)), m_fromFirst(inputs.fromFirst),
      m_rightward(inputs.rightward)
{
}

RowOutcome DeleteRule::step(const RowName& row, const RulePlan&, QString& out) const
{
    const auto [first, second] = keptPieces(row.main, m_offset, m_count, m_fromFirst, m_rightward);
    if (first.isEmpty() && second.isEmpty())
        return {};
    appendCased(out, first, false);
    appendCased(out, second, false);
    out += row.extension;
    return {true, false};
}

} // namespace tamsel

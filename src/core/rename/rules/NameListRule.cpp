// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/NameListRule.h"

#include "core/text/PlainText.h"

namespace tamsel {
namespace {

// The lines of a name list that hold more than blanks, as they stand.
QList<QStringView> nameLines(QStringView text)
{
    QList<QStringView> lines = splitLines(text);
    lines.removeIf([](QStringView line) { return isBlank(line); });
    return lines;
}

} // namespace

QStringList listedNames(const QString& text)
{
    QStringList names;
    for (const QStringView line : nameLines(text))
        names << line.toString();
    return names;
}

NameListRule::NameListRule(const QString& text) : m_text(text), m_names(nameLines(m_text)) {}

RulePlan NameListRule::plan(int files, const QList<bool>& answers) const
{
    if (files == 0)
        return {};
    RulePlan plan;
    if (trimBlanks(m_text).isEmpty()) {
        plan.refusal = PlanRefusal::NoNames;
        return plan;
    }
    const int count = int(m_names.size());
    plan.nameCount = count;
    if (count < files) {
        if (answers.isEmpty()) {
            plan.question = PlanQuestion::TooFewNames;
            plan.files = files;
            plan.capacity = count;
            return plan;
        }
        if (!answers.front())
            return plan;
    }
    plan.go = true;
    plan.rows = std::min(count, files);
    return plan;
}

RowOutcome NameListRule::step(const RowName& row, const RulePlan&, QString& out) const
{
    if (row.index >= m_names.size())
        return {};
    out += m_names[row.index];
    out += row.extension;
    return {true, false};
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Names from a name list, handed out in list order; each row keeps its own extension.
#pragma once

#include "core/rename/rules/Rule.h"

#include <QStringList>

namespace tamsel {

// The names of a name list: its lines (ended by LF, CR LF or CR) that hold more than blanks,
// exactly as they stand.
QStringList listedNames(const QString& text);

// Refuses a blank list; asks when it holds fewer names than there are rows.
class NameListRule final : public Rule {
public:
    explicit NameListRule(const QString& text);
    RulePlan plan(int files, const QList<bool>& answers) const override;
    RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const override;

private:
    QString m_text;
    QList<QStringView> m_names; // into m_text
};

} // namespace tamsel

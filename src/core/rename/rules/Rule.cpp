// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/Rule.h"

#include "core/filelist/CellText.h"

namespace tamsel {

RowName RowName::split(QStringView name, int index)
{
    const QStringView main = mainNameOf(name);
    return {main, name.mid(main.size()), index};
}

RulePlan Rule::plan(int files, const QList<bool>&) const
{
    RulePlan plan;
    plan.go = true;
    plan.rows = files;
    return plan;
}

} // namespace tamsel

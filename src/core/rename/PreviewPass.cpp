// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/PreviewPass.h"

#include "core/filelist/FileList.h"

#include <algorithm>

namespace tamsel {

PreviewCount previewPass(FileList& list, const Rule& rule, const RulePlan& plan, const RowProgress& progress)
{
    PreviewCount count;
    FileList::Batch batch(list);
    // One buffer for every new name: no allocation a row once it has grown.
    QString buffer;
    const int files = list.fileCount();
    const int named = plan.go ? std::min(plan.rows, files) : 0;
    for (int r = 1; r <= files; ++r) {
        // Often enough for a progress bar, rarely enough to cost nothing.
        if (progress && !count.stopped && (r & 0xFFF) == 0 && !progress(r))
            count.stopped = true;
        RowOutcome outcome;
        if (r <= named && !count.stopped) {
            buffer.resize(0);
            outcome = rule.step(RowName::split(list.name(r), r - 1), plan, buffer);
        }
        list.setCell(r, ColPreview, outcome.named ? QStringView(buffer) : QStringView());
        count.named += outcome.named;
        count.undecided += outcome.undecided;
    }
    return count;
}

} // namespace tamsel

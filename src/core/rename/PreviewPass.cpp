// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/PreviewPass.h"

#include "core/filelist/FileList.h"
#include "core/passes/PassWorker.h"

#include <algorithm>

namespace tamsel {

PreviewCount previewPass(const FileList& list, const Rule& rule, const RulePlan& plan, PassControl& control,
                         const std::function<void(const PreviewedRows&)>& deliver)
{
    constexpr int BatchRows = 4096;
    PreviewCount count;
    // One buffer for every new name: no allocation a row once it has grown.
    QString buffer;
    PreviewedRows batch;
    const auto send = [&] {
        control.post([deliver, rows = std::move(batch)] { deliver(rows); });
        batch = {};
    };
    const int files = list.fileCount();
    const int named = plan.go ? std::min(plan.rows, files) : 0;
    for (int r = 0; r < files; ++r) {
        if (r % BatchRows == 0) {
            if (r > 0)
                send();
            batch.first = r;
            batch.ends.reserve(BatchRows);
            // Often enough for a progress bar, rarely enough to cost nothing.
            if (!count.stopped && !control.goOn(r))
                count.stopped = true;
        }
        RowOutcome outcome;
        if (r < named && !count.stopped) {
            buffer.resize(0);
            outcome = rule.step(RowName::split(list.name(r), r), plan, buffer);
        }
        if (outcome.named)
            batch.text += buffer;
        batch.ends.push_back(batch.text.size());
        count.named += outcome.named;
        count.undecided += outcome.undecided;
        count.tooComplex += outcome.tooComplex;
    }
    if (!batch.ends.empty())
        send();
    return count;
}

void applyPreviews(FileList& list, const PreviewedRows& rows)
{
    FileList::Batch batch(list);
    qsizetype start = 0;
    for (size_t i = 0; i < rows.ends.size(); ++i) {
        list.setCell(rows.first + int(i), ColPreview,
                     QStringView(rows.text).mid(start, rows.ends[i] - start));
        start = rows.ends[i];
    }
}

PreviewCount previewPass(FileList& list, const Rule& rule, const RulePlan& plan, const RowProgress& progress)
{
    DirectControl control(progress);
    return previewPass(list, rule, plan, control,
                       [&](const PreviewedRows& rows) { applyPreviews(list, rows); });
}

} // namespace tamsel

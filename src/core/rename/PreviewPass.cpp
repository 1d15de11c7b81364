// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/PreviewPass.h"

#include "core/filelist/FileList.h"
#include "core/passes/PassWorker.h"
#include "core/text/PlainText.h"

#include <algorithm>

namespace tamsel {

PreviewCount previewPass(const FileList& list, const Rule& rule, const RulePlan& plan, PassControl& control,
                         const std::function<void(const PreviewedRows&)>& deliver, PreviewFrom from)
{
    constexpr int BatchRows = 4096;
    // Often enough that a stop lands soon even where a row takes milliseconds (a regular expression
    // at its limit), rarely enough to cost nothing.
    constexpr int CheckRows = 64;
    // A rule that reads files may take a while on each: 取消 lands on the next row.
    const bool readsFiles = rule.readsFiles();
    const int checkRows = readsFiles ? 1 : CheckRows;
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
    static_assert(BatchRows % CheckRows == 0);
    // What a rule that reads files is told of each row's file.
    std::vector<int> inFolder(readsFiles ? list.folderCount() : 0, 0);
    for (int block = 0; block < files; block += checkRows) {
        if (block % BatchRows == 0) {
            if (block > 0)
                send();
            batch.first = block;
            batch.ends.reserve(BatchRows);
        }
        if (!count.stopped && !control.goOn(block))
            count.stopped = true;
        const int end = std::min(files, block + checkRows);
        const int nameUpTo = count.stopped ? block : std::min(named, end);
        for (int r = block; r < end; ++r) {
            RowOutcome outcome;
            const QStringView earlier = earlierPreview(list, r, from);
            if (r < nameUpTo) {
                buffer.resize(0);
                RowName row = RowName::split(earlier.isEmpty() ? list.name(r) : earlier, r);
                RowFile file;
                if (readsFiles) {
                    file = rowFile(list, r, inFolder[list.folderIndex(r)]++);
                    row.file = &file;
                }
                outcome = rule.step(row, plan, buffer);
            }
            // A row given up on, or lacking what the rule needs, is told to have no preview, and has none.
            batch.text += outcome.named                               ? QStringView(buffer)
                          : outcome.tooComplex || outcome.missingInfo ? QStringView()
                                                                      : earlier;
            batch.ends.push_back(batch.text.size());
            count.named += outcome.named;
            count.undecided += outcome.undecided;
            count.tooComplex += outcome.tooComplex;
            count.missingInfo += outcome.missingInfo;
        }
    }
    if (!batch.ends.empty())
        send();
    return count;
}

RowFile rowFile(const FileList& list, int row, int inFolder)
{
    const FileList::Row& details = list.details(row);
    RowFile file;
    file.path = list.directoryBytes(row) + list.currentNameBytes(row);
    file.folder = list.folderText(details.dir);
    file.inFolder = inFolder;
    if (details.created != FileList::NoValue)
        file.created = details.created;
    if (details.modified != FileList::NoValue)
        file.modified = details.modified;
    return file;
}

QStringView earlierPreview(const FileList& list, int row, PreviewFrom from)
{
    const QStringView preview = from == PreviewFrom::Previews ? list.preview(row) : QStringView();
    return isBlank(preview) ? QStringView() : preview;
}

RowName startingRow(const FileList& list, int row, PreviewFrom from)
{
    const QStringView earlier = earlierPreview(list, row, from);
    return RowName::split(earlier.isEmpty() ? list.name(row) : earlier, row);
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

PreviewCount previewPass(FileList& list, const Rule& rule, const RulePlan& plan, const RowProgress& progress,
                         PreviewFrom from)
{
    DirectControl control(progress);
    return previewPass(
        list, rule, plan, control, [&](const PreviewedRows& rows) { applyPreviews(list, rows); }, from);
}

} // namespace tamsel

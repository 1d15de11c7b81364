// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/RefreshPass.h"

#include "core/passes/PassWorker.h"
#include "core/platform/FileSystem.h"

namespace tamsel {

void refreshPass(const ListCopy& list, const FileSystem& fs, PassControl& control,
                 const std::function<void(const std::vector<RefreshedRow>&)>& deliver)
{
    constexpr size_t BatchRows = 1024;
    std::vector<RefreshedRow> batch;
    for (int r = 0; r < list.fileCount() && control.goOn(r); ++r) {
        batch.push_back({r, fs.stat(list.pathBytes(r))});
        if (batch.size() >= BatchRows) {
            control.post([deliver, rows = std::move(batch)] { deliver(rows); });
            batch = {};
        }
    }
    if (!batch.empty())
        control.post([deliver, rows = std::move(batch)] { deliver(rows); });
}

void applyRefreshed(FileList& list, const std::vector<RefreshedRow>& rows)
{
    FileList::Batch batch(list);
    for (const RefreshedRow& row : rows)
        list.setRefreshed(row.row, row.stat);
}

} // namespace tamsel

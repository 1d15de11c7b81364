// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/RefreshPass.h"

#include "core/passes/PassWorker.h"
#include "core/platform/FileSystem.h"

namespace tamsel {

void refreshPass(const ListCopy& list, const FileSystem& fs, PassControl& control,
                 const std::function<void(const std::vector<RefreshedRow>&)>& deliver)
{
    PostedBatches<RefreshedRow> results(control, deliver);
    for (int r = 0; r < list.fileCount() && control.goOn(r); ++r)
        results.add({r, fs.stat(list.pathBytes(r))});
}

void applyRefreshed(FileList& list, const std::vector<RefreshedRow>& rows)
{
    FileList::Batch batch(list);
    for (const RefreshedRow& row : rows)
        list.setRefreshed(row.row, row.stat);
}

} // namespace tamsel

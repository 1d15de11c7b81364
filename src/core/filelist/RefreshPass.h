// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/filelist/FileList.h"

#include <functional>
#include <optional>
#include <vector>

namespace tamsel {

class PassControl;

// A row as a refresh found its file: under its current name, or gone.
struct RefreshedRow {
    int row = -1;
    std::optional<FileStat> stat;
};

// Looks up every row's file under its current name, row after row until control.goOn(done) says
// stop; the rows reach deliver through control.post, in batches.
void refreshPass(const ListCopy& list, const FileSystem& fs, PassControl& control,
                 const std::function<void(const std::vector<RefreshedRow>&)>& deliver);

// Shows the rows as refreshed (FileList::setRefreshed).
void applyRefreshed(FileList& list, const std::vector<RefreshedRow>& rows);

} // namespace tamsel

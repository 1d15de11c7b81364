// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting the list by a column, the way people count.
#pragma once

#include <vector>

namespace tamsel {

class FileList;

// Whether the list sorts by the column (names, folder, type, size and times do).
bool isSortColumn(int column);

// The list's rows in sorted order, as their row numbers now; equal rows keep their order.
// Names, folders and types sort naturally: runs of digits (ASCII and full-width) and of Chinese
// numerals by their value, equal to the same value in digits, leading zeros breaking ties; letters
// without regard to case or accents; other scripts by the Chinese (pinyin) collation; names that
// are not UTF-8 after all others. Sizes and times by their value, unknown ones first.
std::vector<int> sortedOrder(const FileList& list, int column, bool descending);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace tamsel {

// "宋体", falling back to an installed Ming (Song) face, then any CJK face.
QFont songFont(qreal points = 9);
// "楷体_GB2312", falling back to an installed Kai face, then the Song fallbacks.
QFont kaiFont(qreal points = 12);

} // namespace tamsel

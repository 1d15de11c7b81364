// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures drawn in code, sharp at every size.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <array>

namespace tamsel {

// The picture of toolbar button k (1 to 12).
QIcon ToolbarIcon(int button);

// The three pictures of an image button of the given size: normal, hover, pressed.
std::array<QPixmap, 3> ButtonImages(QSize size);

} // namespace tamsel

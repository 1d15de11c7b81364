// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures drawn in code, sharp at every size.
#pragma once

#include <QIcon>

namespace tamsel {

// The picture of toolbar button k (1 to 12).
QIcon ToolbarIcon(int button);

} // namespace tamsel

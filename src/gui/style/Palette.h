// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPalette>

namespace tamsel {

// The light palette the window's own colours go with, whatever the desktop's theme: texts on the
// window's fixed colours take their colours from it too, so they stay readable under a dark theme.
const QPalette& lightPalette();

} // namespace tamsel

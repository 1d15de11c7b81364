// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tamsel {

// True from a mouse press on the file list or on an image button until the next release.
inline bool ButtonPressed = false;

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Tells screen readers which interface each of the program's own widgets has.
#pragma once

namespace tamsel {

// Installs the factory; once per process, before any window is shown.
void installAccessibility();

} // namespace tamsel

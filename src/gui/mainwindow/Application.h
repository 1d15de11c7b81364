// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tamsel {

// The application's name, style and Qt's own texts in Chinese; for the program and for tests that
// show its window. Once a QApplication exists; calling it again changes nothing.
void setUpApplication();

} // namespace tamsel

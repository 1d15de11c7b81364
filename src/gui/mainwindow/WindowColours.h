// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMainWindow;
class QToolBar;

namespace tamsel {

class TabControl;

// The main window's own colours, the same under every theme.
void applyWindowColours(QMainWindow* window, QToolBar* toolbar, TabControl* tabs);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures drawn in code, sharp at every size.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <array>

namespace tamsel {

// The toolbar's commands, numbered as their buttons from the left.
enum class ToolbarCommand {
    AddFiles = 1,
    AddFolder,
    Search,
    MoveUp,
    MoveDown,
    MoveToTop,
    MoveToBottom,
    DeleteAll,
    DeleteSelected,
    Preview,
    Rename,
    Refresh,
};

QIcon toolbarIcon(ToolbarCommand command);

// The three pictures of an image button of the given size: normal, hover, pressed.
std::array<QPixmap, 3> buttonImages(QSize size);

} // namespace tamsel

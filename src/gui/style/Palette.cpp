// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/style/Palette.h"

#include <QStyle>
#include <QStyleFactory>
#include <memory>

namespace tamsel {

const QPalette& lightPalette()
{
    static const QPalette light = [] {
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        QPalette p = fusion ? fusion->standardPalette() : QPalette(Qt::white);
        // Every role counts as set: a theme's palette must not show through any of them.
        p.setResolveMask(~QPalette::ResolveMask(0));
        return p;
    }();
    return light;
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/style/Geometry.h"

#include <algorithm>

namespace tamsel {

Zoom zoomFor(qreal desktopPoints, qreal dpi, QSize available, QSize natural)
{
    // The layout was made for the 9 and 10 point text of most desktops; larger text grows it.
    const double dpiFactor = dpi > 0 ? dpi / 96.0 : 1.0;
    double layout = std::max(1.0, desktopPoints / 10.0) * dpiFactor;
    if (!available.isEmpty() && !natural.isEmpty()) {
        const double fit = std::min(double(available.width()) / (natural.width() * layout),
                                    double(available.height()) / (natural.height() * layout));
        if (fit < 1.0)
            layout = std::max(0.5, layout * fit);
    }
    return {layout, layout / dpiFactor};
}

Zoom& windowZoom()
{
    static Zoom zoom;
    return zoom;
}

} // namespace tamsel

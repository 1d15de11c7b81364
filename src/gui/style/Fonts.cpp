// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/style/Fonts.h"

#include "gui/style/Geometry.h"

#include <QStringList>

namespace tamsel {
namespace {

const QStringList& songFamilies()
{
    static const QStringList families = {
        QStringLiteral("宋体"),
        QStringLiteral("SimSun"),
        QStringLiteral("AR PL UMing CN"),
        QStringLiteral("WenQuanYi Zen Hei"),
        QStringLiteral("Noto Serif CJK SC"),
        QStringLiteral("Noto Sans CJK SC"),
    };
    return families;
}

QFont make(const QStringList& families, qreal points)
{
    QFont f(families.first());
    f.setFamilies(families);
    f.setPointSizeF(points * windowZoom().fonts);
    return f;
}

} // namespace

QFont songFont(qreal points)
{
    return make(songFamilies(), points);
}

QFont kaiFont(qreal points)
{
    QStringList families = {QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi_GB2312"),
                            QStringLiteral("楷体"), QStringLiteral("KaiTi"), QStringLiteral("AR PL UKai CN")};
    families += songFamilies();
    return make(families, points);
}

} // namespace tamsel

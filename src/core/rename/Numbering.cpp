// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/Numbering.h"

#include "core/text/PlainText.h"

#include <algorithm>
#include <limits>

namespace tamsel {

QString padNumber(qint64 number, int width)
{
    QString text;
    return appendPadded(text, number, width) ? text : QString();
}

bool appendPadded(QString& out, qint64 number, int width)
{
    char16_t digits[20]; // filled from the end
    qsizetype first = std::size(digits);
    for (qint64 value = number; first == qsizetype(std::size(digits)) || value > 0; value /= 10)
        digits[--first] = char16_t(u'0' + value % 10);
    const qsizetype n = qsizetype(std::size(digits)) - first;
    if (n > width)
        return false;
    out.resize(out.size() + width - n, u'0');
    out.append(QStringView(digits + first, n));
    return true;
}

qint64 numberCapacity(qint64 start, qint64 increment, int width)
{
    // 10^18 - 1 is the widest all-nines number a qint64 holds; wider widths hold every qint64.
    qint64 max = 1;
    for (int i = 0; i < std::min(width, 18); ++i)
        max *= 10;
    max = width > 18 ? std::numeric_limits<qint64>::max() : max - 1;
    if (start > max)
        return 0;
    if (increment <= 0)
        return std::numeric_limits<qint64>::max(); // every value stays within the width
    const qint64 steps = (max - start) / increment;
    return steps == std::numeric_limits<qint64>::max() ? steps : steps + 1;
}

qint64 letterValue(const QString& letters)
{
    qint64 value = 0;
    for (const QChar c : letters) {
        if (value > (std::numeric_limits<qint64>::max() - 25) / 26)
            return std::numeric_limits<qint64>::max();
        value = value * 26 + (c.unicode() - u'A');
    }
    return value;
}

std::optional<qint64> readNumber(const QString& text)
{
    const QString trimmed = trimBlanks(text);
    if (trimmed.isEmpty())
        return std::nullopt;
    for (const QChar c : trimmed) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    // Too many digits for any count: saturate, so that range checks refuse it.
    if (trimmed.size() > 18)
        return std::numeric_limits<qint64>::max();
    return trimmed.toLongLong();
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/NameRules.h"

#include "filelist/CellText.h"

#include <limits>

namespace tamsel {

QString LeftTrimBlanks(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    return text.mid(i);
}

QString TrimBlanks(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return LeftTrimBlanks(text.left(end));
}

QString JoinNameAndExtension(const QString& main, const QString& extension)
{
    qsizetype dots = 0;
    while (dots < extension.size() && extension[dots] == u'.')
        ++dots;
    const QString ext = extension.mid(dots);
    const QString trimmed = TrimBlanks(ext);
    if (trimmed.isEmpty() || trimmed == NoExtensionMarker)
        return main;
    return main + u'.' + ext;
}

QString DecorateOrdinal(const QString& ordinal, const QString& prefix, const QString& suffix)
{
    return TrimBlanks(prefix) + ordinal + TrimBlanks(suffix);
}

QString PadNumber(qint64 number, int width)
{
    const QString text = QString::number(number);
    if (text.size() > width)
        return {};
    return text.rightJustified(width, u'0');
}

qint64 NumberCapacity(qint64 start, qint64 increment, int width)
{
    qint64 max = 1;
    for (int i = 0; i < width; ++i)
        max *= 10;
    --max;
    if (start > max)
        return 0;
    if (increment <= 0)
        return std::numeric_limits<qint64>::max(); // every value stays within the width
    return (max - start) / increment + 1;
}

qint64 LetterValue(const QString& letters)
{
    qint64 value = 0;
    for (const QChar c : letters) {
        if (value > (std::numeric_limits<qint64>::max() - 25) / 26)
            return std::numeric_limits<qint64>::max();
        value = value * 26 + (c.unicode() - u'A');
    }
    return value;
}

QString NextLetters(const QString& letters)
{
    QString next = letters;
    qsizetype i = next.size() - 1;
    while (i >= 0 && next[i] == u'Z')
        next[i--] = u'A';
    if (i < 0)
        return u'A' + next;
    next[i] = QChar(next[i].unicode() + 1);
    return next;
}

std::optional<qint64> ReadNumber(const QString& text)
{
    const QString trimmed = TrimBlanks(text);
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

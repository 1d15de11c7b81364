// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/NewNames.h"

#include "core/text/NameCodec.h"

#include <QList>

namespace tamsel {
namespace {

// The UTF-8 of U+061C, U+200E/F, U+202A to U+202E and U+2066 to U+2069.
bool directionControlAt(QByteArrayView name, qsizetype i)
{
    const auto at = [&](qsizetype k) { return i + k < name.size() ? uchar(name[i + k]) : 0; };
    if (at(0) == 0xD8)
        return at(1) == 0x9C;
    if (at(0) != 0xE2)
        return false;
    if (at(1) == 0x80)
        return at(2) == 0x8E || at(2) == 0x8F || (at(2) >= 0xAA && at(2) <= 0xAE);
    return at(1) == 0x81 && at(2) >= 0xA6 && at(2) <= 0xA9;
}

bool hasRightToLeftLetters(QByteArrayView name)
{
    const QString text = decodeName(name);
    for (const char32_t c : text.toUcs4()) {
        const QChar::Direction d = QChar::direction(c);
        if (d == QChar::DirR || d == QChar::DirAL)
            return true;
    }
    return false;
}

} // namespace

NameFault newNameFault(QByteArrayView name)
{
    if (name.isEmpty() || name.contains('\0'))
        return NameFault::Invalid;
    if (name.contains('/'))
        return NameFault::Slash;
    if (name == "." || name == "..")
        return NameFault::Dots;
    if (name.size() > 255)
        return NameFault::TooLong;
    bool direction = false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const uchar c = uchar(name[i]);
        if (c < 0x20 || c == 0x7F ||
            (c == 0xC2 && i + 1 < name.size() && uchar(name[i + 1]) >= 0x80 && uchar(name[i + 1]) <= 0x9F))
            return NameFault::ControlCharacter;
        direction = direction || directionControlAt(name, i);
    }
    return direction && !hasRightToLeftLetters(name) ? NameFault::DirectionControl : NameFault::None;
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// File names as text, without loss. Linux names are bytes and need not be UTF-8: a byte that is
// not part of valid UTF-8 becomes the lone surrogate U+DC00 + byte, which encodes back to that
// byte, so every name survives the trip to text and back exactly.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace tamsel {

// spare: room to keep for text appended later, in characters.
QString decodeName(QByteArrayView bytes, qsizetype spare = 0);

// The bytes of a name; nothing when the text holds a surrogate that stands for no byte (a lone
// one outside U+DC80 to U+DCFF), which no file name can carry.
std::optional<QByteArray> encodeName(QStringView text);

// The same into out, without allocating: the number of bytes written, or -1 where encodeName gives
// nothing or the bytes do not fit in capacity.
qsizetype encodeNameTo(QStringView text, char* out, qsizetype capacity);

// True when the text holds characters that stand for bytes: a name that is not UTF-8.
bool hasEscapes(QStringView text);

// The text with every character that stands for a byte shown as U+FFFD, as other programs show it.
QString escapesShown(QStringView text);

// The text as a person should see it: escapes shown as U+FFFD, controls as their pictures (␊),
// direction controls and C1 controls by name (⟦RLO⟧), so that a name never reads as another.
QString displayName(QStringView text);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Name handling shared by the rename rules, and the arithmetic of the numbering rule.
#pragma once

#include <QString>
#include <optional>

namespace tamsel {

// Blanks are spaces only; tabs and other white space are kept.
QString TrimBlanks(const QString& text);
QString LeftTrimBlanks(const QString& text);

// main + "." + extension, the extension's leading dots removed; the main name alone when the
// extension is blank or the no-extension marker.
QString JoinNameAndExtension(const QString& main, const QString& extension);

// The trimmed prefix, the ordinal and the trimmed suffix.
QString DecorateOrdinal(const QString& ordinal, const QString& prefix, const QString& suffix);

// Decimal text of number padded with "0" to width; empty when it is wider than width.
QString PadNumber(qint64 number, int width);

// How many of start, start + increment, ... are at most 10^width - 1.
qint64 NumberCapacity(qint64 start, qint64 increment, int width);

// The position of an uppercase string among all strings of its length (A = 0, BA = 26).
qint64 LetterValue(const QString& letters);

// The successor of an uppercase string: A → B, Z → AA, AZ → BA.
QString NextLetters(const QString& letters);

// Reads a whole decimal number (blanks around it allowed); nothing when the text is not one.
std::optional<qint64> ReadNumber(const QString& text);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// The arithmetic of the numbering rule.
#pragma once

#include <QString>
#include <optional>

namespace tamsel {

// The items of the numbering model box, in order.
enum class OrdinalModel { Digits, Upper, Lower };

// Decimal text of number (not negative) padded with "0" to width; empty when it is wider than width.
QString padNumber(qint64 number, int width);
// The same appended to out, without a string of its own; false, and nothing appended, when wider.
bool appendPadded(QString& out, qint64 number, int width);

// How many of start, start + increment, ... are at most 10^width - 1.
qint64 numberCapacity(qint64 start, qint64 increment, int width);

// The position of an uppercase string among all strings of its length (A = 0, BA = 26).
qint64 letterValue(const QString& letters);

// Reads a whole decimal number (blanks around it allowed); nothing when the text is not one.
std::optional<qint64> readNumber(const QString& text);

} // namespace tamsel

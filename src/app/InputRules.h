// SPDX-License-Identifier: GPL-3.0-or-later
// Keystroke rules of the parameter inputs, and the spin step. A typed character is accepted or
// cancelled; Backspace is the character 8.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace tamsel {

enum class OrdinalModel { Digits, Upper, Lower };

inline constexpr QChar Backspace = QChar(8);

// Digits; no "0" into an empty box or over a whole selection.
bool DigitKeyFilter(QChar typed, const QString& text, qsizetype selectedLength);
// Digits; nothing but Backspace once the box begins with "0".
bool OffsetKeyFilter(QChar typed, const QString& text);
// By model: digits as DigitKeyFilter, or the letters of the model's case.
bool StartCharKeyFilter(OrdinalModel model, QChar typed, const QString& text, qsizetype selectedLength);

// The new text after a spin to value (1 lowers, 3 raises, 2 is the rest position), within
// lowerBound and 100; nothing when the text stays as it is.
std::optional<QString> SpinStep(int value, const QString& text, int lowerBound);

// The start values offered for a model.
QStringList startCharItems(OrdinalModel model);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Keystroke rules of the parameter inputs, and the spin step. A typed character is accepted or
// cancelled; Backspace is the character 8.
#pragma once

#include "core/rename/Numbering.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace tamsel {

inline constexpr QChar Backspace = QChar(8);

// Digits; no "0" into an empty box or over a whole selection.
bool digitKeyFilter(QChar typed, const QString& text, qsizetype selectedLength);
// Digits; nothing but Backspace once the box begins with "0".
bool offsetKeyFilter(QChar typed, const QString& text);
// By model: digits as digitKeyFilter, or the letters of the model's case.
bool startCharKeyFilter(OrdinalModel model, QChar typed, const QString& text, qsizetype selectedLength);

// The positions of a scroll bar used as a spin control: it rests in the middle, and a click on an
// arrow moves it one step up or down.
enum class SpinPosition { Lower = 1, Rest = 2, Raise = 3 };

// The new text after a spin to position, within lowerBound and 100; nothing when the text stays as
// it is.
std::optional<QString> spinStep(SpinPosition position, const QString& text, int lowerBound);

// The start values offered for a model.
QStringList startCharItems(OrdinalModel model);

} // namespace tamsel

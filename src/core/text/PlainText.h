// SPDX-License-Identifier: GPL-3.0-or-later
// Blanks and lines of plain text, as the inputs and name lists use them.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringConverter>
#include <QStringView>
#include <optional>

namespace tamsel {

// The text of bytes in the encoding; nothing when they are not valid in it.
std::optional<QString> decodeStrictly(QStringConverter::Encoding encoding, QByteArrayView bytes);

// Blanks are spaces only; tabs and other white space are kept.
QString trimBlanks(QStringView text);
QString leftTrimBlanks(QStringView text);
bool isBlank(QStringView text);

// The lines of text, each ended by LF, CR LF or CR, without their ends; a last line without an
// end counts, an empty one after the last end does not.
QList<QStringView> splitLines(QStringView text);

} // namespace tamsel

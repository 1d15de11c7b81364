// SPDX-License-Identifier: GPL-3.0-or-later
// Text forms of the file list's cells.
#pragma once

#include <QString>
#include <QStringView>

namespace tamsel {

inline const QString NoExtensionMarker = QStringLiteral("无后缀名");

// Main name: the name without its last "." and what follows; the whole name without a dot.
QStringView mainNameOf(QStringView name);
// Extension after the last "."; empty for a name without a dot.
QStringView extensionOf(QStringView name);
// The file type cell: the extension, or NoExtensionMarker for a name without a dot.
QString fileTypeText(QStringView name);

// Length / 1024 as a single-precision value with at most seven significant digits, then " KB ".
QString sizeText(qint64 bytes);

// The locale's short date, a blank and the time of day with seconds; the date alone at midnight.
QString timeText(qint64 msecsSinceEpoch);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// Names garbled on their way from old Windows archives, given back the text they were.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace tamsel {

// What the names were written in: Auto tries GB18030, Big5, Shift_JIS and EUC-KR (as Windows
// wrote them: CP932 and CP949).
enum class SourceEncoding { Auto, Gb18030, Big5, ShiftJis, EucKr };

// The encoding the user's locale writes names in (LC_ALL, LC_CTYPE, LANG): GB18030 for zh_CN,
// Big5 for zh_TW and zh_HK, Shift_JIS for ja, EUC-KR for ko; Auto for any other.
SourceEncoding localeEncoding();

// The repaired name of a file whose name is text (bytes, as on disk): a name that is not UTF-8
// decoded from the encoding; UTF-8 that was read as a one-byte code page or as GB18030 read back
// exactly; East Asian bytes read through the DOS and Windows code pages read back; a decomposed
// name composed. Of several readings the likeliest by the frequencies of its characters, with the
// preferred encoding deciding near ties. Nothing for a sound name; nothing, and undecided set,
// when no reading is clearly likelier than another.
std::optional<QString> repairedName(QStringView text, QByteArrayView bytes, SourceEncoding encoding,
                                    bool* undecided = nullptr, SourceEncoding preferred = localeEncoding());

} // namespace tamsel

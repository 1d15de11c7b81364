// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a text file of new names.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tamsel {

class FileSystem;

inline constexpr qint64 NameFileLimit = 16 * 1024 * 1024;

// Text from a file's bytes: a UTF-8 or UTF-16 byte-order mark is honoured and dropped; otherwise
// valid UTF-8 is UTF-8 and anything else GB18030. Nothing for bytes that are not text (NUL bytes
// outside UTF-16).
std::optional<QString> decodeText(const QByteArray& bytes);

// Why a file was not taken as a name list; the window says it in words.
enum class NameFileRefusal { None, TooLarge, Unreadable, NotText };

struct LoadedNames {
    QString text;                                    // one name a line, each followed by "\n"
    NameFileRefusal refusal = NameFileRefusal::None; // when set, nothing was loaded
};

// The names of the file at path: lines end at LF, CR LF or CR, leading blanks are dropped and
// empty lines left out. A path that names no file gives empty text and no refusal.
LoadedNames loadNameFile(const FileSystem& fs, const QByteArray& path);
// The same for a file's content.
LoadedNames namesFromBytes(const QByteArray& bytes);

} // namespace tamsel

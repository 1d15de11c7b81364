// SPDX-License-Identifier: GPL-3.0-or-later
// What a new name may not be. The file system takes more (a line break, a direction control), but
// such names break scripts and lists, or hide what a name really ends with.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace tamsel {

enum class NameFault : quint8 {
    None,
    Invalid,          // empty, a NUL inside, or text no bytes stand for
    Slash,            // a "/" inside
    Dots,             // "." or ".."
    TooLong,          // more than 255 bytes
    ControlCharacter, // C0, DEL or C1
    DirectionControl, // embeddings, overrides, isolates and marks, in a name of no right-to-left script
};

// The first fault of a new name, as bytes.
NameFault newNameFault(QByteArrayView name);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// What core cannot do itself for Chinese names: scripts by phrase and readings by word, which need
// a library and a dictionary of their own (src/convert).
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace tamsel {

enum class Script {
    TraditionalToSimplified,
    SimplifiedToTraditional,
    SimplifiedToTaiwan,
    SimplifiedToHongKong
};

class ChineseText {
public:
    virtual ~ChineseText() = default;
    // text (valid UTF-16, no NUL) in the other script, phrase by phrase; false when the library
    // cannot convert.
    virtual bool convertScript(Script script, QStringView text, QString& out) const = 0;
    // The words of a run of Han characters with their readings: one string a word, its toneless
    // syllables separated by blanks ("chong qing"); a character without a reading is a word of its
    // own, given as it is.
    virtual void readWords(QStringView han, std::vector<QString>& words) const = 0;
};

} // namespace tamsel

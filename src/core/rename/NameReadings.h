// SPDX-License-Identifier: GPL-3.0-or-later
// How a reading of a garbled name looks: whether it reads as a name at all, and how likely its
// characters are in each East Asian language. The name repair weighs its readings with these.
#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <cstddef>

namespace tamsel::readings {

// Languages by number, in the order the repair tries encodings: Simplified Chinese, Traditional
// Chinese, Japanese, Korean.

bool isAscii(QStringView text);
// Han, kana or Hangul.
bool isCjk(char32_t c);
bool hasCjk(QStringView text);
// Any East Asian character, or a surrogate.
bool hasEastAsian(QStringView text);

// Whether text reads as a name: no control, private or unassigned characters, no symbols, the
// letters of one family (ASCII letters go with any, but not beside Cyrillic, Greek or Armenian) in
// the scripts of names, marks only on letters. An exact round trip of UTF-8 may hold punctuation,
// spaces and the signs before the arrows (» « ± € ™), never box drawing.
bool isPlausible(QStringView text, bool roundTrip = false);

// What a character of a reading in the language costs (a negative log-likelihood); listed is
// cleared when it is not common there.
double characterCost(size_t language, char32_t c, bool* listed);
// Whether every East Asian letter of the text is common in one of the languages.
bool commonInSomeLanguage(QStringView text);

// Text with a word of accented Latin or only ASCII letters, and no signs.
bool inLatinWords(QStringView text);
// Text whose letters beyond ASCII are all of one alphabet other than Latin, in words of sound case.
bool inOtherAlphabet(QStringView text);
// Whether every word with letters beyond ASCII is a lone letter, as UTF-8 bytes of a Chinese
// character or two read.
bool onlyLoneLetters(QStringView text);
// Whether every character of the bytes in the language's encoding is in its common rows.
bool inCommonRows(QByteArrayView bytes, size_t encoding);
// The length of a name without its extension (a dot and up to five ASCII letters or digits).
qsizetype stemLength(QStringView text);

} // namespace tamsel::readings

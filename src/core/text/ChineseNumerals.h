// SPDX-License-Identifier: GPL-3.0-or-later
// Chinese numerals in names: where a run of them is a number, and its value.
#pragma once

#include <QByteArray>
#include <QStringView>

namespace tamsel {

using BigNumber = unsigned __int128;

bool isChineseNumeral(char16_t c);

// The length of the run of Chinese numerals at start (0 where there is none).
qsizetype chineseNumeralRun(QStringView text, qsizetype start);

// Whether the run [start, start + length) of text counts as a number: after 第, before a counter
// word (集, 章, 年 …), or standing between characters that are not Han (or the ends); a run of
// units alone (百, 千万) never does, and financial forms (伍, 陆, 佰) only after 第 or before a
// counter, as they are common in names. Elsewhere the run is a word: 三国演义, 陆丹, 一千零一夜.
bool chineseNumeralIsNumber(QStringView text, qsizetype start, qsizetype length);

// The value of a run of Chinese numerals: positional (二〇二四) or with units (一百零五, 十二,
// 三万五千); beyond 2^128 it stays at the largest value.
BigNumber chineseNumeralValue(QStringView run);

// The value in decimal digits, without leading zeros.
QByteArray decimalDigits(BigNumber value);

} // namespace tamsel

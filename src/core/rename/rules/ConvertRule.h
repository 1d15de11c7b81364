// SPDX-License-Identifier: GPL-3.0-or-later
// Chinese conversions of names: script, pinyin, numerals to digits, full width to half width.
#pragma once

#include "core/rename/rules/Rule.h"
#include "core/text/ChineseText.h"

#include <QHash>
#include <mutex>

namespace tamsel {

enum class PinyinStyle {
    Joined,      // chongqingyinhang
    Spaced,      // chongqing yinhang
    Capitalized, // ChongqingYinhang
    Initials,    // cqyh
};

struct ConvertInputs {
    enum class Kind { Script, Pinyin, Numerals, FullWidth } kind = Kind::FullWidth;
    Script script = Script::TraditionalToSimplified;
    PinyinStyle pinyin = PinyinStyle::Joined;
    int numeralWidth = 0; // digits a number is padded to with zeros; 0 for none
};

// A row the conversion leaves as it was gets no name. The main name is converted; for full width,
// the extension too. Bytes of a name that are not UTF-8 stay where they are.
class ConvertRule final : public Rule {
public:
    // text: the library for scripts and pinyin; not needed for the others.
    ConvertRule(const ConvertInputs& inputs, const ChineseText* text);
    RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const override;

private:
    void convertMain(QStringView main, QString& out) const;
    // The run of Han characters in the other script: a list's names share their words, and the
    // library takes microseconds a call.
    void convertRun(QStringView han, QString& out) const;

    ConvertInputs m_inputs;
    const ChineseText* m_text;
    mutable std::mutex m_runsLock;
    mutable QHash<QString, QString> m_runs;
};

// The most digits a number in main would have as converted: for the width 自动 pads to.
int widestChineseNumber(QStringView main);

// Full-width forms (U+FF01 to U+FF5E, the ideographic space) as their ASCII twins; the full-width
// solidus stays, as no file name can hold "/".
QString halfWidth(QStringView text);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/ConvertRule.h"

#include "core/text/ChineseNumerals.h"

namespace tamsel {
namespace {

// Calls number(start, length) for every run of Chinese numerals that counts as a number.
template <typename F> void forEachNumber(QStringView text, F number)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype run = chineseNumeralRun(text, i);
        if (run > 0 && chineseNumeralIsNumber(text, i, run))
            number(i, run);
        i += std::max<qsizetype>(run, 1);
    }
}

bool isEscape(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    return (c.isLowSurrogate() && !(i > 0 && text[i - 1].isHighSurrogate())) ||
           (c.isHighSurrogate() && !(i + 1 < text.size() && text[i + 1].isLowSurrogate()));
}

// Below the first CJK radical nothing is Han.
constexpr char16_t FirstHan = 0x2E80;

bool isHanAt(QStringView text, qsizetype i, qsizetype* units)
{
    char32_t c = text[i].unicode();
    *units = 1;
    if (c < FirstHan)
        return false;
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        c = QChar::surrogateToUcs4(text[i], text[i + 1]);
        *units = 2;
    }
    return QChar::script(c) == QChar::Script_Han;
}

bool isLetterOrDigit(QChar c)
{
    return c.isLetterOrNumber() && QChar::script(c.unicode()) != QChar::Script_Han;
}

// One word's pinyin in the style: its syllables are separated by blanks.
void appendWord(QStringView word, PinyinStyle style, QString& out)
{
    bool wordStart = true;
    for (const QStringView syllable : word.split(u' ', Qt::SkipEmptyParts)) {
        const bool reading = syllable[0].unicode() < 0x80;
        if (!reading || style == PinyinStyle::Joined || style == PinyinStyle::Spaced)
            out += syllable;
        else if (style == PinyinStyle::Initials)
            out += syllable[0];
        else if (wordStart)
            out += syllable[0].toUpper() + syllable.mid(1);
        else
            out += syllable;
        wordStart = false;
    }
}

} // namespace

ConvertRule::ConvertRule(const ConvertInputs& inputs, const ChineseText* text)
    : m_inputs(inputs), m_text(text)
{
}

void ConvertRule::convertMain(QStringView main, QString& out) const
{
    switch (m_inputs.kind) {
    case ConvertInputs::Kind::FullWidth:
        out += halfWidth(main);
        return;
    case ConvertInputs::Kind::Numerals: {
        qsizetype copied = 0;
        forEachNumber(main, [&](qsizetype start, qsizetype length) {
            out += main.mid(copied, start - copied);
            const QString digits =
                QString::fromLatin1(decimalDigits(chineseNumeralValue(main.mid(start, length))));
            if (digits.size() < m_inputs.numeralWidth)
                out += QString(m_inputs.numeralWidth - digits.size(), u'0');
            out += digits;
            copied = start + length;
        });
        out += main.mid(copied);
        return;
    }
    case ConvertInputs::Kind::Script:
    case ConvertInputs::Kind::Pinyin:
        break;
    }
    // The runs of Han characters are converted; whatever stands between them stays as it is.
    std::vector<QString> words;
    for (qsizetype i = 0; i < main.size();) {
        qsizetype units = 1;
        if (!m_text || isEscape(main, i) || !isHanAt(main, i, &units)) {
            out += main.mid(i, units);
            i += units;
            continue;
        }
        qsizetype end = i + units;
        while (end < main.size() && !isEscape(main, end) && isHanAt(main, end, &units))
            end += units;
        if (m_inputs.kind == ConvertInputs::Kind::Script) {
            convertRun(main.mid(i, end - i), out);
            i = end;
            continue;
        }
        words.clear();
        m_text->readWords(main.mid(i, end - i), words);
        const bool spaced = m_inputs.pinyin == PinyinStyle::Spaced;
        if (spaced && !out.isEmpty() && isLetterOrDigit(out.back()))
            out += u' ';
        for (size_t w = 0; w < words.size(); ++w) {
            if (spaced && w > 0)
                out += u' ';
            appendWord(words[w], m_inputs.pinyin, out);
        }
        if (spaced && end < main.size() && isLetterOrDigit(main[end]))
            out += u' ';
        i = end;
    }
}

void ConvertRule::convertRun(QStringView han, QString& out) const
{
    const QString key = han.toString();
    {
        const std::lock_guard lock(m_runsLock);
        if (const auto it = m_runs.constFind(key); it != m_runs.constEnd()) {
            out += *it;
            return;
        }
    }
    QString converted;
    if (!m_text->convertScript(m_inputs.script, han, converted))
        converted = key;
    out += converted;
    const std::lock_guard lock(m_runsLock);
    if (m_runs.size() >= 1 << 16) // a bound on memory; a list's own words come back soon enough
        m_runs.clear();
    m_runs.insert(key, converted);
}

RowOutcome ConvertRule::step(const RowName& row, const RulePlan&, QString& out) const
{
    // Scripts and readings change Han characters only: most names of a list have none.
    const bool han =
        m_inputs.kind == ConvertInputs::Kind::Script || m_inputs.kind == ConvertInputs::Kind::Pinyin;
    if (han &&
        std::none_of(row.main.begin(), row.main.end(), [](QChar c) { return c.unicode() >= FirstHan; }))
        return {};
    convertMain(row.main, out);
    if (m_inputs.kind == ConvertInputs::Kind::FullWidth)
        out += halfWidth(row.extension);
    else
        out += row.extension;
    if (out.size() == row.main.size() + row.extension.size() && QStringView(out).startsWith(row.main) &&
        QStringView(out).endsWith(row.extension)) {
        out.clear();
        return {};
    }
    return {true, false};
}

int widestChineseNumber(QStringView main)
{
    int widest = 0;
    forEachNumber(main, [&](qsizetype start, qsizetype length) {
        widest = std::max(widest, int(decimalDigits(chineseNumeralValue(main.mid(start, length))).size()));
    });
    return widest;
}

QString halfWidth(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out) {
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E && c.unicode() != 0xFF0F)
            c = QChar(c.unicode() - 0xFEE0);
        else if (c.unicode() == 0x3000)
            c = QChar(u' ');
    }
    return out;
}

} // namespace tamsel

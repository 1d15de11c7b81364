// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/NameReadings.h"

#include <QList>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

namespace tamsel::readings {
namespace {

#include "core/rename/repairdata/Frequencies.inc"

// The languages whose frequencies judge the readings, in the order of the encodings.
constexpr std::array<std::u16string_view, 4> Frequent = {FrequentSimplified, FrequentTraditional,
                                                         FrequentJapanese, FrequentKorean};

// Costs are negative log-likelihoods in nats. A character of a reading that is not among its
// language's common ones costs Unlisted; kana are about as likely as a frequent kanji.
constexpr double AsciiCost = 4.0;
constexpr double KanaCost = 5.5;
constexpr double PunctuationCost = 6.0;
constexpr double Unlisted = 12.0;

} // namespace

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

namespace {

bool isHan(char32_t c)
{
    return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}
bool isKana(char32_t c)
{
    return (c >= 0x3041 && c <= 0x3096) || (c >= 0x309D && c <= 0x309E) || (c >= 0x30A1 && c <= 0x30FA) ||
           (c >= 0x30FC && c <= 0x30FE);
}
bool isHangul(char32_t c)
{
    return c >= 0xAC00 && c <= 0xD7A3;
}
} // namespace

bool isCjk(char32_t c)
{
    return isHan(c) || isKana(c) || isHangul(c);
}

namespace {

bool isEastAsian(char32_t c)
{
    return (c >= 0x2E80 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

// The punctuation of East Asian names: ideographic space, comma and full stop, brackets, the wave
// dash, the middle dot, and the full-width ! ( ) , : ; ?. Not the full-width letters or the
// half-width forms, which a reading of garbage is full of.
bool isEastAsianPunctuation(char32_t c)
{
    return (c >= 0x3000 && c <= 0x3003) || (c >= 0x3008 && c <= 0x3011) || c == 0x301C || c == 0x30FB ||
           c == 0xFF01 || c == 0xFF08 || c == 0xFF09 || c == 0xFF0C || c == 0xFF1A || c == 0xFF1B ||
           c == 0xFF1F;
}
bool isCommonPunctuation(char32_t c)
{
    return isEastAsianPunctuation(c) || (c >= 0x2010 && c <= 0x2027) || c == 0x00B7;
}

// The scripts names are written in; a reading in any other (Samaritan, Sundanese, …) is garbage.
bool isNameScript(QChar::Script script)
{
    switch (script) {
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Armenian:
    case QChar::Script_Hebrew:
    case QChar::Script_Arabic:
    case QChar::Script_Devanagari:
    case QChar::Script_Bengali:
    case QChar::Script_Gurmukhi:
    case QChar::Script_Gujarati:
    case QChar::Script_Tamil:
    case QChar::Script_Telugu:
    case QChar::Script_Kannada:
    case QChar::Script_Malayalam:
    case QChar::Script_Thai:
    case QChar::Script_Lao:
    case QChar::Script_Georgian:
    case QChar::Script_Khmer:
    case QChar::Script_Oriya:
    case QChar::Script_Sinhala:
    case QChar::Script_Myanmar:
    case QChar::Script_Ethiopic:
    case QChar::Script_Tibetan:
    case QChar::Script_Thaana:
    case QChar::Script_Syriac:
    case QChar::Script_Mongolian:
    case QChar::Script_Tifinagh:
    case QChar::Script_Nko:
    case QChar::Script_OlChiki:
    case QChar::Script_Cherokee:
    case QChar::Script_CanadianAboriginal:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
        return true;
    default:
        return false;
    }
}

// Script families a name is written in: the scripts of East Asian names mix, others stand alone.
enum Family : unsigned { Chinese = 1, Japanese = 2, Korean = 4, Single = 8 };

} // namespace

// Whether text reads as a name: no control, private or unassigned characters, no symbols, the
// letters of one family (ASCII letters go with any, but not beside Cyrillic, Greek or Armenian) in
// the scripts of names, marks only on letters. An exact round trip of UTF-8 may hold punctuation,
// spaces and the signs before the arrows (» « ± € ™), never box drawing.
bool isPlausible(QStringView text, bool roundTrip)
{
    unsigned families = Chinese | Japanese | Korean | Single;
    int single = -1; // the one script of a Single family
    bool afterLetter = false;
    QChar::Script letterScript = QChar::Script_Common;
    const auto ucs4 = text.toUcs4();
    const auto asciiLetter = [&](qsizetype i) {
        return i >= 0 && i < ucs4.size() && ucs4[i] < 0x80 && QChar::isLetter(ucs4[i]);
    };
    for (qsizetype i = 0; i < ucs4.size(); ++i) {
        const char32_t c = ucs4[i];
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xFFFD || (c >= 0xE000 && c <= 0xF8FF))
            return false;
        const bool letter = QChar::isLetter(c);
        const bool wasAfterLetter = std::exchange(afterLetter, letter);
        if (c < 0x80 || isCommonPunctuation(c) || c == 0x30FC)
            continue;
        const QChar::Category category = QChar::category(c);
        if (roundTrip && c < 0x2190 &&
            (category == QChar::Separator_Space || category == QChar::Number_Other ||
             (category >= QChar::Punctuation_Connector && category <= QChar::Symbol_Other)))
            continue;
        if (category == QChar::Number_DecimalDigit)
            continue;
        if (!letter) {
            // Marks go with the letter before them, of its script, outside East Asia; symbols and
            // the rest never.
            const QChar::Script markScript = QChar::script(c);
            if (category <= QChar::Mark_Enclosing && wasAfterLetter && !isEastAsian(c) &&
                (markScript <= QChar::Script_Common || markScript == letterScript)) {
                afterLetter = true;
                continue;
            }
            return false;
        }
        const QChar::Script script = QChar::script(c);
        if (script == QChar::Script_Common && !isEastAsian(c))
            continue; // modifier letters of any script: ʼ ª
        if (!isNameScript(script) || (isEastAsian(c) && !isCjk(c)))
            return false;
        letterScript = script;
        if (script == QChar::Script_Han)
            families &= Chinese | Japanese | Korean;
        else if (script == QChar::Script_Hiragana || script == QChar::Script_Katakana)
            families &= Japanese;
        else if (script == QChar::Script_Hangul)
            families &= Korean;
        else {
            families &= Single;
            if ((single >= 0 && single != int(script)) ||
                ((script == QChar::Script_Cyrillic || script == QChar::Script_Greek ||
                  script == QChar::Script_Armenian) &&
                 (asciiLetter(i - 1) || asciiLetter(i + 1))))
                return false;
            single = int(script);
        }
        if (families == 0)
            return false;
    }
    return true;
}

namespace {

// The rank of each common character in each language, 1 for the most frequent; 0 for the rest.
class Ranks {
public:
    Ranks()
    {
        for (size_t l = 0; l < Frequent.size(); ++l) {
            m_rank[l].assign(0x10000, 0);
            quint16 rank = 0;
            for (const char16_t c : Frequent[l])
                m_rank[l][c] = ++rank;
        }
    }
    int rank(size_t language, char32_t c) const { return c < 0x10000 ? m_rank[language][c] : 0; }
    // Of a character of a reading in the language: what it costs, and whether it is common there.
    double cost(size_t language, char32_t c, bool* listed) const
    {
        if (c < 0x80)
            return AsciiCost;
        if (isEastAsianPunctuation(c))
            return PunctuationCost;
        if (isKana(c) && language == 2)
            return KanaCost;
        if (isHan(c) || isHangul(c)) {
            if (const int r = rank(language, c))
                return std::log(r + 10.0);
        }
        *listed = false;
        return Unlisted;
    }
    // Whether every East Asian letter of the text is common in one of the languages.
    bool common(QStringView text) const
    {
        for (const char32_t c : text.toUcs4()) {
            if ((isHan(c) || isHangul(c)) && std::none_of(m_rank.begin(), m_rank.end(),
                                                          [c](const auto& r) { return c < 0x10000 && r[c]; }))
                return false;
        }
        return true;
    }

private:
    std::array<std::vector<quint16>, Frequent.size()> m_rank;
};

const Ranks& ranks()
{
    static const Ranks table;
    return table;
}

} // namespace

double characterCost(size_t language, char32_t c, bool* listed)
{
    return ranks().cost(language, c, listed);
}

bool commonInSomeLanguage(QStringView text)
{
    return ranks().common(text);
}

bool hasCjk(QStringView text)
{
    const auto ucs4 = text.toUcs4();
    return std::any_of(ucs4.begin(), ucs4.end(), isCjk);
}
bool hasEastAsian(QStringView text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return isEastAsian(c.unicode()) || c.isSurrogate(); });
}

namespace {

// Spaces, quotes, dashes and Latin-1 punctuation (¡ ¿ « »): what stands between the words of sound
// text beside ASCII.
bool isBetweenWords(QChar c)
{
    return c.unicode() < 0x80 || (c.unicode() >= 0x2010 && c.unicode() <= 0x2027) ||
           c.category() == QChar::Separator_Space ||
           (c.unicode() < 0x100 && c.category() >= QChar::Punctuation_Connector &&
            c.category() <= QChar::Punctuation_Other);
}

// Calls word(first, end) for each run of letters and marks that has a letter beyond ASCII; false
// when the text holds a sign beyond ASCII other than spaces, quotes and dashes.
template <typename F> bool eachWideWord(QStringView text, F&& word)
{
    qsizetype first = 0;
    bool wide = false;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && (text[i].isLetter() || text[i].isMark())) {
            wide = wide || text[i].unicode() >= 0x80;
            continue;
        }
        if (wide)
            word(first, i);
        if (i < text.size() && !isBetweenWords(text[i]))
            return false;
        first = i + 1;
        wide = false;
    }
    return true;
}

} // namespace

// Text with a word of accented Latin (Ärger, Çöp, posíbel; ASCII letters and others in one word,
// never three beyond ASCII in a row) or only ASCII letters, and no signs (l’usage, ––Name––).
// East Asian bytes seldom read as that.
bool inLatinWords(QStringView text)
{
    bool latin = false, wide = false;
    const bool signless = eachWideWord(text, [&](qsizetype first, qsizetype end) {
        bool ascii = false;
        int run = 0, longest = 0;
        for (qsizetype i = first; i < end; ++i) {
            ascii = ascii || text[i].unicode() < 0x80;
            run = text[i].unicode() < 0x80 ? 0 : run + 1;
            longest = std::max(longest, run);
        }
        latin = latin || (ascii && longest < 3);
        wide = true;
    });
    return signless && (latin || !wide);
}

// Text whose letters beyond ASCII are all of one alphabet other than Latin, in words of lower case,
// upper case or capitalised parts, without signs (фон, Москва, ИдПр): sound, and not what DOS
// Cyrillic makes of UTF-8 (ф╕н, цЦЗ).
bool inOtherAlphabet(QStringView text)
{
    int script = -1;
    bool one = true;
    const bool signless = eachWideWord(text, [&](qsizetype first, qsizetype end) {
        const auto upper =
            std::count_if(text.begin() + first, text.begin() + end, [](QChar c) { return c.isUpper(); });
        const auto letters =
            std::count_if(text.begin() + first, text.begin() + end, [](QChar c) { return c.isLetter(); });
        if (upper > 0 && upper < letters) {
            bool lowerFirst = text[first].isLower(), twoUpper = false;
            for (qsizetype i = first + 1; i < end; ++i)
                twoUpper = twoUpper || (text[i].isUpper() && text[i - 1].isUpper());
            one = one && !lowerFirst && !twoUpper;
        }
        for (qsizetype i = first; i < end; ++i) {
            if (text[i].unicode() < 0x80 || !text[i].isLetter())
                continue;
            one = one && text[i].script() != QChar::Script_Latin &&
                  (script < 0 || script == int(text[i].script()));
            script = int(text[i].script());
        }
    });
    return signless && one && script >= 0;
}

// Whether every word with letters beyond ASCII is a lone letter (modifier letters aside), Latin
// without ASCII letters, without a vowel or with a capital after a small letter (ë, ǹǫ, лл, йЫ):
// what a Chinese character or two becomes when its bytes happen to be UTF-8; rarely words. So is
// text without such words.
bool onlyLoneLetters(QStringView text)
{
    static const QString vowels = QStringLiteral("aeiouyаеёиоуыэюяіїєαεηιουω");
    bool lone = true;
    qsizetype i = 0;
    while (i < text.size()) {
        if (!text[i].isLetter() || text[i].unicode() < 0x80) {
            ++i;
            continue;
        }
        qsizetype first = i;
        while (first > 0 && text[first - 1].isLetter())
            --first;
        qsizetype end = i;
        bool vowel = false, vowelScript = false, ascii = false, latin = true, camel = false;
        int letters = 0;
        for (; end < text.size() && (text[end].isLetter() || text[end].isMark()); ++end) {
            ascii = ascii || text[end].unicode() < 0x80;
            letters += text[end].isLetter() && text[end].script() != QChar::Script_Common;
            const QString base = text[end].decomposition();
            vowel = vowel || vowels.contains((base.isEmpty() ? text[end] : base[0]).toLower());
            const QChar::Script script = text[end].script();
            vowelScript = vowelScript || script == QChar::Script_Latin || script == QChar::Script_Cyrillic ||
                          script == QChar::Script_Greek;
            latin = latin && (script == QChar::Script_Latin || script == QChar::Script_Common ||
                              !text[end].isLetter());
            camel = camel || (end > i && text[end].isUpper() && text[end - 1].isLower());
        }
        lone = lone && first == i && !ascii && (letters <= 1 || latin || camel || (vowelScript && !vowel));
        i = end;
    }
    return lone;
}

// Whether every character of the bytes in the encoding is in its rows of frequent characters or of
// punctuation (GB2312's first level, Big5's frequent characters, kana and JIS's first level,
// KS X 1001's Hangul), and, in a name of fewer than three, one at least has a second byte beyond
// ASCII; and not every one is a byte twice (ÖÖ, ══, ÅÅ). Accented Latin words read as East Asian
// text land in the rare rows (Korçë, Öörd), or pair an accent with the ASCII letter beside it
// (DVD±R, Ra’s).
bool inCommonRows(QByteArrayView bytes, size_t encoding)
{
    bool highTrail = false, allDoubled = true;
    int characters = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int lead = uchar(bytes[i]);
        if (lead < 0x80)
            continue;
        if (i + 1 >= bytes.size() || (encoding == 2 && lead >= 0xA1 && lead <= 0xDF))
            return false;
        ++characters;
        const int trail = uchar(bytes[++i]);
        highTrail = highTrail || trail >= 0x80;
        allDoubled = allDoubled && trail == lead;
        bool common = false;
        switch (encoding) {
        case 0: // GB18030; a four-byte sequence is never common
            common = ((lead >= 0xB0 && lead <= 0xD7) || (lead >= 0xA1 && lead <= 0xA3)) && trail >= 0xA1;
            break;
        case 1: // Big5
            common = lead >= 0xA1 && lead <= 0xC6 && lead != 0xA3;
            break;
        case 2: // CP932
            common = lead == 0x81 || lead == 0x82 || lead == 0x83 || (lead >= 0x88 && lead <= 0x98);
            break;
        default: // CP949
            common = ((lead >= 0xB0 && lead <= 0xC8) || lead == 0xA1 || lead == 0xA3) && trail >= 0xA1;
            break;
        }
        if (!common)
            return false;
    }
    return (highTrail || characters >= 3) && !allDoubled;
}

// The length of a name without its extension (a dot and up to five ASCII letters or digits).
qsizetype stemLength(QStringView text)
{
    const qsizetype dot = text.lastIndexOf(u'.');
    if (dot <= 0 || text.size() - dot > 6 || !std::all_of(text.begin() + dot + 1, text.end(), [](QChar c) {
            return c.unicode() < 0x80 && c.isLetterOrNumber();
        }))
        return text.size();
    return dot;
}

} // namespace tamsel::readings

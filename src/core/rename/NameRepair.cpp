// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/NameRepair.h"

#include "core/filelist/FileList.h"
#include "core/text/Iconv.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace tamsel {
namespace {

#include "core/rename/repairdata/Frequencies.inc"

// In the order of SourceEncoding after Auto; each with the language whose frequencies judge it.
constexpr std::array<const char*, 4> Encodings = {"GB18030", "BIG5", "CP932", "CP949"};
constexpr std::array<std::u16string_view, 4> Frequent = {FrequentSimplified, FrequentTraditional,
                                                         FrequentJapanese, FrequentKorean};
// The one-byte code pages an archive tool may have read a name's bytes as, likeliest first.
constexpr std::array<const char*, 5> OneBytePages = {"CP1252", "ISO-8859-1", "CP437", "CP850", "CP866"};
constexpr size_t Cp866 = 4;

// Costs are negative log-likelihoods in nats. A character of a reading that is not among its
// language's common ones costs Unlisted; kana are about as likely as a frequent kanji.
constexpr double AsciiCost = 4.0;
constexpr double KanaCost = 5.5;
constexpr double PunctuationCost = 6.0;
constexpr double Unlisted = 12.0;
// Two readings closer than this are a tie: the preferred encoding or nobody decides.
constexpr double Tie = 1.5;

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

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
bool isCjk(char32_t c)
{
    return isHan(c) || isKana(c) || isHangul(c);
}

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

// Whether text reads as a name: no control, private or unassigned characters, no symbols, the
// letters of one family (ASCII letters go with any, but not beside Cyrillic, Greek or Armenian) in
// the scripts of names, marks only on letters. An exact round trip of UTF-8 may hold punctuation,
// spaces and the signs before the arrows (» « ± € ™), never box drawing.
bool isPlausible(QStringView text, bool roundTrip = false)
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

struct Reading {
    QString text;
    size_t encoding;
    double cost;
    bool listed; // every East Asian letter common in the encoding's language
};

class Repairer {
public:
    Repairer(SourceEncoding encoding, SourceEncoding preferred) : m_encoding(encoding), m_preferred(preferred)
    {
        for (size_t e = 0; e < Encodings.size(); ++e)
            m_decode[e] = std::make_unique<Iconv>("UTF-8", Encodings[e]);
        m_gb18030 = std::make_unique<Iconv>("GB18030", "UTF-8");
        for (size_t p = 0; p < OneBytePages.size(); ++p)
            m_pages[p] = std::make_unique<Iconv>(OneBytePages[p], "UTF-8");
    }

    std::optional<QString> repair(QStringView text, QByteArrayView bytes, bool* undecided)
    {
        bool unsure = false;
        std::optional<QString> repaired;
        if (hasEscapes(text))
            repaired = choose(legacyReadings(bytes, true), &unsure);
        else if (!isAscii(text))
            repaired = fromText(text, &unsure);
        if (undecided)
            *undecided = unsure && !repaired;
        // macOS writes names decomposed (e + U+0301, Hangul as jamo); nothing else composes them.
        if (repaired)
            return repaired->normalized(QString::NormalizationForm_C);
        if (!hasEscapes(text)) {
            QString composed = text.toString().normalized(QString::NormalizationForm_C);
            if (composed != text)
                return composed;
        }
        return std::nullopt;
    }

private:
    std::optional<QString> fromText(QStringView text, bool* unsure)
    {
        const QByteArray utf8 = text.toUtf8();
        // UTF-8 read as a one-byte code page, or as GB18030: written back, it is UTF-8 again. Sound
        // Chinese (谢谢 is UTF-8 in GB18030) and sound Cyrillic (фон in DOS 866) stay.
        std::optional<QString> again;
        const bool otherAlphabet = inOtherAlphabet(text);
        if (!hasEastAsian(text)) {
            for (size_t p = 0; p < OneBytePages.size() && !again; ++p) {
                if (p != Cp866 || !otherAlphabet)
                    again = utf8Again(m_pages[p]->convert(utf8), text);
            }
        } else if (!ranks().common(text)) {
            // A rare character or two whose bytes are UTF-8 is no word: 脽 is "ß".
            again = utf8Again(m_gb18030->convert(utf8), text);
            if (again && (!isPlausible(*again) || onlyLoneLetters(*again) ||
                          std::none_of(again->begin(), again->end(),
                                       [](QChar c) { return c.unicode() >= 0x80 && c.isLetter(); })))
                again.reset();
        }
        // East Asian bytes read through a DOS or Windows page: the first page that takes the text
        // back to bytes an encoding reads gives its reading (Windows before DOS), which counts if
        // its letters are common.
        std::vector<Reading> readings;
        std::array<bool, Encodings.size()> read{};
        const bool asciiWords = std::any_of(text.begin(), text.begin() + stemLength(text),
                                            [](QChar c) { return c.unicode() < 0x80 && c.isLetter(); });
        bool rival = false; // a reading, of common characters or not
        if (!inLatinWords(text)) {
            // One character is rather an accent of ASCII words (Öý Haltasy, Swap i and ─▒), or a
            // word of two accented letters (Öý).
            const bool oneIsEnough = !asciiWords && std::any_of(text.begin(), text.end(), [](QChar c) {
                return c.unicode() >= 0x80 && !c.isLetter();
            });
            for (size_t p = 0; p < OneBytePages.size(); ++p) {
                if (p == Cp866 && otherAlphabet)
                    continue;
                if (const auto paged = m_pages[p]->convert(utf8)) {
                    for (Reading& r : legacyReadings(*paged, false)) {
                        const auto ucs4 = r.text.toUcs4();
                        if (std::exchange(read[r.encoding], true) ||
                            (!oneIsEnough && std::count_if(ucs4.begin(), ucs4.end(), isCjk) < 2))
                            continue;
                        rival = true;
                        if (r.listed)
                            readings.push_back(std::move(r));
                    }
                }
            }
        }
        // An exact round trip wins, unless all it gives is lone letters and signs (with one
        // punctuation mark at most, where «» are two) without ASCII words and East Asian bytes read
        // as it too, which are likelier (毛 is C3 AB, "ë").
        if (again && (!rival || asciiWords || hasCjk(*again) || !onlyLoneLetters(*again) ||
                      std::count_if(again->begin(), again->end(),
                                    [](QChar c) { return c.unicode() >= 0x80 && c.isPunct(); }) > 1))
            return again;
        if (auto read = choose(std::move(readings), unsure))
            return read;
        *unsure = *unsure || again;
        return std::nullopt;
    }

    std::optional<QString> utf8Again(const std::optional<QByteArray>& bytes, QStringView text) const
    {
        if (!bytes || isAscii(QString::fromLatin1(*bytes)))
            return std::nullopt;
        auto again = decodeStrictly(QStringConverter::Utf8, *bytes);
        if (!again || *again == text || !isPlausible(*again, true) || !ranks().common(*again))
            return std::nullopt;
        return again;
    }

    // The plausible readings of bytes in the encodings tried, with what each costs. A reading of
    // text that is UTF-8 must hold East Asian letters in the encoding's common rows.
    std::vector<Reading> legacyReadings(QByteArrayView bytes, bool notUtf8)
    {
        std::vector<Reading> readings;
        for (size_t e = 0; e < Encodings.size(); ++e) {
            if (m_encoding != SourceEncoding::Auto && size_t(m_encoding) - 1 != e)
                continue;
            const auto utf8 = m_decode[e]->convert(bytes);
            if (!utf8)
                continue;
            QString text = QString::fromUtf8(*utf8);
            if (!isPlausible(text) || (!notUtf8 && (!hasCjk(text) || !inCommonRows(bytes, e))))
                continue;
            bool listed = true;
            double cost = 0;
            for (const char32_t c : text.toUcs4())
                cost += ranks().cost(e, c, &listed);
            readings.push_back({std::move(text), e, cost, listed});
        }
        return readings;
    }

    // The likeliest reading; among readings within a tie of it, the preferred encoding's, or none.
    std::optional<QString> choose(std::vector<Reading> readings, bool* unsure) const
    {
        if (readings.empty())
            return std::nullopt;
        std::sort(readings.begin(), readings.end(),
                  [](const Reading& a, const Reading& b) { return a.cost < b.cost; });
        const Reading& best = readings.front();
        std::vector<const Reading*> tied;
        for (const Reading& r : readings) {
            if (r.cost - best.cost < Tie && r.text != best.text)
                tied.push_back(&r);
        }
        if (tied.empty())
            return best.text;
        if (m_preferred != SourceEncoding::Auto) {
            const size_t preferred = size_t(m_preferred) - 1;
            tied.push_back(&best);
            std::erase_if(tied, [&](const Reading* r) { return r->encoding != preferred; });
            if (!tied.empty() && std::all_of(tied.begin(), tied.end(),
                                             [&](const Reading* r) { return r->text == tied.front()->text; }))
                return tied.front()->text;
        }
        *unsure = true;
        return std::nullopt;
    }

    SourceEncoding m_encoding;
    SourceEncoding m_preferred;
    std::array<std::unique_ptr<Iconv>, Encodings.size()> m_decode;
    std::unique_ptr<Iconv> m_gb18030;
    std::array<std::unique_ptr<Iconv>, OneBytePages.size()> m_pages;
};

} // namespace

SourceEncoding localeEncoding()
{
    static const SourceEncoding encoding = [] {
        QByteArray locale;
        for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            locale = qgetenv(name);
            if (!locale.isEmpty())
                break;
        }
        if (locale.startsWith("zh_TW") || locale.startsWith("zh_HK") || locale.startsWith("zh_MO"))
            return SourceEncoding::Big5;
        if (locale.startsWith("zh"))
            return SourceEncoding::Gb18030;
        if (locale.startsWith("ja"))
            return SourceEncoding::ShiftJis;
        if (locale.startsWith("ko"))
            return SourceEncoding::EucKr;
        return SourceEncoding::Auto;
    }();
    return encoding;
}

std::optional<QString> repairedName(QStringView text, QByteArrayView bytes, SourceEncoding encoding,
                                    bool* undecided, SourceEncoding preferred)
{
    // Opening the conversions costs milliseconds: each thread keeps its repairers.
    thread_local std::array<std::unique_ptr<Repairer>, 25> repairers;
    auto& repairer = repairers[size_t(encoding) * 5 + size_t(preferred)];
    if (!repairer)
        repairer = std::make_unique<Repairer>(encoding, preferred);
    return repairer->repair(text, bytes, undecided);
}

RepairCount repairPreview(FileList& list, SourceEncoding encoding,
                          const std::function<void(int row)>& progress, SourceEncoding preferred)
{
    Repairer repairer(encoding, preferred);
    RepairCount count;
    FileList::Batch batch(list);
    for (int r = 0; r < list.fileCount(); ++r) {
        if (progress)
            progress(r);
        const QStringView name = list.name(r);
        bool undecided = false;
        std::optional<QString> repaired;
        if (!isAscii(name))
            repaired = repairer.repair(name, list.nameBytes(r), &undecided);
        list.setCell(r, ColPreview, repaired ? QStringView(*repaired) : QStringView());
        count.repaired += repaired.has_value();
        count.undecided += undecided;
    }
    return count;
}

} // namespace tamsel

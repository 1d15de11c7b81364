// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/NameRepair.h"

#include "core/rename/NameReadings.h"
#include "core/text/Iconv.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace tamsel {
namespace {

using namespace readings;

// In the order of SourceEncoding after Auto; each with the language whose frequencies judge it.
constexpr std::array<const char*, 4> Encodings = {"GB18030", "BIG5", "CP932", "CP949"};
// The one-byte code pages an archive tool may have read a name's bytes as, likeliest first.
constexpr std::array<const char*, 5> OneBytePages = {"CP1252", "ISO-8859-1", "CP437", "CP850", "CP866"};
constexpr size_t Cp866 = 4;
// Two readings closer than this are a tie: the preferred encoding or nobody decides.
constexpr double Tie = 1.5;

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
        } else if (!commonInSomeLanguage(text)) {
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
        if (!again || *again == text || !isPlausible(*again, true) || !commonInSomeLanguage(*again))
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
                cost += characterCost(e, c, &listed);
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

} // namespace tamsel

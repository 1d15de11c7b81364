// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/NameRepair.h"

#include "core/filelist/FileList.h"
#include "core/text/Iconv.h"
#include "core/text/NameCodec.h"

#include <QStringDecoder>
#include <array>
#include <memory>
#include <vector>

namespace tamsel {
namespace {

constexpr std::array<const char*, 4> Encodings = {"GB18030", "BIG5", "CP932", "CP949"};
// The one-byte code pages an archive tool may have read a name's bytes as.
constexpr std::array<const char*, 5> OneBytePages = {"CP1252", "ISO-8859-1", "CP437", "CP850", "CP866"};
// Where a garbled name has box drawing, DOS read it; else most likely Windows.
constexpr std::array<const char*, 4> DosPages = {"CP437", "CP850", "CP866", "CP1252"};
constexpr std::array<const char*, 4> WindowsFirst = {"CP1252", "CP437", "CP850", "CP866"};

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

bool isEastAsian(char32_t c)
{
    return (c >= 0x2E80 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

bool isCommonPunctuation(char32_t c)
{
    return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF0F) || (c >= 0xFF1A && c <= 0xFF20) ||
           (c >= 0xFF3B && c <= 0xFF40) || (c >= 0xFF5B && c <= 0xFF65) || (c >= 0x2010 && c <= 0x2027) ||
           c == 0x00B7 || c == 0x30FB || c == 0x30FC;
}

// Script families a name is written in: the scripts of East Asian names mix, others stand alone.
enum Family : unsigned { Chinese = 1, Japanese = 2, Korean = 4, Single = 8 };

// Whether text reads as a name: no control, private or unassigned characters, no symbols, and the
// letters of one family (ASCII letters go with any).
bool isPlausible(QStringView text)
{
    unsigned families = Chinese | Japanese | Korean | Single;
    int single = -1; // the one script of a Single family
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xFFFD || (c >= 0xE000 && c <= 0xF8FF))
            return false;
        if (c < 0x80 || isCommonPunctuation(c))
            continue;
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Number_DecimalDigit)
            continue;
        if (category < QChar::Letter_Uppercase || category > QChar::Letter_Other) {
            // Marks go with their letters outside East Asia; symbols and the rest never.
            if (category <= QChar::Mark_Enclosing && !isEastAsian(c))
                continue;
            return false;
        }
        const QChar::Script script = QChar::script(c);
        if (script == QChar::Script_Han)
            families &= Chinese | Japanese | Korean;
        else if (script == QChar::Script_Hiragana || script == QChar::Script_Katakana)
            families &= Japanese;
        else if (script == QChar::Script_Hangul)
            families &= Korean;
        else {
            families &= Single;
            if (single >= 0 && single != int(script))
                return false;
            single = int(script);
        }
        if (families == 0)
            return false;
    }
    return true;
}

// Whether every East Asian letter of a reading is among the encoding's common characters: the
// first level of GB2312, Big5's frequent characters, kana and the first level of JIS, the Hangul
// of KS X 1001. Readings of garbage rarely are.
bool isCommon(QStringView text, size_t encoding, Iconv& back)
{
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80 || !QChar::isLetter(c))
            continue;
        const QString one = QString::fromUcs4(&c, 1);
        const auto bytes = back.convert(one.toUtf8());
        if (!bytes || bytes->size() != 2)
            return false;
        const int lead = uchar(bytes->at(0));
        const int trail = uchar(bytes->at(1));
        bool common = false;
        switch (encoding) {
        case 0: // GB18030
            common = lead >= 0xB0 && lead <= 0xD7 && trail >= 0xA1;
            break;
        case 1: // Big5
            common = lead >= 0xA4 && lead <= 0xC6;
            break;
        case 2: // CP932
            common = lead == 0x82 || lead == 0x83 || (lead >= 0x88 && lead <= 0x98);
            break;
        default: // CP949
            common = lead >= 0xB0 && lead <= 0xC8 && trail >= 0xA1;
            break;
        }
        if (!common)
            return false;
    }
    return true;
}

// The characters the DOS pages show bytes 0x80 to 0xFF as (╔ ₧ ⌡ α é and the like), and Windows-1252
// bytes 0x80 to 0xFF (‚ ƒ Œ “ – é): what East Asian bytes turn into.
const std::vector<bool>& codePageCharacters()
{
    static const std::vector<bool> set = [] {
        std::vector<bool> chars(0x10000, false);
        for (const char* page : {"CP437", "CP850", "CP1252"}) {
            Iconv decode("UTF-8", page);
            for (int b = 0x80; b <= 0xFF; ++b) {
                const char byte = char(b);
                if (const auto one = decode.convert(QByteArrayView(&byte, 1))) {
                    const QString c = QString::fromUtf8(*one);
                    if (c.size() == 1)
                        chars[c[0].unicode()] = true;
                }
            }
        }
        return chars;
    }();
    return set;
}

enum class Garbled { No, Maybe, Surely };

// Box drawing or blocks, or two accented Latin letters (or Windows-1252 signs) in a row: surely what
// GBK bytes look like in the DOS and Windows code pages. Such letters each one ASCII character
// apart: maybe Big5 or Shift_JIS, whose second bytes are often ASCII (¥f Ã Z), maybe a word
// (élève).
Garbled looksGarbled(QStringView text)
{
    const std::vector<bool>& pageCharacters = codePageCharacters();
    const auto high = [&](qsizetype i) { return pageCharacters[text[i].unicode()]; };
    Garbled found = Garbled::No;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if ((u >= 0x2500 && u <= 0x259F) || (i > 0 && high(i) && high(i - 1)))
            return Garbled::Surely;
        if (i > 1 && high(i) && high(i - 2) && text[i - 1].unicode() < 0x80)
            found = Garbled::Maybe;
    }
    return found;
}

class Repairer {
public:
    explicit Repairer(SourceEncoding encoding) : m_encoding(encoding)
    {
        for (size_t e = 0; e < Encodings.size(); ++e) {
            m_decode[e] = std::make_unique<Iconv>("UTF-8", Encodings[e]);
            m_encode[e] = std::make_unique<Iconv>(Encodings[e], "UTF-8");
        }
        for (size_t p = 0; p < OneBytePages.size(); ++p)
            m_pages[p] = std::make_unique<Iconv>(OneBytePages[p], "UTF-8");
    }

    std::optional<QString> repair(QStringView text, QByteArrayView bytes, bool* undecided)
    {
        if (undecided)
            *undecided = false;
        if (hasEscapes(text))
            return fromEncodings(text, bytes, undecided);
        if (isAscii(text))
            return std::nullopt;
        const QByteArray utf8 = text.toUtf8();
        // UTF-8 read as a one-byte code page, or as GB18030: written back, it is UTF-8 again.
        std::optional<QString> again;
        if (!hasEastAsian(text)) {
            for (auto& page : m_pages) {
                if ((again = utf8Again(page->convert(utf8), text)))
                    break;
            }
        } else {
            again = utf8Again(m_encode[0]->convert(utf8), text);
        }
        // Box drawing or accented runs: an East Asian encoding read through a DOS or Windows page;
        // of the pages that give a reading, the first whose reading is made of common characters.
        std::optional<QString> read;
        if (const Garbled garbled = looksGarbled(text); garbled != Garbled::No) {
            bool common = false;
            const bool boxes = std::any_of(text.begin(), text.end(), [](QChar c) {
                return c.unicode() >= 0x2500 && c.unicode() <= 0x259F;
            });
            for (const char* page : boxes ? DosPages : WindowsFirst) {
                const auto p =
                    size_t(std::find(OneBytePages.begin(), OneBytePages.end(), page) - OneBytePages.begin());
                const auto dos = m_pages[p]->convert(utf8);
                bool unsure = false;
                size_t encoding = 0;
                const auto reading = dos ? fromEncodings(text, *dos, &unsure, &encoding) : std::nullopt;
                if (unsure && undecided)
                    *undecided = true;
                if (!reading || common)
                    continue;
                common = isCommon(*reading, encoding, *m_encode[encoding]);
                if (common || !read)
                    read = reading;
            }
            if (read && !common && garbled == Garbled::Maybe)
                read.reset(); // a word, most likely
            if (read && undecided)
                *undecided = false;
        }
        // Some GBK pairs are UTF-8 too (毛 is C3 AB, "ë"): a letter that is not part of a word of
        // Latin letters was no UTF-8.
        if (again && read && !hasEastAsian(*again) && !inLatinWords(*again))
            return read;
        return again ? again : read;
    }

private:
    static bool hasEastAsian(QStringView text)
    {
        return std::any_of(text.begin(), text.end(),
                           [](QChar c) { return isEastAsian(c.unicode()) || c.isSurrogate(); });
    }
    // Every letter beyond ASCII stands beside an ASCII letter.
    static bool inLatinWords(QStringView text)
    {
        const auto asciiLetter = [&](qsizetype i) {
            return i >= 0 && i < text.size() && text[i].unicode() < 0x80 && text[i].isLetter();
        };
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].unicode() >= 0x80 && text[i].isLetter() && !asciiLetter(i - 1) && !asciiLetter(i + 1))
                return false;
        }
        return true;
    }

    std::optional<QString> utf8Again(const std::optional<QByteArray>& bytes, QStringView text) const
    {
        if (!bytes || isAscii(QString::fromLatin1(*bytes)))
            return std::nullopt;
        auto again = strictUtf8(*bytes);
        if (!again || *again == text || !isPlausible(*again))
            return std::nullopt;
        return again;
    }

    // The reading of bytes in the chosen encoding; under Auto the only plausible one, or among
    // several the only one made of common characters.
    std::optional<QString> fromEncodings(QStringView text, QByteArrayView bytes, bool* undecided,
                                         size_t* encoding = nullptr)
    {
        std::vector<std::pair<size_t, QString>> readings;
        for (size_t e = 0; e < Encodings.size(); ++e) {
            if (m_encoding != SourceEncoding::Auto && size_t(m_encoding) - 1 != e)
                continue;
            const auto utf8 = m_decode[e]->convert(bytes);
            if (!utf8)
                continue;
            QString reading = QString::fromUtf8(*utf8);
            if (reading != text && isPlausible(reading) &&
                std::none_of(readings.begin(), readings.end(),
                             [&](const auto& r) { return r.second == reading; }))
                readings.emplace_back(e, std::move(reading));
        }
        if (readings.size() > 1) {
            std::erase_if(readings,
                          [&](const auto& r) { return !isCommon(r.second, r.first, *m_encode[r.first]); });
            if (readings.size() != 1) {
                if (undecided)
                    *undecided = true;
                return std::nullopt;
            }
        }
        if (readings.empty())
            return std::nullopt;
        if (encoding)
            *encoding = readings.front().first;
        return readings.front().second;
    }

    SourceEncoding m_encoding;
    std::array<std::unique_ptr<Iconv>, Encodings.size()> m_decode;
    std::array<std::unique_ptr<Iconv>, Encodings.size()> m_encode;
    std::array<std::unique_ptr<Iconv>, OneBytePages.size()> m_pages;
};

} // namespace

std::optional<QString> repairedName(QStringView text, QByteArrayView bytes, SourceEncoding encoding,
                                    bool* undecided)
{
    return Repairer(encoding).repair(text, bytes, undecided);
}

RepairCount repairPreview(FileList& list, SourceEncoding encoding,
                          const std::function<void(int row)>& progress)
{
    Repairer repairer(encoding);
    RepairCount count;
    FileList::Batch batch(list);
    for (int r = 1; r <= list.fileCount(); ++r) {
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

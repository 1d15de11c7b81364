// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/ListSort.h"

#include "core/filelist/CellText.h"
#include "core/filelist/FileList.h"
#include "core/text/ChineseNumerals.h"
#include "core/text/NameCodec.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <cstring>
#include <string>

namespace tamsel {
namespace {

// The pieces a name is read in.
enum Kind { End, Punctuation, Number, Letter, Other };

int digitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'０' && c <= u'９')
        return c - u'０';
    return -1;
}

// Other-script runs get their order from the collator: every distinct run is ranked once, and the
// keys carry the rank.
class Ranks {
public:
    void note(QStringView run)
    {
        if (!m_ids.contains(run)) {
            m_ids.insert(run, quint32(m_runs.size()));
            m_runs.push_back(run);
        }
    }
    void rank()
    {
        if (m_runs.empty())
            return;
        QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<QCollatorSortKey> keys;
        keys.reserve(m_runs.size());
        for (QStringView run : m_runs)
            keys.push_back(collator.sortKey(run.toString()));
        std::vector<quint32> order(m_runs.size());
        for (quint32 i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(),
                  [&](quint32 a, quint32 b) { return keys[a].compare(keys[b]) < 0; });
        m_rank.assign(m_runs.size(), 0);
        quint32 rank = 0;
        for (size_t i = 0; i < order.size(); ++i) {
            if (i > 0 && keys[order[i - 1]].compare(keys[order[i]]) != 0)
                ++rank;
            m_rank[order[i]] = rank;
        }
    }
    quint32 rankOf(QStringView run) const { return m_rank[m_ids.value(run)]; }

private:
    QHash<QStringView, quint32> m_ids;
    std::vector<QStringView> m_runs;
    std::vector<quint32> m_rank;
};

// A non-ASCII character that is a Latin letter with marks, or a full-width one: its base letter.
char16_t latinBase(char16_t c)
{
    if (c < 0x00C0 || (c >= 0x0250 && (c < 0x1E00 || c > 0x1EFF) && (c < 0xFF21 || c > 0xFF5A)))
        return 0;
    const QString d = QChar(c).decomposition();
    if (d.isEmpty() || d[0].unicode() >= 0x80 || !d[0].isLetter())
        return 0;
    return d[0].toLower().unicode();
}

// Splits text into its pieces: visit(kind, piece) for every run of digits, of Chinese numerals
// and of other-script characters, and every single punctuation character or Latin letter.
template <typename Visit> void pieces(QStringView text, Visit visit)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const char16_t c = text[i].unicode();
        qsizetype end = i + 1;
        if (digitValue(c) >= 0) {
            while (end < n && digitValue(text[end].unicode()) >= 0)
                ++end;
            visit(Number, text.sliced(i, end - i));
        } else if (c < 0x80) {
            visit(QChar::isLetter(c) ? Letter : Punctuation, text.sliced(i, 1));
        } else if (latinBase(c)) {
            visit(Letter, text.sliced(i, 1));
        } else {
            // Other-script text up to the next digit or Latin letter; a run of Chinese numerals
            // that counts as a number there is a piece of its own.
            const auto otherScript = [&](qsizetype at) {
                const char16_t d = text[at].unicode();
                return d >= 0x80 && digitValue(d) < 0 && !latinBase(d);
            };
            qsizetype from = i;
            end = i;
            while (end < n && otherScript(end)) {
                const qsizetype run = chineseNumeralRun(text, end);
                if (run == 0) {
                    ++end;
                } else if (!chineseNumeralIsNumber(text, end, run)) {
                    end += run;
                } else {
                    if (end > from)
                        visit(Other, text.sliced(from, end - from));
                    visit(Number, text.sliced(end, run));
                    end += run;
                    from = end;
                }
            }
            if (end > from)
                visit(Other, text.sliced(from, end - from));
        }
        i = end;
    }
}

// The byte of an ASCII character that is neither letter nor digit: "/" first (a folder's own path
// before its neighbours'), then the others in code order, all below numbers.
uchar punctuationByte(char16_t c)
{
    if (c == u'/')
        return 0x01;
    int below = 0; // the characters before c that are neither letters nor digits
    for (char16_t d = 0; d < c; ++d)
        below += !QChar::isLetterOrNumber(d);
    return uchar(0x02 + below);
}

// Key bytes: end 0x00 < punctuation < number 0x50 < letter 0x60.. < other script 0xF0, so that a
// shorter name comes before a longer one that goes on from it.
constexpr char EndByte = 0x00;
constexpr char NumberByte = 0x50;
constexpr char LetterBase = 0x60;
constexpr char OtherByte = char(0xF0);
constexpr char EscapedByte = char(0xFF);

class KeyMaker {
public:
    KeyMaker()
    {
        for (char16_t c = 0; c < 0x80; ++c)
            m_ascii[c] = QChar::isLetter(c)  ? char(LetterBase + (QChar::toLower(c) - u'a'))
                         : digitValue(c) < 0 ? char(punctuationByte(c))
                                             : 0;
    }
    void note(QStringView text)
    {
        if (hasEscapes(text))
            return;
        pieces(text, [&](Kind kind, QStringView piece) {
            if (kind == Other)
                m_ranks.note(piece);
        });
    }
    void rank() { m_ranks.rank(); }

    // The key: the pieces, then the leading zeros of each number (more zeros first), then the text
    // itself, so that only equal texts have equal keys.
    void append(QStringView text, std::string& key)
    {
        if (hasEscapes(text)) {
            key.push_back(EscapedByte);
            appendText(text, key);
            return;
        }
        m_zeros.clear();
        pieces(text, [&](Kind kind, QStringView piece) {
            const char16_t c = piece[0].unicode();
            switch (kind) {
            case Punctuation:
            case Letter:
                key.push_back(c < 0x80 ? m_ascii[c] : char(LetterBase + (latinBase(c) - u'a')));
                break;
            case Number:
                if (digitValue(c) >= 0) {
                    qsizetype lead = 0;
                    while (lead + 1 < piece.size() && digitValue(piece[lead].unicode()) == 0)
                        ++lead;
                    m_zeros.push_back(char(255 - std::min<qsizetype>(lead, 255)));
                    key.push_back(NumberByte);
                    key.push_back(char(piece.size() - lead));
                    for (qsizetype i = lead; i < piece.size(); ++i)
                        key.push_back(char('0' + digitValue(piece[i].unicode())));
                } else {
                    m_zeros.push_back(char(255));
                    const QByteArray digits = decimalDigits(chineseNumeralValue(piece));
                    key.push_back(NumberByte);
                    key.push_back(char(digits.size()));
                    key.append(digits.constData(), size_t(digits.size()));
                }
                break;
            case Other: {
                const quint32 rank = m_ranks.rankOf(piece);
                key.push_back(OtherByte);
                for (int shift = 24; shift >= 0; shift -= 8)
                    key.push_back(char(rank >> shift));
                break;
            }
            case End:
                break;
            }
        });
        key.push_back(EndByte);
        key += m_zeros;
        key.push_back(EndByte);
        appendText(text, key);
    }

private:
    static void appendText(QStringView text, std::string& key)
    {
        for (QChar c : text) {
            key.push_back(char(c.unicode() >> 8));
            key.push_back(char(c.unicode()));
        }
    }
    Ranks m_ranks;
    std::string m_zeros;
    char m_ascii[0x80];
};

struct Item {
    quint64 prefix[2]; // the key's first sixteen bytes, as numbers
    quint32 offset;
    quint32 length;
    int row;
};

void setPrefix(Item& item, const char* key)
{
    for (int half = 0; half < 2; ++half) {
        quint64 p = 0;
        for (quint32 i = 8 * quint32(half); i < 8 * quint32(half) + 8; ++i)
            p = (p << 8) | (i < item.length ? uchar(key[i]) : 0);
        item.prefix[half] = p;
    }
}

} // namespace

bool isSortColumn(int column)
{
    switch (column) {
    case ColOriginalName:
    case ColDirectory:
    case ColFileName:
    case ColFileType:
    case ColFileSize:
    case ColCreated:
    case ColModified:
        return true;
    default:
        return false;
    }
}

std::vector<int> sortedOrder(const FileList& list, int column, bool descending)
{
    const int n = list.fileCount();
    std::vector<Item> items(static_cast<size_t>(n));
    std::string keys;
    if (column == ColFileSize || column == ColCreated || column == ColModified) {
        for (int r = 0; r < n; ++r) {
            const FileList::Row& row = list.details(r);
            const qint64 v = column == ColFileSize  ? row.size
                             : column == ColCreated ? row.created
                                                    : row.modified;
            items[size_t(r)] = {{quint64(v) ^ (quint64(1) << 63), 0}, 0, 0, r};
        }
    } else {
        const auto textOf = [&](int r) -> QStringView {
            const QStringView name = list.name(r);
            return column == ColFileName   ? mainNameOf(name)
                   : column == ColFileType ? extensionOf(name)
                                           : name;
        };
        KeyMaker maker;
        keys.reserve(size_t(n) * 48);
        if (column == ColDirectory) {
            for (quint32 f = 0; f < list.folderCount(); ++f)
                maker.note(list.folderText(f));
        } else {
            for (int r = 0; r < n; ++r)
                maker.note(textOf(r));
        }
        maker.rank();
        // A folder's key is made once for all its rows.
        std::vector<std::pair<quint32, quint32>> folderKeys;
        if (column == ColDirectory) {
            for (quint32 f = 0; f < list.folderCount(); ++f) {
                const auto start = quint32(keys.size());
                maker.append(list.folderText(f), keys);
                folderKeys.emplace_back(start, quint32(keys.size()) - start);
            }
        }
        for (int r = 0; r < n; ++r) {
            Item& item = items[size_t(r)];
            if (column == ColDirectory) {
                std::tie(item.offset, item.length) = folderKeys[list.folderIndex(r)];
            } else {
                item.offset = quint32(keys.size());
                maker.append(textOf(r), keys);
                item.length = quint32(keys.size()) - item.offset;
            }
            item.row = r;
        }
        for (Item& item : items)
            setPrefix(item, keys.data() + item.offset);
    }
    const char* data = keys.data();
    const auto before = [&](const Item& a, const Item& b) {
        if (a.prefix[0] != b.prefix[0])
            return a.prefix[0] < b.prefix[0];
        if (a.prefix[1] != b.prefix[1])
            return a.prefix[1] < b.prefix[1];
        if (a.length > 16 && b.length > 16) {
            if (const int c = std::memcmp(data + a.offset + 16, data + b.offset + 16,
                                          std::min(a.length, b.length) - 16))
                return c < 0;
        }
        return a.length < b.length;
    };
    // Equal rows keep their order, either way.
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        if (descending ? before(b, a) : before(a, b))
            return true;
        if (descending ? before(a, b) : before(b, a))
            return false;
        return a.row < b.row;
    });
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        order[size_t(i)] = items[size_t(i)].row;
    return order;
}

} // namespace tamsel

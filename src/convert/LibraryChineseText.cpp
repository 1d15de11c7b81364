// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/LibraryChineseText.h"

#include <QFile>
#include <cmath>
#include <limits>
#include <opencc/opencc.h>
#include <string_view>
#include <unordered_map>

namespace tamsel {
namespace {

// OpenCC's configurations, by Script; s2twp is left out, as it rewrites words.
constexpr const char* Configurations[] = {"t2s.json", "s2t.json", "s2tw.json", "s2hk.json"};
const opencc_t NotOpened = reinterpret_cast<opencc_t>(-1);

} // namespace

struct LibraryChineseText::Converters {
    opencc_t handles[std::size(Configurations)];

    Converters()
    {
        for (size_t i = 0; i < std::size(Configurations); ++i)
            handles[i] = opencc_open(Configurations[i]);
    }
    ~Converters()
    {
        for (const opencc_t handle : handles) {
            if (handle != NotOpened)
                opencc_close(handle);
        }
    }
};

// Words with their likeliest reading and its frequency as a log probability, looked up by views
// into the dictionary's own text.
struct LibraryChineseText::Dictionary {
    struct Entry {
        QStringView reading;
        double weight = 0;
        double score = 0;
    };
    QString text;
    std::unordered_map<std::u16string_view, Entry> words;
    qsizetype longest = 1;

    static std::u16string_view key(QStringView s)
    {
        return {reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size())};
    }

    explicit Dictionary(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        text = QString::fromUtf8(file.readAll());
        // Entries follow the header's closing "...": word, syllables, weight, tab-separated.
        qsizetype at = text.indexOf(u"\n...\n");
        if (at < 0)
            return;
        double total = 0;
        for (at += 5; at < text.size();) {
            qsizetype end = text.indexOf(u'\n', at);
            if (end < 0)
                end = text.size();
            const QStringView line = QStringView(text).mid(at, end - at);
            at = end + 1;
            const qsizetype tab1 = line.indexOf(u'\t');
            const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf(u'\t', tab1 + 1);
            if (tab1 <= 0 || line.startsWith(u'#'))
                continue;
            const QStringView word = line.left(tab1);
            const QStringView reading = line.mid(tab1 + 1, tab2 < 0 ? -1 : tab2 - tab1 - 1);
            const double weight = tab2 < 0 ? 0 : line.mid(tab2 + 1).toDouble();
            total += weight;
            Entry& entry = words[key(word)];
            if (entry.reading.isEmpty() || weight > entry.weight) {
                entry.reading = reading;
                entry.weight = weight;
            }
            longest = std::max(longest, word.size());
        }
        const double logTotal = std::log(total + double(words.size()));
        for (auto& [word, entry] : words)
            entry.score = std::log(entry.weight + 1) - logTotal;
    }
};

LibraryChineseText::LibraryChineseText(QString dictionary) : m_dictionaryPath(std::move(dictionary)) {}

LibraryChineseText::~LibraryChineseText() = default;

const LibraryChineseText::Converters& LibraryChineseText::converters() const
{
    std::call_once(m_convertersOpened, [this] { m_converters = std::make_unique<Converters>(); });
    return *m_converters;
}

const LibraryChineseText::Dictionary& LibraryChineseText::dictionary() const
{
    std::call_once(m_dictionaryRead,
                   [this] { m_dictionary = std::make_unique<Dictionary>(m_dictionaryPath); });
    return *m_dictionary;
}

bool LibraryChineseText::convertScript(Script script, QStringView text, QString& out) const
{
    const opencc_t handle = converters().handles[size_t(script)];
    if (handle == NotOpened)
        return false;
    const QByteArray utf8 = text.toUtf8();
    char* converted = opencc_convert_utf8(handle, utf8.constData(), size_t(utf8.size()));
    if (!converted)
        return false;
    out += QString::fromUtf8(converted);
    opencc_convert_utf8_free(converted);
    return true;
}

void LibraryChineseText::readWords(QStringView han, std::vector<QString>& words) const
{
    const Dictionary& dict = dictionary();
    // The likeliest way to cut the run into words: the product of their probabilities, a character
    // of no word counting as a rare word of its own.
    const qsizetype n = han.size();
    const double unknown = std::log(1e-12);
    std::vector<double> best(size_t(n) + 1, -std::numeric_limits<double>::infinity());
    std::vector<qsizetype> from(size_t(n) + 1, 0);
    std::vector<const Dictionary::Entry*> entry(size_t(n) + 1, nullptr);
    best[0] = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (std::isinf(best[size_t(i)]))
            continue;
        const qsizetype unit = han[i].isHighSurrogate() && i + 1 < n && han[i + 1].isLowSurrogate() ? 2 : 1;
        for (qsizetype length = 1; length <= dict.longest && i + length <= n; ++length) {
            const auto found = dict.words.find(Dictionary::key(han.mid(i, length)));
            const bool single = length == unit;
            if (found == dict.words.end() && !single)
                continue;
            const double score =
                best[size_t(i)] + (found == dict.words.end() ? unknown : found->second.score);
            if (score > best[size_t(i + length)]) {
                best[size_t(i + length)] = score;
                from[size_t(i + length)] = i;
                entry[size_t(i + length)] = found == dict.words.end() ? nullptr : &found->second;
            }
        }
    }
    std::vector<QString> reversed;
    for (qsizetype end = n; end > 0; end = from[size_t(end)]) {
        const Dictionary::Entry* e = entry[size_t(end)];
        reversed.push_back(e ? e->reading.toString()
                             : han.mid(from[size_t(end)], end - from[size_t(end)]).toString());
    }
    words.insert(words.end(), reversed.rbegin(), reversed.rend());
}

} // namespace tamsel

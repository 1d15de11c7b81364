// SPDX-License-Identifier: GPL-3.0-or-later
// The name repair over the names this machine holds: every translation catalog under
// /usr/share/locale (its messages and their translations), Chinese words of the Rime essay and
// Korean words of the Hunspell list. Each sound name must stay; each name garbled the ways archive
// tools garble it must come back.
//   bench_repaircorpus [-v] [-s N]   -v: the first names of each kind that came out wrong;
//                                    -s N: every N-th line only
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/rules/RepairRule.h"
#include "core/text/Iconv.h"
#include "core/text/PlainText.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QtEndian>
#include <cstdio>
#include <map>
#include <memory>

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

// The language a catalog or word list is in: which legacy encoding its names were written in.
enum class Lang { Other, Simplified, Traditional, Japanese, Korean };

struct Name {
    QString text;
    Lang lang;
};

Lang langOf(const QString& locale)
{
    if (locale.startsWith("zh_TW"_L1) || locale.startsWith("zh_HK"_L1))
        return Lang::Traditional;
    if (locale.startsWith("zh"_L1))
        return Lang::Simplified;
    if (locale.startsWith("ja"_L1))
        return Lang::Japanese;
    if (locale.startsWith("ko"_L1))
        return Lang::Korean;
    return Lang::Other;
}

// The messages and translations of a GNU catalog, split into lines and plural forms.
void readCatalog(const QString& path, Lang lang, std::vector<Name>& out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray mo = file.readAll();
    if (mo.size() < 28)
        return;
    const auto* data = reinterpret_cast<const uchar*>(mo.constData());
    const bool little = qFromLittleEndian<quint32>(data) == 0x950412de;
    const auto word = [&](qsizetype at) -> quint32 {
        if (at < 0 || at + 4 > mo.size())
            return 0;
        return little ? qFromLittleEndian<quint32>(data + at) : qFromBigEndian<quint32>(data + at);
    };
    const quint32 count = word(8);
    for (const quint32 table : {word(12), word(16)}) {
        const bool translation = table == word(16);
        for (quint32 i = 0; i < count; ++i) {
            const quint32 length = word(table + 8 * i);
            const quint32 offset = word(table + 8 * i + 4);
            if (length == 0 || qint64(offset) + length > mo.size())
                continue;
            QByteArrayView text(mo.constData() + offset, length);
            if (!translation) {
                const auto context = text.indexOf('\x04');
                if (context >= 0)
                    text = text.sliced(context + 1);
            }
            for (const QByteArray& form : text.toByteArray().split('\0')) {
                for (const QByteArray& line : form.split('\n')) {
                    if (const auto name = decodeStrictly(QStringConverter::Utf8, line))
                        out.push_back({*name, translation ? lang : Lang::Other});
                }
            }
        }
    }
}

// A line of a catalog as a file name: no slash or control, not too long, not only ASCII (which the
// repair never touches), composed as names are.
std::optional<QString> asName(QString text, int serial)
{
    text = text.trimmed().normalized(QString::NormalizationForm_C);
    if (text.isEmpty() || text.size() > 80 || text.contains(u'/'))
        return std::nullopt;
    bool wide = false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            return std::nullopt;
        wide = wide || c.unicode() >= 0x80;
    }
    if (!wide)
        return std::nullopt;
    static const char* const extensions[] = {".txt", ".pdf", ".jpg", ".mp3", ".docx", ""};
    return text + QLatin1StringView(extensions[serial % 6]);
}

// Every sample-th line only, for a quick run.
int sample = 1;
int serial = 0;

std::vector<Name> corpus()
{
    std::vector<Name> lines;
    QDirIterator it(u"/usr/share/locale"_s, {u"*.mo"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString locale = path.section(u'/', 4, 4);
        readCatalog(path, langOf(locale), lines);
    }
    // Words, each a name of its own: every tenth of the essay's (Traditional Chinese) and of the
    // Korean word list.
    const auto words = [&](const char* path, Lang lang, auto&& word) {
        QFile file(QString::fromLatin1(path));
        if (!file.open(QIODevice::ReadOnly))
            return;
        for (int n = 0; !file.atEnd(); ++n) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (n % 10 == 0)
                lines.push_back({word(line), lang});
        }
    };
    words("/usr/share/rime-data/essay.txt", Lang::Traditional,
          [](const QString& l) { return l.section(u'\t', 0, 0); });
    words("/usr/share/hunspell/ko.dic", Lang::Korean, [](const QString& l) { return l.section(u'/', 0, 0); });
    // Two-character words of the Simplified Chinese catalogs.
    std::vector<Name> pairs;
    for (const Name& n : lines) {
        if (n.lang != Lang::Simplified)
            continue;
        for (qsizetype i = 0; i + 1 < n.text.size(); ++i) {
            const auto han = [&](qsizetype k) { return n.text[k].script() == QChar::Script_Han; };
            if (han(i) && han(i + 1) && (i == 0 || !han(i - 1)) && (i + 2 == n.text.size() || !han(i + 2)))
                pairs.push_back({n.text.mid(i, 2), Lang::Simplified});
        }
    }
    lines.insert(lines.end(), pairs.begin(), pairs.end());
    // Catalogs that were themselves read through the wrong page (PrÃ©sentation) are no sound names.
    Iconv cp1252("CP1252", "UTF-8");
    std::vector<Name> names;
    QSet<QString> seen;
    int garbled = 0;
    for (const Name& l : lines) {
        if (seen.contains(l.text))
            continue;
        seen.insert(l.text);
        if (serial++ % sample != 0)
            continue;
        if (const auto bytes = cp1252.convert(l.text.toUtf8());
            bytes && *bytes != l.text.toUtf8() && decodeStrictly(QStringConverter::Utf8, *bytes)) {
            ++garbled;
            continue;
        }
        if (auto name = asName(l.text, int(names.size())))
            names.push_back({*name, l.lang});
    }
    std::printf("%d catalog lines left out: UTF-8 read as Windows-1252 already\n", garbled);
    return names;
}

const char* charsetOf(Lang lang)
{
    switch (lang) {
    case Lang::Traditional:
        return "BIG5";
    case Lang::Japanese:
        return "CP932";
    case Lang::Korean:
        return "CP949";
    default:
        return "GB18030";
    }
}

SourceEncoding encodingOf(Lang lang)
{
    return SourceEncoding(int(lang));
}

struct Case {
    QByteArray bytes; // on disk
    QString expected; // empty: must stay
};

struct Tally {
    int names = 0, right = 0, undecided = 0, wrong = 0;
    QStringList examples, undecidedExamples;
};

bool verbose = false;

// Runs the repair over the cases as a preview pass does, and counts.
void run(const std::vector<Case>& cases, SourceEncoding encoding, SourceEncoding preferred, Tally& tally)
{
    PosixFileSystem fs;
    FileList list(fs);
    for (const Case& c : cases)
        list.addFileRow("/nonexistent/", c.bytes, std::nullopt);
    const RepairRule rule(encoding, preferred);
    previewPass(list, rule, rule.plan(list.fileCount(), {}));
    for (int r = 0; r < list.fileCount(); ++r) {
        const Case& c = cases[size_t(r)];
        const QString preview = list.preview(r).toString();
        ++tally.names;
        if (preview == c.expected || (c.expected.isEmpty() && preview.isEmpty()))
            ++tally.right;
        else if (preview.isEmpty()) {
            ++tally.undecided;
            if (tally.undecidedExamples.size() < 6)
                tally.undecidedExamples << list.name(r).toString() + u" (was "_s + c.expected + u')';
        } else {
            ++tally.wrong;
            if (tally.examples.size() < 12)
                tally.examples << list.name(r).toString() + u" → "_s + preview +
                                      (c.expected.isEmpty() ? QString() : u" (was "_s + c.expected + u')');
        }
    }
}

void print(const char* what, const Tally& t, bool sound)
{
    if (t.names == 0)
        return;
    if (sound)
        std::printf("%-44s %8d names  %6d changed\n", what, t.names, t.wrong);
    else
        std::printf("%-44s %8d names  %6d right  %6d undecided  %6d wrong  (%.2f%% right)\n", what, t.names,
                    t.right, t.undecided, t.wrong, 100.0 * t.right / t.names);
    if (verbose) {
        for (const QString& e : t.examples)
            std::printf("    %s\n", qPrintable(e));
        for (const QString& e : t.undecidedExamples)
            std::printf("    undecided: %s\n", qPrintable(e));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    for (int a = 1; a < argc; ++a) {
        if (QByteArray(argv[a]) == "-v")
            verbose = true;
        else if (QByteArray(argv[a]) == "-s" && a + 1 < argc)
            sample = std::max(1, atoi(argv[++a]));
    }
    QElapsedTimer timer;
    timer.start();
    const std::vector<Name> names = corpus();
    std::printf("%zu sound names beyond ASCII, read in %.1f s\n", names.size(), timer.elapsed() / 1000.0);

    // Sound names, under every choice of encoding and of locale.
    std::vector<Case> sound;
    for (const Name& n : names)
        sound.push_back({n.text.toUtf8(), {}});
    const std::pair<const char*, SourceEncoding> encodings[] = {{"GB18030", SourceEncoding::Gb18030},
                                                                {"Big5", SourceEncoding::Big5},
                                                                {"Shift_JIS", SourceEncoding::ShiftJis},
                                                                {"EUC-KR", SourceEncoding::EucKr}};
    timer.restart();
    Tally soundAuto;
    run(sound, SourceEncoding::Auto, SourceEncoding::Auto, soundAuto);
    const double seconds = timer.elapsed() / 1000.0;
    print("sound, Auto", soundAuto, true);
    for (const auto& [label, e] : encodings) {
        Tally chosen, locale;
        run(sound, e, SourceEncoding::Auto, chosen);
        run(sound, SourceEncoding::Auto, e, locale);
        print(qPrintable(u"sound, %1 chosen"_s.arg(QLatin1StringView(label))), chosen, true);
        print(qPrintable(u"sound, Auto, locale %1"_s.arg(QLatin1StringView(label))), locale, true);
    }

    // UTF-8 read as a one-byte page or as GBK: undone whatever was chosen.
    for (const char* page : {"CP1252", "ISO-8859-1", "CP437", "CP850", "CP866", "GB18030"}) {
        Iconv read("UTF-8", page);
        std::vector<Case> cases;
        for (const Name& n : names) {
            if (const auto text = read.convert(n.text.toUtf8()); text && *text != n.text.toUtf8())
                cases.push_back({*text, n.text});
        }
        Tally automatic, chosen;
        run(cases, SourceEncoding::Auto, SourceEncoding::Auto, automatic);
        run(cases, SourceEncoding::Gb18030, SourceEncoding::Auto, chosen);
        print(qPrintable(u"UTF-8 read as %1, Auto"_s.arg(QLatin1StringView(page))), automatic, false);
        print(qPrintable(u"UTF-8 read as %1, GB18030 chosen"_s.arg(QLatin1StringView(page))), chosen, false);
    }

    // East Asian names in their legacy encodings: as bytes, and read through the one-byte pages.
    const std::pair<Lang, const char*> langs[] = {{Lang::Simplified, "Chinese (Simplified) in GB18030"},
                                                  {Lang::Traditional, "Chinese (Traditional) in Big5"},
                                                  {Lang::Japanese, "Japanese in Shift_JIS"},
                                                  {Lang::Korean, "Korean in EUC-KR"}};
    for (const auto& [lang, label] : langs) {
        Iconv encode(charsetOf(lang), "UTF-8");
        std::vector<std::pair<const char*, std::unique_ptr<Iconv>>> pages;
        for (const char* page : {"CP1252", "CP437", "CP850", "CP866"})
            pages.emplace_back(page, std::make_unique<Iconv>("UTF-8", page));
        std::map<QString, std::pair<std::vector<Case>, std::vector<Case>>> kinds; // all, two characters
        for (const Name& n : names) {
            if (n.lang != lang)
                continue;
            const auto bytes = encode.convert(n.text.toUtf8());
            if (!bytes)
                continue;
            const bool two = n.text.size() == 2;
            if (!decodeStrictly(QStringConverter::Utf8, *bytes)) {
                kinds[u"as bytes"_s].first.push_back({*bytes, n.text});
                if (two)
                    kinds[u"as bytes"_s].second.push_back({*bytes, n.text});
            }
            for (const auto& [page, read] : pages) {
                if (const auto text = read->convert(*bytes)) {
                    const QString kind = u"read as "_s + QLatin1StringView(page);
                    kinds[kind].first.push_back({*text, n.text});
                    if (two)
                        kinds[kind].second.push_back({*text, n.text});
                }
            }
        }
        for (const auto& [kind, cases] : kinds) {
            for (const bool two : {false, true}) {
                const std::vector<Case>& set = two ? cases.second : cases.first;
                Tally automatic, locale, chosen;
                run(set, SourceEncoding::Auto, SourceEncoding::Auto, automatic);
                run(set, SourceEncoding::Auto, encodingOf(lang), locale);
                run(set, encodingOf(lang), SourceEncoding::Auto, chosen);
                const QString what =
                    QLatin1StringView(label) + u", "_s + kind + (two ? u", two chars"_s : QString());
                print(qPrintable(what + u", Auto"_s), automatic, false);
                print(qPrintable(what + u", Auto, its locale"_s), locale, false);
                print(qPrintable(what + u", chosen"_s), chosen, false);
            }
        }
    }
    std::printf("repair of the sound names under Auto: %.2f µs a name\n",
                seconds * 1e6 / double(names.size()));
    return 0;
}

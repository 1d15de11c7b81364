// SPDX-License-Identifier: GPL-3.0-or-later
// Names garbled the ways archives garble them, made with the real encodings, and repaired.
#include "core/rename/rules/RepairRule.h"
#include "core/text/Iconv.h"
#include "core/text/NameCodec.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

const char* charsetOf(SourceEncoding e)
{
    switch (e) {
    case SourceEncoding::Big5:
        return "BIG5";
    case SourceEncoding::ShiftJis:
        return "CP932";
    case SourceEncoding::EucKr:
        return "CP949";
    default:
        return "GB18030";
    }
}

std::optional<QByteArray> convert(const char* to, const char* from, const QByteArray& bytes)
{
    return Iconv(to, from).convert(bytes);
}

enum Kind { NotUtf8, ReadAsCp437, ReadAsCp1252, Utf8ReadAsGbk, ReadAsCp850 };

// The name as an archive tool leaves it: its text and its bytes on disk; nothing where the kind
// cannot garble this name.
std::optional<std::pair<QString, QByteArray>> garble(const QString& name, SourceEncoding e, Kind kind)
{
    if (kind == Utf8ReadAsGbk) {
        const auto text = convert("UTF-8", "GB18030", name.toUtf8());
        if (!text)
            return std::nullopt;
        return std::make_pair(QString::fromUtf8(*text), *text);
    }
    const auto bytes = convert(charsetOf(e), "UTF-8", name.toUtf8());
    if (!bytes)
        return std::nullopt;
    if (kind == NotUtf8) {
        // Bytes that happen to be UTF-8 are a name of their own (沫 and 楔 are "ĭШ").
        if (!hasEscapes(decodeName(*bytes)))
            return std::nullopt;
        return std::make_pair(decodeName(*bytes), *bytes);
    }
    const auto text = convert("UTF-8",
                              kind == ReadAsCp437   ? "CP437"
                              : kind == ReadAsCp850 ? "CP850"
                                                    : "CP1252",
                              *bytes);
    if (!text)
        return std::nullopt;
    // DOS text without box drawing (Big5's ¿_«c) is Windows-1252 text as well, and read as that.
    if (kind == ReadAsCp437 && !QString::fromUtf8(*text).contains(QRegularExpression(u"[\u2500-\u259f]"_s)))
        return std::nullopt;
    return std::make_pair(QString::fromUtf8(*text), *text);
}

// The rule's name for a row of that name; "-" for none. The rule reads the name's bytes back from
// its text, as a listed name holds them.
QString repaired(const QString& name, SourceEncoding e, SourceEncoding preferred = SourceEncoding::Auto)
{
    const RepairRule rule(e, preferred);
    QString out;
    return rule.step(RowName::split(name, 0), rule.plan(1, {}), out).named ? out : u"-"_s;
}
QString repaired(const std::pair<QString, QByteArray>& garbled, SourceEncoding e,
                 SourceEncoding preferred = SourceEncoding::Auto)
{
    if (encodeName(garbled.first) != garbled.second)
        QTest::qFail("a garbled name whose text does not hold its bytes", __FILE__, __LINE__);
    return repaired(garbled.first, e, preferred);
}

const SourceEncoding AllEncodings[] = {SourceEncoding::Auto, SourceEncoding::Gb18030, SourceEncoding::Big5,
                                       SourceEncoding::ShiftJis, SourceEncoding::EucKr};

} // namespace

Q_DECLARE_METATYPE(SourceEncoding)

class TestNameRepair : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void repairs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<SourceEncoding>("encoding");
        QTest::addColumn<bool>("autoToo"); // 自动识别 finds it as well
        const auto gb = SourceEncoding::Gb18030;
        QTest::newRow("chinese") << u"中文.txt"_s << gb << true;
        QTest::newRow("chinese, digits") << u"照片2024_01.jpg"_s << gb << true;
        QTest::newRow("chinese, two") << u"报告"_s << gb << true;
        QTest::newRow("chinese, long") << u"会议记录（第三次）.docx"_s << gb << true;
        QTest::newRow("traditional") << u"繁體中文資料.doc"_s << SourceEncoding::Big5 << false;
        QTest::newRow("japanese") << u"日本語のファイル.txt"_s << SourceEncoding::ShiftJis << true;
        QTest::newRow("japanese, two") << u"写真"_s << SourceEncoding::ShiftJis << false;
        // Hangul in EUC-KR is common Chinese in GB2312 too: 自动识别 cannot tell them apart.
        QTest::newRow("korean") << u"한국어 문서.hwp"_s << SourceEncoding::EucKr << false;
        QTest::newRow("korean, two") << u"사진"_s << SourceEncoding::EucKr << false;
    }
    void repairs()
    {
        QFETCH(QString, name);
        QFETCH(SourceEncoding, encoding);
        QFETCH(bool, autoToo);
        for (const Kind kind : {NotUtf8, ReadAsCp437, ReadAsCp1252}) {
            const auto garbled = garble(name, encoding, kind);
            if (!garbled)
                continue;
            QCOMPARE(repaired(*garbled, encoding), name);
            if (autoToo)
                QCOMPARE(repaired(*garbled, SourceEncoding::Auto), name);
        }
        // UTF-8 read as GBK, and UTF-8 read as Windows-1252, whatever was chosen.
        if (const auto garbled = garble(name, encoding, Utf8ReadAsGbk))
            QCOMPARE(repaired(*garbled, encoding), name);
        const QString cafe = QString::fromUtf8(*convert("UTF-8", "CP1252", u"Café au lait.txt"_s.toUtf8()));
        QCOMPARE(repaired(cafe, encoding), u"Café au lait.txt"_s);
    }

    // A false repair is worse than none.
    void soundNamesStay_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList sound{
            u"中文.txt"_s, u"Café au lait.txt"_s, u"naïve résumé.txt"_s, u"Ärger.txt"_s, u"2024年报告.docx"_s,
            u"Москва.txt"_s, u"Ελληνικά.pdf"_s, u"日本語.txt"_s, u"한국어.txt"_s, u"Straße.txt"_s,
            u"crème brûlée.txt"_s, u"Ñandú.txt"_s, u"São Paulo.png"_s, u"€100 – ½.txt"_s, u"Œuvre.txt"_s,
            u"Blåbær.txt"_s, u"繁體.doc"_s, u"ファイル.txt"_s, u"IMG_0001.JPG"_s, u"Łódź.txt"_s,
            // Chinese whose bytes are UTF-8 too, Cyrillic whose DOS bytes are, Latin words whose
            // bytes are East Asian text.
            u"谢谢.txt"_s, u"强.jpg"_s, u"煤炭.mp3"_s, u"фон.txt"_s, u"ИдПр.txt"_s, u"документ LyX.pdf"_s,
            u"réverbérées.txt"_s, u"ÆØÅ.txt"_s, u"Si el menú és un pare.pdf"_s,
            u"Çöp kutusu masaüstünde.txt"_s, u"DVD±RW.txt"_s, u"Ra’s al Khaymah.txt"_s, u"Ääni.jpg"_s,
            u"Utlöpsdatum (ÅÅÅÅ-MM-DD).txt"_s};
        for (const QString& name : sound)
            QTest::newRow(qPrintable(name)) << name;
    }
    void soundNamesStay()
    {
        QFETCH(QString, name);
        for (const auto e : AllEncodings) {
            for (const auto preferred : AllEncodings)
                QCOMPARE(repaired(name, e, preferred), u"-"_s);
        }
    }

    // UTF-8 read as Windows-1252 or DOS and written back exactly, though East Asian encodings read
    // some of its bytes as common characters too.
    void utf8RoundTrip_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : {u"Привет.txt"_s, u"да.txt"_s, u"Ελληνικά.pdf"_s, u"Հայերեն.doc"_s,
                                    u"العربية.txt"_s, u"Non é posíbel.txt"_s, u"Swap i and ı.txt"_s})
            QTest::newRow(qPrintable(name)) << name;
    }
    void utf8RoundTrip()
    {
        QFETCH(QString, name);
        for (const char* page : {"CP1252", "CP437"}) {
            const auto text = convert("UTF-8", page, name.toUtf8());
            QVERIFY(text);
            for (const auto e : AllEncodings)
                QCOMPARE(repaired({QString::fromUtf8(*text), *text}, e), name);
        }
    }

    // Two characters in each garbling, decided by how common they are, with no locale to help;
    // the Korean, which reads as common Chinese too, with its locale.
    void twoCharacters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<SourceEncoding>("encoding");
        QTest::addColumn<SourceEncoding>("preferred");
        const auto gb = SourceEncoding::Gb18030;
        const auto none = SourceEncoding::Auto;
        QTest::newRow("报告") << u"报告.pdf"_s << gb << none;
        QTest::newRow("通知") << u"通知.doc"_s << gb << none;
        QTest::newRow("谢谢") << u"谢谢"_s << gb << none;
        QTest::newRow("照片") << u"照片"_s << gb << none;
        QTest::newRow("報告") << u"報告.doc"_s << SourceEncoding::Big5 << SourceEncoding::Big5;
        QTest::newRow("写真") << u"写真.jpg"_s << SourceEncoding::ShiftJis << none;
        QTest::newRow("사진") << u"사진.jpg"_s << SourceEncoding::EucKr << SourceEncoding::EucKr;
        QTest::newRow("문서") << u"문서"_s << SourceEncoding::EucKr << SourceEncoding::EucKr;
    }
    void twoCharacters()
    {
        QFETCH(QString, name);
        QFETCH(SourceEncoding, encoding);
        QFETCH(SourceEncoding, preferred);
        for (const Kind kind : {NotUtf8, ReadAsCp1252, ReadAsCp437, ReadAsCp850}) {
            if (const auto garbled = garble(name, encoding, kind))
                QVERIFY2(repaired(*garbled, SourceEncoding::Auto, preferred) == name,
                         qPrintable(u"%1 kind %2: %3"_s.arg(name).arg(int(kind)).arg(
                             repaired(*garbled, SourceEncoding::Auto, preferred))));
        }
    }

    // Bytes that two encodings read as likely names (hanja in EUC-KR, common Chinese in GB18030):
    // no name, and the row is told undecided.
    void undecidedIsTold()
    {
        const auto garbled = garble(u"日本"_s, SourceEncoding::EucKr, NotUtf8);
        QVERIFY(garbled);
        const RepairRule rule(SourceEncoding::Auto, SourceEncoding::Auto);
        QString out;
        const RowOutcome outcome = rule.step(RowName::split(garbled->first, 0), rule.plan(1, {}), out);
        QVERIFY(!outcome.named);
        QVERIFY(outcome.undecided);
    }

    // macOS writes names decomposed; they are composed, as every other program writes them.
    void decomposedComposed()
    {
        QCOMPARE(repaired(u"e\u0301cole.txt"_s, SourceEncoding::Auto), u"école.txt"_s);
        QCOMPARE(repaired(u"\u1112\u1161\u11AB\u1100\u116E\u11A8.txt"_s, SourceEncoding::EucKr),
                 u"한국.txt"_s);
    }

    // Random names of common characters in each script, garbled each way and repaired with their
    // encoding: bytes that are not UTF-8 come back; text read through a code page, if three
    // characters long at least, comes back or stays (random characters are often rare), never as
    // another name. Two random characters may as well be two letters of UTF-8.
    void garbledAndBack()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator rng(seed);
        // Common characters, as their encodings number them.
        const struct {
            SourceEncoding encoding;
            int leadFirst, leadLast, trailFirst, trailLast;
        } scripts[] = {{SourceEncoding::Gb18030, 0xB0, 0xD7, 0xA1, 0xF9},
                       {SourceEncoding::Big5, 0xA4, 0xC5, 0x40, 0x7E},
                       {SourceEncoding::ShiftJis, 0x88, 0x97, 0x9F, 0xFC},
                       {SourceEncoding::EucKr, 0xB0, 0xC8, 0xA1, 0xFE}};
        for (const auto& s : scripts) {
            for (int round = 0; round < 60; ++round) {
                QByteArray bytes;
                for (int i = int(rng.bounded(2, 7)); i > 0; --i)
                    bytes.append(char(rng.bounded(s.leadFirst, s.leadLast + 1)))
                        .append(char(rng.bounded(s.trailFirst, s.trailLast + 1)));
                const auto text = convert("UTF-8", charsetOf(s.encoding), bytes);
                if (!text)
                    continue;
                const QString name = QString::fromUtf8(*text) + (rng.bounded(2) ? u".txt"_s : u"12"_s);
                for (const Kind kind : {NotUtf8, ReadAsCp437, ReadAsCp1252}) {
                    if (const auto garbled = garble(name, s.encoding, kind)) {
                        const QString back = repaired(*garbled, s.encoding);
                        QVERIFY2(back == name || (kind != NotUtf8 && (back == u"-"_s || bytes.size() < 6)),
                                 qPrintable(u"%1 kind %2 seed %3"_s.arg(name).arg(int(kind)).arg(seed)));
                    }
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestNameRepair)
#include "TestNameRepair.moc"

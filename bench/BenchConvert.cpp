// SPDX-License-Identifier: GPL-3.0-or-later
// 中文转换 beside what bounds it, in one process: the numbering preview of the same rows, a plain
// loop over OpenCC's own call, ICU's per-character Han-Latin on the polyphone list.
//   bench_convert tenth ROWS     numbering preview, then Traditional → Simplified (a tenth Chinese)
//   bench_convert all ROWS       OpenCC called in a plain loop, then the preview (all Chinese)
//   bench_convert unique ROWS    the same, no two names sharing their Han characters
//   bench_convert pinyin ROWS    reading the dictionary, then the pinyin preview (all Chinese)
//   bench_convert icu LIST       words read right by this program and by ICU's Han-Latin
#include "Median.h"
#include "convert/LibraryChineseText.h"
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/rules/ConvertRule.h"
#include "core/rename/rules/NumberingRule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <opencc/opencc.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

using namespace tamsel;

namespace {

constexpr const char16_t* Words[] = {u"頭髮", u"發展", u"乾燥", u"樹幹", u"電影", u"音樂", u"銀行", u"長城",
                                     u"學校", u"報告", u"會議", u"記錄", u"風景", u"照片", u"旅遊", u"臺灣"};

// Characters for names whose Han runs all differ.
constexpr char16_t Characters[] = u"頭髮與發展乾燥樹幹電影音樂銀行長城學校報告會議記錄風景照片旅遊臺灣書畫";

// A name whose Han run no other row has.
QString uniqueName(int i)
{
    const int n = int(std::size(Characters)) - 1;
    QString run;
    for (int k = i; run.size() < 4 || k > 0; k /= n)
        run += QChar(Characters[k % n]);
    return run + u'_' + QString::number(i) + QStringLiteral(".jpg");
}

QString chineseName(int i)
{
    const int n = int(std::size(Words));
    return QString::fromUtf16(Words[i % n]) + QString::fromUtf16(Words[(i / n) % n]) + u'_' +
           QString::number(i) + QStringLiteral(".jpg");
}

// chineseEvery: one row in so many has a Chinese name (0: every row, each with a Han run of its own).
void fill(FileList& list, int rows, int chineseEvery)
{
    FileList::Batch batch(list);
    for (int i = 0; i < rows; ++i) {
        const QString name = chineseEvery == 0       ? uniqueName(i)
                             : i % chineseEvery == 0 ? chineseName(i)
                                                     : QStringLiteral("DSC_%1.JPG").arg(i);
        list.addFileRow(QByteArray("/bench/"), name.toUtf8(), FileStat{});
    }
}

double previewSeconds(FileList& list, const Rule& rule)
{
    return medianSeconds([&] { previewPass(list, rule, rule.plan(list.fileCount(), {})); });
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2)
        return 2;
    PosixFileSystem fs;
    FileList list(fs);
    const LibraryChineseText chinese;
    const ConvertRule t2s({ConvertInputs::Kind::Script, Script::TraditionalToSimplified, {}, 0}, &chinese);
    if (args[0] == QStringLiteral("tenth")) {
        fill(list, args[1].toInt(), 10);
        NumberingInputs in{OrdinalModel::Digits,
                           QStringLiteral("1"),
                           QStringLiteral("1"),
                           QStringLiteral("7"),
                           QStringLiteral("IMG_"),
                           {},
                           true,
                           {}};
        const NumberingRule numbering(in);
        const double limit = previewSeconds(list, numbering);
        std::printf("%.6f\t%.6f\n", limit, previewSeconds(list, t2s));
    } else if (args[0] == QStringLiteral("all") || args[0] == QStringLiteral("unique")) {
        fill(list, args[1].toInt(), args[0] == QStringLiteral("all") ? 1 : 0);
        std::vector<QByteArray> names;
        for (int r = 0; r < list.fileCount(); ++r)
            names.push_back(RowName::split(list.name(r), r).main.toUtf8());
        const opencc_t handle = opencc_open("t2s.json");
        const double limit = medianSeconds([&] {
            for (const QByteArray& name : names)
                opencc_convert_utf8_free(opencc_convert_utf8(handle, name.constData(), size_t(name.size())));
        });
        opencc_close(handle);
        std::printf("%.6f\t%.6f\n", limit, previewSeconds(list, t2s));
    } else if (args[0] == QStringLiteral("pinyin")) {
        fill(list, args[1].toInt(), 1);
        std::vector<QString> words;
        QElapsedTimer timer;
        timer.start();
        chinese.readWords(u"银行", words);
        const double load = double(timer.nsecsElapsed()) / 1e9;
        const ConvertRule pinyin({ConvertInputs::Kind::Pinyin, {}, PinyinStyle::Joined, 0}, &chinese);
        std::printf("%.6f\t%.6f\n", load, previewSeconds(list, pinyin));
    } else if (args[0] == QStringLiteral("icu")) {
        QFile file(args[1]);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> icu(
            icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        int total = 0, ours = 0, theirs = 0;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> parts = line.split('\t');
            const QString word = QString::fromUtf8(parts[0]);
            const QString expected = QString::fromUtf8(parts[1]);
            std::vector<QString> read;
            chinese.readWords(word, read);
            ours += QStringList(read.begin(), read.end()).join(u' ') == expected;
            icu::UnicodeString text = icu::UnicodeString::fromUTF8(parts[0].constData());
            icu->transliterate(text);
            std::string utf8;
            text.toUTF8String(utf8);
            // ICU writes ü as u and separates syllables by blanks; the list writes v.
            theirs += QString::fromStdString(utf8).trimmed() == QString(expected).replace(u'v', u'u');
            ++total;
        }
        std::printf("%d\t%d\t%d\n", total, ours, theirs);
    }
    return 0;
}

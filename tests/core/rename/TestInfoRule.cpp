// SPDX-License-Identifier: GPL-3.0-or-later
// Names from a template of fields, over a list whose files' facts a fake reader gives.
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/rules/InfoRule.h"

#include <QHash>
#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

class FakeFacts final : public FileFactsReader {
public:
    QHash<QByteArray, FileFacts> facts;
    mutable QList<unsigned> asked;
    FileFacts read(const QByteArray& path, unsigned needs) const override
    {
        asked << needs;
        return facts.value(path);
    }
};

} // namespace

class TestInfoRule : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

    QStringList previews(const FileList& list)
    {
        QStringList out;
        for (int r = 0; r < list.fileCount(); ++r)
            out << list.cell(r, ColPreview);
        return out;
    }

private Q_SLOTS:
    void templateFaults_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("position");
        using K = InfoTemplateFault::Kind;
        QTest::newRow("blank") << u"  "_s << int(K::Empty) << QString() << 0;
        QTest::newRow("unclosed at the end") << u"😀{原名"_s << int(K::Unclosed) << QString() << 1;
        QTest::newRow("unclosed before another") << u"a{原名{序号}"_s << int(K::Unclosed) << QString() << 1;
        QTest::newRow("unknown") << u"{原名}{作者}"_s << int(K::UnknownField) << u"作者"_s << 4;
        QTest::newRow("format where none is taken") << u"{原名:3}"_s << int(K::NoFormat) << u"原名:3"_s << 0;
        QTest::newRow("width zero") << u"{序号:0}"_s << int(K::BadWidth) << u"序号:0"_s << 0;
        QTest::newRow("width ten") << u"{音轨:10}"_s << int(K::BadWidth) << u"音轨:10"_s << 0;
        QTest::newRow("width not a number") << u"{目录序号:x}"_s << int(K::BadWidth) << u"目录序号:x"_s << 0;
        QTest::newRow("sound") << u"}{序号:3}_{拍摄时间:yyyy年}{时长:m分}"_s << int(K::None) << QString()
                               << 0;
    }
    void templateFaults()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, field);
        QFETCH(int, position);
        const InfoTemplate parsed = InfoTemplate::parse(text);
        QCOMPARE(int(parsed.fault.kind), kind);
        QCOMPARE(parsed.fault.field, field);
        QCOMPARE(parsed.fault.position, position);
        QCOMPARE(parsed.pieces.empty(), parsed.fault.kind != InfoTemplateFault::Kind::None);
    }

    // Counters by list and by folder, facts made safe for a name, the extension kept; a file lacking
    // a field gets no preview and is counted.
    void namesFromTheListAndTheFiles()
    {
        FileList list(m_fs);
        FileStat stat;
        stat.modifiedMs = QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7)).toMSecsSinceEpoch();
        list.addFileRow("/p/海边/", "a.jpg", stat, std::nullopt);
        list.addFileRow("/p/山/", "b.JPG", stat, std::nullopt);
        list.addFileRow("/p/海边/", "c.jpeg", stat, std::nullopt);
        list.addFileRow("/p/海边/", "no-time", stat, std::nullopt);
        FakeFacts reader;
        const QDateTime when(QDate(2024, 5, 1), QTime(12, 34, 56), Qt::UTC);
        const auto photo = [](const QDateTime& captured, const QString& camera) {
            FileFacts facts;
            facts.captured = captured;
            facts.camera = camera;
            return facts;
        };
        reader.facts["/p/海边/a.jpg"] = photo(when, u" Canon/EOS\t R6 "_s);
        reader.facts["/p/山/b.JPG"] = photo(when.addSecs(1), u"\u202EX100V"_s); // no turning of the text
        reader.facts["/p/海边/c.jpeg"] =
            photo(when.addDays(1), u"\u3000 \u3000"_s); // a model of blanks is none
        reader.facts["/p/海边/no-time"] = photo({}, u"X100V"_s);

        const InfoRule rule(InfoTemplate::parse(u"{目录名}{目录序号:2}_{序号:3}_{拍摄时间}"_s), &reader);
        PreviewCount count = previewPass(list, rule, rule.plan(list.fileCount(), {}));
        QCOMPARE(previews(list),
                 (QStringList{u"海边01_001_20240501_123456.jpg"_s, u"山01_002_20240501_123457.JPG"_s,
                              u"海边02_003_20240502_123456.jpeg"_s, QString()}));
        QCOMPARE(count.named, 3);
        QCOMPARE(count.missingInfo, 1);
        QCOMPARE(reader.asked, (QList<unsigned>(4, NeedCapture)));

        const InfoRule camera(InfoTemplate::parse(u"{相机}-{修改时间:yyMMdd}{扩展名}"_s), &reader);
        count = previewPass(list, camera, camera.plan(list.fileCount(), {}));
        QCOMPARE(previews(list), (QStringList{u"Canon_EOS R6-210304jpg.jpg"_s, u"X100V-210304JPG.JPG"_s,
                                              QString(), u"X100V-210304"_s}));
        QCOMPARE(count.missingInfo, 1);

        // Fields of the list alone read no file.
        reader.asked.clear();
        const InfoRule plain(InfoTemplate::parse(u"{原名}_{序号}"_s), &reader);
        previewPass(list, plain, plain.plan(list.fileCount(), {}));
        QCOMPARE(previews(list).first(), u"a_1.jpg"_s);
        QVERIFY(reader.asked.isEmpty());
        // Without a reader, a field of the files is never found.
        const InfoRule unread(InfoTemplate::parse(u"{拍摄时间}"_s), nullptr);
        QCOMPARE(previewPass(list, unread, unread.plan(list.fileCount(), {})).missingInfo, 4);
    }

    // Chained, {原名} is the name so far while the file is read where it lies; a row lacking a field
    // loses its earlier preview. Reading stops on the row where 取消 lands.
    void chainedAndStopped()
    {
        FileList list(m_fs);
        list.addFileRow("/p/", "a.jpg");
        list.addFileRow("/p/", "b.jpg");
        list.addFileRow("/p/", "c.jpg");
        list.setCell(0, ColPreview, u"海.jpg"_s);
        list.setCell(1, ColPreview, u"山.jpg"_s);
        FakeFacts reader;
        FileFacts camera;
        camera.camera = u"X100V"_s;
        reader.facts["/p/a.jpg"] = camera;
        reader.facts["/p/c.jpg"] = camera;
        const InfoRule rule(InfoTemplate::parse(u"{原名}_{相机}"_s), &reader);
        previewPass(list, rule, rule.plan(list.fileCount(), {}), {}, PreviewFrom::Previews);
        QCOMPARE(previews(list), (QStringList{u"海_X100V.jpg"_s, QString(), u"c_X100V.jpg"_s}));

        reader.asked.clear();
        const PreviewCount count =
            previewPass(list, rule, rule.plan(list.fileCount(), {}), [](int row) { return row < 1; });
        QVERIFY(count.stopped);
        QCOMPARE(reader.asked.size(), 1);
    }

    void soundFields()
    {
        FileList list(m_fs);
        list.addFileRow("/m/", "01.mp3");
        list.addFileRow("/m/", "02.mp3");
        FakeFacts reader;
        FileFacts song;
        song.artist = u"AC/DC"_s;
        song.title = u"T.N.T."_s;
        song.year = 1975;
        song.track = 3;
        song.duration = 90125; // a day and more
        reader.facts["/m/01.mp3"] = song;
        song.duration = 185;
        song.track = 0; // no track number
        reader.facts["/m/02.mp3"] = song;
        const InfoRule rule(InfoTemplate::parse(u"{艺术家} - {标题} ({年份}) {时长} {时长:m分ss秒}"_s),
                            &reader);
        previewPass(list, rule, rule.plan(list.fileCount(), {}));
        QCOMPARE(previews(list), (QStringList{u"AC_DC - T.N.T. (1975) 25-02-05 2分05秒.mp3"_s,
                                              u"AC_DC - T.N.T. (1975) 03-05 3分05秒.mp3"_s}));
        const InfoRule track(InfoTemplate::parse(u"{音轨:2}"_s), &reader);
        QCOMPARE(previewPass(list, track, track.plan(list.fileCount(), {})).missingInfo, 1);
        QCOMPARE(list.cell(0, ColPreview), u"03.mp3"_s);
    }
};

QTEST_GUILESS_MAIN(TestInfoRule)
#include "TestInfoRule.moc"

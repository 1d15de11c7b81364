// SPDX-License-Identifier: GPL-3.0-or-later
// What the libraries read of real files: EXIF times and their order, ID3 (v1 in GBK, v2.3, v2.4),
// Vorbis comments, an MP4's creation time, and damaged files.
#include "info/LibraryFileFacts.h"
#include "support/MediaFiles.h"
#include "support/TempTree.h"

#include <QStringEncoder>
#include <QTest>
#include <ctime>
#include <sys/stat.h>

using namespace tamsel;
using namespace tamsel::test;
using namespace Qt::StringLiterals;

namespace {

constexpr unsigned All = NeedCapture | NeedCamera | NeedSize | NeedTags | NeedDuration;

QByteArray encoded(const char* encoding, const QString& text)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

QByteArray gbk(const QString& text)
{
    return encoded("GB18030", text);
}

} // namespace

class TestFileFacts : public QObject {
    Q_OBJECT
    TempTree m_tree;
    const LibraryFileFacts m_reader;

private Q_SLOTS:
    void imagesTakeTheOriginalTimeFirst()
    {
        const QByteArray both = m_tree.write(
            "both.jpg", jpegWithExif({64, 48}, {{"Exif.Image.DateTime", "2030:01:01 00:00:00"},
                                                {"Exif.Photo.DateTimeDigitized", "2024:05:02 08:00:00"},
                                                {"Exif.Photo.DateTimeOriginal", "2024:05:01 12:34:56"},
                                                {"Exif.Image.Model", "Canon EOS R6"}}));
        FileFacts facts = m_reader.read(both, All);
        QCOMPARE(facts.captured, QDateTime(QDate(2024, 5, 1), QTime(12, 34, 56), Qt::UTC));
        QCOMPARE(facts.camera, u"Canon EOS R6"_s);
        QCOMPARE(QSize(facts.width, facts.height), QSize(64, 48));

        const QByteArray digitized = m_tree.write(
            "digitized.jpg", jpegWithExif({8, 8}, {{"Exif.Image.DateTime", "2030:01:01 00:00:00"},
                                                   {"Exif.Photo.DateTimeDigitized", "2024:05:02 08:00:00"}}));
        QCOMPARE(m_reader.read(digitized, NeedCapture).captured,
                 QDateTime(QDate(2024, 5, 2), QTime(8, 0), Qt::UTC));

        // Only the date a file was saved, or a camera whose clock was never set: no capture time.
        const QByteArray none =
            m_tree.write("none.jpg", jpegWithExif({8, 8}, {{"Exif.Image.DateTime", "2030:01:01 00:00:00"}}));
        QVERIFY(!m_reader.read(none, NeedCapture).captured.isValid());
        const QByteArray zeros = m_tree.write(
            "zeros.jpg", jpegWithExif({8, 8}, {{"Exif.Photo.DateTimeOriginal", "0000:00:00 00:00:00"}}));
        QVERIFY(!m_reader.read(zeros, NeedCapture).captured.isValid());
    }

    void mp3TagsOfEveryVersion()
    {
        const AudioTags tags{u"AC/DC 乐队"_s, u"晴天"_s, u"叶惠美"_s, 2003, 3};
        for (const int version : {3, 4}) {
            const QByteArray path = m_tree.write("v" + QByteArray::number(version) + ".mp3", mpegFrames(5));
            QVERIFY(writeId3v2(path, version, tags));
            const FileFacts facts = m_reader.read(path, NeedTags | NeedDuration);
            QCOMPARE(facts.artist, tags.artist);
            QCOMPARE(facts.title, tags.title);
            QCOMPARE(facts.album, tags.album);
            QCOMPARE(facts.year, 2003);
            QCOMPARE(facts.track, 3);
            QCOMPARE(facts.duration, 5);
        }
    }

    // Old Windows players wrote tags in the system's code page: GBK bytes where Latin-1 belongs.
    void legacyTextIsReadAsItWasWritten()
    {
        const QByteArray v1 =
            m_tree.write("v1.mp3", mpegFrames(1) + id3v1Tag(gbk(u"七里香"_s), gbk(u"周杰伦"_s),
                                                            gbk(u"七里香"_s), "2004", 7));
        FileFacts facts = m_reader.read(v1, NeedTags);
        QCOMPARE(facts.artist, u"周杰伦"_s);
        QCOMPARE(facts.title, u"七里香"_s);
        QCOMPARE(facts.year, 2004);
        QCOMPARE(facts.track, 7);

        const QByteArray latin1 = m_tree.write("latin1.mp3", mpegFrames(1));
        QVERIFY(writeLatin1Artist(latin1, gbk(u"周杰伦"_s)));
        QCOMPARE(m_reader.read(latin1, NeedTags).artist, u"周杰伦"_s);

        QCOMPARE(legacyTagText("Beyonc\xe9"), u"Beyoncé"_s);
        QCOMPARE(legacyTagText("Beyonc\xc3\xa9\0junk"), u"Beyoncé"_s);
        QCOMPARE(legacyTagText("ABBA"), u"ABBA"_s);
        QCOMPARE(legacyTagText(encoded("Big5", u"張學友 吻別"_s)), u"張學友 吻別"_s);
        QCOMPARE(legacyTagText(encoded("Shift_JIS", u"宇多田ヒカル"_s)), u"宇多田ヒカル"_s);
    }

    void flacComments()
    {
        const QByteArray path = m_tree.root() + "a.flac";
        QVERIFY(writeFlac(path, 185, {u"王菲"_s, u"红豆"_s, u"唱游"_s, 1998, 11}));
        const FileFacts facts = m_reader.read(path, NeedTags | NeedDuration);
        QCOMPARE(facts.artist, u"王菲"_s);
        QCOMPARE(facts.album, u"唱游"_s);
        QCOMPARE(facts.track, 11);
        QCOMPARE(facts.duration, 185);
    }

    // A video's creation time is UTC in the container, local time in a name.
    void videoCreationTimeInLocalTime()
    {
        const QByteArray path = m_tree.root() + "clip.mp4";
        QVERIFY(writeMp4(path, {320, 240}, "2023-07-08T09:10:11.000000Z"));
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "Asia/Shanghai");
        tzset();
        const FileFacts facts = m_reader.read(path, NeedCapture | NeedSize | NeedDuration);
        qputenv("TZ", zone);
        tzset();
        QCOMPARE(facts.captured.toString(u"yyyyMMdd_HHmmss"), u"20230708_171011"_s);
        QCOMPARE(QSize(facts.width, facts.height), QSize(320, 240));
        QCOMPARE(facts.duration, 2);
    }

    void damagedFilesGiveNothing()
    {
        QByteArray jpeg = jpegWithExif({64, 48}, {{"Exif.Photo.DateTimeOriginal", "2024:05:01 12:34:56"}});
        QByteArray mp4;
        QVERIFY(writeMp4(m_tree.root() + "whole.mp4", {8, 8}, "2023-07-08T09:10:11Z"));
        mp4 = contentOf(m_tree.root() + "whole.mp4");
        QByteArray noise(4096, '\0');
        for (qsizetype i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        const QList<QByteArray> damaged = {
            m_tree.write("cut.jpg", jpeg.left(40)),
            m_tree.write("cut.mp4", mp4.left(mp4.size() / 3)),
            m_tree.write("cut.mp3", id3v1Tag("x", "y", "z", "2000", 1).left(60)),
            m_tree.write("noise.jpg", noise),
            m_tree.write("noise.mp3", noise),
            m_tree.write("noise.mp4", noise),
            m_tree.write("empty.flac", {}),
            m_tree.root() + "missing.jpg",
            m_tree.root() + "fifo.mp3"};
        // Read, a FIFO would wait for a writer for ever.
        QCOMPARE(::mkfifo(QByteArray(m_tree.root() + "fifo.mp3").constData(), 0600), 0);
        for (const QByteArray& path : damaged) {
            const FileFacts facts = m_reader.read(path, All);
            QVERIFY2(!facts.captured.isValid() && facts.artist.isEmpty(), path.constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestFileFacts)
#include "TestFileFacts.moc"

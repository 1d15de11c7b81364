// SPDX-License-Identifier: GPL-3.0-or-later
// Small media files made for tests and benchmarks: images with EXIF, MP3 and FLAC with tags, an
// MP4 with a creation time. Written through the same libraries the program reads them with.
#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <utility>

namespace tamsel::test {

// A JPEG of size with the EXIF entries given (key, value), such as
// {"Exif.Photo.DateTimeOriginal", "2024:05:01 12:34:56"}.
QByteArray jpegWithExif(QSize size, const QList<std::pair<const char*, QByteArray>>& exif);

// MPEG-1 layer III frames (128 kbit/s, 44.1 kHz) lasting about seconds, without a tag.
QByteArray mpegFrames(int seconds);

// An ID3v1.1 tag of fields as bytes (cut to their widths).
QByteArray id3v1Tag(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                    const QByteArray& year, int track);

struct AudioTags {
    QString artist;
    QString title;
    QString album;
    int year = 0;
    int track = 0;
};

// Writes ID3v2 tags of version 3 or 4 into the MP3 at path.
bool writeId3v2(const QByteArray& path, int version, const AudioTags& tags);
// Writes an ID3v2.3 artist frame marked Latin-1 that holds bytes as they are (GBK, say).
bool writeLatin1Artist(const QByteArray& path, const QByteArray& bytes);

// A FLAC stream of seconds of 44.1 kHz stereo (its STREAMINFO only), then Vorbis comments by tags.
bool writeFlac(const QByteArray& path, int seconds, const AudioTags& tags);

// An MP4 with one video stream of size and the creation time ("2023-07-08T09:10:11Z", UTC).
bool writeMp4(const QByteArray& path, QSize size, const QByteArray& creationTime);

} // namespace tamsel::test

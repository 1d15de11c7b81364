// SPDX-License-Identifier: GPL-3.0-or-later
// 按文件信息命名 beside the libraries' own calls in a plain loop, on the same files, warm, in one process:
//   bench_info jpeg FILES DIR   capture times of JPEGs: exiv2 alone, then the preview of {拍摄时间}
//   bench_info mp3 FILES DIR    ID3v2 tags of MP3s: TagLib alone, then the preview of {艺术家} - {标题}
// Each prints the two medians of three runs in seconds. The files are made in DIR once.
#include "Median.h"
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/rules/InfoRule.h"
#include "info/LibraryFileFacts.h"
#include "support/MediaFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <exiv2/exiv2.hpp>
#include <taglib/fileref.h>
#include <taglib/tag.h>

using namespace tamsel;

namespace {

QList<QByteArray> makeFiles(const QByteArray& dir, int files, bool jpeg)
{
    QDir().mkpath(QString::fromLocal8Bit(dir));
    QList<QByteArray> paths;
    QByteArray sound;
    if (!jpeg)
        sound = test::mpegFrames(3);
    for (int i = 0; i < files; ++i) {
        const QByteArray path = dir + "/" + QByteArray::number(i) + (jpeg ? ".jpg" : ".mp3");
        paths << path;
        if (QFile::exists(QString::fromLocal8Bit(path)))
            continue;
        QFile out(QString::fromLocal8Bit(path));
        if (jpeg) {
            const QByteArray when = QDateTime(QDate(2024, 1, 1), QTime(0, 0))
                                        .addSecs(i * 61)
                                        .toString(u"yyyy:MM:dd HH:mm:ss")
                                        .toLatin1();
            out.open(QIODevice::WriteOnly);
            out.write(test::jpegWithExif(
                {64, 48}, {{"Exif.Photo.DateTimeOriginal", when}, {"Exif.Image.Model", "Bench"}}));
        } else {
            out.open(QIODevice::WriteOnly);
            out.write(sound);
            out.close();
            test::writeId3v2(path, 4,
                             {QStringLiteral("艺术家 %1").arg(i % 50), QStringLiteral("歌 %1").arg(i),
                              QStringLiteral("专辑"), 2000 + i % 20, i % 12 + 1});
        }
    }
    return paths;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const bool jpeg = qstrcmp(argv[1], "jpeg") == 0;
    const QList<QByteArray> paths = makeFiles(argv[3], QByteArray(argv[2]).toInt(), jpeg);
    PosixFileSystem fs;
    FileList list(fs);
    for (const QByteArray& path : paths)
        list.addFileRow(path);
    const LibraryFileFacts reader;
    std::string sink;
    const auto plain = [&] {
        sink.clear();
        for (const QByteArray& path : paths) {
            if (jpeg) {
                try {
                    auto image = Exiv2::ImageFactory::open(path.toStdString());
                    image->readMetadata();
                    const auto it = image->exifData().findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
                    if (it != image->exifData().end())
                        sink += it->toString();
                } catch (...) {
                }
            } else {
                const TagLib::FileRef file(path.constData(), false);
                if (!file.isNull() && file.tag())
                    sink += file.tag()->artist().to8Bit(true) + file.tag()->title().to8Bit(true);
            }
        }
    };
    const InfoRule rule(
        InfoTemplate::parse(jpeg ? QStringLiteral("{拍摄时间}") : QStringLiteral("{艺术家} - {标题}")),
        &reader);
    plain(); // the files into the cache
    const double limit = medianSeconds(plain);
    PreviewCount count;
    const double ours =
        medianSeconds([&] { count = previewPass(list, rule, rule.plan(list.fileCount(), {})); });
    if (count.named != list.fileCount()) {
        std::fprintf(stderr, "only %d of %d files named (first: %s)\n", count.named, list.fileCount(),
                     qPrintable(list.cell(0, ColPreview)));
        return 1;
    }
    std::printf("%.6f\t%.6f\n", limit, ours);
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/MediaFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <exiv2/exiv2.hpp>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/xiphcomment.h>

extern "C" {
#include <libavformat/avformat.h>
}

namespace tamsel::test {

namespace {

TagLib::String tagText(const QString& text)
{
    return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

void setTags(TagLib::Tag* tag, const AudioTags& tags)
{
    tag->setArtist(tagText(tags.artist));
    tag->setTitle(tagText(tags.title));
    tag->setAlbum(tagText(tags.album));
    tag->setYear(unsigned(tags.year));
    tag->setTrack(unsigned(tags.track));
}

} // namespace

QByteArray jpegWithExif(QSize size, const QList<std::pair<const char*, QByteArray>>& exif)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 50);
    if (exif.isEmpty())
        return jpeg;
    auto out =
        Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()), long(jpeg.size()));
    out->readMetadata();
    Exiv2::ExifData data;
    for (const auto& [key, value] : exif)
        data[key] = std::string(value.constData(), size_t(value.size()));
    out->setExifData(data);
    out->writeMetadata();
    Exiv2::BasicIo& io = out->io();
    io.seek(0, Exiv2::BasicIo::beg);
    const Exiv2::DataBuf read = io.read(io.size());
#if EXIV2_TEST_VERSION(0, 28, 0)
    return QByteArray(reinterpret_cast<const char*>(read.c_data()), qsizetype(read.size()));
#else
    return QByteArray(reinterpret_cast<const char*>(read.pData_), qsizetype(read.size_));
#endif
}

QByteArray mpegFrames(int seconds)
{
    // 1152 samples a frame at 44.1 kHz; 128 kbit/s gives 417 bytes a frame without padding.
    const int frames = seconds * 44100 / 1152 + 1;
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x00);
    return frame.repeated(frames);
}

QByteArray id3v1Tag(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                    const QByteArray& year, int track)
{
    const auto field = [](const QByteArray& text, int width) -> QByteArray {
        return text.left(width) + QByteArray(width - std::min<int>(width, int(text.size())), '\0');
    };
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
           QByteArray(28, '\0') + '\0' + char(track) + char(255);
}

bool writeId3v2(const QByteArray& path, int version, const AudioTags& tags)
{
    TagLib::MPEG::File file(path.constData());
    if (!file.isValid())
        return false;
    setTags(file.ID3v2Tag(true), tags);
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
                     version == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4);
}

bool writeLatin1Artist(const QByteArray& path, const QByteArray& bytes)
{
    TagLib::MPEG::File file(path.constData());
    if (!file.isValid())
        return false;
    auto* frame = new TagLib::ID3v2::TextIdentificationFrame("TPE1", TagLib::String::Latin1);
    // Each byte one Latin-1 character: written back as the same bytes.
    frame->setText(TagLib::String(TagLib::ByteVector(bytes.constData(), unsigned(bytes.size())),
                                  TagLib::String::Latin1));
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
    tag->removeFrames("TPE1");
    tag->addFrame(frame);
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, TagLib::ID3v2::v3);
}

bool writeFlac(const QByteArray& path, int seconds, const AudioTags& tags)
{
    // STREAMINFO: block sizes, frame sizes unknown, 44100 Hz, 2 channels, 16 bits, the samples.
    QByteArray info("fLaC");
    info += QByteArray::fromHex("80000022"); // the last block, STREAMINFO, 34 bytes
    info += QByteArray::fromHex("10001000000000000000");
    const quint64 samples = quint64(seconds) * 44100;
    const quint64 packed = (quint64(44100) << 44) | (quint64(1) << 41) | (quint64(15) << 36) | samples;
    for (int shift = 56; shift >= 0; shift -= 8)
        info += char((packed >> shift) & 0xFF);
    info += QByteArray(16, '\0'); // MD5 unknown
    QFile out(QString::fromLocal8Bit(path));
    if (!out.open(QIODevice::WriteOnly) || out.write(info) != info.size())
        return false;
    out.close();
    TagLib::FLAC::File file(path.constData());
    if (!file.isValid())
        return false;
    setTags(file.xiphComment(true), tags);
    return file.save();
}

bool writeMp4(const QByteArray& path, QSize size, const QByteArray& creationTime)
{
    AVFormatContext* context = nullptr;
    if (avformat_alloc_output_context2(&context, nullptr, "mp4", path.constData()) < 0)
        return false;
    AVStream* stream = avformat_new_stream(context, nullptr);
    stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    stream->codecpar->codec_id = AV_CODEC_ID_MJPEG;
    stream->codecpar->width = size.width();
    stream->codecpar->height = size.height();
    stream->time_base = {1, 25};
    av_dict_set(&context->metadata, "creation_time", creationTime.constData(), 0);
    bool ok = avio_open(&context->pb, path.constData(), AVIO_FLAG_WRITE) >= 0 &&
              avformat_write_header(context, nullptr) >= 0;
    if (ok) {
        for (int i = 0; i < 50 && ok; ++i) {
            AVPacket* packet = av_packet_alloc();
            av_new_packet(packet, 64);
            packet->stream_index = 0;
            packet->pts = packet->dts = av_rescale_q(i, {1, 25}, stream->time_base);
            packet->duration = av_rescale_q(1, {1, 25}, stream->time_base);
            packet->flags = AV_PKT_FLAG_KEY;
            ok = av_interleaved_write_frame(context, packet) >= 0;
            av_packet_free(&packet);
        }
        ok = av_write_trailer(context) >= 0 && ok;
    }
    if (context->pb)
        avio_closep(&context->pb);
    avformat_free_context(context);
    return ok;
}

} // namespace tamsel::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/LibraryFileFacts.h"

#include "core/rename/NameRepair.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <exiv2/exiv2.hpp>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/tag.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfilestream.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

#include <mutex>
#include <sys/stat.h>

namespace tamsel {

namespace {

TagLib::String toTagLib(const QString& text)
{
    return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

QString fromTagLib(const TagLib::String& text)
{
    return QString::fromUtf8(text.toCString(true));
}

class LegacyId3v1 final : public TagLib::ID3v1::StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override
    {
        return toTagLib(legacyTagText(QByteArrayView(data.data(), data.size())).trimmed());
    }
};

class LegacyLatin1 final : public TagLib::ID3v2::Latin1StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override
    {
        return toTagLib(legacyTagText(QByteArrayView(data.data(), data.size())));
    }
};

class Silent final : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

void setUpLibraries()
{
    static const LegacyId3v1 id3v1;
    static const LegacyLatin1 latin1;
    static Silent silent;
    TagLib::ID3v1::Tag::setStringHandler(&id3v1);
    TagLib::ID3v2::Tag::setLatin1StringHandler(&latin1);
    TagLib::setDebugListener(&silent);
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    // XMP's parser is set up once before threads use it.
    Exiv2::XmpParser::initialize();
    Exiv2::enableBMFF(true);
    av_log_set_level(AV_LOG_QUIET);
}

// The first fourteen digits of "2024:05:01 12:34:56" (EXIF, local) or "2024-05-01T12:34:56Z"
// (containers, utc), as local time (see FileFacts::captured).
QDateTime timeOfDigits(QByteArrayView text, bool utc)
{
    int fields[6] = {};
    const int widths[6] = {4, 2, 2, 2, 2, 2};
    qsizetype i = 0;
    for (int f = 0; f < 6; ++f) {
        while (i < text.size() && (text[i] < '0' || text[i] > '9'))
            ++i;
        for (int d = 0; d < widths[f]; ++d, ++i) {
            if (i >= text.size() || text[i] < '0' || text[i] > '9')
                return {};
            fields[f] = fields[f] * 10 + (text[i] - '0');
        }
    }
    const QDateTime when(QDate(fields[0], fields[1], fields[2]), QTime(fields[3], fields[4], fields[5]),
                         Qt::UTC);
    // Cameras without a set clock write zeros; containers without a time write their epoch.
    if (!when.isValid() || fields[0] < 1971)
        return {};
    if (!utc)
        return when;
    const QDateTime local = when.toLocalTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

QByteArray untilNul(const std::string& text)
{
    const size_t nul = text.find('\0');
    return QByteArray(text.data(), qsizetype(nul == std::string::npos ? text.size() : nul));
}

bool readImage(const QByteArray& path, unsigned needs, FileFacts& facts)
{
    try {
        const auto image = Exiv2::ImageFactory::open(std::string(path.constData(), size_t(path.size())));
        if (!image.get())
            return false;
        image->readMetadata();
        const Exiv2::ExifData& exif = image->exifData();
        const auto text = [&exif](const char* key) {
            const auto it = exif.findKey(Exiv2::ExifKey(key));
            return it == exif.end() ? QByteArray() : untilNul(it->toString());
        };
        if (needs & NeedCapture) {
            facts.captured = timeOfDigits(text("Exif.Photo.DateTimeOriginal"), false);
            if (!facts.captured.isValid())
                facts.captured = timeOfDigits(text("Exif.Photo.DateTimeDigitized"), false);
        }
        if (needs & NeedCamera)
            facts.camera = legacyTagText(text("Exif.Image.Model")).trimmed();
        if (needs & NeedSize) {
            facts.width = image->pixelWidth();
            facts.height = image->pixelHeight();
        }
        return true;
    } catch (...) {
        // Not an image exiv2 knows, or one too damaged to read.
        return false;
    }
}

bool readVideo(const QByteArray& path, unsigned needs, FileFacts& facts)
{
    AVDictionary* options = nullptr;
    // Only the file itself: no network, no playlist that names other files.
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    // Containers whose headers tell size and length; MPEG-TS and FLV would need their streams read.
    av_dict_set(&options, "format_whitelist", "mov,mp4,matroska,webm,avi,asf", 0);
    AVFormatContext* context = nullptr;
    const QByteArray url = "file:" + path;
    const int opened = avformat_open_input(&context, url.constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return false;
    const auto meta = [context](const char* key) {
        const AVDictionaryEntry* entry = av_dict_get(context->metadata, key, nullptr, 0);
        return entry ? QByteArray(entry->value) : QByteArray();
    };
    if (needs & NeedCapture)
        facts.captured = timeOfDigits(meta("creation_time"), true);
    if (needs & NeedCamera) {
        QByteArray model = meta("com.apple.quicktime.model");
        if (model.isEmpty())
            model = meta("model");
        facts.camera = QString::fromUtf8(model).trimmed();
    }
    if (needs & NeedSize) {
        for (unsigned s = 0; s < context->nb_streams; ++s) {
            const AVStream* stream = context->streams[s];
            if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
                !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC) && stream->codecpar->width > 0) {
                facts.width = stream->codecpar->width;
                facts.height = stream->codecpar->height;
                break;
            }
        }
    }
    // A hostile header may claim any length: up to a hundred years is believed.
    constexpr qint64 MostSeconds = qint64(100) * 366 * 24 * 3600;
    if ((needs & NeedDuration) && context->duration != AV_NOPTS_VALUE && context->duration >= 0 &&
        context->duration / AV_TIME_BASE < MostSeconds)
        facts.duration = int((context->duration + AV_TIME_BASE / 2) / AV_TIME_BASE);
    avformat_close_input(&context);
    return true;
}

bool readTags(const QByteArray& path, unsigned needs, FileFacts& facts)
{
    // Opened for reading only: opened for writing, every file read would tell watchers it changed.
    TagLib::FileStream stream(path.constData(), true);
    if (!stream.isOpen())
        return false;
    const TagLib::FileRef file(&stream, (needs & NeedDuration) != 0, TagLib::AudioProperties::Fast);
    if (file.isNull())
        return false;
    if (const TagLib::Tag* tag = file.tag(); tag && (needs & NeedTags)) {
        facts.artist = fromTagLib(tag->artist());
        facts.title = fromTagLib(tag->title());
        facts.album = fromTagLib(tag->album());
        facts.year = int(tag->year());
        facts.track = int(tag->track());
    }
    // A video's MP4 without sound has no length here: the container tells it.
    if (const TagLib::AudioProperties* audio = file.audioProperties();
        audio && (needs & NeedDuration) && audio->lengthInMilliseconds() > 0)
        facts.duration = audio->lengthInSeconds();
    return true;
}

} // namespace

LibraryFileFacts::LibraryFileFacts()
{
    static std::once_flag once;
    std::call_once(once, setUpLibraries);
}

FileFacts LibraryFileFacts::read(const QByteArray& path, unsigned needs) const
{
    FileFacts facts;
    // A FIFO or a device listed among the files would block the reading, or never end it.
    struct stat st {};
    if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return facts;
    const unsigned picture = needs & (NeedCapture | NeedCamera | NeedSize);
    const unsigned sound = needs & (NeedTags | NeedDuration);
    // Images through exiv2; what it cannot open, or where it finds nothing asked for (exiv2 takes
    // an MP4 for an image of the same box format), may be a video.
    // Nothing a library throws (out of memory, say) may end the pass.
    try {
        if (picture && (!readImage(path, picture, facts) ||
                        (!facts.captured.isValid() && facts.camera.isEmpty() && facts.width == 0)))
            readVideo(path, picture | (needs & NeedDuration), facts);
        if (sound)
            readTags(path, sound, facts);
        if ((needs & NeedDuration) && facts.duration < 0)
            readVideo(path, NeedDuration, facts);
    } catch (...) {
        return {};
    }
    return facts;
}

QString legacyTagText(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    if (const auto utf8 = decodeStrictly(QStringConverter::Utf8, bytes))
        return *utf8;
    if (const auto repaired = repairedName(decodeName(bytes), bytes, SourceEncoding::Auto))
        return *repaired;
    return QString::fromLatin1(bytes);
}

} // namespace tamsel

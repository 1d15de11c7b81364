// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target "info": the readers of src/info over a file of the input's bytes. The first
// byte picks the name's extension, which steers TagLib; exiv2 and libavformat go by content. No
// input may crash, and what is read makes a safe name.
#include "core/rename/rules/InfoRule.h"
#include "info/LibraryFileFacts.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

using namespace tamsel;

namespace {

void checkSafe(const QString& value)
{
    const QString safe = nameSafe(value);
    for (const QChar c : safe) {
        if (c == u'/' || c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F) ||
            c.unicode() == 0x202E) {
            std::fprintf(stderr, "invariant broken: a value made safe holds U+%04X\n", c.unicode());
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    static const char* const extensions[] = {".jpg", ".mp3", ".flac", ".ogg",  ".m4a", ".wma",
                                             ".mp4", ".mkv", ".png",  ".opus", ".wav", ".tif"};
    static const LibraryFileFacts reader;
    if (size == 0)
        return 0;
    const QByteArray path = "/dev/shm/tamsel-fuzz-info-" + QByteArray::number(::getpid()) +
                            extensions[bytes[0] % std::size(extensions)];
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return 0;
    const bool written = ::write(fd, bytes + 1, size - 1) == ssize_t(size - 1);
    ::close(fd);
    if (written) {
        const FileFacts facts =
            reader.read(path, NeedCapture | NeedCamera | NeedSize | NeedTags | NeedDuration);
        for (const QString* value : {&facts.camera, &facts.artist, &facts.title, &facts.album})
            checkSafe(*value);
    }
    ::unlink(path.constData());
    return 0;
}

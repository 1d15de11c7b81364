// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/NameFile.h"

#include "core/platform/FileSystem.h"
#include "core/text/Iconv.h"
#include "core/text/PlainText.h"

#include <cerrno>

namespace tamsel {
namespace {

std::optional<QString> fromGb18030(const QByteArray& bytes)
{
    Iconv gb18030("UTF-8", "GB18030");
    const auto utf8 = gb18030.convertReplacing(bytes);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}
} // namespace

std::optional<QString> decodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xef\xbb\xbf"))
        return bytes.contains('\0') ? std::nullopt
                                    : decodeStrictly(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
    if (bytes.startsWith("\xff\xfe"))
        return decodeStrictly(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2));
    if (bytes.startsWith("\xfe\xff"))
        return decodeStrictly(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2));
    if (bytes.contains('\0'))
        return std::nullopt;
    if (auto utf8 = decodeStrictly(QStringConverter::Utf8, bytes))
        return utf8;
    return fromGb18030(bytes);
}

LoadedNames loadNameFile(const FileSystem& fs, const QByteArray& path)
{
    if (!fs.fileExists(path))
        return {};
    const auto bytes = fs.readFile(path, NameFileLimit);
    if (!bytes)
        return {QString(), bytes.error() == EFBIG ? NameFileRefusal::TooLarge : NameFileRefusal::Unreadable};
    return namesFromBytes(*bytes);
}

LoadedNames namesFromBytes(const QByteArray& bytes)
{
    const auto text = decodeText(bytes);
    if (!text)
        return {QString(), NameFileRefusal::NotText};
    LoadedNames loaded;
    for (const QStringView line : splitLines(*text)) {
        const QString name = leftTrimBlanks(line);
        if (!name.isEmpty())
            loaded.text += name + u'\n';
    }
    return loaded;
}

} // namespace tamsel

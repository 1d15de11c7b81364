// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/NameCodec.h"

#include <algorithm>
#include <utility>

namespace tamsel {
namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isEscape(QChar c)
{
    return c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF;
}

// The length of the valid UTF-8 sequence at p (at most end), or 0 when there is none.
int sequenceLength(const uchar* p, const uchar* end)
{
    const uchar b = p[0];
    const auto tail = [&](int i) { return p + i < end && (p[i] & 0xC0) == 0x80; };
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return tail(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (!tail(1) || !tail(2))
            return 0;
        // No overlong forms and no encoded surrogates.
        if ((b == 0xE0 && p[1] < 0xA0) || (b == 0xED && p[1] >= 0xA0))
            return 0;
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (!tail(1) || !tail(2) || !tail(3))
            return 0;
        if ((b == 0xF0 && p[1] < 0x90) || (b == 0xF4 && p[1] >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

// Calls escaped(i) for every character of text that stands for a byte; the halves of a valid
// surrogate pair never do.
template <typename F> void forEachEscape(QStringView text, F escaped)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (isEscape(text[i]))
            escaped(i);
    }
}

} // namespace

QString decodeName(QByteArrayView bytes, qsizetype spare)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const auto* end = p + bytes.size();
    if (std::all_of(p, end, [](uchar b) { return b < 0x80; })) {
        QString text;
        text.reserve(bytes.size() + spare);
        text.append(QLatin1StringView(bytes));
        return text;
    }
    // By hand: Qt's decoders drop a byte-order mark, which a file name may well begin with.
    QString text(bytes.size() + spare, Qt::Uninitialized);
    QChar* out = text.data();
    while (p < end) {
        const int n = sequenceLength(p, end);
        if (n == 0) {
            *out++ = QChar(char16_t(EscapeBase + *p++));
            continue;
        }
        char32_t c = n == 1 ? p[0] : p[0] & (0x7F >> n);
        for (int i = 1; i < n; ++i)
            c = (c << 6) | (p[i] & 0x3F);
        p += n;
        if (c >= 0x10000) {
            *out++ = QChar::highSurrogate(c);
            *out++ = QChar::lowSurrogate(c);
        } else {
            *out++ = QChar(char16_t(c));
        }
    }
    text.resize(out - text.data()); // keeps the room
    return text;
}

qsizetype encodeNameTo(QStringView text, char* out, qsizetype capacity)
{
    qsizetype n = 0;
    const auto put = [&](uint byte) {
        if (n >= capacity)
            return false;
        out[n++] = char(byte);
        return true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        const bool escaped = c >= EscapeBase + 0x80u && c <= EscapeBase + 0xFFu;
        if (QChar::isSurrogate(c) && !escaped)
            return -1;
        bool ok = true;
        if (escaped)
            ok = put(c - EscapeBase);
        else if (c < 0x80)
            ok = put(c);
        else if (c < 0x800)
            ok = put(0xC0 | (c >> 6)) && put(0x80 | (c & 0x3F));
        else if (c < 0x10000)
            ok = put(0xE0 | (c >> 12)) && put(0x80 | ((c >> 6) & 0x3F)) && put(0x80 | (c & 0x3F));
        else
            ok = put(0xF0 | (c >> 18)) && put(0x80 | ((c >> 12) & 0x3F)) && put(0x80 | ((c >> 6) & 0x3F)) &&
                 put(0x80 | (c & 0x3F));
        if (!ok)
            return -1;
    }
    return n;
}

std::optional<QByteArray> encodeName(QStringView text)
{
    QByteArray bytes(text.size() * 3, Qt::Uninitialized); // three bytes a code unit at the most
    const qsizetype n = encodeNameTo(text, bytes.data(), bytes.size());
    if (n < 0)
        return std::nullopt;
    bytes.truncate(n);
    return bytes;
}

bool hasEscapes(QStringView text)
{
    bool found = false;
    forEachEscape(text, [&](qsizetype) { found = true; });
    return found;
}

namespace {

// What a control or direction character shows as: C0 and DEL as their control pictures, the others
// by name between ⟦ ⟧; nothing for other characters.
QString visibleMark(char16_t c)
{
    if (c < 0x20)
        return QChar(char16_t(0x2400 + c));
    if (c == 0x7F)
        return QChar(char16_t(0x2421));
    static constexpr struct {
        char16_t c;
        const char* name;
    } Named[] = {{0x061C, "ALM"}, {0x200E, "LRM"}, {0x200F, "RLM"}, {0x202A, "LRE"},
                 {0x202B, "RLE"}, {0x202C, "PDF"}, {0x202D, "LRO"}, {0x202E, "RLO"},
                 {0x2066, "LRI"}, {0x2067, "RLI"}, {0x2068, "FSI"}, {0x2069, "PDI"}};
    for (const auto& n : Named) {
        if (n.c == c)
            return u'⟦' + QLatin1StringView(n.name) + u'⟧';
    }
    if (c >= 0x80 && c <= 0x9F)
        return QStringLiteral("⟦U+") + QString::number(c, 16).toUpper().rightJustified(4, u'0') + u'⟧';
    return {};
}

} // namespace

QString escapesShown(QStringView text)
{
    QString shown = text.toString();
    forEachEscape(text, [&](qsizetype i) { shown[i] = QChar::ReplacementCharacter; });
    return shown;
}

QString displayName(QStringView text)
{
    const QString shown = escapesShown(text);
    // Controls and direction changes show as marks: a name never reads as what it is not.
    const auto marked = [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x061C || u == 0x200E || u == 0x200F ||
               (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
    };
    if (std::none_of(shown.cbegin(), shown.cend(), marked))
        return shown;
    QString out;
    out.reserve(shown.size() + 16);
    for (const QChar c : std::as_const(shown)) {
        if (marked(c))
            out += visibleMark(c.unicode());
        else
            out += c;
    }
    return out;
}

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Iconv.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace tamsel {

Iconv::Iconv(const char* to, const char* from) : m_cd(::iconv_open(to, from)) {}

Iconv::~Iconv()
{
    if (m_cd != reinterpret_cast<void*>(-1))
        ::iconv_close(static_cast<iconv_t>(m_cd));
}

std::optional<QByteArray> Iconv::convert(QByteArrayView bytes)
{
    return run(bytes, false);
}

std::optional<QByteArray> Iconv::convertReplacing(QByteArrayView bytes)
{
    return run(bytes, true);
}

std::optional<QByteArray> Iconv::run(QByteArrayView bytes, bool replace)
{
    if (m_cd == reinterpret_cast<void*>(-1))
        return std::nullopt;
    const auto cd = static_cast<iconv_t>(m_cd);
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr); // a fresh start: no state from the last text
    // Four bytes out for each byte in at the most, replacements included.
    QByteArray out(bytes.size() * 4 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char* outPtr = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (::iconv(cd, &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
            continue;
        if (!replace || (errno != EILSEQ && errno != EINVAL) || outLeft < 3)
            return std::nullopt;
        std::memcpy(outPtr, "\xef\xbf\xbd", 3);
        outPtr += 3;
        outLeft -= 3;
        ++in;
        --inLeft;
    }
    // A stateful encoding ends in its initial state.
    if (::iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == size_t(-1))
        return std::nullopt;
    out.truncate(outPtr - out.data());
    return out;
}

} // namespace tamsel

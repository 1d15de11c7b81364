// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace tamsel {

// One glibc iconv conversion, opened once and used for many strings.
class Iconv {
public:
    Iconv(const char* to, const char* from);
    ~Iconv();
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // The bytes converted whole; nothing when a byte sequence is invalid or has no counterpart.
    std::optional<QByteArray> convert(QByteArrayView bytes);
    // As convert, except that a byte no character starts with becomes U+FFFD (to UTF-8 only).
    std::optional<QByteArray> convertReplacing(QByteArrayView bytes);

private:
    std::optional<QByteArray> run(QByteArrayView bytes, bool replace);
    void* m_cd;
};

} // namespace tamsel

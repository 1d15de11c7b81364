// SPDX-License-Identifier: GPL-3.0-or-later
// Facts of files through exiv2 (images), TagLib (audio tags) and libavformat (video containers).
#pragma once

#include "core/info/FileFacts.h"

#include <QByteArrayView>

namespace tamsel {

class LibraryFileFacts final : public FileFactsReader {
public:
    // Sets what the libraries share by the process (their logs, TagLib's legacy text hooks) once.
    LibraryFileFacts();
    FileFacts read(const QByteArray& path, unsigned needs) const override;
};

// Text of a tag stored as one-byte text (ID3v1, ID3v2 frames marked Latin-1, EXIF strings), up to
// its first NUL: GBK, Big5 or Shift_JIS read as such when that is what the bytes most likely are,
// UTF-8 as UTF-8, else Latin-1.
QString legacyTagText(QByteArrayView bytes);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// What files say about themselves (capture time, camera, size, audio tags), read by libraries core
// cannot link (src/info).
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace tamsel {

// The groups of facts a reader is asked for: it reads no more than it is asked.
enum FactNeed : unsigned {
    NeedCapture = 1,   // capture time
    NeedCamera = 2,    // camera model
    NeedSize = 4,      // width and height in pixels
    NeedTags = 8,      // artist, title, album, year, track
    NeedDuration = 16, // length in seconds
    NeedAll = 31
};

// What was found; a fact not found is left empty, invalid or zero.
struct FileFacts {
    // The time on the clock where it was taken, local time, held in Qt::UTC so that no time zone
    // moves it again (EXIF has no zone; a container's UTC time is made local once).
    QDateTime captured;
    QString camera;
    int width = 0;
    int height = 0;
    QString artist;
    QString title;
    QString album;
    int year = 0;
    int track = 0;
    int duration = -1; // seconds
};

class FileFactsReader {
public:
    virtual ~FileFactsReader() = default;
    // The facts of the file at path (bytes, as on disk) that needs asks for. A damaged or hostile
    // file gives what could be read, or nothing. Safe to call on any thread, one file a call.
    virtual FileFacts read(const QByteArray& path, unsigned needs) const = 0;
};

} // namespace tamsel

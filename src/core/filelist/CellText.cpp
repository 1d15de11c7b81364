// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/CellText.h"

#include <QDateTime>
#include <QLocale>

namespace tamsel {

QStringView mainNameOf(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QStringView extensionOf(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QStringView() : name.mid(dot + 1);
}

QString fileTypeText(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? NoExtensionMarker : name.mid(dot + 1).toString();
}

QString sizeText(qint64 bytes)
{
    const float kb = float(double(bytes) / 1024.0);
    // %G with seven digits: fixed form up to 9999999, exponent form beyond, no trailing zeros.
    return QString::asprintf("%.7G", double(kb)) + QStringLiteral(" KB ");
}

namespace {

// The locale's long time format carries the time zone; the cell shows local time without it.
QString timeWithSecondsFormat(const QLocale& locale)
{
    const QString longFormat = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : longFormat) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    return out.trimmed();
}

struct TimeFormats {
    QLocale locale = QLocale::system();
    QString date = locale.dateFormat(QLocale::ShortFormat);
    QString time = timeWithSecondsFormat(locale);
};

} // namespace

QString timeText(qint64 msecsSinceEpoch)
{
    static const TimeFormats formats;
    const QDateTime dt = QDateTime::fromSecsSinceEpoch(msecsSinceEpoch / 1000 - (msecsSinceEpoch % 1000 < 0));
    const QString date = formats.locale.toString(dt.date(), formats.date);
    if (dt.time() == QTime(0, 0))
        return date;
    return date + u' ' + formats.locale.toString(dt.time(), formats.time);
}

} // namespace tamsel

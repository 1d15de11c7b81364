// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/RuleText.h"

#include "core/filelist/CellText.h"
#include "core/rename/Numbering.h"
#include "core/text/PlainText.h"

#include <algorithm>

namespace tamsel {

QString joinNameAndExtension(const QString& main, QStringView extension)
{
    qsizetype dots = 0;
    while (dots < extension.size() && extension[dots] == u'.')
        ++dots;
    const QStringView ext = extension.mid(dots);
    if (isBlank(ext) || trimBlanks(ext) == NoExtensionMarker)
        return main;
    return main + u'.' + ext;
}

void appendCased(QString& out, QStringView text, bool upper)
{
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            out +=
                QChar(upper ? (u >= u'a' && u <= u'z' ? u - 32 : u) : (u >= u'A' && u <= u'Z' ? u + 32 : u));
        }
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        // QChar leaves a letter whose full mapping differs as it is; İ has a simple one, i.
        const char32_t cased = upper ? QChar::toUpper(c) : c == 0x0130 ? U'i' : QChar::toLower(c);
        if (QChar::requiresSurrogates(cased))
            out.append(QChar(QChar::highSurrogate(cased))).append(QChar(QChar::lowSurrogate(cased)));
        else
            out.append(QChar(char16_t(cased)));
    }
}

int readCount(const QString& text)
{
    // The boxes take two digits and the spin goes to 100: clamp anything else into that range.
    return int(std::min<qint64>(readNumber(text).value_or(0), 32767));
}

Characters::Characters(QStringView text) : m_text(text)
{
    // Without surrogate pairs a character is a code unit: nothing to count.
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isHighSurrogate(); }))
        return;
    for (qsizetype i = 0; i < text.size(); ++i) {
        m_starts.push_back(i);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    m_starts.push_back(text.size());
}

QStringView Characters::mid(qsizetype from, qsizetype count) const
{
    if (count <= 0 || from >= this->count())
        return {};
    const qsizetype end = std::min(from + count, this->count());
    return m_text.mid(at(from), at(end) - at(from));
}

} // namespace tamsel

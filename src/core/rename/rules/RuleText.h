// SPDX-License-Identifier: GPL-3.0-or-later
// Text work several rules share.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace tamsel {

// main + "." + extension, the extension's leading dots removed; the main name alone when the
// extension is blank or the no-extension marker.
QString joinNameAndExtension(const QString& main, QStringView extension);

// Appends text in upper or lower case, each character mapped to one (the simple case mapping:
// ß stays ß, İ becomes i), so that a name keeps its length; ASCII at once.
void appendCased(QString& out, QStringView text, bool upper);

// A position or count box: an empty or unreadable box counts as 0; anything beyond clamped.
int readCount(const QString& text);

// A name measured in characters as the user sees them: a surrogate pair is one character, and so
// is a lone surrogate standing for a byte.
class Characters {
public:
    explicit Characters(QStringView text);
    qsizetype count() const { return m_starts.isEmpty() ? m_text.size() : m_starts.size() - 1; }
    // count characters from character `from`, clamped to the text.
    QStringView mid(qsizetype from, qsizetype count) const;

private:
    // Where character k starts.
    qsizetype at(qsizetype k) const { return m_starts.isEmpty() ? k : m_starts[k]; }

    QStringView m_text;
    QList<qsizetype> m_starts;
};

} // namespace tamsel

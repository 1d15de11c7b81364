// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/rules/InfoRule.h"

#include <QTime>

namespace tamsel {

namespace {

enum class FormatKind { None, Width, DateTime, Time };

FormatKind formatKind(InfoField field)
{
    switch (field) {
    case InfoField::Counter:
    case InfoField::FolderCounter:
    case InfoField::Track:
        return FormatKind::Width;
    case InfoField::Modified:
    case InfoField::Created:
    case InfoField::Captured:
        return FormatKind::DateTime;
    case InfoField::Duration:
        return FormatKind::Time;
    default:
        return FormatKind::None;
    }
}

const InfoFieldName* findField(QStringView name)
{
    for (const InfoFieldName& f : infoFieldNames()) {
        if (name == QStringView(f.name))
            return &f;
    }
    return nullptr;
}

QString padded(qint64 n, int width)
{
    return QString::number(n).rightJustified(width, u'0');
}

QString dateTime(const QDateTime& when, const QString& format)
{
    return when.toString(format.trimmed().isEmpty() ? QStringLiteral("yyyyMMdd_HHmmss") : format);
}

} // namespace

const std::vector<InfoFieldName>& infoFieldNames()
{
    static const std::vector<InfoFieldName> names = {
        {InfoField::MainName, u"原名", 0},
        {InfoField::Extension, u"扩展名", 0},
        {InfoField::FolderName, u"目录名", 0},
        {InfoField::Counter, u"序号", 0},
        {InfoField::FolderCounter, u"目录序号", 0},
        {InfoField::Modified, u"修改时间", 0},
        {InfoField::Created, u"创建时间", 0},
        {InfoField::Captured, u"拍摄时间", NeedCapture},
        {InfoField::Camera, u"相机", NeedCamera},
        {InfoField::Width, u"宽", NeedSize},
        {InfoField::Height, u"高", NeedSize},
        {InfoField::Artist, u"艺术家", NeedTags},
        {InfoField::Title, u"标题", NeedTags},
        {InfoField::Album, u"专辑", NeedTags},
        {InfoField::Year, u"年份", NeedTags},
        {InfoField::Track, u"音轨", NeedTags},
        {InfoField::Duration, u"时长", NeedDuration},
    };
    return names;
}

InfoTemplate InfoTemplate::parse(QStringView text)
{
    InfoTemplate t;
    // Places are told in characters, not UTF-16 units.
    const auto fail = [&t, text](InfoTemplateFault::Kind kind, QString field, qsizetype at) {
        t.fault = {kind, std::move(field), int(text.left(at).toUcs4().size())};
        t.pieces.clear();
        t.needs = 0;
        return t;
    };
    if (text.trimmed().isEmpty())
        return fail(InfoTemplateFault::Kind::Empty, {}, 0);
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(u'{', i);
        if (open != i) {
            const qsizetype end = open < 0 ? text.size() : open;
            Piece literal;
            literal.literal = text.mid(i, end - i).toString();
            t.pieces.push_back(std::move(literal));
            i = end;
            continue;
        }
        const qsizetype close = text.indexOf(u'}', open + 1);
        const qsizetype nextOpen = text.indexOf(u'{', open + 1);
        if (close < 0 || (nextOpen >= 0 && nextOpen < close))
            return fail(InfoTemplateFault::Kind::Unclosed, {}, open);
        const QStringView inside = text.mid(open + 1, close - open - 1);
        const qsizetype colon = inside.indexOf(u':');
        const QStringView name = colon < 0 ? inside : inside.left(colon);
        const QStringView format = colon < 0 ? QStringView() : inside.mid(colon + 1);
        const InfoFieldName* known = findField(name.trimmed());
        if (!known)
            return fail(InfoTemplateFault::Kind::UnknownField, inside.toString(), open);
        Piece piece;
        piece.isField = true;
        piece.field = known->field;
        switch (formatKind(known->field)) {
        case FormatKind::None:
            if (colon >= 0)
                return fail(InfoTemplateFault::Kind::NoFormat, inside.toString(), open);
            break;
        case FormatKind::Width:
            if (colon >= 0) {
                bool ok = false;
                piece.width = format.trimmed().toInt(&ok);
                if (!ok || piece.width < 1 || piece.width > 9)
                    return fail(InfoTemplateFault::Kind::BadWidth, inside.toString(), open);
            }
            break;
        case FormatKind::DateTime:
        case FormatKind::Time:
            piece.format = format.toString();
            break;
        }
        t.needs |= known->needs;
        t.pieces.push_back(std::move(piece));
        i = close + 1;
    }
    return t;
}

QString nameSafe(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        // Marks that turn the direction of text could make a name read as another.
        const bool directionMark = u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
                                   (u >= 0x2066 && u <= 0x2069) || u == 0x061C || u == 0xFEFF;
        if (u == u'/' || u == 0)
            out += u'_';
        else if (u >= 0x20 && (u < 0x7f || u > 0x9f) && !directionMark)
            out += c;
    }
    return out.trimmed();
}

InfoRule::InfoRule(InfoTemplate pattern, const FileFactsReader* reader)
    : m_template(std::move(pattern)), m_reader(reader)
{
}

RowOutcome InfoRule::step(const RowName& row, const RulePlan&, QString& out) const
{
    RowOutcome outcome;
    if (m_template.pieces.empty() || !row.file)
        return outcome;
    const RowFile& file = *row.file;
    FileFacts facts;
    if (m_template.needs != 0) {
        if (!m_reader) {
            outcome.missingInfo = true;
            return outcome;
        }
        facts = m_reader->read(file.path, m_template.needs);
    }
    const auto number = [](qint64 n, int width = 0) { return n > 0 ? padded(n, width) : QString(); };
    for (const InfoTemplate::Piece& piece : m_template.pieces) {
        if (!piece.isField) {
            out += piece.literal;
            continue;
        }
        QString value;
        bool mayBeEmpty = false;
        switch (piece.field) {
        case InfoField::MainName:
            value = row.main.toString();
            mayBeEmpty = true;
            break;
        case InfoField::Extension:
            value = row.extension.mid(row.extension.isEmpty() ? 0 : 1).toString();
            mayBeEmpty = true;
            break;
        case InfoField::FolderName: {
            const QStringView folder = file.folder.endsWith(u'/') ? file.folder.chopped(1) : file.folder;
            value = folder.mid(folder.lastIndexOf(u'/') + 1).toString();
            mayBeEmpty = true;
            break;
        }
        case InfoField::Counter:
            value = padded(qint64(row.index) + 1, piece.width);
            break;
        case InfoField::FolderCounter:
            value = padded(qint64(file.inFolder) + 1, piece.width);
            break;
        case InfoField::Modified:
        case InfoField::Created:
            if (const auto ms = piece.field == InfoField::Modified ? file.modified : file.created)
                value = dateTime(QDateTime::fromMSecsSinceEpoch(*ms), piece.format);
            break;
        case InfoField::Captured:
            if (facts.captured.isValid())
                value = dateTime(facts.captured, piece.format);
            break;
        case InfoField::Camera:
            value = facts.camera;
            break;
        case InfoField::Width:
            value = number(facts.width);
            break;
        case InfoField::Height:
            value = number(facts.height);
            break;
        case InfoField::Artist:
            value = facts.artist;
            break;
        case InfoField::Title:
            value = facts.title;
            break;
        case InfoField::Album:
            value = facts.album;
            break;
        case InfoField::Year:
            value = number(facts.year);
            break;
        case InfoField::Track:
            value = number(facts.track, piece.width);
            break;
        case InfoField::Duration:
            if (facts.duration >= 0 && piece.format.trimmed().isEmpty()) {
                // Hours without end: a recording may last days.
                const int h = facts.duration / 3600;
                const QString ms = QTime(0, 0).addSecs(facts.duration % 3600).toString(u"mm-ss");
                value = h > 0 ? QString::number(h) + u'-' + ms : ms;
            } else if (facts.duration >= 0) {
                value = QTime(0, 0).addSecs(facts.duration % 86400).toString(piece.format);
            }
            break;
        }
        value = nameSafe(value);
        if (value.isEmpty() && !mayBeEmpty) {
            out.clear();
            outcome.missingInfo = true;
            return outcome;
        }
        out += value;
    }
    // Blanks alone are no name; the extension stays.
    if (out.trimmed().isEmpty()) {
        out.clear();
        return outcome;
    }
    out += row.extension;
    outcome.named = true;
    return outcome;
}

} // namespace tamsel

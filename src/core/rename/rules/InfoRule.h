// SPDX-License-Identifier: GPL-3.0-or-later
// Names from a template of fields: what the list knows of a file (name, folder, place, times) and
// what the file says of itself (capture time, camera, size, audio tags).
#pragma once

#include "core/info/FileFacts.h"
#include "core/rename/rules/Rule.h"

#include <vector>

namespace tamsel {

enum class InfoField {
    MainName,
    Extension,
    FolderName,
    Counter,
    FolderCounter,
    Modified,
    Created,
    Captured,
    Camera,
    Width,
    Height,
    Artist,
    Title,
    Album,
    Year,
    Track,
    Duration,
};

// A field's name as written in braces, and the facts it needs read.
struct InfoFieldName {
    InfoField field;
    const char16_t* name;
    unsigned needs;
};
const std::vector<InfoFieldName>& infoFieldNames();

// What is wrong with a template, and where: the field as written (without braces), or the place
// of an unclosed "{" (in characters, from 0).
struct InfoTemplateFault {
    enum class Kind {
        None,
        Empty,        // nothing to name a file by
        Unclosed,     // a "{" without its "}"
        UnknownField, // no field of that name
        NoFormat,     // a format after a field that takes none
        BadWidth,     // a counter's or track's width is not a number from 1 to 9
    } kind = Kind::None;
    QString field;
    int position = 0;
};

// A template parsed once: literal text, and fields in braces with an optional format after a colon
// ({序号:3}, {拍摄时间:yyyy-MM-dd}).
class InfoTemplate {
public:
    struct Piece {
        QString literal; // text as it stands, when field is not set
        bool isField = false;
        InfoField field = InfoField::MainName;
        QString format; // a date-time or time format; empty for the default
        int width = 0;  // digits a number is padded to
    };

    static InfoTemplate parse(QStringView text);

    InfoTemplateFault fault;
    std::vector<Piece> pieces;
    unsigned needs = 0; // what the file must be read for
};

// The new main name of each row by the template; the extension stays. A file that lacks a field the
// template uses gets no name (RowOutcome::missingInfo).
class InfoRule final : public Rule {
public:
    // reader: what reads files' facts; without it, a template that needs them names nothing.
    InfoRule(InfoTemplate pattern, const FileFactsReader* reader);
    RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const override;
    bool readsFiles() const override { return true; }

private:
    InfoTemplate m_template;
    const FileFactsReader* m_reader;
};

// A value as a name may hold it: "/" and NUL as "_", control characters and marks of text
// direction dropped, white space at both ends trimmed.
QString nameSafe(QStringView value);

} // namespace tamsel

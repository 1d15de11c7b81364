// SPDX-License-Identifier: GPL-3.0-or-later
// The six rules that compute new names into the preview column.
#pragma once

#include "core/rename/Numbering.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>

class QObject;

namespace tamsel {

class Dialogs;
class FileList;

// Told now and then how far a rule has come: the row it is at.
using RowProgress = std::function<void(int row)>;

// What every rule needs besides its own inputs: the list and a way to ask the user.
struct RuleContext {
    FileList& list;
    Dialogs& dialogs;
    QObject* owner = nullptr; // the window the dialogs belong to
    RowProgress progress = {};
};

// The numbering tab's inputs as the user left them.
struct NumberingInputs {
    std::optional<OrdinalModel> model; // none when the model box shows none of its items
    QString start;
    QString increment;
    QString width;
    QString prefix;
    QString suffix;
    bool keepExtension = true; // the new-extension box shows "不修改"
    QString newExtension;
};

// The delete tab: remove count characters at offset, counted from the first or the last character.
struct DeleteInputs {
    QString offset; // an empty box counts as 0, in all three number boxes
    QString count;
    bool fromFirst = true;
    bool rightward = true;
};

// The insert tab: insert text at offset, counted from the first or the last character.
struct InsertInputs {
    QString text;
    QString offset;
    bool fromFirst = true;
};

// The replace tab.
struct ReplaceInputs {
    QString find;
    QString replacement;
    bool deleteOnly = false;
};

// The case options, in the order of their buttons.
enum class CaseChange { Keep, FirstUpper, AllUpper, AllLower };

// main + "." + extension, the extension's leading dots removed; the main name alone when the
// extension is blank or the no-extension marker.
QString joinNameAndExtension(const QString& main, QStringView extension);

// Numbers the rows in list order; true when it ran to its end.
bool applyNumberingRule(const RuleContext& context, const NumberingInputs& inputs);

// Positions count characters as the user sees them: a character outside the basic plane is one.
QString deleteCharacters(const QString& main, int offset, int count, bool fromFirst, bool rightward);
void applyDeleteRule(FileList& list, const DeleteInputs& inputs, const RowProgress& progress = {});

// Nothing when offset is beyond the name's end.
std::optional<QString> insertCharacters(const QString& main, const QString& text, int offset, bool fromFirst);
void applyInsertRule(FileList& list, const InsertInputs& inputs, const RowProgress& progress = {});

void applyReplaceRule(FileList& list, const ReplaceInputs& inputs, const RowProgress& progress = {});

QString changeCase(const QString& text, CaseChange change);
void applyCaseRule(FileList& list, CaseChange mainCase, CaseChange extensionCase,
                   const RowProgress& progress = {});

// The names of a name list: its lines (ended by LF, CR LF or CR) that hold more than blanks,
// exactly as they stand.
QStringList listedNames(const QString& text);

// Hands out the names of text in list order; showCount receives the number of names.
void applyTextFileRule(const RuleContext& context, const QString& text,
                       const std::function<void(int)>& showCount);

} // namespace tamsel

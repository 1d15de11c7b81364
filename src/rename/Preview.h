// SPDX-License-Identifier: GPL-3.0-or-later
// The preview pass and the rules that compute new names into the preview column.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace tamsel {

class Dialogs;
class FileList;

enum class OrdinalModel;

// What every rule needs besides its own inputs: the list and a way to ask the user.
struct RuleContext {
    FileList& list;
    Dialogs& dialogs;
    QWidget* owner = nullptr;
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

enum class CaseChange { Keep, FirstUpper, AllUpper, AllLower };

// Empties the preview of every data row.
void ClearPreviews(FileList& list);

// Numbers the rows in list order; true when it ran to its end.
bool ApplyNumberingRule(const RuleContext& context, const NumberingInputs& inputs);

// Positions count characters as the user sees them: a character outside the basic plane is one.
QString DeleteCharacters(const QString& main, int offset, int count, bool fromFirst, bool rightward);
void ApplyDeleteRule(FileList& list, const DeleteInputs& inputs);

// Nothing when offset is beyond the name's end.
std::optional<QString> InsertCharacters(const QString& main, const QString& text, int offset, bool fromFirst);
void ApplyInsertRule(FileList& list, const InsertInputs& inputs);

void ApplyReplaceRule(FileList& list, const ReplaceInputs& inputs);

QString ChangeCase(const QString& text, CaseChange change);
void ApplyCaseRule(FileList& list, CaseChange mainName, CaseChange extension);

// The names of a name list: its lines (ended by LF, CR LF or CR) that hold more than blanks,
// exactly as they stand.
QStringList CountNames(const QString& text);

// Hands out the names of text in list order; showCount receives the number of names.
void ApplyTextFileRule(const RuleContext& context, const QString& text,
                       const std::function<void(int)>& showCount);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
// The six rules that compute new names into the preview column.
#pragma once

#include "core/rename/Numbering.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>

namespace tamsel {

class FileList;

// Told now and then how far a rule has come: the row it is at.
using RowProgress = std::function<void(int row)>;

// What a rule would do, worked out before anything is written, so that the window can ask first.
// A rule with a question is planned again with the answers so far, until it has none left.
struct RulePlan {
    QString refusal;  // shown instead (OK, 提示信息): nothing is written
    QString question; // to ask (是/否) before anything is written
    QString questionCaption;
    bool go = false;    // write the previews
    int rows = 0;       // the rows from the first that get a name
    int nameCount = -1; // the names a name list holds, for its counter; -1 when not counted
    // The numbering as settled: a first number, its step and its width, or the first letters.
    qint64 start = 0;
    qint64 increment = 0;
    int width = 0;
    QString letters;
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

// Numbers the rows in list order. answers are those to the plan's questions so far, in order.
RulePlan planNumbering(const FileList& list, const NumberingInputs& inputs, const QList<bool>& answers);
void applyNumberingRule(FileList& list, const NumberingInputs& inputs, const RulePlan& plan,
                        const RowProgress& progress = {});

// Positions count characters as the user sees them: a character outside the basic plane is one.
void applyDeleteRule(FileList& list, const DeleteInputs& inputs, const RowProgress& progress = {});

// No preview for a name that offset goes beyond.
void applyInsertRule(FileList& list, const InsertInputs& inputs, const RowProgress& progress = {});

void applyReplaceRule(FileList& list, const ReplaceInputs& inputs, const RowProgress& progress = {});

QString changeCase(const QString& text, CaseChange change);
void applyCaseRule(FileList& list, CaseChange mainCase, CaseChange extensionCase,
                   const RowProgress& progress = {});

// The names of a name list: its lines (ended by LF, CR LF or CR) that hold more than blanks,
// exactly as they stand.
QStringList listedNames(const QString& text);

// Hands out the names of text in list order.
RulePlan planNameList(const FileList& list, const QString& text, const QList<bool>& answers);
void applyTextFileRule(FileList& list, const QString& text, const RulePlan& plan,
                       const RowProgress& progress = {});

} // namespace tamsel

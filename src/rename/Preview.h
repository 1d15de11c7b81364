// SPDX-License-Identifier: GPL-3.0-or-later
// The preview pass and the rules that compute new names into the preview column.
#pragma once

#include <QString>
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

// Empties the preview of every data row.
void ClearPreviews(FileList& list);

// Numbers the rows in list order; true when it ran to its end.
bool ApplyNumberingRule(const RuleContext& context, const NumberingInputs& inputs);

} // namespace tamsel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/PreviewPass.h"

#include "core/filelist/FileList.h"

namespace tamsel {

void clearPreviews(FileList& list)
{
    FileList::Batch batch(list);
    for (int r = 0; r < list.fileCount(); ++r)
        list.setCell(r, ColPreview, QString());
}

RulePlan planPreview(const FileList& list, RenameMode mode, const PreviewInputs& in,
                     const QList<bool>& answers)
{
    switch (mode) {
    case RenameMode::Numbering:
        return planNumbering(list, in.numbering, answers);
    case RenameMode::NameFile:
        return planNameList(list, in.names, answers);
    default: {
        RulePlan plan;
        plan.go = true;
        plan.rows = list.fileCount();
        return plan;
    }
    }
}

void previewPass(FileList& list, RenameMode mode, const PreviewInputs& in, const RulePlan& plan,
                 const RowProgress& progress)
{
    clearPreviews(list);
    if (!plan.go)
        return;
    switch (mode) {
    case RenameMode::Numbering:
        applyNumberingRule(list, in.numbering, plan, progress);
        break;
    case RenameMode::DeleteCharacters:
        applyDeleteRule(list, in.deletion, progress);
        break;
    case RenameMode::Insert:
        applyInsertRule(list, in.insertion, progress);
        break;
    case RenameMode::Replace:
        applyReplaceRule(list, in.replacement, progress);
        break;
    case RenameMode::LetterCase:
        applyCaseRule(list, in.mainCase, in.extensionCase, progress);
        break;
    case RenameMode::NameFile:
        applyTextFileRule(list, in.names, plan, progress);
        break;
    case RenameMode::Count:
        break;
    }
}

} // namespace tamsel

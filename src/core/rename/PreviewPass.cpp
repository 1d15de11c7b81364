// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/PreviewPass.h"

#include "core/filelist/FileList.h"

namespace tamsel {

void clearPreviews(FileList& list)
{
    FileList::Batch batch(list);
    for (int r = 1; r <= list.fileCount(); ++r)
        list.setCell(r, ColPreview, QString());
}

void previewPass(const RuleContext& context, RenameMode mode, const PreviewInputs& in)
{
    FileList& list = context.list;
    clearPreviews(list);
    switch (mode) {
    case RenameMode::Numbering:
        applyNumberingRule(context, in.numbering);
        break;
    case RenameMode::DeleteCharacters:
        applyDeleteRule(list, in.deletion, context.progress);
        break;
    case RenameMode::Insert:
        applyInsertRule(list, in.insertion, context.progress);
        break;
    case RenameMode::Replace:
        applyReplaceRule(list, in.replacement, context.progress);
        break;
    case RenameMode::LetterCase:
        applyCaseRule(list, in.mainCase, in.extensionCase, context.progress);
        break;
    case RenameMode::NameFile:
        applyTextFileRule(context, in.names, in.showNameCount);
        break;
    case RenameMode::Count:
        break;
    }
}

} // namespace tamsel

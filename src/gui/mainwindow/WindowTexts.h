// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window says: the rename question and its outcomes.
#pragma once

#include "core/rename/PassOutcomes.h"

#include <QString>
#include <QStringList>

namespace tamsel {

struct InfoTemplateFault;

class FileList;
struct RenameOutcome;
struct RenameRecord;
enum class NameFileRefusal;

extern const QString HomePage;
extern const QString HomePageUrl;

// Why a file was not taken as a name list.
QString refusalText(NameFileRefusal refusal);
// Why a rename failed.
QString failureReason(const Failure& failure, QStringView oldName, QStringView newName);
// What a failed rename left under another name.
QString leftWhat(RenamedRow::Left left);

// The texts of the rows' results.
class WindowPassTexts final : public PassTexts {
public:
    QString renamed(const RenamedRow& row) const override;
    QString undone(const UndoneFile& file) const override;
};
QString aboutText();
// The rename question: how many previews made the new names, when more than one, and a warning
// where rows are marked.
QString renameQuestion(int conflicts, int steps = 1);
// After 取消: how many files were done and how many were not.
QString cancelledSummary(int done, int files);
QString undoQuestion(const RenameRecord& record);
// After an undo that could not restore every file.
QString undoSummary(int restored, int failed);
QString cancelledUndoSummary(int restored, int left);
// The encodings a garbled name may have been written in, as the repair offers them, in the order
// of SourceEncoding.
QStringList repairEncodings();
// After a repair: how many names can be repaired, and how many could not be told under 自动识别.
QString repairSummary(int repaired, int undecided);
// After a preview whose regular expression gave up on some names.
QString tooComplexSummary(int rows);
// After a preview by file information that some files lacked.
QString missingInfoSummary(int rows);
// What is wrong with a template of fields, or "" when nothing is.
QString templateFaultText(const InfoTemplateFault& fault);
// The fields of 按文件信息命名 as they are inserted, and a note on each.
QStringList infoFieldTokens();
QStringList infoFieldNotes();
// The error message of a pass that stopped at a failure: its two lines, the row with the real
// cause, and where a file was left.
QString renameFailure(const RenameOutcome& outcome, const FileList& list);

} // namespace tamsel

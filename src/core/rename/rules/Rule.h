// SPDX-License-Identifier: GPL-3.0-or-later
// What every rename rule is: a plan worked out before anything is written, and a step that names
// one row at a time.
#pragma once

#include "core/text/RegexReplacer.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace tamsel {

// Why a rule writes nothing; the window says it in words.
enum class PlanRefusal {
    None,
    NumbersNotDigits,  // start, increment or width is not a number
    NumbersOutOfRange, // the last number would pass the signed 32-bit range
    LettersNotLetters, // the start is not letters or the width not a number up to 9
    LettersOutOfRange, // the start letters stand for more than the 32-bit range
    NoNames,           // the name list is blank
    PatternInvalid,    // the regular expression or its replacement is wrong: see fault
};

// The question a rule asks before it writes; the window words it.
enum class PlanQuestion {
    None,
    NumbersBeyondWidth, // only capacity of files numbers fit the width: go on?
    LettersBeyondWidth, // only capacity of files letter ordinals fit the width: go on?
    TooFewNames,        // the name list holds only capacity names for files rows: go on?
    WidenToStart,       // the start letters are wider than the width: widen (yes) or cut (no)?
};

// What a rule would do, worked out before anything is written, so that the window can ask first.
// A rule with a question is planned again with the answers so far, until it has none left.
struct RulePlan {
    PlanRefusal refusal = PlanRefusal::None; // when set, nothing is written
    PlanQuestion question = PlanQuestion::None;
    bool go = false;    // write the previews
    int rows = 0;       // the rows from the first that get a name
    int nameCount = -1; // the names a name list holds, for its counter; -1 when not counted
    // What a question tells: the files listed, how many of them can be named, and the inputs that
    // decide it as the rule took them (the start as adjusted, blanks trimmed).
    qint64 files = 0;
    qint64 capacity = 0;
    QString shownStart;
    QString shownIncrement;
    QString shownWidth;
    // The numbering as settled: the first number (or the value of the first letters, A = 0), its
    // step and its width.
    qint64 start = 0;
    qint64 increment = 0;
    int width = 0;
    PatternFault fault;
};

// Where a row's file lies and what the list knows of it, for a rule that reads files.
struct RowFile {
    QByteArray path;               // its folder and its name on disk, as bytes
    QStringView folder;            // the folder's path as text, ending in "/"
    int inFolder = 0;              // its place among the rows of its folder in list order, from 0
    std::optional<qint64> created; // milliseconds since the epoch, where known
    std::optional<qint64> modified;
};

// One row as a rule reads it: its name split as the list splits it, and its place in list order
// (from 0). A rule cannot tell a listed name from a preview made before.
struct RowName {
    QStringView main;      // the name without its last dot and what follows; all of it without a dot
    QStringView extension; // the last dot and what follows it; empty without a dot
    int index = 0;
    const RowFile* file = nullptr; // given to a rule that reads files (Rule::readsFiles)

    static RowName split(QStringView name, int index);
};

// What a step made of a row.
struct RowOutcome {
    bool named = false;       // the buffer holds the row's new name
    bool undecided = false;   // more than one new name was likely, so none is given
    bool tooComplex = false;  // matching the name took more work than a name is allowed
    bool missingInfo = false; // the file lacks what the rule needs to name it
};

// A rename rule: its inputs are given when it is made and never change, so that one rule may name
// rows on several threads at once. Rules touch neither the list nor the file system.
class Rule {
public:
    Rule() = default;
    Rule(const Rule&) = delete;
    Rule& operator=(const Rule&) = delete;
    virtual ~Rule() = default;

    // The plan for files rows with the answers to its questions so far, in order. A rule that
    // never asks names every row.
    virtual RulePlan plan(int files, const QList<bool>& answers) const;
    // Writes the row's new name into out, which arrives empty.
    virtual RowOutcome step(const RowName& row, const RulePlan& plan, QString& out) const = 0;
    // True for a rule that needs each row's file (RowName::file), read on the pass's thread.
    virtual bool readsFiles() const { return false; }
};

} // namespace tamsel

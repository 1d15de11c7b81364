// SPDX-License-Identifier: GPL-3.0-or-later
// What the passes did to each row, as kinds: the window makes the texts.
#pragma once

#include "core/platform/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace tamsel {

// What became of a row in a rename pass.
struct RenamedRow {
    enum class Kind : quint8 { Untouched, Renamed, Failed, NotReached };
    // What a failure left under another name.
    enum class Left : quint8 { Nothing, File, Folder, ReplacingFile };
    int row = -1;
    Kind kind = Kind::Untouched;
    bool unguarded = false; // renamed by a plain rename: the file system could not promise more
    Failure error;
    Left left = Left::Nothing;
    QByteArray leftAs;       // the name it was left under
    QByteArray extraName;    // a second name of the file that could not be taken away
    bool sourceLost = false; // the file is gone from its old name too (the file system deleted it)
};

// What became of a file in an undo.
struct UndoneFile {
    int row = -1; // the row that lists it; -1 when none does
    bool restored = false;
    bool unguarded = false;
    Failure error;
    QByteArray leftAs;  // where a failure left it
    QByteArray oldName; // the name it has back
    FileStat stat;      // the entry under its old name, once restored
};

// The texts of the results, made by the window.
class PassTexts {
public:
    virtual ~PassTexts() = default;
    virtual QString renamed(const RenamedRow& row) const = 0;
    virtual QString undone(const UndoneFile& file) const = 0;
};

} // namespace tamsel

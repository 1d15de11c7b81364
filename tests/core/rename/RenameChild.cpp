// SPDX-License-Identifier: GPL-3.0-or-later
// A rename pass for a test to kill: renames count files in folder, from the names of the round
// before (f<i> before round 0, r<round-1>-<i> after) to r<round>-<i>; with "link", as on a file
// system without RENAME_NOREPLACE; with "undo", the pass and then its undo; with "undo-link", both
// without RENAME_NOREPLACE.
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/RenamePass.h"
#include "core/rename/UndoPass.h"
#include "support/FakeFileSystem.h"
#include "support/KindTexts.h"

#include <QCoreApplication>
#include <cstdio>

using namespace tamsel;

namespace {
const tamsel::test::KindTexts Kinds;
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4 && argc != 5)
        return 2;
    const QByteArray folder = QByteArray(argv[1]);
    const int count = atoi(argv[2]);
    const int round = atoi(argv[3]);
    const QByteArray before = round == 0 ? QByteArray("f") : "r" + QByteArray::number(round - 1) + '-';
    const QString after = QLatin1Char('r') + QString::number(round) + QLatin1Char('-');
    test::FakeFileSystem fs;
    const QByteArray mode = argc == 5 ? QByteArray(argv[4]) : QByteArray();
    const bool undo = mode.startsWith("undo");
    fs.noReplace = argc == 4 || mode == "undo";
    FileList list(fs);
    for (int i = 0; i < count; ++i) {
        list.addFileRow(folder, before + QByteArray::number(i));
        list.setCell(i, ColPreview, after + QString::number(i));
    }
    if (undo) {
        RenameOutcome pass = renamePass(list, fs, Kinds);
        std::puts("undoing");
        std::fflush(stdout);
        return undoPass(list, fs, pass.record, Kinds).failed == 0 ? 0 : 1;
    }
    std::puts("renaming");
    std::fflush(stdout);
    return renamePass(list, fs, Kinds).failure.row < 0 ? 0 : 1;
}

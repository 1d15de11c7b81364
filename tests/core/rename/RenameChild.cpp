// SPDX-License-Identifier: GPL-3.0-or-later
// A rename pass for a test to kill: renames count files in folder, from the names of the round
// before (f<i> before round 0, r<round-1>-<i> after) to r<round>-<i>. Modes: "rename"; "link", as on
// a file system without RENAME_NOREPLACE; "undo", the pass and then its undo; "undo-link", both
// without RENAME_NOREPLACE.
//
// Every step is reported on stdout as "<phase> <row> <step> <what>": the phase "rename" or "undo",
// the row reached (the files undone so far plus one in the undo), the step within it from 0, and
// "row" on reaching it or the file-system call ("open", "rename", "link", "unlink", …; "-done"
// once a change succeeded). At the step named by the last argument, "<phase> <row> <step>" or
// "<phase> <row> <what>", the child reports it, then "waiting", and waits to be killed; "-" never
// waits.
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/RenamePass.h"
#include "core/rename/UndoPass.h"
#include "support/FakeFileSystem.h"
#include "support/KindTexts.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

using namespace tamsel;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 6)
        return 2;
    const QByteArray folder = QByteArray(argv[1]);
    const int count = atoi(argv[2]);
    const int round = atoi(argv[3]);
    const QByteArray mode = argv[4];
    const QList<QByteArray> stop = QByteArray(argv[5]).split(' ');
    const QByteArray before = round == 0 ? QByteArray("f") : "r" + QByteArray::number(round - 1) + '-';
    const QString after = QLatin1Char('r') + QString::number(round) + QLatin1Char('-');

    const char* phase = "rename";
    int row = 0;
    int step = 0;
    const auto report = [&](const QByteArray& what) {
        std::printf("%s %d %d %s\n", phase, row, step, what.constData());
        std::fflush(stdout);
        if (stop.size() == 3 && stop[0] == phase && stop[1].toInt() == row &&
            (stop[2] == QByteArray::number(step) || stop[2] == what)) {
            std::puts("waiting");
            std::fflush(stdout);
            for (;;)
                ::pause();
        }
        ++step;
    };
    const auto reached = [&](int r) {
        row = r;
        step = 0;
        report("row");
        return true;
    };

    test::FakeFileSystem fs;
    fs.noReplace = !mode.endsWith("link");
    fs.beforeChange = [&](const char* operation, const QByteArray&) { report(operation); };
    fs.afterChange = [&](const char* operation, const QByteArray&) {
        report(QByteArray(operation) + "-done");
    };
    FileList list(fs);
    for (int i = 0; i < count; ++i) {
        list.addFileRow(folder, before + QByteArray::number(i));
        list.setCell(i, ColPreview, after + QString::number(i));
    }
    const test::KindTexts texts;
    // Rows are reported from 1: the files done so far plus one.
    RenameOutcome pass = renamePass(list, fs, texts, [&](int done) { return reached(done + 1); });
    if (pass.failure.row >= 0)
        return 1;
    if (!mode.startsWith("undo"))
        return 0;
    phase = "undo";
    row = 0;
    step = 0;
    return undoPass(list, fs, pass.record, texts, [&](int done) { return reached(done + 1); }).failed == 0
               ? 0
               : 1;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of the conflict marks beside the preview they follow: rows in one folder, numbered.
//   bench_conflicts [rows, default 100000] [folder to create the files in, default /dev/shm]
#include "Median.h"
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/rename/ConflictCheck.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/rules/NumberingRule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace tamsel;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 100000;
    QTemporaryDir tmp(QString::fromLocal8Bit(argc > 2 ? argv[2] : "/dev/shm") +
                      QStringLiteral("/tamsel-XXXXXX"));
    const QByteArray dir = QFile::encodeName(tmp.path()) + '/';
    PosixFileSystem fs;
    FileList list(fs);
    {
        FileList::Batch batch(list);
        for (int i = 0; i < rows; ++i) {
            const QByteArray name = "DSC" + QByteArray::number(i) + ".jpg";
            ::close(::open(QByteArray(dir + name).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
            list.addFileRow(dir, name);
        }
    }
    NumberingInputs in;
    in.model = OrdinalModel::Digits;
    in.start = in.increment = QStringLiteral("1");
    in.width = QStringLiteral("7");
    in.prefix = QStringLiteral("IMG_");
    const NumberingRule numbering(in);
    const double preview =
        medianSeconds([&] { previewPass(list, numbering, numbering.plan(list.fileCount(), {})); }, 7);
    int marked = 0;
    // As the window does it: the rows copied after the preview, the marks worked out on a thread of
    // their own and set when ready.
    double copy = 0;
    const double alone = medianSeconds(
        [&] {
            QElapsedTimer t;
            t.start();
            ConflictCheck check(list);
            copy = double(t.nsecsElapsed()) / 1e9;
            check.run(fs);
            marked = check.count();
            check.apply(list);
        },
        7);
    std::printf(
        "numbering preview of %d rows in one folder: %.1f ms; conflict marks: %.1f ms (%d marked), of "
        "which %.1f ms hold the window up (%.0f%% on top of the preview), the rest runs beside it\n",
        rows, preview * 1e3, alone * 1e3, marked, copy * 1e3, 100 * copy / preview);
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Adding a folder tree against find(1) on the same tree, and the block operations of the list
// (move to top and bottom, delete, search) at 100,000 rows with the grid attached.
//   bench_listops [files in the tree] [rows]
#include "core/filelist/AddFiles.h"
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "gui/filelist/FileListModel.h"
#include "gui/filelist/FileListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tamsel;

namespace {

// Folders of 1000 entries, one in ten hidden, each folder with a sub-folder of 100 more.
QByteArray makeTree(const QTemporaryDir& tmp, int files)
{
    const QByteArray root = QFile::encodeName(tmp.path()) + "/tree";
    ::mkdir(root.constData(), 0755);
    int made = 0;
    for (int d = 0; made < files; ++d) {
        const QByteArray dir = root + "/folder" + QByteArray::number(d);
        const QByteArray sub = dir + "/.sub";
        ::mkdir(dir.constData(), 0755);
        ::mkdir(sub.constData(), 0755);
        for (int i = 0; i < 1100 && made < files; ++i, ++made) {
            const QByteArray name =
                (i % 10 == 0 ? QByteArray(".hidden") : QByteArray("photo")) + QByteArray::number(i) + ".jpg";
            const QByteArray path = (i < 1000 ? dir : sub) + '/' + name;
            const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            if (fd >= 0)
                ::close(fd);
        }
    }
    return root;
}

template <typename F> double best(int runs, F&& f)
{
    double bestSeconds = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        bestSeconds = std::min(bestSeconds, double(t.nsecsElapsed()) / 1e9);
    }
    return bestSeconds;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? atoi(argv[1]) : 100000;
    const int rows = argc > 2 ? atoi(argv[2]) : 100000;
    PosixFileSystem fs;

    QTemporaryDir tmp;
    const QByteArray root = makeTree(tmp, files);
    const QByteArray findCommand = "find '" + root + "' -type f -printf '%s %T@ %B@\\n' >/dev/null";
    const double findSeconds = best(3, [&] {
        if (std::system(findCommand.constData()) != 0)
            std::perror("find");
    });
    int added = 0;
    const double addSeconds = best(3, [&] {
        FileList list(fs);
        FileListModel model(list);
        FileListView view;
        view.setFileList(&model);
        view.show();
        WalkHooks hooks;
        hooks.yield = [] { QCoreApplication::processEvents(); };
        addFolderRecursive(list, fs, root, hooks);
        added = list.fileCount();
    });
    std::printf("add folder tree: %d files in %.3f s; find: %.3f s; ratio %.2f\n", added, addSeconds,
                findSeconds, addSeconds / findSeconds);

    FileList list(fs);
    FileListModel model(list);
    FileListView view;
    view.setFileList(&model);
    view.resize(441, 401);
    view.show();
    list.beginBatch();
    for (int i = 0; i < rows; ++i)
        list.addFileRow("/bench/",
                        (i % 3 ? QByteArray("IMG_") : QByteArray("DSC_")) + QByteArray::number(i) + ".jpg");
    list.endBatch();
    QApplication::processEvents();

    auto report = [](const char* what, double seconds) { std::printf("%-34s %.4f s\n", what, seconds); };
    const int block = rows / 2;
    report("move 50% block to top:", best(3, [&] {
               list.moveBlock(rows - block + 1, rows, 1);
               view.setRowRange(1, block);
               QApplication::processEvents();
           }));
    report("move 50% block to bottom:", best(3, [&] {
               list.moveBlock(1, block, rows - block + 1);
               view.setRowRange(rows - block + 1, rows);
               QApplication::processEvents();
           }));
    report("search (a third matches):", best(1, [&] {
               list.gatherMatches(QStringLiteral("DSC_"));
               QApplication::processEvents();
           }));
    report("delete a 10% block from the middle:", best(1, [&] {
               list.removeBlock(rows / 2, rows / 2 + rows / 10);
               view.setRowRange(rows / 2, rows / 2);
               QApplication::processEvents();
           }));
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Appends rows to the file list with and without a grid attached, and measures the time, the
// heap per row and the cost of painting the grid at places all over the list.
//   bench_filelist [rows] [real files]
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "gui/filelist/FileListModel.h"
#include "gui/filelist/FileListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tamsel;

namespace {

size_t heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

struct Files {
    QByteArray dir;
    std::vector<QByteArray> names;
};

Files makeFiles(const QTemporaryDir& tmp, int count)
{
    Files f{QFile::encodeName(tmp.path()) + "/photos-2024/", {}};
    ::mkdir(f.dir.constData(), 0755);
    for (int i = 0; i < count; ++i) {
        f.names.push_back(QByteArray("IMG_") + QByteArray::number(i).rightJustified(6, '0') + ".jpg");
        const int fd =
            ::open(QByteArray(f.dir + f.names.back()).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0) {
            if (::ftruncate(fd, 1000 + i) != 0)
                std::perror("ftruncate");
            ::close(fd);
        }
    }
    return f;
}

double appendAll(FileList& list, const Files& files, int rows)
{
    QElapsedTimer timer;
    timer.start();
    list.beginBatch();
    for (int i = 0; i < rows; ++i)
        list.addFileRow(files.dir, files.names[size_t(i) % files.names.size()]);
    list.endBatch();
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 1000000;
    const int fileCount = argc > 2 ? atoi(argv[2]) : 20000;
    QTemporaryDir tmp;
    const Files files = makeFiles(tmp, fileCount);
    PosixFileSystem fs;
    std::printf("rows: %d, distinct files: %d\n", rows, fileCount);

    {
        // What the file system alone costs: one stat per row.
        QElapsedTimer t;
        t.start();
        qint64 total = 0;
        for (int i = 0; i < rows; ++i) {
            if (const auto st = fs.stat(files.dir + files.names[size_t(i) % files.names.size()]))
                total += st->size;
        }
        std::printf("stat only:    %.3f s (%.0f ns/row)%s\n", double(t.nsecsElapsed()) / 1e9,
                    double(t.nsecsElapsed()) / rows, total ? "" : " ");
    }
    {
        const size_t before = heapInUse();
        FileList list(fs);
        const double seconds = appendAll(list, files, rows);
        const size_t after = heapInUse();
        std::printf("model only:   append %.3f s (%.0f ns/row), heap %.1f MiB, %.0f bytes/row\n", seconds,
                    seconds * 1e9 / rows, double(after - before) / 1048576.0, double(after - before) / rows);
        QElapsedTimer t;
        t.start();
        list.refreshFileList();
        std::printf("refresh:      %.3f s\n", double(t.nsecsElapsed()) / 1e9);
    }
    {
        FileList list(fs);
        FileListModel model(list);
        FileListView view;
        view.setFileList(&model);
        view.resize(441, 401);
        view.show();
        QApplication::processEvents();
        const size_t before = heapInUse();
        const double seconds = appendAll(list, files, rows);
        QElapsedTimer settle;
        settle.start();
        QApplication::processEvents();
        const double settleSeconds = double(settle.nsecsElapsed()) / 1e9;
        const size_t after = heapInUse();
        std::printf(
            "with grid:    append %.3f s (%.0f ns/row), then view update %.3f s, heap %.0f bytes/row\n",
            seconds, seconds * 1e9 / rows, settleSeconds, double(after - before) / rows);

        QScrollBar* bar = view.verticalScrollBar();
        QRandomGenerator rng(42);
        constexpr int Jumps = 200;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < Jumps; ++i) {
            bar->setValue(int(rng.bounded(bar->maximum() + 1)));
            view.viewport()->repaint();
        }
        std::printf("scrolling:    %.2f ms per jump and repaint (%d jumps)\n",
                    double(t.nsecsElapsed()) / 1e6 / Jumps, Jumps);
        t.restart();
        for (int i = 0; i < Jumps; ++i) {
            bar->setValue(bar->value() + (i % 2 ? -3 : 4));
            view.viewport()->repaint();
        }
        std::printf("              %.2f ms per small scroll and repaint\n",
                    double(t.nsecsElapsed()) / 1e6 / Jumps);
    }
    return 0;
}

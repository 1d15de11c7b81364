// SPDX-License-Identifier: GPL-3.0-or-later
// The preview of the numbering rule over a long list, and the rename pass over real files against
// a plain renameat2 loop and perl's rename(1) doing the same renames.
//   bench_rename [preview rows] [files]
#include "core/filelist/FileList.h"
#include "core/inputs/InputRules.h"
#include "core/platform/Dialogs.h"
#include "core/platform/FileSystem.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/RenamePass.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tamsel;

namespace {

class NoDialogs final : public Dialogs {
public:
    void message(QObject*, const QString&, const QString&) override {}
    bool question(QObject*, const QString&, const QString&) override { return true; }
    std::optional<QString> inputText(QObject*, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QStringList openFiles(QObject*, const QStringList&) override { return {}; }
    QString openFile(QObject*, const QStringList&) override { return {}; }
    QString pickFolder(QObject*, const QString&) override { return {}; }
    std::unique_ptr<Progress> progress(QObject*, const QString&, int, bool) override { return nullptr; }
};

double seconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

QByteArray makeFiles(const QTemporaryDir& tmp, const char* folder, int count)
{
    const QByteArray dir = QFile::encodeName(tmp.path()) + '/' + folder + '/';
    ::mkdir(dir.constData(), 0755);
    for (int i = 0; i < count; ++i) {
        const QByteArray path = dir + "DSC" + QByteArray::number(i) + ".jpg";
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }
    ::sync();
    return dir;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 1000000;
    const int files = argc > 2 ? atoi(argv[2]) : 100000;
    PosixFileSystem fs;
    NoDialogs dialogs;

    {
        FileList list(fs);
        list.beginBatch();
        for (int i = 0; i < rows; ++i)
            list.addFileRow("/bench/", "DSC" + QByteArray::number(i) + ".jpg");
        list.endBatch();
        NumberingInputs in;
        in.model = OrdinalModel::Digits;
        in.start = QStringLiteral("1");
        in.increment = QStringLiteral("1");
        in.width = QStringLiteral("7");
        in.prefix = QStringLiteral("IMG_");
        QElapsedTimer t;
        t.start();
        clearPreviews(list);
        applyNumberingRule({list, dialogs}, in);
        std::printf("preview, numbering %d rows: %.3f s (last: %s)\n", rows, seconds(t),
                    qPrintable(list.cell(rows, ColPreview)));
    }

    QTemporaryDir tmp;
    // The program's rename pass.
    const QByteArray ours = makeFiles(tmp, "ours", files);
    FileList list(fs);
    list.beginBatch();
    for (int i = 0; i < files; ++i)
        list.addFileRow(ours, "DSC" + QByteArray::number(i) + ".jpg");
    list.endBatch();
    for (int r = 1; r <= files; ++r)
        list.setCell(r, ColPreview, QStringLiteral("IMG") + QString::number(r - 1) + QStringLiteral(".jpg"));
    QElapsedTimer t;
    t.start();
    const RenameOutcome outcome = renamePass(list, fs);
    const double passSeconds = seconds(t);

    // A bare loop of the same system calls.
    const QByteArray plain = makeFiles(tmp, "plain", files);
    t.restart();
    for (int i = 0; i < files; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray from = plain + "DSC" + n + ".jpg";
        const QByteArray to = plain + "IMG" + n + ".jpg";
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0)
            std::perror("renameat2");
    }
    const double loopSeconds = seconds(t);

    // perl's rename(1), fed the names by find.
    double perlSeconds = -1;
    if (std::system("command -v file-rename >/dev/null 2>&1") == 0) {
        const QByteArray perl = makeFiles(tmp, "perl", files);
        const QByteArray command =
            "cd '" + perl + "' && find . -name 'DSC*.jpg' -print0 | xargs -0 file-rename 's/DSC/IMG/'";
        t.restart();
        if (std::system(command.constData()) != 0)
            std::perror("file-rename");
        perlSeconds = seconds(t);
    }
    std::printf("rename pass, %d files: %.3f s%s; renameat2 loop: %.3f s (ratio %.2f)", files, passSeconds,
                outcome.failedRow ? " (FAILED)" : "", loopSeconds, passSeconds / loopSeconds);
    if (perlSeconds >= 0)
        std::printf("; perl rename: %.3f s\n", perlSeconds);
    else
        std::printf("; perl rename not installed\n");
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/LibraryChineseText.h"
#include "core/platform/FileSystem.h"
#include "core/platform/SingleInstance.h"
#include "gui/dialogs/QtDialogs.h"
#include "gui/mainwindow/Application.h"
#include "gui/mainwindow/MainWindow.h"
#include "info/LibraryFileFacts.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QByteArray workingDir()
{
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray("/");
}

} // namespace

int main(int argc, char* argv[])
{
    // Qt takes its own options out of what it is given. It is given neither what follows "--" nor
    // an argument that names a file or a folder ("-reverse" may be a file's name): those are
    // paths, as everything Qt leaves. Paths stay bytes: a name that is not UTF-8 must reach the
    // file system as it was given.
    int end = 1;
    while (end < argc && std::strcmp(argv[end], "--") != 0)
        ++end;
    std::vector<char*> qtArgs{argv[0]};
    std::vector<bool> isPath(size_t(argc), false);
    for (int i = 1; i < argc; ++i) {
        struct stat st {};
        isPath[size_t(i)] = i > end || (i < end && ::lstat(argv[i], &st) == 0);
        if (i < end && !isPath[size_t(i)])
            qtArgs.push_back(argv[i]);
    }
    int qtArgc = int(qtArgs.size());
    qtArgs.push_back(nullptr);
    QApplication app(qtArgc, qtArgs.data());
    const std::set<const char*> leftByQt(qtArgs.begin() + 1, qtArgs.begin() + qtArgc);
    tamsel::HandOver request{workingDir(), {}};
    for (int i = 1; i < argc; ++i) {
        if (isPath[size_t(i)] || leftByQt.count(argv[i]))
            request.paths << QByteArray(argv[i]);
    }

    tamsel::SingleInstance instance(QStringLiteral("tamselrenvold"));
    if (!instance.tryAcquire()) {
        if (instance.handOver(request))
            return 0;
        // Started from a file manager, nobody reads stderr.
        std::fputs("tamselrenvold: another instance runs but does not answer\n", stderr);
        tamsel::setUpApplication();
        tamsel::QtDialogs().message(nullptr,
                                    QStringLiteral("TamselRenvold 已在运行，但没有响应，未能把文件交给它。") +
                                        u'\n' + QStringLiteral("请等它完成当前工作，或将它关闭后再试。"),
                                    tamsel::Caption::Notice);
        return 1;
    }
    tamsel::setUpApplication();
    tamsel::QtDialogs dialogs;
    tamsel::PosixFileSystem fs;
    tamsel::MainWindow window(dialogs, fs);
    const tamsel::LibraryChineseText chinese;
    window.setChineseText(&chinese);
    const tamsel::LibraryFileFacts facts;
    window.setFileFacts(&facts);
    QObject::connect(
        &instance, &tamsel::SingleInstance::handedOver, &window,
        [&window](const tamsel::HandOver& later) { window.openPaths(later.paths, later.workingDir); });
    window.show();
    if (!request.paths.isEmpty())
        QTimer::singleShot(0, &window, [&] { window.openPaths(request.paths, request.workingDir); });
    return QApplication::exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/FileSystem.h"
#include "core/platform/SingleInstance.h"
#include "gui/dialogs/QtDialogs.h"
#include "gui/mainwindow/Application.h"
#include "gui/mainwindow/MainWindow.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

QByteArray workingDir()
{
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray("/");
}

} // namespace

int main(int argc, char* argv[])
{
    // Everything after "--" is a path, whatever it looks like; Qt sees only what comes before.
    int qtArgc = 1;
    while (qtArgc < argc && std::strcmp(argv[qtArgc], "--") != 0)
        ++qtArgc;
    const int pathsFrom = qtArgc + 1;
    QApplication app(qtArgc, argv); // takes Qt's own options out of argv
    // Paths as bytes: a name that is not UTF-8 must reach the file system as it was given.
    tamsel::HandOver request{workingDir(), {}};
    for (int i = 1; i < qtArgc; ++i)
        request.paths << QByteArray(argv[i]);
    for (int i = pathsFrom; i < argc; ++i)
        request.paths << QByteArray(argv[i]);

    tamsel::SingleInstance instance(QStringLiteral("tamselrenvold"));
    if (!instance.tryAcquire()) {
        if (instance.handOver(request))
            return 0;
        // Started from a file manager, nobody reads stderr.
        std::fputs("tamselrenvold: another instance runs but does not answer\n", stderr);
        tamsel::setUpApplication();
        tamsel::QtDialogs().message(nullptr,
                                    QStringLiteral("TamselRenvold 已在运行，但没有应答，未能交给它文件。") +
                                        u'\n' + QStringLiteral("请等它完成手头的工作，或者关闭它后再试。"),
                                    tamsel::Caption::Notice);
        return 1;
    }
    tamsel::setUpApplication();
    tamsel::QtDialogs dialogs;
    tamsel::PosixFileSystem fs;
    tamsel::MainWindow window(dialogs, fs);
    QObject::connect(
        &instance, &tamsel::SingleInstance::handedOver, &window,
        [&window](const tamsel::HandOver& later) { window.openPaths(later.paths, later.workingDir); });
    window.show();
    if (!request.paths.isEmpty())
        QTimer::singleShot(0, &window, [&] { window.openPaths(request.paths, request.workingDir); });
    return QApplication::exec();
}

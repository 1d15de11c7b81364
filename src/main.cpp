// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/FileSystem.h"
#include "core/platform/SingleInstance.h"
#include "gui/dialogs/QtDialogs.h"
#include "gui/mainwindow/Application.h"
#include "gui/mainwindow/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    tamsel::SingleInstance instance(QStringLiteral("tamselrenvold"));
    if (!instance.tryAcquire())
        return 0;
    tamsel::setUpApplication();
    tamsel::QtDialogs dialogs;
    tamsel::PosixFileSystem fs;
    tamsel::MainWindow window(dialogs, fs);
    window.show();
    return QApplication::exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TamselRenvold"));
    QApplication::setDesktopFileName(QStringLiteral("example.tamsel.TamselRenvold"));

    tamsel::SingleInstance instance(QStringLiteral("tamselrenvold"));
    if (!instance.tryAcquire())
        return 0;

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    tamsel::QtDialogs dialogs;
    tamsel::PosixFileSystem fs;
    tamsel::MainWindow window(dialogs, fs);
    window.show();
    return QApplication::exec();
}

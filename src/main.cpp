// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/FileSystem.h"
#include "core/platform/SingleInstance.h"
#include "gui/dialogs/QtDialogs.h"
#include "gui/mainwindow/MainWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TamselRenvold"));
    QApplication::setDesktopFileName(QStringLiteral("example.tamsel.TamselRenvold"));

    tamsel::SingleInstance instance(QStringLiteral("tamselrenvold"));
    if (!instance.tryAcquire())
        return 0;

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The interface is Chinese whatever the locale; so are Qt's own dialogs and menus.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    tamsel::QtDialogs dialogs;
    tamsel::PosixFileSystem fs;
    tamsel::MainWindow window(dialogs, fs);
    window.show();
    return QApplication::exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/Application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

namespace tamsel {

void setUpApplication()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QApplication::setApplicationName(QStringLiteral("TamselRenvold"));
    QApplication::setDesktopFileName(QStringLiteral("example.tamsel.TamselRenvold"));
    // One style everywhere: the window's layout is measured in it.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The interface is Chinese whatever the locale; so are Qt's own dialogs and menus.
    static QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
}

} // namespace tamsel

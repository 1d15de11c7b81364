// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/WindowColours.h"

#include "gui/chrome/TabControl.h"
#include "gui/chrome/TabPainter.h"
#include "gui/style/Geometry.h"
#include "gui/style/Palette.h"

#include <QMainWindow>
#include <QRadioButton>
#include <QToolBar>

namespace tamsel {

void applyWindowColours(QMainWindow* window, QToolBar* toolbar, TabControl* tabs)
{
    // The window looks the same under every theme: its colours are part of its look, so the
    // texts on them are fixed too.
    window->setPalette(lightPalette());
    setBackground(window->centralWidget(), WindowColour);
    setBackground(toolbar, WindowColour);
    for (const char* name : {"Frame_FileList", "Frame_SetReNameMode", "Frame_Explain"})
        setBackground(window->findChild<QWidget*>(QLatin1String(name)), FrameColour);
    for (const char* name : {"Picture_KervoLink", "Frame_OptionalSet", "Frame_BasicSet", "Check_DirectDelete",
                             "Check_RegularExpression", "Frame_Filename", "Frame_Extension"})
        setBackground(window->findChild<QWidget*>(QLatin1String(name)), PanelColour);
    // Option buttons and check boxes fill their box from the Button role.
    const auto onPanel = [](QWidget* w) {
        setBackground(w, PanelColour);
        QPalette p = w->palette();
        p.setColor(QPalette::Button, bgr(PanelColour));
        w->setPalette(p);
    };
    for (const char* name : {"Check_DirectDelete", "Check_RegularExpression"})
        onPanel(window->findChild<QWidget*>(QLatin1String(name)));
    for (const char* name : {"Frame_Filename", "Frame_Extension"}) {
        for (QRadioButton* option :
             window->findChild<QWidget*>(QLatin1String(name))->findChildren<QRadioButton*>())
            onPanel(option);
    }
    setPaintStyle(tabs, PaintStyle::Solid);
    setSolidColour(tabs, PanelColour);
    hookTabControl(tabs);
    tabs->update();
    setBackground(tabs, FrameColour);
}

} // namespace tamsel

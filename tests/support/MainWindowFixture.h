// SPDX-License-Identifier: GPL-3.0-or-later
// A real main window on the real file system, its dialogs answered from a script.
#pragma once

#include "core/platform/FileSystem.h"
#include "gui/mainwindow/Application.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/ScriptedDialogs.h"

#include <QTest>
#include <memory>

namespace tamsel::test {

class MainWindowFixture {
protected:
    PosixFileSystem m_fs;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;

    // A fresh window, shown, and a fresh script; on fs where given, else on the real file system.
    bool openWindow(FileSystem* fs = nullptr)
    {
        setUpApplication();
        m_window.reset();
        m_dialogs = {};
        m_window = std::make_unique<MainWindow>(m_dialogs, fs ? *fs : m_fs);
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window.get());
    }

    // A control of the window by its name; a missing one ends the test run.
    template <typename T> T* get(const char* name) const
    {
        T* w = m_window->findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("no control named %s", name);
        return w;
    }
};

} // namespace tamsel::test

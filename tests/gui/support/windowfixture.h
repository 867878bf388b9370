#pragma once

// Builds a main window on a temporary folder with scripted dialogs.

#include "gui/app/sdimain.h"
#include "support/scripteddialogs.h"

#include <QTemporaryDir>

#include <memory>

namespace tarnwick::testing {

struct WindowFixture {
    QTemporaryDir root;
    QString work; // the working folder
    QString programDir; // <root>/bin, so the shared help page is <root>/share/tarnwick
    QString settings; // where the settings file is looked for (absent unless written)
    ScriptedDialogs dialogs;
    std::unique_ptr<gui::TSDIAppForm> window;

    WindowFixture();
    gui::TSDIAppForm& open(bool show = true);
};

} // namespace tarnwick::testing

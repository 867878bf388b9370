#pragma once

// Builds a main window on a temporary folder with scripted dialogs.

#include "gui/app/sdimain.h"
#include "support/scripteddialogs.h"

#include <QTemporaryDir>

#include <functional>
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

// Brings the window's page with this object name to the front.
void ShowPage(gui::TSDIAppForm& w, const QString& page);
// The object name of the page in front.
QString ShownPage(const gui::TSDIAppForm& w);

// The window's records, to read.
const core::TOobData& Records(const gui::TSDIAppForm& w);
// Changes the window's records as one undo step, as a user's edit would.
void ChangeRecords(gui::TSDIAppForm& w, const std::function<void(core::TOobData&)>& fn);
// Sets records up before a test acts: no undo step, and the document takes
// them for what its file holds.
void SetUpRecords(gui::TSDIAppForm& w, const std::function<void(core::TOobData&)>& fn);

} // namespace tarnwick::testing

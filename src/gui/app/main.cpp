// tarnwick: the editor's entry. tarnwick [FILE] opens FILE; --help and
// --version print without a display.

#include "core/data/settings.h"
#include "core/rules/openfile.h"
#include "core/rules/sdimain.h"
#include "gui/app/application.h"
#include "gui/app/sdimain.h"
#include "gui/ui/splashscreen.h"
#include "gui/ui/titleartwork.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using tarnwick::gui::MainWindowOptions;
using tarnwick::gui::TSDIAppForm;

MainWindowOptions StartOptions()
{
    MainWindowOptions options;
    options.programDir = QCoreApplication::applicationDirPath();
    const auto settings
        = tarnwick::core::FindSettingsFile(QFile::encodeName(options.programDir).toStdString());
    options.settingsFile = QFile::decodeName(QByteArray::fromStdString(settings.string()));
    return options;
}

// Opens the first file of the list, goes to the page named by TARNWICK_PAGE
// (the sheet's object name, any case), lets the window settle and writes its picture.
int Screenshot(QApplication& app, const QString& target)
{
    TSDIAppForm window(StartOptions());
    window.show();
    if (window.findChild<QListWidget*>("TarnListBox")->count() > 0)
        window.TarnListBoxDblClick();
    const QString page = qEnvironmentVariable("TARNWICK_PAGE");
    if (!page.isEmpty()) {
        auto* pages = window.findChild<QTabWidget*>("Viewer");
        for (int i = 0; i < pages->count(); ++i)
            if (pages->widget(i)->objectName().compare(page, Qt::CaseInsensitive) == 0
                && pages->isTabVisible(i))
                pages->setCurrentIndex(i);
    }
    // exit(), not quit(): quit() would close the window and ask the exit question.
    QTimer::singleShot(600, &window, [&] { QApplication::exit(window.grab().save(target) ? 0 : 1); });
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    namespace core = tarnwick::core;
    // --help and --version answer before Qt looks for a display.
    const core::EditorArguments early
        = core::ParseEditorArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (early.help || early.version) {
        std::fputs((early.help ? core::EditorUsageText() : core::EditorVersionText()).c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    tarnwick::gui::TarnwickApplication app(argc, argv);
    // Qt has taken its own options (-platform and the like) out of argv by now.
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i)
        rest.emplace_back(argv[i]);
    const core::EditorArguments args = core::ParseEditorArguments(rest);
    if (!args.error.empty()) {
        std::fprintf(stderr, "tarnwick: %s\nTry 'tarnwick --help'.\n", args.error.c_str());
        return 2;
    }
    app.setWindowIcon(tarnwick::gui::ProgramIcon());

    const QString screenshot = qEnvironmentVariable("TARNWICK_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        app.setApplicationName(tarnwick::core::kApplicationTitle);
        return Screenshot(app, screenshot);
    }

    auto splash = std::make_unique<tarnwick::gui::TSplash>();
    splash->show();
    splash->repaint();
    while (splash->timerRunning())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);

    // The application name, not the display name: the display name would be
    // appended to every window title.
    app.setApplicationName(tarnwick::core::kApplicationTitle);

    TSDIAppForm window(StartOptions());
    window.show();
    splash.reset();
    if (!args.file.empty())
        window.openPath(QFile::decodeName(QByteArray::fromStdString(args.file)));
    return app.exec();
}

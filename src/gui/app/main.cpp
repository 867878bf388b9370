// tarnwick: the editor's entry. Reads no command-line arguments.

#include "core/data/settings.h"
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

#include <memory>

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
    if (window.TarnListBox->count() > 0)
        window.TarnListBoxDblClick();
    const QString page = qEnvironmentVariable("TARNWICK_PAGE");
    if (!page.isEmpty()) {
        for (int i = 0; i < window.Viewer->count(); ++i)
            if (window.Viewer->widget(i)->objectName().compare(page, Qt::CaseInsensitive) == 0
                && window.Viewer->isTabVisible(i))
                window.Viewer->setCurrentIndex(i);
    }
    // exit(), not quit(): quit() would close the window and ask the exit question.
    QTimer::singleShot(600, &window, [&] { QApplication::exit(window.grab().save(target) ? 0 : 1); });
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    tarnwick::gui::TarnwickApplication app(argc, argv);
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
    return app.exec();
}

#include "support/windowfixture.h"

#include "gui/app/oobdocument.h"
#include "support/guitest.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>

namespace tarnwick::testing {

WindowFixture::WindowFixture()
{
    QDir(root.path()).mkpath("work");
    work = QDir(root.path()).filePath("work");
    settings = QDir(root.path()).filePath("TWFTK.ini");
    QDir(root.path()).mkpath("bin");
    programDir = QDir(root.path()).filePath("bin");
}

gui::TSDIAppForm& WindowFixture::open(bool show)
{
    gui::MainWindowOptions options;
    options.settingsFile = settings;
    options.programDir = programDir;
    options.workingFolder = work;
    options.dialogs = &dialogs;
    window = std::make_unique<gui::TSDIAppForm>(options);
    if (show) {
        window->show();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("main window not exposed");
    }
    return *window;
}

void ShowPage(gui::TSDIAppForm& w, const QString& page)
{
    Child<QTabWidget>(w, "Viewer")->setCurrentWidget(Child<QWidget>(w, page));
}

QString ShownPage(const gui::TSDIAppForm& w)
{
    const QWidget* page = Child<QTabWidget>(w, "Viewer")->currentWidget();
    return page != nullptr ? page->objectName() : QString();
}

const core::TOobData& Records(const gui::TSDIAppForm& w)
{
    return w.document()->records();
}

void ChangeRecords(gui::TSDIAppForm& w, const std::function<void(core::TOobData&)>& fn)
{
    w.document()->change(QStringLiteral("Test change"), [&fn](core::TOobData& records) {
        fn(records);
        return true;
    });
}

void SetUpRecords(gui::TSDIAppForm& w, const std::function<void(core::TOobData&)>& fn)
{
    ChangeRecords(w, fn);
    w.document()->undoStack()->clear();
    w.document()->saved();
}

} // namespace tarnwick::testing

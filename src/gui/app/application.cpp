#include "gui/app/application.h"

#include "core/rules/sdimain.h"

#include <QMessageBox>

#include <exception>
#include <new>

namespace tarnwick::gui {

TarnwickApplication::TarnwickApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TarnwickApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        report(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        report(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
    return false;
}

void TarnwickApplication::report(const QString& what)
{
    const QString text = QString::fromStdString(core::CommandFailedText(what.toStdString()));
    if (reporter_) {
        reporter_(text);
        return;
    }
    QMessageBox::critical(activeWindow(), QString::fromLatin1(core::kApplicationTitle), text);
}

} // namespace tarnwick::gui

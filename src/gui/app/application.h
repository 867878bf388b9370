#pragma once

// The editor's application object. An exception that leaves an event handler
// (out of memory, a decoder's error nobody caught) is reported and the command
// stops; the program goes on instead of ending.

#include <QApplication>
#include <QString>

#include <functional>

namespace tarnwick::gui {

class TarnwickApplication : public QApplication {
public:
    TarnwickApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Where such a failure is reported; the default shows an error box.
    void setFailureReporter(std::function<void(const QString&)> reporter) { reporter_ = std::move(reporter); }

private:
    void report(const QString& what);

    std::function<void(const QString&)> reporter_;
};

} // namespace tarnwick::gui

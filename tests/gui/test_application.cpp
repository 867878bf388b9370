// An exception that leaves an event handler is reported, and the program goes on.

#include "gui/app/application.h"

#include <QEvent>
#include <QTest>

#include <new>
#include <stdexcept>

using tarnwick::gui::TarnwickApplication;

namespace {

class Throwing : public QObject {
public:
    int kind = 0;
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (kind == 0)
            throw std::bad_alloc();
        if (kind == 1)
            throw std::runtime_error("Invalid file");
        throw 42;
    }
};

} // namespace

class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void failuresLeavingAHandlerAreReported()
    {
        auto* app = static_cast<TarnwickApplication*>(qApp);
        QStringList reports;
        app->setFailureReporter([&](const QString& text) { reports << text; });
        Throwing target;
        for (int kind : { 0, 1, 2 }) {
            target.kind = kind;
            QEvent event(QEvent::User);
            QVERIFY(!QCoreApplication::sendEvent(&target, &event));
        }
        QCOMPARE(reports.size(), 3);
        QVERIFY(reports[0].startsWith("The command stopped: Out of memory"));
        QVERIFY(reports[1].startsWith("The command stopped: Invalid file"));
        QVERIFY(reports[2].startsWith("The command stopped: Unknown error"));
    }
};

int main(int argc, char** argv)
{
    TarnwickApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"

// The splash window, the about box and the drawn artwork.

#include "gui/ui/about.h"
#include "gui/ui/splashscreen.h"
#include "gui/ui/titleartwork.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace tarnwick::gui;

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform warns about size hints for every window; nothing else is hidden.
void FilterOffscreenNoise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("This plugin does not support propagateSizeHints()")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

int DistinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

class TestSplashAbout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(FilterOffscreenNoise); }
    void cleanup()
    {
        // A failed check must not leave a modal box that blocks the next test.
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    }

    void splashLayout()
    {
        TSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));

        QCOMPARE(splash.size(), QSize(394, 299));
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(splash.windowType(), Qt::SplashScreen);

        auto* panel = splash.findChild<QFrame*>(QStringLiteral("Panel1"));
        QVERIFY(panel);
        QCOMPARE(panel->geometry(), QRect(0, 0, 394, 299));
        QCOMPARE(panel->frameShape(), QFrame::Panel);
        QCOMPARE(panel->frameShadow(), QFrame::Raised);
        QCOMPARE(panel->lineWidth(), 5);

        auto* image = splash.findChild<QLabel*>(QStringLiteral("Image1"));
        QVERIFY(image);
        QVERIFY(image->hasScaledContents());
        QCOMPARE(image->geometry(), panel->contentsRect());
        QCOMPARE(image->pixmap().size(), QSize(384, 288));

        auto* timer = splash.findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 1250);
        QVERIFY(timer->isSingleShot());
        QVERIFY(timer->isActive());
        QVERIFY(splash.timerRunning());
    }

    void splashInputStopsTimer_data()
    {
        QTest::addColumn<QString>("input");
        QTest::newRow("key released on the window") << "key";
        QTest::newRow("mouse pressed on the window") << "window";
        QTest::newRow("mouse pressed on the picture") << "picture";
        QTest::newRow("right button on the picture") << "picture-right";
    }
    void splashInputStopsTimer()
    {
        QFETCH(QString, input);
        TSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        auto* image = splash.findChild<QLabel*>(QStringLiteral("Image1"));
        QVERIFY(image);

        if (input == "key") {
            // Pressing alone is not enough: the window reacts to the release.
            QTest::keyPress(&splash, Qt::Key_Space);
            QVERIFY(splash.timerRunning());
            QTest::keyRelease(&splash, Qt::Key_Space);
        } else if (input == "window") {
            // The bevel is the only part of the window not covered by the picture.
            QTest::mousePress(&splash, Qt::LeftButton, {}, QPoint(2, 2));
        } else if (input == "picture") {
            QTest::mousePress(image, Qt::LeftButton, {}, image->rect().center());
        } else {
            QTest::mousePress(image, Qt::RightButton, {}, QPoint(10, 10));
        }
        QVERIFY(!splash.timerRunning());
    }

    void splashTimerStopsByItself()
    {
        QElapsedTimer clock;
        clock.start();
        TSplash splash;
        splash.show();
        QVERIFY(splash.timerRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!splash.timerRunning(), 5000);
        // Qt's coarse timers may fire up to 5 % early.
        QVERIFY2(clock.elapsed() >= 1180, qPrintable(QString::number(clock.elapsed())));
    }

    void artworkIsAFullColourPicture()
    {
        const QImage art = TitleArtwork();
        QCOMPARE(art.size(), QSize(384, 288));
        QVERIFY(art.format() == QImage::Format_RGB32 || art.format() == QImage::Format_RGB888);
        QVERIFY(!art.hasAlphaChannel());
        QVERIFY2(DistinctColours(art) > 500, "the artwork looks blank");
        // Drawn the same way on every run.
        QCOMPARE(TitleArtwork(), art);
    }

    void iconIsDrawnForEverySize()
    {
        const QIcon icon = ProgramIcon();
        QVERIFY(!icon.isNull());
        for (int side : { 16, 32, 48, 256 }) {
            QVERIFY2(icon.availableSizes().contains(QSize(side, side)), qPrintable(QString::number(side)));
            const QImage image = ProgramIconImage(side);
            QCOMPARE(image.size(), QSize(side, side));
            QCOMPARE(qAlpha(image.pixel(side / 2, side / 2)), 255);
            QVERIFY(DistinctColours(image) > 3);
        }
        // The corners stay clear so the rounded tile shows on any background.
        QCOMPARE(qAlpha(ProgramIconImage(64).pixel(0, 0)), 0);
    }

    void aboutLayout()
    {
        TmyAboutBox about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));

        QCOMPARE(about.windowTitle(), QStringLiteral("About Tarnwick For GH:FTK"));
        QCOMPARE(about.size(), QSize(709, 298));
        QVERIFY(about.windowFlags().testFlag(Qt::FramelessWindowHint));

        auto* panel = about.findChild<QFrame*>(QStringLiteral("Panel1"));
        QVERIFY(panel);
        QCOMPARE(panel->frameShadow(), QFrame::Raised);
        QCOMPARE(panel->lineWidth(), 3);

        auto* picture = about.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
        QVERIFY(picture);
        QCOMPARE(picture->geometry(), panel->contentsRect());
        QCOMPARE(picture->pixmap().size(), panel->contentsRect().size());

        auto* version = about.findChild<QLabel*>(QStringLiteral("Version"));
        QVERIFY(version);
        QCOMPARE(version->text(), QStringLiteral("Tarnwick for GH:FTK  version " TARNWICK_VERSION));
        QVERIFY(version->font().bold());
        QCOMPARE(version->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QVERIFY(version->isVisible());
        // The licence is named, and its line is not cut off at the bottom of the text.
        auto* comments = about.findChild<QLabel*>(QStringLiteral("Comments"));
        QVERIFY(comments && comments->text().contains("GPL-3.0-or-later"));
        QVERIFY(comments->heightForWidth(comments->width()) <= comments->height());

        auto* ok = about.findChild<QPushButton*>(QStringLiteral("OKButton"));
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        QVERIFY(ok->isVisible());
    }

    void aboutCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter") << "enter";
        QTest::newRow("Return") << "return";
        QTest::newRow("click on OK") << "click";
    }
    void aboutCloses()
    {
        QFETCH(QString, how);
        TmyAboutBox about;
        bool acted = false;
        QTimer::singleShot(0, &about, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            QCOMPARE(modal, &about);
            acted = true;
            if (how == "click")
                QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
            else
                QTest::keyClick(&about, how == "enter" ? Qt::Key_Enter : Qt::Key_Return);
        });
        // A box that ignores the input would block here until the test times out;
        // the watchdog rejects it instead so the comparison fails clearly.
        QTimer::singleShot(5000, &about, &QDialog::reject);
        QCOMPARE(about.exec(), int(QDialog::Accepted));
        QVERIFY(acted);

        // The box is kept for the whole run: a second showing works the same way.
        QTimer::singleShot(0, &about, [&] { QTest::keyClick(&about, Qt::Key_Return); });
        QTimer::singleShot(5000, &about, &QDialog::reject);
        QCOMPARE(about.exec(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestSplashAbout)
#include "test_splashabout.moc"

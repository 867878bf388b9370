#include "gui/graphics/artexportdialog.h"

#include "codec/artexport.h"
#include "gui/common/dialogs.h"
#include "gui/common/pathtext.h"
#include "gui/common/screenplace.h"

#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>

#include <atomic>
#include <thread>

namespace tarnwick::gui {

namespace {

const QString kCaption = QString::fromUtf8("Export Artwork");

// The names of at most this many broken files go in the closing box.
constexpr std::size_t kProblemsShown = 12;

} // namespace

void ExportArtwork(
    QWidget* parent, Dialogs& dialogs, const std::filesystem::path& gameDir, int transparentColour)
{
    if (gameDir.empty()) {
        dialogs.message(parent, Dialogs::Kind::Error, kCaption,
            QStringLiteral("Open a file first: its folder's pictures and icons are exported."));
        return;
    }
    const std::optional<QString> chosen
        = dialogs.folder(parent, QString::fromUtf8("Export Artwork To"), QString());
    if (!chosen || chosen->isEmpty())
        return;
    const std::filesystem::path outDir = chosen->toStdString();

    QProgressDialog progress(
        QStringLiteral("Exporting pictures and icons\u2026"), QStringLiteral("Cancel"), 0, 1, parent);
    progress.setObjectName("ExportArtworkProgress");
    progress.setWindowTitle(kCaption);
    FitWhenShown(&progress);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);

    std::atomic<bool> cancel { false };
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&cancel] { cancel = true; });
    QEventLoop loop;
    codec::ArtExportReport report;
    codec::ArtExportOptions options;
    options.transparent = static_cast<std::uint8_t>(transparentColour);
    QPointer<QProgressDialog> dialog(&progress);
    std::thread worker([&] {
        report = codec::ExportArt(
            gameDir, outDir, options,
            [&](const codec::ArtExportCounts& c) {
                QMetaObject::invokeMethod(
                    &progress,
                    [dialog, c] {
                        if (!dialog)
                            return;
                        dialog->setMaximum(std::max(1, c.pictures + c.iconFiles));
                        dialog->setValue(c.picturesDone + c.iconFilesDone);
                        dialog->setLabelText(QStringLiteral("%1/%2 pictures, %3/%4 icon files")
                                                 .arg(c.picturesDone)
                                                 .arg(c.pictures)
                                                 .arg(c.iconFilesDone)
                                                 .arg(c.iconFiles));
                    },
                    Qt::QueuedConnection);
            },
            &cancel);
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    progress.close();

    if (!report.error.empty()) {
        dialogs.message(parent, Dialogs::Kind::Error, kCaption, QString::fromStdString(report.error));
        return;
    }
    QString text
        = QStringLiteral("%1 %2 of %3 pictures and %4 icon frames of %5 icon files to %6.")
              .arg(report.cancelled ? QStringLiteral("Cancelled after writing") : QStringLiteral("Wrote"))
              .arg(report.picturesWritten)
              .arg(report.counts.pictures)
              .arg(report.framesWritten)
              .arg(report.counts.iconFiles)
              .arg(ShownPath(outDir));
    if (!report.problems.empty()) {
        text += QStringLiteral("\n\nSkipped, broken or not written (%1):").arg(report.problems.size());
        for (std::size_t i = 0; i < report.problems.size() && i < kProblemsShown; ++i)
            text += QStringLiteral("\n") + ShownPath(report.problems[i].file.filename())
                + QStringLiteral(": ") + QString::fromStdString(report.problems[i].reason);
        if (report.problems.size() > kProblemsShown)
            text += QStringLiteral("\n\u2026");
    }
    dialogs.message(parent, report.problems.empty() ? Dialogs::Kind::Information : Dialogs::Kind::Warning,
        kCaption, text);
}

} // namespace tarnwick::gui

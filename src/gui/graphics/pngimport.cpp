#include "gui/graphics/pngimport.h"

#include "codec/quantise.h"
#include "core/data/fileio.h"
#include "core/graphics/artfiles.h"
#include "core/graphics/lbm.h"
#include "core/graphics/pictureimport.h"
#include "gui/common/dialogs.h"
#include "gui/common/pathtext.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>

#include <cstring>

namespace tarnwick::gui {

namespace {

const QString kCaption = QString::fromUtf8("Import Picture");

void Fail(QWidget* parent, Dialogs& dialogs, const QString& text)
{
    dialogs.message(parent, Dialogs::Kind::Error, kCaption, text);
}

} // namespace

core::RgbaImage ToRgba(const QImage& image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    core::RgbaImage out(rgba.width(), rgba.height());
    for (int y = 0; y < rgba.height(); ++y)
        std::memcpy(out.at(0, y), rgba.constScanLine(y), 4 * static_cast<std::size_t>(rgba.width()));
    return out;
}

bool ImportPngPicture(QWidget* parent, Dialogs& dialogs, const std::filesystem::path& gameDir, int number)
{
    if (gameDir.empty()) {
        Fail(parent, dialogs, QStringLiteral("Open a file first: pictures go to the pic folder beside it."));
        return false;
    }
    const std::optional<QString> chosen = dialogs.openFileName(parent,
        QString::fromUtf8("Import Picture from PNG"), QStringLiteral("PNG Pictures (*.png)"), QString());
    if (!chosen || chosen->isEmpty())
        return false;
    return ImportPngPictureFrom(parent, dialogs, *chosen, gameDir, number);
}

bool ImportPngPictureFrom(QWidget* parent, Dialogs& dialogs, const QString& pngPath,
    const std::filesystem::path& gameDir, int number)
{
    const QString shownPng = QDir::toNativeSeparators(pngPath);
    QImageReader reader(pngPath, "png");
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > core::kMaxImportSide || size.height() > core::kMaxImportSide)) {
        Fail(parent, dialogs,
            QStringLiteral("%1 is %2 x %3 pixels, larger than %4 x %4; nothing was written.")
                .arg(shownPng)
                .arg(size.width())
                .arg(size.height())
                .arg(core::kMaxImportSide));
        return false;
    }
    // Qt's own limit on picture memory would refuse the largest pictures we take.
    const int allocationLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    const QImage image = reader.read();
    QImageReader::setAllocationLimit(allocationLimit);
    if (image.isNull()) {
        Fail(parent, dialogs,
            QStringLiteral("Cannot read %1 as a PNG picture: %2; nothing was written.")
                .arg(shownPng, reader.errorString()));
        return false;
    }

    std::filesystem::path folder = core::FindArtFolder(gameDir, core::kPictureFolder);
    if (folder.empty())
        folder = gameDir / core::kPictureFolder;
    std::filesystem::path target = core::FindArtFileIn(folder, core::PictureFileName(number));
    if (target.empty())
        target = folder / core::PictureFileName(number);
    const QString shownTarget = ShownPath(target);
    std::error_code ec;
    if (std::filesystem::exists(target, ec)
        && dialogs.message(parent, Dialogs::Kind::Question, kCaption,
               QStringLiteral("Replace %1 with %2?").arg(shownTarget, shownPng),
               Dialogs::Buttons::YesNoDefaultNo)
            != Dialogs::Answer::Yes)
        return false;

    core::PictureImportResult result;
    std::vector<std::uint8_t> bytes;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        result = core::ImportPicture(ToRgba(image), {}, codec::QuantiseImage);
        bytes = core::EncodeImportedPicture(result.image);
        QApplication::restoreOverrideCursor();
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        Fail(parent, dialogs,
            QStringLiteral("%1: %2; nothing was written.").arg(shownPng, QString::fromStdString(e.what())));
        return false;
    }
    std::filesystem::create_directories(folder, ec);
    if (const core::IoResult r = core::WriteFileAtomic(target, bytes.data(), bytes.size()); !r.ok()) {
        Fail(parent, dialogs, QString::fromStdString(r.message()));
        return false;
    }
    if (!result.notes.empty()) {
        QString text = QStringLiteral("Wrote %1.").arg(shownTarget);
        for (const std::string& note : result.notes)
            text += QStringLiteral("\n") + QString::fromStdString(note);
        dialogs.message(parent, Dialogs::Kind::Information, kCaption, text);
    }
    return true;
}

} // namespace tarnwick::gui

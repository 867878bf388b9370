#include "gui/graphics/picture.h"

#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"

#include <QList>
#include <QRgb>
#include <QtPlugin>

#include <algorithm>
#include <cstring>

// QImageReader and QPixmap read .lbm and .shp files in every program that
// draws pictures (the reader plugin lives in artimageio.cpp).
Q_IMPORT_PLUGIN(ArtImagePlugin)

namespace tarnwick::gui {

QImage ToQImage(const core::IndexedImage& image)
{
    if (image.width <= 0 || image.height <= 0)
        return {};
    QImage out(image.width, image.height, QImage::Format_Indexed8);
    if (out.isNull())
        return {};
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i) {
        const core::Rgb& c = image.palette[static_cast<std::size_t>(i)];
        colours[i] = qRgb(c.r, c.g, c.b);
    }
    out.setColorTable(colours);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(out.scanLine(y), image.row(y), static_cast<std::size_t>(image.width));
    return out;
}

QImage WithBottomLeftColourClear(const QImage& picture)
{
    if (picture.isNull())
        return {};
    QImage indexed = picture.format() == QImage::Format_Indexed8
        ? picture
        : picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb clear = indexed.pixel(0, indexed.height() - 1) | 0xFF000000u;
    if (indexed.format() == QImage::Format_Indexed8) {
        // Every colour-table entry of that colour, not only the corner's index.
        QList<QRgb> colours = indexed.colorTable();
        for (QRgb& c : colours)
            if ((c | 0xFF000000u) == clear)
                c = qRgba(qRed(c), qGreen(c), qBlue(c), 0);
        indexed.setColorTable(colours);
        return indexed;
    }
    for (int y = 0; y < indexed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(indexed.scanLine(y));
        for (int x = 0; x < indexed.width(); ++x)
            if ((row[x] | 0xFF000000u) == clear)
                row[x] = 0;
    }
    return indexed;
}

QImage ReadLbmPicture(const std::filesystem::path& path)
{
    return ToQImage(core::LoadLbmFile(path));
}

QImage ReadIconFrame(const std::filesystem::path& path, int entry, int transparent)
{
    const auto colour = static_cast<std::uint8_t>(std::clamp(transparent, 0, 255));
    return ToQImage(core::LoadShpFrame(path, entry, colour));
}

QString ReaderErrorText(const std::exception& error)
{
    return QString::fromLocal8Bit(error.what());
}

} // namespace tarnwick::gui

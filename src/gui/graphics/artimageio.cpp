// QImageReader and QPixmap read pictures (.lbm) and icon files (.shp) by their
// extension. An icon file is a multi-image file: its images are its directory
// entries, drawn over the usual transparent colour.

// The plugin lives in the program itself, not in a plugin folder.
#ifndef QT_STATICPLUGIN
#define QT_STATICPLUGIN
#endif

#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"
#include "gui/graphics/picture.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QImageIOHandler>
#include <QImageIOPlugin>
#include <QVariant>
#include <QtPlugin>

#include <cstdint>
#include <cstring>
#include <span>

namespace tarnwick::gui {

namespace {

std::span<const std::uint8_t> Bytes(const QByteArray& data)
{
    return { reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size()) };
}

bool LooksLikeLbm(QIODevice* device)
{
    return device != nullptr && device->peek(4) == "FORM";
}

bool LooksLikeShp(QIODevice* device)
{
    return device != nullptr && device->peek(4) == "1.10";
}

class ArtImageHandler : public QImageIOHandler {
public:
    explicit ArtImageHandler(bool icons)
        : icons_(icons)
    {
    }

    bool canRead() const override
    {
        if (icons_ ? !LooksLikeShp(device()) : !LooksLikeLbm(device()))
            return false;
        setFormat(icons_ ? "shp" : "lbm");
        return true;
    }

    bool read(QImage* image) override
    {
        if (!load())
            return false;
        try {
            const QImage out = icons_
                ? ToQImage(core::DecodeShpFrame(Bytes(data_), current_, core::kDefaultTransparentColour))
                : ToQImage(core::DecodeLbm(Bytes(data_)));
            if (out.isNull())
                return false;
            *image = out;
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

    int imageCount() const override
    {
        if (!icons_)
            return 1;
        if (!const_cast<ArtImageHandler*>(this)->load() || data_.size() < 8)
            return 0;
        std::int32_t count = 0;
        for (int i = 3; i >= 0; --i)
            count = (count << 8) | static_cast<std::uint8_t>(data_[4 + i]);
        return std::clamp<std::int32_t>(count, 0, core::kMaxShpFrames);
    }

    int currentImageNumber() const override { return current_; }

    bool jumpToImage(int imageNumber) override
    {
        if (imageNumber < 0 || imageNumber >= imageCount())
            return false;
        current_ = imageNumber;
        return true;
    }

    bool jumpToNextImage() override { return jumpToImage(current_ + 1); }

private:
    bool load()
    {
        if (loaded_)
            return !data_.isEmpty();
        loaded_ = true;
        if (device() == nullptr)
            return false;
        // As the readers do, a file too large to be a picture is not read whole.
        const auto limit = static_cast<qint64>(core::kMaxArtFileBytes);
        if (device()->size() > limit)
            return false;
        data_ = device()->read(limit + 1);
        if (data_.size() > limit)
            data_.clear();
        return !data_.isEmpty();
    }

    bool icons_;
    bool loaded_ = false;
    QByteArray data_;
    int current_ = 0;
};

} // namespace

class ArtImagePlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "artimage.json")
public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override
    {
        if (format == "lbm")
            return CanRead;
        if (format == "shp")
            return CanRead;
        // Without an extension only a picture's header is telling enough.
        if (format.isEmpty() && device != nullptr && device->isReadable() && LooksLikeLbm(device))
            return CanRead;
        return {};
    }

    QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override
    {
        const bool icons = format == "shp" || (format.isEmpty() && LooksLikeShp(device));
        auto* handler = new ArtImageHandler(icons);
        handler->setDevice(device);
        handler->setFormat(icons ? "shp" : "lbm");
        return handler;
    }
};

} // namespace tarnwick::gui

#include "artimageio.moc"

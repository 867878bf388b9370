#include "gui/ui/titleartwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace tarnwick::gui {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A hill drawn as nested, slightly irregular contour loops. Everything is
// derived from these fixed numbers, so every run draws the same picture.
struct Hill {
    QPointF centre;
    double radius; // outermost loop
    int levels;
    double phase; // turns the wobble
    double squash; // vertical / horizontal ratio
};

QPainterPath ContourLoop(const Hill& hill, double fraction)
{
    QPainterPath path;
    const int steps = 120;
    for (int i = 0; i <= steps; ++i) {
        const double t = 2.0 * kPi * i / steps;
        // Inner loops wobble less, like real contours closing on a summit.
        const double wobble = 0.15 * std::sin(3.0 * t + hill.phase)
            + 0.07 * std::sin(5.0 * t + 2.0 * hill.phase) * fraction + 0.05 * std::cos(2.0 * t - hill.phase);
        const double r = hill.radius * fraction * (1.0 + wobble);
        const QPointF p(hill.centre.x() + r * std::cos(t), hill.centre.y() + r * std::sin(t) * hill.squash);
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

void DrawHills(QPainter& painter, const Hill* hills, int count, const QColor& colour, double width)
{
    painter.setBrush(Qt::NoBrush);
    for (int h = 0; h < count; ++h) {
        const Hill& hill = hills[h];
        for (int level = 1; level <= hill.levels; ++level) {
            const double fraction = double(level) / hill.levels;
            QColor c = colour;
            // Every fourth line, counted from the outside, is an index contour.
            const bool index = (hill.levels - level) % 4 == 0;
            if (index)
                c.setAlpha(std::min(255, colour.alpha() * 2));
            painter.setPen(QPen(c, index ? width * 1.8 : width));
            painter.drawPath(ContourLoop(hill, fraction));
        }
    }
}

QPainterPath RiverPath(double w, double h)
{
    QPainterPath river;
    river.moveTo(-10, h * 0.80);
    river.cubicTo(w * 0.18, h * 0.70, w * 0.30, h * 0.98, w * 0.52, h * 0.86);
    river.cubicTo(w * 0.70, h * 0.76, w * 0.78, h * 0.58, w + 10, h * 0.62);
    return river;
}

void DrawGrid(QPainter& painter, QSizeF size, double step, const QColor& colour)
{
    painter.setPen(QPen(colour, 1.0));
    for (double x = step; x < size.width(); x += step)
        painter.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, size.height()));
    for (double y = step; y < size.height(); y += step)
        painter.drawLine(QPointF(0, y + 0.5), QPointF(size.width(), y + 0.5));
}

enum class UnitKind { Infantry, Armour, Mechanised, Recce, Artillery };

// A unit symbol in the common military style: a rectangle for own forces, a
// diamond for the enemy, the arm of service inside and the echelon above.
void DrawUnitSymbol(QPainter& painter, QPointF centre, double width, UnitKind kind, bool hostile,
    int echelonBars, int echelonDots)
{
    const double height = width * 2.0 / 3.0;
    const QColor ink(16, 20, 24);
    const double line = std::max(1.2, width / 18.0);
    painter.save();
    painter.setPen(QPen(ink, line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));

    QRectF inner; // where the arm-of-service sign goes
    QPointF top; // top of the frame, for the echelon
    if (hostile) {
        const double r = height * 0.85;
        QPolygonF diamond;
        diamond << QPointF(centre.x(), centre.y() - r) << QPointF(centre.x() + r, centre.y())
                << QPointF(centre.x(), centre.y() + r) << QPointF(centre.x() - r, centre.y());
        painter.setBrush(QColor(255, 140, 130));
        painter.drawPolygon(diamond);
        inner = QRectF(centre.x() - r / 2, centre.y() - r / 2, r, r);
        top = QPointF(centre.x(), centre.y() - r);
    } else {
        const QRectF frame(centre.x() - width / 2, centre.y() - height / 2, width, height);
        painter.setBrush(QColor(140, 210, 255));
        painter.drawRect(frame);
        inner = frame;
        top = QPointF(centre.x(), frame.top());
    }

    painter.setBrush(Qt::NoBrush);
    const bool cross = kind == UnitKind::Infantry || kind == UnitKind::Mechanised;
    if (cross) {
        painter.drawLine(inner.topLeft(), inner.bottomRight());
        painter.drawLine(inner.bottomLeft(), inner.topRight());
    }
    if (kind == UnitKind::Armour || kind == UnitKind::Mechanised) {
        const QRectF track(inner.center().x() - inner.width() * 0.32,
            inner.center().y() - inner.height() * 0.22, inner.width() * 0.64, inner.height() * 0.44);
        painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    }
    if (kind == UnitKind::Recce)
        painter.drawLine(inner.bottomLeft(), inner.topRight());
    if (kind == UnitKind::Artillery) {
        painter.setBrush(ink);
        const double r = inner.height() * 0.16;
        painter.drawEllipse(inner.center(), r, r);
    }

    // Echelon: bars for company and battalion, dots for section and platoon.
    painter.setBrush(ink);
    const double gap = width * 0.14;
    const double markTop = top.y() - width * 0.30;
    painter.setPen(QPen(QColor(240, 232, 205), line));
    for (int i = 0; i < echelonBars; ++i) {
        const double x = top.x() + (i - (echelonBars - 1) / 2.0) * gap;
        painter.drawLine(QPointF(x, markTop), QPointF(x, top.y() - width * 0.08));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 232, 205));
    for (int i = 0; i < echelonDots; ++i) {
        const double x = top.x() + (i - (echelonDots - 1) / 2.0) * gap;
        painter.drawEllipse(QPointF(x, top.y() - width * 0.17), line * 1.1, line * 1.1);
    }
    painter.restore();
}

// A broad translucent arrow along a curve, as drawn on operations maps.
void DrawAdvanceArrow(QPainter& painter, QPointF from, QPointF via, QPointF to, const QColor& colour)
{
    QPainterPath shaft;
    shaft.moveTo(from);
    shaft.quadTo(via, to);
    painter.save();
    painter.setPen(QPen(colour, 7, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shaft);
    // The head points along the last part of the curve.
    const QPointF dir = to - via;
    const double len = std::hypot(dir.x(), dir.y());
    const QPointF u(dir.x() / len, dir.y() / len);
    const QPointF n(-u.y(), u.x());
    QPolygonF head;
    head << to + u * 14.0 << to + n * 11.0 << to - n * 11.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(head);
    painter.restore();
}

QFont PixelFont(const QString& family, int pixels, bool bold, bool italic = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleHint(family.contains(QLatin1String("Serif")) ? QFont::Serif : QFont::SansSerif);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void DrawShadowedText(QPainter& painter, const QRectF& box, int flags, const QString& text,
    const QColor& colour, double shadowOffset)
{
    painter.setPen(QColor(0, 0, 0, 170));
    painter.drawText(box.translated(shadowOffset, shadowOffset), flags, text);
    painter.setPen(colour);
    painter.drawText(box, flags, text);
}

} // namespace

QImage TitleArtwork()
{
    const int w = kTitleArtworkWidth;
    const int h = kTitleArtworkHeight;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // Ground: dark olive at the top fading into gun-metal steel.
    QLinearGradient ground(0, 0, w * 0.35, h);
    ground.setColorAt(0.0, QColor(64, 76, 44));
    ground.setColorAt(0.55, QColor(42, 52, 38));
    ground.setColorAt(1.0, QColor(26, 34, 42));
    painter.fillRect(image.rect(), ground);

    // Terrain: two hills and a ridge, a river, the map grid.
    const Hill hills[] = {
        { QPointF(w * 0.80, h * 0.30), 118.0, 11, 0.7, 0.72 },
        { QPointF(w * 0.14, h * 0.36), 92.0, 9, 2.1, 0.80 },
        { QPointF(w * 0.55, h * 1.02), 110.0, 10, 4.0, 0.55 },
    };
    DrawHills(painter, hills, 3, QColor(196, 186, 128, 42), 1.0);

    painter.setPen(QPen(QColor(110, 150, 175, 150), 5.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(RiverPath(w, h));
    painter.setPen(QPen(QColor(150, 190, 210, 120), 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(RiverPath(w, h));

    DrawGrid(painter, QSizeF(w, h), 32.0, QColor(255, 255, 255, 22));
    painter.setFont(PixelFont(QStringLiteral("DejaVu Sans Mono"), 7, false));
    painter.setPen(QColor(230, 225, 200, 80));
    for (int i = 1; i * 32 < w; ++i)
        painter.drawText(QPointF(i * 32 + 2, 9), QString::asprintf("%02d", 40 + i));
    for (int i = 1; i * 32 < h; ++i)
        painter.drawText(QPointF(2, i * 32 - 2), QString::asprintf("%02d", 70 - i));

    // Darken behind the title so it stands clear of the map.
    QRadialGradient shade(QPointF(w / 2.0, h * 0.36), w * 0.55);
    shade.setColorAt(0.0, QColor(10, 14, 10, 150));
    shade.setColorAt(0.7, QColor(10, 14, 10, 60));
    shade.setColorAt(1.0, QColor(10, 14, 10, 0));
    painter.fillRect(image.rect(), shade);

    // Phase line and the units in contact below the title.
    painter.setPen(QPen(QColor(240, 232, 205, 120), 1.2, Qt::DashLine));
    painter.drawLine(QPointF(w * 0.62, h * 0.60), QPointF(w * 0.70, h * 0.98));
    painter.setFont(PixelFont(QStringLiteral("DejaVu Sans"), 8, true));
    painter.setPen(QColor(240, 232, 205, 150));
    painter.drawText(QPointF(w * 0.62 + 5, h * 0.64), QStringLiteral("PL AMBER"));

    DrawAdvanceArrow(
        painter, QPointF(118, 236), QPointF(170, 190), QPointF(222, 214), QColor(140, 210, 255, 110));
    DrawUnitSymbol(painter, QPointF(64, 222), 40, UnitKind::Mechanised, false, 2, 0);
    DrawUnitSymbol(painter, QPointF(122, 258), 32, UnitKind::Armour, false, 1, 0);
    DrawUnitSymbol(painter, QPointF(28, 266), 24, UnitKind::Recce, false, 0, 3);
    DrawUnitSymbol(painter, QPointF(298, 214), 30, UnitKind::Infantry, true, 1, 0);
    DrawUnitSymbol(painter, QPointF(348, 258), 24, UnitKind::Artillery, true, 0, 3);

    // Title block.
    const QColor parchment(242, 232, 201);
    const QColor khaki(206, 196, 140);
    painter.setFont(PixelFont(QStringLiteral("DejaVu Serif"), 13, true));
    {
        QFont f = painter.font();
        f.setLetterSpacing(QFont::AbsoluteSpacing, 4.0);
        painter.setFont(f);
    }
    DrawShadowedText(painter, QRectF(0, 30, w, 20), Qt::AlignHCenter | Qt::AlignVCenter,
        QStringLiteral("GH:FTK"), khaki, 1.0);

    painter.setFont(PixelFont(QStringLiteral("DejaVu Serif"), 60, true));
    DrawShadowedText(painter, QRectF(0, 48, w, 74), Qt::AlignHCenter | Qt::AlignVCenter,
        QStringLiteral("Tarnwick"), parchment, 3.0);

    // A rule with a diamond at each end under the name.
    painter.setPen(QPen(khaki, 1.5));
    painter.drawLine(QPointF(w * 0.22, 128.5), QPointF(w * 0.78, 128.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(khaki);
    for (double x : { w * 0.22, w * 0.78, w * 0.5 }) {
        QPolygonF d;
        d << QPointF(x, 124.5) << QPointF(x + 4, 128.5) << QPointF(x, 132.5) << QPointF(x - 4, 128.5);
        painter.drawPolygon(d);
    }

    painter.setFont(PixelFont(QStringLiteral("DejaVu Serif"), 17, false, true));
    DrawShadowedText(painter, QRectF(0, 136, w, 26), Qt::AlignHCenter | Qt::AlignVCenter,
        QStringLiteral("Order of battle editor"), parchment, 1.5);

    painter.setFont(PixelFont(QStringLiteral("DejaVu Sans"), 9, false));
    painter.setPen(QColor(230, 225, 200, 190));
    painter.drawText(QRectF(0, h - 16, w - 8, 14), Qt::AlignRight | Qt::AlignVCenter,
        QStringLiteral("version " TARNWICK_VERSION));

    // A fine inner border, like a map's neat line.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(240, 232, 205, 90), 1.0));
    painter.drawRect(QRectF(3.5, 3.5, w - 7, h - 7));
    painter.end();
    return image;
}

QImage MapSheetArtwork(QSize size)
{
    const int w = std::max(1, size.width());
    const int h = std::max(1, size.height());
    QImage image(w, h, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient paper(0, 0, w * 0.3, h);
    paper.setColorAt(0.0, QColor(244, 238, 218));
    paper.setColorAt(1.0, QColor(226, 216, 186));
    painter.fillRect(image.rect(), paper);

    const Hill hills[] = {
        { QPointF(w * 0.78, h * 0.42), h * 0.55, 10, 1.3, 0.70 },
        { QPointF(w * 0.30, h * 0.95), h * 0.45, 8, 3.2, 0.60 },
    };
    DrawHills(painter, hills, 2, QColor(150, 110, 60, 40), 1.0);
    painter.setPen(QPen(QColor(90, 140, 190, 70), 4.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(RiverPath(w, h));
    DrawGrid(painter, QSizeF(w, h), 32.0, QColor(60, 90, 130, 30));
    painter.end();
    return image;
}

QImage ProgramIconImage(int side)
{
    side = std::max(8, side);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 256-unit canvas; small sizes get thicker lines and fewer details.
    const double f = side / 256.0;
    painter.scale(f, f);
    const bool small = side < 32;
    auto width = [f](double units, double minPixels) { return std::max(units, minPixels / f); };

    // Olive tile with a dark rim.
    QLinearGradient tile(0, 8, 0, 248);
    tile.setColorAt(0.0, QColor(98, 114, 62));
    tile.setColorAt(1.0, QColor(40, 50, 30));
    painter.setPen(QPen(QColor(24, 30, 18), width(6, 1.0)));
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(8, 8, 240, 240), 40, 40);

    if (!small) {
        // Contours on the tile.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(206, 196, 140, 90), width(4, 1.0)));
        QPainterPath c1;
        c1.moveTo(20, 222);
        c1.cubicTo(70, 196, 150, 238, 236, 206);
        painter.drawPath(c1);
        QPainterPath c2;
        c2.moveTo(20, 238);
        c2.cubicTo(80, 214, 160, 250, 236, 226);
        painter.drawPath(c2);
    }

    // Own-forces frame: mechanised infantry (cross and track).
    const QRectF frame = small ? QRectF(36, 72, 184, 128) : QRectF(44, 96, 168, 112);
    const QColor ink(11, 26, 42);
    painter.setPen(QPen(ink, width(10, 1.2), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(QColor(143, 208, 255));
    painter.drawRect(frame);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, width(8, 1.0), Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(frame.topLeft(), frame.bottomRight());
    painter.drawLine(frame.bottomLeft(), frame.topRight());
    if (!small) {
        const QRectF track(frame.center().x() - 52, frame.center().y() - 24, 104, 48);
        painter.drawRoundedRect(track, 24, 24);
        // Battalion: two bars above the frame.
        painter.setPen(QPen(QColor(242, 232, 201), width(12, 1.0), Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(112, 44), QPointF(112, 82));
        painter.drawLine(QPointF(144, 44), QPointF(144, 82));
    }
    painter.end();
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int side : { 16, 22, 24, 32, 48, 64, 128, 256 })
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(side)));
    return icon;
}

} // namespace tarnwick::gui

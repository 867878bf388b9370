#include "core/demo/demoart.h"

#include "core/data/records.h"
#include "core/graphics/artfiles.h"
#include "core/graphics/icontables.h"
#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Everything here is drawn with a few shapes: polygons and ellipses filled with a
// light-to-dark ramp of palette colours and an ordered dither, so the pictures
// look shaded in 256 colours.

namespace tarnwick::core {

namespace {

struct Pt {
    double x, y;
};

using Ramp = std::vector<std::uint8_t>; // palette indices, light to dark

constexpr int kBayer[4][4] = { { 0, 8, 2, 10 }, { 12, 4, 14, 6 }, { 3, 11, 1, 9 }, { 15, 7, 13, 5 } };

class Canvas {
public:
    explicit Canvas(IndexedImage& image)
        : image_(image)
    {
    }
    int width() const { return image_.width; }
    int height() const { return image_.height; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < image_.width && y < image_.height; }
    void put(int x, int y, std::uint8_t c)
    {
        if (inside(x, y))
            image_.row(y)[x] = c;
    }
    std::uint8_t get(int x, int y) const { return inside(x, y) ? image_.row(y)[x] : 0; }

    // A ramp colour for t in 0..1 (0 light), dithered by the pixel's place.
    static std::uint8_t shade(const Ramp& ramp, double t, int x, int y)
    {
        const double steps = static_cast<double>(ramp.size() - 1);
        double v = std::clamp(t, 0.0, 1.0) * steps + (kBayer[y & 3][x & 3] + 0.5) / 16.0 - 0.5;
        const int i = std::clamp(static_cast<int>(std::lround(v)), 0, static_cast<int>(ramp.size()) - 1);
        return ramp[static_cast<std::size_t>(i)];
    }

    // Fills a polygon, shaded from t0 at its top to t1 at its bottom.
    void polygon(const std::vector<Pt>& pts, const Ramp& ramp, double t0 = 0.15, double t1 = 0.85)
    {
        double top = 1e9, bottom = -1e9;
        for (const Pt& p : pts) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        const double span = std::max(bottom - top, 1.0);
        for (int y = std::max(0, static_cast<int>(std::floor(top)));
             y <= std::min(height() - 1, static_cast<int>(bottom)); ++y) {
            const double cy = y + 0.5;
            std::vector<double> xs;
            for (std::size_t i = 0; i < pts.size(); ++i) {
                const Pt& a = pts[i];
                const Pt& b = pts[(i + 1) % pts.size()];
                if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy))
                    xs.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
            }
            std::sort(xs.begin(), xs.end());
            const double t = t0 + (cy - top) / span * (t1 - t0);
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
                const int from = static_cast<int>(std::ceil(std::max(xs[i], -1.0) - 0.5));
                const int to = static_cast<int>(std::floor(std::min(xs[i + 1], 1e4) - 0.5));
                for (int x = std::max(from, 0); x <= std::min(to, width() - 1); ++x)
                    put(x, y, shade(ramp, t, x, y));
            }
        }
    }

    void rect(
        double x0, double y0, double x1, double y1, const Ramp& ramp, double t0 = 0.15, double t1 = 0.85)
    {
        polygon({ { x0, y0 }, { x1, y0 }, { x1, y1 }, { x0, y1 } }, ramp, t0, t1);
    }

    // An ellipse lit from the upper left.
    void ellipse(
        double cx, double cy, double rx, double ry, const Ramp& ramp, double t0 = 0.1, double t1 = 0.9)
    {
        for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry)); ++y)
            for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx));
                 ++x) {
                const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
                if (dx * dx + dy * dy > 1.0)
                    continue;
                const double light = 0.5 + 0.35 * dy + 0.15 * dx;
                put(x, y, shade(ramp, t0 + light * (t1 - t0), x, y));
            }
    }

    // A straight stroke of the given width in one colour.
    void line(Pt a, Pt b, double w, std::uint8_t c)
    {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len = std::max(std::hypot(dx, dy), 0.001);
        const double nx = -dy / len * w / 2, ny = dx / len * w / 2;
        const Ramp flat { c };
        polygon({ { a.x + nx, a.y + ny }, { b.x + nx, b.y + ny }, { b.x - nx, b.y - ny },
                    { a.x - nx, a.y - ny } },
            flat, 0, 0);
    }

    // Camouflage: inside the ellipse, colours of ramp `from` become the same shade of `to`.
    void recolour(double cx, double cy, double rx, double ry, const Ramp& from, const Ramp& to)
    {
        for (int y = static_cast<int>(cy - ry); y <= static_cast<int>(cy + ry); ++y)
            for (int x = static_cast<int>(cx - rx); x <= static_cast<int>(cx + rx); ++x) {
                const double dx = (x - cx) / rx, dy = (y - cy) / ry;
                if (dx * dx + dy * dy > 1.0 || !inside(x, y))
                    continue;
                const auto it = std::find(from.begin(), from.end(), get(x, y));
                if (it != from.end())
                    put(x, y, to[std::min(to.size() - 1, static_cast<std::size_t>(it - from.begin()))]);
            }
    }

private:
    IndexedImage& image_;
};

// ---- colours ----

struct Colour3 {
    double r, g, b;
};

// The look of a nation's equipment and soldiers.
struct Livery {
    Colour3 camoA, camoB, uniform;
};

Livery LiveryOf(int nation)
{
    switch (nation) {
    case 1:
        return { { 96, 108, 62 }, { 78, 62, 42 }, { 112, 116, 78 } };
    case 2:
        return { { 74, 96, 58 }, { 150, 136, 96 }, { 124, 108, 78 } };
    case 12:
        return { { 108, 112, 106 }, { 72, 82, 72 }, { 96, 106, 116 } };
    case 5:
    case 9:
        return { { 172, 152, 108 }, { 122, 92, 62 }, { 166, 146, 112 } };
    default:
        return { { 100, 104, 70 }, { 70, 70, 50 }, { 110, 110, 80 } };
    }
}

// Palette layout of the pictures: ramps at fixed places.
struct Ramps {
    Ramp sky, hills, ground, dirt, camoA, camoB, metal, uniform, skin, helmet, canvas, glass, cloud;
    std::uint8_t black = 0, white = 0, red = 0, yellow = 0, outline = 0;
};

Ramp MakeRamp(Palette& pal, int& next, int n, Colour3 light, Colour3 dark)
{
    Ramp r;
    for (int i = 0; i < n; ++i) {
        const double t = n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
        auto mix = [t](double a, double b) {
            return static_cast<std::uint8_t>(std::clamp(a + (b - a) * t, 0.0, 255.0));
        };
        pal[static_cast<std::size_t>(next)]
            = { mix(light.r, dark.r), mix(light.g, dark.g), mix(light.b, dark.b) };
        r.push_back(static_cast<std::uint8_t>(next++));
    }
    return r;
}

Colour3 Scale(Colour3 c, double k)
{
    return { c.r * k, c.g * k, c.b * k };
}

Ramps PicturePalette(Palette& pal, const Livery& l)
{
    Ramps r;
    int next = 1;
    r.sky = MakeRamp(pal, next, 24, { 82, 122, 178 }, { 206, 218, 226 });
    r.hills = MakeRamp(pal, next, 8, { 138, 154, 160 }, { 92, 112, 108 });
    r.ground = MakeRamp(pal, next, 24, { 156, 154, 96 }, { 52, 62, 30 });
    r.dirt = MakeRamp(pal, next, 8, { 166, 136, 96 }, { 84, 66, 42 });
    r.camoA = MakeRamp(pal, next, 16, Scale(l.camoA, 1.6), Scale(l.camoA, 0.3));
    r.camoB = MakeRamp(pal, next, 16, Scale(l.camoB, 1.6), Scale(l.camoB, 0.3));
    r.metal = MakeRamp(pal, next, 16, { 196, 196, 190 }, { 20, 20, 22 });
    r.uniform = MakeRamp(pal, next, 16, Scale(l.uniform, 1.5), Scale(l.uniform, 0.3));
    r.skin = MakeRamp(pal, next, 8, { 238, 198, 164 }, { 120, 82, 58 });
    r.helmet = MakeRamp(pal, next, 8, Scale(l.camoA, 1.3), Scale(l.camoA, 0.35));
    r.canvas = MakeRamp(pal, next, 8, Scale(l.camoB, 1.5), Scale(l.camoB, 0.55));
    r.glass = MakeRamp(pal, next, 8, { 184, 212, 230 }, { 40, 60, 80 });
    r.cloud = MakeRamp(pal, next, 8, { 250, 250, 248 }, { 196, 204, 212 });
    r.white = static_cast<std::uint8_t>(next);
    pal[static_cast<std::size_t>(next++)] = { 250, 250, 250 };
    r.red = static_cast<std::uint8_t>(next);
    pal[static_cast<std::size_t>(next++)] = { 196, 40, 32 };
    r.yellow = static_cast<std::uint8_t>(next);
    pal[static_cast<std::size_t>(next++)] = { 232, 196, 64 };
    r.outline = static_cast<std::uint8_t>(next);
    pal[static_cast<std::size_t>(next++)] = { 34, 36, 28 };
    r.black = 0;
    return r;
}

std::uint32_t Hash(std::uint32_t v)
{
    v ^= v >> 16;
    v *= 0x7feb352dU;
    v ^= v >> 15;
    v *= 0x846ca68bU;
    v ^= v >> 16;
    return v;
}

// ---- what a unit looks like ----

enum class Kind {
    Rifle,
    Hq,
    Engineer,
    Mortar,
    AtTeam,
    MgTeam,
    SamTeam,
    Tank,
    FlameTank,
    Apc,
    Ifv,
    ScoutCar,
    Jeep,
    TowedGun,
    SpGun,
    Rocket,
    Truck,
    SamVehicle,
};

bool HasWeapon(const TOobUnit& u, int weapon)
{
    return std::find(u.weapon.begin(), u.weapon.end(), weapon) != u.weapon.end();
}

Kind KindOf(const TOobUnit& u)
{
    // The sample folder's unit classes (see its settings file).
    switch (u.unitClass) {
    case 1:
        return Kind::Rifle;
    case 3:
        return Kind::Mortar;
    case 20:
        return Kind::Engineer;
    case 2:
        return Kind::Hq;
    case 4:
        return Kind::AtTeam;
    case 7:
        return Kind::MgTeam;
    case 51:
        return Kind::SamTeam;
    case 0:
    case 23:
        return HasWeapon(u, 20) ? Kind::FlameTank : Kind::Tank;
    case 11:
        return HasWeapon(u, 8) ? Kind::Ifv : Kind::Apc;
    case 12:
        return u.size <= 2 ? Kind::Jeep : Kind::ScoutCar;
    case 5:
        return Kind::TowedGun;
    case 26:
        return HasWeapon(u, 21) ? Kind::Rocket : Kind::SpGun;
    case 42:
        return Kind::SamVehicle;
    default:
        return u.crew > 4 ? Kind::Rifle : Kind::Truck;
    }
}

bool IsInfantry(Kind k)
{
    return k <= Kind::SamTeam;
}

// ---- pictures ----

constexpr double kGround = 68; // where wheels and feet touch the ground

void Scene(Canvas& c, const Ramps& r, std::uint32_t seed)
{
    const int horizon = 40 + static_cast<int>(seed % 7);
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            if (y < horizon)
                c.put(x, y, Canvas::shade(r.sky, static_cast<double>(y) / horizon, x, y));
            else {
                const double t = 0.15 + 0.8 * (y - horizon) / static_cast<double>(c.height() - horizon);
                const double grass
                    = (static_cast<int>(Hash(static_cast<std::uint32_t>(x * 131 + y * 977) + seed) % 100)
                          - 50)
                    / 400.0;
                c.put(x, y, Canvas::shade(r.ground, t + grass, x, y));
            }
        }
    // Clouds and a line of hills.
    for (int i = 0; i < 3; ++i) {
        const double cx = (Hash(seed + 11 * i) % 160), cy = 8 + (Hash(seed + 5 * i) % 14);
        c.ellipse(cx, cy, 14, 3.5, r.cloud, 0, 0.8);
        c.ellipse(cx + 7, cy - 2, 8, 3, r.cloud, 0, 0.6);
    }
    std::vector<Pt> hills { { 0, static_cast<double>(horizon) } };
    for (int x = 0; x <= 160; x += 8)
        hills.push_back({ static_cast<double>(x),
            horizon - 3 - 5 * (0.5 + 0.5 * std::sin(x / 23.0 + seed % 13)) - (Hash(seed + x) % 3) });
    hills.push_back({ 160, static_cast<double>(horizon) });
    c.polygon(hills, r.hills, 0, 1);
    // A track across the field.
    c.polygon({ { 0, 72 }, { 160, 64 }, { 160, 70 }, { 0, 79 } }, r.dirt, 0.3, 0.7);
}

void Shadow(Canvas& c, const Ramps& r, double x0, double x1)
{
    for (int y = static_cast<int>(kGround) - 2; y <= static_cast<int>(kGround) + 4; ++y)
        for (int x = static_cast<int>(x0); x <= static_cast<int>(x1); ++x) {
            const double dx = (x - (x0 + x1) / 2) / ((x1 - x0) / 2), dy = (y - kGround - 1) / 4.0;
            if (dx * dx + dy * dy > 1)
                continue;
            const std::uint8_t v = c.get(x, y);
            for (const Ramp* ramp : { &r.ground, &r.dirt }) {
                const auto it = std::find(ramp->begin(), ramp->end(), v);
                if (it != ramp->end())
                    c.put(x, y, (*ramp)[std::min<std::size_t>(ramp->size() - 1, (it - ramp->begin()) + 5)]);
            }
        }
}

void Wheel(Canvas& c, const Ramps& r, double cx, double cy, double rad)
{
    c.ellipse(cx, cy, rad, rad, r.metal, 0.7, 0.95);
    c.ellipse(cx - 0.5, cy - 0.5, rad * 0.55, rad * 0.55, r.metal, 0.3, 0.6);
    c.ellipse(cx - 0.5, cy - 0.5, rad * 0.2, rad * 0.2, r.metal, 0.7, 0.8);
}

void Tracks(Canvas& c, const Ramps& r, double x0, double x1, double top, int wheels)
{
    const double bottom = kGround;
    c.polygon({ { x0 + 2, top }, { x1 - 3, top }, { x1 + 1, top + 5 }, { x1 - 7, bottom }, { x0 + 7, bottom },
                  { x0 - 2, top + 6 } },
        r.metal, 0.75, 0.95);
    const double rad = (bottom - top) / 2 - 1.2;
    for (int i = 0; i < wheels; ++i) {
        const double cx = x0 + 8 + i * (x1 - x0 - 16) / (wheels - 1);
        Wheel(c, r, cx, top + (bottom - top) / 2 + 0.5, rad);
    }
    for (double x = x0 + 3; x < x1 - 2; x += 3)
        c.put(static_cast<int>(x), static_cast<int>(top), r.metal[5]);
}

void Camo(Canvas& c, const Ramps& r, std::uint32_t seed, double x0, double x1, double y0, double y1)
{
    for (int i = 0; i < 7; ++i) {
        const double cx = x0 + Hash(seed + 3 * i) % static_cast<std::uint32_t>(x1 - x0);
        const double cy = y0 + Hash(seed + 7 * i + 1) % static_cast<std::uint32_t>(std::max(1.0, y1 - y0));
        c.recolour(cx, cy, 6 + Hash(seed + i) % 6, 3 + Hash(seed + i + 9) % 3, r.camoA, r.camoB);
    }
}

void Barrel(Canvas& c, const Ramps& r, Pt from, Pt to, double w)
{
    c.line(from, to, w, r.metal[9]);
    c.line({ from.x, from.y - w / 4 }, { to.x, to.y - w / 4 }, std::max(1.0, w / 3), r.metal[5]);
}

void TankPicture(Canvas& c, const Ramps& r, std::uint32_t seed, bool flame)
{
    Shadow(c, r, 14, 146);
    Tracks(c, r, 20, 136, 54, 6);
    c.polygon(
        { { 16, 50 }, { 26, 41 }, { 118, 41 }, { 140, 48 }, { 138, 55 }, { 18, 55 } }, r.camoA, 0.1, 0.8);
    c.polygon({ { 52, 41 }, { 58, 29 }, { 96, 28 }, { 106, 35 }, { 104, 41 } }, r.camoA, 0.05, 0.6);
    c.ellipse(70, 28, 6, 2.5, r.camoA, 0.2, 0.6);
    if (flame) {
        Barrel(c, r, { 104, 36 }, { 124, 36 }, 4);
        c.rect(14, 38, 30, 48, r.camoB, 0.2, 0.8);
        c.line({ 78, 26 }, { 90, 22 }, 1.5, r.metal[10]);
    } else {
        Barrel(c, r, { 104, 35 }, { 154, 33 }, 3.2);
        c.rect(138, 31.5, 146, 36, r.metal, 0.5, 0.8);
        c.line({ 70, 25 }, { 82, 24 }, 1.2, r.metal[11]);
    }
    c.rect(24, 44, 44, 47, r.camoA, 0.7, 0.8); // stowage
    Camo(c, r, seed, 18, 138, 30, 55);
    c.rect(86, 46, 90, 50, { r.white }, 0, 0);
}

void IfvPicture(Canvas& c, const Ramps& r, std::uint32_t seed, bool turret)
{
    Shadow(c, r, 14, 146);
    Tracks(c, r, 22, 134, 55, 6);
    c.polygon({ { 18, 36 }, { 112, 36 }, { 140, 48 }, { 138, 56 }, { 18, 56 } }, r.camoA, 0.1, 0.8);
    c.rect(24, 40, 30, 52, r.camoA, 0.5, 0.9); // rear door
    for (int i = 0; i < 3; ++i)
        c.ellipse(46 + 14 * i, 44, 2, 2, r.glass, 0.2, 0.8);
    if (turret) {
        c.polygon({ { 78, 36 }, { 82, 28 }, { 102, 28 }, { 108, 36 } }, r.camoA, 0.05, 0.6);
        Barrel(c, r, { 104, 31 }, { 146, 31 }, 2);
    } else {
        c.ellipse(98, 34, 5, 2, r.camoA, 0.2, 0.6);
        Barrel(c, r, { 98, 31 }, { 118, 31 }, 1.5);
    }
    Camo(c, r, seed, 20, 136, 30, 56);
}

void WheeledPicture(Canvas& c, const Ramps& r, std::uint32_t seed, bool jeep)
{
    Shadow(c, r, 20, 140);
    if (jeep) {
        c.polygon({ { 36, 48 }, { 60, 48 }, { 66, 40 }, { 70, 40 }, { 74, 48 }, { 118, 50 }, { 122, 60 },
                      { 34, 60 } },
            r.camoA, 0.1, 0.8);
        c.line({ 70, 40 }, { 66, 30 }, 1.5, r.metal[8]);
        c.ellipse(52, 40, 4, 4, r.skin, 0.2, 0.7);
        c.ellipse(52, 37, 4.5, 3, r.helmet, 0.1, 0.8);
        c.rect(48, 42, 57, 50, r.uniform, 0.2, 0.8);
        Wheel(c, r, 50, 61, 7);
        Wheel(c, r, 106, 61, 7);
    } else {
        c.polygon(
            { { 26, 44 }, { 40, 36 }, { 104, 36 }, { 130, 46 }, { 134, 60 }, { 24, 60 } }, r.camoA, 0.1, 0.8);
        c.polygon({ { 60, 36 }, { 64, 28 }, { 86, 28 }, { 90, 36 } }, r.camoA, 0.05, 0.6);
        Barrel(c, r, { 86, 31 }, { 112, 30 }, 1.6);
        c.rect(102, 38, 112, 44, r.glass, 0.2, 0.8);
        for (double x : { 42.0, 68.0, 114.0 })
            Wheel(c, r, x, 61, 7);
    }
    Camo(c, r, seed, 26, 130, 30, 58);
}

void TruckPicture(Canvas& c, const Ramps& r, std::uint32_t seed)
{
    Shadow(c, r, 12, 150);
    c.rect(16, 52, 140, 58, r.metal, 0.6, 0.9); // chassis
    c.polygon({ { 16, 26 }, { 98, 26 }, { 100, 30 }, { 100, 52 }, { 16, 52 } }, r.canvas, 0.05, 0.9);
    for (double x = 28; x < 98; x += 14)
        c.line({ x, 27 }, { x, 51 }, 1, r.canvas[6]);
    c.polygon({ { 104, 32 }, { 126, 32 }, { 138, 44 }, { 140, 56 }, { 104, 56 } }, r.camoA, 0.1, 0.8);
    c.polygon({ { 108, 35 }, { 124, 35 }, { 132, 44 }, { 108, 44 } }, r.glass, 0.1, 0.9);
    for (double x : { 34.0, 54.0, 122.0 })
        Wheel(c, r, x, 61, 7.5);
    Camo(c, r, seed, 104, 140, 40, 56);
}

void TowedGunPicture(Canvas& c, const Ramps& r, std::uint32_t seed)
{
    Shadow(c, r, 20, 130);
    c.line({ 76, 56 }, { 24, 66 }, 3, r.camoA[10]); // trails
    c.line({ 76, 58 }, { 34, 68 }, 3, r.camoA[12]);
    c.polygon({ { 68, 40 }, { 90, 38 }, { 92, 58 }, { 70, 58 } }, r.camoA, 0.1, 0.8); // shield
    Barrel(c, r, { 78, 46 }, { 150, 22 }, 3.5);
    c.rect(70, 44, 90, 52, r.camoA, 0.4, 0.9); // cradle
    Wheel(c, r, 82, 60, 8);
    Camo(c, r, seed, 66, 94, 38, 58);
}

void SpGunPicture(Canvas& c, const Ramps& r, std::uint32_t seed, bool rockets)
{
    Shadow(c, r, 14, 146);
    Tracks(c, r, 20, 136, 55, 7);
    c.polygon(
        { { 16, 48 }, { 24, 42 }, { 122, 42 }, { 140, 50 }, { 138, 56 }, { 18, 56 } }, r.camoA, 0.1, 0.8);
    if (rockets) {
        // A launcher box raised towards the front, its tubes showing at the end.
        c.polygon({ { 30, 40 }, { 100, 14 }, { 108, 30 }, { 38, 50 } }, r.camoB, 0.05, 0.8);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 2; ++j)
                c.ellipse(101 + 2 * j + i * 1.0, 18 + 4 * i + 2 * j, 1.4, 1.4, { r.black }, 0, 0);
        c.polygon({ { 104, 42 }, { 110, 32 }, { 130, 34 }, { 136, 44 } }, r.camoA, 0.05, 0.6); // cab
        c.rect(114, 35, 126, 40, r.glass, 0.1, 0.9);
    } else {
        c.polygon({ { 40, 42 }, { 44, 24 }, { 102, 24 }, { 110, 34 }, { 108, 42 } }, r.camoA, 0.05, 0.6);
        Barrel(c, r, { 104, 32 }, { 156, 14 }, 3.5);
        c.rect(148, 14, 156, 19, r.metal, 0.5, 0.8);
    }
    Camo(c, r, seed, 18, 138, 16, 56);
}

void SamVehiclePicture(Canvas& c, const Ramps& r, std::uint32_t seed)
{
    Shadow(c, r, 14, 146);
    Tracks(c, r, 22, 134, 55, 6);
    c.polygon(
        { { 18, 48 }, { 26, 42 }, { 120, 42 }, { 140, 50 }, { 138, 56 }, { 20, 56 } }, r.camoA, 0.1, 0.8);
    c.rect(58, 32, 96, 42, r.camoA, 0.05, 0.7);
    for (int i = 0; i < 2; ++i) {
        c.line({ 60.0 + 8 * i, 32.0 - 4 * i }, { 104.0 + 8 * i, 12.0 - 4 * i }, 5, r.camoB[6]);
        c.ellipse(104.0 + 8 * i, 12.0 - 4 * i, 2.5, 2.5, r.camoB, 0.3, 0.7);
    }
    c.line({ 64, 32 }, { 54, 18 }, 1.5, r.metal[8]); // radar mast
    c.ellipse(52, 16, 8, 3, r.metal, 0.1, 0.6);
    Camo(c, r, seed, 20, 136, 30, 56);
}

// One soldier standing or walking (stride -1..1), kneeling, or lying down.
enum class Pose { Stand, Kneel, Prone };

void Soldier(
    Canvas& c, const Ramps& r, double x, double ground, double h, Pose pose, double stride, bool rifle = true)
{
    const double head = h * 0.085;
    if (pose == Pose::Prone) {
        c.line({ x - h * 0.6, ground - 2 }, { x, ground - 3 }, h * 0.12, r.uniform[10]);
        c.polygon({ { x - h * 0.1, ground - 1 }, { x + h * 0.3, ground - 1 },
                      { x + h * 0.3, ground - h * 0.2 }, { x - h * 0.1, ground - h * 0.14 } },
            r.uniform, 0.2, 0.8);
        c.ellipse(x + h * 0.38, ground - h * 0.22, head, head, r.skin, 0.1, 0.8);
        c.ellipse(x + h * 0.38, ground - h * 0.28, head * 1.2, head * 0.8, r.helmet, 0.1, 0.8);
        return;
    }
    const double hip = pose == Pose::Kneel ? ground - h * 0.3 : ground - h * 0.47;
    const double shoulder = hip - h * 0.33;
    if (pose == Pose::Kneel) {
        c.line({ x, hip }, { x + h * 0.22, hip + 1 }, h * 0.1, r.uniform[9]);
        c.line({ x + h * 0.22, hip + 1 }, { x + h * 0.22, ground }, h * 0.09, r.uniform[10]);
        c.line({ x, hip }, { x - h * 0.12, ground - 1 }, h * 0.1, r.uniform[11]);
        c.line({ x - h * 0.12, ground - 1 }, { x - h * 0.32, ground }, h * 0.08, r.uniform[12]);
    } else {
        c.line({ x, hip }, { x - h * 0.14 * stride, ground }, h * 0.1, r.uniform[11]);
        c.line({ x, hip }, { x + h * 0.14 * stride, ground }, h * 0.1, r.uniform[9]);
        c.rect(x - h * 0.14 * stride - 1, ground - 1.5, x - h * 0.14 * stride + 2, ground, { r.metal[13] }, 0,
            0);
        c.rect(x + h * 0.14 * stride - 1, ground - 1.5, x + h * 0.14 * stride + 2, ground, { r.metal[13] }, 0,
            0);
    }
    c.polygon({ { x - h * 0.1, shoulder }, { x + h * 0.1, shoulder }, { x + h * 0.08, hip },
                  { x - h * 0.09, hip } },
        r.uniform, 0.15, 0.75);
    c.rect(x - h * 0.1, hip - h * 0.06, x + h * 0.09, hip - h * 0.03, { r.helmet[5] }, 0, 0); // belt
    c.ellipse(x + 0.5, shoulder - head * 1.1, head, head * 1.1, r.skin, 0.1, 0.7);
    c.ellipse(x, shoulder - head * 1.6, head * 1.35, head * 0.9, r.helmet, 0.05, 0.8);
    if (rifle) {
        c.line({ x - h * 0.12, hip - h * 0.02 }, { x + h * 0.3, shoulder - h * 0.05 },
            std::max(1.0, h * 0.05), r.metal[12]);
        c.line({ x + h * 0.05, shoulder + h * 0.05 }, { x + h * 0.18, shoulder + h * 0.12 }, h * 0.06,
            r.uniform[6]);
    }
}

void SquadPicture(Canvas& c, const Ramps& r, std::uint32_t seed, Kind kind)
{
    struct Place {
        double x, ground, h;
    };
    const std::vector<Place> rear { { 30, 56, 18 }, { 62, 55, 17 }, { 96, 57, 18 }, { 128, 56, 17 } };
    const std::vector<Place> front { { 20, 74, 28 }, { 50, 72, 27 }, { 82, 75, 29 }, { 114, 73, 27 },
        { 142, 74, 28 } };
    auto strideOf = [&](int i) { return (static_cast<int>(Hash(seed + i) % 5) - 2) / 2.0; };
    switch (kind) {
    case Kind::Mortar: {
        c.ellipse(84, 70, 10, 2, r.metal, 0.5, 0.9);
        c.line({ 84, 70 }, { 100, 34 }, 4, r.metal[9]);
        c.line({ 92, 52 }, { 80, 70 }, 1.5, r.metal[10]);
        Soldier(c, r, 62, 73, 28, Pose::Kneel, 0, false);
        Soldier(c, r, 112, 72, 27, Pose::Kneel, 0, false);
        Soldier(c, r, 36, 60, 20, Pose::Stand, 0.5);
        return;
    }
    case Kind::AtTeam:
        Soldier(c, r, 60, 73, 29, Pose::Kneel, 0, false);
        c.line({ 40, 54 }, { 92, 44 }, 4.5, r.camoA[11]);
        c.rect(88, 42, 94, 48, r.metal, 0.4, 0.8);
        Soldier(c, r, 112, 73, 28, Pose::Stand, 0.3);
        c.rect(104, 46, 112, 56, r.camoB, 0.2, 0.8); // spare missile
        return;
    case Kind::MgTeam:
        Soldier(c, r, 70, 70, 34, Pose::Prone, 0);
        c.line({ 84, 60 }, { 120, 58 }, 2.5, r.metal[12]);
        c.line({ 110, 59 }, { 106, 66 }, 1, r.metal[11]);
        c.line({ 110, 59 }, { 114, 66 }, 1, r.metal[11]);
        Soldier(c, r, 40, 72, 27, Pose::Kneel, 0);
        c.rect(52, 63, 60, 69, r.camoA, 0.3, 0.8); // ammunition box
        return;
    case Kind::SamTeam:
        Soldier(c, r, 70, 74, 29, Pose::Stand, 0.4, false);
        c.line({ 56, 54 }, { 104, 30 }, 5, r.camoA[7]);
        c.ellipse(104, 30, 3, 3, r.camoA, 0.2, 0.6);
        Soldier(c, r, 118, 73, 27, Pose::Kneel, 0);
        return;
    default:
        break;
    }
    const int count = kind == Kind::Hq ? 3 : 5;
    for (std::size_t i = 0; i < rear.size() && static_cast<int>(i) < count - 1; ++i)
        Soldier(c, r, rear[i].x, rear[i].ground, rear[i].h, Pose::Stand, strideOf(static_cast<int>(i)));
    for (std::size_t i = 0; i < front.size() && static_cast<int>(i) < count; ++i) {
        const Place& p = front[i];
        Soldier(c, r, p.x, p.ground, p.h, Pose::Stand, strideOf(static_cast<int>(i + 10)),
            kind != Kind::Engineer);
        if (kind == Kind::Engineer) // a shovel or a mine detector
            c.line({ p.x + 2, p.ground - p.h * 0.6 }, { p.x + p.h * 0.45, p.ground }, 1.2, r.dirt[6]);
    }
    if (kind == Kind::Hq) {
        c.rect(52, 51, 58, 59, r.camoA, 0.3, 0.9); // radio
        c.line({ 56, 51 }, { 66, 14 }, 0.8, r.metal[10]);
        c.line({ 100, 44 }, { 100, 20 }, 0.8, r.metal[6]); // flag
        c.rect(100, 20, 114, 28, { r.red }, 0, 0);
        c.rect(104, 22, 110, 26, { r.yellow }, 0, 0);
    }
}

// A dark line around everything drawn over the scene (shadows on the ground aside),
// as an illustrator would ink it.
void Outline(IndexedImage& image, const std::vector<std::uint8_t>& scene, const Ramps& r)
{
    auto isGround = [&](std::uint8_t v) {
        return std::find(r.ground.begin(), r.ground.end(), v) != r.ground.end()
            || std::find(r.dirt.begin(), r.dirt.end(), v) != r.dirt.end();
    };
    const int w = image.width, h = image.height;
    std::vector<bool> drawn(image.pixels.size());
    for (std::size_t i = 0; i < drawn.size(); ++i)
        drawn[i] = image.pixels[i] != scene[i] && !isGround(image.pixels[i]);
    std::vector<std::uint8_t> out = image.pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            if (drawn[i])
                continue;
            const bool edge = (x > 0 && drawn[i - 1]) || (x + 1 < w && drawn[i + 1])
                || (y > 0 && drawn[i - w]) || (y + 1 < h && drawn[i + w]);
            if (edge)
                out[i] = r.outline;
        }
    image.pixels = std::move(out);
}

IndexedImage DrawPicture(const TOobUnit& u, int seedBase)
{
    IndexedImage image(160, 80);
    const Ramps r = PicturePalette(image.palette, LiveryOf(u.nation));
    Canvas c(image);
    const std::uint32_t seed = Hash(static_cast<std::uint32_t>(seedBase));
    Scene(c, r, seed);
    const std::vector<std::uint8_t> scene = image.pixels;
    switch (const Kind kind = KindOf(u)) {
    case Kind::Tank:
    case Kind::FlameTank:
        TankPicture(c, r, seed, kind == Kind::FlameTank);
        break;
    case Kind::Apc:
    case Kind::Ifv:
        IfvPicture(c, r, seed, kind == Kind::Ifv);
        break;
    case Kind::ScoutCar:
    case Kind::Jeep:
        WheeledPicture(c, r, seed, kind == Kind::Jeep);
        break;
    case Kind::Truck:
        TruckPicture(c, r, seed);
        break;
    case Kind::TowedGun:
        TowedGunPicture(c, r, seed);
        Soldier(c, r, 118, 74, 27, Pose::Kneel, 0, false);
        Soldier(c, r, 54, 73, 28, Pose::Stand, 0.6, false);
        break;
    case Kind::SpGun:
    case Kind::Rocket:
        SpGunPicture(c, r, seed, kind == Kind::Rocket);
        break;
    case Kind::SamVehicle:
        SamVehiclePicture(c, r, seed);
        break;
    default:
        SquadPicture(c, r, seed, kind);
        break;
    }
    Outline(image, scene, r);
    return image;
}

// ---- icons, in the fixed icon palette ----

constexpr std::uint8_t kClear = kDefaultTransparentColour;
constexpr int kHullW = 56, kHullH = 36, kTurretW = 48, kTurretH = 44;

struct IconLivery {
    Ramp body, uniform;
};

IconLivery IconLiveryOf(int nation)
{
    const Ramp green { 99, 97, 95, 93, 91, 90 };
    const Ramp khaki { 26, 31, 32, 33, 143, 145 };
    const Ramp grey { 100, 102, 104, 106, 108, 110 };
    const Ramp tan { 16, 20, 24, 28, 37, 47 };
    switch (nation) {
    case 1:
        return { green, { 60, 61, 62, 63, 184, 185 } };
    case 2:
        return { khaki, khaki };
    case 12:
        return { grey, grey };
    case 5:
    case 9:
        return { tan, tan };
    default:
        return { green, green };
    }
}

const Ramp kIconMetal { 7, 6, 5, 4, 3, 2, 1 };
const Ramp kIconSkin { 19, 22, 24, 28 };

void IconSoldier(Canvas& c, double x, double ground, const IconLivery& l, double h = 12)
{
    c.rect(x - 1.5, ground - h * 0.45, x - 0.3, ground, { l.uniform[4] }, 0, 0);
    c.rect(x + 0.3, ground - h * 0.45, x + 1.5, ground, { l.uniform[3] }, 0, 0);
    c.rect(x - 2, ground - h * 0.8, x + 2, ground - h * 0.42, l.uniform, 0.1, 0.6);
    c.rect(x - 1, ground - h * 0.95, x + 1, ground - h * 0.8, kIconSkin, 0.2, 0.6);
    c.rect(x - 1.5, ground - h, x + 1.5, ground - h * 0.9, { l.uniform[5] }, 0, 0);
    c.line({ x - 2, ground - h * 0.45 }, { x + 3.5, ground - h * 0.9 }, 1, kIconMetal[5]);
}

IndexedImage IconSquad(int soldiers, const IconLivery& l)
{
    IndexedImage f(kHullW, kHullH, kClear);
    f.palette = ShpPalette();
    Canvas c(f);
    const int perRow = std::min(soldiers, 7);
    for (int i = 0; i < soldiers; ++i) {
        const int row = i / 7;
        const double x = 6 + (i % 7) * 6.5 + (row ? 3 : 0) + (perRow < 7 ? (7 - perRow) * 3 : 0);
        IconSoldier(c, x, 20 + 13 * row, l);
    }
    return f;
}

// Hull and turret of a vehicle; the turret frame sits 8 right of and 28 above the hull.
IndexedImage IconHull(Kind kind, const IconLivery& l)
{
    IndexedImage f(kHullW, kHullH, kClear);
    f.palette = ShpPalette();
    Canvas c(f);
    const bool wheeled = kind == Kind::ScoutCar || kind == Kind::Jeep || kind == Kind::Truck;
    if (kind == Kind::TowedGun) {
        c.line({ 28, 18 }, { 4, 28 }, 2, l.body[4]);
        c.ellipse(30, 20, 5, 5, kIconMetal, 0.5, 1);
        return f;
    }
    if (wheeled) {
        c.polygon({ { 4, 16 }, { 44, 16 }, { 52, 24 }, { 52, 30 }, { 4, 30 } }, l.body, 0, 1);
        if (kind == Kind::Truck)
            c.rect(4, 8, 34, 22, { 26, 27, 31, 32, 33 }, 0, 1);
        for (double x : { 12.0, 26.0, 42.0 })
            c.ellipse(x, 30, 4, 4, kIconMetal, 0.5, 1);
    } else {
        c.polygon({ { 3, 18 }, { 8, 13 }, { 44, 13 }, { 53, 19 }, { 52, 23 }, { 3, 23 } }, l.body, 0, 1);
        c.polygon({ { 4, 23 }, { 51, 23 }, { 47, 33 }, { 8, 33 } }, kIconMetal, 0.6, 1);
        for (int i = 0; i < 5; ++i)
            c.ellipse(11 + 8.5 * i, 28, 3, 3, kIconMetal, 0.2, 0.6);
    }
    return f;
}

IndexedImage IconTurret(Kind kind, const IconLivery& l)
{
    IndexedImage f(kTurretW, kTurretH, kClear);
    f.palette = ShpPalette();
    Canvas c(f);
    switch (kind) {
    case Kind::Rocket:
        c.polygon({ { 2, 40 }, { 30, 26 }, { 34, 32 }, { 6, 43 } }, l.body, 0, 1);
        break;
    case Kind::SamVehicle:
        c.rect(8, 36, 26, 43, l.body, 0, 1);
        c.line({ 10, 36 }, { 34, 24 }, 3, l.body[1]);
        c.line({ 14, 38 }, { 38, 26 }, 3, l.body[2]);
        break;
    case Kind::TowedGun:
        c.rect(14, 34, 24, 44, l.body, 0, 1);
        c.line({ 18, 38 }, { 46, 26 }, 2, kIconMetal[4]);
        break;
    case Kind::SpGun:
        c.polygon({ { 6, 43 }, { 8, 30 }, { 32, 30 }, { 36, 43 } }, l.body, 0, 1);
        c.line({ 32, 35 }, { 47, 28 }, 2, kIconMetal[4]);
        break;
    default:
        c.polygon({ { 8, 43 }, { 12, 32 }, { 30, 32 }, { 34, 43 } }, l.body, 0, 1);
        c.line({ 32, 36 }, { kTurretW - 1.0, 36 }, kind == Kind::Tank ? 2.0 : 1.0, kIconMetal[4]);
        break;
    }
    return f;
}

// The crew icon files: frame 39 - 3m shows m soldiers; the other frames small teams.
IndexedImage CrewFrame(int frame, const IconLivery& l)
{
    int soldiers = 0;
    if (frame <= 36 && frame % 3 == 0)
        soldiers = (39 - frame) / 3;
    else if (frame >= 51 && frame <= 57)
        soldiers = (60 - frame) / 3;
    else
        soldiers = 1 + frame % 3;
    return IconSquad(soldiers, l);
}

IconLivery CrewLivery(int group)
{
    const std::array<int, 4> nationOfGroup { 0, 2, 1, 5 };
    IconLivery l = IconLiveryOf(nationOfGroup[static_cast<std::size_t>(group)]);
    if (group == 0)
        l.uniform = { 59, 70, 71, 72, 182, 183 };
    return l;
}

} // namespace

std::vector<DemoFile> DemoArtFiles(const std::vector<const TOobData*>& records,
    const std::filesystem::path& picDir, const std::filesystem::path& shpDir)
{
    std::map<int, std::vector<std::uint8_t>> pictures;
    // Icon files by number: the frame images of their directory entries.
    std::map<int, std::map<int, IndexedImage>> iconFiles;
    const IconFrameTable& table = BuiltInIconFrameTable();
    for (const TOobData* data : records) {
        for (std::size_t slot = 1; slot < data->units.size(); ++slot) {
            const TOobUnit& u = data->units[slot];
            if (u.name.empty())
                continue;
            pictures[u.lbm] = EncodeIlbm(DrawPicture(u, u.lbm));
            const Kind kind = KindOf(u);
            const IconLivery livery = IconLiveryOf(u.nation);
            const IconFrameRow& row = table.row(u.icon);
            iconFiles[IconFileOf(row.hull)][IconFrameOf(row.hull)]
                = IsInfantry(kind) ? IconSquad(kind == Kind::Hq ? 3 : 4, livery) : IconHull(kind, livery);
            if (row.turret >= 0) {
                IndexedImage turret
                    = IsInfantry(kind) ? IndexedImage(1, 1, kClear) : IconTurret(kind, livery);
                turret.palette = ShpPalette();
                iconFiles[IconFileOf(row.turret)][IconFrameOf(row.turret)] = turret;
            }
        }
    }
    for (int group = 0; group < 4; ++group)
        for (int frame = 0; frame <= 62; ++frame)
            iconFiles[10 + group][frame] = CrewFrame(frame, CrewLivery(group));

    std::vector<DemoFile> files;
    for (auto& [number, bytes] : pictures)
        files.push_back({ picDir / PictureFileName(number), std::move(bytes) });
    for (const auto& [file, frames] : iconFiles) {
        // Directory entry f + 1 holds frame f; entry 0 and unused frames are empty.
        IndexedImage empty(1, 1, kClear);
        std::vector<IndexedImage> entries(static_cast<std::size_t>(frames.rbegin()->first) + 2, empty);
        for (const auto& [frame, image] : frames)
            entries[static_cast<std::size_t>(frame) + 1] = image;
        files.push_back({ shpDir / IconFileName(file), EncodeShp(entries, kClear) });
    }
    return files;
}

} // namespace tarnwick::core

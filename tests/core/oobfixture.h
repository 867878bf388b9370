#pragma once

// Small writers for order-of-battle images and file helpers shared by the core tests.
// The layout here is written out independently of the codec so that tests check
// the codec against it rather than against itself.

#include "../support/tempdir.h"
#include "core/data/fileio.h"
#include "core/data/records.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace tarnwick::testing {

using Image = std::vector<std::uint8_t>;

inline constexpr std::size_t kUnitRows = 600;
inline constexpr std::size_t kWeaponRows = 250;
inline constexpr std::size_t kFormationRows = 400;

// One column of the file: slot s at base + s * width.
struct Column {
    const char* name;
    std::size_t base;
    std::size_t width;
    std::size_t rows;
};

// Every column the editor decodes and encodes (slots 1.. of each).
inline const std::vector<Column>& OwnedColumns()
{
    static const std::vector<Column> columns = {
        { "weapon name", 80, 15, kWeaponRows },
        { "weaponClass", 3830, 1, kWeaponRows },
        { "weaponSize", 4330, 1, kWeaponRows },
        { "warheadSize", 4580, 1, kWeaponRows },
        { "hePen apPen", 4830, 2, kWeaponRows },
        { "heKill apKill", 5330, 2, kWeaponRows },
        { "accuracy", 5830, 1, kWeaponRows },
        { "range", 6080, 1, kWeaponRows },
        { "sabotRange", 6330, 1, kWeaponRows },
        { "sabotPen", 6580, 1, kWeaponRows },
        { "heatPen", 6830, 1, kWeaponRows },

        { "unit name", 10080, 15, kUnitRows },
        { "unitClass", 19080, 1, kUnitRows },
        { "reserved1", 19680, 1, kUnitRows },
        { "size", 20280, 1, kUnitRows },
        { "crew", 20880, 1, kUnitRows },
        { "weapon", 21480, 4, kUnitRows },
        { "ammo", 23880, 8, kUnitRows },
        { "speed", 28680, 1, kUnitRows },
        { "armour", 29280, 14, kUnitRows },
        { "eraArmour", 37680, 7, kUnitRows },
        { "radio", 45480, 1, kUnitRows },
        { "yearAvail", 46080, 1, kUnitRows },
        { "yearUnavail", 46680, 1, kUnitRows },
        { "cost", 47280, 2, kUnitRows },
        { "nation", 48480, 1, kUnitRows },
        { "lbm", 49080, 2, kUnitRows },
        { "vision", 50280, 1, kUnitRows },
        { "fireControl", 50880, 1, kUnitRows },
        { "sabotAmmo", 51480, 1, kUnitRows },
        { "heatAmmo", 52080, 1, kUnitRows },
        { "rof", 52680, 1, kUnitRows },
        { "stabiliser", 53280, 1, kUnitRows },
        { "rangeFinder", 53880, 1, kUnitRows },
        { "ew", 54480, 1, kUnitRows },
        { "carry", 55080, 1, kUnitRows },
        { "survivability", 55680, 1, kUnitRows },
        { "weight", 56280, 1, kUnitRows },
        { "icon", 56880, 2, kUnitRows },
        { "swim", 58080, 1, kUnitRows },
        { "moveClass", 58680, 1, kUnitRows },
        { "smokeDischargers", 59280, 1, kUnitRows },
        { "monthAvail", 59880, 1, kUnitRows },
        { "monthUnavail", 60480, 1, kUnitRows },
        { "unitSound", 61080, 1, kUnitRows },
        { "weaponSound", 61680, 4, kUnitRows },
        { "reserved2", 64080, 1, kUnitRows },

        { "formation name", 82680, 15, kFormationRows },
        { "form nation", 88680, 1, kFormationRows },
        { "form yearAvail", 89080, 1, kFormationRows },
        { "form yearUnavail", 89480, 1, kFormationRows },
        { "buyPage", 89880, 1, kFormationRows },
        { "formType", 90280, 1, kFormationRows },
        { "members", 90680, 20, kFormationRows },
        { "form monthAvail", 98680, 1, kFormationRows },
        { "form monthUnavail", 99080, 1, kFormationRows },
        { "expMod", 99480, 1, kFormationRows },
        { "moraleMod", 99880, 1, kFormationRows },
    };
    return columns;
}

// True for the bytes a load and save may change: the comment and slots 1.. of
// the owned columns. Slot 0 and the unused columns belong to the game alone.
inline bool IsOwnedByte(std::size_t pos)
{
    if (pos < core::kCommentLength)
        return true;
    for (const Column& c : OwnedColumns())
        if (pos >= c.base + c.width && pos < c.base + c.rows * c.width)
            return true;
    return false;
}

inline std::size_t At(std::size_t base, std::size_t width, std::size_t slot, std::size_t offset = 0)
{
    return base + slot * width + offset;
}

inline void PutByte(
    Image& img, std::size_t base, std::size_t width, std::size_t slot, std::size_t offset, std::uint8_t value)
{
    img.at(At(base, width, slot, offset)) = value;
}

inline std::uint8_t GetByte(
    const Image& img, std::size_t base, std::size_t width, std::size_t slot, std::size_t offset = 0)
{
    return img.at(At(base, width, slot, offset));
}

// 16-bit value number `index` of a slot, low byte first.
inline void PutWord(
    Image& img, std::size_t base, std::size_t width, std::size_t slot, std::size_t index, std::uint16_t value)
{
    PutByte(img, base, width, slot, 2 * index, static_cast<std::uint8_t>(value & 0xFF));
    PutByte(img, base, width, slot, 2 * index + 1, static_cast<std::uint8_t>(value >> 8));
}

// Writes exactly `width` bytes: the given bytes (which may hold NULs), then NUL padding.
inline void PutText(Image& img, std::size_t base, std::size_t slot, const std::string& bytes,
    std::size_t width = core::kNameLength)
{
    for (std::size_t k = 0; k < width; ++k)
        PutByte(img, base, width, slot, k, k < bytes.size() ? static_cast<std::uint8_t>(bytes[k]) : 0);
}

inline std::string GetText(
    const Image& img, std::size_t base, std::size_t slot, std::size_t width = core::kNameLength)
{
    const auto first = img.begin() + static_cast<std::ptrdiff_t>(At(base, width, slot));
    return std::string(first, first + static_cast<std::ptrdiff_t>(width));
}

inline Image RandomImage(std::uint32_t seed, std::size_t size = core::kOobFileSize)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    Image img(size);
    for (auto& b : img)
        b = static_cast<std::uint8_t>(byte(random));
    return img;
}

// A random image that a load and save leave exactly as it is: names are plain
// printable text without blanks at either end, NUL padded; dates are in range;
// every empty slot has a nation other than `nation` (and empty units have a class).
inline Image NormalImage(std::uint32_t seed, std::uint8_t nation)
{
    Image img = RandomImage(seed);
    std::mt19937 random(seed ^ 0x5eed);
    auto number = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    auto text = [&](std::size_t maxLength) {
        std::string s(static_cast<std::size_t>(number(0, static_cast<int>(maxLength))), ' ');
        for (auto& c : s)
            c = static_cast<char>(number('!', '~'));
        if (s.size() > 2)
            s[s.size() / 2] = ' '; // blanks inside a name stay
        return s;
    };
    auto otherNation = [&] {
        std::uint8_t n = nation;
        while (n == nation)
            n = static_cast<std::uint8_t>(number(0, 255));
        return n;
    };

    PutText(img, 0, 0, text(core::kCommentLength), core::kCommentLength);
    for (std::size_t s = 1; s < kWeaponRows; ++s)
        PutText(img, 80, s, text(15));
    for (std::size_t s = 1; s < kUnitRows; ++s) {
        const std::string name = text(15);
        PutText(img, 10080, s, name);
        if (name.empty() && GetByte(img, 48480, 1, s) == nation && GetByte(img, 19080, 1, s) == 0)
            PutByte(img, 48480, 1, s, 0, otherNation());
        for (std::size_t base : { 46080, 46680 })
            PutByte(img, base, 1, s, 0, static_cast<std::uint8_t>(number(1, 120)));
        for (std::size_t base : { 59880, 60480 })
            PutByte(img, base, 1, s, 0, static_cast<std::uint8_t>(number(1, 12)));
    }
    for (std::size_t s = 1; s < kFormationRows; ++s) {
        const std::string name = text(15);
        PutText(img, 82680, s, name);
        if (name.empty() && GetByte(img, 88680, 1, s) == nation)
            PutByte(img, 88680, 1, s, 0, otherNation());
        for (std::size_t base : { 89080, 89480 })
            PutByte(img, base, 1, s, 0, static_cast<std::uint8_t>(number(1, 120)));
        for (std::size_t base : { 98680, 99080 })
            PutByte(img, base, 1, s, 0, static_cast<std::uint8_t>(number(1, 12)));
    }
    return img;
}

// A made-up but realistic file of `nation`: a few dozen weapons, units and formations.
inline core::TOobData SampleData(std::uint8_t nation)
{
    core::TOobData data;
    data.comment = "Sample order of battle, made up for tests";
    const char* weaponNames[]
        = { "75mm Gun", "MG 7.62mm", "Rifle", "120mm Mortar", "ATGM Mk 2", "20mm Cannon" };
    for (int s = 1; s <= 60; ++s) {
        auto& w = data.weapons[static_cast<std::size_t>(s)];
        w.name = std::string(weaponNames[s % 6]) + " " + std::to_string(s);
        w.name.resize(std::min<std::size_t>(w.name.size(), 15));
        w.weaponClass = static_cast<std::uint8_t>(1 + s % 21);
        w.weaponSize = static_cast<std::uint8_t>(s);
        w.warheadSize = static_cast<std::uint8_t>(2 * s);
        w.hePen = static_cast<std::uint8_t>(s + 3);
        w.apPen = static_cast<std::uint8_t>(s % 7 == 0 ? 222 : s + 10);
        w.heKill = static_cast<std::uint8_t>(s + 1);
        w.apKill = static_cast<std::uint8_t>(s + 2);
        w.accuracy = 40;
        w.range = static_cast<std::uint8_t>(20 + s);
    }
    for (int s = 1; s <= 400; ++s) {
        auto& u = data.units[static_cast<std::size_t>(s)];
        u.name = "Unit Type " + std::to_string(s);
        u.unitClass = static_cast<std::uint8_t>(s % 60);
        u.nation = nation;
        u.icon = static_cast<std::uint16_t>(100 + s);
        u.lbm = static_cast<std::uint16_t>(1000 + s);
        u.cost = static_cast<std::uint16_t>(30 * s);
        u.crew = 4;
        u.size = 3;
        u.speed = 25;
        for (std::size_t k = 0; k < 4; ++k) {
            u.weapon[k] = static_cast<std::uint8_t>((s + static_cast<int>(k)) % 61);
            u.heAmmo[k] = 20;
            u.apAmmo[k] = 10;
            u.weaponSound[k] = static_cast<std::uint8_t>(k + 1);
        }
        for (std::size_t f = 0; f < static_cast<std::size_t>(core::kFacings); ++f) {
            u.steelArmour[f] = static_cast<std::uint8_t>(10 + f);
            u.heatArmour[f] = static_cast<std::uint8_t>(12 + f);
        }
        u.yearAvail = static_cast<std::uint8_t>(40 + s % 60);
        u.yearUnavail = 120;
        u.monthAvail = static_cast<std::uint8_t>(1 + s % 12);
        u.monthUnavail = 12;
    }
    for (int s = 1; s <= 150; ++s) {
        auto& f = data.formations[static_cast<std::size_t>(s)];
        f.name = "Formation " + std::to_string(s);
        f.nation = nation;
        f.formType = static_cast<std::uint8_t>(s % 8);
        f.yearAvail = 40;
        f.yearUnavail = 120;
        f.monthAvail = 1;
        f.monthUnavail = 12;
        for (std::size_t k = 0; k < 10; ++k)
            f.slot[k] = static_cast<std::uint16_t>(k == 0 ? s : (k % 3 == 0 ? 1000 + s % 150 + 1 : s + k));
        f.expMod = static_cast<std::int8_t>(s % 11 - 5);
        f.moraleMod = static_cast<std::int8_t>(5 - s % 11);
    }
    return data;
}

using TempDir = tarnwick::testsupport::TempDir;

// The lines of a CR LF text; an unterminated last line is kept, so it shows up in the count.
inline std::vector<std::string> CrLfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline void WriteBytes(const std::filesystem::path& path, const Image& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Image ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Image(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Names in a folder, sorted: shows left-over temporary files.
inline std::vector<std::string> Entries(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A writer on the real temporary file that fails once `limit` bytes have gone
// through, with the system's reason for `err` (a full disk by default).
inline core::WriterFactory FailAfterBytes(std::size_t limit, int err = ENOSPC)
{
    class Failing final : public core::FileWriter {
    public:
        Failing(std::unique_ptr<core::FileWriter> real, std::size_t limit, int err)
            : real_(std::move(real))
            , left_(limit)
            , err_(err)
        {
        }
        bool write(const std::uint8_t* data, std::size_t size) override
        {
            const std::size_t now = std::min(size, left_);
            if (now > 0 && !real_->write(data, now))
                return false;
            left_ -= now;
            if (now < size) {
                error_ = std::generic_category().message(err_);
                return false;
            }
            return true;
        }
        bool finish() override { return real_->finish(); }
        std::string error() const override { return error_.empty() ? real_->error() : error_; }

    private:
        std::unique_ptr<core::FileWriter> real_;
        std::size_t left_;
        int err_;
        std::string error_;
    };
    return [limit, err](
               const std::filesystem::path& temp, std::string& reason) -> std::unique_ptr<core::FileWriter> {
        auto real = core::OpenRealFileWriter(temp, reason);
        if (!real)
            return nullptr;
        return std::make_unique<Failing>(std::move(real), limit, err);
    };
}

} // namespace tarnwick::testing

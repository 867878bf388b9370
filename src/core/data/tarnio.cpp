#include "core/data/tarnio.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <system_error>

namespace tarnwick::core {

namespace fs = std::filesystem;

namespace {

// The file is laid out column by column: a column with base B and width w holds
// slot s at B + s*w .. B + s*w + w - 1. Slot 0 of every table belongs to the game.
constexpr std::size_t kCommentBase = 0;

constexpr std::size_t kMaxYear = 120;
constexpr std::size_t kMaxMonth = 12;

std::string DecodeText(const std::uint8_t* p, std::size_t width)
{
    const void* nul = std::memchr(p, 0, width);
    const std::size_t length
        = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p) : width;
    return std::string(reinterpret_cast<const char*>(p), length);
}

void EncodeText(std::uint8_t* p, std::size_t width, const std::string& text)
{
    // A name never holds a NUL; should one get in, what follows it could not be
    // read back, so it is not written either.
    std::size_t length = std::min(text.size(), width);
    if (const void* nul = std::memchr(text.data(), 0, length))
        length = static_cast<std::size_t>(static_cast<const char*>(nul) - text.data());
    std::memcpy(p, text.data(), length);
    std::memset(p + length, 0, width - length);
}

bool NeedsTrim(const std::string& name)
{
    return !name.empty()
        && (static_cast<unsigned char>(name.front()) <= ' '
            || static_cast<unsigned char>(name.back()) <= ' ');
}

// Trims in place, without building a new string when there is nothing to trim.
void TrimInPlace(std::string& name, std::size_t maxLength = std::string::npos)
{
    if (NeedsTrim(name))
        name = TrimName(name);
    if (name.size() > maxLength)
        name.resize(maxLength);
}

std::uint8_t ClampYear(std::uint8_t year)
{
    if (year == 0)
        return 1;
    return static_cast<std::uint8_t>(std::min<std::size_t>(year, kMaxYear));
}

std::uint8_t ClampMonth(std::uint8_t month, std::uint8_t zeroBecomes)
{
    if (month == 0)
        return zeroBecomes;
    return static_cast<std::uint8_t>(std::min<std::size_t>(month, kMaxMonth));
}

enum class NameOnLoad { AsRead, Trimmed };

// Reads the columns into the records. Each method walks one column from slot 1.
class Decoder {
public:
    explicit Decoder(const std::uint8_t* image)
        : image_(image)
    {
    }

    template <class Rec, std::size_t N>
    void names(std::array<Rec, N>& table, std::size_t base, NameOnLoad rule) const
    {
        const std::uint8_t* p = image_ + base + kNameLength;
        for (std::size_t s = 1; s < N; ++s, p += kNameLength) {
            table[s].name = DecodeText(p, kNameLength);
            if (rule == NameOnLoad::Trimmed)
                TrimInPlace(table[s].name, kNameLength);
        }
    }

    // A column of width single bytes; byte k of a slot is get(record, k).
    template <class Rec, std::size_t N, class Get>
    void bytes(std::array<Rec, N>& table, std::size_t base, std::size_t width, Get get) const
    {
        const std::uint8_t* p = image_ + base + width;
        for (std::size_t s = 1; s < N; ++s, p += width)
            for (std::size_t k = 0; k < width; ++k)
                get(table[s], k) = p[k];
    }

    template <class Rec, std::size_t N, class Get>
    void years(std::array<Rec, N>& table, std::size_t base, Get get) const
    {
        bytes(table, base, 1, get);
    }

    template <class Rec, std::size_t N, class Get>
    void months(std::array<Rec, N>& table, std::size_t base, std::uint8_t /*zeroBecomes*/, Get get) const
    {
        bytes(table, base, 1, get);
    }

    template <class Rec, std::size_t N, class Get>
    void signedBytes(std::array<Rec, N>& table, std::size_t base, Get get) const
    {
        const std::uint8_t* p = image_ + base + 1;
        for (std::size_t s = 1; s < N; ++s, ++p)
            get(table[s]) = static_cast<std::int8_t>(*p);
    }

    // A column of count little-endian 16-bit values per slot.
    template <class Rec, std::size_t N, class Get>
    void words(std::array<Rec, N>& table, std::size_t base, std::size_t count, Get get) const
    {
        const std::size_t width = 2 * count;
        const std::uint8_t* p = image_ + base + width;
        for (std::size_t s = 1; s < N; ++s, p += width)
            for (std::size_t k = 0; k < count; ++k)
                get(table[s], k) = static_cast<std::uint16_t>(p[2 * k] | (p[2 * k + 1] << 8));
    }

private:
    const std::uint8_t* image_;
};

// Writes the records into the columns, clamping dates on the way; the records
// keep their values.
class Encoder {
public:
    explicit Encoder(std::uint8_t* image)
        : image_(image)
    {
    }

    template <class Rec, std::size_t N>
    void names(std::array<Rec, N>& table, std::size_t base, NameOnLoad) const
    {
        std::uint8_t* p = image_ + base + kNameLength;
        for (std::size_t s = 1; s < N; ++s, p += kNameLength)
            EncodeText(p, kNameLength, table[s].name);
    }

    template <class Rec, std::size_t N, class Get>
    void bytes(std::array<Rec, N>& table, std::size_t base, std::size_t width, Get get) const
    {
        std::uint8_t* p = image_ + base + width;
        for (std::size_t s = 1; s < N; ++s, p += width)
            for (std::size_t k = 0; k < width; ++k)
                p[k] = get(table[s], k);
    }

    template <class Rec, std::size_t N, class Get>
    void years(std::array<Rec, N>& table, std::size_t base, Get get) const
    {
        std::uint8_t* p = image_ + base + 1;
        for (std::size_t s = 1; s < N; ++s, ++p)
            *p = ClampYear(get(table[s], 0));
    }

    template <class Rec, std::size_t N, class Get>
    void months(std::array<Rec, N>& table, std::size_t base, std::uint8_t zeroBecomes, Get get) const
    {
        std::uint8_t* p = image_ + base + 1;
        for (std::size_t s = 1; s < N; ++s, ++p)
            *p = ClampMonth(get(table[s], 0), zeroBecomes);
    }

    template <class Rec, std::size_t N, class Get>
    void signedBytes(std::array<Rec, N>& table, std::size_t base, Get get) const
    {
        std::uint8_t* p = image_ + base + 1;
        for (std::size_t s = 1; s < N; ++s, ++p)
            *p = static_cast<std::uint8_t>(get(table[s]));
    }

    template <class Rec, std::size_t N, class Get>
    void words(std::array<Rec, N>& table, std::size_t base, std::size_t count, Get get) const
    {
        const std::size_t width = 2 * count;
        std::uint8_t* p = image_ + base + width;
        for (std::size_t s = 1; s < N; ++s, p += width)
            for (std::size_t k = 0; k < count; ++k) {
                const std::uint16_t value = get(table[s], k);
                p[2 * k] = static_cast<std::uint8_t>(value & 0xFF);
                p[2 * k + 1] = static_cast<std::uint8_t>(value >> 8);
            }
    }

private:
    std::uint8_t* image_;
};

// The layout of each section, written once and walked by both the decoder and
// the encoder. Accessors take the byte index k within a slot's column entry.
#define TW_FIELD(Rec, T, expr) [](Rec& r, [[maybe_unused]] std::size_t k) -> T& { return expr; }
#define TW_SIGNED(Rec, expr) [](Rec& r) -> std::int8_t& { return expr; }

template <class Codec> void UnitSection(const Codec& c, std::array<TOobUnit, kUnitSlots + 1>& t)
{
    using U = TOobUnit;
    using B = std::uint8_t;
    c.names(t, 10080, NameOnLoad::Trimmed);
    c.bytes(t, 19080, 1, TW_FIELD(U, B, r.unitClass));
    c.bytes(t, 19680, 1, TW_FIELD(U, B, r.reserved1));
    c.bytes(t, 20280, 1, TW_FIELD(U, B, r.size));
    c.bytes(t, 20880, 1, TW_FIELD(U, B, r.crew));
    c.bytes(t, 21480, 4, TW_FIELD(U, B, r.weapon[k]));
    // HE and AP rounds as four (HE, AP) pairs in weapon order.
    c.bytes(t, 23880, 8, TW_FIELD(U, B, (k % 2 == 0 ? r.heAmmo : r.apAmmo)[k / 2]));
    c.bytes(t, 28680, 1, TW_FIELD(U, B, r.speed));
    c.bytes(
        t, 29280, 2 * kFacings, TW_FIELD(U, B, k < kFacings ? r.steelArmour[k] : r.heatArmour[k - kFacings]));
    c.bytes(t, 37680, kFacings, TW_FIELD(U, B, r.eraArmour[k]));
    // 41880: six bytes per slot the editor does not use.
    c.bytes(t, 45480, 1, TW_FIELD(U, B, r.radio));
    c.years(t, 46080, TW_FIELD(U, B, r.yearAvail));
    c.years(t, 46680, TW_FIELD(U, B, r.yearUnavail));
    c.words(t, 47280, 1, TW_FIELD(U, std::uint16_t, r.cost));
    c.bytes(t, 48480, 1, TW_FIELD(U, B, r.nation));
    c.words(t, 49080, 1, TW_FIELD(U, std::uint16_t, r.lbm));
    c.bytes(t, 50280, 1, TW_FIELD(U, B, r.vision));
    c.bytes(t, 50880, 1, TW_FIELD(U, B, r.fireControl));
    c.bytes(t, 51480, 1, TW_FIELD(U, B, r.sabotAmmo));
    c.bytes(t, 52080, 1, TW_FIELD(U, B, r.heatAmmo));
    c.bytes(t, 52680, 1, TW_FIELD(U, B, r.rof));
    c.bytes(t, 53280, 1, TW_FIELD(U, B, r.stabiliser));
    c.bytes(t, 53880, 1, TW_FIELD(U, B, r.rangeFinder));
    c.bytes(t, 54480, 1, TW_FIELD(U, B, r.ew));
    c.bytes(t, 55080, 1, TW_FIELD(U, B, r.carry));
    c.bytes(t, 55680, 1, TW_FIELD(U, B, r.survivability));
    c.bytes(t, 56280, 1, TW_FIELD(U, B, r.weight));
    c.words(t, 56880, 1, TW_FIELD(U, std::uint16_t, r.icon));
    c.bytes(t, 58080, 1, TW_FIELD(U, B, r.swim));
    c.bytes(t, 58680, 1, TW_FIELD(U, B, r.moveClass));
    c.bytes(t, 59280, 1, TW_FIELD(U, B, r.smokeDischargers));
    c.months(t, 59880, 1, TW_FIELD(U, B, r.monthAvail));
    c.months(t, 60480, 1, TW_FIELD(U, B, r.monthUnavail));
    c.bytes(t, 61080, 1, TW_FIELD(U, B, r.unitSound));
    c.bytes(t, 61680, 4, TW_FIELD(U, B, r.weaponSound[k]));
    c.bytes(t, 64080, 1, TW_FIELD(U, B, r.reserved2));
    // 64680..82679: thirty bytes per slot the editor does not use.
}

template <class Codec> void WeaponSection(const Codec& c, std::array<TOobWeapon, kWeaponSlots + 1>& t)
{
    using W = TOobWeapon;
    using B = std::uint8_t;
    c.names(t, 80, NameOnLoad::AsRead);
    c.bytes(t, 3830, 1, TW_FIELD(W, B, r.weaponClass));
    // 4080: one byte per slot the editor does not use.
    c.bytes(t, 4330, 1, TW_FIELD(W, B, r.weaponSize));
    c.bytes(t, 4580, 1, TW_FIELD(W, B, r.warheadSize));
    c.bytes(t, 4830, 2, TW_FIELD(W, B, k == 0 ? r.hePen : r.apPen));
    c.bytes(t, 5330, 2, TW_FIELD(W, B, k == 0 ? r.heKill : r.apKill));
    c.bytes(t, 5830, 1, TW_FIELD(W, B, r.accuracy));
    c.bytes(t, 6080, 1, TW_FIELD(W, B, r.range));
    c.bytes(t, 6330, 1, TW_FIELD(W, B, r.sabotRange));
    c.bytes(t, 6580, 1, TW_FIELD(W, B, r.sabotPen));
    c.bytes(t, 6830, 1, TW_FIELD(W, B, r.heatPen));
    // 7080..10079: twelve bytes per slot the editor does not use.
}

template <class Codec>
void FormationSection(const Codec& c, std::array<TOobFormation, kFormationSlots + 1>& t)
{
    using F = TOobFormation;
    using B = std::uint8_t;
    // Formation names are trimmed by the tidy that follows the decode.
    c.names(t, 82680, NameOnLoad::AsRead);
    c.bytes(t, 88680, 1, TW_FIELD(F, B, r.nation));
    c.years(t, 89080, TW_FIELD(F, B, r.yearAvail));
    c.years(t, 89480, TW_FIELD(F, B, r.yearUnavail));
    c.bytes(t, 89880, 1, TW_FIELD(F, B, r.buyPage));
    c.bytes(t, 90280, 1, TW_FIELD(F, B, r.formType));
    c.words(t, 90680, 10, TW_FIELD(F, std::uint16_t, r.slot[k]));
    c.months(t, 98680, 1, TW_FIELD(F, B, r.monthAvail));
    c.months(t, 99080, 12, TW_FIELD(F, B, r.monthUnavail));
    c.signedBytes(t, 99480, TW_SIGNED(F, r.expMod));
    c.signedBytes(t, 99880, TW_SIGNED(F, r.moraleMod));
    // 100280..106679: sixteen bytes per slot the editor does not use.
}

#undef TW_FIELD
#undef TW_SIGNED

void EnsureFullImage(TOobData& data)
{
    if (data.fileImage.size() != kOobFileSize)
        data.fileImage.resize(kOobFileSize, 0);
}

std::int32_t ClampLength(std::size_t n)
{
    return static_cast<std::int32_t>(std::min<std::size_t>(n, std::numeric_limits<std::int32_t>::max()));
}

LoadResult LoadFound(TOobData& data, std::uint16_t nation, const fs::path& path)
{
    std::vector<std::uint8_t> bytes;
    IoResult read = ReadWholeFile(path, bytes, kMaxOobFileBytes, "an order-of-battle file");
    if (!read.ok()) {
        LoadResult failed;
        failed.io = std::move(read);
        return failed;
    }
    LoadResult result = LoadOobBytes(data, nation, std::move(bytes));
    result.io.path = path;
    return result;
}

IoResult SaveTo(TOobData& data, std::uint16_t nation, const fs::path& target, const WriterFactory& factory)
{
    EncodeOobImage(data, nation);
    if (data.extraBytes.empty())
        return WriteFileAtomic(target, data.fileImage.data(), data.fileImage.size(), factory);
    const std::vector<std::uint8_t> bytes = EncodeOobFile(data, nation);
    return WriteFileAtomic(target, bytes.data(), bytes.size(), factory);
}

} // namespace

std::string OobFileName(int nation)
{
    std::string digits = std::to_string(nation);
    if (nation >= 0 && digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return "obat" + digits + ".obf";
}

fs::path FindOobFile(const fs::path& dir, int nation)
{
    return FindFileIgnoringCase(dir, OobFileName(nation));
}

bool OobFileExists(const fs::path& dir, int nation)
{
    const fs::path found = FindOobFile(dir, nation);
    std::error_code ec;
    return !found.empty() && fs::is_regular_file(found, ec);
}

void TidyUnitSlots(TOobData& data, std::uint16_t currentNation)
{
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kUnitSlots); ++s) {
        TOobUnit& unit = data.units[s];
        TrimInPlace(unit.name, kNameLength);
        if (unit.name.empty() && unit.nation == currentNation && unit.unitClass == 0) {
            unit.nation = 0;
            unit.yearAvail = 0;
            unit.yearUnavail = 0;
            unit.monthAvail = 0;
            unit.monthUnavail = 0;
        }
    }
}

void TidyFormationSlots(TOobData& data, std::uint16_t currentNation)
{
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kFormationSlots); ++s) {
        TOobFormation& formation = data.formations[s];
        TrimInPlace(formation.name);
        if (formation.name.empty() && formation.nation == currentNation) {
            formation.nation = 0;
            formation.yearAvail = 0;
            formation.monthAvail = 0;
            formation.yearUnavail = 0;
            formation.monthUnavail = 0;
        }
    }
}

void DecodeOobImage(TOobData& data, std::uint16_t currentNation)
{
    EnsureFullImage(data);
    const Decoder decoder(data.fileImage.data());
    UnitSection(decoder, data.units);
    TidyUnitSlots(data, currentNation);
    data.comment = DecodeText(data.fileImage.data() + kCommentBase, kCommentLength);
    WeaponSection(decoder, data.weapons);
    FormationSection(decoder, data.formations);
    TidyFormationSlots(data, currentNation);
}

void EncodeOobImage(TOobData& data, std::uint16_t currentNation)
{
    EnsureFullImage(data);
    TidyUnitSlots(data, currentNation);
    TidyFormationSlots(data, currentNation);
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kWeaponSlots); ++s)
        TrimInPlace(data.weapons[s].name);

    const Encoder encoder(data.fileImage.data());
    EncodeText(data.fileImage.data() + kCommentBase, kCommentLength, data.comment);
    WeaponSection(encoder, data.weapons);
    UnitSection(encoder, data.units);
    FormationSection(encoder, data.formations);
}

LoadResult LoadOobBytes(TOobData& data, std::uint16_t nation, std::vector<std::uint8_t> bytes)
{
    LoadResult result;
    result.io = IoResult::success({});
    result.bytesInFile = bytes.size();

    std::vector<std::uint8_t> extra;
    if (bytes.size() > kOobFileSize) {
        result.size = LoadResult::Size::Long;
        extra.assign(bytes.begin() + static_cast<std::ptrdiff_t>(kOobFileSize), bytes.end());
        bytes.resize(kOobFileSize);
    } else if (bytes.size() < kOobFileSize) {
        result.size = LoadResult::Size::Short;
        bytes.resize(kOobFileSize, 0); // a short file reads as zeros beyond its end
    }

    data.fileImage = std::move(bytes);
    data.extraBytes = std::move(extra);
    data.imageLength = ClampLength(result.bytesInFile);
    DecodeOobImage(data, nation);
    return result;
}

LoadResult LoadOobFile(TOobData& data, std::uint16_t nation, const fs::path& dir)
{
    const fs::path found = FindOobFile(dir, nation);
    if (found.empty()) {
        LoadResult missing;
        missing.io = IoResult::failure(
            IoResult::Kind::NotFound, dir / OobFileName(nation), std::generic_category().message(ENOENT));
        return missing;
    }
    return LoadFound(data, nation, found);
}

LoadResult LoadOobPath(TOobData& data, std::uint16_t nation, const fs::path& path)
{
    return LoadFound(data, nation, path);
}

std::vector<std::uint8_t> EncodeOobFile(TOobData& data, std::uint16_t nation)
{
    EncodeOobImage(data, nation);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(data.fileImage.size() + data.extraBytes.size());
    bytes.insert(bytes.end(), data.fileImage.begin(), data.fileImage.end());
    bytes.insert(bytes.end(), data.extraBytes.begin(), data.extraBytes.end());
    return bytes;
}

IoResult SaveOobFile(TOobData& data, std::uint16_t nation, const fs::path& dir, const WriterFactory& factory)
{
    // A file that is there under another case keeps its real name.
    fs::path target = FindOobFile(dir, nation);
    std::error_code ec;
    if (target.empty() || fs::is_directory(target, ec))
        target = dir / OobFileName(nation);
    return SaveTo(data, nation, target, factory);
}

IoResult SaveOobFileAs(TOobData& data, std::uint16_t nation, const std::string& fileName, const fs::path& dir,
    const WriterFactory& factory)
{
    // The name is written as given: the editor's dialog has already cut it to
    // twelve characters, and the command line keeps what the user typed.
    const std::string& name = fileName;
    // Only a plain file name: nothing that leaves dir or names it.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
        || name.find('\0') != std::string::npos)
        return IoResult::failure(IoResult::Kind::WriteError, dir / name, "Invalid file name");
    return SaveTo(data, nation, dir / name, factory);
}

} // namespace tarnwick::core

#include "core/data/tarnio.h"

#include "../support/bigfile.h"
#include "oobfixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tarnwick::core;
using namespace tarnwick::testing;

namespace {

constexpr std::uint8_t kNation = 12;

TOobData Loaded(const Image& image, std::uint16_t nation = kNation)
{
    TOobData data;
    LoadOobBytes(data, nation, image);
    return data;
}

Image LoadAndSave(const Image& image, std::uint16_t nation = kNation)
{
    TOobData data = Loaded(image, nation);
    return EncodeOobFile(data, nation);
}

// First position where two images differ, or -1.
long FirstDifference(const Image& a, const Image& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(n);
}

using ByteRef = std::function<std::uint8_t&(TOobData&, std::size_t)>;

template <class M> ByteRef Unit(M TOobUnit::*member)
{
    return [member](TOobData& d, std::size_t s) -> std::uint8_t& { return d.units[s].*member; };
}
template <class M> ByteRef Unit(M TOobUnit::*member, std::size_t i)
{
    return [member, i](TOobData& d, std::size_t s) -> std::uint8_t& { return (d.units[s].*member)[i]; };
}
template <class M> ByteRef Weapon(M TOobWeapon::*member)
{
    return [member](TOobData& d, std::size_t s) -> std::uint8_t& { return d.weapons[s].*member; };
}
template <class M> ByteRef Formation(M TOobFormation::*member)
{
    return [member](TOobData& d, std::size_t s) -> std::uint8_t& { return d.formations[s].*member; };
}

struct ByteCase {
    const char* field;
    std::size_t base;
    std::size_t width;
    std::size_t offset;
    std::size_t rows;
    ByteRef ref;
};

std::vector<ByteCase> ByteCases()
{
    using U = TOobUnit;
    using W = TOobWeapon;
    using F = TOobFormation;
    std::vector<ByteCase> cases = {
        { "weaponClass", 3830, 1, 0, kWeaponRows, Weapon(&W::weaponClass) },
        { "weaponSize", 4330, 1, 0, kWeaponRows, Weapon(&W::weaponSize) },
        { "warheadSize", 4580, 1, 0, kWeaponRows, Weapon(&W::warheadSize) },
        { "hePen", 4830, 2, 0, kWeaponRows, Weapon(&W::hePen) },
        { "apPen", 4830, 2, 1, kWeaponRows, Weapon(&W::apPen) },
        { "heKill", 5330, 2, 0, kWeaponRows, Weapon(&W::heKill) },
        { "apKill", 5330, 2, 1, kWeaponRows, Weapon(&W::apKill) },
        { "accuracy", 5830, 1, 0, kWeaponRows, Weapon(&W::accuracy) },
        { "range", 6080, 1, 0, kWeaponRows, Weapon(&W::range) },
        { "sabotRange", 6330, 1, 0, kWeaponRows, Weapon(&W::sabotRange) },
        { "sabotPen", 6580, 1, 0, kWeaponRows, Weapon(&W::sabotPen) },
        { "heatPen", 6830, 1, 0, kWeaponRows, Weapon(&W::heatPen) },

        { "unitClass", 19080, 1, 0, kUnitRows, Unit(&U::unitClass) },
        { "reserved1", 19680, 1, 0, kUnitRows, Unit(&U::reserved1) },
        { "size", 20280, 1, 0, kUnitRows, Unit(&U::size) },
        { "crew", 20880, 1, 0, kUnitRows, Unit(&U::crew) },
        { "weapon 1", 21480, 4, 0, kUnitRows, Unit(&U::weapon, 0) },
        { "weapon 4", 21480, 4, 3, kUnitRows, Unit(&U::weapon, 3) },
        { "heAmmo 1", 23880, 8, 0, kUnitRows, Unit(&U::heAmmo, 0) },
        { "apAmmo 1", 23880, 8, 1, kUnitRows, Unit(&U::apAmmo, 0) },
        { "heAmmo 3", 23880, 8, 4, kUnitRows, Unit(&U::heAmmo, 2) },
        { "apAmmo 4", 23880, 8, 7, kUnitRows, Unit(&U::apAmmo, 3) },
        { "speed", 28680, 1, 0, kUnitRows, Unit(&U::speed) },
        { "steelArmour HF", 29280, 14, 0, kUnitRows, Unit(&U::steelArmour, 0) },
        { "steelArmour Top", 29280, 14, 6, kUnitRows, Unit(&U::steelArmour, 6) },
        { "heatArmour HF", 29280, 14, 7, kUnitRows, Unit(&U::heatArmour, 0) },
        { "heatArmour Top", 29280, 14, 13, kUnitRows, Unit(&U::heatArmour, 6) },
        { "eraArmour HF", 37680, 7, 0, kUnitRows, Unit(&U::eraArmour, 0) },
        { "eraArmour Top", 37680, 7, 6, kUnitRows, Unit(&U::eraArmour, 6) },
        { "radio", 45480, 1, 0, kUnitRows, Unit(&U::radio) },
        { "yearAvail", 46080, 1, 0, kUnitRows, Unit(&U::yearAvail) },
        { "yearUnavail", 46680, 1, 0, kUnitRows, Unit(&U::yearUnavail) },
        { "nation", 48480, 1, 0, kUnitRows, Unit(&U::nation) },
        { "vision", 50280, 1, 0, kUnitRows, Unit(&U::vision) },
        { "fireControl", 50880, 1, 0, kUnitRows, Unit(&U::fireControl) },
        { "sabotAmmo", 51480, 1, 0, kUnitRows, Unit(&U::sabotAmmo) },
        { "heatAmmo", 52080, 1, 0, kUnitRows, Unit(&U::heatAmmo) },
        { "rof", 52680, 1, 0, kUnitRows, Unit(&U::rof) },
        { "stabiliser", 53280, 1, 0, kUnitRows, Unit(&U::stabiliser) },
        { "rangeFinder", 53880, 1, 0, kUnitRows, Unit(&U::rangeFinder) },
        { "ew", 54480, 1, 0, kUnitRows, Unit(&U::ew) },
        { "carry", 55080, 1, 0, kUnitRows, Unit(&U::carry) },
        { "survivability", 55680, 1, 0, kUnitRows, Unit(&U::survivability) },
        { "weight", 56280, 1, 0, kUnitRows, Unit(&U::weight) },
        { "swim", 58080, 1, 0, kUnitRows, Unit(&U::swim) },
        { "moveClass", 58680, 1, 0, kUnitRows, Unit(&U::moveClass) },
        { "smokeDischargers", 59280, 1, 0, kUnitRows, Unit(&U::smokeDischargers) },
        { "monthAvail", 59880, 1, 0, kUnitRows, Unit(&U::monthAvail) },
        { "monthUnavail", 60480, 1, 0, kUnitRows, Unit(&U::monthUnavail) },
        { "unitSound", 61080, 1, 0, kUnitRows, Unit(&U::unitSound) },
        { "weaponSound 1", 61680, 4, 0, kUnitRows, Unit(&U::weaponSound, 0) },
        { "weaponSound 4", 61680, 4, 3, kUnitRows, Unit(&U::weaponSound, 3) },
        { "reserved2", 64080, 1, 0, kUnitRows, Unit(&U::reserved2) },

        { "formation nation", 88680, 1, 0, kFormationRows, Formation(&F::nation) },
        { "formation yearAvail", 89080, 1, 0, kFormationRows, Formation(&F::yearAvail) },
        { "formation yearUnavail", 89480, 1, 0, kFormationRows, Formation(&F::yearUnavail) },
        { "buyPage", 89880, 1, 0, kFormationRows, Formation(&F::buyPage) },
        { "formType", 90280, 1, 0, kFormationRows, Formation(&F::formType) },
        { "formation monthAvail", 98680, 1, 0, kFormationRows, Formation(&F::monthAvail) },
        { "formation monthUnavail", 99080, 1, 0, kFormationRows, Formation(&F::monthUnavail) },
    };
    return cases;
}

} // namespace

TEST(OobFileName, ThreeDigitsUpTo999ThenPlainDecimal)
{
    const std::pair<int, const char*> cases[] = {
        { 0, "obat000.obf" },
        { 1, "obat001.obf" },
        { 7, "obat007.obf" },
        { 12, "obat012.obf" },
        { 99, "obat099.obf" },
        { 123, "obat123.obf" },
        { 999, "obat999.obf" },
        { 1000, "obat1000.obf" },
    };
    for (const auto& [nation, name] : cases)
        EXPECT_EQ(OobFileName(nation), name) << nation;
}

// Every one-byte field sits at base + slot * width + offset, for the first and
// the last slot, in both directions.
TEST(OobLayout, EachByteFieldDecodesFromAndEncodesToItsColumn)
{
    const Image normal = NormalImage(7, kNation);
    for (const ByteCase& c : ByteCases()) {
        for (std::size_t slot : { std::size_t { 1 }, c.rows - 1 }) {
            SCOPED_TRACE(std::string(c.field) + " slot " + std::to_string(slot));
            Image image = normal;
            PutByte(image, c.base, c.width, slot, c.offset, 11);
            TOobData data = Loaded(image);
            EXPECT_EQ(c.ref(data, slot), 11);

            c.ref(data, slot) = 7; // in range for dates, so no clamp applies
            const Image saved = EncodeOobFile(data, kNation);
            EXPECT_EQ(GetByte(saved, c.base, c.width, slot, c.offset), 7);
            image[At(c.base, c.width, slot, c.offset)] = 7;
            EXPECT_EQ(FirstDifference(saved, image), -1) << "another byte changed too";
        }
    }
}

TEST(OobLayout, SixteenBitFieldsAreLittleEndian)
{
    using Ref = std::function<std::uint16_t&(TOobData&, std::size_t)>;
    struct Case {
        const char* field;
        std::size_t base, width, index, rows;
        Ref ref;
    };
    const Case cases[] = {
        { "cost", 47280, 2, 0, kUnitRows,
            [](TOobData& d, std::size_t s) -> std::uint16_t& { return d.units[s].cost; } },
        { "lbm", 49080, 2, 0, kUnitRows,
            [](TOobData& d, std::size_t s) -> std::uint16_t& { return d.units[s].lbm; } },
        { "icon", 56880, 2, 0, kUnitRows,
            [](TOobData& d, std::size_t s) -> std::uint16_t& { return d.units[s].icon; } },
        { "member 1", 90680, 20, 0, kFormationRows,
            [](TOobData& d, std::size_t s) -> std::uint16_t& { return d.formations[s].slot[0]; } },
        { "member 10", 90680, 20, 9, kFormationRows,
            [](TOobData& d, std::size_t s) -> std::uint16_t& { return d.formations[s].slot[9]; } },
    };
    const Image normal = NormalImage(8, kNation);
    for (const Case& c : cases) {
        for (std::size_t slot : { std::size_t { 1 }, c.rows - 1 }) {
            SCOPED_TRACE(std::string(c.field) + " slot " + std::to_string(slot));
            Image image = normal;
            PutWord(image, c.base, c.width, slot, c.index, 0xFE01);
            TOobData data = Loaded(image);
            EXPECT_EQ(c.ref(data, slot), 0xFE01);

            c.ref(data, slot) = 300;
            const Image saved = EncodeOobFile(data, kNation);
            EXPECT_EQ(GetByte(saved, c.base, c.width, slot, 2 * c.index), 44);
            EXPECT_EQ(GetByte(saved, c.base, c.width, slot, 2 * c.index + 1), 1);
        }
    }
}

TEST(OobLayout, ModifiersAreSignedBytes)
{
    const std::pair<std::int8_t, std::uint8_t> values[]
        = { { -5, 251 }, { -128, 128 }, { 127, 127 }, { -1, 255 }, { 0, 0 } };
    for (const auto& [value, byte] : values) {
        Image image = NormalImage(9, kNation);
        PutByte(image, 99480, 1, 3, 0, byte);
        PutByte(image, 99880, 1, 3, 0, byte);
        TOobData data = Loaded(image);
        EXPECT_EQ(data.formations[3].expMod, value);
        EXPECT_EQ(data.formations[3].moraleMod, value);

        data.formations[4].expMod = value;
        data.formations[4].moraleMod = value;
        const Image saved = EncodeOobFile(data, kNation);
        EXPECT_EQ(GetByte(saved, 99480, 1, 4), byte);
        EXPECT_EQ(GetByte(saved, 99880, 1, 4), byte);
    }
}

TEST(OobLayout, WeaponSoundsOfFirstAndLastUnit)
{
    TOobData data = Loaded(Image(kOobFileSize, 0));
    data.units[1].weaponSound = { 1, 2, 3, 4 };
    data.units[599].weaponSound = { 5, 6, 7, 8 };
    const Image saved = EncodeOobFile(data, kNation);
    EXPECT_EQ(Image(saved.begin() + 61684, saved.begin() + 61688), (Image { 1, 2, 3, 4 }));
    EXPECT_EQ(Image(saved.begin() + 64076, saved.begin() + 64080), (Image { 5, 6, 7, 8 }));
}

TEST(OobNames, DecodeAndEncodeFollowTheNameRules)
{
    struct Case {
        const char* what;
        std::size_t base;
        std::string stored; // the 15 bytes in the file
        std::string loaded; // the record after a load
        std::string written; // the bytes after a save, NUL padded to 15
    };
    const std::string fifteen = "ABCDEFGHIJKLMNO";
    const Case cases[] = {
        { "unit stops at NUL", 10080, std::string("AB\0CD", 5), "AB", "AB" },
        { "unit trimmed on load", 10080, "  Tiger\t ", "Tiger", "Tiger" },
        { "unit keeps inner blanks", 10080, "T-34 / 85", "T-34 / 85", "T-34 / 85" },
        { "unit of fifteen", 10080, fifteen, fifteen, fifteen },
        { "weapon kept until save", 80, "  75mm Gun ", "  75mm Gun ", "75mm Gun" },
        { "weapon stops at NUL", 80, std::string("MG\0\x01\x02", 5), "MG", "MG" },
        { "weapon of fifteen", 80, fifteen, fifteen, fifteen },
        { "formation trimmed on load", 82680, "\x01 HQ Company", "HQ Company", "HQ Company" },
        { "formation of fifteen", 82680, fifteen, fifteen, fifteen },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image image = NormalImage(10, kNation);
        PutText(image, c.base, 5, c.stored);
        TOobData data = Loaded(image);
        const std::string& name = c.base == 80 ? data.weapons[5].name
            : c.base == 10080                  ? data.units[5].name
                                               : data.formations[5].name;
        EXPECT_EQ(name, c.loaded);

        const Image saved = EncodeOobFile(data, kNation);
        std::string expected = c.written;
        expected.resize(kNameLength, '\0');
        EXPECT_EQ(GetText(saved, c.base, 5), expected);
        EXPECT_EQ(name, c.written) << "the save stores the trimmed name in the record";
    }
}

TEST(OobNames, LongNamesWriteTheirFirstFifteenBytes)
{
    TOobData data = Loaded(NormalImage(11, kNation));
    data.weapons[2].name = "A weapon name that is too long";
    data.formations[2].name = "A formation name too long";
    data.units[2].name = "A unit name that is too long";
    const Image saved = EncodeOobFile(data, kNation);
    EXPECT_EQ(GetText(saved, 80, 2), "A weapon name t");
    EXPECT_EQ(GetText(saved, 82680, 2), "A formation nam");
    EXPECT_EQ(GetText(saved, 10080, 2), "A unit name tha");
}

TEST(OobNames, CommentTakesEightyBytesUpToTheFirstNul)
{
    Image image = NormalImage(12, kNation);
    PutText(image, 0, 0, std::string(" Comment\0junk", 13), kCommentLength);
    TOobData data = Loaded(image);
    EXPECT_EQ(data.comment, " Comment") << "the comment is not trimmed";

    data.comment = std::string(90, 'c');
    Image saved = EncodeOobFile(data, kNation);
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 80), std::string(80, 'c'));
    EXPECT_EQ(saved[80], image[80]) << "the comment stays inside its 80 bytes";

    data.comment = "Short";
    saved = EncodeOobFile(data, kNation);
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 80), "Short" + std::string(75, '\0'));
}

// An empty slot of the loaded nation with class 0 is cleared on load and written
// with dates the game accepts; any other empty slot keeps what it has.
TEST(OobTidy, EmptySlotsOfTheLoadedNation)
{
    struct Case {
        const char* what;
        std::uint8_t nation, unitClass;
        bool cleared;
    };
    const Case cases[] = {
        { "own nation, class 0", kNation, 0, true },
        { "own nation, class 5", kNation, 5, false },
        { "other nation, class 0", 13, 0, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image image = NormalImage(13, kNation);
        PutText(image, 10080, 9, "   ");
        PutByte(image, 48480, 1, 9, 0, c.nation);
        PutByte(image, 19080, 1, 9, 0, c.unitClass);
        PutByte(image, 46080, 1, 9, 0, 45);
        PutByte(image, 46680, 1, 9, 0, 60);
        PutByte(image, 59880, 1, 9, 0, 3);
        PutByte(image, 60480, 1, 9, 0, 0);
        PutText(image, 82680, 9, "");
        PutByte(image, 88680, 1, 9, 0, c.nation);
        PutByte(image, 89080, 1, 9, 0, 45);
        PutByte(image, 89480, 1, 9, 0, 60);
        PutByte(image, 98680, 1, 9, 0, 3);
        PutByte(image, 99080, 1, 9, 0, 0);

        TOobData data = Loaded(image);
        const TOobUnit& u = data.units[9];
        const bool formationCleared = c.nation == kNation; // formations ignore the class
        EXPECT_EQ(u.nation, c.cleared ? 0 : c.nation);
        EXPECT_EQ(u.yearAvail, c.cleared ? 0 : 45);
        EXPECT_EQ(u.monthAvail, c.cleared ? 0 : 3);
        EXPECT_EQ(data.formations[9].nation, formationCleared ? 0 : c.nation);
        EXPECT_EQ(data.formations[9].yearUnavail, formationCleared ? 0 : 60);

        const Image saved = EncodeOobFile(data, kNation);
        EXPECT_EQ(GetByte(saved, 48480, 1, 9), c.cleared ? 0 : c.nation);
        EXPECT_EQ(GetByte(saved, 46080, 1, 9), c.cleared ? 1 : 45);
        EXPECT_EQ(GetByte(saved, 46680, 1, 9), c.cleared ? 1 : 60);
        EXPECT_EQ(GetByte(saved, 59880, 1, 9), c.cleared ? 1 : 3);
        EXPECT_EQ(GetByte(saved, 60480, 1, 9), 1) << "a unit's month 0 is written as 1";
        EXPECT_EQ(GetByte(saved, 88680, 1, 9), formationCleared ? 0 : c.nation);
        EXPECT_EQ(GetByte(saved, 89080, 1, 9), formationCleared ? 1 : 45);
        EXPECT_EQ(GetByte(saved, 98680, 1, 9), formationCleared ? 1 : 3);
        EXPECT_EQ(GetByte(saved, 99080, 1, 9), 12) << "a formation's last month 0 is written as 12";
    }
}

TEST(OobClamp, DatesAreClampedInTheFileOnly)
{
    struct Case {
        const char* field;
        std::size_t base;
        std::uint8_t value, written;
    };
    const Case cases[] = {
        { "unit yearAvail", 46080, 0, 1 },
        { "unit yearAvail", 46080, 120, 120 },
        { "unit yearAvail", 46080, 121, 120 },
        { "unit yearUnavail", 46680, 255, 120 },
        { "unit monthAvail", 59880, 0, 1 },
        { "unit monthAvail", 59880, 13, 12 },
        { "unit monthUnavail", 60480, 0, 1 },
        { "unit monthUnavail", 60480, 12, 12 },
        { "formation yearAvail", 89080, 0, 1 },
        { "formation yearUnavail", 89480, 200, 120 },
        { "formation monthAvail", 98680, 0, 1 },
        { "formation monthAvail", 98680, 99, 12 },
        { "formation monthUnavail", 99080, 0, 12 },
        { "formation monthUnavail", 99080, 13, 12 },
    };
    const auto byteCases = ByteCases();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + std::to_string(c.value));
        const auto it = std::find_if(
            byteCases.begin(), byteCases.end(), [&](const ByteCase& b) { return b.base == c.base; });
        ASSERT_NE(it, byteCases.end());
        TOobData data = Loaded(NormalImage(14, kNation));
        it->ref(data, 20) = c.value;
        const Image saved = EncodeOobFile(data, kNation);
        EXPECT_EQ(GetByte(saved, c.base, 1, 20), c.written);
        EXPECT_EQ(it->ref(data, 20), c.value) << "the record keeps its value";
    }
}

// A load and save give back every byte of a random file that the editor does
// not own, and settle the owned bytes into a form that a second pass keeps.
TEST(OobRoundTrip, RandomFilesKeepEveryByteTheEditorDoesNotOwn)
{
    for (std::uint32_t seed : { 1u, 2u, 3u, 4u }) {
        SCOPED_TRACE(seed);
        const Image original = RandomImage(seed);
        const Image once = LoadAndSave(original);
        ASSERT_EQ(once.size(), kOobFileSize);
        std::size_t foreign = 0;
        for (std::size_t i = 0; i < kOobFileSize; ++i) {
            if (!IsOwnedByte(i)) {
                ++foreign;
                ASSERT_EQ(once[i], original[i]) << "byte " << i;
            }
        }
        // Slot 0 of each table (40, 121 and 60 bytes) and the unused columns:
        // 1 + 12 bytes per weapon slot, 6 + 30 per unit slot, 16 per formation slot.
        EXPECT_EQ(foreign, 40u + 13u * 249 + 121u + 36u * 599 + 60u + 16u * 399);
        EXPECT_EQ(FirstDifference(LoadAndSave(once), once), -1) << "a second pass changes nothing";
    }
}

TEST(OobRoundTrip, FileInNormalFormComesBackIdentical)
{
    for (std::uint32_t seed : { 21u, 22u, 23u }) {
        const Image normal = NormalImage(seed, kNation);
        EXPECT_EQ(FirstDifference(LoadAndSave(normal), normal), -1) << "seed " << seed;
    }
}

TEST(OobRoundTrip, ShortAndLongFiles)
{
    TempDir dir;
    const Image full = NormalImage(31, kNation);

    // A short file reads as zeros beyond its end, even after a full file was loaded.
    TOobData data;
    WriteBytes(dir / "obat012.obf", full);
    ASSERT_TRUE(LoadOobFile(data, kNation, dir.path()).ok());
    const Image shortFile(full.begin(), full.begin() + 300);
    WriteBytes(dir / "obat012.obf", shortFile);
    LoadResult shortLoad = LoadOobFile(data, kNation, dir.path());
    ASSERT_TRUE(shortLoad.ok());
    EXPECT_EQ(shortLoad.size, LoadResult::Size::Short);
    EXPECT_EQ(shortLoad.bytesInFile, 300u);
    EXPECT_EQ(data.imageLength, 300);
    EXPECT_EQ(std::count(data.fileImage.begin() + 300, data.fileImage.end(), 0), long(kOobFileSize - 300));
    EXPECT_TRUE(data.weapons[249].name.empty());
    ASSERT_TRUE(SaveOobFile(data, kNation, dir.path()).ok());
    const Image savedShort = ReadBytes(dir / "obat012.obf");
    EXPECT_EQ(savedShort.size(), kOobFileSize);
    EXPECT_EQ(Image(savedShort.begin(), savedShort.begin() + 80), Image(full.begin(), full.begin() + 80));

    // A long file keeps its tail and writes it back after the image.
    Image longFile = full;
    const Image tail = RandomImage(32, 37);
    longFile.insert(longFile.end(), tail.begin(), tail.end());
    WriteBytes(dir / "obat012.obf", longFile);
    LoadResult longLoad = LoadOobFile(data, kNation, dir.path());
    ASSERT_TRUE(longLoad.ok());
    EXPECT_EQ(longLoad.size, LoadResult::Size::Long);
    EXPECT_EQ(longLoad.bytesInFile, kOobFileSize + 37);
    EXPECT_EQ(data.extraBytes, tail);
    EXPECT_EQ(data.fileImage.size(), kOobFileSize);
    ASSERT_TRUE(SaveOobFile(data, kNation, dir.path()).ok());
    EXPECT_EQ(FirstDifference(ReadBytes(dir / "obat012.obf"), longFile), -1);

    // A full file after a long one drops the tail again.
    WriteBytes(dir / "obat012.obf", full);
    EXPECT_EQ(LoadOobFile(data, kNation, dir.path()).size, LoadResult::Size::Exact);
    EXPECT_TRUE(data.extraBytes.empty());
}

TEST(OobLoad, FailedLoadLeavesTheDataAsItWas)
{
    TempDir dir;
    TOobData data;
    WriteBytes(dir / "obat012.obf", NormalImage(41, kNation));
    ASSERT_TRUE(LoadOobFile(data, kNation, dir.path()).ok());
    data.units[3].name = "Edited";
    const TOobData before = data;

    const LoadResult missing = LoadOobFile(data, 5, dir.path());
    EXPECT_EQ(missing.io.kind, IoResult::Kind::NotFound);
    EXPECT_EQ(missing.io.message(),
        "Cannot find " + (dir / "obat005.obf").string() + ": No such file or directory");

    std::filesystem::create_directory(dir / "obat006.obf");
    const LoadResult folder = LoadOobFile(data, 6, dir.path());
    EXPECT_EQ(folder.io.kind, IoResult::Kind::ReadError);
    EXPECT_EQ(folder.io.reason, "Is a directory");

    EXPECT_EQ(data.units, before.units);
    EXPECT_EQ(data.weapons, before.weapons);
    EXPECT_EQ(data.formations, before.formations);
    EXPECT_EQ(data.comment, before.comment);
    EXPECT_EQ(data.fileImage, before.fileImage);
    EXPECT_EQ(data.imageLength, before.imageLength);
}

TEST(OobSave, FileFoundInAnotherCaseKeepsItsName)
{
    TempDir dir;
    WriteBytes(dir / "OBAT012.OBF", NormalImage(51, kNation));
    EXPECT_TRUE(OobFileExists(dir.path(), kNation));
    EXPECT_FALSE(OobFileExists(dir.path(), 13));
    TOobData data;
    const LoadResult load = LoadOobFile(data, kNation, dir.path());
    ASSERT_TRUE(load.ok());
    EXPECT_EQ(load.io.path, dir / "OBAT012.OBF");

    data.units[1].cost = 300;
    const IoResult saved = SaveOobFile(data, kNation, dir.path());
    ASSERT_TRUE(saved.ok()) << saved.message();
    EXPECT_EQ(saved.path, dir / "OBAT012.OBF");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string> { "OBAT012.OBF" });
    EXPECT_EQ(GetByte(ReadBytes(dir / "OBAT012.OBF"), 47280, 2, 1), 44);
}

// The name is written as given: the editor's dialog cuts it (by characters), the
// command line keeps it whole. Cutting here by bytes split "é" in two.
TEST(OobSave, SaveAsWritesTheNameAsGiven)
{
    TempDir dir;
    TOobData data = Loaded(NormalImage(61, kNation));
    for (const char* name : { "abcdefghijkl.obf", "imported_unit.obf",
             "a\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9.obf" }) {
        const IoResult saved = SaveOobFileAs(data, kNation, name, dir.path());
        ASSERT_TRUE(saved.ok()) << saved.message();
        EXPECT_EQ(ReadBytes(dir.path() / PathFromUtf8(name)).size(), kOobFileSize) << name;
    }
    EXPECT_EQ(Entries(dir.path()).size(), 3u);

    for (const char* bad : { "", "../x.obf", "..", "sub/x.obf" }) {
        const IoResult refused = SaveOobFileAs(data, kNation, bad, dir.path());
        EXPECT_EQ(refused.kind, IoResult::Kind::WriteError) << bad;
        EXPECT_EQ(refused.reason, "Invalid file name") << bad;
    }
    EXPECT_EQ(Entries(dir.path()).size(), 3u);
}

// A file far larger than any real one is refused before it is read (a 40 GB file
// once ran the editor out of memory), naming its size; the loaded data stay.
TEST(OobLoad, OversizedFileIsRefusedUnread)
{
    TempDir dir;
    TOobData data = Loaded(NormalImage(63, kNation));
    const TOobData before = data;
    const struct {
        std::uintmax_t size;
        bool loads;
    } cases[] = {
        { kMaxOobFileBytes, true }, { kMaxOobFileBytes + 1, false },
        { 40ull * 1024 * 1024 * 1024, false }, // sparse: takes no space
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        WriteBytes(dir / "obat016.obf", {});
        if (!tarnwick::testsupport::MakeSparseFile(dir / "obat016.obf", c.size))
            continue;
        TOobData target = before;
        const LoadResult result = LoadOobFile(target, 16, dir.path());
        EXPECT_EQ(result.ok(), c.loads) << result.io.message();
        if (c.loads)
            continue;
        EXPECT_EQ(result.io.kind, IoResult::Kind::TooLarge);
        EXPECT_EQ(result.io.message(),
            "Cannot read " + (dir / "obat016.obf").string() + ": the file holds " + std::to_string(c.size)
                + " bytes, too many for an order-of-battle file (at most 1048576)");
        EXPECT_EQ(target.units, before.units);
        EXPECT_EQ(target.fileImage, before.fileImage);
    }
}

TEST(OobSave, FullDiskLeavesTheOldFileIntact)
{
    TempDir dir;
    const Image old = NormalImage(71, kNation);
    WriteBytes(dir / "obat012.obf", old);
    TOobData data;
    ASSERT_TRUE(LoadOobFile(data, kNation, dir.path()).ok());
    data.units[1].name = "Changed";

    const IoResult failed = SaveOobFile(data, kNation, dir.path(), FailAfterBytes(50000));
    EXPECT_EQ(failed.kind, IoResult::Kind::WriteError);
    EXPECT_EQ(
        failed.message(), "Cannot write " + (dir / "obat012.obf").string() + ": No space left on device");
    EXPECT_EQ(ReadBytes(dir / "obat012.obf"), old);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string> { "obat012.obf" });
}

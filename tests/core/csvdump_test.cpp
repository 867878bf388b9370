#include "../support/tempdir.h"
#include "core/data/csvdump.h"

#include "oobfixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

using namespace tarnwick::core;
using tarnwick::testing::CrLfLines;
namespace fs = std::filesystem;

namespace {

const char kUnitHeader[]
    = "Nation ID,Nationality,OB Slot No,Name,Nation,Class ID,Class,Cost,Size,Crew,Speed,Swim Spd,Move Class "
      "ID,"
      "Move Class,Radio%,Survivability,Lift Cap,Load Cost,1st Month Avail,1st Year Avail,Last Month Avail,"
      "Last Year Avail,Fire Control,Stabiliser,Vision,Nr S/D,Rate of Fire,EW,Range Finder,Weapon 1,Wpn 1 "
      "Name,"
      "Wpn1 HE Rds,Wpn1 AP Rds,Wpn1 HEAT Rds,Wpn1 SABOT Rds,Wpn1 Sound,Weapon 2,Wpn 2 Name,Wpn2 HE Rds,"
      "Wpn2 AP Rds,Wpn2 Sound,Weapon 3,Wpn 3 Name,Wpn3 HE Rds,Wpn3 AP Rds,Wpn3 Sound,Weapon 4,Wpn 4 Name,"
      "Wpn4 HE Rds,Wpn4 AP Rds,Wpn4 Sound,Steel HF,Steel HS,Steel HR,Steel TF,Steel TS,Steel TR,Steel Top,"
      "HEAT HF,HEAT HS,HEAT HR,HEAT TF,HEAT TS,HEAT TR,HEAT Top,ERA HF,ERA HS,ERA HR,ERA TF,ERA TS,ERA TR,"
      "ERA Top,Unit Sound,Graphic (Icon) ID,Picture (LBM) ID\r\n";

const char kWeaponHeader[]
    = "Nation ID,Nationality,OB Slot No,Name,Weapon Class,Weapon Size,Warhead Size,HE Pen,HE Kill,AP Pen,"
      "AP Kill,Accuracy,Range,Sabot Range,Sabot Pen,HEAT Pen,\r\n";

const char kFormationHeader[]
    = "Nation ID,Nationality,OB Slot No,Name,Country,Form Type,FT Desc,Buy Page,BP Desc,Avail From Mo,"
      "Avail From Yr,Avail To Mo,Avail To Yr,Exp Mod,Mor Mod,Subunit 01,Description1,Subunit 02,Description2,"
      "Subunit 03,Description3,Subunit 04,Description4,Subunit 05,Description5,Subunit 06,Description6,"
      "Subunit 07,Description7,Subunit 08,Description8,Subunit 09,Description9,Subunit 10,Description10,\r\n";

std::string UnusedRow(int nation, const std::string& nationName, int slot, int placeholders)
{
    std::string row = std::to_string(nation) + "," + nationName + "," + std::to_string(slot) + ",XUNUSEDX,";
    for (int i = 0; i < placeholders; ++i)
        row += "-,";
    return row;
}

NameTables Names()
{
    NameTables names;
    names.nationNames[12] = "Ruritania";
    names.nationNames[3] = "Gr\xFCnland";
    names.unitClassNames[7] = "Heavy Tank";
    return names;
}

// One unit with every dumped field set to its own value.
TOobData DataWithTiger()
{
    TOobData data;
    data.weapons[1].name = "88mm KwK";
    data.weapons[2].name = "MG34";
    TOobUnit& u = data.units[5];
    u.name = "Tiger I";
    u.nation = 3;
    u.unitClass = 7;
    u.cost = 1200;
    u.size = 10;
    u.crew = 11;
    u.speed = 12;
    u.swim = 13;
    u.moveClass = 4;
    u.radio = 14;
    u.survivability = 15;
    u.carry = 16;
    u.weight = 17;
    u.monthAvail = 18;
    u.yearAvail = 19;
    u.monthUnavail = 20;
    u.yearUnavail = 21;
    u.fireControl = 22;
    u.stabiliser = 23;
    u.vision = 24;
    u.smokeDischargers = 25;
    u.rof = 26;
    u.ew = 27;
    u.rangeFinder = 28;
    u.weapon = { 1, 2, 0, 250 };
    u.heAmmo = { 31, 41, 51, 61 };
    u.apAmmo = { 32, 42, 52, 62 };
    u.heatAmmo = 33;
    u.sabotAmmo = 34;
    u.weaponSound = { 35, 45, 55, 65 };
    u.steelArmour = { 71, 72, 73, 74, 75, 76, 77 };
    u.heatArmour = { 81, 82, 83, 84, 85, 86, 87 };
    u.eraArmour = { 91, 92, 93, 94, 95, 96, 97 };
    u.unitSound = 99;
    u.icon = 300;
    u.lbm = 65535;
    u.reserved1 = 200;
    u.reserved2 = 201;
    return data;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using tarnwick::testsupport::TempDir;

} // namespace

TEST(CsvDump, FileNamesCarryTheNationInTwoDigits)
{
    EXPECT_EQ(CsvDumpFileNames(3),
        (std::array<std::string, 3> { "obatDUMP03unit.csv", "obatDUMP03wpns.csv", "obatDUMP03fmns.csv" }));
    EXPECT_EQ(CsvDumpFileNames(12)[0], "obatDUMP12unit.csv");
    EXPECT_EQ(CsvDumpFileNames(99)[2], "obatDUMP99fmns.csv");
}

TEST(CsvDump, AnEmptyFileGivesHeadersAndOnlyUnusedRows)
{
    const TOobData data;
    const NameTables names = Names();
    struct Case {
        std::string text;
        const char* header;
        int slots;
        int placeholders;
    };
    const Case cases[] = {
        { BuildUnitCsv(data, 12, names), kUnitHeader, 599, 64 },
        { BuildWeaponCsv(data, 12, names), kWeaponHeader, 249, 16 },
        { BuildFormationCsv(data, 12, names), kFormationHeader, 399, 30 },
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.text.substr(0, std::string(c.header).size()), c.header);
        const std::vector<std::string> lines = CrLfLines(c.text.substr(std::string(c.header).size()));
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.slots)) << c.header;
        for (int slot = 1; slot <= c.slots; ++slot)
            ASSERT_EQ(
                lines[static_cast<std::size_t>(slot - 1)], UnusedRow(12, "Ruritania", slot, c.placeholders));
        EXPECT_EQ(c.text.substr(c.text.size() - 2), "\r\n");
    }
    EXPECT_EQ(CrLfLines(BuildUnitCsv(data, 12, names))[1],
        "12,Ruritania,1,XUNUSEDX," // and 64 placeholders
        "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,"
        "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,"
        "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,"
        "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,");
}

TEST(CsvDump, AUnitRowHoldsEveryFieldInColumnOrder)
{
    const TOobData data = DataWithTiger();
    const std::vector<std::string> lines = CrLfLines(BuildUnitCsv(data, 12, Names()));
    // Weapon 3 is none and weapon 4 names no weapon: both name columns stay empty.
    EXPECT_EQ(lines[5],
        "12,Ruritania,5,Tiger I,3,7,Heavy Tank,1200,10,11,12,13,4,Track,14,15,16,17,18,19,20,21,22,23,24,25,"
        "26,27,28,1,88mm KwK,31,32,33,34,35,2,MG34,41,42,45,0,,51,52,55,250,,61,62,65,71,72,73,74,75,76,77,"
        "81,82,83,84,85,86,87,91,92,93,94,95,96,97,99,300,65535,");
}

TEST(CsvDump, AWeaponRowHoldsTheClassAsACodeOnly)
{
    TOobData data;
    TOobWeapon& w = data.weapons[249];
    w.name = "\xC4tzer";
    w.weaponClass = 6;
    w.weaponSize = 2;
    w.warheadSize = 3;
    w.hePen = 4;
    w.heKill = 5;
    w.apPen = 222;
    w.apKill = 7;
    w.accuracy = 8;
    w.range = 255;
    w.sabotRange = 10;
    w.sabotPen = 11;
    w.heatPen = 12;
    const std::string csv = BuildWeaponCsv(data, 3, Names());
    EXPECT_EQ(CrLfLines(csv).back(), "3,Gr\xFCnland,249,\xC4tzer,6,2,3,4,5,222,7,8,255,10,11,12,");
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
}

TEST(CsvDump, FormationMembersAndSignedModifiers)
{
    TOobData data = DataWithTiger();
    data.formations[3].name = "Recce Plt";
    TOobFormation& f = data.formations[7];
    f.name = "Tiger Coy";
    f.nation = 3;
    f.formType = 2;
    f.buyPage = 10;
    f.monthAvail = 6;
    f.yearAvail = 42;
    f.monthUnavail = 5;
    f.yearUnavail = 45;
    f.expMod = static_cast<std::int8_t>(251); // the file byte 251
    f.moraleMod = 127;
    f.slot = { 5, 1003, 0, 600, 999, 1000, 1400, 65535, 1399, 6 };
    const std::vector<std::string> lines = CrLfLines(BuildFormationCsv(data, 12, Names()));
    // Numbers that name no record keep their number and get no description; an empty
    // formation slot still lends its (empty) name and an empty unit slot its brackets.
    EXPECT_EQ(lines[7],
        "12,Ruritania,7,Tiger Coy,3,2,Company,10,Battalion HQ.,6,42,5,45,-5,127,"
        "5,[Tiger I],1003,Recce Plt,0,,600,,999,,1000,,1400,,65535,,1399,,6,[],");

    f.expMod = -128;
    EXPECT_NE(CrLfLines(BuildFormationCsv(data, 12, Names()))[7].find(",45,-128,127,5,"), std::string::npos);

    // Text cells holding a comma or a quote are quoted, as spreadsheets read them.
    data.units[5].name = "Rifle, \"A\"";
    data.formations[3].name = "Recce\nPlt";
    NameTables names = Names();
    names.nationNames[12] = "Ruritania, North";
    const std::string quoted
        = "12,\"Ruritania, North\",7,Tiger Coy,3,2,Company,10,Battalion HQ.,6,42,5,45,-128,"
          "127,5,\"[Rifle, \"\"A\"\"]\",1003,\"Recce\nPlt\",0,,600,,";
    EXPECT_EQ(CrLfLines(BuildFormationCsv(data, 12, names))[7].substr(0, quoted.size()), quoted);
}

TEST(CsvDump, NationOutsideTheTableIsUnknownAndAControlOnlyNameIsEmpty)
{
    TOobData data;
    data.weapons[1].name = "\x01 ";
    const std::vector<std::string> lines = CrLfLines(BuildWeaponCsv(data, 0, Names()));
    EXPECT_EQ(lines[1], UnusedRow(0, "Unknown", 1, 16));
}

TEST(CsvDump, DumpWritesTheThreeFilesAsBuilt)
{
    TempDir dir;
    const TOobData data = DataWithTiger();
    const NameTables names = Names();
    const std::array<IoResult, 3> results = DumpCsv(data, 12, names, dir.path());
    const std::array<std::string, 3> expected = { BuildUnitCsv(data, 12, names),
        BuildWeaponCsv(data, 12, names), BuildFormationCsv(data, 12, names) };
    const std::array<std::string, 3> fileNames = CsvDumpFileNames(12);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(results[i].ok()) << results[i].message();
        EXPECT_EQ(results[i].path, dir.path() / fileNames[i]);
        EXPECT_EQ(ReadFile(dir.path() / fileNames[i]), expected[i]) << fileNames[i];
    }
    // Nothing but the three files is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

TEST(CsvDump, AFileThatCannotBeWrittenDoesNotStopTheOthers)
{
    TempDir dir;
    const TOobData data = DataWithTiger();
    const NameTables names = Names();
    const std::array<std::string, 3> fileNames = CsvDumpFileNames(12);
    // A folder in the way of the unit file.
    fs::create_directory(dir.path() / fileNames[0]);
    const std::array<IoResult, 3> results = DumpCsv(data, 12, names, dir.path());
    EXPECT_FALSE(results[0].ok());
    EXPECT_EQ(results[0].path, dir.path() / fileNames[0]);
    EXPECT_FALSE(results[0].reason.empty());
    EXPECT_TRUE(results[1].ok());
    EXPECT_TRUE(results[2].ok());
    EXPECT_EQ(ReadFile(dir.path() / fileNames[2]), BuildFormationCsv(data, 12, names));

    const std::array<IoResult, 3> missing = DumpCsv(data, 12, names, dir.path() / "no such folder");
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(missing[i].ok());
        EXPECT_EQ(missing[i].path, dir.path() / "no such folder" / fileNames[i]);
    }
    EXPECT_FALSE(fs::exists(dir.path() / "no such folder"));
}

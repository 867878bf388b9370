#include "core/data/pastefiles.h"
#include "core/data/recordfields.h"
#include "core/data/tarnio.h"

#include "oobfixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tarnwick::core;
using tarnwick::testing::CrLfLines;

namespace {

const std::string kSep(1, static_cast<char>(std::filesystem::path::preferred_separator));

const char* kUnitHeader
    = "Slot No,Name,Nationality,Class,Cost,Size,Crew,Speed,Swim Speed,Movement Class,Radio%,Survivability,"
      "Lift Capacity,Load Cost,1st Year Avail,Last Year Avail,Fire Control,Stabiliser,Vision,No of SD,"
      "Rate of Fire,EW Factor,Range Finder,Weapon 1,Wpn1 HE Rds,Wpn1 AP Rds,Wpn1 HEAT Rds,Wpn1 SABOT Rds,"
      "Weapon 2,Wpn2 HE Rds,Wpn2 AP Rds,Weapon 3,Wpn3 HE Rds,Wpn3 AP Rds,Weapon 4,Wpn4 HE Rds,Wpn4 AP Rds,"
      "Steel HF,Steel HS,Steel HR,Steel TF,Steel TS,Steel TR,Steel Top,"
      "HEAT HF,HEAT HS,HEAT HR,HEAT TF,HEAT TS,HEAT TR,HEAT Top,"
      "ERA HF,ERA HS,ERA HR,ERA TF,ERA TS,ERA TR,ERA Top,Graphic (Icon) ID,Picture (LBM) ID,"
      "1st Month Avail,Last Month Avail,Unit Sound,Wpn1 Sound,Wpn2 Sound,Wpn3 Sound,Wpn4 Sound,";

std::string Xs(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "X,";
    return s;
}

std::string Join(const std::vector<std::string>& lines, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i)
        text += lines[i] + "\r\n";
    return text;
}

NameTables Names()
{
    NameTables names;
    names.nationNames[5] = "Germany";
    names.nationNames[12] = "Poland";
    return names;
}

// A unit whose every field holds a different value.
TOobUnit FullUnit()
{
    TOobUnit u { .name = "Tiger I",
        .unitClass = 7,
        .size = 3,
        .crew = 4,
        .weapon = { 21, 26, 29, 32 },
        .heAmmo = { 22, 27, 30, 33 },
        .apAmmo = { 23, 28, 31, 34 },
        .speed = 30 };
    u.icon = 1234, u.lbm = 40000;
    for (int i = 0; i < kFacings; ++i) {
        u.steelArmour[i] = static_cast<std::uint8_t>(41 + i);
        u.heatArmour[i] = static_cast<std::uint8_t>(51 + i);
        u.eraArmour[i] = static_cast<std::uint8_t>(61 + i);
    }
    u.radio = 80, u.yearAvail = 40, u.yearUnavail = 45, u.cost = 300, u.nation = 5, u.fireControl = 11;
    u.sabotAmmo = 25, u.heatAmmo = 24, u.stabiliser = 12, u.survivability = 6, u.vision = 13, u.swim = 0;
    u.smokeDischargers = 2, u.rof = 14, u.carry = 1, u.weight = 9, u.ew = 15, u.rangeFinder = 16;
    u.moveClass = 2;
    // Not in the file.
    u.monthAvail = 4, u.monthUnavail = 9, u.unitSound = 17, u.weaponSound = { 1, 2, 3, 4 };
    u.reserved1 = 0xAA, u.reserved2 = 0x55;
    return u;
}

const std::string kFullUnitLine
    = "3,Tiger "
      "I,5,7,300,3,4,30,0,2,80,6,1,9,40,45,11,12,13,2,14,15,16,21,22,23,24,25,26,27,28,29,30,31,32,33,34,"
      "41,42,43,44,45,46,47,51,52,53,54,55,56,57,61,62,63,64,65,66,67,1234,40000,4,9,17,1,2,3,4,";

std::unique_ptr<PasteBuffers> Fresh()
{
    auto buffers = std::make_unique<PasteBuffers>();
    InitPasteBuffers(*buffers);
    return buffers;
}

// A unit file with rows 1..rows used; unit k has nation k % 100 and cost k.
std::vector<std::string> UnitFileLines(int rows)
{
    auto buffers = Fresh();
    for (int k = 1; k <= rows; ++k)
        buffers->unitBuffer[k]
            = { TOobUnit { .name = "U" + std::to_string(k), .cost = static_cast<std::uint16_t>(k) }, 5,
                  true };
    return CrLfLines(ExportBufferText(*buffers, PasteKind::Unit, "/d", 5, Names()));
}

} // namespace

TEST(PasteFiles, ExportWithOnlyEntry3InUseWrites601ExactLines)
{
    auto buffers = Fresh();
    buffers->unitBuffer[3] = { FullUnit(), 5, true };

    const std::string text = ExportBufferText(*buffers, PasteKind::Unit, "/games/oob", 5, Names());
    const std::vector<std::string> lines = CrLfLines(text);

    ASSERT_EQ(lines.size(), 601u);
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(lines[0], "UNIT PASTE BUFFER FROM /games/oob" + kSep + "Tarn05 - Germany,");
    EXPECT_EQ(lines[1], kUnitHeader);
    const std::string freeTail = ",XUNUSEDX," + Xs(59);
    EXPECT_EQ(lines[2], "1" + freeTail);
    EXPECT_EQ(lines[3], "2" + freeTail);
    EXPECT_EQ(lines[4], kFullUnitLine);
    EXPECT_EQ(lines[5], "4" + freeTail);
    EXPECT_EQ(lines[600], "599" + freeTail);
}

TEST(PasteFiles, WeaponAndFormationFilesTitleHeaderAndLines)
{
    auto buffers = Fresh();
    buffers->weaponBuffer[1]
        = { TOobWeapon { "88mm L/56", 6, 8, 88, 10, 11, 12, 13, 14, 40, 20, 21, 255 }, 5, true };
    TOobFormation fm { .name = "Pz Coy",
        .nation = 12,
        .yearAvail = 39,
        .yearUnavail = 45,
        .buyPage = 3,
        .formType = 2,
        .monthAvail = 9,
        .monthUnavail = 5,
        .expMod = -3,
        .moraleMod = 4 };
    fm.slot = { 1, 2, 0, 0, 0, 0, 0, 0, 1001, 65535 };
    buffers->formationBuffer[2] = { fm, 12, true };

    const std::vector<std::string> weapons
        = CrLfLines(ExportBufferText(*buffers, PasteKind::Weapon, "C", 12, Names()));
    ASSERT_EQ(weapons.size(), 601u);
    EXPECT_EQ(weapons[0], "WEAPON PASTE BUFFER FROM C" + kSep + "tarn12 - Poland,");
    EXPECT_EQ(weapons[1],
        "Slot No,Name,Weapon Class,Weapon Size,Warhead Size,HE Pen,HE Kill,AP Pen,AP Kill,"
        "Accuracy,Range,Sabot Range,Sabot Pen,HEAT Pen,");
    EXPECT_EQ(weapons[2], "1,88mm L/56,6,8,88,10,11,12,13,14,40,20,21,255,");
    EXPECT_EQ(weapons[3], "2,XUNUSEDX," + Xs(13));

    const std::vector<std::string> formations
        = CrLfLines(ExportBufferText(*buffers, PasteKind::Formation, "C", 0, Names()));
    ASSERT_EQ(formations.size(), 601u);
    EXPECT_EQ(formations[0], "FORMATION PASTE BUFFER FROM C" + kSep + "Tarn00 - Unknown,");
    EXPECT_EQ(formations[1],
        "Slot No,Name,Country,Form Type,Category,Avail From,To,Subunit 01,Subunit 02,Subunit 03,Subunit 04,"
        "Subunit 05,Subunit 06,Subunit 07,Subunit 08,Subunit 09,Subunit 10,Avail From Mo,Avail To Mo,Exp Mod,"
        "Mor Mod,");
    EXPECT_EQ(formations[2], "1,XUNUSEDX," + Xs(27));
    EXPECT_EQ(formations[3], "2,Pz Coy,12,2,3,39,45,1,2,0,0,0,0,0,0,1001,65535,9,5,-3,4,");
}

namespace {

// The text with every line cut after its first count fields (a quoted field
// counts as one), as a file written before the later columns holds them.
std::string CutLines(const std::string& text, int count)
{
    std::string out;
    for (const std::string& line : CrLfLines(text)) {
        int fields = 0;
        bool quoted = false;
        std::size_t end = 0;
        for (; end < line.size() && fields < count; ++end) {
            if (line[end] == '"')
                quoted = !quoted;
            else if (line[end] == ',' && !quoted)
                ++fields;
        }
        out += line.substr(0, end) + "\r\n";
    }
    return out;
}

template <class Record, std::size_t N>
void ExpectPasted(const std::array<Record, N>& pasted, const std::array<Record, N>& source,
    const std::array<Record, N>& replaced, const std::vector<std::string_view>& kept)
{
    const std::span<const OobField> fields = OobLayoutOf(TableOf<Record>()).fields;
    for (std::size_t k = 1; k < N; ++k) {
        if (source[k].name.empty())
            continue;
        SCOPED_TRACE(k);
        EXPECT_EQ(pasted[k].name, source[k].name);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const bool keeps = std::find(kept.begin(), kept.end(), fields[i].name) != kept.end();
            const int expected = !keeps    ? FieldValue(source[k], i)
                : replaced[k].name.empty() ? 0
                                           : FieldValue(replaced[k], i);
            EXPECT_EQ(FieldValue(pasted[k], i), expected) << fields[i].name;
        }
    }
}

} // namespace

// Export, import and paste all give back every record of a full file, names
// with commas and quotes included. A file from before the later columns gives
// what it has, and the pasted records keep the fields it lacks, as it says.
TEST(PasteFiles, RoundTripThroughAFileChangesNothing)
{
    auto source = std::make_unique<TOobData>();
    LoadOobBytes(*source, 5, tarnwick::testing::NormalImage(21, 5));
    auto replaced = std::make_unique<TOobData>();
    LoadOobBytes(*replaced, 5, tarnwick::testing::NormalImage(22, 5));

    const struct {
        PasteKind kind;
        int oldColumns; // columns of a file from before
        std::vector<std::string_view> lacking;
        const char* note;
    } cases[] = {
        { PasteKind::Unit, 60,
            { "1st Month Avail", "Last Month Avail", "Unit Sound", "Wpn1 Sound", "Wpn2 Sound", "Wpn3 Sound",
                "Wpn4 Sound" },
            "The file has no columns for 1st Month Avail, Last Month Avail, Unit Sound, Wpn1..4 Sound; "
            "pasted "
            "units keep their own" },
        { PasteKind::Weapon, 14, {}, "" },
        { PasteKind::Formation, 17, { "Avail From Mo", "Avail To Mo", "Exp Mod", "Mor Mod" },
            "The file has no columns for Avail From Mo, Avail To Mo, Exp Mod, Mor Mod; pasted formations "
            "keep "
            "their own" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        auto buffers = Fresh();
        CopyAllToBuffer(*buffers, c.kind, *source, 5);
        const std::string text = ExportBufferText(*buffers, c.kind, "/d", 5, Names());

        auto back = Fresh();
        const ImportResult read = ImportBufferText(*back, c.kind, text, "f.csv");
        ASSERT_TRUE(read.ok()) << read.message;
        EXPECT_EQ(read.note, "");
        auto pasted = std::make_unique<TOobData>(*source);
        PasteAllFromBuffer(*back, c.kind, *pasted);
        EXPECT_EQ(EncodeOobFile(*pasted, 5), EncodeOobFile(*source, 5));

        auto old = Fresh();
        const ImportResult readOld = ImportBufferText(*old, c.kind, CutLines(text, c.oldColumns), "f.csv");
        ASSERT_TRUE(readOld.ok()) << readOld.message;
        EXPECT_EQ(readOld.note, c.note);
        pasted = std::make_unique<TOobData>(*replaced);
        PasteAllFromBuffer(*old, c.kind, *pasted);
        if (c.kind == PasteKind::Unit)
            ExpectPasted(pasted->units, source->units, replaced->units, c.lacking);
        else if (c.kind == PasteKind::Formation)
            ExpectPasted(pasted->formations, source->formations, replaced->formations, c.lacking);
        else
            ExpectPasted(pasted->weapons, source->weapons, replaced->weapons, c.lacking);
    }
}

TEST(PasteFiles, TitleDecidesWhetherAFileIsTaken)
{
    const struct {
        const char* title;
        PasteKind kind;
        bool accepted;
    } cases[] = {
        { "UNIT PASTE BUFFER FROM /d/Tarn05 - Germany", PasteKind::Unit, true },
        { "UNIT PASTE BUFFER FROM /d/Tarn05 - Germany", PasteKind::Weapon, false },
        { "UNIT PASTE BUFFER FROM /d/Tarn05 - Germany", PasteKind::Formation, false },
        { "05 UNIT DUMP", PasteKind::Unit, true },
        { "WEAPON DUMP", PasteKind::Weapon, true },
        { "FORMATION LIST", PasteKind::Formation, false },
        { "unit paste buffer", PasteKind::Unit, false },
        { "", PasteKind::Unit, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        auto buffers = Fresh();
        const auto before = std::make_unique<PasteBuffers>(*buffers);
        std::vector<std::string> lines = UnitFileLines(1);
        lines[0] = std::string(c.title) + ",";
        const std::string text = Join(lines, 3);
        const ImportResult result = ImportBufferText(*buffers, c.kind, text, "/d/TarnPASTE05unit.csv");
        if (c.accepted) {
            EXPECT_TRUE(result.ok()) << result.message;
        } else {
            EXPECT_EQ(result.kind, ImportResult::Kind::NotPasteFile);
            EXPECT_EQ(
                result.message, "/d/TarnPASTE05unit.csv appears NOT to be a valid tarnwick FTK .csv file! ");
            EXPECT_EQ(buffers->weaponBuffer, before->weaponBuffer);
            EXPECT_EQ(buffers->unitBuffer, before->unitBuffer);
            EXPECT_EQ(buffers->formationBuffer, before->formationBuffer);
        }
    }
}

TEST(PasteFiles, FreeLinesLeaveTheirEntriesAsTheyWere)
{
    auto buffers = Fresh();
    buffers->weaponBuffer[1] = { TOobWeapon { .name = "Kept", .range = 4 }, 8, true };
    buffers->weaponBuffer[2] = { TOobWeapon { .name = "Free", .range = 5 }, 9, false };
    const auto before = std::make_unique<PasteBuffers>(*buffers);

    auto empty = Fresh();
    const std::string text = ExportBufferText(*empty, PasteKind::Weapon, "/d", 5, Names());
    const ImportResult result = ImportBufferText(*buffers, PasteKind::Weapon, text, "f");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.entriesRead, 0);
    EXPECT_EQ(buffers->weaponBuffer, before->weaponBuffer);
}

TEST(PasteFiles, FormationImportReadsRows1To399Only)
{
    auto source = Fresh();
    for (int k = 1; k <= kPasteEntries; ++k)
        source->formationBuffer[k] = { TOobFormation { .name = "F" + std::to_string(k) }, 5, true };
    std::vector<std::string> lines
        = CrLfLines(ExportBufferText(*source, PasteKind::Formation, "/d", 5, Names()));
    ASSERT_EQ(lines.size(), 601u);
    lines[2 + 450] = "451,Bad,x,y,"; // never read

    auto target = Fresh();
    const ImportResult result = ImportBufferText(*target, PasteKind::Formation, Join(lines, 601), "f");
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.entriesRead, 399);
    EXPECT_EQ(target->formationBuffer[399].record.name, "F399");
    for (int k = 400; k <= kPasteEntries; ++k)
        EXPECT_EQ(target->formationBuffer[k], TPasteEntry<TOobFormation> {}) << k;
}

TEST(PasteFiles, FieldsAreCutAndClampedToTheirWidths)
{
    std::vector<std::string> lines = UnitFileLines(1);
    // name 16 chars; nationality 300; class -1; cost 70000; size " 7 "; icon -5; lbm 65536.
    std::string row = "1,ABCDEFGHIJKLMNOP,300,-1,70000, 7\t,";
    for (int i = 0; i < 52; ++i)
        row += "0,";
    row += "-5,65536,0,0,0,0,0,0,0,";
    lines[2] = row;
    auto buffers = Fresh();
    const ImportResult result = ImportBufferText(*buffers, PasteKind::Unit, Join(lines, 3), "f");
    ASSERT_TRUE(result.ok()) << result.message;
    const TOobUnit& u = buffers->unitBuffer[1].record;
    EXPECT_EQ(u.name, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(u.nation, 44);
    EXPECT_EQ(u.unitClass, 255);
    EXPECT_EQ(u.cost, 65535);
    EXPECT_EQ(u.size, 7);
    EXPECT_EQ(u.icon, 0);
    EXPECT_EQ(u.lbm, 65535);

    // A NUL byte ends the name.
    lines[2].replace(4, 1, std::string(1, '\0'));
    ASSERT_TRUE(ImportBufferText(*buffers, PasteKind::Unit, Join(lines, 3), "f").ok());
    EXPECT_EQ(buffers->unitBuffer[1].record.name, "AB");
}

TEST(PasteFiles, ABadFieldChangesNothingAndNamesLineAndColumn)
{
    std::vector<std::string> lines = UnitFileLines(8);
    std::string& row5 = lines[2 + 4];
    // Column 12 is "Survivability".
    std::size_t pos = 0;
    for (int i = 0; i < 11; ++i)
        pos = row5.find(',', pos) + 1;
    row5.replace(pos, row5.find(',', pos) - pos, "abc");

    auto buffers = Fresh();
    buffers->unitBuffer[1] = { TOobUnit { .name = "Before" }, 3, true };
    const auto before = std::make_unique<PasteBuffers>(*buffers);
    const ImportResult result = ImportBufferText(*buffers, PasteKind::Unit, Join(lines, lines.size()), "f");
    EXPECT_EQ(result.kind, ImportResult::Kind::BadField);
    EXPECT_EQ(result.message, "Line 7, column 12: 'abc' is not a valid integer value");
    EXPECT_EQ(result.line, 7);
    EXPECT_EQ(result.column, 12);
    EXPECT_EQ(buffers->unitBuffer, before->unitBuffer);
}

TEST(PasteFiles, EndOfTextStopsCleanlyBetweenRowsButNotInsideOne)
{
    const std::vector<std::string> lines = UnitFileLines(20);
    const struct {
        std::string text;
        bool ok;
        int read;
        int line;
    } cases[] = {
        { Join(lines, 12), true, 10, 0 }, { Join(lines, 12) + "\r\n \r\n", true, 10, 0 },
        { Join(lines, 11) + lines[11], true, 10, 0 }, // no line break after the last row
        { Join(lines, 12) + lines[12].substr(0, 20), false, 0, 13 }, // row 11 cut off
        { Join(lines, 12) + "11", false, 0, 13 }, // only the entry number
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(c.text.size() - 30));
        auto buffers = Fresh();
        buffers->unitBuffer[11] = { TOobUnit { .name = "Eleven" }, 4, true };
        const auto before = std::make_unique<PasteBuffers>(*buffers);
        const ImportResult result = ImportBufferText(*buffers, PasteKind::Unit, c.text, "f");
        EXPECT_EQ(result.ok(), c.ok) << result.message;
        if (c.ok) {
            EXPECT_EQ(result.entriesRead, c.read);
            EXPECT_EQ(buffers->unitBuffer[10].record.name, "U10");
            EXPECT_EQ(buffers->unitBuffer[11], before->unitBuffer[11]);
        } else {
            EXPECT_EQ(result.kind, ImportResult::Kind::BadField);
            EXPECT_EQ(result.line, c.line);
            EXPECT_EQ(result.message.rfind("Line 13, column ", 0), 0u) << result.message;
            EXPECT_EQ(buffers->unitBuffer, before->unitBuffer);
        }
    }
}

TEST(PasteFiles, ExportAndImportThroughFiles)
{
    const std::filesystem::path dir
        = std::filesystem::temp_directory_path() / ("tarnwick-paste-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto buffers = Fresh();
    buffers->weaponBuffer[5] = { TOobWeapon { .name = "Panzerfaust", .hePen = 7 }, 5, true };

    const std::filesystem::path file = dir / "TarnPASTE05wpns.csv";
    ASSERT_TRUE(ExportBuffer(*buffers, PasteKind::Weapon, file, "/d", 5, Names()).ok());
    auto target = Fresh();
    const ImportResult read = ImportBuffer(*target, PasteKind::Weapon, file);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(target->weaponBuffer[5].record, buffers->weaponBuffer[5].record);

    const ImportResult missing = ImportBuffer(*target, PasteKind::Weapon, dir / "none.csv");
    EXPECT_EQ(missing.kind, ImportResult::Kind::CannotOpen);
    EXPECT_EQ(missing.message, "Unable to open csv output file " + (dir / "none.csv").string());

    const IoResult failed
        = ExportBuffer(*buffers, PasteKind::Weapon, dir / "no" / "such" / "x.csv", "/d", 5, Names());
    EXPECT_FALSE(failed.ok());
    std::filesystem::remove_all(dir);
}

namespace {

// Rewrites exported lines: drops the comma that ends each line (all, or only the
// title's) and joins them with the given line end.
std::string Relayout(std::vector<std::string> lines, const std::string& lineEnd, bool dropAllCommas,
    bool dropTitleComma, char separator = ',')
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        if ((dropAllCommas || (dropTitleComma && i == 0)) && !line.empty() && line.back() == ',')
            line.pop_back();
        std::replace(line.begin(), line.end(), ',', separator);
        text += line + lineEnd;
    }
    return text;
}

// ASCII text as UTF-16 with its byte order mark.
std::string Utf16(const std::string& text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text)
        out += bigEndian ? std::string { '\0', c } : std::string { c, '\0' };
    return out;
}

} // namespace

// However the lines end and whether rows end in a separator, a file either gives the
// same records as the exported one or is refused, saying what was expected, with
// every buffer as it was.
TEST(PasteFiles, LineEndsAndSeparators)
{
    const std::vector<std::string> lines = UnitFileLines(6);
    const struct {
        const char* what;
        std::string text;
        std::string refusal; // empty: the six records are read
    } cases[] = {
        { "as exported", Relayout(lines, "\r\n", false, false), "" },
        { "title without its comma", Relayout(lines, "\r\n", false, true), "" },
        { "spreadsheet, CR LF", Relayout(lines, "\r\n", true, true), "" },
        { "spreadsheet, LF", Relayout(lines, "\n", true, true), "" },
        { "spreadsheet, no line end at the end",
            Relayout(lines, "\n", true, true).substr(0, Relayout(lines, "\n", true, true).size() - 1), "" },
        { "CR only", Relayout(lines, "\r", false, false),
            "u.csv: the lines end in CR only; expected lines ending in CR LF or LF" },
        { "CR only, no commas at line ends", Relayout(lines, "\r", true, true),
            "u.csv: the lines end in CR only; expected lines ending in CR LF or LF" },
        { "semicolons", Relayout(lines, "\r\n", false, false, ';'), "" },
        { "tabs, no separator at line ends", Relayout(lines, "\r\n", true, true, '\t'), "" },
        { "UTF-16 LE with tabs", Utf16(Relayout(lines, "\r\n", true, true, '\t'), false), "" },
        { "UTF-16 BE", Utf16(Relayout(lines, "\r\n", false, false), true), "" },
        { "UTF-16 cut in the middle of a character",
            Utf16(Relayout(lines, "\r\n", false, false), false).substr(0, 501),
            "u.csv: line 2: the file starts with a UTF-16 byte order mark but is not UTF-16 here" },
        { "a header without separators",
            Relayout({ lines[0], "Slot No Name", lines[2] }, "\r\n", false, false),
            "u.csv: line 2: the line holds no comma; expected a comma after each field" },
        { "semicolon rows under a comma header",
            Relayout({ lines[0], lines[1], "1;U1;5" }, "\r\n", false, false),
            "Line 3, column 1: the fields are separated by semicolons; expected a comma after each field" },
        { "a row one column short",
            Relayout({ lines[0], lines[1], lines[2].substr(0, lines[2].rfind(',', lines[2].size() - 2)) },
                "\r\n", false, false),
            "Line 3, column 66: the row ends here; expected 67 columns" },
        { "a quoted name without its closing quote",
            Relayout({ lines[0], lines[1], "1,\"U1,5," }, "\r\n", false, false),
            "Line 3, column 2: the quoted field has no closing quote" },
        { "text after a closing quote", Relayout({ lines[0], lines[1], "1,\"U\"1,5," }, "\r\n", false, false),
            "Line 3, column 2: text follows the closing quote; a quote inside a quoted field is written "
            "twice "
            "(\"\")" },
        { "a UTF-8 byte order mark before Windows-1252 text",
            "\xEF\xBB\xBF" + Relayout({ lines[0], lines[1], "1,J\xE4ger,5," }, "\r\n", false, false),
            "u.csv: line 3: the file starts with a UTF-8 byte order mark but is not UTF-8 here" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto buffers = Fresh();
        buffers->unitBuffer[1] = { TOobUnit { .name = "Before" }, 3, true };
        const auto before = std::make_unique<PasteBuffers>(*buffers);
        const ImportResult result = ImportBufferText(*buffers, PasteKind::Unit, c.text, "u.csv");
        if (c.refusal.empty()) {
            ASSERT_TRUE(result.ok()) << result.message;
            EXPECT_EQ(result.entriesRead, 6);
            for (int k = 1; k <= 6; ++k) {
                EXPECT_EQ(buffers->unitBuffer[k].record.name, "U" + std::to_string(k));
                EXPECT_EQ(buffers->unitBuffer[k].record.cost, k);
            }
            EXPECT_FALSE(buffers->unitBuffer[7].used);
        } else {
            EXPECT_FALSE(result.ok());
            EXPECT_EQ(result.message, c.refusal);
            EXPECT_EQ(buffers->unitBuffer, before->unitBuffer);
        }
    }
}

TEST(PasteFiles, OversizedFileIsRefusedUnread)
{
    const std::filesystem::path dir
        = std::filesystem::temp_directory_path() / ("tarnwick-paste-large-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "big.csv";
    {
        std::ofstream(file) << "UNIT PASTE BUFFER FROM /d/Tarn05 - Germany,\r\n";
    }
    std::filesystem::resize_file(file, kMaxImportBytes + 1);
    auto buffers = Fresh();
    const ImportResult result = ImportBuffer(*buffers, PasteKind::Unit, file);
    EXPECT_EQ(result.kind, ImportResult::Kind::TooLarge);
    EXPECT_EQ(result.message,
        "Cannot read " + file.string()
            + ": the file holds 16777217 bytes, too many for a paste-buffer file (at most 16777216)");
    std::filesystem::remove_all(dir);
}

#pragma once

// The check of a whole file: every reference between records, the commit checks
// of the Units and Formations pages over every record, dates, and (given the
// game folder) the pictures and icons the units name. Empty records (blank
// names) are not checked.

#include "core/data/pastebuffer.h"
#include "core/data/records.h"
#include "core/data/savetidy.h"
#include "core/graphics/artfiles.h"
#include "core/graphics/icontables.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::core {

enum class Severity { Error, Warning };

struct CheckFinding {
    Severity severity = Severity::Error;
    std::string rule; // "weapon-empty", "formation-cycle", ...
    PasteKind table = PasteKind::Unit;
    int slot = 0;
    std::string name; // the record's name (bytes)
    std::string message;

    bool operator==(const CheckFinding&) const = default;
};

// "error", "warning".
const char* SeverityName(Severity severity);

// The pictures in pic/ and the icons in shp/ of a game folder, each file looked
// up and read once however many units name it. A folder that is not there is
// not checked.
class ArtCheck {
public:
    // frames: which icon frames show each icon number in this folder.
    ArtCheck(std::filesystem::path gameDir, IconFrameTable frames);

    // Appends the picture and icon findings of a unit.
    void checkUnit(const TOobUnit& unit, int slot, std::vector<CheckFinding>& out);

private:
    struct Outcome {
        bool missing = false; // no such file (or, for an icon, no such frame)
        std::string problem; // what the reader refuses; empty when fine
        std::string fileName; // as found, or as looked for
    };
    struct IconFile {
        bool missing = true;
        std::string fileName;
        std::string readError;
        std::vector<std::uint8_t> bytes;
    };
    const Outcome& picture(int number);
    const Outcome& iconEntry(int entry);
    const IconFile& iconFile(int number);

    // Listed at the first look-up, once for the whole check.
    std::filesystem::path picFolder_;
    std::filesystem::path shpFolder_;
    std::unique_ptr<ArtFolderIndex> pics_;
    std::unique_ptr<ArtFolderIndex> icons_;
    IconFrameTable frames_;
    std::map<int, Outcome> pictures_;
    std::map<int, Outcome> entries_;
    std::map<int, IconFile> iconFiles_;
};

// Every finding, by table (units, then formations), slot and rule. art null:
// no picture or icon checks.
std::vector<CheckFinding> CheckFile(const TOobData& data, ArtCheck* art = nullptr);

struct CheckCounts {
    int errors = 0;
    int warnings = 0;
};
CheckCounts CountFindings(const std::vector<CheckFinding>& findings);

// "Check: 3 errors, 2 warnings".
std::string CheckStatusText(CheckCounts counts);
// The check window's summary: "No problems found", or "3 errors, 2 warnings".
std::string CheckWindowText(CheckCounts counts);
// "3 errors, 2 warnings in 4 files".
std::string CheckSummaryText(CheckCounts counts, int files);

// What the last save brought into range, as the check window lists it: one
// warning (rule "saved") per value.
std::vector<CheckFinding> SaveTidyFindings(const std::vector<TidyChange>& changes);

// A CSV field: as it is, or in double quotes (a quote doubled) when it holds a
// comma, a quote or a line break.
std::string CsvField(const std::string& text);

} // namespace tarnwick::core

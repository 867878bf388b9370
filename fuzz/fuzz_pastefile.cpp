// Feeds arbitrary text to the paste-buffer reader; the first byte picks the kind.
// Checks: a failed import leaves every buffer as it was and says why, a name is never
// longer than 15 bytes nor holds a NUL, whatever was read exports again, and the
// same text with LF line ends and without the comma that ends each line reads as
// the same records.

#include "core/data/pastefiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

using namespace tarnwick::core;

namespace {

template <class Record> void CheckNames(const PasteBuffer<Record>& buffer)
{
    for (const auto& entry : buffer) {
        if (entry.record.name.size() > kNameLength || entry.record.name.find('\0') != std::string::npos)
            std::abort();
    }
}

// Reading an export back must give the same records; entries read get sourceNation 99.
// Only holds when no name could be taken for a separator or the free mark.
template <class Record> bool NamesSafe(const PasteBuffer<Record>& buffer)
{
    for (const auto& entry : buffer) {
        const auto& name = entry.record.name;
        if (entry.used && (name.find(',') != std::string::npos || name == "XUNUSEDX"))
            return false;
    }
    return true;
}

template <class Record>
void CheckReread(const PasteBuffer<Record>& written, const PasteBuffer<Record>& reread, int rows)
{
    if (!NamesSafe(written))
        return;
    for (int k = 1; k < static_cast<int>(written.size()); ++k) {
        const bool read = k <= rows && written[k].used;
        if (reread[k].record != written[k].record || reread[k].used != written[k].used
            || reread[k].sourceNation != (read ? 99 : written[k].sourceNation))
            std::abort();
    }
}

bool SameBuffers(const PasteBuffers& a, const PasteBuffers& b)
{
    return a.weaponBuffer == b.weaponBuffer && a.unitBuffer == b.unitBuffer
        && a.formationBuffer == b.formationBuffer;
}

// An export saved again by a spreadsheet: LF line ends, no comma at the end of a line.
std::string AsSpreadsheet(const std::string& exported)
{
    std::string sheet;
    std::size_t start = 0;
    while (start < exported.size()) {
        std::size_t end = exported.find("\r\n", start);
        if (end == std::string::npos)
            end = exported.size();
        std::string line = exported.substr(start, end - start);
        if (!line.empty() && line.back() == ',')
            line.pop_back();
        sheet += line + "\n";
        start = end + 2;
    }
    return sheet;
}

bool LineBreakInAName(const PasteBuffers& b)
{
    auto has = [](const auto& buffer) {
        for (const auto& entry : buffer)
            if (entry.used && entry.record.name.find_first_of("\r\n,") != std::string::npos)
                return true;
        return false;
    };
    return has(b.weaponBuffer) || has(b.unitBuffer) || has(b.formationBuffer);
}

void CheckSpreadsheetForm(const PasteBuffers& read, PasteKind kind, const std::string& exported)
{
    if (LineBreakInAName(read))
        return;
    auto fromExport = std::make_unique<PasteBuffers>();
    InitPasteBuffers(*fromExport);
    auto fromSheet = std::make_unique<PasteBuffers>(*fromExport);
    const ImportResult a = ImportBufferText(*fromExport, kind, exported, "a.csv");
    const ImportResult b = ImportBufferText(*fromSheet, kind, AsSpreadsheet(exported), "b.csv");
    if (a.ok() != b.ok() || (a.ok() && !SameBuffers(*fromExport, *fromSheet)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const PasteKind kinds[] = { PasteKind::Weapon, PasteKind::Unit, PasteKind::Formation };
    const PasteKind kind = kinds[data[0] % 3];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    static const NameTables names;
    auto buffers = std::make_unique<PasteBuffers>();
    InitPasteBuffers(*buffers);
    // Something in the buffers so that a partial change would show.
    buffers->unitBuffer[2] = { TOobUnit { .name = "Before", .cost = 9 }, 3, true };
    buffers->weaponBuffer[2] = { TOobWeapon { .name = "Before", .range = 9 }, 3, true };
    buffers->formationBuffer[2] = { TOobFormation { .name = "Before", .expMod = -1 }, 3, true };
    const auto before = std::make_unique<PasteBuffers>(*buffers);

    const ImportResult result = ImportBufferText(*buffers, kind, text, "fuzz.csv");
    if (!result.ok()) {
        if (!SameBuffers(*buffers, *before) || result.message.empty())
            std::abort();
        return 0;
    }
    CheckNames(buffers->weaponBuffer);
    CheckNames(buffers->unitBuffer);
    CheckNames(buffers->formationBuffer);

    const std::string exported = ExportBufferText(*buffers, kind, "/d", 5, names);
    CheckSpreadsheetForm(*buffers, kind, exported);
    auto again = std::make_unique<PasteBuffers>(*buffers);
    const bool reread = ImportBufferText(*again, kind, exported, "again.csv").ok();
    switch (kind) {
    case PasteKind::Weapon:
        if (!reread && NamesSafe(buffers->weaponBuffer))
            std::abort();
        CheckReread(buffers->weaponBuffer, again->weaponBuffer, kPasteEntries);
        break;
    case PasteKind::Unit:
        if (!reread && NamesSafe(buffers->unitBuffer))
            std::abort();
        CheckReread(buffers->unitBuffer, again->unitBuffer, kPasteEntries);
        break;
    case PasteKind::Formation:
        if (!reread && NamesSafe(buffers->formationBuffer))
            std::abort();
        CheckReread(buffers->formationBuffer, again->formationBuffer, kFormationSlots);
        break;
    }
    return 0;
}

// Feeds arbitrary text to the paste-buffer reader; the first byte picks the kind.
// Checks: a failed import leaves every buffer as it was, a name is never longer than
// 15 bytes nor holds a NUL, and whatever was read exports again.

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

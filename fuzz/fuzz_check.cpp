// Checks arbitrary bytes loaded as an order-of-battle file: whatever numbers the
// records hold, the check and where-used never index outside the tables and
// name only slots that exist.

#include "core/data/tarnio.h"
#include "core/rules/filecheck.h"
#include "core/rules/whereused.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace tarnwick::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size)
{
    auto data = std::make_unique<TOobData>();
    LoadOobBytes(*data, 1, std::vector<std::uint8_t>(input, input + size));
    for (const CheckFinding& f : CheckFile(*data)) {
        const int slots = f.table == PasteKind::Unit ? kUnitSlots : kFormationSlots;
        if (f.slot < 1 || f.slot > slots || f.table == PasteKind::Weapon || f.message.empty())
            std::abort();
    }
    const int item = size > 1 ? input[1] : 1;
    for (PasteKind kind : { PasteKind::Weapon, PasteKind::Unit, PasteKind::Formation })
        for (const RecordUse& use : WhereUsed(*data, kind, item))
            if (use.slot < 1 || use.field < 1 || use.field > 10)
                std::abort();
    return 0;
}

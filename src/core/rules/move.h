#pragma once

// Moving an item to another slot leaves the records that name it pointing at the
// old slot; the status line says how many there are.

#include "core/data/pastebuffer.h"
#include "core/data/records.h"

#include <string>
#include <string_view>

namespace tarnwick::core {

// Units whose weapons name weapon slot, formations whose members name unit slot,
// or formations whose members name formation slot (as 1000 + slot): the records
// WhereUsed finds.
int RecordsNaming(const TOobData& data, PasteKind kind, int slot);

// The transfer record of a kind holds an empty item (its trimmed name is empty):
// moving it would only blank the target slot.
bool TransferIsEmpty(const PasteBuffers& buffers, PasteKind kind);
// "Nothing to move: unit 13 is empty"
std::string NothingToMoveText(PasteKind kind, int slot);

// "Moved weapon 12 to 30; 3 units still use weapon 12" ("Moved weapon 12 to 30"
// when nothing names the old slot). The name of a record the move wrote over
// (UTF-8) follows the slots: "Moved unit 12 to 30, replacing Garron Mk2".
std::string MovedStatus(
    PasteKind kind, int from, int to, int stillNaming, std::string_view replacedName = {});

} // namespace tarnwick::core

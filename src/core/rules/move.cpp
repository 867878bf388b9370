#include "core/rules/move.h"

#include "core/rules/whereused.h"

namespace tarnwick::core {

int RecordsNaming(const TOobData& data, PasteKind kind, int slot)
{
    return RecordsIn(WhereUsed(data, kind, slot));
}

namespace {

const char* KindWord(PasteKind kind)
{
    return kind == PasteKind::Weapon ? "weapon " : kind == PasteKind::Unit ? "unit " : "formation ";
}

} // namespace

bool TransferIsEmpty(const PasteBuffers& buffers, PasteKind kind)
{
    const std::string& name = kind == PasteKind::Weapon ? buffers.weaponXfer.record.name
        : kind == PasteKind::Unit                       ? buffers.unitXfer.record.name
                                                        : buffers.formationXfer.record.name;
    return TrimName(name).empty();
}

std::string NothingToMoveText(PasteKind kind, int slot)
{
    return "Nothing to move: " + std::string(KindWord(kind)) + std::to_string(slot) + " is empty";
}

std::string MovedStatus(PasteKind kind, int from, int to, int stillNaming, std::string_view replacedName)
{
    const std::string old = KindWord(kind) + std::to_string(from);
    std::string text = "Moved " + old + " to " + std::to_string(to);
    if (!replacedName.empty())
        text += ", replacing " + std::string(replacedName);
    if (stillNaming <= 0)
        return text;
    const bool one = stillNaming == 1;
    const char* users = kind == PasteKind::Weapon
        ? (one ? " unit still uses " : " units still use ")
        : (one ? " formation still uses " : " formations still use ");
    return text + "; " + std::to_string(stillNaming) + users + old;
}

} // namespace tarnwick::core

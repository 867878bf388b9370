// Loads arbitrary bytes as an order-of-battle file, saves, loads the result again
// and checks that the codec is stable. The records are kept from one input to
// the next: a load replaces every slot it decodes, and building two fresh data
// sets per input would cost more than the codec itself. The byte buffers are
// handed round too: under the address sanitizer every freed buffer waits in
// quarantine, and a fresh one per step costs more in new pages than the codec.

#include "core/data/tarnio.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

using namespace tarnwick::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size)
{
    // The nation decides which empty slots the tidy clears; let the input choose it.
    const std::uint16_t nation = size > 0 ? static_cast<std::uint16_t>(input[0] % 100) : 1;
    static TOobData first;
    static TOobData second;

    // The input goes in through the buffer of the image the last input left.
    std::vector<std::uint8_t> bytes = std::move(first.fileImage);
    bytes.assign(input, input + size);
    const LoadResult load = LoadOobBytes(first, nation, std::move(bytes));
    if (!load.ok() || load.bytesInFile != size)
        std::abort();
    if (first.fileImage.size() != kOobFileSize || first.imageLength != static_cast<std::int32_t>(size))
        std::abort();
    std::vector<std::uint8_t> saved = EncodeOobFile(first, nation);
    if (saved.size() != std::max(kOobFileSize, size))
        std::abort();
    // Bytes past the image of a long file go back unchanged.
    if (size > kOobFileSize && !std::equal(saved.begin() + kOobFileSize, saved.end(), input + kOobFileSize))
        std::abort();

    // Names are held trimmed, within 15 bytes and without NUL after a save.
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kUnitSlots); ++s) {
        const std::string& name = first.units[s].name;
        if (name.size() > kNameLength || name.find('\0') != std::string::npos)
            std::abort();
        if (!name.empty()
            && (static_cast<unsigned char>(name.front()) <= ' '
                || static_cast<unsigned char>(name.back()) <= ' '))
            std::abort();
    }

    // The save encoded first's image in place: it holds the saved bytes from here on.
    if (!std::equal(first.fileImage.begin(), first.fileImage.end(), saved.begin())
        || !std::equal(
            first.extraBytes.begin(), first.extraBytes.end(), saved.begin() + kOobFileSize, saved.end()))
        std::abort();
    LoadOobBytes(second, nation, std::move(saved));
    if (second.comment != first.comment)
        std::abort();
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kWeaponSlots); ++s)
        if (second.weapons[s].name != first.weapons[s].name)
            std::abort();
    // The second save, encoded in place, gives the same bytes.
    EncodeOobImage(second, nation);
    if (second.fileImage != first.fileImage || second.extraBytes != first.extraBytes)
        std::abort();
    return 0;
}

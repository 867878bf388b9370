#pragma once

// Moving through the slots of a record page and finding the next slot whose
// name holds a search text. Names are Windows-1252 bytes; case folding changes
// only the letters a to z and A to Z.

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::core {

// The back and forward buttons: left click steps by one, right button by ten.
enum class Step { Back, Forward, BackTen, ForwardTen };

// The slot a step from current leads to in slots 1..last. Forward stops at
// last; back by one stops at 1; back by ten from slots 1 to 10 stays put.
int StepSlot(int current, int last, Step step);

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// The text as the find history keeps it: trimmed and lower case.
std::string FindHistoryEntry(std::string_view typed);
// The text as a name is searched for: trimmed and upper case.
std::string FindKey(std::string_view typed);

// Puts the typed text, as a history entry, first in the history unless an
// entry (trimmed) already equals it. True when it was added.
bool AddToFindHistory(std::vector<std::string>& history, std::string_view typed);

// Whether a stored name (trimmed, upper-cased) holds the key.
bool NameHoldsKey(std::string_view name, std::string_view key);

// The next slot after start whose name holds the key: first start+1..last, then,
// only when that finds nothing and start > 1, 1..start. 0 when none matches.
// nameOf(slot) gives the stored name of a slot.
template <class NameOf> int FindNextSlot(int start, int last, std::string_view key, NameOf&& nameOf)
{
    for (int s = start + 1; s <= last; ++s)
        if (NameHoldsKey(nameOf(s), key))
            return s;
    if (start > 1)
        for (int s = 1; s <= start; ++s)
            if (NameHoldsKey(nameOf(s), key))
                return s;
    return 0;
}

// Which table a search ran over, for its message.
enum class FindTable { Weapons, Units, Formations };

inline constexpr const char* kEnterSearchText = "Please enter a search string!";
// "Could not find a unit name containing " followed by the key.
std::string NotFoundText(FindTable table, std::string_view key);

} // namespace tarnwick::core

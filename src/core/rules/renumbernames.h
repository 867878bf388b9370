#pragma once

// What the renumbering dialog (nations or unit classes) shows beside a typed
// number while it is typed: the name the number stands for, as the button will
// read it, or why there is none.

#include "core/data/globals.h"

#include <string>
#include <string_view>

namespace tarnwick::core {

enum class RenumberKind { Nation, UnitClass };

// The name of the number in text as Renumber or Reclassify reads it (digits and
// minus signs kept, empty read as 0, clamped to the kind's range): the
// settings' name, "No nation has the number 45" when the settings name none
// (or there are no settings),
// "'-' is not a number" when no number is left.
std::string TypedNumberName(RenumberKind kind, std::string_view text, const NameTables& names);

} // namespace tarnwick::core

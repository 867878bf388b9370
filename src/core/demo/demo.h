#pragma once

// A sample game folder for newcomers and tests: made-up data, clearly marked as such.

#include "core/data/fileio.h"

#include <filesystem>
#include <vector>

namespace tarnwick::core {

// Nations the sample folder holds files for.
std::vector<int> DemoNations();

// Writes obatNNN.obf for each demo nation and TWFTK.ini (DefaultDir = dir) into dir,
// creating dir when needed.
IoResult MakeDemoFolder(const std::filesystem::path& dir);

} // namespace tarnwick::core

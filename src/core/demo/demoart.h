#pragma once

// Artwork for the sample folder: a drawn picture for every sample unit in pic/
// and the icon files its units and the crew icons use in shp/. Made-up art, drawn
// from fixed shapes, so the same files come out every time.

#include "core/data/fileio.h"

#include <filesystem>
#include <vector>

namespace tarnwick::core {

// Reads the obatNNN.obf files of nations in dir and writes dir/pic/PmNNNNN.lbm for
// each named unit and dir/shp/IconNNNN.shp for the icon files they use, plus the
// crew icon files 10 to 13.
IoResult WriteDemoArt(const std::filesystem::path& dir, const std::vector<int>& nations);

} // namespace tarnwick::core

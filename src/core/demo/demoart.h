#pragma once

// Artwork for the sample folder: a drawn picture for every sample unit in pic/
// and the icon files its units and the crew icons use in shp/. Made-up art, drawn
// from fixed shapes, so the same files come out every time.

#include "core/data/records.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tarnwick::core {

// A file of the sample folder: where it goes and what it holds.
struct DemoFile {
    std::filesystem::path path;
    std::vector<std::uint8_t> bytes;
};

// picDir/PmNNNNN.lbm for each named unit of the records and shpDir/IconNNNN.shp
// for the icon files they use, plus the crew icon files 10 to 13; each path once.
std::vector<DemoFile> DemoArtFiles(const std::vector<const TOobData*>& records,
    const std::filesystem::path& picDir, const std::filesystem::path& shpDir);

} // namespace tarnwick::core

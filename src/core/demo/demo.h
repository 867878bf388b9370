#pragma once

// A sample game folder for newcomers and tests: made-up data, clearly marked as such.

#include "core/data/fileio.h"
#include "core/demo/demoart.h"

#include <filesystem>
#include <vector>

namespace tarnwick::core {

// Nations the sample folder holds files for.
std::vector<int> DemoNations();

// What the sample folder holds, before anything is written: obatNNN.obf for each
// demo nation, the artwork in pic/ and shp/ (or in a folder of that name in
// another letter case that dir already has), TWFTK.ini (DefaultDir = dir) and
// README.txt, in the order they are written.
struct DemoFolder {
    std::filesystem::path dir; // absolute
    std::vector<DemoFile> files;
};

// Fails only when dir cannot be made absolute.
IoResult PlanDemoFolder(const std::filesystem::path& dir, DemoFolder& plan);

// The files already there that writing the plan would replace, matched in any
// letter case, and anything that is not a folder where the plan needs one.
std::vector<std::filesystem::path> ExistingDemoFiles(const DemoFolder& plan);

// Creates the folders, then writes every file: over an existing file of the same
// name in another letter case, else at the planned path. Stops at the first
// failure. written lists the files written.
IoResult WriteDemoFolder(const DemoFolder& plan, std::vector<std::filesystem::path>& written);

} // namespace tarnwick::core

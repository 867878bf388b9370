// Writes seed inputs that are too large to keep in the repository: the sample
// folder's order-of-battle files for fuzz_check, their JSON forms (and the
// files themselves behind a zero byte, the target's other mode) for fuzz_oobjson.
//
// Usage: seedmaker OUTDIR  (writes OUTDIR/fuzz_check and OUTDIR/fuzz_oobjson)

#include "core/data/oobjson.h"
#include "core/demo/demo.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace tarnwick::core;
namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: seedmaker OUTDIR\n");
        return 2;
    }
    const fs::path out = argv[1];
    DemoFolder plan;
    if (!PlanDemoFolder(out / "demo", plan).ok())
        return 1;
    fs::create_directories(out / "fuzz_check");
    fs::create_directories(out / "fuzz_oobjson");
    for (const DemoFile& file : plan.files) {
        if (file.path.extension() != ".obf")
            continue;
        const std::string bytes(file.bytes.begin(), file.bytes.end());
        const std::string stem = file.path.stem().string();
        Write(out / "fuzz_check" / (stem + ".obf"), bytes);
        Write(out / "fuzz_oobjson" / (stem + ".json"), OobToJson(file.bytes));
        Write(out / "fuzz_oobjson" / (stem + ".built"), std::string(1, '\0') + bytes);
    }
    return 0;
}

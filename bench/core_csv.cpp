// The CSV dump of a full file, in memory and on disk, beside a plain write of the same bytes.

#include "core/data/csvdump.h"

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

using namespace tarnwick::core;
namespace fs = std::filesystem;

namespace {

// Every slot named, every unit armed and every formation full.
TOobData FullData()
{
    TOobData data;
    for (int s = 1; s <= kWeaponSlots; ++s) {
        TOobWeapon& w = data.weapons[static_cast<std::size_t>(s)];
        w.name = "Weapon " + std::to_string(s);
        w.weaponClass = static_cast<std::uint8_t>(s % 22);
        w.hePen = static_cast<std::uint8_t>(s);
        w.range = 200;
    }
    for (int s = 1; s <= kUnitSlots; ++s) {
        TOobUnit& u = data.units[static_cast<std::size_t>(s)];
        u.name = "Unit number " + std::to_string(s);
        u.unitClass = static_cast<std::uint8_t>(s % 256);
        u.cost = static_cast<std::uint16_t>(s * 7);
        u.icon = static_cast<std::uint16_t>(s + 1000);
        u.lbm = static_cast<std::uint16_t>(s + 20000);
        for (std::size_t n = 0; n < 4; ++n) {
            u.weapon[n] = static_cast<std::uint8_t>((s + n) % 250);
            u.heAmmo[n] = static_cast<std::uint8_t>(s);
            u.apAmmo[n] = 120;
        }
        u.steelArmour.fill(static_cast<std::uint8_t>(s));
        u.heatArmour.fill(200);
        u.moveClass = 4;
        u.yearAvail = 40;
        u.monthAvail = 12;
    }
    for (int s = 1; s <= kFormationSlots; ++s) {
        TOobFormation& f = data.formations[static_cast<std::size_t>(s)];
        f.name = "Formation " + std::to_string(s);
        f.formType = static_cast<std::uint8_t>(s % 6);
        f.buyPage = 10;
        f.expMod = -5;
        for (std::size_t k = 0; k < f.slot.size(); ++k)
            f.slot[k] = static_cast<std::uint16_t>(k % 2 == 0 ? 1 + (s + k) % 599 : 1001 + (s + k) % 399);
    }
    return data;
}

NameTables FullNames()
{
    NameTables names;
    for (std::size_t n = 1; n < names.nationNames.size(); ++n)
        names.nationNames[n] = "Nation " + std::to_string(n);
    for (std::size_t c = 0; c < names.unitClassNames.size(); ++c)
        names.unitClassNames[c] = "Class " + std::to_string(c);
    return names;
}

fs::path BenchDir()
{
    const fs::path dir = fs::temp_directory_path() / ("tarnwick-bench-csv-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

void BM_CsvBuildInMemory(benchmark::State& state)
{
    const TOobData data = FullData();
    const NameTables names = FullNames();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string units = BuildUnitCsv(data, 12, names);
        std::string weapons = BuildWeaponCsv(data, 12, names);
        std::string formations = BuildFormationCsv(data, 12, names);
        bytes = units.size() + weapons.size() + formations.size();
        benchmark::DoNotOptimize(units.data());
        benchmark::DoNotOptimize(weapons.data());
        benchmark::DoNotOptimize(formations.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CsvBuildInMemory)->Unit(benchmark::kMicrosecond);

void BM_CsvDumpToDisk(benchmark::State& state)
{
    const TOobData data = FullData();
    const NameTables names = FullNames();
    const fs::path dir = BenchDir();
    for (auto _ : state) {
        const std::array<IoResult, 3> results = DumpCsv(data, 12, names, dir);
        if (!results[0].ok() || !results[1].ok() || !results[2].ok()) {
            state.SkipWithError("the dump failed");
            break;
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_CsvDumpToDisk)->Unit(benchmark::kMicrosecond);

// The floor for the disk case: the same three byte counts, each file created with
// one write and closed, without building, flushing to the device or renaming.
void BM_CsvBaselinePlainWrite(benchmark::State& state)
{
    const TOobData data = FullData();
    const NameTables names = FullNames();
    const std::array<std::string, 3> texts = { BuildUnitCsv(data, 12, names), BuildWeaponCsv(data, 12, names),
        BuildFormationCsv(data, 12, names) };
    const std::array<std::string, 3> fileNames = CsvDumpFileNames(12);
    const fs::path dir = BenchDir();
    for (auto _ : state) {
        for (std::size_t i = 0; i < 3; ++i) {
            const int fd = ::open((dir / fileNames[i]).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const bool written = fd >= 0
                && ::write(fd, texts[i].data(), texts[i].size()) == static_cast<ssize_t>(texts[i].size());
            if (fd >= 0)
                ::close(fd);
            if (!written) {
                state.SkipWithError("plain write failed");
                break;
            }
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_CsvBaselinePlainWrite)->Unit(benchmark::kMicrosecond);

} // namespace

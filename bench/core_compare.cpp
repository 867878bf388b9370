// The compare of two full files and the JSON form, in process, beside the codec's
// own encode of the same file.

#include "core/data/oobcompare.h"
#include "core/data/oobjson.h"
#include "core/data/tarnio.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace tarnwick::core;

namespace {

// Every slot named and filled.
TOobData FilledData()
{
    TOobData data;
    data.comment = "A full file for the benchmarks";
    for (int s = 1; s <= kWeaponSlots; ++s) {
        TOobWeapon& w = data.weapons[static_cast<std::size_t>(s)];
        w.name = "Weapon " + std::to_string(s);
        w.weaponClass = static_cast<std::uint8_t>(s % 22);
        w.range = static_cast<std::uint8_t>(s);
    }
    for (int s = 1; s <= kUnitSlots; ++s) {
        TOobUnit& u = data.units[static_cast<std::size_t>(s)];
        u.name = "Unit number " + std::to_string(s);
        u.unitClass = static_cast<std::uint8_t>(s % 256);
        u.cost = static_cast<std::uint16_t>(s * 7);
        u.nation = 12;
        for (std::size_t n = 0; n < 4; ++n)
            u.weapon[n] = static_cast<std::uint8_t>((s + n) % 250);
        u.steelArmour.fill(static_cast<std::uint8_t>(s));
    }
    for (int s = 1; s <= kFormationSlots; ++s) {
        TOobFormation& f = data.formations[static_cast<std::size_t>(s)];
        f.name = "Formation " + std::to_string(s);
        for (std::size_t k = 0; k < f.slot.size(); ++k)
            f.slot[k] = static_cast<std::uint16_t>(1 + (s + k) % 599);
    }
    return data;
}

std::vector<std::uint8_t> FilledFile()
{
    TOobData data = FilledData();
    return EncodeOobFile(data, 12);
}

// A mod of the filled file: every tenth unit costs more, every fifth weapon renamed.
std::vector<std::uint8_t> ModdedFile()
{
    TOobData data = FilledData();
    for (int s = 1; s <= kUnitSlots; s += 10)
        data.units[static_cast<std::size_t>(s)].cost += 10;
    for (int s = 1; s <= kWeaponSlots; s += 5)
        data.weapons[static_cast<std::size_t>(s)].name += " B";
    return EncodeOobFile(data, 12);
}

std::vector<std::uint8_t> RandomFile(std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(kOobFileSize);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

void BM_CodecEncodeBaseline(benchmark::State& state)
{
    TOobData data = FilledData();
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = EncodeOobFile(data, 12);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_CodecEncodeBaseline)->Unit(benchmark::kMicrosecond);

void BM_CompareModdedFile(benchmark::State& state)
{
    const auto a = FilledFile();
    const auto b = ModdedFile();
    const NameTables names;
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto differences = CompareOobFiles(a, b, names);
        rows = differences.size();
        benchmark::DoNotOptimize(differences.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_CompareModdedFile)->Unit(benchmark::kMicrosecond);

// The worst case: two random files differ in nearly every field and byte.
void BM_CompareRandomFiles(benchmark::State& state)
{
    const auto a = RandomFile(1);
    const auto b = RandomFile(2);
    const NameTables names;
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto differences = CompareOobFiles(a, b, names);
        rows = differences.size();
        benchmark::DoNotOptimize(differences.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_CompareRandomFiles)->Unit(benchmark::kMicrosecond);

// What the compare window does on each change: encode the records, then compare.
void BM_CompareLoadedRecords(benchmark::State& state)
{
    const TOobData data = FilledData();
    const auto b = ModdedFile();
    const NameTables names;
    for (auto _ : state) {
        const auto differences = CompareOobFiles(OobFileBytes(data, 12), b, names);
        benchmark::DoNotOptimize(differences.data());
    }
}
BENCHMARK(BM_CompareLoadedRecords)->Unit(benchmark::kMicrosecond);

void BM_ToJson(benchmark::State& state)
{
    const auto file = FilledFile();
    for (auto _ : state) {
        std::string json = OobToJson(file);
        benchmark::DoNotOptimize(json.data());
    }
}
BENCHMARK(BM_ToJson)->Unit(benchmark::kMicrosecond);

void BM_FromJson(benchmark::State& state)
{
    const std::string json = OobToJson(FilledFile());
    for (auto _ : state) {
        OobJsonResult result = OobFromJson(json);
        if (!result.ok) {
            state.SkipWithError(result.error.message().c_str());
            break;
        }
        benchmark::DoNotOptimize(result.bytes.data());
    }
}
BENCHMARK(BM_FromJson)->Unit(benchmark::kMicrosecond);

} // namespace

// Open and save of a full order-of-battle file against plain file copies of the
// same bytes, and decode/encode against a memcpy of the image.

#include "core/data/fileio.h"
#include "core/data/tarnio.h"

#include "../tests/core/oobfixture.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <fstream>

using namespace tarnwick::core;
using namespace tarnwick::testing;
namespace fs = std::filesystem;

namespace {

constexpr std::uint16_t kNation = 12;

// A realistic file on disk, an output folder, and a loaded data set.
struct Workspace {
    TempDir dir;
    fs::path source;
    fs::path plainCopy;
    fs::path outDir;
    TOobData data;

    Workspace()
    {
        TOobData sample = SampleData(kNation);
        const Image bytes = EncodeOobFile(sample, kNation);
        source = dir / OobFileName(kNation);
        WriteBytes(source, bytes);
        outDir = dir / "out";
        fs::create_directory(outDir);
        plainCopy = outDir / "plain.obf";
        LoadOobFile(data, kNation, dir.path());
    }
};

Workspace& Space()
{
    static Workspace space;
    return space;
}

// Reads the whole file into a buffer and writes it to another file, nothing more.
void PlainReadWrite(const Workspace& w)
{
    std::vector<std::uint8_t> buffer;
    ReadWholeFile(w.source, buffer);
    std::ofstream out(w.plainCopy, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
}

// The same bytes through the program's own atomic writer (temporary file, flush, rename).
void ReadAtomicWrite(const Workspace& w)
{
    std::vector<std::uint8_t> buffer;
    ReadWholeFile(w.source, buffer);
    WriteFileAtomic(w.plainCopy, buffer.data(), buffer.size());
}

void RoundTrip(Workspace& w)
{
    LoadOobFile(w.data, kNation, w.dir.path());
    SaveOobFile(w.data, kNation, w.outDir);
}

void BM_PlainReadWrite(benchmark::State& state)
{
    Workspace& w = Space();
    for (auto _ : state)
        PlainReadWrite(w);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kOobFileSize));
}
BENCHMARK(BM_PlainReadWrite);

void BM_ReadAtomicWrite(benchmark::State& state)
{
    Workspace& w = Space();
    for (auto _ : state)
        ReadAtomicWrite(w);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kOobFileSize));
}
BENCHMARK(BM_ReadAtomicWrite);

void BM_RoundTrip(benchmark::State& state)
{
    Workspace& w = Space();
    for (auto _ : state)
        RoundTrip(w);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kOobFileSize));
}
BENCHMARK(BM_RoundTrip);

// Both side by side in one run: "vs_plain" is round trip / plain copy, "vs_atomic"
// is round trip / the same bytes through the atomic writer (the codec's own share).
void BM_RoundTripRatio(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    Workspace& w = Space();
    constexpr int kRuns = 20;
    double plain = 0, atomic = 0, trip = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        for (int i = 0; i < kRuns; ++i)
            PlainReadWrite(w);
        auto t1 = Clock::now();
        for (int i = 0; i < kRuns; ++i)
            ReadAtomicWrite(w);
        auto t2 = Clock::now();
        for (int i = 0; i < kRuns; ++i)
            RoundTrip(w);
        auto t3 = Clock::now();
        plain += std::chrono::duration<double>(t1 - t0).count();
        atomic += std::chrono::duration<double>(t2 - t1).count();
        trip += std::chrono::duration<double>(t3 - t2).count();
    }
    state.counters["vs_plain"] = trip / plain;
    state.counters["vs_atomic"] = trip / atomic;
}
BENCHMARK(BM_RoundTripRatio)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_MemcpyImage(benchmark::State& state)
{
    Workspace& w = Space();
    std::vector<std::uint8_t> copy(kOobFileSize);
    for (auto _ : state) {
        std::memcpy(copy.data(), w.data.fileImage.data(), kOobFileSize);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kOobFileSize));
}
BENCHMARK(BM_MemcpyImage);

void BM_DecodeImage(benchmark::State& state)
{
    Workspace& w = Space();
    for (auto _ : state) {
        DecodeOobImage(w.data, kNation);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kOobFileSize));
}
BENCHMARK(BM_DecodeImage);

void BM_EncodeImage(benchmark::State& state)
{
    Workspace& w = Space();
    for (auto _ : state) {
        EncodeOobImage(w.data, kNation);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kOobFileSize));
}
BENCHMARK(BM_EncodeImage);

// Decode and encode beside a copy of the same bytes in one run: "decode" and
// "encode" are each one's time over the copy's.
void BM_CodecRatio(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    Workspace& w = Space();
    std::vector<std::uint8_t> copy(kOobFileSize);
    constexpr int kRuns = 200;
    double plain = 0, decode = 0, encode = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        for (int i = 0; i < kRuns; ++i) {
            std::memcpy(copy.data(), w.data.fileImage.data(), kOobFileSize);
            benchmark::DoNotOptimize(copy.data());
            benchmark::ClobberMemory();
        }
        auto t1 = Clock::now();
        for (int i = 0; i < kRuns; ++i) {
            DecodeOobImage(w.data, kNation);
            benchmark::ClobberMemory();
        }
        auto t2 = Clock::now();
        for (int i = 0; i < kRuns; ++i) {
            EncodeOobImage(w.data, kNation);
            benchmark::ClobberMemory();
        }
        auto t3 = Clock::now();
        plain += std::chrono::duration<double>(t1 - t0).count();
        decode += std::chrono::duration<double>(t2 - t1).count();
        encode += std::chrono::duration<double>(t3 - t2).count();
    }
    state.counters["decode"] = decode / plain;
    state.counters["encode"] = encode / plain;
}
BENCHMARK(BM_CodecRatio)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

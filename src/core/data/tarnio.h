#pragma once

// The order-of-battle file codec: file names, load, save, and the empty-slot tidy.

#include "core/data/fileio.h"
#include "core/data/records.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::core {

// A real file has kOobFileSize bytes plus perhaps a few trailing ones; a larger
// file is refused before it is read.
inline constexpr std::uintmax_t kMaxOobFileBytes = 1024 * 1024;

// obat007.obf, obat012.obf, obat123.obf for nations 1..999.
std::string OobFileName(int nation);

// The file of nation in dir, found as the exact name or a unique case-insensitive
// match; empty when there is none.
std::filesystem::path FindOobFile(const std::filesystem::path& dir, int nation);
bool OobFileExists(const std::filesystem::path& dir, int nation);

// Decodes image (kOobFileSize bytes) into the tables and comment of data, then tidies.
void DecodeOobImage(TOobData& data, std::uint16_t currentNation);
// Tidies, trims every name, and encodes the records into data.fileImage.
void EncodeOobImage(TOobData& data, std::uint16_t currentNation);

// The dates a save writes: a year 0 becomes 1 and stops at kMaxYear; a month
// 0 becomes zeroBecomes (1 for a first month, 12 for a last) and stops at kMaxMonth.
inline constexpr std::uint8_t kMaxYear = 120;
inline constexpr std::uint8_t kMaxMonth = 12;
std::uint8_t ClampYear(std::uint8_t year);
std::uint8_t ClampMonth(std::uint8_t month, std::uint8_t zeroBecomes);

void TidyUnitSlots(TOobData& data, std::uint16_t currentNation);
void TidyFormationSlots(TOobData& data, std::uint16_t currentNation);

struct LoadResult {
    IoResult io;
    enum class Size { Exact, Short, Long } size = Size::Exact;
    std::size_t bytesInFile = 0;
    bool ok() const { return io.ok(); }
};

// Loads bytes already read from a file: on success data is replaced; never fails.
LoadResult LoadOobBytes(TOobData& data, std::uint16_t nation, std::vector<std::uint8_t> bytes);

// Loads the file of nation from dir. A failure (also a file larger than
// kMaxOobFileBytes, reported as TooLarge) leaves data exactly as it was.
LoadResult LoadOobFile(TOobData& data, std::uint16_t nation, const std::filesystem::path& dir);
// Loads a file given by its path, as the file of nation.
LoadResult LoadOobPath(TOobData& data, std::uint16_t nation, const std::filesystem::path& path);

// Encodes and returns what a save writes: the image followed by any extra bytes of a long file.
std::vector<std::uint8_t> EncodeOobFile(TOobData& data, std::uint16_t nation);

// Saves to dir / OobFileName(nation); an existing file found by its other-cased
// name keeps its real name. Atomic: a failure leaves the old file intact.
IoResult SaveOobFile(TOobData& data, std::uint16_t nation, const std::filesystem::path& dir,
    const WriterFactory& factory = {});
// Saves to dir / fileName, the name exactly as given (a plain name, no folder).
IoResult SaveOobFileAs(TOobData& data, std::uint16_t nation, const std::string& fileName,
    const std::filesystem::path& dir, const WriterFactory& factory = {});

} // namespace tarnwick::core

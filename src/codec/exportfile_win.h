#pragma once

// An exported picture written the Windows way: a temporary file beside its
// name, renamed over it (not flushed one by one, as on every platform).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::codec {

// Empty on success, else "Cannot write PATH: reason".
std::string WriteExportFileWindows(
    const std::filesystem::path& target, const std::vector<std::uint8_t>& bytes);

} // namespace tarnwick::codec

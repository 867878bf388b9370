#pragma once

// Files far larger than any real one, made by setting the size alone (sparse:
// they take no space). Not every filesystem holds one: ext4 with 1 KiB blocks
// stops at 16 GiB, and a size limit on the process stops any. Such a refusal is
// the filesystem's, not the program's, so the case that needs the file is left
// out, saying so; a refusal of a size any filesystem holds is an error.

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace tarnwick::testsupport {

inline bool MakeSparseFile(const std::filesystem::path& file, std::uintmax_t size)
{
    std::error_code ec;
    std::filesystem::resize_file(file, size, ec);
    if (!ec)
        return true;
    if (size <= (std::uintmax_t { 2 } << 30))
        throw std::filesystem::filesystem_error("cannot resize file", file, ec);
    std::cout << "[   NOTE   ] this filesystem holds no file of " << size << " bytes (" << ec.message()
              << "); the case that needs one is left out\n";
    return false;
}

} // namespace tarnwick::testsupport

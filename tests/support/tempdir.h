#pragma once

// A fresh folder under the system's temporary folder, removed with everything in it
// (made writable first, so that tests which take permissions away clean up too).

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

namespace tarnwick::testsupport {

class TempDir {
public:
    TempDir()
    {
        // create_directory fails on a name that exists: a made folder is ours alone.
        static thread_local std::mt19937_64 random(std::random_device {}());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate
                = base / ("tarnwick-test-" + std::to_string(random() % 1000000000));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                std::filesystem::permissions(candidate, std::filesystem::perms::owner_all, ec);
                path_ = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot make a temporary folder");
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(
            path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

} // namespace tarnwick::testsupport

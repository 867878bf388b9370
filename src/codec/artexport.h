#pragma once

// A whole game folder's artwork out as PNG or BMP files: every picture of pic/
// as OUT/pic/PmNNNNN.png and every frame of every icon file of shp/ as
// OUT/shp/IconNNNN_FF.png (FF the frame, directory entry FF + 1), spread over
// worker threads.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tarnwick::codec {

enum class ArtFormat { Png, Bmp };

struct ArtExportOptions {
    ArtFormat format = ArtFormat::Png;
    int jobs = 0; // worker threads; 0: one per processor
    std::uint8_t transparent = 240; // icon colour written as see-through (PNG only)
};

struct ArtExportCounts {
    int picturesDone = 0, pictures = 0;
    int iconFilesDone = 0, iconFiles = 0;
};

struct ArtExportProblem {
    std::filesystem::path file;
    std::string reason;
};

struct ArtExportReport {
    ArtExportCounts counts;
    int framesWritten = 0;
    int picturesWritten = 0;
    std::vector<ArtExportProblem> problems; // broken inputs and failed writes, by file name
    bool cancelled = false;
    std::string error; // set when nothing could be done at all (no art folder, OUT not writable)
};

// Called on the calling thread, a few times a second and once at the end.
using ArtExportProgress = std::function<void(const ArtExportCounts&)>;

// Runs the export to the end, or until *cancel is set (files already written
// stay). Never throws for a broken input: it is named in problems and skipped.
ArtExportReport ExportArt(const std::filesystem::path& gameDir, const std::filesystem::path& outDir,
    const ArtExportOptions& options, const ArtExportProgress& progress = {},
    const std::atomic<bool>* cancel = nullptr);

// For a SIGINT, SIGTERM or SIGHUP handler: removes the named temporary files of
// exports in progress. Async-signal-safe.
void RemoveExportTemporaries() noexcept;

// Whether path is folder or lies inside it, links followed as far as they exist.
bool IsInsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder);

// "Icon0012_03.png" for frame 3 of Icon0012.shp (stem given).
std::string IconFrameFileName(const std::string& iconStem, int frame, ArtFormat format);

} // namespace tarnwick::codec

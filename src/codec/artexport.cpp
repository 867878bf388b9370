#include "codec/artexport.h"

#include "codec/png.h"

#include "core/graphics/artfiles.h"
#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"

#ifdef _WIN32
#include "codec/exportfile_win.h"
#endif

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace tarnwick::codec {

namespace fs = std::filesystem;

namespace {

const char* Extension(ArtFormat format)
{
    return format == ArtFormat::Png ? ".png" : ".bmp";
}

bool EndsWithIgnoringCase(const std::string& name, const char* ext)
{
    const std::size_t n = std::strlen(ext);
    if (name.size() < n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = name[name.size() - n + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != ext[i])
            return false;
    }
    return true;
}

std::vector<fs::path> ListFiles(const fs::path& folder, const char* ext)
{
    std::vector<fs::path> files;
    if (folder.empty())
        return files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && EndsWithIgnoringCase(it->path().filename().string(), ext))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::uint32_t Le32(const std::uint8_t* p)
{
    return std::uint32_t { p[0] } | (std::uint32_t { p[1] } << 8) | (std::uint32_t { p[2] } << 16)
        | (std::uint32_t { p[3] } << 24);
}

// The number of directory entries a shape file declares, as the reader takes it.
int ShapeEntries(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < 8)
        throw core::EShpexception("Unexpected end of file in the file header");
    if (std::memcmp(bytes.data(), "1.10", 4) != 0)
        throw core::EShpexception(core::kShpInvalidFile);
    const auto n = static_cast<std::int32_t>(Le32(bytes.data() + 4));
    return std::clamp<std::int32_t>(n, 0, core::kMaxShpFrames);
}

// Export files are copies made afresh, many at a time and from several
// threads: each is written to a hidden temporary file beside its name and
// renamed over it, so no half-written file ever has the name. Unlike a save
// they are not flushed to the device one by one (that made an export of 2,000
// pictures several times slower), and they do not go through the core's atomic
// write, which tracks one write at a time for its signal handler.
#ifndef _WIN32
std::string WriteExportFile(const fs::path& target, const std::vector<std::uint8_t>& bytes, mode_t mode)
{
    std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return "Cannot write " + target.string() + ": " + std::strerror(errno);
    const std::uint8_t* data = bytes.data();
    std::size_t left = bytes.size();
    int error = 0;
    while (left > 0 && error == 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            break;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    // mkstemp makes the file private; an export is as readable as any new file.
    if (error == 0 && ::fchmod(fd, mode) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error == 0)
        return {};
    ::unlink(temp.c_str());
    return "Cannot write " + target.string() + ": " + std::strerror(error);
}
#else
std::string WriteExportFile(const fs::path& target, const std::vector<std::uint8_t>& bytes, mode_t)
{
    return WriteExportFileWindows(target, bytes);
}
#endif

class Job {
public:
    Job(const fs::path& out, const ArtExportOptions& options)
        : out_(out)
        , options_(options)
    {
    }

    std::vector<fs::path> pictures, icons;
    mode_t mode = 0644; // of the files written: what the umask leaves of 0666
    std::atomic<int> next { 0 };
    std::atomic<int> picturesDone { 0 }, iconsDone { 0 }, framesWritten { 0 }, picturesWritten { 0 };
    std::mutex mutex;
    std::vector<ArtExportProblem> problems;

    void problem(const fs::path& file, const std::string& reason)
    {
        std::lock_guard lock(mutex);
        problems.push_back({ file, reason });
    }

    void run(const std::atomic<bool>* cancel)
    {
        const int total = static_cast<int>(pictures.size() + icons.size());
        for (int i = next++; i < total; i = next++) {
            if (cancel != nullptr && cancel->load())
                return;
            if (i < static_cast<int>(pictures.size())) {
                picture(pictures[static_cast<std::size_t>(i)]);
                ++picturesDone;
            } else {
                iconFile(icons[static_cast<std::size_t>(i) - pictures.size()]);
                ++iconsDone;
            }
        }
    }

private:
    std::vector<std::uint8_t> encode(const core::IndexedImage& image, bool icon) const
    {
        if (options_.format == ArtFormat::Bmp)
            return core::EncodeBmp(image);
        return EncodePng(
            image, icon ? std::optional<std::uint8_t>(options_.transparent) : std::nullopt, true);
    }

    bool write(const fs::path& target, const std::vector<std::uint8_t>& bytes, const fs::path& input)
    {
        const std::string error = WriteExportFile(target, bytes, mode);
        if (error.empty())
            return true;
        problem(input, error);
        return false;
    }

    void picture(const fs::path& file)
    {
        try {
            const core::IndexedImage image = core::LoadLbmFile(file);
            if (write(out_ / core::kPictureFolder / (file.stem().string() + Extension(options_.format)),
                    encode(image, false), file))
                ++picturesWritten;
        } catch (const core::ArtFileError& e) {
            problem(file, e.what());
        } catch (const std::exception& e) {
            problem(file, e.what());
        }
    }

    void iconFile(const fs::path& file)
    {
        std::vector<std::uint8_t> bytes;
        int entries = 0;
        try {
            bytes = core::ReadArtFile(file);
            entries = ShapeEntries(bytes);
        } catch (const std::exception& e) {
            problem(file, e.what());
            return;
        }
        // Directory entry 0 is never a frame.
        for (int entry = 1; entry < entries; ++entry) {
            try {
                const core::IndexedImage image = core::DecodeShpFrame(bytes, entry, options_.transparent);
                if (write(out_ / core::kIconFolder
                            / IconFrameFileName(file.stem().string(), entry - 1, options_.format),
                        encode(image, true), file))
                    ++framesWritten;
            } catch (const std::exception& e) {
                problem(file, "frame " + std::to_string(entry - 1) + ": " + e.what());
            }
        }
    }

    fs::path out_;
    ArtExportOptions options_;
};

} // namespace

std::string IconFrameFileName(const std::string& iconStem, int frame, ArtFormat format)
{
    std::string ff = std::to_string(frame);
    if (ff.size() < 2)
        ff.insert(0, 2 - ff.size(), '0');
    return iconStem + "_" + ff + Extension(format);
}

ArtExportReport ExportArt(const fs::path& gameDir, const fs::path& outDir, const ArtExportOptions& options,
    const ArtExportProgress& progress, const std::atomic<bool>* cancel)
{
    ArtExportReport report;
    const fs::path picDir = core::FindArtFolder(gameDir, core::kPictureFolder);
    const fs::path shpDir = core::FindArtFolder(gameDir, core::kIconFolder);
    if (picDir.empty() && shpDir.empty()) {
        report.error = gameDir.string() + " has neither a pic nor a shp folder";
        return report;
    }
    Job job(outDir, options);
    // The umask can only be read by setting it; done once, before any thread runs.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    job.mode = 0666 & ~mask;
    job.pictures = ListFiles(picDir, ".lbm");
    job.icons = ListFiles(shpDir, ".shp");
    report.counts.pictures = static_cast<int>(job.pictures.size());
    report.counts.iconFiles = static_cast<int>(job.icons.size());

    for (const auto& [sub, any] : { std::pair { core::kPictureFolder, !job.pictures.empty() },
             std::pair { core::kIconFolder, !job.icons.empty() } }) {
        if (!any)
            continue;
        std::error_code ec;
        fs::create_directories(outDir / sub, ec);
        if (ec) {
            report.error = "Cannot create " + (outDir / sub).string() + ": " + ec.message();
            return report;
        }
    }

    int jobs = options.jobs > 0 ? options.jobs : static_cast<int>(std::thread::hardware_concurrency());
    jobs = std::clamp(jobs, 1, std::max(1, report.counts.pictures + report.counts.iconFiles));
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    int running = jobs;
    std::vector<std::thread> workers;
    for (int i = 0; i < jobs; ++i)
        workers.emplace_back([&] {
            job.run(cancel);
            std::lock_guard lock(doneMutex);
            --running;
            doneSignal.notify_all();
        });
    auto counts = [&] {
        ArtExportCounts c = report.counts;
        c.picturesDone = job.picturesDone.load();
        c.iconFilesDone = job.iconsDone.load();
        return c;
    };
    {
        std::unique_lock lock(doneMutex);
        while (!doneSignal.wait_for(lock, std::chrono::milliseconds(100), [&] { return running == 0; }))
            if (progress) {
                lock.unlock();
                progress(counts());
                lock.lock();
            }
    }
    for (std::thread& t : workers)
        t.join();
    report.counts = counts();
    if (progress)
        progress(report.counts);
    report.cancelled = cancel != nullptr && cancel->load()
        && report.counts.picturesDone + report.counts.iconFilesDone
            < report.counts.pictures + report.counts.iconFiles;
    report.framesWritten = job.framesWritten.load();
    report.picturesWritten = job.picturesWritten.load();
    report.problems = std::move(job.problems);
    std::sort(report.problems.begin(), report.problems.end(),
        [](const ArtExportProblem& a, const ArtExportProblem& b) { return a.file < b.file; });
    return report;
}

} // namespace tarnwick::codec

#include "codec/artexport.h"

#include "codec/png.h"

#include "core/data/fileio.h"
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
#include <climits>
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

// Why an entry named like an art file is not one, or empty when it is a regular file.
std::string NotAFile(const fs::directory_entry& entry)
{
    std::error_code ec;
    const fs::file_status link = entry.symlink_status(ec);
    const fs::file_status st = entry.status(ec);
    if (fs::is_regular_file(st))
        return {};
    if (fs::is_symlink(link))
        return ec.value() == ELOOP ? "a symbolic link that loops"
            : fs::exists(st)       ? "a symbolic link to something that is not a file"
                                   : "a symbolic link to nothing";
    if (fs::is_directory(st))
        return "a folder, not a file";
    return "not a regular file";
}

// The files of folder whose names end in ext, sorted; an entry so named that is
// not a regular file goes to skipped with the reason.
std::vector<fs::path> ListFiles(
    const fs::path& folder, const char* ext, std::vector<ArtExportProblem>& skipped)
{
    std::vector<fs::path> files;
    if (folder.empty())
        return files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!EndsWithIgnoringCase(it->path().filename().string(), ext))
            continue;
        if (std::string why = NotAFile(*it); !why.empty())
            skipped.push_back({ it->path(), std::move(why) });
        else
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

#ifndef _WIN32
// The named temporary files of writes in progress, for a signal handler to
// remove: a slot is claimed (1), its name stored, then marked set (2); the
// handler removes the names of set slots. Lock-free atomics keep that
// async-signal-safe.
constexpr int kTemporarySlots = 64;
char temporaryNames[kTemporarySlots][PATH_MAX];
std::atomic<int> temporaryState[kTemporarySlots];
static_assert(std::atomic<int>::is_always_lock_free);

class TrackedName {
public:
    explicit TrackedName(const std::string& path)
    {
        if (path.size() >= PATH_MAX)
            return;
        for (;;) {
            for (int i = 0; i < kTemporarySlots; ++i) {
                int free = 0;
                if (temporaryState[i].compare_exchange_strong(free, 1)) {
                    std::memcpy(temporaryNames[i], path.c_str(), path.size() + 1);
                    temporaryState[i].store(2);
                    slot_ = i;
                    return;
                }
            }
            std::this_thread::yield(); // more writers than slots: wait for one
        }
    }
    ~TrackedName()
    {
        if (slot_ >= 0)
            temporaryState[slot_].store(0);
    }
    TrackedName(const TrackedName&) = delete;
    TrackedName& operator=(const TrackedName&) = delete;

private:
    int slot_ = -1;
};

int WriteAll(int fd, const std::vector<std::uint8_t>& bytes)
{
    const std::uint8_t* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

std::string TemporaryNameFor(const fs::path& target)
{
    static std::atomic<unsigned> counter { 0 };
    return (target.parent_path()
        / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "."
            + std::to_string(counter++)))
        .string();
}

// Gives the unnamed file fd the name target: directly when target does not
// exist, else under a temporary name renamed over it. 0 or an errno; ENOENT
// when /proc is missing (the caller then writes a named file).
int LinkOver(int fd, const fs::path& target)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != EEXIST)
        return errno;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string temp = TemporaryNameFor(target);
        TrackedName tracked(temp);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        if (::rename(temp.c_str(), target.c_str()) == 0)
            return 0;
        const int error = errno;
        ::unlink(temp.c_str());
        return error;
    }
    return EEXIST;
}

// Export files are copies made afresh, many at a time and from several
// threads. Each is written to a file without a name (O_TMPFILE) that gets its
// name only when complete, so a run killed part-way leaves no half-written or
// hidden file; where the file system has no such files, to a named hidden
// temporary file that the signal handler knows. Unlike a save they are not
// flushed to the device one by one (that made an export of 2,000 pictures
// several times slower).
std::string WriteExportFile(const fs::path& target, const std::vector<std::uint8_t>& bytes, mode_t mode)
{
    const auto failed
        = [&](int error) { return "Cannot write " + target.string() + ": " + std::strerror(error); };
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd >= 0) {
        int error = WriteAll(fd, bytes);
        if (error == 0)
            error = LinkOver(fd, target);
        if (::close(fd) != 0 && error == 0)
            error = errno;
        if (error != ENOENT)
            return error == 0 ? std::string() : failed(error);
    }
    const std::string temp = TemporaryNameFor(target);
    TrackedName tracked(temp);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return failed(errno);
    int error = WriteAll(fd, bytes);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error == 0)
        return {};
    ::unlink(temp.c_str());
    return failed(error);
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
        // Directory entry 0 is never a frame. The frames that fail are told in
        // one line: how many, and the first with its reason.
        int failed = 0;
        std::string first;
        for (int entry = 1; entry < entries; ++entry) {
            std::string error;
            try {
                const core::IndexedImage image = core::DecodeShpFrame(bytes, entry, options_.transparent);
                error = WriteExportFile(out_ / core::kIconFolder
                        / IconFrameFileName(file.stem().string(), entry - 1, options_.format),
                    encode(image, true), mode);
            } catch (const std::exception& e) {
                error = e.what();
            }
            if (error.empty()) {
                ++framesWritten;
            } else if (failed++ == 0) {
                first = "frame " + std::to_string(entry - 1) + ": " + error;
            }
        }
        if (failed == 1)
            problem(file, first);
        else if (failed > 1)
            problem(file,
                std::to_string(failed) + " of " + std::to_string(entries - 1) + " frames failed, the first "
                    + first);
    }

    fs::path out_;
    ArtExportOptions options_;
};

} // namespace

void RemoveExportTemporaries() noexcept
{
#ifndef _WIN32
    for (int i = 0; i < kTemporarySlots; ++i)
        if (temporaryState[i].load() == 2)
            ::unlink(temporaryNames[i]);
#endif
}

bool IsInsideFolder(const fs::path& path, const fs::path& folder)
{
    std::error_code ec;
    const fs::path inner = fs::weakly_canonical(fs::absolute(path, ec), ec);
    const fs::path outer = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (ec)
        return false;
    const fs::path rel = inner.lexically_relative(outer);
    return !rel.empty() && *rel.begin() != "..";
}

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
        report.error = core::PathText(gameDir) + " has neither a pic nor a shp folder";
        return report;
    }
    Job job(outDir, options);
    // The umask can only be read by setting it; done once, before any thread runs.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    job.mode = 0666 & ~mask;
    job.pictures = ListFiles(picDir, ".lbm", job.problems);
    job.icons = ListFiles(shpDir, ".shp", job.problems);
    report.counts.pictures = static_cast<int>(job.pictures.size());
    report.counts.iconFiles = static_cast<int>(job.icons.size());

    for (const auto& [sub, any] : { std::pair { core::kPictureFolder, !job.pictures.empty() },
             std::pair { core::kIconFolder, !job.icons.empty() } }) {
        if (!any)
            continue;
        std::error_code ec;
        fs::create_directories(outDir / sub, ec);
        if (ec) {
            report.error = "Cannot create " + core::PathText(outDir / sub) + ": " + ec.message();
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
    std::stable_sort(report.problems.begin(), report.problems.end(),
        [](const ArtExportProblem& a, const ArtExportProblem& b) { return a.file < b.file; });
    return report;
}

} // namespace tarnwick::codec

#include "clirunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace clitest {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(f.good()) << path;
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

const std::string& CliPath()
{
    static const std::string path = [] {
        const char* chosen = std::getenv("TARNWICK_CLI");
        return std::string(chosen != nullptr && *chosen != '\0' ? chosen : TARNWICK_CLI_PATH);
    }();
    return path;
}

bool UnderWine()
{
    return CliPath().ends_with(".exe");
}

std::string Shown(const fs::path& path)
{
    std::string text = path.string();
    if (UnderWine())
        std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::string ShownAbsolute(const fs::path& path)
{
    return UnderWine() && path.is_absolute() ? "Z:" + Shown(path) : Shown(path);
}

RunResult RunCli(const std::vector<std::string>& args)
{
    return RunCliVia({}, args);
}

std::optional<std::vector<std::string>> Unprivileged()
{
    if (::geteuid() != 0)
        return std::vector<std::string> {};
    for (const char* dir : { "/usr/bin", "/bin", "/usr/sbin", "/sbin" }) {
        const fs::path tool = fs::path(dir) / "setpriv";
        if (::access(tool.c_str(), X_OK) == 0)
            return std::vector<std::string> { tool.string(), "--reuid=65534", "--regid=65534",
                "--clear-groups" };
    }
    return std::nullopt;
}

namespace {

RunResult Run(
    const std::vector<std::string>& prefix, const RunOptions& options, const std::vector<std::string>& args)
{
    TempDir scratch;
    const fs::path outPath = scratch / "stdout";
    const fs::path errPath = scratch / "stderr";
    const fs::path config = scratch / "config";
    fs::create_directory(config);

    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::string(*e).rfind("XDG_CONFIG_HOME=", 0) != 0)
            env.emplace_back(*e);
    env.push_back("XDG_CONFIG_HOME=" + config.string());

    std::vector<std::string> argStrings = prefix;
    if (UnderWine()) {
        const char* wine = std::getenv("TARNWICK_WINE");
        argStrings.push_back(wine != nullptr && *wine != '\0' ? wine : "/usr/lib/wine/wine64");
    }
    argStrings.push_back(CliPath());
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int in[2] = { -1, -1 };
    int terminal = -1;
    if (options.input) {
        EXPECT_EQ(::pipe2(in, O_CLOEXEC), 0);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    }
    if (options.terminal) {
        terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        EXPECT_TRUE(terminal >= 0 && ::grantpt(terminal) == 0 && ::unlockpt(terminal) == 0);
        posix_spawn_file_actions_addopen(&actions, 1, ::ptsname(terminal), O_WRONLY | O_NOCTTY, 0);
    } else if (!options.stdoutFile.empty()) {
        posix_spawn_file_actions_addopen(
            &actions, 1, options.stdoutFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (options.input) {
        ::close(in[0]);
        // The program may stop reading early: a write into the closed pipe then fails quietly.
        ::signal(SIGPIPE, SIG_IGN);
        const std::string& bytes = *options.input;
        for (std::size_t done = 0; rc == 0 && done < bytes.size();) {
            const ssize_t n = ::write(in[1], bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(in[1]);
    }
    RunResult result;
    if (rc != 0) {
        result.err = "posix_spawn failed";
        return result;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (terminal >= 0)
        ::close(terminal);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

} // namespace

namespace {

// tarnwick-cli says why whenever it fails, so a failure without a word under
// wine is wine's own start-up trouble (seen once on a loaded machine): run once
// more. Native runs are never retried.
RunResult RunOnce(
    const std::vector<std::string>& prefix, const RunOptions& options, const std::vector<std::string>& args)
{
    RunResult result = Run(prefix, options, args);
    if (UnderWine() && result.status != 0 && result.out.empty() && result.err.empty()
        && options.stdoutFile.empty()) {
        std::cerr << "wine ended without a word (status " << result.status << "); running it again\n";
        result = Run(prefix, options, args);
    }
    return result;
}

} // namespace

RunResult RunCliVia(const std::vector<std::string>& prefix, const std::vector<std::string>& args)
{
    return RunOnce(prefix, {}, args);
}

RunResult RunCliWith(const RunOptions& options, const std::vector<std::string>& args)
{
    return RunOnce({}, options, args);
}

OobImage::OobImage()
    : bytes(106680, 0)
{
}

void OobImage::text(std::size_t offset, std::size_t width, const std::string& value)
{
    for (std::size_t i = 0; i < width; ++i)
        bytes.at(offset + i) = i < value.size() ? static_cast<std::uint8_t>(value[i]) : 0;
}

void OobImage::validDates()
{
    for (int s = 1; s < 600; ++s)
        for (std::size_t base : { 46080, 46680, 59880, 60480 })
            u8(base, s, 1, 0, 1);
    for (int s = 1; s < 400; ++s) {
        for (std::size_t base : { 89080, 89480, 98680 })
            u8(base, s, 1, 0, 1);
        u8(99080, s, 1, 0, 12);
    }
}

} // namespace clitest

// tarnwick-cli: the command-line companion of the editor.

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/signals.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <system_error>
#include <vector>

int main(int argc, char** argv)
{
    using namespace tarnwick::cli;
    RemoveTemporaryFilesOnSignals();
    PrepareConsole();
    const std::vector<std::string> args = Utf8Arguments(argc, argv);
    Output io { std::cout, std::cerr };
    // The status of a command that could not finish: diff and check keep 1 for
    // "differences" and "findings", so any trouble of theirs is 2.
    Command command = Command::None;
    auto trouble = [&command] { return TroubleStatus(command); };
    // Every command ends here: what it printed must have reached standard output.
    auto finish = [&](int status) {
        if (std::cout.flush())
            return status;
        std::cerr << "tarnwick-cli: cannot write to standard output: " << std::strerror(errno) << '\n';
        return trouble();
    };
    try {
        Arguments parsed = ParseArguments(args);
        command = parsed.command;
        if (parsed.version || parsed.help || !parsed.generate.empty()) {
            std::cout << (parsed.version            ? VersionText()
                    : parsed.generate == "man-page" ? ManPage()
                    : parsed.help                   ? UsageText(parsed.command)
                                                    : BashCompletion());
            return finish(kExitOk);
        }
        tarnwick::core::Settings settings;
        std::filesystem::path settingsPath;
        if (UsesSettings(parsed.command)
            && !LoadSettings(
                parsed, ProgramPath(argc > 0 ? argv[0] : nullptr).parent_path(), settings, settingsPath, io))
            return trouble();
        return finish(RunCommand(Context { parsed, settings, settingsPath, io }));
    } catch (const UsageError& e) {
        std::cerr << "tarnwick-cli: " << e.what() << '\n';
        if (e.command != Command::None)
            std::cerr << "Try 'tarnwick-cli " << CommandName(e.command) << " --help'.\n";
        else
            std::cerr << "Try 'tarnwick-cli --help'.\n";
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        std::cerr << "tarnwick-cli: not enough memory to finish; nothing more was written\n";
        return trouble();
    } catch (const std::exception& e) {
        std::cerr << "tarnwick-cli: " << e.what() << '\n';
        return trouble();
    } catch (...) {
        std::cerr << "tarnwick-cli: an unexpected error stopped the command\n";
        return trouble();
    }
}

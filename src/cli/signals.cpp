#include "cli/signals.h"

#include "codec/artexport.h"
#include "core/data/fileio.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace tarnwick::cli {

#ifdef _WIN32

namespace {

// Runs on a thread of its own; FALSE lets the default handler end the program.
BOOL WINAPI OnConsoleEvent(DWORD)
{
    core::RemoveTemporaryFileInProgress();
    return FALSE;
}

} // namespace

void RemoveTemporaryFilesOnSignals()
{
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

#else

namespace {

extern "C" void OnSignal(int signal)
{
    core::RemoveTemporaryFileInProgress();
    codec::RemoveExportTemporaries();
    // Default action: the program ends as killed by the signal, as a caller expects.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void RemoveTemporaryFilesOnSignals()
{
    struct sigaction action { };
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : { SIGINT, SIGTERM, SIGHUP }) {
        sigaddset(&action.sa_mask, signal);
    }
    for (int signal : { SIGINT, SIGTERM, SIGHUP })
        ::sigaction(signal, &action, nullptr);
}

#endif

} // namespace tarnwick::cli

#include "cli/signals.h"

#include "codec/artexport.h"
#include "core/data/fileio.h"

#include <csignal>

namespace tarnwick::cli {

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

} // namespace tarnwick::cli

#pragma once

// An interrupted command (SIGINT, SIGTERM, SIGHUP) leaves no temporary file.

namespace tarnwick::cli {

// Installs handlers that remove the temporary file of a write in progress, then
// end the program by the same signal.
void RemoveTemporaryFilesOnSignals();

} // namespace tarnwick::cli

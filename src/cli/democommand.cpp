#include "cli/democommand.h"

#include "core/data/fileio.h"
#include "core/demo/demo.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

namespace tarnwick::cli {

namespace fs = std::filesystem;
using core::IoResult;

int RunMakeDemo(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    core::DemoFolder plan;
    if (IoResult r = core::PlanDemoFolder(core::PathFromUtf8(args.input), plan); !r.ok())
        return Fail(io, r.message());
    if (!args.force) {
        // Any of the files already there, in any letter case (the editor finds
        // files so), stops the command before it writes anything.
        const std::vector<fs::path> present = core::ExistingDemoFiles(plan);
        if (!present.empty()) {
            std::string list;
            for (const fs::path& p : present)
                list += "\n  " + core::PathText(p);
            return Fail(io,
                core::PathText(plan.dir) + " already holds " + std::to_string(present.size()) + " of the "
                    + std::to_string(plan.files.size())
                    + " files make-demo writes; nothing was written (--force overwrites them):" + list);
        }
    }
    std::vector<fs::path> written;
    const IoResult r = core::WriteDemoFolder(plan, written);
    for (const fs::path& file : written)
        Notes(c) << "Wrote " << core::PathText(file) << '\n';
    if (!r.ok())
        return Fail(io, r.message());
    return kExitOk;
}

} // namespace tarnwick::cli

#include "cli/democommand.h"

#include "core/data/fileio.h"
#include "core/data/tarnio.h"
#include "core/demo/demo.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

namespace tarnwick::cli {

namespace fs = std::filesystem;
using core::IoResult;

namespace {

// The files make-demo writes into dir.
std::vector<std::string> DemoFileNames()
{
    std::vector<std::string> names;
    for (int nation : core::DemoNations())
        names.push_back(core::OobFileName(nation));
    names.emplace_back(core::kSettingsFileName);
    names.emplace_back("README.txt");
    return names;
}

} // namespace

int RunMakeDemo(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const fs::path dir(args.input);
    if (!args.force) {
        // Any of the files already there, in any case (the editor finds files so),
        // stops the command before it writes anything.
        std::vector<std::string> present;
        std::error_code ec;
        for (const std::string& name : DemoFileNames()) {
            const fs::path found = core::FindFileIgnoringCase(dir, name);
            if (!found.empty() || fs::exists(fs::symlink_status(dir / name, ec)))
                present.push_back((found.empty() ? dir / name : found).string());
        }
        if (!present.empty()) {
            std::string list;
            for (const std::string& p : present)
                list += (list.empty() ? "" : ", ") + p;
            return Fail(io, "not overwriting " + list + "; nothing was written (--force overwrites)");
        }
    }
    IoResult r = core::MakeDemoFolder(args.input);
    if (!r.ok())
        return Fail(io, r.message());
    const fs::path written = r.path.empty() ? dir : r.path;
    for (const std::string& name : DemoFileNames())
        io.out << "Wrote " << (written / name).string() << '\n';
    return kExitOk;
}

} // namespace tarnwick::cli

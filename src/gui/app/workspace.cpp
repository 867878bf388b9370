#include "gui/app/workspace.h"

#include "core/data/folderscan.h"
#include "gui/app/oobdocument.h"
#include "gui/common/pathtext.h"

#include <system_error>

namespace tarnwick::gui {

Workspace::Workspace(QObject* parent)
    : QObject(parent)
    , document_(new OobDocument(this))
    , buffers_(std::make_unique<core::PasteBuffers>())
{
    setObjectName("Workspace");
    core::InitPasteBuffers(*buffers_);
}

Workspace::~Workspace() = default;

std::filesystem::path Workspace::resolve(const std::filesystem::path& path) const
{
    return core::NormalFolderPath(folder_, path);
}

bool Workspace::enterFolder(const std::filesystem::path& dir, std::string* why)
{
    const std::filesystem::path target = resolve(dir);
    // A folder that can be listed can be worked in.
    std::error_code ec;
    if (!std::filesystem::is_directory(target, ec) && !ec)
        ec = std::make_error_code(std::errc::not_a_directory);
    if (!ec)
        std::filesystem::directory_iterator(target, ec);
    if (ec) {
        if (why != nullptr)
            *why = ec.message();
        return false;
    }
    folder_ = target;
    shownFolder_ = ShownPath(target);
    return true;
}

} // namespace tarnwick::gui

#pragma once

// The artwork-conversion commands of tarnwick-cli: picture-import (a PNG to a
// game picture) and art-export (a game folder's pictures and icons to PNG or
// BMP files). They take no settings file.

#include "cli/commands.h"

namespace tarnwick::cli {

extern const char* const kPictureImportUsage;
extern const char* const kArtExportUsage;

int RunPictureImport(const Context& c);
int RunArtExport(const Context& c);

} // namespace tarnwick::cli

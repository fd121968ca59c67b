// The commands of skintool; each returns the process exit code.
#pragma once

#include <string>
#include <vector>

#include "skin/skin_manager.h"

namespace skintool {

int Inspect(const std::string& skin, bool json);
int Pack(const std::string& folder, const std::string& out);
int List(const std::string& dir);
// render SKIN SECTION WIDTHxHEIGHT [--state N] [--bg #RRGGBB] OUT.png (the words after "render").
int Render(const std::vector<std::string>& args);

// Loads a skin folder or .asz file into the manager; false after printing why it failed.
// archivePath receives the .asz file's path, or "" for a folder skin.
bool LoadSkin(const std::string& skinPath, skin::TsSkinManager& manager, std::string* archivePath);

}  // namespace skintool

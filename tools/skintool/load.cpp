// Loads a skin folder or .asz file through the manager, as the program would.
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "skin/skin_files.h"
#include "skin/skin_text.h"

namespace skintool {

using namespace skin;

bool LoadSkin(const std::string& skinPath, TsSkinManager& manager, std::string* archivePath) {
    namespace fs = std::filesystem;
    std::string resolved = ResolveSkinPath(skinPath);
    while (resolved.size() > 1 && resolved.back() == '/') resolved.pop_back();
    const fs::path path = fs::absolute(resolved);
    const bool packed = IsFile(path.string());
    std::string name = path.filename().string();
    if (packed) {
        if (UpperCase(path.extension().string()) != ".ASZ") {
            std::fprintf(stderr, "%s is not an .asz file\n", path.string().c_str());
            return false;
        }
        // The packed file is looked for under the exact name with ".asz".
        if (path.extension().string() != ".asz") {
            std::fprintf(stderr, "%s: the extension must be written .asz\n", path.string().c_str());
            return false;
        }
        name.resize(name.size() - 4);
    }
    std::string error;
    SetSkinMessageBox([&error](HWND, const std::string& text, const std::string& caption, UINT) {
        if (caption == "Error") error = text;
        return IDOK;
    });
    manager.SetSkinDirectory(path.parent_path().string());
    manager.SetSkinName(name);
    SetSkinMessageBox(nullptr);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (!manager.Active() || !manager.GlobalInfo().SkinReady) {
        std::fprintf(stderr, "No skin found at %s\n", skinPath.c_str());
        return false;
    }
    if (archivePath) *archivePath = packed ? path.string() : std::string();
    return true;
}

}  // namespace skintool

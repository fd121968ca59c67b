// The main window's skin: where it is looked for, which one starts, and remembering a change.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/main_form.h"
#include "app/skin_choice.h"
#include "framework/exceptions.h"

namespace app {

namespace {
std::string& SkinsFolderOverride() {
    static std::string folder;
    return folder;
}
}  // namespace

void SetSkinsFolderForTests(const std::string& folder) {
    SkinsFolderOverride() = folder;
}

std::string SkinsFolder() {
    const std::string& folder = SkinsFolderOverride();
    return folder.empty() ? ExecutableDirectory() + "Skins" : folder;
}

std::string TfrmMain::SkinChoicePath() const {
    return SettingsFolder() + kSkinChoiceFileName;
}

// A remembered skin that was removed since would leave the window in the standard look.
std::string TfrmMain::StartSkin() const {
    if (rememberedSkin_.empty() || rememberedSkin_ == kDefaultSkin) return kDefaultSkin;
    std::vector<std::string> present;
    sSkinManager1->ListSkins(present, 2);
    const bool found = std::find(present.begin(), present.end(), rememberedSkin_) != present.end();
    return found ? rememberedSkin_ : kDefaultSkin;
}

void TfrmMain::RememberSkin() {
    const std::string name = sSkinManager1->SkinName();
    if (!sSkinManager1->Active() || !sSkinManager1->GlobalInfo().SkinReady) return;
    if (name == rememberedSkin_ || !IsValidSkinName(name)) return;
    try {
        WriteSkinChoice(SkinChoicePath(), name);
        rememberedSkin_ = name;
    } catch (const EInOutError& e) {
        std::fprintf(stderr, "utrozvon: the skin choice was not remembered: %s\n", e.what());
    }
}

}  // namespace app

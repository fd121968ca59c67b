// A main-window-sized form framed by the shipped dark skin through a skin provider, for
// timing a skinned start from outside: bench/first_frame.sh runs it under first_frame_probe
// (FIRST_FRAME_PROGRAM). The packed skins are looked for in Skins beside the build folder
// that holds this program (build/bench/skinned_form finds build/Skins).
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "forms/skin_provider.h"
#include "framework/application.h"
#include "platform/backend.h"
#include "platform/gdi/font_warmup.h"
#include "skin/skin_manager.h"

namespace {

std::string SkinsFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (self.parent_path().parent_path() / "Skins").string();
}

class TSkinnedForm : public framework::TDescribedForm {
  public:
    using TDescribedForm::TDescribedForm;
    void BuildForm() override {
        SetBorderStyle(framework::TFormBorderStyle::bsSingle);
        SetBorderIcons(framework::biSystemMenu | framework::biMinimize);
        SetClientSize(487, 293);
        SetCaption("Утрозвон");
        Position = framework::TPosition::poScreenCenter;
        auto* manager = new skin::TsSkinManager(this);
        manager->SetSkinDirectory(SkinsFolder());
        manager->SetSkinName("DarkGlass");
        new forms::TsSkinProvider(this);
    }
};

}  // namespace

int main() {
    std::setlocale(LC_ALL, "");
    platform::gdi::FontWarmup fonts;
    try {
        platform::CurrentBackend();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinned_form: %s\n", e.what());
        return 1;
    }
    framework::TApplication application;
    application.Initialize();
    fonts.Wait();
    TSkinnedForm* form = nullptr;
    application.CreateForm(form);
    application.Run();
    return application.ExitCode();
}

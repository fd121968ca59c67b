// A skin change on a main-window-sized form framed through a skin provider, until the new
// skin is on the (headless) screen: the packed skin read and announced, the frame and client
// repainted and presented. Between the two shipped skins, and to a skin of 150 entries (the
// dark one with 120 entries more, each a picture of its own). The form changes without the
// skin-change animation, as the main window does.
// Beside it, the form's show until its first frame is presented, with the show effect at the
// main window's time 0 (one captured frame in a layered window, then the form) and without.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "../tests/skin/skin_maker.h"
#include "forms/skin_provider.h"
#include "framework/application.h"
#include "framework/form.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "skin/skin_manager.h"

namespace {

using namespace skin_testing;

const std::filesystem::path kShipped = UTROZVON_SKINS_SOURCE;

SkinFiles ReadShipped(const std::string& name) {
    SkinFiles s;
    for (const auto& file : std::filesystem::directory_iterator(kShipped / name)) {
        const std::string stored = file.path().filename().string();
        Bytes bytes = ReadAll(file.path().string());
        if (stored == "Options.dat")
            s.options.assign(bytes.begin(), bytes.end());
        else
            s.files[stored] = std::move(bytes);
    }
    return s;
}

// 24 sections of five entries with pictures of their own, after the dark skin's 30 entries.
SkinFiles LargeSkin() {
    SkinFiles s = ReadShipped("DarkGlass");
    for (int i = 0; i < 24; ++i) {
        const std::string n = std::to_string(i);
        s.options.append("[EXTRA")
            .append(n)
            .append("]\nCOLOR=$")
            .append(std::to_string(100000 + i));
        s.options.append("\n");
        for (int k = 0; k < 5; ++k) {
            const std::string picture =
                "X" + n + "_" + std::to_string(k) + (k % 2 ? ".BMP" : ".PNG");
            s.options.append("ENTRY").append(std::to_string(k)).append("=!").append(picture);
            s.options.append("!3!1!4\n");
            s.files[picture] = k % 2 ? MakeBmp(60, 24) : MakePng(90, 40, true);
        }
    }
    return s;
}

struct Scene {
    TempDir dir;
    std::unique_ptr<framework::TApplication> app;
    std::unique_ptr<skin::TsSkinManager> manager;
    framework::TForm* form = nullptr;
    forms::TsSkinProvider* provider = nullptr;

    Scene() {
        ReadShipped("DarkGlass").WritePacked(dir / "DarkGlass.asz");
        ReadShipped("Daybreak").WritePacked(dir / "Daybreak.asz");
        LargeSkin().WritePacked(dir / "Large.asz");
        platform::InstallBackend(
            std::make_unique<platform::headless::HeadlessBackend>(SIZE{800, 600}));
        app = std::make_unique<framework::TApplication>();
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        manager->AnimEffects.SkinChanging.Active = false;
        manager->SetSkinDirectory(dir.Path());
        manager->SetSkinName("DarkGlass");
        form = new framework::TForm(app.get());
        form->SetBorderStyle(framework::TFormBorderStyle::bsSingle);
        form->SetClientSize(487, 293);
        form->SetCaption("Утрозвон");
        provider = new forms::TsSkinProvider(form);
        form->Show();
        app->ProcessMessages();
    }
    ~Scene() {
        delete form;
        manager.reset();
        app.reset();
    }
    // The change, and the message loop until the frame is presented.
    void ChangeTo(const char* name) {
        manager->SetSkinName(name);
        app->ProcessMessages();
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_SkinChangeBetweenShippedSkins(benchmark::State& state) {
    Scene& s = TheScene();
    bool dark = true;
    for (auto _ : state) {
        dark = !dark;
        s.ChangeTo(dark ? "DarkGlass" : "Daybreak");
    }
    state.counters["entries"] = static_cast<double>(s.manager->Model().Masks.size());
}
BENCHMARK(BM_SkinChangeBetweenShippedSkins)->Unit(benchmark::kMillisecond);

void BM_SkinChangeTo150Entries(benchmark::State& state) {
    Scene& s = TheScene();
    std::size_t entries = 0;
    for (auto _ : state) {
        s.ChangeTo("Large");
        entries = s.manager->Model().Masks.size();
        state.PauseTiming();
        s.ChangeTo("DarkGlass");
        state.ResumeTiming();
    }
    if (entries < 150) state.SkipWithError("the large skin did not load");
    state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_SkinChangeTo150Entries)->Unit(benchmark::kMillisecond);

void BM_ShowSkinnedForm(benchmark::State& state) {
    Scene& s = TheScene();
    s.manager->AnimEffects.FormShow = {state.range(0) != 0, 0, skin::atAero};
    for (auto _ : state) {
        state.PauseTiming();
        s.form->Hide();
        s.app->ProcessMessages();
        state.ResumeTiming();
        s.form->Show();
        s.app->ProcessMessages();
    }
}
BENCHMARK(BM_ShowSkinnedForm)->ArgName("effect")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

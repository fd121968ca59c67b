// The alarm clock's own main window, skinned with the shipped DarkGlass skin, on the headless
// screen, each figure beside a memcpy of the bytes it puts on the screen:
// - a full repaint (every form cache refreshed from the skin, the frame and every control
//   painted again and presented), against a memcpy of the window's 32-bit bytes;
// - a hover change on one day's check box (the pointer arriving or leaving, in turn: the box's
//   hot image or its normal one), against a memcpy of the box's 32-bit bytes;
// - the status bar's clock tick (the one-second handler: time and toggle panels set, the bar
//   repainted), against a memcpy of the bar's 32-bit bytes;
// - a run-time skin change from Daybreak to DarkGlass (load, every control re-skinned, the
//   window repainted), beside the full repaint above.
// The skins are the shipped sources (the folder form of what the build packs beside the
// program; both forms load the same pictures).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "forms/form_layer.h"
#include "framework/application.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "skin/skin_commands.h"

namespace {

namespace fs = std::filesystem;

constexpr UINT kFullRedraw =
    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

struct Scene {
    Scene() {
        platform::InstallBackend(
            std::make_unique<platform::headless::HeadlessBackend>(SIZE{1280, 1024}));
        char tmpl[] = "/tmp/utrozvon-bench-XXXXXX";
        if (!mkdtemp(tmpl)) throw std::runtime_error("no temporary folder for the settings");
        folder = tmpl;
        // Settings and the remembered skin go to a folder of the run's own; the skins are the
        // shipped sources.
        app::SetSettingsFolderForTests(folder);
        app::SetSkinsFolderForTests((fs::path(UTROZVON_SOURCE_DIR) / "skins").string());
        application = std::make_unique<framework::TApplication>();
        application->Title = "Утрозвон";
        application->CreateForm(form);
        form->Show();
        application->ProcessMessages();
    }
    ~Scene() {
        application.reset();
        app::SetSettingsFolderForTests("");
        app::SetSkinsFolderForTests("");
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    bool Skinned() const {
        return IsWindowVisible(form->Handle()) && form->sSkinManager1->Active() &&
               form->sSkinManager1->GlobalInfo().SkinReady &&
               form->sSkinManager1->SkinName() == "DarkGlass";
    }
    std::string folder;
    std::unique_ptr<forms::TFormLayer> layer = forms::InstallFormLayer();
    std::unique_ptr<framework::TApplication> application;
    app::TfrmMain* form = nullptr;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void MemcpyBytes(benchmark::State& state, std::size_t bytes) {
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
}

std::size_t WindowBytes(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return static_cast<std::size_t>(r.right - r.left) * (r.bottom - r.top) * 4;
}

void BM_MainWindowFullRepaint(benchmark::State& state) {
    Scene& s = TheScene();
    if (!s.Skinned()) state.SkipWithError("the DarkGlass skin did not load");
    skin::TsSkinManager* manager = s.form->sSkinManager1;
    const LPARAM self = reinterpret_cast<LPARAM>(manager);
    for (auto _ : state) {
        // The refresh drops every cached image; the redraw paints the frame and all controls.
        manager->BroadcastToForms(skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scRefresh), self);
        RedrawWindow(s.form->Handle(), nullptr, nullptr, kFullRedraw);
        s.application->ProcessMessages();
    }
}
BENCHMARK(BM_MainWindowFullRepaint)->Unit(benchmark::kMicrosecond);

void BM_MainWindowMemcpyBytes(benchmark::State& state) {
    MemcpyBytes(state, WindowBytes(TheScene().form->Handle()));
}
BENCHMARK(BM_MainWindowMemcpyBytes)->Unit(benchmark::kMicrosecond);

// Enter and leave alternate: each iteration is one hover change.
void BM_MainWindowCheckBoxHover(benchmark::State& state) {
    Scene& s = TheScene();
    paint::TsCheckBox* box = s.form->sCheckBox[2];
    const LPARAM self = reinterpret_cast<LPARAM>(box);
    bool above = false;
    for (auto _ : state) {
        above = !above;
        box->Perform(above ? framework::CM_MOUSEENTER : framework::CM_MOUSELEAVE, 0, self);
        s.application->ProcessMessages();
    }
    if (above) box->Perform(framework::CM_MOUSELEAVE, 0, self);
}
BENCHMARK(BM_MainWindowCheckBoxHover)->Unit(benchmark::kMicrosecond);

void BM_MainWindowCheckBoxMemcpyBytes(benchmark::State& state) {
    MemcpyBytes(state, WindowBytes(TheScene().form->sCheckBox[2]->Handle()));
}
BENCHMARK(BM_MainWindowCheckBoxMemcpyBytes)->Unit(benchmark::kMicrosecond);

// The panels' texts alternate, as the seconds do, so every tick changes what the bar shows.
void BM_MainWindowStatusBarTick(benchmark::State& state) {
    Scene& s = TheScene();
    paint::TsStatusBar* bar = s.form->sStatusBar1;
    int n = 0;
    for (auto _ : state) {
        s.form->Timer1Timer(s.form->Timer1);
        bar->Panels()[2]->SetText((n++ & 1) ? "  07:00:01" : "  07:00:02");
        s.application->ProcessMessages();
    }
}
BENCHMARK(BM_MainWindowStatusBarTick)->Unit(benchmark::kMicrosecond);

void BM_MainWindowStatusBarMemcpyBytes(benchmark::State& state) {
    MemcpyBytes(state, WindowBytes(TheScene().form->sStatusBar1->Handle()));
}
BENCHMARK(BM_MainWindowStatusBarMemcpyBytes)->Unit(benchmark::kMicrosecond);

// The way back (DarkGlass to Daybreak) is outside the timing.
void BM_MainWindowSkinChangeToDarkGlass(benchmark::State& state) {
    Scene& s = TheScene();
    skin::TsSkinManager* manager = s.form->sSkinManager1;
    for (auto _ : state) {
        state.PauseTiming();
        manager->SetSkinName("Daybreak");
        s.application->ProcessMessages();
        state.ResumeTiming();
        manager->SetSkinName("DarkGlass");
        s.application->ProcessMessages();
    }
    if (!s.Skinned()) state.SkipWithError("the change did not end in DarkGlass");
}
// The wall time holds the skin change animation; the processor time is what the change costs.
BENCHMARK(BM_MainWindowSkinChangeToDarkGlass)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();

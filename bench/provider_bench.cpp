// A skinned form's repaint after an activation change (the window image rebuilt from the
// skin, the frame copied to the window and the client repainted from the image) on a
// main-window-sized form framed by the shipped dark skin, beside a memcpy of the window's
// 32-bit bytes, the yardstick of the target (within 20 times).
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "forms/skin_provider.h"
#include "framework/application.h"
#include "framework/form.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "skin/skin_manager.h"

namespace {

constexpr int kClientWidth = 487, kClientHeight = 293;

struct Scene {
    Scene() {
        platform::InstallBackend(
            std::make_unique<platform::headless::HeadlessBackend>(SIZE{800, 600}));
        app = std::make_unique<framework::TApplication>();
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        manager->SetSkinDirectory(std::filesystem::path(__FILE__).parent_path().parent_path() /
                                  "skins");
        manager->SetSkinName("DarkGlass");
        form = new framework::TForm(app.get());
        form->SetBorderStyle(framework::TFormBorderStyle::bsSingle);
        form->SetClientSize(kClientWidth, kClientHeight);
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
    std::unique_ptr<framework::TApplication> app;
    std::unique_ptr<skin::TsSkinManager> manager;
    framework::TForm* form = nullptr;
    forms::TsSkinProvider* provider = nullptr;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_FrameRepaintAfterActivation(benchmark::State& state) {
    Scene& s = TheScene();
    HWND hwnd = s.form->Handle();
    WPARAM active = 0;
    for (auto _ : state) {
        SendMessage(hwnd, WM_NCACTIVATE, active, 0);
        UpdateWindow(hwnd);  // the client's repaint from the new image too
        active ^= 1;
    }
    benchmark::DoNotOptimize(s.provider->Active());
}
BENCHMARK(BM_FrameRepaintAfterActivation)->Unit(benchmark::kMicrosecond);

void BM_MemcpyWindowBytes(benchmark::State& state) {
    const forms::TsFrameMetrics m = TheScene().provider->Metrics();
    const std::size_t bytes = static_cast<std::size_t>(m.W) * m.H * 4;
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyWindowBytes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

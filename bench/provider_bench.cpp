// A skinned form's repaint after an activation change (the window image rebuilt from the
// skin, the frame copied to the window and the client repainted from the image) on a
// main-window-sized form framed by the shipped dark skin, beside a memcpy of the window's
// 32-bit bytes, the yardstick of the target (within 20 times). Then the title buttons: the
// pointer arriving on the close button to the first frame of its fade presented (target under
// 2 ms on the headless screen), and the processor time of a whole fade-in (10 frames at
// 12 ms).
#include <benchmark/benchmark.h>

#include "forms/frame_interaction.h"
#include "platform/window.h"

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
        auto backend = std::make_unique<platform::headless::HeadlessBackend>(SIZE{800, 600});
        screen = backend.get();
        platform::InstallBackend(std::move(backend));
        app = std::make_unique<framework::TApplication>();
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        manager->SetSkinDirectory(std::filesystem::path(UTROZVON_SOURCE_DIR) / "skins");
        manager->SetSkinName("DarkGlass");
        form = new framework::TForm(app.get());
        form->SetBorderStyle(framework::TFormBorderStyle::bsSingle);
        form->SetBorderIcons(framework::biSystemMenu | framework::biMinimize);
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
    platform::headless::HeadlessBackend* screen = nullptr;
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

LPARAM ScreenPoint(HWND hwnd, POINT p) {
    RECT wr{};
    GetWindowRect(hwnd, &wr);
    return MAKELPARAM(wr.left + p.x, wr.top + p.y);
}

POINT CloseMiddle(forms::TsSkinProvider& provider) {
    const RECT r = provider.Frame().Buttons().System(0).Rect;
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The hit test that makes the button hot builds the fade picture and shows its first step;
// the message loop then presents it.
void BM_HoverToFirstFadedFrame(benchmark::State& state) {
    Scene& s = TheScene();
    HWND hwnd = s.form->Handle();
    forms::TsTitleButtonLayer& buttons = s.provider->Frame().Buttons();
    const LPARAM on = ScreenPoint(hwnd, CloseMiddle(*s.provider));
    const LPARAM off = ScreenPoint(hwnd, POINT{200, 150});
    for (auto _ : state) {
        SendMessage(hwnd, WM_NCHITTEST, 0, on);
        s.app->ProcessMessages();
        state.PauseTiming();
        SendMessage(hwnd, WM_NCHITTEST, 0, off);
        buttons.FreeFades();
        s.app->ProcessMessages();
        state.ResumeTiming();
    }
    if (!buttons.System(0).Placed) state.SkipWithError("no close button");
}
BENCHMARK(BM_HoverToFirstFadedFrame)->Unit(benchmark::kMicrosecond);

// Wall time is the fade's own 120 ms; the processor time is what it costs. The pointer stays
// on the button, or the frame would hear that it left.
void BM_FullFadeIn(benchmark::State& state) {
    Scene& s = TheScene();
    HWND hwnd = s.form->Handle();
    forms::TsTitleButtonLayer& buttons = s.provider->Frame().Buttons();
    const LPARAM on = ScreenPoint(hwnd, CloseMiddle(*s.provider));
    const LPARAM off = ScreenPoint(hwnd, POINT{200, 150});
    s.screen->MovePointer(POINT{GET_X_LPARAM(on), GET_Y_LPARAM(on)});
    s.app->ProcessMessages();
    auto shown = [&] {
        const forms::TsButtonFade* f = buttons.System(0).Fade.get();
        return f ? f->ShownAlpha() : -1;
    };
    for (auto _ : state) {
        SendMessage(hwnd, WM_NCHITTEST, 0, on);
        while (shown() != 255) {
            WaitMessage();
            s.app->ProcessMessages();
        }
        state.PauseTiming();
        SendMessage(hwnd, WM_NCHITTEST, 0, off);
        buttons.FreeFades();
        s.app->ProcessMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FullFadeIn)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(20);

}  // namespace

BENCHMARK_MAIN();

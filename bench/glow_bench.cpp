// Glow windows on the headless screen: the time from the binding's open request to the glow
// window shown (target under 2 ms), a close, and the heap after 1000 hover cycles against the
// heap after 10 (they must be equal: no slot, picture or window is left behind).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

#include "forms/form_layer.h"
#include "forms/glow_registry.h"
#include "framework/application.h"
#include "framework/form.h"
#include "platform/headless/headless_backend.h"
#include "skin/skin_manager.h"

namespace {

// A check box of 120 x 20 on the form, glowing 12 px out of a 13 px frame (overlap 1).
constexpr RECT kBox{200, 200, 320, 220};
constexpr int kMargin = 13, kOverlap = 1;

// A glow entry like the shipped skins': a masked 3 x 3 piece frame in the master bitmap, the
// mask falling off towards the rim.
void FillSkin(skin::TsSkinManager& m) {
    skin::TsSkinModel& model = m.Model();
    const int side = 3 * kMargin;
    model.MasterBitmap = std::make_unique<framework::TBitmap>(side, 2 * side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            std::uint8_t* p = model.MasterBitmap->ScanLine(y) + x * 3;
            p[0] = 255, p[1] = 200, p[2] = 90;
            int d = std::min({x, y, side - 1 - x, side - 1 - y});
            std::uint8_t* mask = model.MasterBitmap->ScanLine(y + side) + x * 3;
            mask[0] = mask[1] = mask[2] =
                static_cast<std::uint8_t>(255 - std::min(d, kMargin) * 255 / kMargin);
        }
    skin::TsGeneralData s;
    s.SectionName = "CHECKBOX";
    s.GlowCount = 1;
    s.GlowMargin = kOverlap;
    model.Sections.push_back(std::move(s));
    skin::TsMaskData e;
    e.SectionName = "CHECKBOX", e.PropertyName = "GLOW0", e.R = RECT{0, 0, side, 2 * side};
    e.ImageCount = 1, e.MaskType = 1, e.OwnerManager = &m;
    e.WL = e.WT = e.WR = e.WB = kMargin;
    model.Masks.push_back(std::move(e));
}

struct Scene {
    Scene() {
        static auto* screen = [] {
            auto backend = std::make_unique<platform::headless::HeadlessBackend>(SIZE{1280, 1024});
            auto* raw = backend.get();
            platform::InstallBackend(std::move(backend));
            return raw;
        }();
        this->screen = screen;
        app = std::make_unique<framework::TApplication>();
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        FillSkin(*manager);
        form = new framework::TForm(app.get());
        form->SetBorderStyle(framework::TFormBorderStyle::bsNone);
        form->SetBounds(100, 100, 500, 300);
        form->Show();
        app->ProcessMessages();
        layer = forms::InstallFormLayer();
        request.box = kBox;
        request.visible = RECT{0, 0, kBox.right - kBox.left, kBox.bottom - kBox.top};
        request.section = "CHECKBOX";
        request.manager = manager.get();
        request.parent = form->Handle();
        request.overlap = kOverlap;
    }
    ~Scene() {
        layer.reset();
        delete form;
        manager.reset();
        app.reset();
    }
    // One hover: the glow opens, is shown, and closes again on the mouse leave.
    void Hover(benchmark::State* state = nullptr) {
        int id = skin::FormLayer()->OpenGlow(request);
        if (state) state->PauseTiming();
        if (id < 0) {
            if (state) state->SkipWithError("no glow opened");
            return;
        }
        skin::FormLayer()->CloseGlow(id);
        app->ProcessMessages();
        if (state) state->ResumeTiming();
    }

    platform::headless::HeadlessBackend* screen = nullptr;
    std::unique_ptr<framework::TApplication> app;
    std::unique_ptr<skin::TsSkinManager> manager;
    framework::TForm* form = nullptr;
    std::unique_ptr<forms::TFormLayer> layer;
    skin::TsGlowRequest request;
};

// From the open request to the glow window shown with its picture: picture, window, layered
// update and show all happen inside the request.
void BM_GlowOpenToShown(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) scene.Hover(&state);
    state.counters["glow_px"] =
        static_cast<double>((kBox.right - kBox.left + 2 * (kMargin - kOverlap)) *
                            (kBox.bottom - kBox.top + 2 * (kMargin - kOverlap)));
}
BENCHMARK(BM_GlowOpenToShown)->Unit(benchmark::kMicrosecond);

// A whole hover cycle, open and close.
void BM_GlowHoverCycle(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) scene.Hover();
}
BENCHMARK(BM_GlowHoverCycle)->Unit(benchmark::kMicrosecond);

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// Heap in use after 10 hover cycles and after 1000: equal when nothing accumulates.
void BM_GlowHeapAfterCycles(benchmark::State& state) {
    Scene scene;
    std::size_t after10 = 0, after1000 = 0, slots = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) scene.Hover();
        after10 = HeapInUse();
        for (int i = 10; i < 1000; ++i) scene.Hover();
        after1000 = HeapInUse();
        slots = forms::GlowRegistrySlots();
    }
    state.counters["heap_after_10"] = static_cast<double>(after10);
    state.counters["heap_after_1000"] = static_cast<double>(after1000);
    state.counters["heap_growth"] = static_cast<double>(after1000) - static_cast<double>(after10);
    state.counters["registry_slots"] = static_cast<double>(slots);
}
BENCHMARK(BM_GlowHeapAfterCycles)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Painting bound controls: a 487 x 293 container with 20 bound children from a cold cache
// (every image prepared again) and from a warm one (images only copied to the screen), and
// one child's repaint after a hover change; beside them a memcpy of the window's 32-bit
// bytes, the yardstick of the targets.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "../tests/paint/bound_panel.h"
#include "framework/application.h"
#include "framework/form.h"
#include "platform/headless/headless_backend.h"
#include "skin/skin_manager.h"

namespace {

using paint_test::BoundPanel;

constexpr int kWidth = 487, kHeight = 293, kChildren = 20;

skin::TsMaskData Entry(const char* section, const char* property, RECT r, int images, int maskType, skin::TacImgType type,
                       int margin, skin::TsSkinManager* m) {
    skin::TsMaskData e;
    e.SectionName = section, e.PropertyName = property, e.R = r;
    e.ImageCount = static_cast<std::int16_t>(images), e.MaskType = static_cast<std::int16_t>(maskType);
    e.ImgType = type, e.OwnerManager = m;
    e.WL = e.WT = e.WR = e.WB = static_cast<std::int16_t>(margin);
    return e;
}

// A skin like the shipped ones: a textured container with a masked frame, children with a
// half-transparent fill, a two-state masked frame and a hot colour.
void FillSkin(skin::TsSkinManager& m) {
    skin::TsSkinModel& model = m.Model();
    model.MasterBitmap = std::make_unique<framework::TBitmap>(128, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) {
            std::uint8_t* p = model.MasterBitmap->ScanLine(y) + x * 3;
            p[0] = static_cast<std::uint8_t>(x * 2), p[1] = static_cast<std::uint8_t>(y * 4), p[2] = static_cast<std::uint8_t>(40 + (y < 32 ? 0 : 100));
        }
    auto section = [&](const char* name, framework::TColor color) -> skin::TsGeneralData& {
        skin::TsGeneralData s;
        s.SectionName = name, s.Color = color, s.HotColor = color ^ 0x303030;
        model.Sections.push_back(s);
        return model.Sections.back();
    };
    section("GLOBALINFO", 0x404040);
    section("CONTAINER", 0x605040).ImagePercent = 100;
    skin::TsGeneralData& child = section("CHILD", 0x2080C0);
    child.Transparency = 30;
    child.HotTransparency = 10;
    model.Masks.push_back(Entry("CONTAINER", "PATTERN", {0, 0, 16, 16}, 1, 0, skin::itisaTexture, 0, &m));
    model.Masks.push_back(Entry("CONTAINER", "BORDERSMASK", {16, 0, 40, 24}, 1, 1, skin::itisaBorder, 4, &m));
    model.Masks.push_back(Entry("CHILD", "BORDERSMASK", {40, 0, 88, 24}, 2, 1, skin::itisaBorder, 3, &m));
    model.UpdateIndexes();
    m.GlobalInfo().SkinReady = true;
}

struct Scene {
    Scene() {
        static bool installed = [] {
            platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>(SIZE{1280, 1024}));
            return true;
        }();
        (void)installed;
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        FillSkin(*manager);
        app.CreateForm(form);
        form->SetClientSize(kWidth, kHeight);
        container = new BoundPanel(form, "CONTAINER");
        container->Place(form, 0, 0, kWidth, kHeight);
        for (int i = 0; i < kChildren; ++i) {
            auto* c = new BoundPanel(form, "CHILD");
            c->SkinData.ControlKind = paint::ckSpeedButton;  // hot under the mouse
            c->Place(container, 12 + (i % 5) * 94, 12 + (i / 5) * 68, 86, 60);
            children.push_back(c);
        }
        form->Show();
        app.ProcessMessages();
    }
    ~Scene() {
        delete form;
        manager.reset();
    }
    void Redraw(HWND hwnd) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        app.ProcessMessages();
    }
    framework::TApplication app;
    std::unique_ptr<skin::TsSkinManager> manager;
    framework::TForm* form = nullptr;
    BoundPanel* container = nullptr;
    std::vector<BoundPanel*> children;
};

void BM_ColdPaintOf20BoundChildren(benchmark::State& state) {
    Scene s;
    for (auto _ : state) {
        s.container->SkinData.BgChanged = true;
        for (BoundPanel* c : s.children) c->SkinData.BgChanged = true;
        s.Redraw(s.container->Handle());
    }
    state.counters["prepares"] = static_cast<double>(s.children[0]->prepares);
}
BENCHMARK(BM_ColdPaintOf20BoundChildren)->Unit(benchmark::kMicrosecond);

void BM_WarmPaintOf20BoundChildren(benchmark::State& state) {
    Scene s;
    for (auto _ : state) s.Redraw(s.container->Handle());
}
BENCHMARK(BM_WarmPaintOf20BoundChildren)->Unit(benchmark::kMicrosecond);

// Preparing the 21 images alone, without the window machinery around them.
void BM_ColdPrepareOnly(benchmark::State& state) {
    Scene s;
    for (auto _ : state) {
        s.container->Prepare();
        for (BoundPanel* c : s.children) c->Prepare();
    }
}
BENCHMARK(BM_ColdPrepareOnly)->Unit(benchmark::kMicrosecond);

void BM_HoverRepaintOfOneChild(benchmark::State& state) {
    Scene s;
    BoundPanel* c = s.children[7];
    bool hot = false;
    for (auto _ : state) {
        hot = !hot;
        c->SkinData.MouseAbove = hot;
        c->SkinData.BgChanged = true;
        s.Redraw(c->Handle());
    }
}
BENCHMARK(BM_HoverRepaintOfOneChild)->Unit(benchmark::kMicrosecond);

void BM_MemcpyOfTheWindowsBytes(benchmark::State& state) {
    std::vector<std::uint8_t> from(static_cast<std::size_t>(kWidth) * kHeight * 4, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyOfTheWindowsBytes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

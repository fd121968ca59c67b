// Skinned controls on the headless screen: a status-bar clock tick (a panel's text changes,
// the bar's image is prepared again and the panel reaches the screen) and a check-box toggle,
// each with the number of screen pixels the repaint touched.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "../tests/paint/bound_panel.h"
#include "framework/application.h"
#include "framework/form.h"
#include "paint/check_box.h"
#include "paint/status_bar.h"
#include "platform/headless/headless_backend.h"
#include "skin/skin_manager.h"

namespace {

using paint_test::BoundPanel;

skin::TsMaskData Entry(const char* section, const char* property, RECT r, int images, skin::TacImgType type,
                       int margin, skin::TsSkinManager* m) {
    skin::TsMaskData e;
    e.SectionName = section, e.PropertyName = property, e.R = r;
    e.ImageCount = static_cast<std::int16_t>(images), e.ImgType = type, e.OwnerManager = m;
    e.WL = e.WT = e.WR = e.WB = static_cast<std::int16_t>(margin);
    return e;
}

// Textured container and bar, a framed half-transparent check box, three-state box glyphs,
// a divider and a grip: the parts the shipped skins use.
void FillSkin(skin::TsSkinManager& m) {
    skin::TsSkinModel& model = m.Model();
    model.MasterBitmap = std::make_unique<framework::TBitmap>(128, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) {
            std::uint8_t* p = model.MasterBitmap->ScanLine(y) + x * 3;
            p[0] = static_cast<std::uint8_t>(x * 2), p[1] = static_cast<std::uint8_t>(y * 4), p[2] = 90;
        }
    auto section = [&](const char* name, framework::TColor color) -> skin::TsGeneralData& {
        skin::TsGeneralData s;
        s.SectionName = name, s.Color = color, s.HotColor = color ^ 0x202020;
        s.FontColor = {0xFFFFFF, 0x202020, -1, -1, -1};
        model.Sections.push_back(s);
        return model.Sections.back();
    };
    section("GLOBALINFO", 0x404040);
    section("CONTAINER", 0x605040).ImagePercent = 100;
    section("STATUSBAR", 0x303030).ImagePercent = 100;
    section("CHECKBOX", 0x2080C0).Transparency = 60;
    section("DIVIDER", 0x808080);
    model.Masks.push_back(Entry("CONTAINER", "PATTERN", {0, 0, 16, 16}, 1, skin::itisaTexture, 0, &m));
    model.Masks.push_back(Entry("STATUSBAR", "PATTERN", {16, 0, 32, 16}, 1, skin::itisaTexture, 0, &m));
    model.Masks.push_back(Entry("CHECKBOX", "BORDERSMASK", {32, 0, 44, 4}, 2, skin::itisaBorder, 1, &m));
    model.Masks.push_back(Entry("DIVIDER", "BORDERSMASK", {48, 0, 51, 3}, 1, skin::itisaBorder, 1, &m));
    model.Masks.push_back(Entry("GLOBALINFO", "BOXCHECKED", {0, 16, 48, 32}, 3, skin::itisaGlyph, 0, &m));
    model.Masks.push_back(Entry("GLOBALINFO", "BOXUNCHECKED", {0, 32, 48, 48}, 3, skin::itisaGlyph, 0, &m));
    model.Masks.push_back(Entry("GLOBALINFO", "GRIPIMAGE", {64, 0, 76, 12}, 1, skin::itisaGlyph, 0, &m));
    model.UpdateIndexes();
    m.GlobalInfo().SkinReady = true;
}

constexpr int kScreenWidth = 1280, kScreenHeight = 1024;

struct Scene {
    Scene() {
        static platform::headless::HeadlessBackend* screen = [] {
            auto backend = std::make_unique<platform::headless::HeadlessBackend>(SIZE{kScreenWidth, kScreenHeight});
            auto* raw = backend.get();
            platform::InstallBackend(std::move(backend));
            return raw;
        }();
        backend = screen;
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        FillSkin(*manager);
        app.CreateForm(form);
        form->SetClientSize(487, 293);
        panel = new BoundPanel(form, "CONTAINER");
        panel->Place(form, 0, 0, 487, 293);
        bar = new paint::TsStatusBar(form);
        bar->SetAlign(framework::TAlign::alNone);
        bar->SetBounds(1, 273, 485, 19);
        for (int w : {380, 40, 35}) bar->Panels().Add()->SetWidth(w);
        bar->SetParent(panel);
        box = new paint::TsCheckBox(form);
        box->SetCaption("понедельник");
        box->SetBounds(20, 30, 97, 19);
        box->SetParent(panel);
        form->Show();
        app.ProcessMessages();
    }
    ~Scene() {
        delete form;
        manager.reset();
    }
    // Pixels of the screen that differ between two shots.
    static double Changed(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
        double n = 0;
        for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
        return n;
    }
    platform::headless::HeadlessBackend* backend = nullptr;
    framework::TApplication app;
    std::unique_ptr<skin::TsSkinManager> manager;
    framework::TForm* form = nullptr;
    BoundPanel* panel = nullptr;
    paint::TsStatusBar* bar = nullptr;
    paint::TsCheckBox* box = nullptr;
};

void BM_StatusBarClockTick(benchmark::State& state) {
    Scene s;
    int second = 0;
    char text[16];
    auto tick = [&] {
        std::snprintf(text, sizeof text, "07:%02d:%02d", (second / 60) % 60, second % 60);
        ++second;
        s.bar->Panels()[0]->SetText(text);
        s.app.ProcessMessages();
    };
    const auto before = s.backend->ComposeScreen();
    tick();
    state.counters["pixels_changed"] = Scene::Changed(before, s.backend->ComposeScreen());
    RECT panel{};
    SendMessage(s.bar->Handle(), framework::SB_GETRECT, 0, reinterpret_cast<LPARAM>(&panel));
    state.counters["pixels_repainted"] = static_cast<double>((panel.right - panel.left) * (panel.bottom - panel.top));
    state.counters["window_pixels"] = 487.0 * 293.0;
    for (auto _ : state) tick();
}
BENCHMARK(BM_StatusBarClockTick)->Unit(benchmark::kMicrosecond);

void BM_CheckBoxToggle(benchmark::State& state) {
    Scene s;
    auto toggle = [&] {
        s.box->SetChecked(!s.box->Checked());
        s.app.ProcessMessages();
    };
    const auto before = s.backend->ComposeScreen();
    toggle();
    state.counters["pixels_changed"] = Scene::Changed(before, s.backend->ComposeScreen());
    state.counters["pixels_repainted"] = static_cast<double>(s.box->Width() * s.box->Height());
    for (auto _ : state) toggle();
}
BENCHMARK(BM_CheckBoxToggle)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

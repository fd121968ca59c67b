// The three controls painted from the shipped skin DarkGlass on the headless screen, in each
// of their states. Every state must change the control's own pixels and nothing around it.
// With UTROZVON_SHOT_DIR set, each state is also written there as a PNG for a look by eye.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "bound_panel.h"
#include "framework/application.h"
#include "framework/form.h"
#include "paint/check_box.h"
#include "paint/speed_button.h"
#include "paint/status_bar.h"
#include "paint_test_support.h"
#include "platform/image_files.h"
#include "skin/skin_manager.h"
#include "support/headless_screen.h"

namespace paint_test {
namespace {

constexpr int kScreenW = 800, kScreenH = 600;

std::string SkinsDir() {
    return std::filesystem::path(UTROZVON_TEST_DATA).parent_path().parent_path() / "skins";
}

// A round stop glyph with soft edges: alpha from the distance to the centre.
std::unique_ptr<TBitmap> StopGlyph() {
    auto g = MakeBitmap(32, 32, 32, Rgb(0, 0, 0), 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int d2 = (x - 16) * (x - 16) + (y - 16) * (y - 16);
            const int a = d2 < 144 ? 255 : d2 < 196 ? (196 - d2) * 255 / 52 : 0;
            SetPx(*g, x, y, Rgb(220, 60, 50), static_cast<std::uint8_t>(a));
        }
    return g;
}

class ShippedSkinControls : public ::testing::Test {
  protected:
    void SetUp() override {
        test_support::HeadlessScreen();
        app = std::make_unique<framework::TApplication>();
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        manager->SetSkinDirectory(SkinsDir());
        manager->SetSkinName("DarkGlass");
        ASSERT_TRUE(manager->GlobalInfo().SkinReady);
        form = new framework::TForm(app.get());
        form->SetBounds(0, 0, 500, 330);
        panel = new BoundPanel(form, "PANEL");
        panel->Place(form, 0, 0, 487, 293);
        box = new paint::TsCheckBox(form);
        box->SkinData.SetSkinSection("CHECKBOX");
        box->SetCaption("понедельник");
        box->SetBounds(20, 30, 97, 19);
        box->TabStop = false;  // the first focus would make it hot from the start
        box->SetParent(panel);
        toggle = new paint::TsSpeedButton(form);
        toggle->SkinData.SetSkinSection("SPEEDBUTTON");
        toggle->SetCaption("Вкл");
        toggle->SetParentFont(false);
        toggle->Font().SetName("Arial");
        toggle->Font().SetHeight(-16);
        toggle->SetBounds(20, 100, 73, 33);
        toggle->SetParent(panel);
        stop = new paint::TsSpeedButton(form);
        stop->SkinData.SetSkinSection("SPLITTER");
        stop->Flat = true;
        stop->Glyph().Assign(*StopGlyph());
        stop->SetBounds(110, 100, 49, 33);
        stop->SetParent(panel);
        bar = new paint::TsStatusBar(form);
        bar->SetAlign(framework::TAlign::alNone);
        bar->SetBounds(1, 273, 485, 19);
        for (int w : {380, 40, 35}) bar->Panels().Add()->SetWidth(w);
        bar->Panels()[0]->SetText("07:00:00");
        bar->Panels()[1]->SetText("Вкл");
        bar->SetParent(panel);
        form->Show();
        app->ProcessMessages();
    }
    void TearDown() override {
        delete form;
        manager.reset();
        app.reset();
    }
    std::vector<std::uint32_t> Shot(const char* name) {
        app->ProcessMessages();
        std::vector<std::uint32_t> s = test_support::HeadlessScreen().ComposeScreen();
        if (const char* dir = std::getenv("UTROZVON_SHOT_DIR")) {
            platform::gdi::PixelBuffer px;
            px.bits = reinterpret_cast<BYTE*>(s.data());
            px.width = kScreenW, px.height = 330, px.stride = kScreenW * 4;
            platform::WritePng(std::string(dir) + "/" + name + ".png", px, false);
        }
        return s;
    }
    // The changed pixels lie inside control (in screen coordinates) and there are some.
    void ExpectChangeWithin(const std::vector<std::uint32_t>& a,
                            const std::vector<std::uint32_t>& b, framework::TControl* control,
                            const char* what) {
        const POINT o = control->ClientToScreen(POINT{0, 0});
        int inside = 0, outside = 0;
        for (int y = 0; y < kScreenH; ++y)
            for (int x = 0; x < kScreenW; ++x) {
                const std::size_t i =
                    static_cast<std::size_t>(y) * kScreenW + static_cast<std::size_t>(x);
                if (a[i] == b[i]) continue;
                const bool in = x >= o.x && x < o.x + control->Width() && y >= o.y &&
                                y < o.y + control->Height();
                (in ? inside : outside)++;
            }
        EXPECT_GT(inside, 0) << what;
        EXPECT_EQ(outside, 0) << what;
    }
    void Enter(framework::TControl* c) {
        c->Perform(framework::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(c));
    }
    void Leave(framework::TControl* c) {
        c->Perform(framework::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(c));
    }

    std::unique_ptr<framework::TApplication> app;
    std::unique_ptr<skin::TsSkinManager> manager;
    framework::TForm* form = nullptr;
    BoundPanel* panel = nullptr;
    paint::TsCheckBox* box = nullptr;
    paint::TsSpeedButton* toggle = nullptr;
    paint::TsSpeedButton* stop = nullptr;
    paint::TsStatusBar* bar = nullptr;
};

TEST_F(ShippedSkinControls, EveryStateChangesOnlyItsControl) {
    ASSERT_TRUE(box->SkinData.IsSkinned());
    ASSERT_TRUE(stop->SkinData.IsSkinned());
    ASSERT_TRUE(bar->SkinData.IsSkinned());
    auto prev = Shot("00_normal");
    auto step = [&](const char* name, framework::TControl* c, const std::function<void()>& act) {
        act();
        auto now = Shot(name);
        ExpectChangeWithin(prev, now, c, name);
        prev = std::move(now);
    };
    step("01_box_checked", box, [&] { box->SetChecked(true); });
    step("02_box_hot", box, [&] { Enter(box); });
    step("03_box_pressed", box,
         [&] { box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); });
    step("04_box_grayed", box, [&] {
        box->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        box->SetState(framework::TCheckBoxState::cbGrayed);
    });
    step("05_box_disabled", box, [&] { box->SetEnabled(false); });
    step("06_toggle_hot", toggle, [&] { Enter(toggle); });
    step("07_toggle_pressed", toggle,
         [&] { toggle->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); });
    step("08_toggle_caption", toggle, [&] {
        toggle->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Leave(toggle);
        toggle->SetCaption("Выкл");
    });
    step("09_stop_hot", stop, [&] { Enter(stop); });
    step("10_stop_pressed", stop,
         [&] { stop->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); });
    step("11_stop_disabled", stop, [&] {
        stop->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Leave(stop);
        stop->SetEnabled(false);
    });
    step("12_bar_tick", bar, [&] { bar->Panels()[0]->SetText("07:00:01"); });
}

// The bar's first paint builds a fresh image; later paints either rebuild it (a changed
// text) or show the kept one with its corners laid again. All of them must leave the same
// pixels in the bar's edge columns, beside the panel's edge.
TEST_F(ShippedSkinControls, StatusBarEdgesAreTheSameOnFirstPaintAndEveryRepaint) {
    ASSERT_TRUE(bar->SkinData.IsSkinned());
    const POINT o = bar->ClientToScreen(POINT{0, 0});
    auto edges = [&] {
        const std::vector<std::uint32_t> s = Shot("edges");
        std::vector<std::uint32_t> columns;
        for (int y = 0; y < bar->Height(); ++y)
            for (int x : {0, 1, bar->Width() - 2, bar->Width() - 1})
                columns.push_back(s[static_cast<std::size_t>(o.y + y) * kScreenW +
                                    static_cast<std::size_t>(o.x + x)]);
        return columns;
    };
    // With the grip in its corner, and without it as on the main window.
    for (bool grip : {true, false}) {
        bar->SizeGrip = grip;
        bar->SkinData.BgChanged = true;
        bar->Invalidate();
        const std::vector<std::uint32_t> first = edges();
        bar->Panels()[0]->SetText(grip ? "07:00:01" : "07:00:02");
        EXPECT_EQ(edges(), first) << "a rebuilt image after a text change, grip " << grip;
        bar->Invalidate();
        EXPECT_EQ(edges(), first) << "the kept image, grip " << grip;
        RedrawWindow(form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        EXPECT_EQ(edges(), first) << "the whole window again, grip " << grip;
    }
}

}  // namespace
}  // namespace paint_test

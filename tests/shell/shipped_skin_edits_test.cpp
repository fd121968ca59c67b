// The day row's edits painted from the shipped skin DarkGlass on the headless screen: the
// frame's see-through inner pixels show the edit's own fill, not the panel, and the browse
// button's glyph sits on the edit's image.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/application.h"
#include "framework/form.h"
#include "paint/bound_panel.h"
#include "paint/edit.h"
#include "paint/paint_test_support.h"
#include "platform/image_files.h"
#include "shell/file_edit.h"
#include "skin/skin_manager.h"
#include "support/headless_screen.h"

namespace paint_test {
namespace {

constexpr int kScreenW = 800;

std::string SkinsDir() {
    return std::filesystem::path(UTROZVON_TEST_DATA).parent_path().parent_path() / "skins";
}

class ShippedSkinEdits : public ::testing::Test {
  protected:
    void SetUp() override {
        test_support::HeadlessScreen();
        app = std::make_unique<framework::TApplication>();
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        manager->SetSkinDirectory(SkinsDir());
        manager->SetSkinName("DarkGlass");
        ASSERT_TRUE(manager->GlobalInfo().SkinReady);
        form = new framework::TForm(app.get());
        form->SetBounds(0, 0, 420, 120);
        panel = new BoundPanel(form, "PANEL");
        panel->Place(form, 0, 0, 400, 90);
        time = new paint::TsEdit(form);
        time->TabStop = false;
        time->SetBounds(10, 20, 49, 21);
        time->SetText("07:00:00");
        time->SetParent(panel);
        melody = new shell::TsFilenameEdit(form);
        melody->TabStop = false;
        melody->SetColor(framework::clWhite);
        melody->SetBounds(70, 20, 297, 21);
        melody->SetParent(panel);
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
            px.width = kScreenW, px.height = 120, px.stride = kScreenW * 4;
            platform::WritePng(std::string(dir) + "/" + name + ".png", px, false);
        }
        return s;
    }
    // A pixel of the window of c (frame included), as RGB.
    TColor WindowPixel(const std::vector<std::uint32_t>& s, framework::TWinControl* c, int x,
                       int y) {
        RECT r{};
        GetWindowRect(c->Handle(), &r);
        const std::uint32_t v = s[static_cast<std::size_t>(r.top + y) * kScreenW + r.left + x];
        return Rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

    // The largest difference of one channel.
    static int Distance(TColor a, TColor b) {
        return std::max({std::abs(R(a) - R(b)), std::abs(G(a) - G(b)), std::abs(B(a) - B(b))});
    }

    std::unique_ptr<framework::TApplication> app;
    std::unique_ptr<skin::TsSkinManager> manager;
    framework::TForm* form = nullptr;
    BoundPanel* panel = nullptr;
    paint::TsEdit* time = nullptr;
    shell::TsFilenameEdit* melody = nullptr;
};

// The frame of DarkGlass's "EDIT" is 4 pixels wide with see-through pixels inside its dark
// and light lines; the melody edit showed the panel through them in the corners, a bar at its
// left edge cut by the middle row. The fill colour is the section's.
TEST_F(ShippedSkinEdits, FrameCornersShowTheEditsFillInsideTheirLines) {
    const auto s = Shot("edits");
    const TColor fill =
        manager->Model()
            .Sections[static_cast<std::size_t>(manager->Model().FindSection("EDIT"))]
            .Color;
    const TColor panelColor = WindowPixel(s, panel, 5, 5);
    ASSERT_GT(Distance(panelColor, fill), 20);
    // The frame's inner pixels let almost all of the fill through.
    for (int y : {3, 5, 10, 15, 17}) {
        for (int x : {2, 3}) {
            EXPECT_LE(Distance(WindowPixel(s, melody, x, y), fill), 3) << "left, " << x << "," << y;
            EXPECT_LE(Distance(Px(*melody->SkinData.CacheBmp, x, y), fill), 3)
                << "image, " << x << "," << y;
        }
        EXPECT_LE(Distance(WindowPixel(s, melody, 297 - 4, y), fill), 3) << "right, row " << y;
    }
    EXPECT_EQ(WindowPixel(s, melody, 0, 0), Px(*melody->SkinData.CacheBmp, 0, 0));
}

TEST_F(ShippedSkinEdits, BrowseButtonShowsItsPageAndTheHotPlate) {
    shell::TsEditButton* b = melody->Button();
    ASSERT_TRUE(b->SkinData.IsSkinned()) << "DarkGlass has SPEEDBUTTON_SMALL";
    const auto rest = Shot("button_rest");
    b->Perform(framework::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
    const auto hot = Shot("button_hot");
    RECT w{};
    GetWindowRect(melody->Handle(), &w);
    int changed = 0, outside = 0;
    for (int y = w.top; y < w.bottom; ++y)
        for (int x = w.left; x < w.right; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * kScreenW + x;
            if (rest[i] == hot[i]) continue;
            const bool onButton = x >= w.left + 2 + b->Left() && x < w.left + 2 + b->Left() + 16;
            (onButton ? changed : outside)++;
        }
    EXPECT_GT(changed, 100) << "plate and magnifier";
    b->Perform(framework::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(b));
    const auto back = Shot("button_back");
    int differ = 0;
    for (int y = w.top; y < w.bottom; ++y)
        for (int x = w.left; x < w.right; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * kScreenW + x;
            differ += back[i] != rest[i] ? 1 : 0;
        }
    EXPECT_EQ(differ, 0) << "leaving brings the resting look back";
}

}  // namespace
}  // namespace paint_test

// Glow windows on the headless screen: where they go, when there is none, how they look over
// the form, and that clicks pass through them.
#include <cstdlib>

#include "glow_test_support.h"

namespace forms_test {
namespace {

using forms::OpenGlowWindow;

// A 60 x 30 control at (150, 150) on the screen; frame 6, 5, 7, 8; overlap 2 (full 69 x 39).
constexpr RECT kBox{150, 150, 210, 180};

class GlowWindow : public GlowTest {
  protected:
    void SetUp() override {
        GlowTest::SetUp();
        AddSection("BUTTON");
        AddFrameEntry("BUTTON", "GLOW0", 6, 5, 7, 8);
    }
};

TEST_F(GlowWindow, SitsAroundTheControlAndIsCutWhereTheControlIs) {
    struct Row {
        const char* name;
        RECT visible;
        RECT window;
    } rows[] = {
        {"whole", {0, 0, 60, 30}, {146, 147, 215, 186}},
        {"cut at the left", {15, 0, 60, 30}, {165, 147, 215, 186}},
        {"cut at the right", {0, 0, 40, 30}, {146, 147, 190, 186}},
    };
    for (const Row& row : rows) {
        int id = Open(kBox, row.visible, 2);
        ASSERT_GE(id, 0) << row.name;
        EXPECT_EQ(GlowRect(id), row.window) << row.name;
        HWND h = forms::FindGlow(id)->GlowForm()->Handle();
        EXPECT_TRUE(IsWindowVisible(h)) << row.name;
        DWORD ex = static_cast<DWORD>(GetWindowLongPtr(h, GWL_EXSTYLE));
        EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TOOLWINDOW), WS_EX_LAYERED | WS_EX_TOOLWINDOW)
            << row.name;
        EXPECT_EQ(forms::FindGlow(id)->GlowForm()->Tag, forms::kGlowFormTag);
        forms::CloseGlowWindow(id);
        EXPECT_FALSE(IsWindow(h)) << row.name;
    }
}

TEST_F(GlowWindow, OnlyTheSectionsOwnEntryGlows) {
    AddSection("BASE");
    AddSection("CHILD", "BASE");
    AddFrameEntry("BASE", "GLOW0", 4, 4, 4, 4);
    AddFrameEntry("CHILD", "GLOW1", 4, 4, 4, 4);  // not the first glow entry
    AddFrameEntry("CHILD", "HOTGLOW0", 4, 4, 4, 4);
    EXPECT_EQ(Open(kBox, RECT{0, 0, 60, 30}, 0, "CHILD"), -1);
    EXPECT_EQ(forms::OpenGlowCount(), 0u);
    EXPECT_GE(Open(kBox, RECT{0, 0, 60, 30}, 0, "BASE"), 0);
    EXPECT_EQ(Open(kBox, RECT{0, 0, 60, 30}, 0, "NOSUCH"), -1);
    EXPECT_EQ(Open(kBox, RECT{0, 0, 60, 30}, 0, ""), -1);
}

TEST_F(GlowWindow, WithoutAManagerTheDefaultOneIsRead) {
    ASSERT_EQ(skin::DefaultManager(), manager.get());
    int id = OpenGlowWindow(kBox, RECT{0, 0, 60, 30}, "BUTTON", nullptr, form->Handle(), 2, "GLOW");
    ASSERT_GE(id, 0);
    EXPECT_EQ(GlowRect(id), (RECT{146, 147, 215, 186}));
}

TEST_F(GlowWindow, NoLayeredWindowsNoGlow) {
    Screen().layered = false;
    EXPECT_EQ(Open(kBox, RECT{0, 0, 60, 30}, 2), -1);
    EXPECT_EQ(forms::OpenGlowCount(), 0u);
    Screen().layered = true;
    EXPECT_GE(Open(kBox, RECT{0, 0, 60, 30}, 2), 0);
}

TEST_F(GlowWindow, NoWindowOfNoArea) {
    EXPECT_EQ(Open(RECT{150, 150, 154, 180}, RECT{0, 0, 4, 30}, 9), -1);
    EXPECT_EQ(Open(kBox, RECT{0, 0, 0, 0}, 2), -1);
    EXPECT_EQ(Open(RECT{150, 150, 150000, 180}, RECT{0, 0, 149850, 30}, 2), -1);
    EXPECT_EQ(forms::OpenGlowCount(), 0u);
    EXPECT_EQ(forms::GlowRegistrySlots(), 0u);
}

TEST_F(GlowWindow, LiesDirectlyAboveTheFormAndStaysOnTopOnlyWithIt) {
    auto* other = new framework::TForm(app.get());
    other->SetBorderStyle(framework::TFormBorderStyle::bsNone);
    other->SetBounds(600, 400, 50, 50);
    other->Show();
    Pump();
    int id = Open(kBox, RECT{0, 0, 60, 30}, 2);
    HWND glow = forms::FindGlow(id)->GlowForm()->Handle();
    EXPECT_EQ(GetWindow(glow, GW_HWNDNEXT), form->Handle());
    EXPECT_EQ(GetWindowLongPtr(glow, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    forms::CloseGlowWindow(id);

    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_NE(GetWindowLongPtr(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    id = Open(kBox, RECT{0, 0, 60, 30}, 2);
    glow = forms::FindGlow(id)->GlowForm()->Handle();
    EXPECT_NE(GetWindowLongPtr(glow, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    delete other;
}

TEST_F(GlowWindow, ClicksOnTheHaloReachTheFormBeneath) {
    int downs = 0;
    POINT at{};
    form->OnMouseDown = [&](framework::TObject*, framework::TMouseButton, framework::TShiftState,
                            int x, int y) {
        ++downs;
        at = POINT{x, y};
    };
    int id = Open(kBox, RECT{0, 0, 60, 30}, 2);
    HWND glow = forms::FindGlow(id)->GlowForm()->Handle();
    const POINT halo{147, 160};  // inside the glow window, left of the control
    EXPECT_EQ(WindowFromPoint(halo), form->Handle());
    EXPECT_EQ(SendMessage(glow, WM_NCHITTEST, 0, MAKELPARAM(halo.x, halo.y)), HTTRANSPARENT);
    Screen().Click(platform::MouseButton::Left, halo);
    Pump();
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(at.x, halo.x - 50);
    EXPECT_EQ(at.y, halo.y - 50);
    EXPECT_NE(GetForegroundWindow(), glow);
    EXPECT_TRUE(IsWindow(glow));
}

// The screen over the halo: premultiplied glow + form * (255 - alpha) / 255 per channel.
TEST_F(GlowWindow, TheScreenShowsTheHaloBlendedAndTheControlUntouched) {
    skin::TsMaskData e;
    e.SectionName = "BUTTON";
    e.PropertyName = "GLOW0";
    e.R = RECT{0, 0, 9, 18};  // a 9 x 9 frame over its mask
    e.ImageCount = 1;
    e.MaskType = 1;
    e.WL = e.WT = e.WR = e.WB = 3;
    model().MasterBitmap =
        paint_test::MakeBitmap(9, 18, 24, Rgb(50, 100, 200));  // blue 200, green 100, red 50
    for (int y = 9; y < 18; ++y)
        for (int x = 0; x < 9; ++x)
            paint_test::SetPx(*model().MasterBitmap, x, y, Rgb(128, 128, 128));
    model().Masks.clear();
    AddEntry(std::move(e));

    int id = Open(kBox, RECT{0, 0, 60, 30}, 1);
    ASSERT_GE(id, 0);
    Pump();
    // Glow (100, 50, 25) with alpha 127 over the form (40, 80, 120):
    // blue 100 + 40 * 128 / 255 = 120, green 50 + 80 * 128 / 255 = 90, red 25 + 120 * 128 / 255
    // = 85. The window is (148, 148) to (212, 182), its frame 3 px wide.
    EXPECT_EQ(ScreenPixel(POINT{148, 160}), (Bgr{120, 90, 85}));  // 2 px left of the control
    EXPECT_EQ(ScreenPixel(POINT{180, 150}),
              (Bgr{120, 90, 85}));  // 1 px into the control (overlap 1)
    EXPECT_EQ(ScreenPixel(POINT{211, 181}), (Bgr{120, 90, 85}));  // the bottom-right corner
    EXPECT_EQ(ScreenPixel(POINT{180, 151}), (Bgr{40, 80, 120}));  // over the control
    EXPECT_EQ(ScreenPixel(POINT{147, 160}), (Bgr{40, 80, 120}));  // beyond the glow
    if (const char* shot = std::getenv("UTROZVON_GLOW_SHOT")) Screen().SaveScreenshot(shot);
}

}  // namespace
}  // namespace forms_test

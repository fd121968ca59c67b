// A skinned form brought onto the screen by the show animation, the skin-change animation
// showing the new skin, and the skinned window printed with WM_PRINT (what the animations
// capture).
#include "framework/canvas.h"
#include "paint/panel.h"
#include "provider_test_support.h"
#include "skin/window_animation.h"

namespace provider_test {
namespace {

struct ShownFrame {
    int index = 0, count = 0, opacity = 0;
    bool formVisible = false;
    TColor frame = 0, title = 0, client = 0;  // (0, 100), (kW / 2, 5), (100, 100) of the picture
    HWND window = nullptr;
};

class ProviderShowTest : public ProviderTest {
  protected:
    void SetUp() override {
        ProviderTest::SetUp();
        skin::SetAnimationObserver([this](const skin::TsAnimationFrame& f) {
            frames.push_back({f.index, f.count, f.opacity, IsWindowVisible(form->Handle()) != 0,
                              paint_test::Px(*f.image, 0, 100), paint_test::Px(*f.image, kW / 2, 5),
                              paint_test::Px(*f.image, 100, 100), f.window});
        });
    }
    void TearDown() override {
        skin::SetAnimationObserver(nullptr);
        skin::SetLayeredQuery(nullptr);
        ProviderTest::TearDown();
    }
    std::vector<int> Opacities() const {
        std::vector<int> result;
        for (const ShownFrame& f : frames) result.push_back(f.opacity);
        return result;
    }
    // On the screen as the skin draws it, and nothing of the animation left.
    void ExpectShownSkinned(TColor title) {
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        EXPECT_FALSE(skin::AnimatingSkinChange);
        EXPECT_FALSE(provider->SkinData().Updating);
        EXPECT_EQ(At(kW / 2, 5), title);
        EXPECT_EQ(At(0, 100), kFrame1);
        EXPECT_EQ(At(100, 100), kForm1);
        for (const ShownFrame& f : frames) EXPECT_FALSE(IsWindow(f.window));
    }
    std::vector<ShownFrame> frames;
};

TEST_F(ProviderShowTest, ShowAnimationFadesTheSkinnedPictureInWhileTheFormStaysFrozen) {
    manager->AnimEffects.FormShow = {true, 50, skin::atFading};
    Start();
    EXPECT_EQ(Opacities(), (std::vector<int>{51, 102, 153, 204, 255, 255}));
    for (const ShownFrame& f : frames) {
        EXPECT_EQ(f.count, 6);
        EXPECT_FALSE(f.formVisible) << f.index;  // nothing of the form itself on the screen yet
        // The picture is the skinned window: the active frame, title band and client colour,
        // not the system's frame.
        EXPECT_EQ(f.frame, kFrame1) << f.index;
        EXPECT_EQ(f.title, kTitle1) << f.index;
        EXPECT_EQ(f.client, kForm1) << f.index;
    }
    ExpectShownSkinned(kTitle1);
}

// Regression: the animation ran before the form's controls counted as showing, so skinned
// controls were missing from the captured picture and, their images never made, painted
// black once the form was handed over.
TEST_F(ProviderShowTest, SkinnedControlsAreInTheShowPictureAndOnTheFormAfterwards) {
    constexpr TColor kPanelColour = Rgb(30, 160, 90);
    AddSection("PANEL", kPanelColour);
    Ready();
    auto* panel = new paint::TsPanel(form);
    panel->SetParent(form);
    panel->SetBounds(100, 60, 80, 40);
    panel->SkinData.SetSkinSection("PANEL");
    panel->SkinData.AfterCreate();
    std::vector<TColor> captured;
    skin::SetAnimationObserver([&](const skin::TsAnimationFrame& f) {
        captured.push_back(paint_test::Px(*f.image, kB + 140, kB + kT + 80));
    });
    provider = new forms::TsSkinProvider(form);
    form->Show();
    Pump();
    EXPECT_EQ(captured, std::vector<TColor>{kPanelColour});
    EXPECT_EQ(At(kB + 140, kB + kT + 80), kPanelColour);
    EXPECT_EQ(At(kB + 50, kB + kT + 80), kForm1);
}

// A form hidden by a timer while its show animates: the frames stop, the form stays hidden,
// and its next show animates and paints as the first one would (its painting is unlocked).
framework::TCustomForm* g_toHide = nullptr;
void HideForm(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_toHide->Hide();
}

TEST_F(ProviderShowTest, FormHiddenWhileItsShowAnimatesStaysHiddenAndShowsAgainLater) {
    manager->AnimEffects.FormShow = {true, 1000, skin::atFading};
    g_toHide = form;
    SetTimer(nullptr, 0, 50, &HideForm);
    Start();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(form->Showing());
    EXPECT_GE(frames.size(), 1u);
    EXPECT_LT(frames.size(), 30u);  // of 101
    EXPECT_FALSE(skin::AnimatingSkinChange);
    for (const ShownFrame& f : frames) EXPECT_FALSE(IsWindow(f.window));

    frames.clear();
    manager->AnimEffects.FormShow.Time = 0;
    form->Show();
    Pump();
    EXPECT_EQ(frames.size(), 1u);
    ExpectShownSkinned(kTitle1);
    Deactivate();  // the frame follows: nothing holds its painting back
    EXPECT_EQ(At(0, 100), kFrame0);
}

// The main window's settings: the effect is on with time 0.
TEST_F(ProviderShowTest, ShowWithTimeZeroIsOneOpaqueFrameThenTheWindow) {
    ASSERT_TRUE(manager->AnimEffects.FormShow.Active);
    ASSERT_EQ(manager->AnimEffects.FormShow.Time, 0);
    Start();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].opacity, 255);
    EXPECT_EQ(frames[0].title, kTitle1);
    ExpectShownSkinned(kTitle1);

    // Hidden and shown again: animated again.
    form->Hide();
    Pump();
    form->Show();
    Pump();
    EXPECT_EQ(frames.size(), 2u);
    ExpectShownSkinned(kTitle1);
}

TEST_F(ProviderShowTest, ShowWithoutLayeredWindowsOrWithTheEffectOffIsPlain) {
    manager->AnimEffects.FormShow = {true, 200, skin::atAero};
    skin::SetLayeredQuery([] { return false; });
    Start();
    EXPECT_TRUE(frames.empty());
    ExpectShownSkinned(kTitle1);

    form->Hide();
    Pump();
    skin::SetLayeredQuery(nullptr);
    manager->AnimEffects.FormShow.Active = false;
    form->Show();
    Pump();
    EXPECT_TRUE(frames.empty());
    ExpectShownSkinned(kTitle1);
}

// The skin-change animation shows the new skin from its first frame on.
TEST_F(ProviderShowTest, SkinChangeAnimationShowsTheNewSkin) {
    Start();
    frames.clear();
    manager->AnimEffects.SkinChanging = {true, 30, skin::atFading};
    constexpr TColor kNewTitle = Rgb(120, 20, 140);
    model().Sections[static_cast<std::size_t>(model().FindSection("FORMTITLE"))].HotColor =
        kNewTitle;
    manager->SendNewSkin(true);
    Pump();
    EXPECT_EQ(Opacities(), (std::vector<int>{85, 170, 255, 255}));
    for (const ShownFrame& f : frames) {
        EXPECT_EQ(f.title, kNewTitle) << f.index;
        EXPECT_EQ(f.frame, kFrame1) << f.index;
    }
    ExpectShownSkinned(kNewTitle);
}

// Regression: a plain form's window image holds no client; a paint while a skin change
// animates (when every binding paints from its cache) copied that empty client to the screen.
TEST_F(ProviderShowTest, PlainFormPaintedWhileASkinChangeAnimatesKeepsItsClientColour) {
    Start();
    ASSERT_EQ(At(100, 100), kForm1);
    skin::AnimatingSkinChange = true;
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(At(100, 100), kForm1);
    EXPECT_EQ(At(kW / 2, 5), kTitle1);
    skin::AnimatingSkinChange = false;
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(At(100, 100), kForm1);
}

TEST_F(ProviderShowTest, PrintGivesTheSkinnedWindowWithChildrenAndOnPaint) {
    constexpr TColor kPanel = Rgb(0, 0, 255), kPainted = Rgb(255, 128, 0);
    auto* panel = new framework::TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(200, 100, 40, 30);
    panel->SetColor(kPanel);
    form->OnPaint = [this](framework::TObject*) {
        form->Canvas().Brush.SetColor(kPainted);
        form->Canvas().FillRect(RECT{10, 10, 20, 20});
    };
    Start();
    auto picture = paint_test::MakeBitmap(kW, kH, 32, kMagenta);
    form->PaintTo(picture->Canvas().Handle(), 0, 0);
    const TColor client = kForm1;
    EXPECT_EQ(paint_test::Px(*picture, 0, 100), kFrame1);
    EXPECT_EQ(paint_test::Px(*picture, kW - 1, 100), kFrame1);
    EXPECT_EQ(paint_test::Px(*picture, 100, kH - 1), kFrame1);
    EXPECT_EQ(paint_test::Px(*picture, kW / 2, 5), kTitle1);
    EXPECT_EQ(paint_test::Px(*picture, kB + 5, kB + kT + 5), client);
    EXPECT_EQ(paint_test::Px(*picture, kB + 15, kB + kT + 15), kPainted);  // OnPaint at (10, 10)
    EXPECT_EQ(paint_test::Px(*picture, kB + 20, kB + kT + 20), client);
    EXPECT_EQ(paint_test::Px(*picture, kB + 220, kB + kT + 115), kPanel);  // the child's middle
    EXPECT_EQ(paint_test::Px(*picture, kB + 250, kB + kT + 115), client);

    // Only the client, without children: the frame and the child's place are left alone.
    picture = paint_test::MakeBitmap(kW, kH, 32, kMagenta);
    SendMessage(form->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(picture->Canvas().Handle()),
                PRF_CLIENT);
    EXPECT_EQ(paint_test::Px(*picture, 0, 100), kMagenta);
    EXPECT_EQ(paint_test::Px(*picture, kW / 2, 5), kMagenta);
    EXPECT_EQ(paint_test::Px(*picture, kB + 5, kB + kT + 5), client);
    EXPECT_EQ(paint_test::Px(*picture, kB + 220, kB + kT + 115), client);
    EXPECT_EQ(paint_test::Px(*picture, kW - 1, kH - 1), kMagenta);  // beyond the client
}

}  // namespace
}  // namespace provider_test

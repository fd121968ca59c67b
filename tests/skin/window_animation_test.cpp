// The show and skin-change animation: frames, opacities, the aero box, where the animation
// window sits, and that the form always ends unfrozen while the message loop keeps running.
#include "skin/window_animation.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "framework/application.h"
#include "framework/form.h"
#include "framework/std_controls.h"
#include "platform/clock.h"
#include "skin/capture_window.h"
#include "skin/skin_commands.h"
#include "skin/skin_engine.h"
#include "skin/skin_manager.h"

namespace {

using namespace skin;

// A provider that hands out its picture or fails while rendering it.
class PictureProvider : public TsProviderLink {
  public:
    PictureProvider(framework::TCustomForm* form, TsSkinManager* manager)
        : form_(form), manager_(manager) {
        RegisterProviderForm(this);
    }
    ~PictureProvider() override { UnregisterProviderForm(this); }
    framework::TCustomForm* Form() const override { return form_; }
    TsSkinManager* Manager() const override { return manager_; }
    void SetSkinChanging(bool) override {}
    bool DrawsFrame() const override { return drawsFrame; }
    void RepaintFrame() override {}
    int FormAlpha() const override { return alpha; }
    framework::TBitmap* RenderWindowPicture() override {
        if (failRendering) throw std::runtime_error("render failed");
        return nullptr;
    }
    bool drawsFrame = true;
    bool failRendering = false;
    int alpha = 255;

  private:
    framework::TCustomForm* form_;
    TsSkinManager* manager_;
};

// A form that answers scGetProvider as a skinned form does.
class ProvidedForm : public framework::TForm {
  public:
    using framework::TForm::TForm;
    TsProviderLink* link = nullptr;

  protected:
    void WndProc(framework::TMessage& m) override {
        if (m.Msg == SM_SKINCMD && SkinCommandOf(m.WParam) == scGetProvider) {
            m.Result = reinterpret_cast<LRESULT>(link);
            return;
        }
        framework::TForm::WndProc(m);
    }
};

struct Seen {
    TsAnimationFrame frame;
    bool animating = false;
    bool formVisible = false;
};

class WindowAnimationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form = new ProvidedForm(&app);
        form->SetBounds(100, 80, 200, 160);
        form->Show();
        SetAnimationObserver([this](const TsAnimationFrame& f) {
            seen.push_back({f, AnimatingSkinChange, form && IsWindowVisible(form->Handle())});
        });
    }
    void TearDown() override {
        SetAnimationObserver(nullptr);
        SetLayeredQuery(nullptr);
        AnimatingSkinChange = false;
    }
    void Freeze() { SendMessage(form->Handle(), WM_SETREDRAW, 0, 0); }
    std::vector<int> Opacities() const {
        std::vector<int> result;
        for (const Seen& s : seen) result.push_back(s.frame.opacity);
        return result;
    }
    // The form is back: visible, unmarked, the animation window gone.
    void ExpectHandedOver() {
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        EXPECT_FALSE(AnimatingSkinChange);
        for (const Seen& s : seen) EXPECT_FALSE(IsWindow(s.frame.window));
    }

    framework::TApplication app;
    ProvidedForm* form = nullptr;
    std::vector<Seen> seen;
};

TEST_F(WindowAnimationTest, FadingRisesInRealStepsOneFrameMoreThanTimeDivTen) {
    Freeze();
    std::int64_t start = platform::MonotonicMilliseconds();
    AnimateWindowIn(*form, 100, 255, atFading);
    std::int64_t took = platform::MonotonicMilliseconds() - start;
    EXPECT_EQ(Opacities(), (std::vector<int>{26, 51, 77, 102, 128, 153, 179, 204, 230, 255, 255}));
    for (const Seen& s : seen) {
        EXPECT_EQ(s.frame.count, 11);
        EXPECT_TRUE(s.animating);
        EXPECT_FALSE(s.formVisible);  // still frozen under the animation window
        EXPECT_EQ(s.frame.picture.left, 0);
        EXPECT_EQ(s.frame.picture.right, 200);
    }
    EXPECT_GE(took, 100);  // every frame is followed by its 10 ms
    ExpectHandedOver();

    // 128 / 5 = 25.6 accumulates; whole steps of 25 would end at 125 before the last frame.
    seen.clear();
    Freeze();
    AnimateWindowIn(*form, 59, 128, atFading);
    EXPECT_EQ(Opacities(), (std::vector<int>{26, 51, 77, 102, 128, 128}));
    ExpectHandedOver();
}

TEST_F(WindowAnimationTest, TimeZeroShowsOneFrameAtTheTargetAndHandsOverAtOnce) {
    Freeze();
    AnimateWindowIn(*form, 0, 200, atAero);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].frame.opacity, 200);
    EXPECT_EQ(seen[0].frame.picture.left, 0);
    EXPECT_EQ(seen[0].frame.picture.bottom, 160);
    ExpectHandedOver();
}

TEST_F(WindowAnimationTest, AeroStartsAtThreeQuartersCentredAndGrowsToTheWindow) {
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    ASSERT_EQ(window.right - window.left, 200);
    ASSERT_EQ(window.bottom - window.top, 160);
    Freeze();
    AnimateWindowIn(*form, 40, 255, atAero);
    // Insets 25 x 20 shrinking by 200/32 = 6.25 and 160/32 = 5 per frame.
    std::vector<RECT> expected{{25, 20, 175, 140},
                               {19, 15, 181, 145},
                               {13, 10, 187, 150},
                               {6, 5, 194, 155},
                               {0, 0, 200, 160}};
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen[i].frame.picture.left, expected[i].left) << i;
        EXPECT_EQ(seen[i].frame.picture.top, expected[i].top) << i;
        EXPECT_EQ(seen[i].frame.picture.right, expected[i].right) << i;
        EXPECT_EQ(seen[i].frame.picture.bottom, expected[i].bottom) << i;
    }
    ExpectHandedOver();
}

std::uint32_t PixelAt(const framework::TBitmap& image, int x, int y) {
    const std::uint8_t* p = image.ScanLine(y) + x * 4;
    return static_cast<std::uint32_t>(p[3]) << 24 | p[2] << 16 | p[1] << 8 | p[0];
}

// The capture holds the form and its windowed children; the aero frame holds that picture
// shrunk into its box and nothing (alpha 0) around it.
TEST_F(WindowAnimationTest, AeroFramesStretchTheCapturedPictureIntoTheirBox) {
    form->SetBorderStyle(framework::TFormBorderStyle::bsNone);
    form->SetBounds(100, 80, 200, 160);
    auto* panel = new framework::TPanel(form);  // the bottom-right quadrant, red
    panel->SetParent(form);
    panel->SetBounds(100, 80, 100, 80);
    panel->SetColor(0x0000FF);
    constexpr std::uint32_t kRed = 0xFFFF0000;
    std::vector<std::uint32_t> captured;
    SetAnimationObserver([&](const TsAnimationFrame& f) {
        captured = {PixelAt(*f.image, 150, 120), PixelAt(*f.image, 50, 40),
                    PixelAt(*f.image, 0, 0)};
    });
    Freeze();
    AnimateWindowIn(*form, 0, 255, atFading);  // the plain captured picture
    ASSERT_EQ(captured.size(), 3u);
    EXPECT_EQ(captured[0], kRed);
    EXPECT_NE(captured[1], kRed);
    EXPECT_EQ(captured[2] >> 24, 255u);  // made opaque

    std::vector<std::uint32_t> first;
    SetAnimationObserver([&](const TsAnimationFrame& f) {
        if (f.index == 0)
            first = {PixelAt(*f.image, 24, 80),  PixelAt(*f.image, 100, 19),
                     PixelAt(*f.image, 175, 80), PixelAt(*f.image, 110, 90),
                     PixelAt(*f.image, 95, 75),  PixelAt(*f.image, 174, 139)};
    });
    Freeze();
    AnimateWindowIn(*form, 40, 255, atAero);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_EQ(first[0], 0u);    // left of the box (25 ... 175 x 20 ... 140)
    EXPECT_EQ(first[1], 0u);    // above it
    EXPECT_EQ(first[2], 0u);    // its right edge is exclusive
    EXPECT_EQ(first[3], kRed);  // (110, 90) shows (113, 93)
    EXPECT_NE(first[4], kRed);  // (95, 75) shows (93, 73)
    EXPECT_EQ(first[5], kRed);  // the last pixel shows the picture's last
}

TEST_F(WindowAnimationTest, AnimationWindowSitsOverTheFormWithoutTakingActivation) {
    auto* other = new framework::TForm(&app);  // above the form: the animation goes between
    other->SetBounds(400, 300, 100, 100);
    other->Show();
    SetWindowPos(other->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(GetWindow(other->Handle(), GW_HWNDNEXT), form->Handle());
    HWND active = GetActiveWindow();
    std::vector<bool> topmost, directlyAbove;
    SetAnimationObserver([&](const TsAnimationFrame& f) {
        topmost.push_back((GetWindowLong(f.window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
        directlyAbove.push_back(GetWindow(f.window, GW_HWNDNEXT) == form->Handle());
        EXPECT_EQ(GetWindowLongPtr(f.window, GWLP_USERDATA), kAnimationWindowTag);
    });
    Freeze();
    AnimateWindowIn(*form, 0, 255, atFading);
    EXPECT_EQ(topmost, std::vector<bool>{false});
    EXPECT_EQ(directlyAbove, std::vector<bool>{true});
    EXPECT_EQ(GetActiveWindow(), active);

    form->SetFormStyle(framework::TFormStyle::fsStayOnTop);
    Freeze();
    AnimateWindowIn(*form, 0, 255, atFading);
    EXPECT_EQ(topmost, (std::vector<bool>{false, true}));
}

TEST_F(WindowAnimationTest, AFailingCaptureStillUnfreezesTheForm) {
    PictureProvider provider(form, nullptr);
    provider.failRendering = true;
    form->link = &provider;
    Freeze();
    EXPECT_THROW(AnimateWindowIn(*form, 100, 255, atFading), std::runtime_error);
    EXPECT_TRUE(seen.empty());
    ExpectHandedOver();
}

TEST_F(WindowAnimationTest, WithoutLayeredWindowsTheFormIsShownAtOnce) {
    SetLayeredQuery([] { return false; });
    Freeze();
    AnimatingSkinChange = true;  // left by the freeze
    AnimateWindowIn(*form, 100, 255, atAero);
    EXPECT_TRUE(seen.empty());
    ExpectHandedOver();
}

// An alarm due during a long animation rings inside its second: timers run between frames,
// and the time is capped at two seconds.
std::vector<std::int64_t> g_ticks;
void RecordTick(HWND, UINT, UINT_PTR, DWORD) {
    g_ticks.push_back(platform::MonotonicMilliseconds());
}

TEST_F(WindowAnimationTest, ASecondTimerTicksOnTimeDuringACappedAnimation) {
    g_ticks.clear();
    Freeze();
    std::int64_t start = platform::MonotonicMilliseconds();
    UINT_PTR timer = SetTimer(nullptr, 0, 1000, &RecordTick);
    AnimateWindowIn(*form, 65000, 255, atFading);
    KillTimer(nullptr, timer);
    ASSERT_EQ(seen.size(), 201u);
    ASSERT_GE(g_ticks.size(), 1u);
    EXPECT_GE(g_ticks[0] - start, 1000);
    EXPECT_LT(g_ticks[0] - start, 1250);
    EXPECT_LT(g_ticks[0], seen.back().frame.milliseconds);  // rang while frames were still coming
    ExpectHandedOver();
}

// A form closed by a timer while it animates: the frames stop and it is not touched again.
framework::TCustomForm* g_doomed = nullptr;
void DestroyDoomed(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    delete g_doomed;
}

TEST_F(WindowAnimationTest, AFormDestroyedMeanwhileEndsTheAnimation) {
    g_doomed = form;
    SetAnimationObserver([this](const TsAnimationFrame& f) {
        seen.push_back({f, AnimatingSkinChange, false});
    });
    Freeze();
    SetTimer(nullptr, 0, 30, &DestroyDoomed);
    AnimateWindowIn(*form, 1000, 255, atFading);
    form = nullptr;
    EXPECT_LT(seen.size(), 20u);
    EXPECT_FALSE(AnimatingSkinChange);
    for (const Seen& s : seen) EXPECT_FALSE(IsWindow(s.frame.window));
}

// The skin-change thaw runs the animation: a provider-drawn frame with the effect at the
// form's own opacity, any other form in one opaque frame.
TEST_F(WindowAnimationTest, ThawingAfterASkinChangeAnimatesEveryFrozenForm) {
    TsSkinManager manager(nullptr);
    ASSERT_EQ(DefaultManager(), &manager);
    manager.AnimEffects.SkinChanging = {true, 30, atFading};
    PictureProvider provider(form, &manager);
    provider.alpha = 200;
    manager.FreezeForms();
    manager.ThawForms(true);
    EXPECT_EQ(Opacities(), (std::vector<int>{67, 133, 200, 200}));
    ExpectHandedOver();

    seen.clear();
    provider.drawsFrame = false;
    manager.FreezeForms();
    manager.ThawForms(true);
    EXPECT_EQ(Opacities(), std::vector<int>{255});

    seen.clear();
    manager.AnimEffects.SkinChanging.Active = false;
    manager.FreezeForms();
    manager.ThawForms(true);
    EXPECT_TRUE(seen.empty());
    ExpectHandedOver();
}

}  // namespace

namespace {

// A hidden control is not painted: it is given its parent's plain colour.
TEST(CaptureWindow, AHiddenControlShowsItsParentsColour) {
    framework::TApplication app;
    auto* form = new framework::TForm(&app);
    form->SetColor(0x00FF00);
    auto* panel = new framework::TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 20, 10);
    panel->SetColor(0x0000FF);
    panel->SetVisible(false);
    framework::TBitmap picture(30, 12, framework::TPixelFormat::pf32bit);
    skin::CaptureWindow(picture, *panel, 5, 1);
    auto rgb = [&](int x, int y) {
        const std::uint8_t* p = picture.ScanLine(y) + x * 4;
        return static_cast<std::uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
    };
    EXPECT_EQ(rgb(5, 1), 0x00FF00u);
    EXPECT_EQ(rgb(24, 10), 0x00FF00u);
    EXPECT_EQ(rgb(4, 1), 0u);  // outside the control: untouched
    EXPECT_EQ(rgb(25, 1), 0u);
}

}  // namespace

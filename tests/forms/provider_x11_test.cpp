// A skinned form on a real X server, run by the scenario tests/scenarios/x11_skinned_form.sh,
// which sets UTROZVON_PROVIDER_X11 to the part to run:
// - "drag": this side checks the window's shape as the server holds it, the skin's rounded
//   corners cut out; the scenario then drags the title bar with xdotool, and this side checks
//   that the window, and its X window, followed the pointer.
// - "compositor" (with xcompmgr running): the show animation runs in a layered window and
//   hands over to the form, mapped where it belongs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include "platform/x11/x11_backend.h"
#include "provider_test_support.h"
#include "skin/window_animation.h"

namespace provider_test {
namespace {

constexpr char kTitle[] = "utrozvon-skinned-x11";
constexpr POINT kDrag{120, 80};  // what the scenario drags by

std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        if (std::fgets(buf, sizeof buf, p)) out = buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].left != b[i].left || a[i].top != b[i].top || a[i].right != b[i].right ||
            a[i].bottom != b[i].bottom)
            return false;
    return true;
}

std::string Describe(const std::vector<RECT>& rects) {
    std::ostringstream s;
    for (const RECT& r : rects)
        s << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ") ";
    return s.str();
}

// The X server's idea of where a window's corner is on the screen.
std::string AbsoluteCorner(const std::string& window, char axis) {
    std::ostringstream command;
    command << "timeout 5 xwininfo -id " << window << " | sed -n 's/^ *Absolute upper-left " << axis
            << ": *//p'";
    return Capture(command.str());
}

// The fixture builds its skin on the in-memory screen, then puts the X server in its place
// before any window is shown. The in-memory screen is gone from then on: At() is not for here.
class ProviderOnX11 : public ProviderTest {
  protected:
    void SetUp() override {
        const char* mode = std::getenv("UTROZVON_PROVIDER_X11");
        if (!mode) GTEST_SKIP() << "run by the x11_skinned_form scenario on an X server";
        mode_ = mode;
        ProviderTest::SetUp();
        set_ = true;
        platform::InstallBackend(platform::x11::CreateX11Backend());
        form->SetCaption(kTitle);
    }
    void TearDown() override {
        if (set_) ProviderTest::TearDown();
    }
    void PumpFor(int ms) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) {
            Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    std::string XWindow() {
        return Capture(std::string("timeout 5 xdotool search --name '^") + kTitle +
                       "$' | tail -n1");
    }
    std::vector<RECT> Shape(const std::string& window) {
        return platform::x11::BoundingShapeOf(platform::CurrentBackend(), std::stoul(window));
    }
    std::string mode_;
    bool set_ = false;
};

// Two see-through pixels at each top corner, one at each bottom corner (the frame picture's
// corners), in the server's bands.
const std::vector<RECT> kRounded{
    {2, 0, kW - 2, 1}, {1, 1, kW - 1, 2}, {0, 2, kW, kH - 1}, {1, kH - 1, kW - 1, kH}};

TEST_F(ProviderOnX11, RoundedCornersShapeTheWindowAndATitleBarDragMovesIt) {
    if (mode_ != "drag") GTEST_SKIP() << "the drag part";
    Start();
    PumpFor(300);
    const std::string window = XWindow();
    ASSERT_FALSE(window.empty()) << "no X window titled " << kTitle;
    EXPECT_TRUE(SameRects(Shape(window), kRounded)) << Describe(Shape(window));

    RECT before{};
    GetWindowRect(form->Handle(), &before);
    std::printf("skinned: ready %s %ld %ld\n", window.c_str(), static_cast<long>(before.left),
                static_cast<long>(before.top));
    std::fflush(stdout);

    // The drag runs in the move loop of the window's default processing; it ends with the
    // button's release.
    RECT after = before;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        Pump();
        GetWindowRect(form->Handle(), &after);
        if (after.left != before.left && !(GetKeyState(VK_LBUTTON) & 0x8000)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    PumpFor(200);
    GetWindowRect(form->Handle(), &after);
    std::printf("skinned: moved to %ld %ld\n", static_cast<long>(after.left),
                static_cast<long>(after.top));
    std::fflush(stdout);
    EXPECT_EQ(after.left - before.left, kDrag.x);
    EXPECT_EQ(after.top - before.top, kDrag.y);
    EXPECT_EQ(after.right - after.left, kW);
    EXPECT_EQ(AbsoluteCorner(window, 'X'), std::to_string(after.left));
    EXPECT_EQ(AbsoluteCorner(window, 'Y'), std::to_string(after.top));
    EXPECT_TRUE(SameRects(Shape(window), kRounded)) << Describe(Shape(window));
}

TEST_F(ProviderOnX11, ShowAnimationOverACompositorHandsOverToTheMappedForm) {
    if (mode_ != "compositor") GTEST_SKIP() << "the compositor part";
    // The compositor takes its selection a moment after it starts.
    for (int i = 0; i < 250 && !skin::LayeredAnimationAvailable(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(skin::LayeredAnimationAvailable());
    manager->AnimEffects.FormShow = {true, 100, skin::atFading};
    std::vector<int> opacities;
    int formShownMeanwhile = 0;
    skin::SetAnimationObserver([&](const skin::TsAnimationFrame& f) {
        opacities.push_back(f.opacity);
        if (IsWindowVisible(form->Handle())) ++formShownMeanwhile;
    });
    Start();
    PumpFor(300);
    skin::SetAnimationObserver(nullptr);
    EXPECT_EQ(opacities, (std::vector<int>{26, 51, 77, 102, 128, 153, 179, 204, 230, 255, 255}));
    EXPECT_EQ(formShownMeanwhile, 0);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(skin::AnimatingSkinChange);
    const std::string window = XWindow();
    ASSERT_FALSE(window.empty()) << "no X window titled " << kTitle;
    const std::string state =
        Capture("timeout 5 xwininfo -id " + window + " | sed -n 's/^ *Map State: *//p'");
    EXPECT_EQ(state, "IsViewable");
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(AbsoluteCorner(window, 'X'), std::to_string(r.left));
    EXPECT_EQ(AbsoluteCorner(window, 'Y'), std::to_string(r.top));
    EXPECT_TRUE(SameRects(Shape(window), kRounded)) << Describe(Shape(window));
    std::printf("skinned: shown after %zu frames\n", opacities.size());
    std::fflush(stdout);
}

}  // namespace
}  // namespace provider_test

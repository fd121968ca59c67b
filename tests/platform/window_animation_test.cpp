// AnimateWindow keeps the message loop running: a program's timers tick while a window fades,
// and the fade shows in-between opacities on the screen.
#include <chrono>
#include <thread>

#include "platform/clock.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

bool g_blending = false;
int g_ticksDuringBlend = 0;
int g_ticks = 0;
std::uint32_t g_pixelAtTick = 0;

void OneSecondTick(HWND, UINT, UINT_PTR, DWORD) {
    ++g_ticks;
    if (!g_blending) return;
    ++g_ticksDuringBlend;
    std::vector<std::uint32_t> screen = Screen().ComposeScreen();
    g_pixelAtTick = screen[static_cast<std::size_t>(60) * Screen().ScreenSize().cx + 60] & 0xFFFFFF;
}

class WindowAnimation : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_blending = false;
        g_ticksDuringBlend = g_ticks = 0;
        g_pixelAtTick = 0;
    }
    // Handles messages for a while without any animation running.
    void RunLoopFor(std::int64_t milliseconds) {
        std::int64_t end = platform::MonotonicMilliseconds() + milliseconds;
        while (platform::MonotonicMilliseconds() < end) {
            Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
};

// Regression: the blend slept on the GUI thread, so a one-second timer (the alarm check) due
// during a fade fired only after it.
TEST_F(WindowAnimation, AOneSecondTimerTicksWhileA300MillisecondBlendRuns) {
    HWND w = CreateTop("Fade", WS_POPUP, {40, 40, 120, 120});
    HWND clock = CreateTop("Clock", WS_POPUP);
    SetTimer(clock, 1, 1000, &OneSecondTick);
    RunLoopFor(850);
    ASSERT_EQ(g_ticks, 0);
    std::int64_t start = platform::MonotonicMilliseconds();
    g_blending = true;
    EXPECT_TRUE(AnimateWindow(w, 300, AW_BLEND));
    g_blending = false;
    std::int64_t took = platform::MonotonicMilliseconds() - start;
    EXPECT_EQ(g_ticksDuringBlend, 1) << "the tick due at one second came during the blend";
    EXPECT_GE(took, 300) << "the blend lasts its time";
    EXPECT_TRUE(IsWindowVisible(w));
    // At the tick the window was part-way faded in over the desktop.
    constexpr std::uint32_t kDesktop = 0x3A6EA5, kFace = 0xD4D0C8;
    EXPECT_NE(g_pixelAtTick, kDesktop);
    EXPECT_NE(g_pixelAtTick, kFace);
    EXPECT_EQ(ScreenPixel(60, 60), kFace) << "full opacity at the end";
}

TEST_F(WindowAnimation, ABlendOutHidesTheWindowAndRestoresItsOpacity) {
    HWND w = CreateTop("Fade", WS_POPUP | WS_VISIBLE, {40, 40, 120, 120});
    Pump();
    EXPECT_FALSE(AnimateWindow(w, 50, AW_BLEND)) << "already shown";
    EXPECT_TRUE(AnimateWindow(w, 50, AW_BLEND | AW_HIDE));
    EXPECT_FALSE(IsWindowVisible(w));
    ShowWindow(w, SW_SHOWNA);
    EXPECT_EQ(ScreenPixel(60, 60), 0xD4D0C8u);
}

LRESULT DestroyOnTimer(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_TIMER) {
        DestroyWindow(h);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

TEST_F(WindowAnimation, AWindowDestroyedDuringItsBlendEndsTheBlend) {
    WNDCLASS wc{};
    wc.lpfnWndProc = DestroyOnTimer;
    wc.lpszClassName = "DestroyOnTimer";
    RegisterClass(&wc);
    HWND w = CreateWindowEx(0, "DestroyOnTimer", "", WS_POPUP, 0, 0, 30, 30, nullptr, nullptr, nullptr, nullptr);
    SetTimer(w, 1, 20, nullptr);
    std::int64_t start = platform::MonotonicMilliseconds();
    EXPECT_FALSE(AnimateWindow(w, 2000, AW_BLEND));
    EXPECT_LT(platform::MonotonicMilliseconds() - start, 1000);
    EXPECT_FALSE(IsWindow(w));
}

}  // namespace

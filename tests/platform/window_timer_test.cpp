// Timers: drift-free ticks on a replaceable clock, collapsed missed ticks, and ticks inside a
// modal loop.
#include <atomic>

#include "platform/clock.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

class WindowTimers : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        now_ = 1000000;
        platform::SetMonotonicSource([this] { return now_.load(); });
    }
    void TearDown() override {
        platform::SetMonotonicSource(nullptr);
        WindowTest::TearDown();
    }
    int TimerMessages(HWND w) {
        int n = 0;
        MSG msg;
        while (PeekMessage(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE)) ++n;
        return n;
    }
    std::atomic<std::int64_t> now_{0};
};

TEST_F(WindowTimers, TicksStayOnMultiplesOfTheIntervalWhateverTheDelays) {
    HWND w = CreateTop();
    SetTimer(w, 1, 1000, nullptr);
    std::vector<std::int64_t> ticks;
    std::int64_t start = now_;
    // Each check comes late by a varying amount, as a busy program would.
    for (int i = 1; i <= 500; ++i) {
        now_ = start + i * 1000 + (i * 37) % 900;
        MSG msg;
        ASSERT_TRUE(PeekMessage(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE)) << i;
        ticks.push_back(now_);
        EXPECT_FALSE(PeekMessage(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE)) << i;
    }
    EXPECT_EQ(ticks.size(), 500u);
    // After 500 ticks the next one is due exactly at start + 501 s.
    now_ = start + 501 * 1000 - 1;
    EXPECT_EQ(TimerMessages(w), 0);
    now_ = start + 501 * 1000;
    EXPECT_EQ(TimerMessages(w), 1);
}

TEST_F(WindowTimers, MissedTicksCollapseIntoOne) {
    HWND w = CreateTop();
    SetTimer(w, 7, 100, nullptr);
    now_ += 1050;
    EXPECT_EQ(TimerMessages(w), 1);
    now_ += 40;  // 1090: the 1100 tick is not due yet
    EXPECT_EQ(TimerMessages(w), 0);
    now_ += 10;
    EXPECT_EQ(TimerMessages(w), 1);
}

TEST_F(WindowTimers, KillTimerAndDestroyStopTicks) {
    HWND w = CreateTop();
    SetTimer(w, 1, 50, nullptr);
    SetTimer(w, 2, 50, nullptr);
    EXPECT_TRUE(KillTimer(w, 1));
    EXPECT_FALSE(KillTimer(w, 1));
    now_ += 60;
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    DestroyWindow(w);
    now_ += 60;
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

int g_procTicks = 0;
void CountingTimerProc(HWND, UINT, UINT_PTR, DWORD) { ++g_procTicks; }

TEST_F(WindowTimers, TimerProcIsCalledByDispatch) {
    g_procTicks = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 20, CountingTimerProc);
    ASSERT_NE(id, 0u);
    now_ += 25;
    Pump();
    EXPECT_EQ(g_procTicks, 1);
    KillTimer(nullptr, id);
}

// The real clock: a timer keeps firing while a message box runs its modal loop; the third
// tick closes the box with Enter.
int g_modalTicks = 0;
void PressEnterOnThirdTick(HWND, UINT, UINT_PTR, DWORD) {
    if (++g_modalTicks == 3) {
        Screen().KeyPress(VK_RETURN);
        Screen().KeyRelease(VK_RETURN);
    }
}

TEST_F(WindowTimers, TimersFireInsideAModalMessageBox) {
    platform::SetMonotonicSource(nullptr);
    HWND owner = CreateTop("Owner", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
    Pump();
    g_modalTicks = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 20, PressEnterOnThirdTick);
    EXPECT_EQ(MessageBoxA(owner, "Проверка", "Утрозвон", MB_OK | MB_ICONERROR), IDOK);
    KillTimer(nullptr, id);
    EXPECT_GE(g_modalTicks, 3);
    EXPECT_TRUE(IsWindowEnabled(owner));  // the owner was disabled only while the box ran
    EXPECT_EQ(GetActiveWindow(), owner);
}

}  // namespace

// The X11 backend through its interface, on an Xvfb of its own: surfaces, input events from
// xdotool, waking, clipboard, and what it reports without a tray or a compositor.
#include <algorithm>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

#include "platform/backend.h"
#include "platform/virtual_keys.h"
#include "platform/x11/x11_backend.h"
#include "x11_test_support.h"

namespace {

using platform::BackendEvent;
using platform::EventKind;
using x11_testing::X11Backend;

TEST_F(X11Backend, ClicksArriveInScreenCoordinatesOnTheirSurface) {
    platform::SurfaceId id = Show(RECT{50, 60, 250, 160});
    ASSERT_EQ(std::system("xdotool mousemove 100 100 click 3"), 0);
    std::vector<BackendEvent> events = Drain(300);
    bool press = false, release = false;
    for (const BackendEvent& e : events) {
        if (e.kind == EventKind::ButtonPress && e.button == platform::MouseButton::Right) {
            press = true;
            EXPECT_EQ(e.surface, id);
            EXPECT_EQ(e.screen.x, 100);
            EXPECT_EQ(e.screen.y, 100);
        }
        release |= e.kind == EventKind::ButtonRelease;
    }
    EXPECT_TRUE(press);
    EXPECT_TRUE(release);
}

TEST_F(X11Backend, KeysCarryVirtualKeysAndUtf8Text) {
    platform::SurfaceId id = Show(RECT{50, 60, 250, 160});
    std::system("xdotool mousemove 100 100");
    backend_->Activate(id);
    Drain(100);
    // xdotool maps a spare key to Ж only while it types, so events are read as they come.
    ASSERT_EQ(std::system("(sleep 0.1; LANG=C.UTF-8 xdotool type --delay 100 'bЖ'; xdotool key Return) &"), 0);
    std::string text;
    bool enter = false, b = false;
    for (const BackendEvent& e : Drain(1200)) {
        if (e.kind != EventKind::KeyPress) continue;
        text += e.text;
        enter |= e.vk == VK_RETURN && e.text.empty();
        b |= e.vk == 'B';
    }
    EXPECT_EQ(text, "bЖ");
    EXPECT_TRUE(enter);  // Return carries no text: the core makes the carriage return
    EXPECT_TRUE(b);
}

// The input method opens once the first window is mapped: a surface made before that and
// shown later, and one made after it, both get text beyond ASCII.
TEST_F(X11Backend, SurfacesMadeBeforeAndAfterTheInputMethodOpensGetUtf8Text) {
    platform::SurfaceParams early;
    early.screenRect = RECT{300, 60, 500, 160};
    early.title = "x11-test";
    const platform::SurfaceId before = backend_->CreateSurface(early);
    Show(RECT{50, 60, 250, 160});
    const platform::SurfaceId after = Show(RECT{50, 200, 250, 300});
    backend_->ShowSurface(before, true, true);
    PresentFilled(before, early.screenRect, 0xFF406020u);
    Drain(150);
    for (platform::SurfaceId id : {before, after}) {
        const RECT& r = id == before ? early.screenRect : RECT{50, 200, 250, 300};
        std::system(
            ("xdotool mousemove " + std::to_string(r.left + 50) + " " + std::to_string(r.top + 50))
                .c_str());
        backend_->Activate(id);
        Drain(100);
        ASSERT_EQ(std::system("(sleep 0.1; LANG=C.UTF-8 xdotool type --delay 100 'Жb') &"), 0);
        std::string text;
        for (const BackendEvent& e : Drain(1000))
            if (e.kind == EventKind::KeyPress && e.surface == id) text += e.text;
        EXPECT_EQ(text, "Жb") << (id == before ? "made before" : "made after");
    }
}

TEST_F(X11Backend, WakeEndsAWaitFromAnotherThread) {
    auto start = std::chrono::steady_clock::now();
    std::thread waker([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        backend_->Wake();
    });
    backend_->Wait(5000);
    waker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(X11Backend, ClipboardRoundTripsThroughTheSelection) {
    backend_->SetClipboardText("Будильник 07:00");
    EXPECT_EQ(backend_->ClipboardText().value_or(""), "Будильник 07:00");
    // A second connection reads it from us while we answer.
    auto other = platform::x11::CreateX11Backend();
    std::atomic<bool> done{false};
    std::thread owner([&] {
        while (!done) {
            backend_->Wait(10);
            while (backend_->Poll()) {
            }
        }
    });
    std::optional<std::string> pasted = other->ClipboardText();
    done = true;
    owner.join();
    EXPECT_EQ(pasted.value_or("(nothing)"), "Будильник 07:00");
}

TEST_F(X11Backend, WithoutTrayOrCompositorTheBackendSaysSo) {
    EXPECT_FALSE(backend_->TrayAvailable());
    EXPECT_FALSE(backend_->AddTrayIcon(1, platform::IconPixels{}, "tip"));
    EXPECT_FALSE(backend_->CompositorPresent());
    EXPECT_FALSE(backend_->LayeredSupported());
    RECT work = backend_->WorkArea();
    EXPECT_EQ(work.right, 640);
    EXPECT_EQ(work.bottom, 480);
}

// The work area is kept between questions and read again once the server reports that the
// root window's property changed, as a panel or window manager sets it.
TEST_F(X11Backend, TheWorkAreaFollowsItsPropertyOnTheRootWindow) {
    EXPECT_EQ(backend_->WorkArea().bottom, 480);
    ASSERT_EQ(std::system("xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,24,640,432"), 0);
    Drain(150);
    RECT work = backend_->WorkArea();
    EXPECT_EQ(work.top, 24);
    EXPECT_EQ(work.bottom, 456);
    ASSERT_EQ(std::system("xprop -root -remove _NET_WORKAREA"), 0);
    Drain(150);
    work = backend_->WorkArea();
    EXPECT_EQ(work.top, 0);
    EXPECT_EQ(work.bottom, 480);
    EXPECT_EQ(backend_->MonitorRects().size(), 1u);
}

TEST_F(X11Backend, MovingASurfaceIsNotReportedBackAsAMoveByTheWindowManager) {
    platform::SurfaceId id = Show(RECT{10, 10, 110, 110});
    backend_->MoveSurface(id, RECT{30, 40, 130, 140});
    for (const BackendEvent& e : Drain(200)) EXPECT_NE(e.kind, EventKind::SurfaceMoved);
    backend_->DestroySurface(id);
}

}  // namespace

namespace {

class X11Tray : public X11Backend {
protected:
    // Only our own trayer is stopped: other tests may run one on another display meanwhile.
    void StartTray() {
        ASSERT_EQ(std::system("command -v trayer >/dev/null"), 0) << "trayer is not installed";
        FILE* p = popen("trayer --edge top --align right --widthtype request --height 24 --SetDockType true "
                        "--transparent false >/dev/null 2>&1 & echo $!", "r");
        ASSERT_TRUE(p);
        if (std::fscanf(p, "%d", &trayPid_) != 1) trayPid_ = 0;
        pclose(p);
        for (int i = 0; i < 100 && !backend_->TrayAvailable(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        ASSERT_TRUE(backend_->TrayAvailable());
    }
    void StopTray() {
        if (trayPid_ > 0) kill(trayPid_, SIGTERM);
        trayPid_ = 0;
    }
    void TearDown() override { StopTray(); }
    int trayPid_ = 0;
};

// Clicks on a docked icon are covered by the tray scenario, through the whole program.
TEST_F(X11Tray, IconDocksAndANewTrayIsAnnounced) {
    StartTray();
    platform::IconPixels icon{16, 16, std::vector<std::uint32_t>(256, 0xFFF08020u)};
    ASSERT_TRUE(backend_->AddTrayIcon(7, icon, "Утрозвон"));
    EXPECT_TRUE(backend_->UpdateTrayIcon(7, icon, "Будильник"));
    EXPECT_FALSE(backend_->UpdateTrayIcon(8, icon, "нет такого"));
    Drain(300);
    StopTray();
    Drain(300);
    EXPECT_FALSE(backend_->TrayAvailable());
    StartTray();
    bool reset = false;
    for (const BackendEvent& e : Drain(500)) reset |= e.kind == EventKind::TrayReset;
    EXPECT_TRUE(reset);
}

}  // namespace

namespace {

// Monitors come from RandR with the primary one first; virtual monitors on Xvfb stand in for
// a desk with two screens.
TEST_F(X11Backend, MonitorsComeFromRandRWithThePrimaryFirst) {
    ASSERT_EQ(backend_->MonitorRects().size(), 1u);
    if (std::system("command -v xrandr >/dev/null") != 0) GTEST_SKIP() << "no xrandr";
    SIZE s = backend_->ScreenSize();
    std::string half = std::to_string(s.cx / 2) + "/0x" + std::to_string(s.cy) + "/0";
    ASSERT_EQ(std::system(("xrandr --setmonitor left " + half + "+0+0 none && xrandr --setmonitor '*right' " + half + "+" +
                           std::to_string(s.cx / 2) + "+0 none")
                              .c_str()),
              0);
    Drain(150);  // the backend reads the monitors again once the server reports the change
    std::vector<RECT> monitors = backend_->MonitorRects();
    std::system("xrandr --delmonitor left; xrandr --delmonitor right");
    // Xvfb keeps its own output's monitor beside the two virtual ones.
    ASSERT_GE(monitors.size(), 2u);
    EXPECT_EQ(monitors[0].left, s.cx / 2);
    EXPECT_TRUE(std::any_of(monitors.begin() + 1, monitors.end(),
                            [&](const RECT& r) { return r.left == 0 && r.right == s.cx / 2; }));
}

}  // namespace

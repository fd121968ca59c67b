// Surfaces of the X11 backend as the X tools see them: mapped with their first frame, the
// input shape of click-through surfaces, a new window with the alpha visual when a surface
// becomes layered (and back), and what a window manager does to them reported as states.
#include <signal.h>

#include <algorithm>

#include "platform/gdi/gdi_objects.h"
#include "x11_test_support.h"

namespace {

using platform::BackendEvent;
using platform::EventKind;
using platform::SurfaceState;
using x11_testing::Capture;

class X11Surface : public x11_testing::X11Backend {
  protected:
    void TearDown() override {
        if (compositor_ > 0) kill(compositor_, SIGTERM);
    }
    std::string Hex(unsigned long window) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "0x%lx", window);
        return buf;
    }
    unsigned long Window(platform::SurfaceId id) {
        return platform::x11::NativeWindowOf(*backend_, id);
    }
    std::string Info(platform::SurfaceId id, const char* field) {
        return Capture("timeout 5 xwininfo -id " + Hex(Window(id)) + " | sed -n 's/^ *" + field +
                       ": *//p'");
    }
    std::string InfoOf(unsigned long window, const char* field) {
        return Capture("timeout 5 xwininfo -id " + Hex(window) + " 2>&1 | sed -n 's/^ *" + field +
                       ": *//p'");
    }
    int Run(const std::string& command) { return std::system(command.c_str()); }
    std::vector<SurfaceState> States(int waitMs) {
        std::vector<SurfaceState> out;
        for (const BackendEvent& e : Drain(waitMs))
            if (e.kind == EventKind::SurfaceState)
                out.push_back(static_cast<SurfaceState>(e.param));
        return out;
    }
    // The surface a click at a screen point arrives on.
    platform::SurfaceId ClickedSurface(int x, int y) {
        Run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
        for (const BackendEvent& e : Drain(300))
            if (e.kind == EventKind::ButtonPress) return e.surface;
        return 0;
    }
    void StartCompositor() {
        if (Run("command -v xcompmgr >/dev/null") != 0) GTEST_SKIP() << "xcompmgr is not installed";
        FILE* p = popen("xcompmgr >/dev/null 2>&1 & echo $!", "r");
        ASSERT_TRUE(p);
        if (std::fscanf(p, "%d", &compositor_) != 1) compositor_ = 0;
        pclose(p);
        for (int i = 0; i < 100 && !backend_->CompositorPresent(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(backend_->LayeredSupported());
    }
    int compositor_ = 0;
};

TEST_F(X11Surface, AShownSurfaceIsMappedOnlyWithItsFirstFrame) {
    platform::SurfaceParams p;
    p.screenRect = RECT{40, 40, 140, 100};
    platform::SurfaceId id = backend_->CreateSurface(p);
    backend_->ShowSurface(id, true, false);
    Drain(100);
    EXPECT_EQ(Info(id, "Map State"), "IsUnMapped");
    PresentFilled(id, p.screenRect, 0xFF00FF00u);
    Drain(100);
    EXPECT_EQ(Info(id, "Map State"), "IsViewable");
    backend_->ShowSurface(id, false, false);
    Drain(100);
    EXPECT_EQ(Info(id, "Map State"), "IsUnMapped");
    for (const BackendEvent& e : Drain(100))
        EXPECT_NE(e.kind, EventKind::SurfaceState) << "our own hide is no news";
}

// Menus take the pointer as soon as they are shown, before their first frame.
TEST_F(X11Surface, APointerGrabBeforeTheFirstFrameHoldsOnceTheSurfaceIsMapped) {
    platform::SurfaceParams p;
    p.screenRect = RECT{300, 300, 360, 340};
    p.overrideRedirect = true;
    platform::SurfaceId menu = backend_->CreateSurface(p);
    backend_->ShowSurface(menu, true, false);
    backend_->GrabPointer(menu, true);
    PresentFilled(menu, p.screenRect, 0xFFFFFFFFu);
    Drain(100);
    EXPECT_EQ(ClickedSurface(20, 20), menu) << "a click outside the menu still reaches it";
    backend_->GrabPointer(menu, false);
}

TEST_F(X11Surface, AClickThroughSurfaceLetsThePointerReachTheOneBeneath) {
    platform::SurfaceId under = Show(RECT{100, 100, 300, 200});
    platform::SurfaceParams glow;
    glow.clickThrough = true;
    glow.overrideRedirect = true;
    platform::SurfaceId over = Show(RECT{150, 120, 250, 180}, glow);
    EXPECT_EQ(ClickedSurface(200, 150), under);
    glow.screenRect = RECT{150, 120, 250, 180};
    glow.clickThrough = false;
    backend_->UpdateSurface(over, glow);
    EXPECT_EQ(ClickedSurface(200, 150), over);
}

TEST_F(X11Surface, ALayeredSurfaceGetsTheAlphaVisualInAWindowInTheOldOnesPlace) {
    StartCompositor();
    platform::SurfaceParams p;
    platform::SurfaceId id = Show(RECT{60, 70, 160, 130}, p);
    unsigned long first = Window(id);
    ASSERT_EQ(Info(id, "Depth"), "24");
    platform::Region shape(0, 0, 50, 30);
    backend_->SetSurfaceShape(id, &shape);
    backend_->Activate(id);
    Drain(100);
    ASSERT_EQ(Capture("timeout 5 xdotool getwindowfocus"), std::to_string(first));
    p.screenRect = RECT{60, 70, 160, 130};
    p.layered = true;
    backend_->UpdateSurface(id, p);
    Drain(100);
    unsigned long second = Window(id);
    ASSERT_NE(second, first);
    EXPECT_EQ(Info(id, "Depth"), "32");
    EXPECT_EQ(Info(id, "Map State"), "IsUnMapped") << "the new window waits for its frame";
    EXPECT_EQ(InfoOf(first, "Map State"), "IsViewable") << "the old one stays meanwhile";
    PresentFilled(id, p.screenRect, 0x80800000u);
    Drain(100);
    EXPECT_EQ(Info(id, "Map State"), "IsViewable");
    EXPECT_EQ(Info(id, "Absolute upper-left X"), "60");
    EXPECT_EQ(Info(id, "Absolute upper-left Y"), "70");
    EXPECT_EQ(Info(id, "Width"), "100");
    EXPECT_EQ(InfoOf(first, "Map State"), "") << "the old window is gone";
    EXPECT_EQ(Capture("timeout 5 xdotool getwindowfocus"), std::to_string(second))
        << "the focus follows";
    EXPECT_EQ(
        Capture("timeout 5 xwininfo -shape -id " + Hex(second) + " | grep -c 'No window shape'"),
        "0")
        << "the shape is kept";
    EXPECT_EQ(Capture("timeout 5 xprop -id " + Hex(second) + " WM_NAME"),
              "WM_NAME(STRING) = \"x11-test\"");
    p.layered = false;
    backend_->UpdateSurface(id, p);
    PresentFilled(id, p.screenRect, 0xFF0000FFu);
    Drain(100);
    EXPECT_EQ(Info(id, "Depth"), "24");
    EXPECT_EQ(Info(id, "Map State"), "IsViewable");
    backend_->DestroySurface(id);
}

// No window manager runs here: the test does what one does when it minimises a window from
// its task bar (state property, unmap) and restores it (map).
TEST_F(X11Surface, WhatAWindowManagerDoesIsReportedAsTheSurfaceState) {
    platform::SurfaceId id = Show(RECT{20, 20, 120, 120});
    std::string w = Hex(Window(id));
    Run("xprop -id " + w +
        " -f _NET_WM_STATE 32a -set _NET_WM_STATE _NET_WM_STATE_HIDDEN; xdotool windowunmap " + w);
    EXPECT_EQ(States(300), std::vector<SurfaceState>{SurfaceState::Minimized});
    Run("xprop -id " + w + " -remove _NET_WM_STATE; xdotool windowmap " + w);
    EXPECT_EQ(States(300), std::vector<SurfaceState>{SurfaceState::Normal});
    // A manager that unmaps a window it keeps in the normal state (another desktop) did not
    // minimise it.
    Run("xprop -id " + w + " -f WM_STATE 32c -set WM_STATE 1; xdotool windowunmap " + w);
    EXPECT_TRUE(States(300).empty());
    Run("xdotool windowmap " + w);
    EXPECT_TRUE(States(300).empty());
    // Our own minimise is no news when the manager carries it out.
    backend_->Minimize(id);
    Run("xdotool windowunmap " + w);
    EXPECT_TRUE(States(300).empty());
}

}  // namespace

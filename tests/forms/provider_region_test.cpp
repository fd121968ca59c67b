// The window's shape from the frame picture's see-through corners, and the window position
// change that setting it causes.
#include "provider_test_support.h"

namespace provider_test {
namespace {

struct Probe {
    const char* name;
    int x, y;
    bool inside;
};

bool InWindowRegion(HWND hwnd, int x, int y) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(hwnd, region);
    const bool in = PtInRegion(region, x, y) != 0;
    DeleteObject(region);
    return in;
}

TEST_F(ProviderTest, RegionCutsTheFramePicturesSeeThroughCorners) {
    Start();
    const Probe probes[] = {
        {"top-left corner", 0, 0, false},
        {"next to it", 1, 0, false},
        {"below it", 0, 1, false},
        {"diagonal", 1, 1, true},
        {"top edge", 2, 0, true},
        {"top-right corner", kW - 1, 0, false},
        {"left of it", kW - 2, 0, false},
        {"below top-right", kW - 1, 1, false},
        {"inside top-right", kW - 2, 1, true},
        {"top edge right", kW - 3, 0, true},
        {"bottom-left", 0, kH - 1, false},
        {"above bottom-left", 0, kH - 2, true},
        {"right of bottom-left", 1, kH - 1, true},
        {"bottom-right", kW - 1, kH - 1, false},
        {"left of bottom-right", kW - 2, kH - 1, true},
        {"middle", kW / 2, kH / 2, true},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(InWindowRegion(form->Handle(), p.x, p.y), p.inside) << p.name;
    // What lies outside the shape is the desktop, not the frame.
    EXPECT_NE(At(0, 0), kTitle1);
    EXPECT_EQ(At(2, 0), kTitle1);
}

TEST_F(ProviderTest, MaximisedWindowIsShapedToTheRectangleInsideItsFrame) {
    Start();
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    Pump();
    ASSERT_TRUE(IsZoomed(form->Handle()));
    RECT wr{};
    GetWindowRect(form->Handle(), &wr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(form->Handle(), region), ERROR);
    RECT box{};
    GetRgnBox(region, &box);
    DeleteObject(region);
    EXPECT_EQ(box.left, kB);
    EXPECT_EQ(box.top, kB);
    EXPECT_EQ(box.right, wr.right - wr.left - kB);
    EXPECT_EQ(box.bottom, wr.bottom - wr.top - kB);
    ShowWindow(form->Handle(), SW_RESTORE);
    Pump();
    EXPECT_FALSE(InWindowRegion(form->Handle(), 0, 0));
    EXPECT_TRUE(InWindowRegion(form->Handle(), 1, 1));
}

// Regression: setting the region goes through a frame change, and the WM_WINDOWPOSCHANGING
// it brings must not reach the form (which would treat it as a move of its own).
TEST_F(ProviderTest, PositionChangeCausedBySettingTheRegionIsConsumed) {
    int changing = 0;
    framework::TWndMethod previous = form->WindowProc;
    form->WindowProc = [&](framework::TMessage& m) {
        if (m.Msg == WM_WINDOWPOSCHANGING) ++changing;
        previous(m);
    };
    Start();
    changing = 0;
    provider->DropFramePicture();  // region dirty
    provider->PaintFrame();
    EXPECT_EQ(changing, 0);
    SetWindowPos(form->Handle(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(changing, 1);  // other position changes still pass
    delete provider;
    form->WindowProc = previous;
}

}  // namespace
}  // namespace provider_test

// The headless screen: stacking, shapes, layered windows with per-pixel and constant alpha,
// minimised surfaces, and screenshots.
#include <cstdio>
#include <cstring>

#include "platform/gdi.h"
#include "platform/gdi/dib.h"
#include "platform/image_files.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

class HeadlessScreen : public WindowTest {};

TEST_F(HeadlessScreen, TopmostWindowsStayAboveActivatedOnes) {
    HWND topmost = CreateTop("A", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100}, WS_EX_TOPMOST);
    HWND normal = CreateTop("B", WS_POPUP | WS_VISIBLE, {50, 50, 150, 150});
    Pump();
    FillClient(topmost, RGB(255, 0, 0));
    FillClient(normal, RGB(0, 255, 0));
    SetActiveWindow(normal);
    EXPECT_EQ(ScreenPixel(75, 75), 0xFF0000u);
    EXPECT_EQ(ScreenPixel(125, 125), 0x00FF00u);
}

TEST_F(HeadlessScreen, LayeredWindowBlendsItsPremultipliedPixelsOverTheDesktop) {
    HWND under = CreateTop("U", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    Pump();
    FillClient(under, RGB(0, 0, 255));
    HWND glow = CreateTop("G", WS_POPUP, {0, 0, 10, 10}, WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW);
    void* bits = nullptr;
    HBITMAP dib = platform::gdi::CreateTopDownDib(20, 20, 32, &bits);
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < 400; ++i) px[i] = 0x80800000u;  // red 0x80, alpha 0x80: half-covering red
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, dib);
    POINT at{10, 10}, from{0, 0};
    SIZE size{20, 20};
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ShowWindow(glow, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(UpdateLayeredWindow(glow, nullptr, &at, &size, mem, &from, 0, &bf, ULW_ALPHA));
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    std::uint32_t p = ScreenPixel(15, 15);
    EXPECT_NEAR(static_cast<int>(p >> 16), 0x80, 1);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 0x7F, 1);
    // Click-through: the window under the glow gets the mouse.
    EXPECT_EQ(WindowFromPoint(POINT{15, 15}), under);
}

TEST_F(HeadlessScreen, ConstantOpacityFadesTheWholeWindow) {
    HWND w = CreateTop("W", WS_POPUP | WS_VISIBLE, {200, 200, 260, 260}, WS_EX_LAYERED);
    SetLayeredWindowAttributes(w, 0, 0, LWA_ALPHA);  // fully transparent
    Pump();
    FillClient(w, RGB(255, 255, 255));
    std::uint32_t desktop = ScreenPixel(300, 300);
    EXPECT_EQ(ScreenPixel(230, 230), desktop);
    SetLayeredWindowAttributes(w, 0, 255, LWA_ALPHA);
    FillClient(w, RGB(255, 255, 255));
    EXPECT_EQ(ScreenPixel(230, 230), 0xFFFFFFu);
}

TEST_F(HeadlessScreen, MinimisedWindowsVanishAndComeBack) {
    HWND w = CreateTop("W", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, {10, 10, 110, 110});
    Pump();
    std::uint32_t shown = ScreenPixel(60, 60);
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_NE(ScreenPixel(60, 60), shown);
    ShowWindow(w, SW_RESTORE);
    EXPECT_EQ(ScreenPixel(60, 60), shown);
}

TEST_F(HeadlessScreen, ScreenshotIsAReadablePngOfTheScreen) {
    HWND w = CreateTop("W", WS_POPUP | WS_VISIBLE, {0, 0, 30, 30});
    Pump();
    FillClient(w, RGB(1, 2, 3));
    Pump();
    std::string path = ::testing::TempDir() + "screen.png";
    ASSERT_TRUE(Screen().SaveScreenshot(path));
    std::vector<std::uint8_t> bytes = platform::ReadFileBytes(path);
    platform::Image img = platform::ReadPng(bytes.data(), bytes.size());
    EXPECT_EQ(img.width, Screen().ScreenSize().cx);
    EXPECT_EQ(img.pixels[0], 3);
    EXPECT_EQ(img.pixels[2], 1);
    std::remove(path.c_str());
}

TEST_F(HeadlessScreen, MessageBoxAnswersKeysAndDisablesItsOwnerMeanwhile) {
    HWND owner = CreateTop("Owner", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
    Pump();
    static HWND s_owner;
    static bool s_disabledDuring;
    s_owner = owner;
    s_disabledDuring = false;
    UINT_PTR id = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
        s_disabledDuring = !IsWindowEnabled(s_owner);
        Screen().KeyPress(VK_ESCAPE);
        Screen().KeyRelease(VK_ESCAPE);
    });
    EXPECT_EQ(MessageBoxA(owner, "Ошибка записи файла", nullptr, MB_OK | MB_ICONERROR), IDOK);
    KillTimer(nullptr, id);
    EXPECT_TRUE(s_disabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner));
    // The box is gone: only the owner remains.
    EXPECT_EQ(GetTopWindow(nullptr), owner);
    EXPECT_EQ(GetWindow(owner, GW_HWNDNEXT), nullptr);
}

}  // namespace

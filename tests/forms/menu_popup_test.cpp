// The painter inside the real menu loop: item rectangles of the popup window, the border it
// copies from the background, the selection moving, and the background cache across many
// submenus opened and closed.
#include "menu_test_support.h"

namespace menu_test {
namespace {

// What a test does while the menu is open, called each time the menu loop has nothing left
// to do (everything painted) until it ends the menu.
std::function<void()> g_tick;
WNDPROC g_ownerProc = nullptr;

LRESULT IdleWatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && g_tick) g_tick();
    return CallWindowProc(g_ownerProc, hwnd, msg, wParam, lParam);
}

class SkinnedMenuPopup : public MenuTest {
  protected:
    void TearDown() override {
        g_tick = nullptr;
        MenuTest::TearDown();
    }
    // Pops the menu up at (100, 100) and runs `tick` whenever the menu loop is idle.
    void Run(std::function<void()> tick) {
        form->Show();  // keys go to the active window's queue
        Pump();
        g_tick = std::move(tick);
        HWND owner = menu->WindowHandle();
        g_ownerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtr(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IdleWatch)));
        menu->Popup(100, 100);
        SetWindowLongPtr(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_ownerProc));
        g_tick = nullptr;
    }
    static HWND MenuWindow() { return FindWindow("#32768", nullptr); }
    static TColor ScreenPx(POINT p) {
        auto& screen = test_support::HeadlessScreen();
        std::vector<std::uint32_t> pixels = screen.ComposeScreen();
        std::uint32_t v = pixels[static_cast<size_t>(p.y) * 800 + static_cast<size_t>(p.x)];
        return Rgb(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                   static_cast<int>(v & 0xFF));
    }
    static void Key(UINT vk) { test_support::HeadlessScreen().KeyPress(vk); }
};

TEST_F(SkinnedMenuPopup, ItemsAreLaidOutFromTheirMeasuredSizes) {
    TMenuItem* items[] = {Add("Сохранить настройки"), Add("-"), Add("-Title-"), Add("Short")};
    std::vector<RECT> seen(4, RECT{-1, -1, -1, -1});
    for (int i = 0; i < 4; ++i)
        items[i]->OnDrawItem = [&seen, i](framework::TObject*, TCanvas&, const RECT& r, bool) {
            seen[static_cast<size_t>(i)] = r;
        };
    Hook();
    RECT window{};
    Run([&] {
        if (seen[3].right < 0) return;
        GetWindowRect(MenuWindow(), &window);
        Key(VK_ESCAPE);
    });
    MenuFontDC font;
    int line = font.LineHeight();
    int width = 32 + font.Width("Сохранить настройки") + 12 + 12;
    int normal = std::max(line, 16) + 4;
    RECT expected[] = {{0, 0, width, normal},
                       {0, normal, width, normal + 2},
                       {0, normal + 2, width, normal + 2 + line + 4},
                       {0, normal + 2 + line + 4, width, 2 * normal + 2 + line + 4}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(seen[static_cast<size_t>(i)].left, expected[i].left) << i;
        EXPECT_EQ(seen[static_cast<size_t>(i)].top, expected[i].top) << i;
        EXPECT_EQ(seen[static_cast<size_t>(i)].right, expected[i].right) << i;
        EXPECT_EQ(seen[static_cast<size_t>(i)].bottom, expected[i].bottom) << i;
    }
    EXPECT_EQ(window.right - window.left, width + 6);
    EXPECT_EQ(window.bottom - window.top, expected[3].bottom + 6);
}

TEST_F(SkinnedMenuPopup, BorderAndSelectionComeFromTheSkin) {
    Add("First");
    Add("Second");
    Hook();
    int ticks = 0;
    TColor border = 0, itemBefore = 0, itemAfter = 0, secondAfter = 0, corner = 0;
    RECT w{};
    Run([&] {
        ++ticks;
        if (ticks == 1) {
            GetWindowRect(MenuWindow(), &w);
            border = ScreenPx(POINT{w.right - 1, w.top + 5});
            corner = ScreenPx(POINT{w.left, w.top});
            itemBefore = ScreenPx(POINT{w.right - 5, w.top + 4});
            Key(VK_DOWN);
        } else if (ticks == 2) {
            itemAfter = ScreenPx(POINT{w.right - 5, w.top + 4});
            secondAfter = ScreenPx(POINT{w.right - 5, w.bottom - 5});
            Key(VK_ESCAPE);
        }
    });
    EXPECT_EQ(border, kMenuColor) << "the frame is the skin's background, not the classic edge";
    EXPECT_EQ(corner, kIconColor)
        << "the icon line reaches the popup's left edge without a skin frame";
    EXPECT_EQ(itemBefore, kMenuColor);
    EXPECT_EQ(itemAfter, kHotColor) << "the selection moved onto the first item";
    EXPECT_EQ(secondAfter, kMenuColor);
    EXPECT_EQ(forms::TsSkinableMenus::CachedBackgroundCount(), 0u)
        << "the popup window took its picture with it";
}

TEST_F(SkinnedMenuPopup, SkinFrameCornersAreCutFromTheWindow) {
    // A 3-pixel frame whose top-left and bottom-right corner pixels are see-through.
    TBitmap& master = *model().MasterBitmap;
    Paint(master, RECT{40, 0, 46, 6}, kDivider);
    paint_test::SetPx(master, 40, 0, paint::TransparentColor);
    paint_test::SetPx(master, 45, 5, paint::TransparentColor);
    AddMask("MAINMENU", "BORDERSMASK", RECT{40, 0, 46, 6}, 1, 0, skin::itisaBorder, 3, 3, 3, 3);
    Add("First");
    Hook();
    RECT w{};
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    int kind = ERROR;
    TColor edge = 0;
    Run([&] {
        GetWindowRect(MenuWindow(), &w);
        kind = GetWindowRgn(MenuWindow(), shape);
        edge = ScreenPx(POINT{w.left + 1, w.top + 1});
        Key(VK_ESCAPE);
    });
    ASSERT_NE(kind, ERROR) << "the popup has a shape";
    int width = w.right - w.left, height = w.bottom - w.top;
    EXPECT_FALSE(PtInRegion(shape, 0, 0));
    EXPECT_TRUE(PtInRegion(shape, 1, 0));
    EXPECT_FALSE(PtInRegion(shape, width - 1, height - 1));
    EXPECT_TRUE(PtInRegion(shape, width - 2, height - 1));
    EXPECT_EQ(edge, kDivider) << "the skin's frame";
    DeleteObject(shape);
}

TEST_F(SkinnedMenuPopup, ThousandSubmenusLeaveNoPictureBehind) {
    TMenuItem* more = Add("More");
    Add("After");
    TMenuItem* inner = Add("Inner", more);
    Add("Inner two", more);
    int innerDrawn = 0;
    inner->OnDrawItem = [&](framework::TObject*, TCanvas&, const RECT&, bool) { ++innerDrawn; };
    Hook();
    int opened = 0, step = 0;
    std::size_t most = 0;
    int drawnAtOpen = 0;
    Run([&] {
        most = std::max(most, forms::TsSkinableMenus::CachedBackgroundCount());
        if (step == 0) {
            Key(VK_DOWN);  // select "More"
        } else if (step % 2 == 1) {
            if (opened == 1000) {
                Key(VK_ESCAPE);
                return;
            }
            Key(VK_RIGHT);
            ++opened;
        } else {
            if (innerDrawn == drawnAtOpen) return;  // wait until the submenu has painted
            drawnAtOpen = innerDrawn;
            Key(VK_LEFT);
        }
        ++step;
    });
    EXPECT_EQ(opened, 1000);
    EXPECT_GE(innerDrawn, 1000) << "every submenu was painted by the painter";
    EXPECT_LE(most, 2u) << "one picture per open popup at most";
    EXPECT_EQ(forms::TsSkinableMenus::CachedBackgroundCount(), 0u);
    EXPECT_EQ(MenuWindow(), nullptr);
}

TEST_F(SkinnedMenuPopup, NewSkinDropsThePictures) {
    Add("First");
    Hook();
    std::size_t during = 0, afterForget = 0;
    Run([&] {
        during = forms::TsSkinableMenus::CachedBackgroundCount();
        skin::FormLayer()->ForgetMenuPictures(manager.get());
        afterForget = forms::TsSkinableMenus::CachedBackgroundCount();
        Key(VK_ESCAPE);
    });
    EXPECT_EQ(during, 1u);
    EXPECT_EQ(afterForget, 0u);
}

}  // namespace
}  // namespace menu_test

// Menus as data and the system menu's item states.
#include <cstring>

#include "platform/gdi_text.h"
#include "platform/menu.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

class SystemMenu : public WindowTest {
protected:
    bool Enabled(HMENU m, UINT id) { return !(GetMenuState(m, id, MF_BYCOMMAND) & MF_GRAYED); }
};

TEST_F(SystemMenu, FixedWindowWithMinimizeBoxOnly) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE);
    HMENU m = GetSystemMenu(w, FALSE);
    ASSERT_TRUE(m);
    EXPECT_EQ(GetMenuItemCount(m), 7);
    EXPECT_FALSE(Enabled(m, SC_RESTORE));
    EXPECT_TRUE(Enabled(m, SC_MOVE));
    EXPECT_FALSE(Enabled(m, SC_SIZE));
    EXPECT_TRUE(Enabled(m, SC_MINIMIZE));
    EXPECT_FALSE(Enabled(m, SC_MAXIMIZE));
    EXPECT_TRUE(Enabled(m, SC_CLOSE));
    EXPECT_TRUE(GetMenuState(m, SC_CLOSE, MF_BYCOMMAND) & MF_DEFAULT);
    EXPECT_TRUE(GetMenuState(m, 5, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST_F(SystemMenu, StatesFollowMinimizeAndMaximize) {
    HWND w = CreateTop("T", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(w, SW_SHOWMAXIMIZED);
    HMENU m = GetSystemMenu(w, FALSE);
    EXPECT_TRUE(Enabled(m, SC_RESTORE));
    EXPECT_FALSE(Enabled(m, SC_MAXIMIZE));
    EXPECT_FALSE(Enabled(m, SC_MOVE));
    EXPECT_FALSE(Enabled(m, SC_SIZE));
    ShowWindow(w, SW_RESTORE);
    m = GetSystemMenu(w, FALSE);
    EXPECT_FALSE(Enabled(m, SC_RESTORE));
    EXPECT_TRUE(Enabled(m, SC_SIZE));
    EXPECT_TRUE(Enabled(m, SC_MAXIMIZE));
}

TEST_F(SystemMenu, NoSystemMenuWithoutTheStyleAndRevertDropsTheCopy) {
    HWND plain = CreateTop("T", WS_POPUP);
    EXPECT_EQ(GetSystemMenu(plain, FALSE), nullptr);
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    HMENU m = GetSystemMenu(w, FALSE);
    DeleteMenu(m, SC_CLOSE, MF_BYCOMMAND);
    EXPECT_EQ(GetMenuItemCount(m), 6);
    GetSystemMenu(w, TRUE);
    EXPECT_FALSE(IsMenu(m));
    EXPECT_EQ(GetMenuItemCount(GetSystemMenu(w, FALSE)), 7);
    DestroyWindow(w);
}

TEST(Menus, ItemsByCommandAndByPosition) {
    HMENU m = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenu(m, MF_STRING, 10, "Сохранить");
    AppendMenu(m, MF_SEPARATOR, 0, nullptr);
    AppendMenu(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Ещё");
    InsertMenu(m, 0, MF_BYPOSITION | MF_STRING, 5, "Первый");
    EXPECT_EQ(GetMenuItemID(m, 0), 5u);
    EXPECT_EQ(GetMenuItemID(m, 1), 10u);
    EXPECT_EQ(GetSubMenu(m, 3), sub);
    char text[32];
    EXPECT_EQ(GetMenuString(m, 10, text, sizeof text, MF_BYCOMMAND), static_cast<int>(std::strlen("Сохранить")));
    EXPECT_STREQ(text, "Сохранить");
    CheckMenuItem(m, 10, MF_BYCOMMAND | MF_CHECKED);
    EXPECT_TRUE(GetMenuState(m, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ(GetMenuState(m, 99, MF_BYCOMMAND), static_cast<UINT>(-1));
    DestroyMenu(m);
    EXPECT_FALSE(IsMenu(sub));  // destroyed with its parent
}

}  // namespace

namespace {

TEST(SystemValues, NonClientMetricsNeedTheirSizeAndMatchTheFrame) {
    NONCLIENTMETRICS m{};
    m.cbSize = 4;
    EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
    m.cbSize = sizeof m;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
    EXPECT_EQ(m.iCaptionHeight + 1, GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(m.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_LT(m.lfMessageFont.lfHeight, 0);
    EXPECT_TRUE(CreateFontIndirect(&m.lfMessageFont));
}

}  // namespace

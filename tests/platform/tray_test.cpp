// The tray icon on the headless screen's tray: adding, callbacks for clicks, and the
// TaskbarCreated broadcast when a tray appears again.
#include <cstring>

#include "platform/shell.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

class TrayIcon : public WindowTest {
protected:
    void TearDown() override {
        Screen().SetTrayPresent(true);
        WindowTest::TearDown();
    }
    NOTIFYICONDATAA Data(HWND owner, const char* tip) {
        NOTIFYICONDATAA d{};
        d.cbSize = sizeof d;
        d.hWnd = owner;
        d.uID = 5;
        d.uFlags = NIF_MESSAGE | NIF_TIP;
        d.uCallbackMessage = WM_USER + 0x54;
        std::strncpy(d.szTip, tip, sizeof d.szTip - 1);
        return d;
    }
    std::vector<LPARAM> Callbacks(HWND owner) {
        std::vector<LPARAM> out;
        for (const Logged& l : Log())
            if (l.hwnd == owner && l.msg == WM_USER + 0x54) out.push_back(l.lParam);
        return out;
    }
};

TEST_F(TrayIcon, ClicksReachTheCallbackAsMouseMessages) {
    HWND owner = CreateTop();
    NOTIFYICONDATAA d = Data(owner, "Утрозвон");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &d));
    ASSERT_EQ(Screen().TrayIcons().size(), 1u);
    EXPECT_EQ(Screen().TrayIcons()[0].tip, "Утрозвон");
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &d));  // the same icon twice
    Log().clear();
    Screen().TrayMouse("dblclick");
    Screen().TrayMouse("rclick");
    Pump();
    EXPECT_EQ(Callbacks(owner), (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP,
                                                     WM_RBUTTONDOWN, WM_RBUTTONUP}));
    EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &d));
    EXPECT_TRUE(Screen().TrayIcons().empty());
    EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &d));
}

TEST_F(TrayIcon, ModifyChangesTheTip) {
    HWND owner = CreateTop();
    NOTIFYICONDATAA d = Data(owner, "один");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &d));
    NOTIFYICONDATAA m = Data(owner, "два");
    m.uFlags = NIF_TIP;
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &m));
    EXPECT_EQ(Screen().TrayIcons()[0].tip, "два");
    Shell_NotifyIconA(NIM_DELETE, &d);
}

TEST_F(TrayIcon, NoTrayMeansAddFailsAndANewTrayIsAnnounced) {
    HWND owner = CreateTop();
    Screen().SetTrayPresent(false);
    NOTIFYICONDATAA d = Data(owner, "x");
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &d));
    Log().clear();
    Screen().SetTrayPresent(true);
    Pump();
    UINT created = RegisterWindowMessage("TaskbarCreated");
    EXPECT_EQ(std::count_if(Log().begin(), Log().end(), [&](const Logged& l) { return l.hwnd == owner && l.msg == created; }), 1);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &d));
    Shell_NotifyIconA(NIM_DELETE, &d);
}

}  // namespace

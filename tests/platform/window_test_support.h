// Shared set-up for window-system tests: a headless screen, a recording window class, message
// pumping, and sequence checks in the style of message tables with optional entries.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/window.h"

namespace testing_support {

using platform::MouseButton;

struct Logged {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    UINT posFlags = 0;  // WINDOWPOS flags of WM_WINDOWPOSCHANGING / WM_WINDOWPOSCHANGED
};

// What a table row checks besides the message.
enum class Check { None, WParam, PosFlags };

struct Expected {
    UINT msg;
    bool optional = false;
    Check check = Check::None;
    std::uint64_t value = 0;
};
// Table rows that check wParam, or the public WINDOWPOS flags (without the undocumented
// client-move and client-size bits).
Expected WithWParam(UINT msg, WPARAM value, bool optional = false);
Expected WithPos(UINT msg, UINT flags);

std::vector<Logged>& Log();
// Messages that carry no meaning for sequence checks (cursor, icon and text queries).
bool IsNoise(UINT msg);
// Messages of one window, in order, without noise.
std::vector<UINT> MessagesOf(HWND hwnd);
// Compares a recorded sequence with a table; optional entries may be absent.
::testing::AssertionResult SequenceMatches(const std::vector<UINT>& actual, const std::vector<Expected>& expected);
// Messages of one window with their parameters, keeping WM_GETMINMAXINFO (whose place the
// tables of moves and sizes check), and the comparison that also checks parameters.
std::vector<Logged> DetailedMessagesOf(HWND hwnd);
::testing::AssertionResult SequenceMatches(const std::vector<Logged>& actual, const std::vector<Expected>& expected);
std::string MessageName(UINT msg);

// The recording class "Recorder": every message is logged, then DefWindowProc answers.
LRESULT RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

platform::headless::HeadlessBackend& Screen();

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND CreateTop(const char* title = "Top", DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, RECT r = {100, 100, 400, 300},
                   DWORD exStyle = 0);
    HWND CreateChild(HWND parent, RECT r, DWORD style = WS_CHILD | WS_VISIBLE, DWORD exStyle = 0);
    // Handles every pending message, including paints and due timers.
    void Pump();
    // Fills the client area of a window through GetDC with a colour.
    static void FillClient(HWND w, COLORREF color);
    // Reads a pixel of the composed headless screen as 0xRRGGBB.
    std::uint32_t ScreenPixel(int x, int y);
};

}  // namespace testing_support

// MessageBoxA: a modal box in the standard look with an icon, the text and an OK button.
// Only the OK button is offered; every way of closing the box answers IDOK.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/gdi.h"
#include "platform/gdi/dib.h"
#include "platform/gdi_text.h"
#include "platform/window/message_box_icons.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

constexpr const char* kClassName = "#32770";
constexpr int kMargin = 11;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kMaxTextWidth = 420;

struct BoxState {
    std::string text;
    BoxIcon icon = BoxIcon::None;
    RECT textRect{};
    RECT button{};
    bool buttonDown = false;
    bool buttonHot = false;
    bool done = false;
};

HFONT MessageFont() {
    static HFONT font = [] {
        LOGFONT lf{};
        lf.lfHeight = -11;
        lf.lfWeight = FW_NORMAL;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Tahoma");
        return CreateFontIndirect(&lf);
    }();
    return font;
}

BoxState* StateOf(HWND hwnd) { return reinterpret_cast<BoxState*>(GetWindowLongPtr(hwnd, GWLP_USERDATA)); }

BoxIcon IconFor(UINT type) {
    switch (type & 0xF0) {
        case MB_ICONERROR: return BoxIcon::Error;
        case MB_ICONWARNING: return BoxIcon::Warning;
        case MB_ICONINFORMATION: return BoxIcon::Information;
        case MB_ICONQUESTION: return BoxIcon::Question;
        default: return BoxIcon::None;
    }
}

void DrawIconPixels(HDC dc, BoxIcon icon, int x, int y) {
    if (icon == BoxIcon::None) return;
    std::vector<std::uint32_t> px = RenderBoxIcon(icon, kIconSize);
    void* bits = nullptr;
    HBITMAP bmp = gdi::CreateTopDownDib(kIconSize, kIconSize, 32, &bits);
    if (!bmp) return;
    std::memcpy(bits, px.data(), px.size() * 4);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, kIconSize, kIconSize, mem, 0, 0, kIconSize, kIconSize, bf);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
}

void Paint(HWND hwnd, BoxState* s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawIconPixels(dc, s->icon, kMargin, kMargin);
    HGDIOBJ oldFont = SelectObject(dc, MessageFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT t = s->textRect;
    DrawText(dc, s->text.c_str(), -1, &t, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    RECT b = s->button;
    bool pushed = s->buttonDown && s->buttonHot;
    DrawFrameControl(dc, &b, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    RECT label = b;
    if (pushed) OffsetRect(&label, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawText(dc, "OK", -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RECT focus = b;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

bool InButton(const BoxState* s, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const RECT& b = s->button;
    return p.x >= b.left && p.x < b.right && p.y >= b.top && p.y < b.bottom;
}

void SetButtonState(HWND hwnd, BoxState* s, bool down, bool hot) {
    if (s->buttonDown == down && s->buttonHot == hot) return;
    s->buttonDown = down;
    s->buttonHot = hot;
    InvalidateRect(hwnd, &s->button, TRUE);
}

LRESULT BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    BoxState* s = StateOf(hwnd);
    if (!s) return DefWindowProc(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_PAINT: Paint(hwnd, s); return 0;
        case WM_LBUTTONDOWN:
            if (InButton(s, lParam)) {
                SetCapture(hwnd);
                SetButtonState(hwnd, s, true, true);
            }
            return 0;
        case WM_MOUSEMOVE:
            if (s->buttonDown) SetButtonState(hwnd, s, true, InButton(s, lParam));
            return 0;
        case WM_LBUTTONUP:
            if (s->buttonDown) {
                bool hit = InButton(s, lParam);
                SetButtonState(hwnd, s, false, false);
                ReleaseCapture();
                if (hit) s->done = true;
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_SPACE) s->done = true;
            return 0;
        case WM_CLOSE: s->done = true; return 0;
        default: return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

void EnsureClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASS wc{};
    wc.lpfnWndProc = BoxProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClass(&wc);
    registered = true;
}

// Client size and the places of text and button.
SIZE Layout(BoxState& s) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, MessageFont());
    RECT t{0, 0, kMaxTextWidth, 0};
    DrawText(dc, s.text.empty() ? " " : s.text.c_str(), -1, &t, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    DeleteDC(dc);
    int textLeft = kMargin + (s.icon == BoxIcon::None ? 0 : kIconSize + kMargin);
    int iconHeight = s.icon == BoxIcon::None ? 0 : kIconSize;
    int bodyHeight = std::max<int>(iconHeight, t.bottom);
    int textTop = kMargin + std::max(0, (iconHeight - static_cast<int>(t.bottom)) / 2);
    s.textRect = RECT{textLeft, textTop, textLeft + t.right, textTop + t.bottom};
    int width = std::max<int>(textLeft + t.right + kMargin, kButtonWidth + 2 * kMargin);
    width = std::max(width, 120);
    int buttonTop = kMargin + bodyHeight + kMargin + 4;
    s.button = RECT{(width - kButtonWidth) / 2, buttonTop, (width + kButtonWidth) / 2, buttonTop + kButtonHeight};
    return SIZE{width, buttonTop + kButtonHeight + kMargin};
}

RECT PlaceBox(HWND owner, SIZE client, DWORD style, DWORD exStyle) {
    RECT r{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    int w = r.right - r.left, h = r.bottom - r.top;
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
    int x = around.left + (around.right - around.left - w) / 2;
    int y = around.top + (around.bottom - around.top - h) / 2;
    x = std::clamp(x, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - w));
    y = std::clamp(y, 0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - h));
    return RECT{x, y, x + w, y + h};
}

std::vector<HWND> DisableOthers(HWND owner, UINT type) {
    std::vector<HWND> disabled;
    auto disable = [&](HWND h) {
        if (IsWindowEnabled(h)) {
            EnableWindow(h, FALSE);
            disabled.push_back(h);
        }
    };
    if (type & (MB_TASKMODAL | MB_SYSTEMMODAL)) {
        for (Window* t : TopLevels())
            if (t->style & WS_VISIBLE) disabled.push_back(t->handle);
        std::vector<HWND> all = disabled;
        disabled.clear();
        for (HWND h : all) disable(h);
    } else if (owner) {
        disable(owner);
    }
    return disabled;
}

void RunModal(HWND box, HWND owner, BoxState& state) {
    MSG msg{};
    while (!state.done && IsWindow(box)) {
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (owner) SendMessage(owner, WM_ENTERIDLE, 0, reinterpret_cast<LPARAM>(box));
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

}  // namespace
}  // namespace platform::win

using namespace platform::win;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    EnsureClass();
    if (owner && !IsWindow(owner)) owner = nullptr;
    if (owner) owner = GetAncestor(owner, GA_ROOT);
    BoxState state;
    state.text = text ? text : "";
    state.icon = IconFor(type);
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    DWORD exStyle = WS_EX_DLGMODALFRAME | ((type & MB_TOPMOST) ? WS_EX_TOPMOST : 0);
    SIZE client = Layout(state);
    RECT r = PlaceBox(owner, client, style, exStyle);
    HWND box = CreateWindowEx(exStyle, kClassName, caption ? caption : "Error", style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, owner, nullptr, nullptr, nullptr);
    if (!box) return 0;
    // Nobody reads an in-memory screen: say on stderr what the box says.
    if (std::strcmp(GetBackend().Name(), "headless") == 0)
        std::fprintf(stderr, "message box \"%s\": %s\n", caption ? caption : "Error", state.text.c_str());
    SetWindowLongPtr(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    std::vector<HWND> disabled = DisableOthers(owner, type);
    ShowWindow(box, SW_SHOW);
    SetFocus(box);
    RunModal(box, owner, state);
    for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    if (IsWindow(box)) {
        SetWindowLongPtr(box, GWLP_USERDATA, 0);
        DestroyWindow(box);
    }
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
    return IDOK;
}

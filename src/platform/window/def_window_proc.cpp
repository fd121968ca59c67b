// DefWindowProc: the system's default answers to window messages.
#include <algorithm>
#include <cstring>

#include "platform/gdi.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

LRESULT GetText(Window* w, WPARAM size, LPARAM buffer) {
    auto* out = reinterpret_cast<char*>(buffer);
    if (!out || size == 0) return 0;
    std::size_t n = std::min<std::size_t>(size - 1, w->text.size());
    // Never cut a UTF-8 sequence in half.
    while (n > 0 && n < w->text.size() && (static_cast<unsigned char>(w->text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(out, w->text.data(), n);
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

void RepaintFrame(Window* w) {
    if (!HasCaption(w->style) || !IsReallyVisible(w)) return;
    HDC dc = GetWindowDC(w->handle);
    PaintDefaultFrame(w, dc, ActiveWindow() == w);
    ReleaseDC(w->handle, dc);
}

LRESULT SetText(Window* w, LPARAM text) {
    w->text = text ? reinterpret_cast<const char*>(text) : "";
    if (!w->IsChild() && w->surface) GetBackend().SetSurfaceTitle(w->surface->id, w->text);
    RepaintFrame(w);
    return TRUE;
}

HBRUSH ClassBrush(const Window* w) {
    HBRUSH b = w->cls->background;
    auto v = reinterpret_cast<std::uintptr_t>(b);
    // Like the real API, a small value is a system colour index plus one.
    if (v > 0 && v <= 31) return GetSysColorBrush(static_cast<int>(v - 1));
    return b;
}

LRESULT EraseBackground(Window* w, HDC dc) {
    HBRUSH brush = ClassBrush(w);
    if (!brush) return 0;
    RECT r{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    FillRect(dc, &r, brush);
    return 1;
}

LRESULT NcCalcSize(Window* w, LPARAM lParam) {
    auto* r = reinterpret_cast<RECT*>(lParam);
    RECT windowRect = *r;
    RECT c = DefaultClientFromWindow(w, windowRect);
    *r = c;
    return 0;
}

void PrintWindow(Window* w, HDC dc, LPARAM flags) {
    if ((flags & PRF_CHECKVISIBLE) && !IsReallyVisible(w)) return;
    HWND h = w->handle;
    RECT c = w->ClientInWindow();
    if (flags & PRF_NONCLIENT) PaintDefaultFrame(w, dc, ActiveWindow() == w);
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, c.left, c.top, nullptr);
    if ((flags & PRF_ERASEBKGND) && (w = FromHandle(h))) Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if ((flags & PRF_CLIENT) && (w = FromHandle(h))) Send(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    if ((flags & PRF_CHILDREN) && (w = FromHandle(h))) {
        std::vector<Window*> kids(w->children.rbegin(), w->children.rend());
        for (Window* k : kids) {
            if (!(k->style & WS_VISIBLE)) continue;
            int s = SaveDC(dc);
            OffsetViewportOrgEx(dc, k->rect.left, k->rect.top, nullptr);
            Send(k, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT);
            RestoreDC(dc, s);
        }
    }
    RestoreDC(dc, saved);
}

LRESULT SetCursorDefault(Window* w, WPARAM wParam, LPARAM lParam) {
    if (w->IsChild() && Send(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
    int hit = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam)));
    LPCSTR shape = IDC_ARROW;
    switch (hit) {
        case HTCLIENT:
            if (w->cls->cursor) {
                SetCursor(w->cls->cursor);
                return TRUE;
            }
            break;
        case HTLEFT: case HTRIGHT: shape = IDC_SIZEWE; break;
        case HTTOP: case HTBOTTOM: shape = IDC_SIZENS; break;
        case HTTOPLEFT: case HTBOTTOMRIGHT: shape = IDC_SIZENWSE; break;
        case HTTOPRIGHT: case HTBOTTOMLEFT: shape = IDC_SIZENESW; break;
        default: break;
    }
    SetCursor(LoadCursor(nullptr, shape));
    return TRUE;
}

LRESULT NcLButtonDown(Window* w, WPARAM hit, LPARAM lParam) {
    switch (static_cast<LRESULT>(hit)) {
        case HTCAPTION: Send(w, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam); break;
        case HTCLOSE: case HTMINBUTTON: case HTMAXBUTTON: case HTHELP:
            RunCaptionButtonLoop(w, static_cast<LRESULT>(hit));
            break;
        case HTSYSMENU:
            if (w->style & WS_SYSMENU) Send(w, WM_SYSCOMMAND, SC_MOUSEMENU | hit, lParam);
            break;
        case HTLEFT: case HTRIGHT: case HTTOP: case HTTOPLEFT: case HTTOPRIGHT: case HTBOTTOM: case HTBOTTOMLEFT:
        case HTBOTTOMRIGHT:
            Send(w, WM_SYSCOMMAND, SC_SIZE + (hit - HTLEFT + 1), lParam);
            break;
        default: break;
    }
    return 0;
}

LRESULT NcLButtonDblClk(Window* w, WPARAM hit, LPARAM lParam) {
    if (hit == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
        Send(w, WM_SYSCOMMAND, w->maximized || w->minimized ? SC_RESTORE : SC_MAXIMIZE, lParam);
    else if (hit == HTSYSMENU && !(w->cls->style & CS_NOCLOSE))
        Send(w, WM_SYSCOMMAND, SC_CLOSE, lParam);
    return 0;
}

// Below the icon of the caption, where the real system opens the system menu from the
// keyboard or the icon.
POINT SystemMenuPoint(Window* w) {
    POINT o = ScreenOrigin(w);
    int frame = FrameWidth(w->style, w->exStyle);
    return POINT{o.x + frame, o.y + frame + CaptionHeight(w->style, w->exStyle)};
}

// Only a window with WS_SYSMENU has the system's own menu; without it SC_KEYMENU is left to
// the window's procedure (a skinned frame shows a menu of its own).
void ShowSystemMenu(Window* w, POINT at) {
    if (w->IsChild() || !(w->style & WS_SYSMENU)) return;
    TrackSystemMenu(w->handle, at);
}

LRESULT SysCommand(Window* w, WPARAM wParam, LPARAM lParam) {
    HWND h = w->handle;
    switch (wParam & 0xFFF0) {
        case SC_KEYMENU:
            if (lParam == ' ') ShowSystemMenu(w, SystemMenuPoint(w));
            break;
        case SC_MOUSEMENU: ShowSystemMenu(w, SystemMenuPoint(w)); break;
        case SC_CLOSE: Send(w, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(h, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(h, SW_SHOWMAXIMIZED); break;
        case SC_RESTORE: ShowWindow(h, SW_RESTORE); break;
        case SC_MOVE: case SC_SIZE:
            RunMoveSizeLoop(w, wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            break;
        default: break;
    }
    return 0;
}

LRESULT SysKeyDown(Window* w, WPARAM vk, LPARAM lParam) {
    if (vk == VK_F4 && (lParam & (1 << 29))) {
        Window* top = TopLevelOf(w);
        PostMessage(top->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return 0;
}

// Alt+Space asks for the system menu whatever the window's style, as with the real system: a
// child hands the key to its parent, a top-level window sends itself SC_KEYMENU.
LRESULT SysChar(Window* w, WPARAM ch, LPARAM lParam) {
    if (ch != ' ' || !(lParam & (1 << 29))) return 0;
    if (w->IsChild()) return Send(w->parent, WM_SYSCHAR, ch, lParam);
    Send(w, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    return 0;
}

// A right click on the caption or the icon opens the system menu at the pointer.
LRESULT ContextMenu(Window* w, WPARAM wParam, LPARAM lParam) {
    if (w->IsChild()) return Send(w->parent, WM_CONTEXTMENU, wParam, lParam);
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    LRESULT hit = DefaultHitTest(w, at);
    if (hit == HTCAPTION || hit == HTSYSMENU) ShowSystemMenu(w, at);
    return 0;
}

LRESULT WindowPosChanged(Window* w, LPARAM lParam) {
    auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
    HWND h = w->handle;
    if (!(wp->flags & 0x1000)) {  // client moved
        POINT p{w->client.left, w->client.top};
        Send(w, WM_MOVE, 0, MAKELPARAM(p.x, p.y));
    }
    if ((w = FromHandle(h)) && !(wp->flags & 0x0800)) {  // client resized
        WPARAM kind = w->minimized ? SIZE_MINIMIZED : w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
        Send(w, WM_SIZE, kind, MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
    }
    return 0;
}

LRESULT SetRedraw(Window* w, WPARAM on) {
    if (on) w->style |= WS_VISIBLE;
    else w->style &= ~WS_VISIBLE;
    return 0;
}

LRESULT SetIcon(Window* w, WPARAM which, LPARAM icon) {
    HICON& slot = which == ICON_BIG ? w->iconBig : w->iconSmall;
    HICON old = slot;
    slot = reinterpret_cast<HICON>(icon);
    if (!w->IsChild() && w->surface && which == ICON_BIG) GetBackend().SetSurfaceIcon(w->surface->id, IconPixelsOf(slot));
    RepaintFrame(w);
    return reinterpret_cast<LRESULT>(old);
}

LRESULT GetIcon(Window* w, WPARAM which) {
    if (which == ICON_BIG) return reinterpret_cast<LRESULT>(w->iconBig);
    if (which == ICON_SMALL) return reinterpret_cast<LRESULT>(w->iconSmall);
    return reinterpret_cast<LRESULT>(w->iconSmall ? w->iconSmall : w->iconBig);
}

LRESULT MouseActivate(Window* w, WPARAM wParam, LPARAM lParam) {
    if (w->IsChild())
        if (LRESULT r = Send(w->parent, WM_MOUSEACTIVATE, wParam, lParam)) return r;
    return MA_ACTIVATE;
}

}  // namespace
}  // namespace platform::win

using namespace platform::win;

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(hwnd);
    if (!w) return 0;
    switch (msg) {
        case WM_NCCREATE:
            if (lParam) w->text = reinterpret_cast<CREATESTRUCT*>(lParam)->lpszName ? reinterpret_cast<CREATESTRUCT*>(lParam)->lpszName : "";
            return TRUE;
        case WM_NCCALCSIZE: return NcCalcSize(w, lParam);
        case WM_NCHITTEST: return DefaultHitTest(w, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        case WM_NCPAINT: {
            HDC dc = GetWindowDC(hwnd);
            PaintDefaultFrame(w, dc, ActiveWindow() == w);
            ReleaseDC(hwnd, dc);
            return 0;
        }
        case WM_NCACTIVATE: {
            HDC dc = GetWindowDC(hwnd);
            PaintDefaultFrame(w, dc, wParam != 0);
            ReleaseDC(hwnd, dc);
            return TRUE;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return EraseBackground(w, reinterpret_cast<HDC>(wParam));
        case WM_PRINT: PrintWindow(w, reinterpret_cast<HDC>(wParam), lParam); return 0;
        case WM_SETTEXT: return SetText(w, lParam);
        case WM_GETTEXT: return GetText(w, wParam, lParam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
        case WM_SETREDRAW: return SetRedraw(w, wParam);
        case WM_SETICON: return SetIcon(w, wParam, lParam);
        case WM_GETICON: return GetIcon(w, wParam);
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_SYSCOMMAND: return SysCommand(w, wParam, lParam);
        case WM_NCLBUTTONDOWN: return NcLButtonDown(w, wParam, lParam);
        case WM_NCLBUTTONDBLCLK: return NcLButtonDblClk(w, wParam, lParam);
        case WM_SYSKEYDOWN: return SysKeyDown(w, wParam, lParam);
        case WM_SYSCHAR: return SysChar(w, wParam, lParam);
        case WM_SETCURSOR: return SetCursorDefault(w, wParam, lParam);
        case WM_MOUSEACTIVATE: return MouseActivate(w, wParam, lParam);
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hwnd);
            return 0;
        case WM_WINDOWPOSCHANGING: ClampWindowPos(w, reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
        case WM_WINDOWPOSCHANGED: return WindowPosChanged(w, lParam);
        case WM_GETMINMAXINFO: return 0;
        case WM_RBUTTONUP: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(hwnd, &p);
            Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(p.x, p.y));
            return 0;
        }
        case WM_NCRBUTTONUP:
            Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
            return 0;
        case WM_CONTEXTMENU: return ContextMenu(w, wParam, lParam);
        case WM_MOUSEWHEEL:
            if (w->IsChild()) return Send(w->parent, msg, wParam, lParam);
            return 0;
        case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        default: return 0;
    }
}

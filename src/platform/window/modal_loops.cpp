// The modal loops DefWindowProc runs: tracking a pressed caption button, and moving or
// sizing a window with the mouse when the backend's window manager does not do it.
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

bool ButtonStillDown() { return (GetKeyState(VK_LBUTTON) & 0x8000) != 0; }

WPARAM CommandForButton(LRESULT hit) {
    switch (hit) {
        case HTCLOSE: return SC_CLOSE;
        case HTMINBUTTON: return SC_MINIMIZE;
        case HTMAXBUTTON: return SC_MAXIMIZE;
        default: return SC_CONTEXTHELP;
    }
}

// Pumps one message of a modal loop; false when WM_QUIT arrived (it is posted again so the
// outer loop ends too).
bool PumpOne(MSG& msg) {
    if (!GetMessage(&msg, nullptr, 0, 0)) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    return true;
}

}  // namespace

void RunCaptionButtonLoop(Window* w, LRESULT hit) {
    HWND h = w->handle;
    if (hit == HTMAXBUTTON && !(w->style & WS_MAXIMIZEBOX)) return;
    if (hit == HTMINBUTTON && !(w->style & WS_MINIMIZEBOX)) return;
    if (hit == HTCLOSE && (w->cls->style & CS_NOCLOSE)) return;
    SetCapture(h);
    DrawCaptionButtonPressed(w, hit, true);
    bool pressed = true;
    MSG msg{};
    while (IsWindow(h) && GetCapture() == h && PumpOne(msg)) {
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
            LRESULT now = DefaultHitTest(FromHandle(h), CursorPosition());
            if ((now == hit) != pressed) {
                pressed = !pressed;
                DrawCaptionButtonPressed(FromHandle(h), hit, pressed);
            }
            continue;
        }
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) continue;
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) continue;
        DispatchMessage(&msg);
    }
    if (GetCapture() == h) ReleaseCapture();
    if (!(w = FromHandle(h))) return;
    pressed = DefaultHitTest(w, CursorPosition()) == hit;
    DrawCaptionButtonPressed(w, hit, false);
    if (pressed) Send(w, WM_SYSCOMMAND, CommandForButton(hit), MAKELPARAM(CursorPosition().x, CursorPosition().y));
}

void RunMoveSizeLoop(Window* w, WPARAM command, POINT start) {
    if (w->IsChild() || w->maximized) return;
    HWND h = w->handle;
    int hitCode = (command & 0xFFF0) == SC_MOVE ? static_cast<int>(HTCAPTION)
                                                 : static_cast<int>(HTLEFT) + static_cast<int>(command & 0x0F) - 1;
    if (w->surface && GetBackend().BeginMoveResize(w->surface->id, hitCode, start)) return;
    if (!ButtonStillDown()) return;
    Send(w, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(h);
    RECT origin = w->rect;
    MSG msg{};
    while (IsWindow(h) && GetCapture() == h && PumpOne(msg)) {
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
        if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) {
            if (!(msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)) DispatchMessage(&msg);
            continue;
        }
        POINT p = CursorPosition();
        int dx = p.x - start.x, dy = p.y - start.y;
        RECT r = origin;
        if (hitCode == HTCAPTION) {
            r = RectOffset(origin, dx, dy);
        } else {
            if (hitCode == HTLEFT || hitCode == HTTOPLEFT || hitCode == HTBOTTOMLEFT) r.left += dx;
            if (hitCode == HTRIGHT || hitCode == HTTOPRIGHT || hitCode == HTBOTTOMRIGHT) r.right += dx;
            if (hitCode == HTTOP || hitCode == HTTOPLEFT || hitCode == HTTOPRIGHT) r.top += dy;
            if (hitCode == HTBOTTOM || hitCode == HTBOTTOMLEFT || hitCode == HTBOTTOMRIGHT) r.bottom += dy;
        }
        Send(FromHandle(h), hitCode == HTCAPTION ? WM_MOVING : WM_SIZING, static_cast<WPARAM>(hitCode),
             reinterpret_cast<LPARAM>(&r));
        SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (GetCapture() == h) ReleaseCapture();
    if (Window* after = FromHandle(h)) Send(after, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace platform::win

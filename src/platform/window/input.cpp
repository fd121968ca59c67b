// Turns backend input into window messages: hit testing, capture, activation by click,
// double clicks, mouse-leave tracking, the cursor, the key state and WM_CHAR.
#include <algorithm>
#include <cstring>
#include <deque>

#include "platform/window/window_system.h"

namespace platform::win {

namespace {

struct KeyText {
    UINT vk;
    DWORD time;
    std::string text;
};

struct InputState {
    std::deque<BackendEvent> raw;
    HWND capture = nullptr;
    HWND tracked = nullptr;
    DWORD trackFlags = 0;
    POINT cursor{};
    HCURSOR cursorHandle = nullptr;
    UINT lastDownMsg = 0;
    HWND lastDownWnd = nullptr;
    DWORD lastDownTime = 0;
    POINT lastDownPt{};
    BYTE keys[256] = {};
    std::deque<KeyText> keyTexts;
};

InputState& S() {
    static InputState s;
    return s;
}

bool KeyDown(UINT vk) { return (S().keys[vk & 0xFF] & 0x80) != 0; }

WPARAM MouseKeyFlags() {
    WPARAM f = 0;
    if (KeyDown(VK_LBUTTON)) f |= MK_LBUTTON;
    if (KeyDown(VK_RBUTTON)) f |= MK_RBUTTON;
    if (KeyDown(VK_MBUTTON)) f |= MK_MBUTTON;
    if (KeyDown(VK_SHIFT)) f |= MK_SHIFT;
    if (KeyDown(VK_CONTROL)) f |= MK_CONTROL;
    return f;
}

bool TopAcceptsPoint(const Window* t, POINT p) {
    if (!(t->style & WS_VISIBLE) || t->minimized) return false;
    if ((t->exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT)) return false;
    if (p.x < t->rect.left || p.y < t->rect.top || p.x >= t->rect.right || p.y >= t->rect.bottom) return false;
    return !t->shape || t->shape->Contains(p.x - t->rect.left, p.y - t->rect.top);
}

Window* DeepestChild(Window* w, POINT screen) {
    for (;;) {
        POINT local = screen;
        ScreenToClient(w->handle, &local);
        Window* next = nullptr;
        for (Window* c : w->children) {
            if (!(c->style & WS_VISIBLE) || (c->style & WS_DISABLED)) continue;
            if (local.x < c->rect.left || local.y < c->rect.top || local.x >= c->rect.right || local.y >= c->rect.bottom)
                continue;
            if (c->shape && !c->shape->Contains(local.x - c->rect.left, local.y - c->rect.top)) continue;
            next = c;
            break;
        }
        if (!next) return w;
        w = next;
    }
}

}  // namespace

// The window under a screen point and its hit-test code, asking the windows by WM_NCHITTEST.
Window* HitWindow(POINT screen, LRESULT* hit) {
    for (Window* t : TopLevels()) {
        if (!TopAcceptsPoint(t, screen)) continue;
        Window* w = DeepestChild(t, screen);
        for (;;) {
            HWND h = w->handle;
            LRESULT code = Send(w, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
            if (!(w = FromHandle(h))) return nullptr;
            if (code != HTTRANSPARENT || !w->IsChild()) {
                *hit = code;
                return w;
            }
            w = w->parent;
        }
    }
    *hit = HTNOWHERE;
    return nullptr;
}

namespace {

void Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD time) {
    PostInput(MSG{hwnd, msg, wParam, lParam, time, S().cursor});
}

void CheckLeave(Window* target, LRESULT hit, DWORD time) {
    InputState& s = S();
    if (!s.tracked) return;
    bool nonclient = (s.trackFlags & TME_NONCLIENT) != 0;
    bool stillThere = target && target->handle == s.tracked && ((hit == HTCLIENT) != nonclient);
    if (stillThere) return;
    HWND left = s.tracked;
    s.tracked = nullptr;
    s.trackFlags = 0;
    Post(left, nonclient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0, time);
}

UINT ButtonMessage(MouseButton b, bool down, bool client) {
    UINT base = b == MouseButton::Left ? WM_LBUTTONDOWN : b == MouseButton::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
    if (!down) base += 1;
    return client ? base : base - (WM_LBUTTONDOWN - WM_NCLBUTTONDOWN);
}

UINT ButtonVk(MouseButton b) {
    return b == MouseButton::Left ? VK_LBUTTON : b == MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
}

// Turns a press into a double click when the real system would: same button and window,
// within the double-click time and distance; client areas only for CS_DBLCLKS classes.
UINT ApplyDoubleClick(UINT msg, Window* w, bool client, POINT screen, DWORD time) {
    InputState& s = S();
    bool dbl = msg == s.lastDownMsg && w->handle == s.lastDownWnd && time - s.lastDownTime <= GetDoubleClickTime() &&
               std::abs(screen.x - s.lastDownPt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
               std::abs(screen.y - s.lastDownPt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2 &&
               (!client || (w->cls->style & CS_DBLCLKS));
    if (dbl) {
        s.lastDownMsg = 0;
        return msg + 2;
    }
    s.lastDownMsg = msg;
    s.lastDownWnd = w->handle;
    s.lastDownTime = time;
    s.lastDownPt = screen;
    return msg;
}

void NotifyParents(Window* w, UINT msg, POINT screen) {
    HWND h = w->handle;
    while ((w = FromHandle(h)) && w->IsChild() && !(w->exStyle & WS_EX_NOPARENTNOTIFY)) {
        Window* p = w->parent;
        POINT local = screen;
        ScreenToClient(p->handle, &local);
        h = p->handle;
        Send(p, WM_PARENTNOTIFY, msg, MAKELPARAM(local.x, local.y));
    }
}

Window* EnabledPopupOf(Window* top) {
    for (Window* t : TopLevels())
        if (t->owner == top && (t->style & WS_VISIBLE) && !(t->style & WS_DISABLED)) return t;
    return nullptr;
}

// Returns false when the press is eaten.
bool ActivateByClick(Window* target, LRESULT hit, UINT msg) {
    Window* top = TopLevelOf(target);
    if (top->handle == GetActiveWindow() || (top->exStyle & WS_EX_NOACTIVATE)) return true;
    HWND h = target->handle;
    LRESULT r = Send(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle), MAKELPARAM(hit, msg));
    if ((r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT || r == 0) && (top = TopLevelOf(FromHandle(h))))
        ActivateWindow(top, WA_CLICKACTIVE);
    return r != MA_ACTIVATEANDEAT && r != MA_NOACTIVATEANDEAT && IsWindow(h);
}

LPARAM PointParam(Window* w, bool client, POINT screen) {
    POINT p = screen;
    if (client) ScreenToClient(w->handle, &p);
    return MAKELPARAM(p.x, p.y);
}

void ProcessMouse(const BackendEvent& e) {
    InputState& s = S();
    s.cursor = e.screen;
    if (e.kind == EventKind::ButtonPress) s.keys[ButtonVk(e.button)] |= 0x80;
    if (e.kind == EventKind::ButtonRelease) s.keys[ButtonVk(e.button)] &= ~0x80;
    LRESULT hit = HTCLIENT;
    Window* target = FromHandle(s.capture);
    if (!target) target = HitWindow(e.screen, &hit);
    CheckLeave(target, hit, e.time);
    if (!target) return;
    Window* top = TopLevelOf(target);
    if (top->style & WS_DISABLED) {
        if (e.kind == EventKind::ButtonPress)
            if (Window* popup = EnabledPopupOf(top)) ActivateWindow(popup, WA_CLICKACTIVE);
        return;
    }
    bool client = hit == HTCLIENT;
    HWND h = target->handle;
    if (e.kind == EventKind::MouseMove) {
        Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(hit, WM_MOUSEMOVE));
        if ((target = FromHandle(h)))
            Post(h, client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE, client ? MouseKeyFlags() : hit, PointParam(target, client, e.screen), e.time);
        return;
    }
    if (e.kind == EventKind::Wheel) {
        HWND to = GetFocus() ? GetFocus() : h;
        Post(to, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(MouseKeyFlags()), static_cast<WORD>(e.wheelDelta)),
             MAKELPARAM(e.screen.x, e.screen.y), e.time);
        return;
    }
    bool down = e.kind == EventKind::ButtonPress;
    UINT msg = ButtonMessage(e.button, down, client);
    if (down) {
        if (!ActivateByClick(target, hit, msg) || !(target = FromHandle(h))) return;
        Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(hit, msg));
        if (!(target = FromHandle(h))) return;
        if (client) NotifyParents(target, msg, e.screen);
        if (!(target = FromHandle(h))) return;
        msg = ApplyDoubleClick(msg, target, client, e.screen, e.time);
    }
    Post(h, msg, client ? MouseKeyFlags() : hit, PointParam(target, client, e.screen), e.time);
}

LPARAM KeyParam(const BackendEvent& e, bool down, bool wasDown) {
    LPARAM lp = 1 | (static_cast<LPARAM>(e.scanCode & 0xFF) << 16);
    if (KeyDown(VK_MENU)) lp |= 1 << 29;
    if (!down || wasDown) lp |= 1 << 30;
    if (!down) lp |= static_cast<LPARAM>(1u << 31);
    return lp;
}

void UpdateModifier(UINT vk, bool down) {
    auto set = [down](UINT k) { S().keys[k] = down ? (S().keys[k] | 0x80) : (S().keys[k] & ~0x80); };
    set(vk);
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) set(VK_SHIFT);
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) set(VK_CONTROL);
    if (vk == VK_LMENU || vk == VK_RMENU) set(VK_MENU);
    if (down && (vk == VK_CAPITAL || vk == VK_NUMLOCK)) S().keys[vk] ^= 0x01;
}

void ProcessKey(const BackendEvent& e) {
    bool down = e.kind == EventKind::KeyPress;
    bool wasDown = KeyDown(e.vk);
    UpdateModifier(e.vk, down);
    HWND to = GetFocus();
    bool sys = (KeyDown(VK_MENU) && !KeyDown(VK_CONTROL)) || e.vk == VK_F10 || e.vk == VK_MENU;
    if (!to) {
        to = GetActiveWindow();
        sys = true;
    }
    if (!to) return;
    UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    Post(to, msg, e.vk, KeyParam(e, down, wasDown), e.time);
    if (down && !e.text.empty()) S().keyTexts.push_back(KeyText{e.vk, e.time, e.text});
    if (S().keyTexts.size() > 64) S().keyTexts.pop_front();
}

// Decodes one UTF-8 sequence; malformed bytes come out as U+FFFD.
std::uint32_t NextCodePoint(const std::string& s, std::size_t& i) {
    auto b = static_cast<unsigned char>(s[i++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (b >= 0x80 && extra == 0) return 0xFFFD;
    std::uint32_t cp = extra ? (b & (0x3F >> extra)) : b;
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

// Characters carry the key message's lParam (repeat count, scan code, Alt context), as with
// the real TranslateMessage.
void PostChars(HWND to, UINT msg, const std::string& text, LPARAM keyParam) {
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t cp = NextCodePoint(text, i);
        PostMessage(to, msg, cp, keyParam);
    }
}

// The characters the real system produces for keys that have no printable text.
std::string ControlText(UINT vk) {
    bool ctrl = KeyDown(VK_CONTROL) && !KeyDown(VK_MENU);
    if (ctrl && vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk - 'A' + 1));
    switch (vk) {
        case VK_RETURN: return "\r";
        case VK_ESCAPE: return "\x1b";
        case VK_TAB: return "\t";
        case VK_BACK: return "\b";
        default: return {};
    }
}

void ProcessEvent(const BackendEvent& e) {
    switch (e.kind) {
        case EventKind::MouseMove: case EventKind::ButtonPress: case EventKind::ButtonRelease: case EventKind::Wheel:
            ProcessMouse(e);
            break;
        case EventKind::KeyPress: case EventKind::KeyRelease: ProcessKey(e); break;
        case EventKind::Text:
            if (HWND to = GetFocus()) PostChars(to, WM_CHAR, e.text, 1);
            break;
        case EventKind::FocusIn: case EventKind::FocusOut:
            BackendFocusChanged(e.surface, e.kind == EventKind::FocusIn);
            break;
        case EventKind::PointerLeft: CheckLeave(nullptr, HTNOWHERE, e.time); break;
        default: DispatchBackendEvent(e); break;
    }
}

}  // namespace

void QueueRawEvent(const BackendEvent& e) { S().raw.push_back(e); }
void QueueRawEventFirst(const BackendEvent& e) { S().raw.push_front(e); }

// Scripted pointer positions may be given in the main window's client coordinates.
static BackendEvent Resolved(BackendEvent e) {
    if (!e.mainClientCoords) return e;
    e.mainClientCoords = false;
    if (HWND main = MainWindowHandle()) ClientToScreen(main, &e.screen);
    return e;
}

bool HasPendingRawInput() { return !S().raw.empty(); }

bool TranslateNextInput(MSG*) {
    if (!BackendReady()) return false;
    while (auto e = GetBackend().Poll()) S().raw.push_back(*e);
    if (S().raw.empty()) return false;
    BackendEvent e = Resolved(S().raw.front());
    S().raw.pop_front();
    ProcessEvent(e);
    return true;
}

void ForgetWindowInput(Window* w) {
    InputState& s = S();
    if (s.capture == w->handle) {
        s.capture = nullptr;
        if (w->surface) GetBackend().GrabPointer(w->surface->id, false);
    }
    if (s.tracked == w->handle) s.tracked = nullptr;
    if (s.lastDownWnd == w->handle) s.lastDownMsg = 0;
}

void SetKeyStateFromMessage(const MSG&) {}

bool TranslateKeyMessage(const MSG* msg) {
    bool sys = msg->message == WM_SYSKEYDOWN;
    if (msg->message != WM_KEYDOWN && !sys) return false;
    auto& texts = S().keyTexts;
    auto it = std::find_if(texts.begin(), texts.end(),
                           [msg](const KeyText& k) { return k.vk == msg->wParam && k.time == msg->time; });
    std::string text = ControlText(static_cast<UINT>(msg->wParam));
    if (it != texts.end()) {
        if (text.empty() || static_cast<unsigned char>(it->text[0]) >= 0x20) text = it->text;
        texts.erase(it);
    }
    if (!text.empty()) PostChars(msg->hwnd, sys ? WM_SYSCHAR : WM_CHAR, text, msg->lParam);
    return true;
}

POINT CursorPosition() { return S().cursor; }

}  // namespace platform::win

using namespace platform::win;

BOOL TranslateMessage(const MSG* msg) {
    if (!msg) return FALSE;
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) return TranslateKeyMessage(msg);
    return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
}

HWND SetCapture(HWND hwnd) {
    InputState& s = S();
    HWND old = s.capture;
    Window* w = FromHandle(hwnd);
    if (!w) return nullptr;
    s.capture = hwnd;
    if (old && old != hwnd) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    if (Window* top = TopLevelOf(FromHandle(hwnd)); top && top->surface) GetBackend().GrabPointer(top->surface->id, true);
    return IsWindow(old) ? old : nullptr;
}

BOOL ReleaseCapture() {
    InputState& s = S();
    HWND old = s.capture;
    if (!old) return TRUE;
    s.capture = nullptr;
    if (Window* top = TopLevelOf(FromHandle(old)); top && top->surface) GetBackend().GrabPointer(top->surface->id, false);
    SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() { return IsWindow(S().capture) ? S().capture : nullptr; }

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) {
    if (!tme) return FALSE;
    InputState& s = S();
    if (tme->dwFlags & TME_QUERY) {
        tme->dwFlags = s.tracked ? (s.trackFlags | TME_LEAVE) : 0;
        tme->hwndTrack = s.tracked;
        return TRUE;
    }
    if (!IsWindow(tme->hwndTrack)) return FALSE;
    if (tme->dwFlags & TME_CANCEL) {
        if (s.tracked == tme->hwndTrack) s.tracked = nullptr;
        return TRUE;
    }
    if (!(tme->dwFlags & TME_LEAVE)) return TRUE;
    LRESULT hit = HTNOWHERE;
    Window* under = HitWindow(s.cursor, &hit);
    s.tracked = tme->hwndTrack;
    s.trackFlags = tme->dwFlags & TME_NONCLIENT;
    CheckLeave(under, hit, GetTickCount());
    return TRUE;
}

HCURSOR LoadCursor(HINSTANCE, LPCSTR name) { return reinterpret_cast<HCURSOR>(const_cast<char*>(name)); }

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR old = S().cursorHandle;
    S().cursorHandle = cursor;
    if (BackendReady() && cursor != old) {
        LRESULT hit;
        Window* under = HitWindow(S().cursor, &hit);
        Window* top = under ? TopLevelOf(under) : nullptr;
        int shape = cursor ? static_cast<int>(reinterpret_cast<std::uintptr_t>(cursor)) : 0;
        if (top && top->surface) GetBackend().SetCursorShape(top->surface->id, shape);
    }
    return old;
}

HCURSOR GetCursor() { return S().cursorHandle; }

BOOL GetCursorPos(POINT* pt) {
    if (!pt) return FALSE;
    *pt = S().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    S().cursor = POINT{x, y};
    if (BackendReady()) GetBackend().WarpPointer(S().cursor);
    return TRUE;
}

SHORT GetKeyState(int vk) {
    BYTE k = S().keys[vk & 0xFF];
    return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

SHORT GetAsyncKeyState(int vk) { return (S().keys[vk & 0xFF] & 0x80) ? static_cast<SHORT>(0x8000) : 0; }

HWND WindowFromPoint(POINT pt) {
    LRESULT hit;
    Window* w = HitWindow(pt, &hit);
    return w ? w->handle : nullptr;
}

// Creating and destroying windows, and the window longs.
#include <algorithm>
#include <cstring>

#include "platform/window/window_system.h"

namespace platform::win {
namespace {

HWND g_mainWindow = nullptr;

void ResolveDefaultPosition(CREATESTRUCT& cs, bool child) {
    if (child) {
        if (cs.x == CW_USEDEFAULT) cs.x = 0;
        if (cs.y == CW_USEDEFAULT) cs.y = 0;
        if (cs.cx == CW_USEDEFAULT) cs.cx = 0;
        if (cs.cy == CW_USEDEFAULT) cs.cy = 0;
        return;
    }
    static int cascade = 0;
    if (cs.x == CW_USEDEFAULT) {
        cs.x = 26 + (cascade % 8) * 26;
        cs.y = 26 + (cascade % 8) * 26;
        ++cascade;
    }
    if (cs.cx == CW_USEDEFAULT) {
        cs.cx = 640;
        cs.cy = 480;
    }
}

void LinkIntoTree(Window* w, Window* parent, Window* owner) {
    if ((w->style & WS_CHILD) && parent) {
        w->parent = parent;
        parent->children.insert(parent->children.begin(), w);
        return;
    }
    w->owner = owner ? TopLevelOf(owner) : nullptr;
    auto& tops = TopLevels();
    auto pos = (w->exStyle & WS_EX_TOPMOST)
                   ? tops.begin()
                   : std::find_if(tops.begin(), tops.end(), [](Window* t) { return !(t->exStyle & WS_EX_TOPMOST); });
    tops.insert(pos, w);
}

void Unlink(Window* w) {
    if (w->IsChild()) std::erase(w->parent->children, w);
    else std::erase(TopLevels(), w);
}

// Overlapped and sizable windows are asked for their size limits before anything else, and
// are created within them.
void ApplyMinMax(Window* w, CREATESTRUCT& cs) {
    if (!(w->style & WS_THICKFRAME) && (w->style & (WS_POPUP | WS_CHILD))) return;
    MINMAXINFO mmi = QueryMinMaxInfo(w);
    cs.cx = std::clamp<int>(cs.cx, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
    cs.cy = std::clamp<int>(cs.cy, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
}

bool SendCreateMessages(Window* w, CREATESTRUCT& cs) {
    HWND h = w->handle;
    if (!Send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) return false;
    if (!(w = FromHandle(h))) return false;
    w->created = true;
    RecalcClient(w);
    if (Send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) return false;
    if (!(w = FromHandle(h))) return false;
    // As with the real system, an overlapped window hears its size and place when it is first
    // shown (ShowWindow); child and popup windows hear them now.
    if (w->needSize) return true;
    Send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
    if (!(w = FromHandle(h))) return false;
    Send(w, WM_MOVE, 0, MAKELPARAM(w->client.left, w->client.top));
    return FromHandle(h) != nullptr;
}

void NotifyParentOfCreation(Window* w) {
    if (!w->IsChild() || (w->exStyle & WS_EX_NOPARENTNOTIFY)) return;
    Send(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, static_cast<WORD>(w->id)),
         reinterpret_cast<LPARAM>(w->handle));
}

void DestroyTree(Window* w);

}  // namespace

HWND MainWindowHandle() {
    if (IsWindow(g_mainWindow)) return g_mainWindow;
    for (Window* t : TopLevels())
        if (!t->owner && (t->style & WS_VISIBLE) && !(t->exStyle & WS_EX_TOOLWINDOW)) return t->handle;
    return nullptr;
}

void SetMainWindowHandle(HWND hwnd) { g_mainWindow = hwnd; }

namespace {

void SendDestroy(Window* w) {
    HWND h = w->handle;
    Send(w, WM_DESTROY, 0, 0);
    if (!(w = FromHandle(h))) return;
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->handle);
    for (HWND k : kids)
        if (Window* c = FromHandle(k)) SendDestroy(c);
}

void FreeWindow(Window* w) {
    std::vector<Window*> kids = w->children;
    for (Window* c : kids) FreeWindow(c);
    HWND h = w->handle;
    Send(w, WM_NCDESTROY, 0, 0);
    KillWindowTimers(h);
    ForgetSystemMenu(h);
    RemoveMessagesFor(h);
    ForgetWindowInput(w);
    ReleaseWindowDCs(w);
    Unlink(w);
    if (w->surface) GetBackend().DestroySurface(w->surface->id);
    if (g_mainWindow == h) g_mainWindow = nullptr;
    DeleteWindowObject(w);
}

void DestroyTree(Window* w) {
    w->destroying = true;
    SendDestroy(w);
    if (FromHandle(w->handle)) FreeWindow(w);
}

}  // namespace
}  // namespace platform::win

using namespace platform::win;

namespace platform {
void SetMainWindow(HWND hwnd) { win::SetMainWindowHandle(hwnd); }
}  // namespace platform

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parentHandle, HMENU menu, HINSTANCE instance, LPVOID param) {
    const WindowClass* cls = FindClassArg(className);
    if (!cls) return nullptr;
    // A child of the desktop window is a top-level window that keeps its WS_CHILD style.
    bool desktopChild = parentHandle == GetDesktopWindow();
    Window* parent = desktopChild ? nullptr : FromHandle(parentHandle);
    if ((style & WS_CHILD) && !parent && !desktopChild) return nullptr;
    CREATESTRUCT cs{param, instance, menu, parentHandle, height, width, y, x, static_cast<LONG>(style), windowName,
                    className, exStyle};
    ResolveDefaultPosition(cs, parent && (style & WS_CHILD));
    Window* w = NewWindow();
    HWND h = w->handle;
    w->cls = cls;
    w->proc = cls->proc;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    if ((style & (WS_CHILD | WS_POPUP)) == 0) {
        w->style |= WS_CLIPSIBLINGS | WS_CAPTION;
        w->needSize = true;
    }
    w->hadSysMenu = (style & WS_SYSMENU) != 0;
    w->instance = instance;
    w->extra.assign(cls->cbWndExtra, 0);
    if (parent && (style & WS_CHILD)) w->id = reinterpret_cast<LONG_PTR>(menu);
    else w->menu = menu;
    w->text = windowName ? windowName : "";
    LinkIntoTree(w, parent, parent);
    CBT_CREATEWND cbt{&cs, HWND_TOP};
    if (CallCbtHook(HCBT_CREATEWND, reinterpret_cast<WPARAM>(h), reinterpret_cast<LPARAM>(&cbt)) != 0) {
        if ((w = FromHandle(h))) FreeWindow(w);
        return nullptr;
    }
    if (!(w = FromHandle(h))) return nullptr;
    ApplyMinMax(w, cs);
    if (!(w = FromHandle(h))) return nullptr;
    w->rect = RECT{cs.x, cs.y, cs.x + std::max(0, cs.cx), cs.y + std::max(0, cs.cy)};
    w->client = w->rect;
    if (!SendCreateMessages(w, cs)) {
        if ((w = FromHandle(h))) DestroyWindow(h);
        return nullptr;
    }
    NotifyParentOfCreation(w);
    if (!(w = FromHandle(h))) return nullptr;
    if (style & WS_MAXIMIZE) ShowWindow(h, SW_SHOWMAXIMIZED);
    else if (style & WS_MINIMIZE) ShowWindow(h, SW_SHOWMINIMIZED);
    if ((style & WS_VISIBLE) && IsWindow(h)) ShowWindow(h, SW_SHOW);
    return IsWindow(h) ? h : nullptr;
}

// As with the real system the window is hidden first (a child through ShowWindow, so it hears
// WM_SHOWWINDOW; a top-level through SetWindowPos), which moves activation and focus away
// before WM_DESTROY; then its owned windows go, then the window and its children.
BOOL DestroyWindow(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w || w->destroying) return FALSE;
    if (CallCbtHook(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hwnd), 0) != 0) return FALSE;
    if (!(w = FromHandle(hwnd))) return FALSE;
    if (w->IsChild() && !(w->exStyle & WS_EX_NOPARENTNOTIFY))
        Send(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, static_cast<WORD>(w->id)),
             reinterpret_cast<LPARAM>(hwnd));
    if (!(w = FromHandle(hwnd))) return TRUE;
    if (w->style & WS_VISIBLE) {
        if (w->IsChild()) ShowWindow(hwnd, SW_HIDE);
        else SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!(w = FromHandle(hwnd))) return TRUE;
    std::vector<HWND> owned;
    for (Window* t : TopLevels())
        if (t->owner == w) owned.push_back(t->handle);
    for (HWND o : owned) DestroyWindow(o);
    if (!(w = FromHandle(hwnd))) return TRUE;
    w->destroying = true;
    OnWindowDisappearing(w);  // a hidden window may still be active or hold the focus
    if ((w = FromHandle(hwnd))) DestroyTree(w);
    return TRUE;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    Window* w = FromHandle(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->IsChild() ? w->parent->handle : w->owner ? w->owner->handle : nullptr);
        case GWLP_ID: return w->id;
        case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
        case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
        case GWLP_USERDATA: return w->userData;
        default:
            if (index >= 0 && static_cast<std::size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
                LONG_PTR v;
                std::memcpy(&v, &w->extra[index], sizeof v);
                return v;
            }
            return 0;
    }
}

static LONG_PTR SetStyle(Window* w, int index, LONG_PTR value) {
    DWORD& field = index == GWL_STYLE ? w->style : w->exStyle;
    DWORD old = field;
    struct { DWORD oldStyle, newStyle; } ss{old, static_cast<DWORD>(value)};
    Send(w, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    field = ss.newStyle;
    if (index == GWL_STYLE && (field & WS_SYSMENU)) w->hadSysMenu = true;
    Send(w, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    return static_cast<LONG_PTR>(static_cast<LONG>(old));
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    Window* w = FromHandle(hwnd);
    if (!w) return 0;
    LONG_PTR old = GetWindowLongPtr(hwnd, index);
    switch (index) {
        case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
        case GWLP_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
        case GWLP_HWNDPARENT:
            if (!w->IsChild()) w->owner = FromHandle(reinterpret_cast<HWND>(value));  // the desktop: none
            break;
        case GWLP_ID: w->id = value; break;
        case GWL_STYLE: case GWL_EXSTYLE: return SetStyle(w, index, value);
        case GWLP_USERDATA: w->userData = value; break;
        default:
            if (index >= 0 && static_cast<std::size_t>(index) + sizeof(LONG_PTR) <= w->extra.size())
                std::memcpy(&w->extra[index], &value, sizeof value);
            else
                return 0;
    }
    return old;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

HWND SetParent(HWND child, HWND newParent) {
    Window* w = FromHandle(child);
    if (!w) return nullptr;
    Window* p = FromHandle(newParent);  // null for the desktop window: w becomes a top-level
    HWND old = GetParent(child);
    bool visible = (w->style & WS_VISIBLE) != 0;
    if (visible) ShowWindow(child, SW_HIDE);
    if (!(w = FromHandle(child))) return nullptr;
    if (w->IsChild()) std::erase(w->parent->children, w);
    else std::erase(TopLevels(), w);
    if (p) {
        w->parent = p;
        w->style |= WS_CHILD;
        w->style &= ~WS_POPUP;
        p->children.insert(p->children.begin(), w);
        if (w->surface) {
            GetBackend().DestroySurface(w->surface->id);
            w->surface.reset();
        }
    } else {
        w->parent = nullptr;
        w->style &= ~WS_CHILD;
        TopLevels().insert(TopLevels().begin(), w);
    }
    if (visible) ShowWindow(child, SW_SHOWNA);
    return old;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        Send(w, WM_ENABLE, TRUE, 0);
    } else if (!enable) {
        // Like the real system, a window being disabled hears WM_CANCELMODE even when it is
        // disabled already, so a mode it started (a drag, a menu) always ends.
        Send(w, WM_CANCELMODE, 0, 0);
        if (!(w = FromHandle(hwnd))) return wasDisabled;
        w->style |= WS_DISABLED;
        if (GetFocus() == hwnd || IsChild(hwnd, GetFocus())) SetFocus(nullptr);
        if (GetCapture() == hwnd) ReleaseCapture();
        if (!wasDisabled && (w = FromHandle(hwnd))) Send(w, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

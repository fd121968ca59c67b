// Window positions, sizes, stacking and visibility: SetWindowPos and what is built on it.
#include <algorithm>

#include "platform/window/window_system.h"

namespace platform::win {
namespace {

// Undocumented flags the real system also sets on WINDOWPOS, telling DefWindowProc which of
// WM_MOVE and WM_SIZE a WM_WINDOWPOSCHANGED needs.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;

std::vector<Window*>& Siblings(Window* w) { return w->IsChild() ? w->parent->children : TopLevels(); }

bool IsTopmostBand(const Window* w) { return !w->IsChild() && (w->exStyle & WS_EX_TOPMOST); }

// Inserts `w` into its sibling list after `after` (HWND_TOP, HWND_BOTTOM, HWND_TOPMOST,
// HWND_NOTOPMOST or a sibling), keeping topmost top-levels above the others.
void PlaceInZOrder(Window* w, HWND after) {
    auto& list = Siblings(w);
    std::erase(list, w);
    if (!w->IsChild()) {
        if (after == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST, after = HWND_TOP;
        else if (after == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST, after = HWND_TOP;
    }
    auto bandBegin = list.begin();
    auto bandEnd = list.end();
    if (!w->IsChild()) {
        auto firstNormal = std::find_if(list.begin(), list.end(), [](Window* x) { return !IsTopmostBand(x); });
        if (IsTopmostBand(w)) bandEnd = firstNormal;
        else bandBegin = firstNormal;
    }
    auto pos = bandBegin;
    if (after == HWND_BOTTOM) {
        pos = bandEnd;
    } else if (after != HWND_TOP) {
        auto it = std::find(bandBegin, bandEnd, FromHandle(after));
        pos = it == bandEnd ? bandBegin : it + 1;
    }
    list.insert(pos, w);
}

void SendWindowPosChanged(Window* w, WINDOWPOS wp, const RECT& oldClient) {
    RECT c = w->client;
    if (c.right - c.left == oldClient.right - oldClient.left && c.bottom - c.top == oldClient.bottom - oldClient.top &&
        !(wp.flags & SWP_STATECHANGED))
        wp.flags |= SWP_NOCLIENTSIZE;
    if (c.left == oldClient.left && c.top == oldClient.top && !(wp.flags & SWP_STATECHANGED))
        wp.flags |= SWP_NOCLIENTMOVE;
    wp.x = w->rect.left;
    wp.y = w->rect.top;
    wp.cx = w->Width();
    wp.cy = w->Height();
    Send(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
}

// What the move or size exposes: the window repaints when its size changed; the parent
// repaints where the window was and no longer is.
void InvalidateAfterChange(Window* w, const RECT& oldRect, bool sizeChanged, bool moved, bool shown, bool hidden,
                           bool frameChanged) {
    if (w->IsChild() && (moved || sizeChanged || shown || hidden)) {
        Window* p = w->parent;
        RECT pc = p->ClientInWindow();
        Region exposed(oldRect);
        if (!hidden && !(w->style & WS_VISIBLE)) exposed.Clear();
        if (hidden) exposed = Region(oldRect);
        else exposed.Subtract(Region(w->rect));
        exposed.Offset(pc.left, pc.top);
        if (!exposed.IsEmpty()) InvalidateWindow(p, exposed, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
    if (!(w->style & WS_VISIBLE)) return;
    bool childMoved = w->IsChild() && moved;
    if (sizeChanged || shown || childMoved) {
        InvalidateWindow(w, Region(0, 0, w->Width(), w->Height()),
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    } else if (frameChanged) {
        InvalidateWindow(w, Region(0, 0, w->Width(), w->Height()), RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    }
}

void SyncTopLevel(Window* w, bool shown, bool hidden, bool activate) {
    if (w->IsChild()) return;
    if (shown || (w->style & WS_VISIBLE)) {
        Surface* s = EnsureSurface(w);
        if (!s) return;
        SyncSurfaceGeometry(w);
        if (shown && !w->minimized) {
            GetBackend().ShowSurface(s->id, true, activate);
            s->mapped = true;
        }
    }
    if (hidden && w->surface && w->surface->mapped) {
        GetBackend().ShowSurface(w->surface->id, false, false);
        w->surface->mapped = false;
    }
}

}  // namespace

RECT ParentClientRect(const Window* w) {
    if (!w->IsChild()) {
        SIZE s = BackendReady() ? GetBackend().ScreenSize() : SIZE{1280, 1024};
        return RECT{0, 0, s.cx, s.cy};
    }
    const Window* p = w->parent;
    return RECT{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
}

void RecalcClient(Window* w) {
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = w->rect;
    Send(w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params.rgrc[0]));
    w->client = params.rgrc[0];
}

// The form a move or size takes: wParam TRUE, the new and old window rectangles, the old client
// rectangle and the WINDOWPOS of the change.
namespace {
void RecalcClientForMove(Window* w, const RECT& oldRect, const RECT& oldClient, WINDOWPOS* wp) {
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = w->rect;
    params.rgrc[1] = oldRect;
    params.rgrc[2] = oldClient;
    params.lppos = wp;
    Send(w, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    w->client = params.rgrc[0];
}
}  // namespace

MINMAXINFO QueryMinMaxInfo(Window* w) {
    RECT work = PrimaryWorkArea();
    int frame = FrameWidth(w->style, w->exStyle);
    MINMAXINFO mmi{};
    mmi.ptMaxSize = POINT{work.right - work.left + 2 * frame, work.bottom - work.top + 2 * frame};
    mmi.ptMaxPosition = POINT{-frame, -frame};
    mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    Send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    return mmi;
}

// DefWindowProc's WM_WINDOWPOSCHANGING: a sizable or overlapped window's new size is kept
// within the limits WM_GETMINMAXINFO gives (the lower ones not while minimised).
void ClampWindowPos(Window* w, WINDOWPOS* wp) {
    if (wp->flags & SWP_NOSIZE) return;
    if (!(w->style & WS_THICKFRAME) && (w->style & (WS_POPUP | WS_CHILD))) return;
    HWND h = w->handle;
    MINMAXINFO mmi = QueryMinMaxInfo(w);
    if (!(w = FromHandle(h))) return;
    wp->cx = std::min<int>(wp->cx, mmi.ptMaxTrackSize.x);
    wp->cy = std::min<int>(wp->cy, mmi.ptMaxTrackSize.y);
    if (w->style & WS_MINIMIZE) return;
    wp->cx = std::max<int>(wp->cx, mmi.ptMinTrackSize.x);
    wp->cy = std::max<int>(wp->cy, mmi.ptMinTrackSize.y);
}

void SyncSurfaceGeometry(Window* top) {
    if (!top->surface) return;
    Surface* s = top->surface.get();
    if (s->buffer.width != top->Width() || s->buffer.height != top->Height()) {
        s->Resize(top->Width(), top->Height());
        RetargetDCs(top);
    }
    GetBackend().MoveSurface(s->id, top->rect);
    if (top->shape) GetBackend().SetSurfaceShape(s->id, top->shape.get());
}

void Restack() {
    std::vector<SurfaceId> ids;
    for (Window* t : TopLevels())
        if (t->surface) ids.push_back(t->surface->id);
    GetBackend().RestackSurfaces(ids);
}

namespace {

// What happens to focus and activation once a window is gone from the screen, after its
// WM_WINDOWPOSCHANGED, as with the real system.
void AfterHidden(HWND hwnd) {
    if (Window* w = FromHandle(hwnd)) OnWindowDisappearing(w);
}

// Redundant show and hide requests are dropped after WM_WINDOWPOSCHANGING has seen them, as the
// real system does; a hidden window that is not being shown is not redrawn.
UINT FixupFlags(const Window* w, UINT flags) {
    if (w->style & WS_VISIBLE) return flags & ~SWP_SHOWWINDOW;
    flags &= ~SWP_HIDEWINDOW;
    return (flags & SWP_SHOWWINDOW) ? flags : flags | SWP_NOREDRAW;
}

bool ActivatesOnMove(const Window* w, UINT flags) {
    return !(flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && !w->IsChild() && (w->style & WS_VISIBLE) &&
           !(w->exStyle & WS_EX_NOACTIVATE);
}

// The real system erases a window whose state changed (minimise, maximise, restore) before
// telling it WM_WINDOWPOSCHANGED.
void EraseAfterStateChange(Window* w) {
    if (!IsReallyVisible(w) || w->minimized) return;
    RedrawWindow(w->handle, nullptr, nullptr, RDW_ERASENOW | RDW_ALLCHILDREN);
}

}  // namespace

// `changedFlags` are added to the flags of WM_WINDOWPOSCHANGED only.
BOOL MoveWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags, UINT changedFlags) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    WINDOWPOS wp{hwnd, insertAfter, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) wp.x = w->rect.left, wp.y = w->rect.top;
    if (flags & SWP_NOSIZE) wp.cx = w->Width(), wp.cy = w->Height();
    if (!(flags & SWP_NOSENDCHANGING)) {
        Send(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        if (!(w = FromHandle(hwnd))) return FALSE;
    }
    wp.flags = FixupFlags(w, wp.flags) | changedFlags;
    wp.cx = std::max(0, wp.cx);
    wp.cy = std::max(0, wp.cy);
    RECT oldRect = w->rect, oldClient = w->client;
    RECT newRect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    bool sizeChanged = newRect.right - newRect.left != oldRect.right - oldRect.left ||
                       newRect.bottom - newRect.top != oldRect.bottom - oldRect.top;
    bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    bool frameChanged = (wp.flags & SWP_FRAMECHANGED) != 0;
    w->rect = newRect;
    if (sizeChanged || frameChanged) {
        RecalcClientForMove(w, oldRect, oldClient, &wp);
        if (!(w = FromHandle(hwnd))) return FALSE;
    } else if (moved) {
        w->client = RectOffset(oldClient, newRect.left - oldRect.left, newRect.top - oldRect.top);
    }
    if (!(wp.flags & SWP_NOZORDER)) PlaceInZOrder(w, wp.hwndInsertAfter);
    bool shown = (wp.flags & SWP_SHOWWINDOW) != 0, hidden = (wp.flags & SWP_HIDEWINDOW) != 0;
    if (shown) w->style |= WS_VISIBLE;
    if (hidden) w->style &= ~WS_VISIBLE;
    if (!(wp.flags & SWP_NOREDRAW)) InvalidateAfterChange(w, oldRect, sizeChanged, moved, shown, hidden, frameChanged);
    bool activate = ActivatesOnMove(w, wp.flags);
    SyncTopLevel(w, shown, hidden, activate && shown);
    if (!w->IsChild() && !(wp.flags & SWP_NOZORDER)) Restack();
    // As with the real system, a window moved or shown with activation is active before it
    // hears WM_WINDOWPOSCHANGED.
    if (activate) ActivateWindow(w, WA_ACTIVE);
    if ((wp.flags & SWP_STATECHANGED) && (w = FromHandle(hwnd))) EraseAfterStateChange(w);
    if ((w = FromHandle(hwnd))) SendWindowPosChanged(w, wp, oldClient);
    if (hidden) AfterHidden(hwnd);
    return TRUE;
}

}  // namespace platform::win

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return platform::win::MoveWindowPos(hwnd, insertAfter, x, y, cx, cy, flags & ~SWP_STATECHANGED, 0);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

namespace platform::win {
namespace {

void SetState(Window* w, bool minimized, bool maximized) {
    w->minimized = minimized;
    w->maximized = maximized;
    w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | (minimized ? WS_MINIMIZE : 0) | (maximized ? WS_MAXIMIZE : 0);
}

void MoveToState(Window* w, const RECT& target, UINT flags, UINT changedFlags) {
    MoveWindowPos(w->handle, HWND_TOP, target.left, target.top, target.right - target.left,
                  target.bottom - target.top, flags | SWP_FRAMECHANGED | SWP_STATECHANGED, changedFlags);
}

RECT MaximizedRect(Window* w) {
    RECT work = PrimaryWorkArea();
    MINMAXINFO mmi = QueryMinMaxInfo(w);
    return RECT{work.left + mmi.ptMaxPosition.x, work.top + mmi.ptMaxPosition.y,
                work.left + mmi.ptMaxPosition.x + mmi.ptMaxSize.x, work.top + mmi.ptMaxPosition.y + mmi.ptMaxSize.y};
}

// Minimising gives up the focus before anything moves, and (unless the window stays active
// as SW_SHOWMINIMIZED asks) the activation after WM_WINDOWPOSCHANGED.
void Minimize(Window* w, int cmd) {
    HWND h = w->handle;
    if (w->minimized) return;
    HWND focus = GetFocus();
    if (focus && (focus == h || IsChild(h, focus))) SetFocus(nullptr);
    if (!(w = FromHandle(h))) return;
    if (!w->maximized) w->restoreRect = w->rect;
    w->restoreToMaximized = w->maximized;
    SetState(w, true, false);
    bool keepActive = cmd == SW_SHOWMINIMIZED;
    // Like the real system, an iconic window sits far off screen with the minimised size.
    RECT icon{-32000, -32000, -32000 + GetSystemMetrics(SM_CXMINIMIZED), -32000 + GetSystemMetrics(SM_CYMINIMIZED)};
    MoveToState(w, icon, SWP_SHOWWINDOW | SWP_NOCOPYBITS | (keepActive ? 0 : SWP_NOACTIVATE | SWP_NOZORDER), 0);
    if (!(w = FromHandle(h))) return;
    if (w->surface && w->surface->mapped && !w->IsChild()) GetBackend().Minimize(w->surface->id);
    if (!keepActive) OnWindowDisappearing(w);
}

void Maximize(Window* w, bool wasVisible) {
    bool fromIcon = w->minimized;
    if (!w->minimized && !w->maximized) w->restoreRect = w->rect;
    RECT target = MaximizedRect(w);
    SetState(w, false, true);
    MoveToState(w, target, wasVisible ? 0 : SWP_SHOWWINDOW, fromIcon ? SWP_NOCOPYBITS : 0);
}

// One WM_WINDOWPOSCHANGING / WM_WINDOWPOSCHANGED pair, with the activation in between.
void Restore(Window* w, bool wasVisible, bool activate) {
    HWND h = w->handle;
    bool fromIcon = w->minimized;
    bool backToMax = fromIcon && w->restoreToMaximized;
    w->restoreToMaximized = false;
    RECT target = backToMax ? MaximizedRect(w) : w->restoreRect;
    SetState(w, false, backToMax);
    UINT flags = (wasVisible ? 0 : SWP_SHOWWINDOW) | (activate ? 0 : SWP_NOACTIVATE | SWP_NOZORDER);
    MoveToState(w, target, flags, fromIcon ? SWP_NOCOPYBITS : 0);
    if (!fromIcon || !(w = FromHandle(h))) return;
    if (w->surface && !w->IsChild() && (w->style & WS_VISIBLE)) {
        GetBackend().ShowSurface(w->surface->id, true, activate);
        w->surface->mapped = true;
    }
}

bool StateHookAllows(Window* w, int cmd) {
    return CallCbtHook(HCBT_MINMAX, reinterpret_cast<WPARAM>(w->handle), cmd) == 0;
}

// The first show of an overlapped window tells it its size and place, as CreateWindowEx did
// not.
void SendPendingSize(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w || !w->needSize) return;
    w->needSize = false;
    WPARAM kind = w->minimized ? SIZE_MINIMIZED : w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    RECT c = w->client;
    Send(w, WM_SIZE, kind, MAKELPARAM(c.right - c.left, c.bottom - c.top));
    if ((w = FromHandle(hwnd))) Send(w, WM_MOVE, 0, MAKELPARAM(w->client.left, w->client.top));
}

bool ShowPlain(Window* w, int cmd, bool wasVisible) {
    if (wasVisible) return false;
    HWND h = w->handle;
    Send(w, WM_SHOWWINDOW, TRUE, 0);
    if (!(w = FromHandle(h))) return false;
    bool quiet = cmd == SW_SHOWNA || cmd == SW_SHOWNOACTIVATE || w->IsChild();
    SetWindowPos(h, HWND_TOP, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | (quiet ? SWP_NOACTIVATE | SWP_NOZORDER : 0));
    return true;
}

}  // namespace
}  // namespace platform::win

using namespace platform::win;
using platform::RectOffset;

BOOL ShowWindow(HWND hwnd, int cmd) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    switch (cmd) {
        case SW_HIDE:
            if (!wasVisible) return FALSE;
            Send(w, WM_SHOWWINDOW, FALSE, 0);
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE |
                             (w->IsChild() ? SWP_NOACTIVATE | SWP_NOZORDER : 0));
            return wasVisible;
        case SW_MINIMIZE: case SW_SHOWMINIMIZED: case SW_SHOWMINNOACTIVE:
            if (w->minimized || !StateHookAllows(w, cmd) || !(w = FromHandle(hwnd))) return wasVisible;
            if (!wasVisible) Send(w, WM_SHOWWINDOW, TRUE, 0);
            if ((w = FromHandle(hwnd))) Minimize(w, cmd);
            break;
        case SW_SHOWMAXIMIZED:
            if (w->maximized) return wasVisible;
            if (!StateHookAllows(w, cmd) || !(w = FromHandle(hwnd))) return wasVisible;
            if (!wasVisible) Send(w, WM_SHOWWINDOW, TRUE, 0);
            if ((w = FromHandle(hwnd))) Maximize(w, wasVisible);
            break;
        case SW_RESTORE: case SW_SHOWNORMAL: case SW_SHOWNOACTIVATE:
            if (w->minimized || w->maximized) {
                if (!StateHookAllows(w, cmd) || !(w = FromHandle(hwnd))) return wasVisible;
                if (!wasVisible) Send(w, WM_SHOWWINDOW, TRUE, 0);
                if ((w = FromHandle(hwnd))) Restore(w, wasVisible, cmd != SW_SHOWNOACTIVATE && !w->IsChild());
            } else if (!ShowPlain(w, cmd, wasVisible)) {
                return wasVisible;
            }
            break;
        case SW_SHOW: case SW_SHOWNA:
            if (!ShowPlain(w, cmd, wasVisible)) return wasVisible;
            break;
        default: return wasVisible;
    }
    SendPendingSize(hwnd);
    return wasVisible;
}

BOOL GetWindowPlacementRestoreRect(HWND hwnd, RECT* rect) {
    Window* w = FromHandle(hwnd);
    if (!w || !rect) return FALSE;
    *rect = (w->minimized || w->maximized) ? w->restoreRect : w->rect;
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    Window* w = FromHandle(hwnd);
    if (!w || !rect) return FALSE;
    POINT o = ScreenOrigin(w);
    *rect = RECT{o.x, o.y, o.x + w->Width(), o.y + w->Height()};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    Window* w = FromHandle(hwnd);
    if (!w || !rect) return FALSE;
    *rect = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    return TRUE;
}

static POINT ClientScreenOrigin(const Window* w) {
    POINT o = ScreenOrigin(w);
    return POINT{o.x + w->client.left - w->rect.left, o.y + w->client.top - w->rect.top};
}

BOOL ClientToScreen(HWND hwnd, POINT* pt) {
    Window* w = FromHandle(hwnd);
    if (!w || !pt) return FALSE;
    POINT o = ClientScreenOrigin(w);
    pt->x += o.x;
    pt->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt) {
    Window* w = FromHandle(hwnd);
    if (!w || !pt) return FALSE;
    POINT o = ClientScreenOrigin(w);
    pt->x -= o.x;
    pt->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    POINT a{0, 0}, b{0, 0};
    if (Window* f = FromHandle(from)) a = ClientScreenOrigin(f);
    if (Window* t = FromHandle(to)) b = ClientScreenOrigin(t);
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

static bool ContainsPoint(const Window* w, POINT inParent) {
    if (inParent.x < w->rect.left || inParent.x >= w->rect.right || inParent.y < w->rect.top ||
        inParent.y >= w->rect.bottom)
        return false;
    return !w->shape || w->shape->Contains(inParent.x - w->rect.left, inParent.y - w->rect.top);
}

HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags) {
    Window* p = FromHandle(parent);
    if (!p) return nullptr;
    RECT client{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
    if (pt.x < client.left || pt.y < client.top || pt.x >= client.right || pt.y >= client.bottom) return nullptr;
    for (Window* c : p->children) {
        if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE)) continue;
        if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED)) continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT)) continue;
        if (ContainsPoint(c, pt)) return c->handle;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) { return ChildWindowFromPointEx(parent, pt, CWP_ALL); }

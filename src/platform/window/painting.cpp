// Update regions, the paint cycle, device contexts on windows, and presentation of the
// backing stores.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <algorithm>
#include <cstring>

#include "platform/gdi.h"
#include "platform/gdi/window_dc.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

struct OpenDC {
    HDC dc;
    Window* window;
    Region visible;  // surface coordinates
    HRGN ownedRegion;
};

std::vector<OpenDC>& OpenDCs() {
    static std::vector<OpenDC> list;
    return list;
}

Region WindowShapeIn(const Window* w, POINT origin, const RECT& area) {
    Region r(RectOffset(area, origin.x, origin.y));
    if (w->shape) {
        Region s = *w->shape;
        s.Offset(origin.x, origin.y);
        r.Intersect(s);
    }
    return r;
}

Region OuterRegion(const Window* w) {
    return WindowShapeIn(w, OriginInSurface(w), RECT{0, 0, w->Width(), w->Height()});
}

void SubtractSiblingsAbove(const Window* w, Region& r) {
    for (const Window* s : w->parent->children) {
        if (s == w) break;
        if (s->style & WS_VISIBLE) r.Subtract(OuterRegion(s));
    }
}

bool UsesFlag(const Window* w, DWORD flags, DWORD flag, DWORD style) {
    return (flags & DCX_USESTYLE) ? (w->style & style) != 0 : (flags & flag) != 0;
}

Region ChildRegionInWindow(const Window* parent, const Window* child, const Region& region) {
    RECT pc = parent->ClientInWindow();
    Region r = region;
    r.Offset(-(pc.left + child->rect.left), -(pc.top + child->rect.top));
    r.Intersect(Region(0, 0, child->Width(), child->Height()));
    return r;
}


}  // namespace

// Keeps what fits of the old pixels. Where the backend offers memory it presents from, the
// pixels live there (the old ones are saved first: the backend may reuse their memory).
void Surface::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    int copyW = std::min(width, buffer.width), copyH = std::min(height, buffer.height);
    std::vector<std::uint32_t> kept(static_cast<std::size_t>(std::max(copyW, 0)) * std::max(copyH, 0));
    for (int y = 0; y < copyH; ++y)
        std::memcpy(&kept[static_cast<std::size_t>(y) * copyW], buffer.Row(y), static_cast<std::size_t>(copyW) * 4);
    std::uint32_t* shared = id && width > 0 && height > 0 ? GetBackend().SharedSurfaceStore(id, width, height) : nullptr;
    if (shared) {
        storage = ZeroedPixels();
    } else {
        storage = ZeroedPixels(static_cast<std::size_t>(width) * height);
        shared = storage.data();
    }
    buffer = gdi::PixelBuffer{reinterpret_cast<BYTE*>(shared), width, height, width * 4, 32};
    for (int y = 0; y < copyH; ++y)
        std::memcpy(buffer.Row(y), &kept[static_cast<std::size_t>(y) * copyW], static_cast<std::size_t>(copyW) * 4);
    damage = Region(0, 0, width, height);
}

Region VisibleRegion(const Window* w, bool clientOnly, DWORD flags) {
    const Window* top = TopLevelOf(const_cast<Window*>(w));
    if (!IsReallyVisible(w) || top->minimized || !top->surface) return Region();
    // A window whose pixels come from UpdateLayeredWindow is not painted through DCs.
    if (top->surface->layered && !(top->layeredFlags & LWA_ALPHA)) return Region();
    RECT area = clientOnly ? w->ClientInWindow() : RECT{0, 0, w->Width(), w->Height()};
    Region r = WindowShapeIn(w, OriginInSurface(w), area);
    if (w->IsChild() && UsesFlag(w, flags, DCX_CLIPSIBLINGS, WS_CLIPSIBLINGS)) SubtractSiblingsAbove(w, r);
    for (const Window* a = w; a->IsChild(); a = a->parent) {
        const Window* p = a->parent;
        r.Intersect(WindowShapeIn(p, OriginInSurface(p), p->ClientInWindow()));
        if (a != w && (a->style & WS_CLIPSIBLINGS)) SubtractSiblingsAbove(a, r);
    }
    r.Intersect(Region(0, 0, top->surface->buffer.width, top->surface->buffer.height));
    if (UsesFlag(w, flags, DCX_CLIPCHILDREN, WS_CLIPCHILDREN)) {
        for (const Window* c : w->children)
            if (c->style & WS_VISIBLE) r.Subtract(OuterRegion(c));
    }
    return r;
}

Surface* EnsureSurface(Window* top) {
    if (top->IsChild()) return nullptr;
    if (top->surface) return top->surface.get();
    auto s = std::make_unique<Surface>();
    SurfaceParams params = NewSurfaceParams(top);
    if (top->surface) return top->surface.get();  // made while the window was asked
    s->params = params;
    s->layered = params.layered;
    s->id = GetBackend().CreateSurface(params);
    s->Resize(top->Width(), top->Height());
    top->surface = std::move(s);
    if (top->shape) GetBackend().SetSurfaceShape(top->surface->id, top->shape.get());
    Restack();
    return top->surface.get();
}

void InvalidateWindow(Window* w, const Region& region, UINT flags) {
    if (!IsReallyVisible(w)) return;
    RECT client = w->ClientInWindow();
    if (flags & RDW_INVALIDATE) {
        Region clientPart = region.Intersected(Region(client));
        if ((flags & RDW_FRAME) && !region.Subtracted(Region(client)).IsEmpty()) w->ncPaintPending = true;
        w->update.Unite(clientPart);
        if ((flags & RDW_ERASE) && !clientPart.IsEmpty()) w->erasePending = true;
    } else if (flags & RDW_VALIDATE) {
        w->update.Subtract(region);
        if (flags & RDW_NOERASE) w->erasePending = false;
        if ((flags & RDW_NOFRAME) == 0 && region.Subtracted(Region(client)).IsEmpty() == false) w->ncPaintPending = false;
    }
    // A paint without an update region, asked for or withdrawn on its own.
    if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
    if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
    bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (!children) return;
    Region inClient = region.Intersected(Region(client));
    for (Window* c : w->children) {
        if (!(c->style & WS_VISIBLE)) continue;
        Region part = ChildRegionInWindow(w, c, inClient);
        if (!part.IsEmpty()) InvalidateWindow(c, part, flags | RDW_FRAME);
    }
}

void ValidateWindow(Window* w, const Region* region) {
    if (region) {
        w->update.Subtract(*region);
    } else {
        w->update.Clear();
        w->internalPaint = false;
    }
    if (w->update.IsEmpty()) w->erasePending = false;
}

Window* FindWindowToPaint(HWND filter) {
    Window* filterWindow = filter ? FromHandle(filter) : nullptr;
    std::vector<Window*> stack;
    for (auto it = TopLevels().rbegin(); it != TopLevels().rend(); ++it) stack.push_back(*it);
    while (!stack.empty()) {
        Window* w = stack.back();
        stack.pop_back();
        if (!(w->style & WS_VISIBLE) || w->minimized) continue;
        bool wanted = !filterWindow || w == filterWindow || IsChild(filter, w->handle);
        if (wanted && (!w->update.IsEmpty() || w->internalPaint)) return w;
        for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) stack.push_back(*it);
    }
    return nullptr;
}

static Window* FindFrameToPaint(Window* w, HWND filter) {
    if (!(w->style & WS_VISIBLE)) return nullptr;
    bool wanted = !filter || w->handle == filter || IsChild(filter, w->handle);
    if (wanted && w->ncPaintPending && w->update.IsEmpty() && !w->internalPaint) return w;
    for (Window* c : w->children)
        if (Window* f = FindFrameToPaint(c, filter)) return f;
    return nullptr;
}

bool PaintFramesOnly(HWND filter) {
    for (Window* t : TopLevels()) {
        if (t->minimized) continue;
        if (Window* w = FindFrameToPaint(t, filter)) {
            w->ncPaintPending = false;
            Send(w, WM_NCPAINT, 1, 0);
            return true;
        }
    }
    return false;
}

static HDC OpenWindowDC(Window* w, Region visible, HRGN owned) {
    Window* top = TopLevelOf(w);
    Surface* s = EnsureSurface(top);
    if (!s) return nullptr;
    HDC dc = gdi::CreateWindowSurfaceDC(w->handle, s->buffer, OriginInSurface(w), visible);
    if (dc) OpenDCs().push_back(OpenDC{dc, w, std::move(visible), owned});
    return dc;
}

void MarkDamage(HDC dc) {
    auto& list = OpenDCs();
    auto it = std::find_if(list.begin(), list.end(), [dc](const OpenDC& o) { return o.dc == dc; });
    if (it == list.end() || !gdi::TakeDrawnFlag(dc)) return;
    Window* top = TopLevelOf(it->window);
    if (top->surface) top->surface->damage.Unite(Region(it->visible.Bounds()));
}

static bool CloseWindowDC(HDC dc) {
    auto& list = OpenDCs();
    auto it = std::find_if(list.begin(), list.end(), [dc](const OpenDC& o) { return o.dc == dc; });
    if (it == list.end()) return false;
    MarkDamage(dc);
    HRGN owned = it->ownedRegion;
    list.erase(it);
    if (owned) DeleteObject(owned);
    return gdi::DestroyWindowSurfaceDC(dc);
}

void ReleaseWindowDCs(Window* w) {
    std::vector<HDC> mine;
    for (const OpenDC& o : OpenDCs())
        if (o.window == w) mine.push_back(o.dc);
    for (HDC dc : mine) CloseWindowDC(dc);
}

// Re-targets open DCs of a top-level after its backing store was reallocated.
void RetargetDCs(Window* top) {
    for (OpenDC& o : OpenDCs()) {
        if (TopLevelOf(o.window) != top || !top->surface) continue;
        o.visible.Intersect(Region(0, 0, top->surface->buffer.width, top->surface->buffer.height));
        gdi::UpdateWindowSurfaceDC(o.dc, top->surface->buffer, OriginInSurface(o.window), o.visible);
    }
}

namespace {
// With UTROZVON_REPORT_FIRST_FRAME set, the wall-clock time of the first presented frame goes
// to stderr, so start-up can be measured from outside the process.
void ReportFirstFrame() {
    static bool reported = false;
    if (reported) return;
    reported = true;
    if (!std::getenv("UTROZVON_REPORT_FIRST_FRAME")) return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::fprintf(stderr, "first frame presented at %lld%09ld ns\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
}
}  // namespace

void PresentAll() {
    if (!BackendReady()) return;
    bool presented = false;
    for (Window* t : TopLevels()) {
        Surface* s = t->surface.get();
        if (!s || !s->mapped || s->damage.IsEmpty() || !(t->style & WS_VISIBLE)) continue;
        bool perPixel = s->layered && !(t->layeredFlags & LWA_ALPHA);
        GetBackend().Present(s->id, s->buffer, s->damage, perPixel, s->opacity);
        s->damage.Clear();
        presented = true;
    }
    if (presented) ReportFirstFrame();
}

namespace {

void ForEachVisibleChild(Window* w, void (*paint)(Window*, bool)) {
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->handle);
    for (auto it = kids.rbegin(); it != kids.rend(); ++it)
        if (Window* c = FromHandle(*it); c && (c->style & WS_VISIBLE)) paint(c, true);
}

// RDW_ERASENOW: the frame and the background now, the client later.
void EraseNow(Window* w, bool children) {
    HWND h = w->handle;
    if (w->ncPaintPending) {
        w->ncPaintPending = false;
        Send(w, WM_NCPAINT, 1, 0);
        if (!(w = FromHandle(h))) return;
    }
    if (w->erasePending && !w->update.IsEmpty()) {
        HDC dc = GetDCEx(h, nullptr, DCX_USESTYLE | DCX_CACHE);
        if (Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) w->erasePending = false;
        ReleaseDC(h, dc);
        if (!(w = FromHandle(h))) return;
    }
    if (children) ForEachVisibleChild(w, &EraseNow);
}

// RDW_UPDATENOW: as with the real system only WM_PAINT is sent; BeginPaint sends WM_NCPAINT and
// WM_ERASEBKGND from inside it. A window whose frame alone needs painting hears WM_NCPAINT.
void UpdateNow(Window* w, bool children) {
    HWND h = w->handle;
    if (!w->update.IsEmpty() || w->internalPaint) {
        Send(w, WM_PAINT, 0, 0);
    } else if (w->ncPaintPending) {
        w->ncPaintPending = false;
        Send(w, WM_NCPAINT, 1, 0);
    }
    if (children && (w = FromHandle(h))) ForEachVisibleChild(w, &UpdateNow);
}

}  // namespace
}  // namespace platform::win

using namespace platform::win;
using platform::Region;

static Region ClientRegionArg(Window* w, const RECT* rect, HRGN rgn, bool frame) {
    RECT c = w->ClientInWindow();
    if (rgn) {
        auto* ro = platform::gdi::LookupRegion(rgn);
        Region r = ro ? ro->region : Region();
        r.Offset(c.left, c.top);
        return r;
    }
    if (rect) return Region(platform::RectOffset(*rect, c.left, c.top));
    return frame ? Region(0, 0, w->Width(), w->Height()) : Region(c);
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags) {
    if (!hwnd) {
        std::vector<HWND> tops;
        for (Window* t : TopLevels()) tops.push_back(t->handle);
        for (HWND t : tops) RedrawWindow(t, nullptr, nullptr, flags | RDW_FRAME | RDW_ALLCHILDREN);
        return TRUE;
    }
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    Region area = ClientRegionArg(w, rect, rgn, (flags & RDW_FRAME) && !rect && !rgn);
    if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_INTERNALPAINT | RDW_NOINTERNALPAINT))
        InvalidateWindow(w, area, flags);
    if (flags & RDW_NOFRAME) w->ncPaintPending = (flags & RDW_VALIDATE) ? false : w->ncPaintPending;
    bool children = (flags & RDW_ALLCHILDREN) != 0;
    if (flags & RDW_UPDATENOW) UpdateNow(w, children);
    else if (flags & RDW_ERASENOW) EraseNow(w, children);
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
    if (!rgn) return InvalidateRect(hwnd, nullptr, erase);
    return RedrawWindow(hwnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    if (!rect) {
        ValidateWindow(w, nullptr);
        return TRUE;
    }
    Region r = ClientRegionArg(w, rect, nullptr, false);
    ValidateWindow(w, &r);
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    if (!rgn) return ValidateRect(hwnd, nullptr);
    Region r = ClientRegionArg(w, nullptr, rgn, false);
    ValidateWindow(w, &r);
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    UpdateNow(w, false);
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    RECT c = w->ClientInWindow();
    RECT b = w->update.Bounds();
    if (rect) *rect = w->update.IsEmpty() ? RECT{} : platform::RectOffset(b, -c.left, -c.top);
    if (erase && w->erasePending) EraseNow(w, false);
    return w->update.IsEmpty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
    Window* w = FromHandle(hwnd);
    auto* ro = platform::gdi::LookupRegion(rgn);
    if (!w || !ro) return 0;
    RECT c = w->ClientInWindow();
    ro->region = w->update;
    ro->region.Offset(-c.left, -c.top);
    if (erase && w->erasePending) EraseNow(w, false);
    return ro->region.IsEmpty() ? 1 : ro->region.IsRectangle() ? 2 : 3;  // NULLREGION, SIMPLEREGION, COMPLEXREGION
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    Window* w = FromHandle(hwnd);
    if (!w || !ps) return nullptr;
    *ps = PAINTSTRUCT{};
    if (w->ncPaintPending) {
        w->ncPaintPending = false;
        Send(w, WM_NCPAINT, 1, 0);
        if (!(w = FromHandle(hwnd))) return nullptr;
    }
    Region update = w->update;
    bool erase = w->erasePending;
    ValidateWindow(w, nullptr);
    POINT origin = OriginInSurface(w);
    RECT c = w->ClientInWindow();
    Region visible = VisibleRegion(w, true, DCX_USESTYLE);
    Region clip = update;
    clip.Offset(origin.x, origin.y);
    visible.Intersect(clip);
    HDC dc = OpenWindowDC(w, visible, nullptr);
    if (!dc) return nullptr;
    POINT clientOrigin{origin.x + c.left, origin.y + c.top};
    platform::gdi::UpdateWindowSurfaceDC(dc, TopLevelOf(w)->surface->buffer, clientOrigin, visible);
    ps->hdc = dc;
    RECT b = update.Bounds();
    ps->rcPaint = update.IsEmpty() ? RECT{} : platform::RectOffset(b, -c.left, -c.top);
    // fErase tells the painter the background still needs erasing: an erase was pending and
    // WM_ERASEBKGND did not do it.
    ps->fErase = FALSE;
    if (erase) ps->fErase = Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
    if (!ps || !ps->hdc) return FALSE;
    return CloseWindowDC(ps->hdc) ? TRUE : FALSE;
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
    Window* w = FromHandle(hwnd);
    if (!w) {
        // The screen: a DC that accepts every call and draws nowhere.
        static std::uint32_t pixel;
        platform::gdi::PixelBuffer none{reinterpret_cast<BYTE*>(&pixel), 1, 1, 4, 32};
        HDC dc = platform::gdi::CreateWindowSurfaceDC(nullptr, none, POINT{0, 0}, Region());
        if (dc) OpenDCs().push_back(OpenDC{dc, nullptr, Region(), nullptr});
        if (clip) DeleteObject(clip);
        return dc;
    }
    bool window = (flags & DCX_WINDOW) != 0;
    Region visible = VisibleRegion(w, !window, flags);
    if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
        auto* ro = platform::gdi::LookupRegion(clip);
        Region r = ro ? ro->region : Region();
        POINT screen = ScreenOrigin(w), origin = OriginInSurface(w);
        r.Offset(origin.x - screen.x, origin.y - screen.y);
        if (flags & DCX_INTERSECTRGN) visible.Intersect(r);
        else visible.Subtract(r);
    }
    HDC dc = OpenWindowDC(w, visible, clip);
    if (!dc) {
        if (clip) DeleteObject(clip);
        return nullptr;
    }
    if (!window) {
        POINT origin = OriginInSurface(w);
        RECT c = w->ClientInWindow();
        platform::gdi::UpdateWindowSurfaceDC(dc, TopLevelOf(w)->surface->buffer,
                                             POINT{origin.x + c.left, origin.y + c.top}, visible);
    }
    return dc;
}

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_USESTYLE | DCX_CACHE); }

HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_USESTYLE | DCX_CACHE | DCX_WINDOW); }

int ReleaseDC(HWND, HDC dc) {
    if (!dc) return 0;
    auto& list = OpenDCs();
    auto it = std::find_if(list.begin(), list.end(), [dc](const OpenDC& o) { return o.dc == dc; });
    if (it != list.end() && it->window == nullptr) {
        list.erase(it);
        return platform::gdi::DestroyWindowSurfaceDC(dc) ? 1 : 0;
    }
    return CloseWindowDC(dc) ? 1 : 0;
}

HWND WindowFromDC(HDC dc) { return platform::gdi::WindowOfDC(dc); }

int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw) {
    Window* w = FromHandle(hwnd);
    if (!w) return 0;
    RECT oldRect{0, 0, w->Width(), w->Height()};
    if (auto* ro = platform::gdi::LookupRegion(rgn)) {
        w->shape = std::make_unique<Region>(ro->region);
        DeleteObject(rgn);  // the system owns the region now
    } else {
        w->shape.reset();
    }
    // Like the real system, changing the shape goes through a frame change.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | (redraw ? 0 : SWP_NOREDRAW));
    if (!(w = FromHandle(hwnd))) return 0;
    if (!w->IsChild() && w->surface) GetBackend().SetSurfaceShape(w->surface->id, w->shape.get());
    if (w->IsChild() && redraw) {
        RECT pc = w->parent->ClientInWindow();
        Region exposed(platform::RectOffset(oldRect, w->rect.left + pc.left, w->rect.top + pc.top));
        InvalidateWindow(w->parent, exposed, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN rgn) {
    Window* w = FromHandle(hwnd);
    auto* ro = platform::gdi::LookupRegion(rgn);
    if (!w || !ro || !w->shape) return 0;  // ERROR: no region set
    ro->region = *w->shape;
    return ro->region.IsEmpty() ? 1 : ro->region.IsRectangle() ? 2 : 3;
}

BOOL LockWindowUpdate(HWND) { return TRUE; }

BOOL ScrollWindow(HWND hwnd, int, int, const RECT*, const RECT*) { return InvalidateRect(hwnd, nullptr, TRUE); }

#include "paint/cache_copy.h"

#include <algorithm>
#include <vector>

#include "paint/bg_query.h"
#include "paint/block_copy.h"
#include "paint/control_commands.h"
#include "paint/control_paint.h"
#include "paint/dc_state.h"
#include "paint/solid_fills.h"

namespace paint {

namespace {

using framework::TControl;

bool g_paintingGraphicChildren = false;

// The button class's style of a group box, and the mask of the button type in a style.
constexpr DWORD kGroupBoxStyle = 0x7;
constexpr DWORD kButtonTypeMask = 0xF;
// Asked of a group box window: the height of its caption band.
constexpr WORD kCaptionHeightCommand = 27;

class ReentryGuard {
public:
    ReentryGuard() { g_paintingGraphicChildren = true; }
    ~ReentryGuard() { g_paintingGraphicChildren = false; }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;
};

bool Opaque(const TControl& c) { return (c.ControlStyle & framework::csOpaque) != 0; }

bool Overlaps(const RECT& a, const RECT& b) {
    RECT hit{};
    return IntersectRect(&hit, &a, &b) != 0;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT Moved(RECT r, POINT by) {
    OffsetRect(&r, by.x, by.y);
    return r;
}

// The windowless children worth painting: visible, with a size, inside the clip box.
std::vector<TControl*> GraphicChildren(framework::TWinControl* container, const RECT& clip, POINT offset) {
    std::vector<TControl*> list;
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* c = container->Controls(i);
        if (c->IsWindowed() || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
        if (Overlaps(Moved(c->BoundsRect(), offset), clip)) list.push_back(c);
    }
    return list;
}

// Each child's area of the off-screen picture starts as what lies behind it.
void FillBackgrounds(framework::TBitmap& off, const std::vector<TControl*>& children, const TsBgQuery& q) {
    for (TControl* c : children) {
        RECT r = c->BoundsRect();
        if (Opaque(*c))
            FillRectSolid(off, r, c->Color());
        else if (q.BgType == kBgBitmap && q.Bmp)
            detail::BlockCopy(detail::View(off), r.left, r.top, detail::View(*q.Bmp), q.Offset.x + r.left,
                              q.Offset.y + r.top, r.right - r.left, r.bottom - r.top);
        else
            FillRectSolid(off, r, q.Color);
    }
}

void PaintChild(TControl* c, HDC offDc, const RECT& clip, POINT offset) {
    if (!Contains(clip, Moved(c->BoundsRect(), offset))) SendSkinCommand(c, skin::scSetHalfVisible);
    SavedDcState state(offDc);
    SetViewportOrgEx(offDc, c->Left(), c->Top(), nullptr);
    IntersectClipRect(offDc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(offDc), 0);
}

bool PaintedSomething(const framework::TBitmap& off, const TControl& c) {
    const detail::PixelView v = detail::View(off);
    if (!v.Contains(c.Left(), c.Top())) return false;
    return !detail::SameColor(v.At(c.Left(), c.Top()), detail::ToBgra(TransparentColor));
}

}  // namespace

namespace {

// Blits rect's size from the cache at src, cut to the cache, into dc, whose clip the caller
// has prepared.
void BlitCache(framework::TBitmap& cache, HDC dc, const RECT& rect, POINT src) {
    // Cut the source to the image (a caller may pass an offset with the full size); the
    // destination moves with a cut left or top.
    const int sx0 = std::max<int>(src.x, 0), sy0 = std::max<int>(src.y, 0);
    const int sx1 = std::min<int>(src.x + (rect.right - rect.left), cache.Width());
    const int sy1 = std::min<int>(src.y + (rect.bottom - rect.top), cache.Height());
    if (sx1 <= sx0 || sy1 <= sy0) return;
    BitBlt(dc, rect.left + sx0 - src.x, rect.top + sy0 - src.y, sx1 - sx0, sy1 - sy0, cache.Canvas().Handle(), sx0, sy0,
           SRCCOPY);
}

RECT ChildRectIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    POINT tl{r.left, r.top}, br{r.right, r.bottom};
    ScreenToClient(parent, &tl);
    ScreenToClient(parent, &br);
    return RECT{tl.x, tl.y, br.x, br.y};
}

void ExcludeGroupBoxFrame(const TsCommonData& d, HDC dc, HWND box, const RECT& r) {
    const int band = static_cast<int>(SendSkinCommand(box, kCaptionHeightCommand));
    RECT m{0, 0, 0, 0};
    if (const skin::TsSkinModel* model = d.Model(); model && model->FindSection("GROUPBOX") >= 0)
        m = model->MaskFrameWidths(model->Sections[static_cast<std::size_t>(model->FindSection("GROUPBOX"))].BorderIndex);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.top + band);
    ExcludeClipRect(dc, r.left, r.top, r.left + m.left, r.bottom);
    ExcludeClipRect(dc, r.right - m.right, r.top, r.right, r.bottom);
    ExcludeClipRect(dc, r.left, r.bottom - m.bottom, r.right, r.bottom);
}

}  // namespace

void CopyCacheToDC(TsCommonData& d, framework::TWinControl* container, HDC dc, const RECT& rect, POINT src,
                   bool refreshCorners) {
    if (!d.CacheBmp || !dc) return;
    if (refreshCorners) RefreshCorners(d, kStateNormal);
    SavedDcState state(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    if (container)
        for (int i = 0; i < container->ControlCount(); ++i) {
            TControl* c = container->Controls(i);
            if (!c->Visible() || (c->IsWindowed() && !Opaque(*c))) continue;
            RECT r = c->BoundsRect();
            if (Overlaps(r, rect)) ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        }
    BlitCache(*d.CacheBmp, dc, rect, src);
}

void CopyCacheToWindowDC(TsCommonData& d, HWND window, HDC dc, const RECT& rect, POINT src, bool refreshCorners) {
    if (!d.CacheBmp || !dc || !window) return;
    if (refreshCorners) RefreshCorners(d, kStateNormal);
    SavedDcState state(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        const RECT r = ChildRectIn(window, child);
        const DWORD style = static_cast<DWORD>(GetWindowLong(child, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLong(child, GWL_EXSTYLE));
        if ((style & kButtonTypeMask) == kGroupBoxStyle && !(exStyle & WS_EX_CLIENTEDGE))
            ExcludeGroupBoxFrame(d, dc, child, r);
        else
            ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    BlitCache(*d.CacheBmp, dc, rect, src);
}

void PaintGraphicChildren(HDC dc, framework::TWinControl* container, POINT offset) {
    if (g_paintingGraphicChildren || !dc || !container || !container->Visible() || container->ControlCount() == 0)
        return;
    ReentryGuard guard;
    RECT clip{};
    GetClipBox(dc, &clip);
    if (clip.right <= clip.left || clip.bottom <= clip.top) {
        SendSkinCommand(container, skin::scSetHalfVisible);
        return;
    }
    TsBgQuery q;
    QueryParentBg(q, container, false);
    const std::vector<TControl*> children = GraphicChildren(container, clip, offset);
    if (children.empty()) return;
    framework::TBitmap off(container->Width(), container->Height());
    FillBackgrounds(off, children, q);
    HDC offDc = off.Canvas().Handle();
    for (TControl* c : children) PaintChild(c, offDc, clip, offset);
    for (TControl* c : children) {
        if (!PaintedSomething(off, *c)) continue;
        RECT r = c->BoundsRect();
        BitBlt(dc, r.left + offset.x, r.top + offset.y, r.right - r.left, r.bottom - r.top, offDc, r.left, r.top,
               SRCCOPY);
    }
}

}  // namespace paint

// Device contexts: creation, selected objects, saved states, origins and clipping.
#include "platform/gdi/device_context.h"

#include "platform/gdi.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/window_dc.h"
#include "platform/gdi_text.h"

namespace platform::gdi {

Region DeviceContext::EffectiveClip() const {
    // A memory DC reaches its whole bitmap, so its clip needs no intersection with the
    // bounds but the application clip's; every draw call asks for this.
    const Region bounds(0, 0, target.width, target.height);
    if (!state.clip) return memory ? bounds : visible.Intersected(bounds);
    Region app = *state.clip;
    app.Offset(deviceOrigin.x, deviceOrigin.y);
    if (memory) return app.Intersected(bounds);
    return visible.Intersected(app).Intersected(bounds);
}

DeviceContext* LookupDC(HDC dc) { return Lookup<DeviceContext>(dc, ObjectKind::DC); }

void FillSpan(const PixelBuffer& b, const RECT& r, std::uint32_t rgb) {
    int width = r.right - r.left;
    if (b.bitsPerPixel == 32) {
        std::uint32_t v = rgb & 0xFFFFFF;
        for (int y = r.top; y < r.bottom; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(b.Row(y)) + r.left;
            for (int x = 0; x < width; ++x) row[x] = v;
        }
        return;
    }
    BYTE c0 = static_cast<BYTE>(rgb), c1 = static_cast<BYTE>(rgb >> 8), c2 = static_cast<BYTE>(rgb >> 16);
    for (int y = r.top; y < r.bottom; ++y) {
        BYTE* p = b.Row(y) + r.left * 3;
        for (int x = 0; x < width; ++x, p += 3) p[0] = c0, p[1] = c1, p[2] = c2;
    }
}

namespace {

void InitState(DeviceContext& dc) {
    dc.state.brush = GetStockObject(WHITE_BRUSH);
    dc.state.pen = GetStockObject(BLACK_PEN);
    dc.state.font = GetStockObject(SYSTEM_FONT);
}

}  // namespace

HDC CreateWindowSurfaceDC(HWND window, const PixelBuffer& target, POINT origin, const Region& visible) {
    auto dc = std::make_unique<DeviceContext>();
    dc->window = window;
    dc->target = target;
    dc->deviceOrigin = origin;
    dc->visible = visible;
    InitState(*dc);
    return static_cast<HDC>(AddObject(std::move(dc)));
}

void UpdateWindowSurfaceDC(HDC h, const PixelBuffer& target, POINT origin, const Region& visible) {
    if (DeviceContext* dc = LookupDC(h)) {
        dc->target = target;
        dc->deviceOrigin = origin;
        dc->visible = visible;
    }
}

HWND WindowOfDC(HDC h) {
    DeviceContext* dc = LookupDC(h);
    return dc ? dc->window : nullptr;
}

bool TakeDrawnFlag(HDC h) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return false;
    bool drawn = dc->drawn;
    dc->drawn = false;
    return drawn;
}

bool DestroyWindowSurfaceDC(HDC h) {
    DeviceContext* dc = LookupDC(h);
    if (!dc || dc->memory) return false;
    return RemoveObject(h);
}

}  // namespace platform::gdi

using namespace platform::gdi;
using platform::Region;

HDC CreateCompatibleDC(HDC) {
    auto dc = std::make_unique<DeviceContext>();
    dc->memory = true;
    InitState(*dc);
    HBITMAP stock = DefaultBitmap();
    dc->state.bitmap = stock;
    if (BitmapObject* b = LookupBitmap(stock)) dc->target = b->buffer;
    return static_cast<HDC>(AddObject(std::move(dc)));
}

BOOL DeleteDC(HDC h) {
    DeviceContext* dc = LookupDC(h);
    if (!dc || !dc->memory) return FALSE;
    if (BitmapObject* b = LookupBitmap(dc->state.bitmap); b && b->selectedInto == h) b->selectedInto = nullptr;
    return RemoveObject(h) ? TRUE : FALSE;
}

static HGDIOBJ SelectBitmap(DeviceContext* dc, HDC h, HGDIOBJ object, BitmapObject* bmp) {
    if (!dc->memory || (bmp->selectedInto && bmp->selectedInto != h)) return nullptr;
    HGDIOBJ old = dc->state.bitmap;
    if (BitmapObject* prev = LookupBitmap(old); prev && prev->selectedInto == h) prev->selectedInto = nullptr;
    bmp->selectedInto = bmp->stock ? nullptr : h;
    dc->state.bitmap = object;
    dc->target = bmp->buffer;
    dc->state.clip.reset();
    return old;
}

HGDIOBJ SelectObject(HDC h, HGDIOBJ object) {
    DeviceContext* dc = LookupDC(h);
    GdiObject* o = LookupObject(object);
    if (!dc || !o) return nullptr;
    HGDIOBJ old = nullptr;
    switch (o->kind) {
        case ObjectKind::Brush: old = dc->state.brush, dc->state.brush = object; break;
        case ObjectKind::Pen: old = dc->state.pen, dc->state.pen = object; break;
        case ObjectKind::Font: old = dc->state.font, dc->state.font = object; break;
        case ObjectKind::Bitmap: return SelectBitmap(dc, h, object, static_cast<BitmapObject*>(o));
        case ObjectKind::Region:
            return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SelectClipRgn(h, static_cast<HRGN>(object))));
        default: return nullptr;
    }
    return old;
}

HGDIOBJ GetCurrentObject(HDC h, UINT type) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return nullptr;
    switch (type) {
        case OBJ_PEN: return dc->state.pen;
        case OBJ_BRUSH: return dc->state.brush;
        case OBJ_FONT: return dc->state.font;
        case OBJ_BITMAP: return dc->state.bitmap;
        default: return nullptr;
    }
}

int SaveDC(HDC h) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return 0;
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC h, int saved) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return FALSE;
    int count = static_cast<int>(dc->saved.size());
    int index = saved < 0 ? count + saved : saved - 1;  // negative: relative to the newest
    if (index < 0 || index >= count) return FALSE;
    DCState s = dc->saved[index];
    dc->saved.resize(index);
    if (s.bitmap != dc->state.bitmap && dc->memory) {
        if (BitmapObject* b = LookupBitmap(s.bitmap)) SelectBitmap(dc, h, s.bitmap, b);
    }
    dc->state = s;
    return TRUE;
}

BOOL SetViewportOrgEx(HDC h, int x, int y, POINT* old) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return FALSE;
    if (old) *old = dc->state.viewportOrigin;
    dc->state.viewportOrigin = POINT{x, y};
    return TRUE;
}

BOOL OffsetViewportOrgEx(HDC h, int dx, int dy, POINT* old) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return FALSE;
    if (old) *old = dc->state.viewportOrigin;
    dc->state.viewportOrigin.x += dx;
    dc->state.viewportOrigin.y += dy;
    return TRUE;
}

BOOL GetViewportOrgEx(HDC h, POINT* out) {
    DeviceContext* dc = LookupDC(h);
    if (!dc || !out) return FALSE;
    *out = dc->state.viewportOrigin;
    return TRUE;
}

BOOL SetBrushOrgEx(HDC h, int x, int y, POINT* old) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return FALSE;
    if (old) *old = dc->state.brushOrigin;
    dc->state.brushOrigin = POINT{x, y};
    return TRUE;
}

BOOL GetBrushOrgEx(HDC h, POINT* out) {
    DeviceContext* dc = LookupDC(h);
    if (!dc || !out) return FALSE;
    *out = dc->state.brushOrigin;
    return TRUE;
}

static int Complexity(const Region& r) { return r.IsEmpty() ? NULLREGION : r.IsRectangle() ? SIMPLEREGION : COMPLEXREGION; }

// The region clipping is measured against: the app clip, or everything the DC can reach.
static Region CurrentClip(const DeviceContext& dc) {
    if (dc.state.clip) return *dc.state.clip;
    Region all = dc.EffectiveClip();
    all.Offset(-dc.deviceOrigin.x, -dc.deviceOrigin.y);
    return all;
}

int ExtSelectClipRgn(HDC h, HRGN rgn, int mode) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return ERROR;
    auto* ro = LookupRegion(rgn);
    if (!ro) {
        if (mode != RGN_COPY) return ERROR;
        dc->state.clip.reset();
        return Complexity(dc->EffectiveClip());
    }
    Region current = CurrentClip(*dc);
    Region next;
    switch (mode) {
        case RGN_COPY: next = ro->region; break;
        case RGN_AND: next = current.Intersected(ro->region); break;
        case RGN_OR: next = current.United(ro->region); break;
        case RGN_DIFF: next = current.Subtracted(ro->region); break;
        case RGN_XOR: next = current.Xored(ro->region); break;
        default: return ERROR;
    }
    dc->state.clip = next;
    return Complexity(dc->EffectiveClip());
}

int SelectClipRgn(HDC h, HRGN rgn) { return ExtSelectClipRgn(h, rgn, RGN_COPY); }

static int CombineClipRect(HDC h, RECT r, bool exclude) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return ERROR;
    // Clip rectangles are given in logical coordinates.
    r = platform::RectOffset(r, dc->state.viewportOrigin.x, dc->state.viewportOrigin.y);
    Region current = CurrentClip(*dc);
    dc->state.clip = exclude ? current.Subtracted(Region(r)) : current.Intersected(Region(r));
    return Complexity(dc->EffectiveClip());
}

int IntersectClipRect(HDC h, int l, int t, int r, int b) { return CombineClipRect(h, RECT{l, t, r, b}, false); }
int ExcludeClipRect(HDC h, int l, int t, int r, int b) { return CombineClipRect(h, RECT{l, t, r, b}, true); }

int GetClipBox(HDC h, RECT* rect) {
    DeviceContext* dc = LookupDC(h);
    if (!dc || !rect) return ERROR;
    Region clip = dc->EffectiveClip();
    RECT b = clip.Bounds();
    POINT o = dc->ToTarget(POINT{0, 0});
    *rect = clip.IsEmpty() ? RECT{0, 0, 0, 0} : platform::RectOffset(b, -o.x, -o.y);
    return Complexity(clip);
}

int GetClipRgn(HDC h, HRGN rgn) {
    DeviceContext* dc = LookupDC(h);
    auto* ro = LookupRegion(rgn);
    if (!dc || !ro) return -1;
    if (!dc->state.clip) return 0;
    ro->region = *dc->state.clip;
    return 1;
}

#define DC_FIELD_ACCESSORS(SetName, GetName, Type, field)  \
    Type SetName(HDC h, Type value) {                      \
        DeviceContext* dc = LookupDC(h);                   \
        if (!dc) return Type{};                            \
        Type old = dc->state.field;                        \
        dc->state.field = value;                           \
        return old;                                        \
    }                                                      \
    Type GetName(HDC h) {                                  \
        DeviceContext* dc = LookupDC(h);                   \
        return dc ? dc->state.field : Type{};              \
    }

DC_FIELD_ACCESSORS(SetBkColor, GetBkColor, COLORREF, bkColor)
DC_FIELD_ACCESSORS(SetTextColor, GetTextColor, COLORREF, textColor)
DC_FIELD_ACCESSORS(SetBkMode, GetBkMode, int, bkMode)
DC_FIELD_ACCESSORS(SetStretchBltMode, GetStretchBltMode, int, stretchMode)
DC_FIELD_ACCESSORS(SetTextAlign, GetTextAlign, UINT, textAlign)

int SetROP2(HDC h, int rop2) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return 0;
    int old = dc->state.rop2;
    dc->state.rop2 = rop2;
    return old;
}

int GetDeviceCaps(HDC h, int index) {
    DeviceContext* dc = LookupDC(h);
    switch (index) {
        case BITSPIXEL: return dc && dc->memory ? dc->target.bitsPerPixel : 32;
        case PLANES: return 1;
        case LOGPIXELSX: case LOGPIXELSY: return 96;
        case HORZRES: return dc ? dc->target.width : 0;
        case VERTRES: return dc ? dc->target.height : 0;
        default: return 0;
    }
}

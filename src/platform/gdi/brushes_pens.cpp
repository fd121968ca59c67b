// Brushes, pens, stock objects, system colours, DeleteObject and GetObject.
#include <cstdlib>
#include <cstring>

#include "platform/gdi.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/text_internal.h"

namespace platform::gdi {
namespace {

// The classic Windows palette.
constexpr COLORREF kSysColors[31] = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(49, 106, 197),
    RGB(212, 208, 200)};

HGDIOBJ MakeStockBrush(COLORREF color, bool null) {
    auto b = std::make_unique<BrushObject>();
    b->color = color;
    b->null = null;
    b->stock = true;
    return AddObject(std::move(b));
}

HGDIOBJ MakeStockPen(COLORREF color, int style) {
    auto p = std::make_unique<PenObject>();
    p->color = color;
    p->style = style;
    p->stock = true;
    return AddObject(std::move(p));
}

}  // namespace

bool BrushColor(HBRUSH brush, std::uint32_t* rgb) {
    auto v = reinterpret_cast<std::uintptr_t>(brush);
    if (v > 0 && v <= 31) {
        *rgb = ToRgb(GetSysColor(static_cast<int>(v - 1)));
        return true;
    }
    BrushObject* b = LookupBrush(brush);
    if (!b || b->null) return false;
    *rgb = ToRgb(b->color);
    return true;
}

HBITMAP DefaultBitmap() {
    static HBITMAP stock = [] {
        std::unique_ptr<BitmapObject> b = NewBitmap(1, 1, 32);
        b->stock = true;
        b->declaredBits = 1;
        return static_cast<HBITMAP>(AddObject(std::move(b)));
    }();
    return stock;
}

}  // namespace platform::gdi

using namespace platform::gdi;

COLORREF GetSysColor(int index) { return index >= 0 && index < 31 ? kSysColors[index] : 0; }

HBRUSH GetSysColorBrush(int index) {
    static HGDIOBJ brushes[31] = {};
    if (index < 0 || index >= 31) return nullptr;
    if (!brushes[index]) brushes[index] = MakeStockBrush(kSysColors[index], false);
    return static_cast<HBRUSH>(brushes[index]);
}

HGDIOBJ GetStockObject(int index) {
    static HGDIOBJ objects[19] = {};
    if (index < 0 || index > 18) return nullptr;
    if (objects[index]) return objects[index];
    switch (index) {
        case WHITE_BRUSH: objects[index] = MakeStockBrush(RGB(255, 255, 255), false); break;
        case LTGRAY_BRUSH: objects[index] = MakeStockBrush(RGB(192, 192, 192), false); break;
        case GRAY_BRUSH: objects[index] = MakeStockBrush(RGB(128, 128, 128), false); break;
        case DKGRAY_BRUSH: objects[index] = MakeStockBrush(RGB(64, 64, 64), false); break;
        case BLACK_BRUSH: objects[index] = MakeStockBrush(RGB(0, 0, 0), false); break;
        case NULL_BRUSH: objects[index] = MakeStockBrush(0, true); break;
        case DC_BRUSH: objects[index] = MakeStockBrush(RGB(255, 255, 255), false); break;
        case WHITE_PEN: objects[index] = MakeStockPen(RGB(255, 255, 255), PS_SOLID); break;
        case BLACK_PEN: objects[index] = MakeStockPen(RGB(0, 0, 0), PS_SOLID); break;
        case NULL_PEN: objects[index] = MakeStockPen(0, PS_NULL); break;
        case SYSTEM_FONT: case DEFAULT_GUI_FONT: objects[index] = StockFont(index); break;
        default: return nullptr;
    }
    return objects[index];
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto b = std::make_unique<BrushObject>();
    b->color = color & 0xFFFFFF;
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb) return nullptr;
    if (lb->lbStyle == BS_NULL) {
        auto b = std::make_unique<BrushObject>();
        b->null = true;
        return static_cast<HBRUSH>(AddObject(std::move(b)));
    }
    return CreateSolidBrush(lb->lbColor);
}

HPEN CreatePen(int style, int width, COLORREF color) {
    auto p = std::make_unique<PenObject>();
    p->style = style;
    p->width = width < 1 ? 1 : width;
    p->color = color & 0xFFFFFF;
    return static_cast<HPEN>(AddObject(std::move(p)));
}

BOOL DeleteObject(HGDIOBJ object) {
    GdiObject* o = LookupObject(object);
    if (!o || o->kind == ObjectKind::DC || o->stock) return FALSE;
    if (o->kind == ObjectKind::Bitmap && static_cast<BitmapObject*>(o)->selectedInto) return FALSE;
    return RemoveObject(object) ? TRUE : FALSE;
}

static int GetBitmapObject(BitmapObject* b, int size, LPVOID out) {
    BITMAP bm{0, b->buffer.width, b->buffer.height, std::abs(b->buffer.stride), 1, static_cast<WORD>(b->declaredBits),
              b->dib ? b->buffer.bits : nullptr};
    if (b->declaredBits == 1) bm.bmWidthBytes = ((b->buffer.width + 15) / 16) * 2;
    if (size >= static_cast<int>(sizeof(DIBSECTION)) && b->dib) {
        DIBSECTION ds{};
        ds.dsBm = bm;
        ds.dsBmih = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), b->buffer.width, b->buffer.height, 1,
                                     static_cast<WORD>(b->declaredBits), BI_RGB,
                                     static_cast<DWORD>(std::abs(b->buffer.stride) * b->buffer.height), 0, 0, 0, 0};
        std::memcpy(out, &ds, sizeof ds);
        return sizeof ds;
    }
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    std::memcpy(out, &bm, sizeof bm);
    return sizeof bm;
}

int GetObject(HGDIOBJ object, int size, LPVOID out) {
    GdiObject* o = LookupObject(object);
    if (!o) return 0;
    switch (o->kind) {
        case ObjectKind::Bitmap:
            if (!out) return sizeof(BITMAP);
            return GetBitmapObject(static_cast<BitmapObject*>(o), size, out);
        case ObjectKind::Brush: {
            auto* b = static_cast<BrushObject*>(o);
            LOGBRUSH lb{b->null ? BS_NULL : BS_SOLID, b->color, 0};
            if (!out) return sizeof lb;
            if (size < static_cast<int>(sizeof lb)) return 0;
            std::memcpy(out, &lb, sizeof lb);
            return sizeof lb;
        }
        case ObjectKind::Font: return GetFontObject(object, size, out);
        default: return 0;
    }
}

// The GDI object kinds other than regions and DCs.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/gdi_objects.h"
#include "platform/zeroed_pixels.h"

namespace platform::gdi {

struct BrushObject : GdiObject {
    BrushObject() : GdiObject(ObjectKind::Brush) {}
    bool null = false;
    COLORREF color = 0;
};

struct PenObject : GdiObject {
    PenObject() : GdiObject(ObjectKind::Pen) {}
    int style = 0;
    int width = 1;
    COLORREF color = 0;
};

struct BitmapObject : GdiObject {
    BitmapObject() : GdiObject(ObjectKind::Bitmap) {}
    PixelBuffer buffer;             // 1-bit masks are kept as 32-bit pixels of 0 or 0xFFFFFF
    ZeroedPixels storage;           // 4-byte aligned rows
    int declaredBits = 32;          // what GetObject reports
    bool dib = false;
    HDC selectedInto = nullptr;
};

// An icon: 32-bit colour (straight alpha when any alpha is set) and an AND mask.
struct IconObject : GdiObject {
    IconObject() : GdiObject(ObjectKind::Icon) {}
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> color;  // 0xAARRGGBB
    std::vector<BYTE> mask;            // 1: transparent
    bool hasAlpha = false;
};

inline BitmapObject* LookupBitmap(HGDIOBJ h) { return Lookup<BitmapObject>(h, ObjectKind::Bitmap); }
inline IconObject* LookupIcon(HGDIOBJ h) { return Lookup<IconObject>(h, ObjectKind::Icon); }
inline BrushObject* LookupBrush(HGDIOBJ h) { return Lookup<BrushObject>(h, ObjectKind::Brush); }
inline PenObject* LookupPen(HGDIOBJ h) { return Lookup<PenObject>(h, ObjectKind::Pen); }

// Allocates a bitmap of the given size and depth (24 or 32); null beyond the size limits.
std::unique_ptr<BitmapObject> NewBitmap(int width, int height, int bitsPerPixel);
// The one-pixel bitmap a new memory DC starts with.
HBITMAP DefaultBitmap();
// Resolves a brush argument: a real brush, or a system colour index plus one.
bool BrushColor(HBRUSH brush, std::uint32_t* rgb);

}  // namespace platform::gdi

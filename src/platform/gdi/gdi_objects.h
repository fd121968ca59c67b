// The GDI object model behind the handles: pixel buffers, brushes, pens, fonts, bitmaps and
// regions live in one handle table; handles are ids, so a deleted or foreign handle is
// recognised (lookups return null) instead of being dereferenced.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/region.h"
#include "platform/types.h"

namespace platform::gdi {

// Pixels a device context draws into. Top-down rows; 32-bit pixels are B, G, R, A bytes,
// 24-bit pixels B, G, R with each row padded to 4 bytes. Never assume stride == width * bpp.
struct PixelBuffer {
    BYTE* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    int bitsPerPixel = 32;

    BYTE* Row(int y) const { return bits + static_cast<std::ptrdiff_t>(y) * stride; }
    int BytesPerPixel() const { return bitsPerPixel / 8; }
    bool IsEmpty() const { return bits == nullptr || width <= 0 || height <= 0; }
};

enum class ObjectKind { Brush, Pen, Font, Bitmap, Region, DC, Icon };

struct GdiObject {
    explicit GdiObject(ObjectKind k) : kind(k) {}
    virtual ~GdiObject() = default;
    ObjectKind kind;
    bool stock = false;  // stock objects ignore DeleteObject
};

struct RegionObject : GdiObject {
    RegionObject() : GdiObject(ObjectKind::Region) {}
    explicit RegionObject(Region r) : GdiObject(ObjectKind::Region), region(std::move(r)) {}
    Region region;
};

// Adds an object to the handle table and returns its handle.
HGDIOBJ AddObject(std::unique_ptr<GdiObject> object);
// The object behind a handle, or null when the handle is not a live object of that kind.
GdiObject* LookupObject(HGDIOBJ handle);
template <class T>
T* Lookup(HGDIOBJ handle, ObjectKind kind) {
    GdiObject* o = LookupObject(handle);
    return o && o->kind == kind ? static_cast<T*>(o) : nullptr;
}
// Removes and destroys; false for unknown and stock handles.
bool RemoveObject(HGDIOBJ handle);

inline RegionObject* LookupRegion(HRGN h) { return Lookup<RegionObject>(h, ObjectKind::Region); }
// A new region handle holding a copy of the region.
HRGN NewRegionHandle(const Region& region);

}  // namespace platform::gdi

// A region: a set of pixels kept as y-x banded rectangles, the representation GDI regions use.
// Rectangles are sorted by top, then left; rectangles of one band share top and bottom, do not
// touch or overlap, and vertically adjacent bands with identical spans are merged. IsValid
// checks exactly these invariants, so tests can call it after every operation.
#pragma once

#include <span>
#include <vector>

#include "platform/types.h"

namespace platform {

class Region {
public:
    Region() = default;
    explicit Region(const RECT& rect);
    Region(int left, int top, int right, int bottom) : Region(RECT{left, top, right, bottom}) {}
    // Any rectangles, overlapping or not; the result is their union.
    static Region FromRects(std::span<const RECT> rects);

    bool IsEmpty() const { return rects_.empty(); }
    const std::vector<RECT>& Rects() const { return rects_; }
    // Bounding box; all zero when empty.
    RECT Bounds() const;
    bool IsRectangle() const { return rects_.size() == 1; }

    bool Contains(int x, int y) const;
    // True when any pixel of the rectangle lies in the region.
    bool Intersects(const RECT& rect) const;

    void Offset(int dx, int dy);
    Region Intersected(const Region& other) const;
    Region United(const Region& other) const;
    Region Subtracted(const Region& other) const;
    Region Xored(const Region& other) const;
    void Intersect(const Region& other) { *this = Intersected(other); }
    void Unite(const Region& other) { *this = United(other); }
    void Subtract(const Region& other) { *this = Subtracted(other); }
    void Clear() { rects_.clear(); }

    bool operator==(const Region& other) const;
    bool IsValid() const;

private:
    std::vector<RECT> rects_;
};

// Rectangle helpers shared by the whole platform layer.
inline bool RectIsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline RECT RectIntersection(const RECT& a, const RECT& b) {
    RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
           a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    if (RectIsEmpty(r)) return RECT{0, 0, 0, 0};
    return r;
}
inline RECT RectOffset(RECT r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace platform

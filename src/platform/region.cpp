// Banded regions. Every set operation is one sweep over the horizontal bands of both
// operands: between two consecutive band edges both regions are a fixed list of x spans, so
// the result's spans follow from a span operation, and equal neighbouring bands are merged.
#include "platform/region.h"

#include <algorithm>

namespace platform {
namespace {

using Spans = std::vector<std::pair<LONG, LONG>>;  // sorted, disjoint, non-touching [l, r)

enum class Op { And, Or, Diff, Xor };

// The spans of the band of `rects` that covers row y (empty when none).
Spans SpansAt(const std::vector<RECT>& rects, LONG y, std::size_t& cursor) {
    while (cursor < rects.size() && rects[cursor].bottom <= y) ++cursor;
    Spans out;
    for (std::size_t i = cursor; i < rects.size() && rects[i].top <= y; ++i)
        if (rects[i].bottom > y) out.emplace_back(rects[i].left, rects[i].right);
    return out;
}

bool Inside(bool a, bool b, Op op) {
    switch (op) {
        case Op::And: return a && b;
        case Op::Or: return a || b;
        case Op::Diff: return a && !b;
        case Op::Xor: return a != b;
    }
    return false;
}

Spans Combine(const Spans& a, const Spans& b, Op op) {
    std::vector<LONG> xs;
    for (auto& s : a) xs.push_back(s.first), xs.push_back(s.second);
    for (auto& s : b) xs.push_back(s.first), xs.push_back(s.second);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    Spans out;
    std::size_t ia = 0, ib = 0;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        LONG x = xs[i];
        while (ia < a.size() && a[ia].second <= x) ++ia;
        while (ib < b.size() && b[ib].second <= x) ++ib;
        bool inA = ia < a.size() && a[ia].first <= x;
        bool inB = ib < b.size() && b[ib].first <= x;
        if (!Inside(inA, inB, op)) continue;
        if (!out.empty() && out.back().second == x) out.back().second = xs[i + 1];
        else out.emplace_back(x, xs[i + 1]);
    }
    return out;
}

void AddBand(std::vector<RECT>& rects, std::size_t& lastBandStart, const Spans& spans, LONG top, LONG bottom) {
    if (spans.empty()) return;
    // Merge with the previous band when it ends here and has the same spans.
    std::size_t prevCount = rects.size() - lastBandStart;
    if (prevCount == spans.size() && prevCount > 0 && rects[lastBandStart].bottom == top) {
        bool same = true;
        for (std::size_t i = 0; i < spans.size() && same; ++i)
            same = rects[lastBandStart + i].left == spans[i].first && rects[lastBandStart + i].right == spans[i].second;
        if (same) {
            for (std::size_t i = lastBandStart; i < rects.size(); ++i) rects[i].bottom = bottom;
            return;
        }
    }
    lastBandStart = rects.size();
    for (auto& s : spans) rects.push_back(RECT{s.first, top, s.second, bottom});
}

std::vector<RECT> Sweep(const std::vector<RECT>& a, const std::vector<RECT>& b, Op op) {
    std::vector<LONG> ys;
    for (auto& r : a) ys.push_back(r.top), ys.push_back(r.bottom);
    for (auto& r : b) ys.push_back(r.top), ys.push_back(r.bottom);
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::vector<RECT> out;
    std::size_t ca = 0, cb = 0, lastBand = 0;
    for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
        Spans sa = SpansAt(a, ys[i], ca);
        Spans sb = SpansAt(b, ys[i], cb);
        AddBand(out, lastBand, Combine(sa, sb, op), ys[i], ys[i + 1]);
    }
    return out;
}


}  // namespace

Region::Region(const RECT& r) {
    if (!RectIsEmpty(r)) rects_.push_back(r);
}

Region Region::FromRects(std::span<const RECT> rects) {
    Region out;
    for (const RECT& r : rects) out.Unite(Region(r));
    return out;
}

RECT Region::Bounds() const {
    if (rects_.empty()) return RECT{0, 0, 0, 0};
    RECT b = rects_.front();
    for (const RECT& r : rects_) {
        b.left = std::min(b.left, r.left);
        b.right = std::max(b.right, r.right);
    }
    b.bottom = rects_.back().bottom;
    return b;
}

bool Region::Contains(int x, int y) const {
    for (const RECT& r : rects_) {
        if (r.top > y) break;
        if (y < r.bottom && x >= r.left && x < r.right) return true;
    }
    return false;
}

bool Region::Intersects(const RECT& rect) const {
    if (RectIsEmpty(rect)) return false;
    for (const RECT& r : rects_) {
        if (r.top >= rect.bottom) break;
        if (!RectIsEmpty(RectIntersection(r, rect))) return true;
    }
    return false;
}

void Region::Offset(int dx, int dy) {
    for (RECT& r : rects_) r = RectOffset(r, dx, dy);
}

Region Region::Intersected(const Region& o) const {
    Region out;
    if (IsEmpty() || o.IsEmpty()) return out;
    if (IsRectangle() && o.IsRectangle()) return Region(RectIntersection(rects_[0], o.rects_[0]));
    out.rects_ = Sweep(rects_, o.rects_, Op::And);
    return out;
}

Region Region::United(const Region& o) const {
    if (o.IsEmpty()) return *this;
    if (IsEmpty()) return o;
    Region out;
    out.rects_ = Sweep(rects_, o.rects_, Op::Or);
    return out;
}

Region Region::Subtracted(const Region& o) const {
    if (IsEmpty() || o.IsEmpty()) return *this;
    Region out;
    out.rects_ = Sweep(rects_, o.rects_, Op::Diff);
    return out;
}

Region Region::Xored(const Region& o) const {
    Region out;
    out.rects_ = Sweep(rects_, o.rects_, Op::Xor);
    return out;
}

bool Region::operator==(const Region& o) const {
    if (rects_.size() != o.rects_.size()) return false;
    for (std::size_t i = 0; i < rects_.size(); ++i) {
        const RECT &a = rects_[i], &b = o.rects_[i];
        if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) return false;
    }
    return true;
}

bool Region::IsValid() const {
    for (std::size_t i = 0; i < rects_.size(); ++i) {
        const RECT& r = rects_[i];
        if (RectIsEmpty(r)) return false;
        if (i == 0) continue;
        const RECT& p = rects_[i - 1];
        bool sameBand = p.top == r.top;
        if (sameBand && (p.bottom != r.bottom || p.right >= r.left)) return false;  // overlap or touch
        if (!sameBand && r.top < p.bottom) return false;
    }
    // Adjacent bands with equal spans must have been merged.
    std::size_t start = 0;
    std::size_t prevStart = 0, prevCount = 0;
    while (start < rects_.size()) {
        std::size_t end = start;
        while (end < rects_.size() && rects_[end].top == rects_[start].top) ++end;
        if (prevCount == end - start && rects_[prevStart].bottom == rects_[start].top) {
            bool same = true;
            for (std::size_t k = 0; k < prevCount && same; ++k)
                same = rects_[prevStart + k].left == rects_[start + k].left &&
                       rects_[prevStart + k].right == rects_[start + k].right;
            if (same) return false;
        }
        prevStart = start;
        prevCount = end - start;
        start = end;
    }
    return true;
}

}  // namespace platform

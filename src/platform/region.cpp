// Banded regions. Every set operation is one sweep over the horizontal bands of both
// operands: between two consecutive band edges both regions are a fixed list of x spans, so
// the result's spans follow from a span operation, and equal neighbouring bands are merged.
#include "platform/region.h"

#include <algorithm>
#include <limits>

namespace platform {
namespace {

enum class Op { And, Or, Diff, Xor };

bool Inside(bool a, bool b, Op op) {
    switch (op) {
        case Op::And: return a && b;
        case Op::Or: return a || b;
        case Op::Diff: return a && !b;
        case Op::Xor: return a != b;
    }
    return false;
}

bool Covers(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

constexpr LONG kNoEdge = std::numeric_limits<LONG>::max();

// Walks the bands of a banded rectangle list from top to bottom.
class Bands {
  public:
    explicit Bands(const std::vector<RECT>& rects) : rects_(rects) { FindEnd(); }
    // Moves past the bands that end at or above y.
    void SkipTo(LONG y) {
        while (begin_ < rects_.size() && rects_[begin_].bottom <= y) {
            begin_ = end_;
            FindEnd();
        }
    }
    // The first band edge below y (after SkipTo(y)), kNoEdge past the last band.
    LONG NextEdge(LONG y) const {
        if (begin_ >= rects_.size()) return kNoEdge;
        return rects_[begin_].top > y ? rects_[begin_].top : rects_[begin_].bottom;
    }
    // The spans of the band covering row y, none when no band does.
    std::span<const RECT> At(LONG y) const {
        if (begin_ >= rects_.size() || rects_[begin_].top > y) return {};
        return std::span<const RECT>(rects_.data() + begin_, end_ - begin_);
    }

  private:
    void FindEnd() {
        end_ = begin_;
        while (end_ < rects_.size() && rects_[end_].top == rects_[begin_].top) ++end_;
    }
    const std::vector<RECT>& rects_;
    std::size_t begin_ = 0, end_ = 0;
};

// Appends the spans of `a op b` as rectangles of rows [top, bottom): a merge of the two
// sorted edge lists, toggling inside-a and inside-b at each edge; touching spans join.
void CombineInto(std::vector<RECT>& out, std::span<const RECT> a, std::span<const RECT> b, Op op,
                 LONG top, LONG bottom) {
    std::size_t ia = 0, ib = 0;  // edge index: span k has edges 2k (left) and 2k + 1 (right)
    auto edge = [](std::span<const RECT> s, std::size_t i) {
        if (i >= 2 * s.size()) return kNoEdge;
        return i % 2 == 0 ? s[i / 2].left : s[i / 2].right;
    };
    const std::size_t bandStart = out.size();
    for (;;) {
        LONG x = std::min(edge(a, ia), edge(b, ib));
        if (x == kNoEdge) break;
        if (edge(a, ia) == x) ++ia;
        if (edge(b, ib) == x) ++ib;
        LONG next = std::min(edge(a, ia), edge(b, ib));
        if (next == kNoEdge || !Inside(ia % 2 == 1, ib % 2 == 1, op)) continue;
        if (out.size() > bandStart && out.back().right == x)
            out.back().right = next;
        else
            out.push_back(RECT{x, top, next, bottom});
    }
}

// Merges the band just appended at `start` into the previous one (at `previous`) when that
// ends where it begins with the same spans; returns where the last band now starts.
std::size_t MergeBand(std::vector<RECT>& out, std::size_t previous, std::size_t start) {
    const std::size_t count = out.size() - start;
    if (count == 0) return previous;
    if (start - previous == count && start > previous && out[previous].bottom == out[start].top) {
        bool same = true;
        for (std::size_t i = 0; i < count && same; ++i)
            same = out[previous + i].left == out[start + i].left &&
                   out[previous + i].right == out[start + i].right;
        if (same) {
            const LONG bottom = out[start].bottom;
            out.resize(start);
            for (std::size_t i = previous; i < start; ++i) out[i].bottom = bottom;
            return previous;
        }
    }
    return start;
}

// One pass over the band edges of both operands, in order; between two consecutive edges
// each operand is a fixed list of spans, read in place.
std::vector<RECT> Sweep(const std::vector<RECT>& a, const std::vector<RECT>& b, Op op) {
    std::vector<RECT> out;
    out.reserve(a.size() + b.size());
    Bands ba(a), bb(b);
    std::size_t lastBand = 0;
    LONG y = std::min(ba.NextEdge(std::numeric_limits<LONG>::min()),
                      bb.NextEdge(std::numeric_limits<LONG>::min()));
    while (y != kNoEdge) {
        ba.SkipTo(y);
        bb.SkipTo(y);
        const LONG next = std::min(ba.NextEdge(y), bb.NextEdge(y));
        if (next == kNoEdge) break;
        const std::size_t start = out.size();
        CombineInto(out, ba.At(y), bb.At(y), op, y, next);
        lastBand = MergeBand(out, lastBand, start);
        y = next;
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
    if (RectIsEmpty(RectIntersection(Bounds(), o.Bounds()))) return out;
    // Clipping to a rectangle that holds the other region whole, the common case of a
    // device context's bounds, changes nothing.
    if (IsRectangle() && Covers(rects_[0], o.Bounds())) return o;
    if (o.IsRectangle() && Covers(o.rects_[0], Bounds())) return *this;
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
    // Windows take away their siblings one by one, most of which lie elsewhere.
    if (RectIsEmpty(RectIntersection(Bounds(), o.Bounds()))) return *this;
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

#include "forms/glow_geometry.h"

#include <algorithm>

namespace forms {
namespace {

int Cut(bool cutOff, int hidden, int frameWidth, int overlap) {
    return cutOff ? std::max(0, hidden + frameWidth - overlap) : 0;
}

}  // namespace

TacGlowPlacement PlaceGlow(const RECT& box, const RECT& visible, const RECT& frame, int overlap) {
    TacGlowPlacement p;
    const int bw = box.right - box.left, bh = box.bottom - box.top;
    p.full = SIZE{bw + frame.left + frame.right - 2 * overlap,
                  bh + frame.top + frame.bottom - 2 * overlap};
    const bool nothingSeen =
        visible.right <= visible.left || visible.bottom <= visible.top || bw <= 0 || bh <= 0;
    if (nothingSeen || p.full.cx <= 0 || p.full.cy <= 0) return p;

    const bool whole = visible.right - visible.left == bw && visible.bottom - visible.top == bh;
    if (!whole) {
        p.cutLeft = Cut(visible.left > 0, visible.left, frame.left, overlap);
        p.cutTop = Cut(visible.top > 0, visible.top, frame.top, overlap);
        p.cutRight = Cut(visible.right < bw, bw - visible.right, frame.right, overlap);
        p.cutBottom = Cut(visible.bottom < bh, bh - visible.bottom, frame.bottom, overlap);
    }
    const int left = box.left - frame.left + overlap + p.cutLeft;
    const int top = box.top - frame.top + overlap + p.cutTop;
    p.window = RECT{left, top, left + p.full.cx - p.cutLeft - p.cutRight,
                    top + p.full.cy - p.cutTop - p.cutBottom};
    return p;
}

}  // namespace forms

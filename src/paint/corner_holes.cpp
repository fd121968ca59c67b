#include "paint/corner_holes.h"

#include "paint/bg_source.h"
#include "paint/image_entry.h"
#include "paint/pixel_view.h"

namespace paint {

using detail::PixelView;
using detail::View;

namespace {

const detail::Bgra kKey = detail::ToBgra(framework::ColorToRGB(TransparentColor));

// How much of what lies behind a pixel of the entry lets through.
enum class Through : std::uint8_t { none, part, all };

Through ThroughAt(const PixelView& v, int mo, int x, int y) {
    if (!v.Contains(x, y)) return Through::none;
    if (detail::SameColor(v.At(x, y), kKey)) return Through::all;
    if (mo <= 0 || !v.Contains(x, y + mo)) return Through::none;
    const std::uint8_t* m = v.At(x, y + mo);
    if (m[0] == 255 && m[1] == 255 && m[2] == 255) return Through::all;
    return m[0] != 0 || m[1] != 0 || m[2] != 0 ? Through::part : Through::none;
}

std::vector<Through> Levels(const framework::TBitmap& image, const skin::TsMaskData& entry,
                            const RECT& src) {
    const PixelView v = View(image);
    const int w = src.right - src.left, h = src.bottom - src.top;
    const int mo = entry.MaskType != 0 ? MaskOffset(entry) : 0;
    std::vector<Through> levels(static_cast<std::size_t>(w) * h, Through::none);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            levels[static_cast<std::size_t>(y) * w + x] =
                ThroughAt(v, mo, src.left + x, src.top + y);
    return levels;
}

// Every see-through pixel on the outer edges is outside; from there the outside spreads
// through pixels that let everything through. A half see-through pixel ends it: it is the
// frame's own soft edge.
std::vector<bool> Outside(const std::vector<Through>& levels, int w, int h, bool right,
                          bool bottom) {
    std::vector<bool> outer(levels.size(), false);
    std::vector<int> stack;
    auto mark = [&](int x, int y, bool seed) {
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        if (outer[i] || levels[i] == Through::none) return;
        if (!seed && levels[i] != Through::all) return;
        outer[i] = true;
        if (levels[i] == Through::all) stack.push_back(static_cast<int>(i));
    };
    const int edgeRow = bottom ? h - 1 : 0, edgeColumn = right ? w - 1 : 0;
    for (int x = 0; x < w; ++x) mark(x, edgeRow, true);
    for (int y = 0; y < h; ++y) mark(edgeColumn, y, true);
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        const int x = i % w, y = i / w;
        if (x > 0) mark(x - 1, y, false);
        if (x + 1 < w) mark(x + 1, y, false);
        if (y > 0) mark(x, y - 1, false);
        if (y + 1 < h) mark(x, y + 1, false);
    }
    return outer;
}

}  // namespace

std::vector<bool> OuterHoles(const framework::TBitmap& image, const skin::TsMaskData& entry,
                             const RECT& src, bool right, bool bottom) {
    const int w = src.right - src.left, h = src.bottom - src.top;
    if (w <= 0 || h <= 0) return {};
    return Outside(Levels(image, entry, src), w, h, right, bottom);
}

void KeepInnerHoles(framework::TBitmap& bmp, POINT at, const framework::TBitmap& before,
                    const framework::TBitmap& image, const skin::TsMaskData& entry, const RECT& src,
                    bool right, bool bottom) {
    const PixelView d = View(bmp), b = View(before);
    const int w = src.right - src.left, h = src.bottom - src.top;
    if (d.Empty() || b.Empty() || w <= 0 || h <= 0 || d.bpp != b.bpp) return;
    const std::vector<Through> levels = Levels(image, entry, src);
    const std::vector<bool> outer = Outside(levels, w, h, right, bottom);
    for (int y = 0; y < h && y < b.height; ++y) {
        for (int x = 0; x < w && x < b.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            if (levels[i] == Through::none || outer[i] || !d.Contains(at.x + x, at.y + y)) continue;
            std::copy_n(b.At(x, y), d.bpp, d.At(at.x + x, at.y + y));
        }
    }
}

}  // namespace paint

#include "atlas.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace skinart {
namespace {

constexpr int kGap = 2;  // free pixels between cells, so no piece can reach its neighbour

std::string Fixed(const char* format, int a, int b, int c, int d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, a, b, c, d);
    return buf;
}

}  // namespace

Rgba ImagePixel(Rgba c, bool inCorner) {
    if (c.a == 0) return inCorner && !IsOutside(c) ? Rgba{0, 0, 0, 255} : Rgba{255, 0, 255, 255};
    // A visible pixel must never read as the see-through colour.
    if (c.r == 255 && c.g == 0 && c.b == 255) c.g = 1;
    return Rgba{c.r, c.g, c.b, 255};
}

Rgba MaskPixel(Rgba c) {
    const auto m = static_cast<std::uint8_t>(255 - c.a);
    return Rgba{m, m, m, 255};
}

void Atlas::Place(int w, int h, int& x, int& y) {
    if (w > width_) throw std::runtime_error("picture wider than the master bitmap");
    if (shelfX_ + w > width_) {
        shelfY_ += shelfH_ + kGap;
        shelfX_ = 0;
        shelfH_ = 0;
    }
    x = shelfX_, y = shelfY_;
    shelfX_ += w + kGap;
    shelfH_ = std::max(shelfH_, h);
}

std::string Atlas::AddFrame(const std::vector<Picture>& states, Margins m, int drawMode,
                            int borderWidth) {
    const int w = states.front().Width(), h = states.front().Height();
    const int count = static_cast<int>(states.size());
    int x = 0, y = 0;
    Place(w * count, h * 2, x, y);
    items_.push_back(Item{x, y, states, m});
    // Fixed columns: rectangle, four frame widths, then count, mask rows, mode, border width.
    std::string value(1, '^');
    value.append(Fixed("%4d,%4d,%4d,%4d,", x, y, x + w * count, y + h * 2));
    value.append(Fixed("%4d,%4d,%4d,%4d,", m.left, m.top, m.right, m.bottom));
    value.append(Fixed("%1d,%1d,%1d,%1d", count, 1, drawMode, borderWidth));
    return value;
}

std::string Atlas::AddGlyph(const std::vector<Picture>& states) {
    const int w = states.front().Width(), h = states.front().Height();
    const int count = static_cast<int>(states.size());
    int x = 0, y = 0;
    Place(w * count, h * 2, x, y);
    items_.push_back(Item{x, y, states, Margins{}});
    std::string value(1, '@');
    value.append(Fixed("%4d,%4d,%4d,%4d,", x, y, x + w * count, y + h * 2));
    value.append(Fixed("%1d,%1d", count, 1, 0, 0));
    return value;
}

Picture Atlas::Compose() const {
    const int height = shelfY_ + shelfH_;
    Picture master(width_, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width_; ++x) master.At(x, y) = ImagePixel(kOutside, false);
    for (const Item& item : items_)
        for (std::size_t s = 0; s < item.states.size(); ++s) {
            const Picture& p = item.states[s];
            const int x0 = item.x + static_cast<int>(s) * p.Width();
            for (int y = 0; y < p.Height(); ++y)
                for (int x = 0; x < p.Width(); ++x) {
                    const Margins& c = item.corners;
                    const bool corner = (x < c.left || x >= p.Width() - c.right) &&
                                        (y < c.top || y >= p.Height() - c.bottom);
                    master.At(x0 + x, item.y + y) = ImagePixel(p.At(x, y), corner);
                    master.At(x0 + x, item.y + p.Height() + y) = MaskPixel(p.At(x, y));
                }
        }
    return master;
}

}  // namespace skinart

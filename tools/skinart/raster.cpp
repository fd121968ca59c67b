#include "raster.h"

#include <algorithm>
#include <cmath>

namespace skinart {

Rgba Mix(Rgba a, Rgba b, int t) {
    auto m = [t](int x, int y) {
        return static_cast<std::uint8_t>((x * (256 - t) + y * t + 128) >> 8);
    };
    return Rgba{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

Shape RoundRect(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) {
        if (x < left || x >= right || y < top || y >= bottom) return false;
        const double cx = std::clamp(x, left + radius, right - radius);
        const double cy = std::clamp(y, top + radius, bottom - radius);
        const double dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy <= radius * radius;
    };
}

Shape Circle(double cx, double cy, double radius) {
    return [=](double x, double y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

Shape Segment(double x0, double y0, double x1, double y1, double halfWidth) {
    return [=](double x, double y) {
        const double vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
        double t = len2 > 0 ? ((x - x0) * vx + (y - y0) * vy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double dx = x - (x0 + t * vx), dy = y - (y0 + t * vy);
        return dx * dx + dy * dy <= halfWidth * halfWidth;
    };
}

Shape Minus(Shape outer, Shape inner) {
    return [=](double x, double y) { return outer(x, y) && !inner(x, y); };
}

Shape Union(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Paint Solid(Rgba c) {
    return [c](int, int) { return c; };
}

Paint VerticalRamp(Rgba top, Rgba bottom, int y0, int y1) {
    return [=](int, int y) {
        if (y1 <= y0) return top;
        const int t = std::clamp((y - y0) * 256 / (y1 - y0), 0, 256);
        return Mix(top, bottom, t);
    };
}

int Coverage(const Shape& shape, int x, int y) {
    int n = 0;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            if (shape(x + (2 * i + 1) / 8.0, y + (2 * j + 1) / 8.0)) ++n;
    return n;
}

void Picture::Blend(int x, int y, Rgba c, int cover16) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || cover16 <= 0) return;
    Rgba& d = At(x, y);
    const int sa = c.a * cover16 / 16;  // 0..255
    const int da = d.a * (255 - sa) / 255;
    const int oa = sa + da;
    if (oa == 0) {
        d = Rgba{};
        return;
    }
    auto ch = [&](int s, int dd) {
        return static_cast<std::uint8_t>((s * sa + dd * da + oa / 2) / oa);
    };
    d = Rgba{ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b), static_cast<std::uint8_t>(oa)};
}

void Picture::Fill(const Shape& shape, const Paint& paint, int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0), x1 = std::min(x1, w_), y1 = std::min(y1, h_);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const int n = Coverage(shape, x, y);
            if (n) Blend(x, y, paint(x, y), n);
        }
}

void Picture::Cut(const Shape& keep) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            if (Coverage(keep, x, y) < 8) At(x, y) = kOutside;
}

void Picture::Put(const Picture& p, int x, int y) {
    for (int j = 0; j < p.h_; ++j)
        for (int i = 0; i < p.w_; ++i)
            if (x + i >= 0 && y + j >= 0 && x + i < w_ && y + j < h_) At(x + i, y + j) = p.At(i, j);
}

void Picture::Over(const Picture& p, int x, int y) {
    for (int j = 0; j < p.h_; ++j)
        for (int i = 0; i < p.w_; ++i) {
            Rgba c = p.At(i, j);
            if (c.a) Blend(x + i, y + j, c, 16);
        }
}

}  // namespace skinart

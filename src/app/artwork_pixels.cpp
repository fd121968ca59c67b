#include "app/artwork_pixels.h"

#include <algorithm>
#include <cmath>

namespace app {

namespace {

struct Rgba {
    double r, g, b, a;
};

// Coverage of a disc at a pixel, from 4 x 4 samples, for soft edges.
double DiscCoverage(double cx, double cy, double radius, int x, int y) {
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            double px = x + (sx + 0.5) / 4 - cx, py = y + (sy + 0.5) / 4 - cy;
            if (px * px + py * py <= radius * radius) ++inside;
        }
    return inside / 16.0;
}

// Coverage of a thick segment from (x0, y0) to (x1, y1).
double SegmentCoverage(double x0, double y0, double x1, double y1, double half, int x, int y) {
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
            double dx = x1 - x0, dy = y1 - y0;
            double t =
                std::clamp(((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
            double ex = x0 + t * dx - px, ey = y0 + t * dy - py;
            if (ex * ex + ey * ey <= half * half) ++inside;
        }
    return inside / 16.0;
}

// Paints `top` over `base` with the given coverage.
Rgba Over(Rgba base, Rgba top, double coverage) {
    double a = top.a * coverage;
    double outA = a + base.a * (1 - a);
    if (outA <= 0) return Rgba{0, 0, 0, 0};
    auto mix = [&](double t, double b) { return (t * a + b * base.a * (1 - a)) / outA; };
    return Rgba{mix(top.r, base.r), mix(top.g, base.g), mix(top.b, base.b), outA};
}

template <class Shade>
ArtworkPixels Render(Shade shade) {
    ArtworkPixels out{};
    auto byte = [](double v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    for (int y = 0; y < kArtworkSize; ++y)
        for (int x = 0; x < kArtworkSize; ++x) {
            Rgba p = shade(x, y);
            std::uint8_t* q = &out[static_cast<std::size_t>(y * kArtworkSize + x) * 4];
            q[0] = byte(p.b), q[1] = byte(p.g), q[2] = byte(p.r), q[3] = byte(p.a);
        }
    return out;
}

}  // namespace

ArtworkPixels DrawClockIcon() {
    return Render([](int x, int y) {
        const double c = 16;
        Rgba p{0, 0, 0, 0};
        p = Over(p, Rgba{0.93, 0.47, 0.09, 1}, DiscCoverage(c, c, 15.5, x, y));  // orange case
        p = Over(p, Rgba{1, 1, 1, 1}, DiscCoverage(c, c, 11.5, x, y));           // white dial
        for (int h = 0; h < 12; ++h) {                                           // hour marks
            double angle = h * M_PI / 6;
            double sx = c + std::sin(angle) * 9.5, sy = c - std::cos(angle) * 9.5;
            double ex = c + std::sin(angle) * 11, ey = c - std::cos(angle) * 11;
            p = Over(p, Rgba{0.25, 0.25, 0.25, 1}, SegmentCoverage(sx, sy, ex, ey, 0.5, x, y));
        }
        p = Over(p, Rgba{0, 0, 0, 1}, SegmentCoverage(c, c, c, c - 8.5, 0.9, x, y));  // minute hand
        p = Over(p, Rgba{0, 0, 0, 1},
                 SegmentCoverage(c, c, c + 5.5, c + 1, 1.2, x, y));  // hour hand
        p = Over(p, Rgba{0, 0, 0, 1}, DiscCoverage(c, c, 1.6, x, y));
        return p;
    });
}

ArtworkPixels DrawStopGlyph() {
    return Render([](int x, int y) {
        const double c = 16;
        Rgba p{0, 0, 0, 0};
        double shade = 0.55 + 0.25 * (1 - y / 32.0);
        p = Over(p, Rgba{0.35, 0.35, 0.35, 1}, DiscCoverage(c, c, 15, x, y));
        p = Over(p, Rgba{shade, shade, shade, 1}, DiscCoverage(c, c, 13.5, x, y));
        bool square = x >= 10 && x < 22 && y >= 10 && y < 22;
        if (square) p = Over(p, Rgba{0.15, 0.15, 0.15, 1}, 1);
        return p;
    });
}

}  // namespace app

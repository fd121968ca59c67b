// A small rasteriser for skin pictures: straight-alpha RGBA pixels, shapes covered by 4 x 4
// samples per pixel, and source-over blending in integers, so that the same code always
// writes the same bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace skinart {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba Opaque(std::uint32_t rgb) {
    return Rgba{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                static_cast<std::uint8_t>(rgb), 255};
}
constexpr Rgba WithAlpha(std::uint32_t rgb, int alpha) {
    Rgba c = Opaque(rgb);
    c.a = static_cast<std::uint8_t>(alpha);
    return c;
}
// A pixel outside a shape's outline, as opposed to a clear pixel inside it: the master bitmap
// makes the first see-through (the parent shows) and lets the second keep the control's fill.
constexpr Rgba kOutside{255, 0, 255, 0};
inline bool IsOutside(Rgba c) {
    return c.a == 0 && c.r == 255 && c.g == 0 && c.b == 255;
}

// Channel-wise mix: t = 0 gives a, t = 256 gives b.
Rgba Mix(Rgba a, Rgba b, int t);

// Whether a point (in pixels, fractional) lies inside a shape.
using Shape = std::function<bool(double x, double y)>;
// The colour a shape is painted with at a pixel.
using Paint = std::function<Rgba(int x, int y)>;

Shape RoundRect(double left, double top, double right, double bottom, double radius);
Shape Circle(double cx, double cy, double radius);
// A stroke of the given half width around the segment, with round ends.
Shape Segment(double x0, double y0, double x1, double y1, double halfWidth);
Shape Minus(Shape outer, Shape inner);
Shape Union(Shape a, Shape b);

Paint Solid(Rgba c);
// top at row y0, bottom at row y1, linear between.
Paint VerticalRamp(Rgba top, Rgba bottom, int y0, int y1);

class Picture {
  public:
    Picture() = default;
    Picture(int width, int height)
        : w_(width), h_(height), px_(static_cast<std::size_t>(width * height)) {}

    int Width() const { return w_; }
    int Height() const { return h_; }
    Rgba& At(int x, int y) { return px_[static_cast<std::size_t>(y * w_ + x)]; }
    const Rgba& At(int x, int y) const { return px_[static_cast<std::size_t>(y * w_ + x)]; }

    // Covers the shape with the paint inside the clip box [x0, x1) x [y0, y1).
    void Fill(const Shape& shape, const Paint& paint, int x0, int y0, int x1, int y1);
    void Fill(const Shape& shape, const Paint& paint) { Fill(shape, paint, 0, 0, w_, h_); }
    // Source-over one pixel with a coverage of 0..16 samples.
    void Blend(int x, int y, Rgba c, int cover16);
    // Makes every pixel outside the shape (less than half covered) fully see-through.
    void Cut(const Shape& keep);
    // Copies another picture's pixels to (x, y), replacing what is there.
    void Put(const Picture& p, int x, int y);
    // Source-over another picture at (x, y).
    void Over(const Picture& p, int x, int y);

  private:
    int w_ = 0, h_ = 0;
    std::vector<Rgba> px_;
};

// Samples of a pixel that the shape covers (0..16).
int Coverage(const Shape& shape, int x, int y);

}  // namespace skinart

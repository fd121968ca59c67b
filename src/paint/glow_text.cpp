#include "paint/glow_text.h"

#include <algorithm>
#include <cmath>

#include "paint/pixel_view.h"

namespace paint {

namespace detail {

std::vector<double> GlowKernel(int radius) {
    constexpr int kMax = 100;
    if (radius <= 0) return {1.0};  // no spread: the mask stays as drawn
    double w[2 * kMax + 1];
    double sum = 0;
    for (int i = 0; i <= 2 * kMax; ++i) {
        double t = (i - kMax) / static_cast<double>(radius);
        w[i] = std::exp(-t * t / 2);
        sum += w[i];
    }
    for (double& x : w) x /= sum;
    // Drop outer weights while what was dropped stays under half a grey level (1/510).
    int size = kMax;
    double dropped = 0;
    while (dropped < 1.0 / 510 && size > 1) {
        dropped += 2 * w[kMax + size];
        --size;
    }
    sum = 0;
    for (int j = -size; j <= size; ++j) sum += w[kMax + j];
    std::vector<double> half(static_cast<std::size_t>(size) + 1);
    for (int j = 0; j <= size; ++j) half[static_cast<std::size_t>(j)] = w[kMax + j] / sum;
    return half;
}

namespace {

std::uint8_t ClampTrunc(double x) {
    if (x >= 255) return 255;
    if (x < 0) return 0;
    return static_cast<std::uint8_t>(x);
}

// Sums in the order -size .. size for every output, like a plain convolution loop, so the
// results are exact however the loops are arranged.
void BlurRows(std::uint8_t* bits, int width, int height, const std::vector<double>& k) {
    const int size = static_cast<int>(k.size()) - 1;
    std::vector<double> ext(static_cast<std::size_t>(width + 2 * size)), acc(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * width;
        for (int i = 0; i < width + 2 * size; ++i) ext[i] = row[std::clamp(i - size, 0, width - 1)];
        std::fill(acc.begin(), acc.end(), 0.0);
        for (int n = -size; n <= size; ++n) {
            const double w = k[static_cast<std::size_t>(std::abs(n))];
            const double* src = ext.data() + (size - n);  // output j reads pixel j - n
            for (int j = 0; j < width; ++j) acc[j] += w * src[j];
        }
        for (int j = 0; j < width; ++j) row[j] = ClampTrunc(acc[j]);
    }
}

void BlurColumns(std::uint8_t* bits, int width, int height, const std::vector<double>& k) {
    const int size = static_cast<int>(k.size()) - 1;
    std::vector<double> in(static_cast<std::size_t>(width) * height), acc(static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < in.size(); ++i) in[i] = bits[i];
    for (int y = 0; y < height; ++y) {
        std::fill(acc.begin(), acc.end(), 0.0);
        for (int n = -size; n <= size; ++n) {
            const double w = k[static_cast<std::size_t>(std::abs(n))];
            const double* src = in.data() + static_cast<std::ptrdiff_t>(std::clamp(y - n, 0, height - 1)) * width;
            for (int x = 0; x < width; ++x) acc[x] += w * src[x];
        }
        std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * width;
        for (int x = 0; x < width; ++x) row[x] = ClampTrunc(acc[x]);
    }
}

}  // namespace

void BlurMask(std::uint8_t* bits, int width, int height, int radius) {
    if (width <= 0 || height <= 0) return;
    std::vector<double> k = GlowKernel(radius);
    if (k.size() < 2) return;
    BlurRows(bits, width, height, k);
    BlurColumns(bits, width, height, k);
}

}  // namespace detail

namespace {

using namespace detail;

void MakeMask(framework::TBitmap& bmp, const std::string& text, const RECT& rect, GlowMask& mask, int radius,
              int margin, unsigned contour, UINT flags) {
    framework::TBitmap paper(mask.width, mask.height, framework::TPixelFormat::pf32bit);
    PixelView v = View(paper);
    for (int y = 0; y < v.height; ++y) std::memset(v.Row(y), 0xFF, static_cast<std::size_t>(v.width) * 4);
    framework::TCanvas& canvas = paper.Canvas();
    canvas.Font.Assign(bmp.Canvas().Font);
    canvas.Font.SetColor(framework::clBlack);
    const RECT at{margin, margin, margin + rect.right - rect.left, margin + rect.bottom - rect.top};
    static constexpr POINT kContour[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int k = 0; k < 4; ++k) {
        if (!(contour & (1u << k))) continue;
        RECT r = at;
        OffsetRect(&r, kContour[k].x, kContour[k].y);
        canvas.DrawText(text, r, flags);
    }
    RECT r = at;
    canvas.DrawText(text, r, flags);
    mask.bits.resize(static_cast<std::size_t>(mask.width) * mask.height);
    // Black text on white: every channel carries the coverage; green is as good as any.
    for (int y = 0; y < v.height; ++y) {
        const std::uint8_t* p = v.Row(y);
        std::uint8_t* out = &mask.bits[static_cast<std::size_t>(y) * mask.width];
        for (int x = 0; x < v.width; ++x) out[x] = p[x * 4 + 1];
    }
    BlurMask(mask.bits.data(), mask.width, mask.height, radius);
}

void MixMask(const PixelView& v, const GlowMask& mask, int ox, int oy, COLORREF glow) {
    const int g[3] = {GetBValue(glow), GetGValue(glow), GetRValue(glow)};
    const int x0 = std::max(0, -ox), x1 = std::min(mask.width, v.width - ox);
    const int y0 = std::max(0, -oy), y1 = std::min(mask.height, v.height - oy);
    for (int my = y0; my < y1; ++my) {
        const std::uint8_t* m = &mask.bits[static_cast<std::size_t>(my) * mask.width];
        std::uint8_t* p = v.At(ox + x0, oy + my);
        for (int mx = x0; mx < x1; ++mx, p += v.bpp) {
            const int a = m[mx];
            if (a >= 255) continue;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>((p[c] - g[c]) * a / 255 + g[c]);
            if (v.bpp == 4) p[3] = static_cast<std::uint8_t>(std::max(0, p[3] + a - 255));
        }
    }
}

}  // namespace

void DrawGlowText(framework::TBitmap& bmp, const std::string& text, const RECT& rect, GlowMask& cache,
                  framework::TColor glowColor, int radius, unsigned contour, UINT flags) {
    PixelView v = View(bmp);
    if (v.Empty() || text.empty()) return;
    radius = std::max(radius, 0);
    const int margin = radius + 4;
    const int w = rect.right - rect.left + 2 * margin, h = rect.bottom - rect.top + 2 * margin;
    if (w <= 0 || h <= 0) return;
    if (!cache.Holds(w, h)) {
        cache.width = w;
        cache.height = h;
        MakeMask(bmp, text, rect, cache, radius, margin, contour, flags);
    }
    MixMask(v, cache, rect.left - margin, rect.top - margin, framework::ColorToRGB(glowColor));
}

}  // namespace paint

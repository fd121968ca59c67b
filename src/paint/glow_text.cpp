#include "paint/glow_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "paint/pixel_view.h"
#include "platform/gdi/pixel_simd.h"

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

// x cut to 0 .. 255 and truncated, without branches.
std::uint8_t ClampTrunc(double x) {
    return static_cast<std::uint8_t>(std::min(std::max(x, 0.0), 255.0));
}

// What a window of one value gives, for every byte value: the same sums in the same order as
// the convolution below, so outputs whose whole window is flat (most of a mask: the paper
// around the text) take their value from here and stay exact.
std::array<std::uint8_t, 256> FlatResults(const std::vector<double>& k) {
    const int size = static_cast<int>(k.size()) - 1;
    std::array<std::uint8_t, 256> out{};
    for (int v = 0; v < 256; ++v) {
        double acc = 0.0;
        for (int n = -size; n <= size; ++n) acc += k[static_cast<std::size_t>(std::abs(n))] * static_cast<double>(v);
        out[static_cast<std::size_t>(v)] = ClampTrunc(acc);
    }
    return out;
}

// The kernel's weights for n = -size .. size, in that order.
std::vector<double> Weights(const std::vector<double>& k) {
    const int size = static_cast<int>(k.size()) - 1;
    std::vector<double> w;
    for (int n = -size; n <= size; ++n) w.push_back(k[static_cast<std::size_t>(std::abs(n))]);
    return w;
}

// out[j] = w[0] * rows[0][j] + w[1] * rows[1][j] + ..., added in that order from 0.0 like a
// plain loop, for j < count. Sixteen outputs stay in registers while every tap is added, so
// each tap costs one load instead of a load and a store of the running sums.
UTROZVON_WIDE_LOOP void WeightedSums(double* __restrict out, const double* const* rows,
                                     const double* w, int taps, int count) {
    using f64x4 = double __attribute__((vector_size(32)));
    int j = 0;
    for (; j + 16 <= count; j += 16) {
        f64x4 a0{}, a1{}, a2{}, a3{};
        for (int t = 0; t < taps; ++t) {
            const double* r = rows[t] + j;
            const f64x4 k = f64x4{} + w[t];
            f64x4 v0, v1, v2, v3;
            std::memcpy(&v0, r, sizeof v0), std::memcpy(&v1, r + 4, sizeof v1);
            std::memcpy(&v2, r + 8, sizeof v2), std::memcpy(&v3, r + 12, sizeof v3);
            a0 += k * v0, a1 += k * v1, a2 += k * v2, a3 += k * v3;
        }
        std::memcpy(out + j, &a0, sizeof a0), std::memcpy(out + j + 4, &a1, sizeof a1);
        std::memcpy(out + j + 8, &a2, sizeof a2), std::memcpy(out + j + 12, &a3, sizeof a3);
    }
    for (; j < count; ++j) {
        double a = 0.0;
        for (int t = 0; t < taps; ++t) a += w[t] * rows[t][j];
        out[j] = a;
    }
}

// Sums in the order -size .. size for every output, like a plain convolution loop, so the
// results are exact however the loops are arranged.
UTROZVON_WIDE_LOOP void BlurRows(std::uint8_t* bits, int width, int height, const std::vector<double>& k,
              const std::array<std::uint8_t, 256>& flat) {
    const int size = static_cast<int>(k.size()) - 1, window = 2 * size + 1;
    std::vector<double> ext(static_cast<std::size_t>(width + 2 * size)), acc(static_cast<std::size_t>(width));
    std::vector<int> changes(static_cast<std::size_t>(width), 0);
    const std::vector<double> weights = Weights(k);
    std::vector<const double*> taps(static_cast<std::size_t>(window));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * width;
        for (int i = 0; i < width + 2 * size; ++i) ext[i] = row[std::clamp(i - size, 0, width - 1)];
        // Output j reads pixels clamp(j - size .. j + size): flat when none of those after the
        // first differs from its left neighbour, counted by prefix sums of such changes.
        for (int x = 1; x < width; ++x) changes[x] = changes[x - 1] + (row[x] != row[x - 1]);
        auto isFlat = [&](int j) {
            return changes[std::min(j + size, width - 1)] == changes[std::max(j - size, 0)];
        };
        int lo = 0, hi = width - 1;
        while (lo < width && isFlat(lo)) ++lo;
        while (hi >= lo && isFlat(hi)) --hi;
        // Output j reads pixel j - n for n = -size .. size.
        for (int t = 0; t < window; ++t)
            taps[static_cast<std::size_t>(t)] = ext.data() + (2 * size - t) + lo;
        if (hi >= lo)
            WeightedSums(acc.data() + lo, taps.data(), weights.data(), window, hi - lo + 1);
        for (int j = 0; j < lo; ++j) row[j] = flat[row[j]];
        for (int j = lo; j <= hi; ++j) row[j] = isFlat(j) ? flat[row[j]] : ClampTrunc(acc[j]);
        for (int j = hi + 1; j < width; ++j) row[j] = flat[row[j]];
    }
}

UTROZVON_WIDE_LOOP void BlurColumns(std::uint8_t* bits, int width, int height, const std::vector<double>& k,
                 const std::array<std::uint8_t, 256>& flat) {
    const int size = static_cast<int>(k.size()) - 1, window = 2 * size + 1;
    std::vector<double> in(static_cast<std::size_t>(width) * height), acc(static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < in.size(); ++i) in[i] = bits[i];
    // Output row y reads the rows y - size .. y + size, cut to the bitmap: extended row r is
    // row clamp(r - size), and run[x] counts equal values down column x up to the newest.
    // Counts saturate at the window (at most 201 rows: the kernel's half width is at most 100).
    std::vector<std::uint8_t> run(static_cast<std::size_t>(width), 0);
    const std::vector<std::uint8_t> original(bits, bits + in.size());
    const std::vector<double> weights = Weights(k);
    std::vector<const double*> taps(static_cast<std::size_t>(window));
    auto feed = [&](int r) {
        const std::uint8_t* cur =
            original.data() +
            static_cast<std::ptrdiff_t>(std::clamp(r - size, 0, height - 1)) * width;
        const std::uint8_t* prev =
            original.data() +
            static_cast<std::ptrdiff_t>(std::clamp(r - 1 - size, 0, height - 1)) * width;
        const auto cap = static_cast<std::uint8_t>(window);
        if (r == 0)
            std::fill(run.begin(), run.end(), std::uint8_t{1});
        else
            for (int x = 0; x < width; ++x)
                run[x] = cur[x] == prev[x]
                             ? std::min<std::uint8_t>(static_cast<std::uint8_t>(run[x] + 1), cap)
                             : 1;
    };
    for (int r = 0; r < 2 * size; ++r) feed(r);
    for (int y = 0; y < height; ++y) {
        feed(y + 2 * size);
        int lo = 0, hi = width - 1;
        while (lo < width && run[lo] >= window) ++lo;
        while (hi >= lo && run[hi] >= window) --hi;
        for (int t = 0; t < window; ++t)
            taps[static_cast<std::size_t>(t)] =
                in.data() +
                static_cast<std::ptrdiff_t>(std::clamp(y - (t - size), 0, height - 1)) * width + lo;
        if (hi >= lo)
            WeightedSums(acc.data() + lo, taps.data(), weights.data(), window, hi - lo + 1);
        std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * width;
        for (int x = 0; x < width; ++x) row[x] = run[x] >= window ? flat[row[x]] : ClampTrunc(acc[x]);
    }
}

}  // namespace

void BlurMask(std::uint8_t* bits, int width, int height, int radius) {
    if (width <= 0 || height <= 0) return;
    std::vector<double> k = GlowKernel(radius);
    if (k.size() < 2) return;
    const std::array<std::uint8_t, 256> flat = FlatResults(k);
    BlurRows(bits, width, height, k, flat);
    BlurColumns(bits, width, height, k, flat);
}

}  // namespace detail

namespace {

using namespace detail;

void MakeMask(framework::TBitmap& bmp, const std::string& text, const RECT& rect, GlowMask& mask, int radius,
              int margin, unsigned contour, UINT flags) {
    framework::TBitmap paper(mask.width, mask.height, framework::TPixelFormat::pf32bit);
    PixelView v = View(paper);
    for (int y = 0; y < v.height; ++y) std::memset(v.Row(y), 0xFF, static_cast<std::size_t>(v.width) * 4);
    // The text goes on with the very font object of bmp's canvas: a copy of the font would be
    // looked up and loaded again on every new mask.
    HDC dc = paper.Canvas().Handle();
    HGDIOBJ oldFont = SelectObject(dc, bmp.Canvas().Font.Handle());
    COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    const RECT at{margin, margin, margin + rect.right - rect.left, margin + rect.bottom - rect.top};
    static constexpr POINT kContour[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int k = 0; k < 4; ++k) {
        if (!(contour & (1u << k))) continue;
        RECT r = at;
        OffsetRect(&r, kContour[k].x, kContour[k].y);
        DrawText(dc, text.data(), static_cast<int>(text.size()), &r, flags);
    }
    RECT r = at;
    DrawText(dc, text.data(), static_cast<int>(text.size()), &r, flags);
    SelectObject(dc, oldFont);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    mask.bits.resize(static_cast<std::size_t>(mask.width) * mask.height);
    // Black text on white: every channel carries the coverage; green is as good as any.
    for (int y = 0; y < v.height; ++y) {
        const std::uint8_t* p = v.Row(y);
        std::uint8_t* out = &mask.bits[static_cast<std::size_t>(y) * mask.width];
        for (int x = 0; x < v.width; ++x) out[x] = p[x * 4 + 1];
    }
    BlurMask(mask.bits.data(), mask.width, mask.height, radius);
}

// x / 255 truncated toward zero, as integer division does, for |x| <= 255 * 255, without a
// division: floor(n / 255) = (n + 1 + ((n + 1) >> 8)) >> 8 for 0 <= n <= 65025.
inline int DivTrunc255(int x) {
    const int n = x < 0 ? -x : x;
    const int q = (n + 1 + ((n + 1) >> 8)) >> 8;
    return x < 0 ? -q : q;
}

// One row of pixels with their mask values: each colour channel becomes
// (p - glow) * a / 255 + glow, alpha drops by 255 - a. Mask value 255 changes nothing, so the
// loop needs no branch and the compiler vectorises it.
template <int Bpp>
UTROZVON_WIDE_LOOP void MixRow(std::uint8_t* __restrict p, const std::uint8_t* __restrict m, int n, const int* g) {
    for (int i = 0; i < n; ++i) {
        const int a = m[i];
        std::uint8_t* q = p + i * Bpp;
        for (int c = 0; c < 3; ++c) q[c] = static_cast<std::uint8_t>(DivTrunc255((q[c] - g[c]) * a) + g[c]);
        if constexpr (Bpp == 4) q[3] = static_cast<std::uint8_t>(std::max(0, q[3] + a - 255));
    }
}

void MixMask(const PixelView& v, const GlowMask& mask, int ox, int oy, COLORREF glow) {
    const int g[3] = {GetBValue(glow), GetGValue(glow), GetRValue(glow)};
    const int x0 = std::max(0, -ox), x1 = std::min(mask.width, v.width - ox);
    const int y0 = std::max(0, -oy), y1 = std::min(mask.height, v.height - oy);
    for (int my = y0; my < y1; ++my) {
        const std::uint8_t* m = &mask.bits[static_cast<std::size_t>(my) * mask.width];
        std::uint8_t* p = v.At(ox + x0, oy + my);
        if (v.bpp == 4)
            MixRow<4>(p, m + x0, x1 - x0, g);
        else
            MixRow<3>(p, m + x0, x1 - x0, g);
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

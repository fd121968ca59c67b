// BitBlt with the raster operations in use, StretchBlt (nearest and area-averaging),
// TransparentBlt and AlphaBlend.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/gdi.h"
#include "platform/gdi/area_average.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/pixel_simd.h"

namespace platform::gdi {
namespace {

std::uint32_t Rop3(DWORD rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    std::uint32_t v;
    switch (rop) {
        case SRCCOPY: v = s; break;
        case SRCPAINT: v = s | d; break;
        case SRCAND: v = s & d; break;
        case SRCINVERT: v = s ^ d; break;
        case SRCERASE: v = s & ~d; break;
        case NOTSRCCOPY: v = ~s; break;
        case NOTSRCERASE: v = ~(s | d); break;
        case MERGECOPY: v = p & s; break;
        case MERGEPAINT: v = ~s | d; break;
        case PATCOPY: v = p; break;
        case PATPAINT: v = p | ~s | d; break;
        case PATINVERT: v = p ^ d; break;
        case DSTINVERT: v = ~d; break;
        case BLACKNESS: v = 0; break;
        case WHITENESS: v = 0xFFFFFF; break;
        default: v = d; break;
    }
    return v & 0xFFFFFF;
}

bool UsesSource(DWORD rop) { return ((rop >> 2) ^ rop) & 0x330000; }

// A copy of a source rectangle (clipped to the source bitmap) as 0xAARRGGBB, so that
// overlapping blits within one bitmap read the old pixels.
struct SourceCopy {
    int x = 0, y = 0, width = 0, height = 0;
    bool hasAlpha = false;
    std::vector<std::uint32_t> px;
    // The first pixel and the pixels from one row to the next: px, or the bitmap's own rows.
    const std::uint32_t* rows = nullptr;
    std::ptrdiff_t stride = 0;
    bool Contains(int sx, int sy) const { return sx >= x && sy >= y && sx < x + width && sy < y + height; }
    std::uint32_t At(int sx, int sy) const { return px[static_cast<std::size_t>(sy - y) * width + (sx - x)]; }
};

// borrow: a 32-bit source that the blit does not write may be read in place.
SourceCopy CopySource(const DeviceContext& src, RECT logical, bool borrow = false) {
    SourceCopy c;
    RECT t = src.ToTarget(logical);
    RECT r = RectIntersection(t, RECT{0, 0, src.target.width, src.target.height});
    if (RectIsEmpty(r)) return c;
    c.x = r.left - (t.left - logical.left);
    c.y = r.top - (t.top - logical.top);
    c.width = r.right - r.left;
    c.height = r.bottom - r.top;
    c.hasAlpha = src.target.bitsPerPixel == 32;
    const BYTE* first = src.target.Row(r.top) + r.left * src.target.BytesPerPixel();
    if (borrow && c.hasAlpha && reinterpret_cast<std::uintptr_t>(first) % 4 == 0 &&
        src.target.stride % 4 == 0) {
        c.rows = reinterpret_cast<const std::uint32_t*>(first);
        c.stride = src.target.stride / 4;
        return c;
    }
    c.px.resize(static_cast<std::size_t>(c.width) * c.height);
    c.rows = c.px.data();
    c.stride = c.width;
    for (int y = 0; y < c.height; ++y) {
        const BYTE* p = src.target.Row(r.top + y) + r.left * src.target.BytesPerPixel();
        std::uint32_t* out = &c.px[static_cast<std::size_t>(y) * c.width];
        if (c.hasAlpha) {
            std::memcpy(out, p, static_cast<std::size_t>(c.width) * 4);
        } else {
            for (int x = 0; x < c.width; ++x, p += 3) out[x] = p[0] | (p[1] << 8) | (p[2] << 16);
        }
    }
    return c;
}

void Store(const PixelBuffer& b, int x, int y, std::uint32_t argb, bool keepAlpha) {
    BYTE* p = b.Row(y) + x * b.BytesPerPixel();
    p[0] = static_cast<BYTE>(argb), p[1] = static_cast<BYTE>(argb >> 8), p[2] = static_cast<BYTE>(argb >> 16);
    if (b.bitsPerPixel == 32) p[3] = keepAlpha ? static_cast<BYTE>(argb >> 24) : 0;
}

std::uint32_t Load(const PixelBuffer& b, int x, int y) {
    const BYTE* p = b.Row(y) + x * b.BytesPerPixel();
    return p[0] | (p[1] << 8) | (p[2] << 16) | (b.bitsPerPixel == 32 ? static_cast<std::uint32_t>(p[3]) << 24 : 0xFF000000u);
}

// Maps destination pixel i of n onto a source of extent m starting at s (mirrored when the
// signs of the extents differ), nearest pixel.
int NearestSource(int i, int n, int s, int m) {
    long long pos = (2LL * i + 1) * m / (2LL * n);
    return static_cast<int>(s + pos);
}

struct Mapping {
    RECT dst;    // logical destination, normalised
    int sx, sy, sw, sh;
    bool flipX, flipY;
};

// A negative extent runs back from its origin pixel: x = 9, width = -10 covers pixels 0..9,
// the idiom for mirroring a bitmap into the same place.
int Start(int origin, int extent) { return extent < 0 ? origin + extent + 1 : origin; }

Mapping Normalize(int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
    int left = Start(x, w), top = Start(y, h);
    Mapping m{RECT{left, top, left + std::abs(w), top + std::abs(h)}, Start(sx, sw), Start(sy, sh), std::abs(sw),
              std::abs(sh), (w < 0) != (sw < 0), (h < 0) != (sh < 0)};
    return m;
}

// Calls fn(targetX, targetY, i, j) for each clipped destination pixel, (i, j) its index in
// the destination rectangle after mirroring.
template <class Fn>
void ForEachDestination(DeviceContext& dc, const Mapping& m, Fn&& fn) {
    RECT t = dc.ToTarget(m.dst);
    int w = m.dst.right - m.dst.left, h = m.dst.bottom - m.dst.top;
    ForEachClipped(dc, t, [&](const RECT& c) {
        for (int y = c.top; y < c.bottom; ++y) {
            int j = y - t.top;
            if (m.flipY) j = h - 1 - j;
            for (int x = c.left; x < c.right; ++x) {
                int i = x - t.left;
                if (m.flipX) i = w - 1 - i;
                fn(x, y, i, j);
            }
        }
    });
}

// Whole clipped rows of area averages, written through the row pointer.
void HalftoneCopy(DeviceContext& dc, const Mapping& m, AreaAverager& area, bool keepAlpha) {
    const RECT t = dc.ToTarget(m.dst);
    const int w = m.dst.right - m.dst.left, h = m.dst.bottom - m.dst.top;
    const PixelBuffer& b = dc.target;
    const int bpp = b.BytesPerPixel();
    const std::uint32_t keep = keepAlpha ? 0xFFFFFFFFu : 0xFFFFFFu;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(w));
    ForEachClipped(dc, t, [&](const RECT& c) {
        const int n = c.right - c.left, i0 = m.flipX ? t.right - c.right : c.left - t.left;
        for (int y = c.top; y < c.bottom; ++y) {
            const int j = m.flipY ? h - 1 - (y - t.top) : y - t.top;
            BYTE* p = b.Row(y) + c.left * bpp;
            if (bpp == 4 && !m.flipX) {
                // Straight into the row (the source is never these pixels: see StretchBlt).
                area.Row(j, i0, n, reinterpret_cast<std::uint32_t*>(p));
                if (!keepAlpha)
                    for (int k = 0; k < n; ++k) {
                        std::uint32_t v;
                        std::memcpy(&v, p + k * 4, 4);
                        v &= keep;
                        std::memcpy(p + k * 4, &v, 4);
                    }
                continue;
            }
            area.Row(j, i0, n, line.data());
            if (m.flipX) std::reverse(line.begin(), line.begin() + n);
            if (bpp == 4) {
                for (int k = 0; k < n; ++k) line[k] &= keep;
                std::memcpy(p, line.data(), static_cast<std::size_t>(n) * 4);
            } else {
                for (int k = 0; k < n; ++k, p += 3)
                    p[0] = static_cast<BYTE>(line[k]), p[1] = static_cast<BYTE>(line[k] >> 8),
                    p[2] = static_cast<BYTE>(line[k] >> 16);
            }
        }
    });
}

// One row from 24-bit pixels to 32-bit ones with alpha 0. Each pixel is read as four bytes
// and the fourth cleared, but the last, whose fourth byte may lie past the row.
void Row24To32Plain(BYTE* __restrict d, const BYTE* __restrict s, int n) {
    for (int i = 0; i + 1 < n; ++i) {
        std::uint32_t v;
        std::memcpy(&v, s + i * 3, 4);
        v &= 0x00FFFFFFu;
        std::memcpy(d + i * 4, &v, 4);
    }
    if (n > 0) {
        const int i = n - 1;
        d[i * 4] = s[i * 3], d[i * 4 + 1] = s[i * 3 + 1], d[i * 4 + 2] = s[i * 3 + 2],
              d[i * 4 + 3] = 0;
    }
}

// The same, four pixels a byte shuffle while sixteen source bytes can be read.
UTROZVON_SHUFFLE_LOOP void Row24To32Shuffled(BYTE* __restrict d, const BYTE* __restrict s, int n) {
    using u8x16 = std::uint8_t __attribute__((vector_size(16)));
    const u8x16 zero{};
    int i = 0;
    for (; i + 6 <= n; i += 4) {
        u8x16 v;
        std::memcpy(&v, s + i * 3, sizeof v);
        v = __builtin_shufflevector(v, zero, 0, 1, 2, 16, 3, 4, 5, 16, 6, 7, 8, 16, 9, 10, 11,
                                    16);
        std::memcpy(d + i * 4, &v, sizeof v);
    }
    Row24To32Plain(d + i * 4, s + i * 3, n - i);
}

void Row24To32(BYTE* __restrict d, const BYTE* __restrict s, int n) {
    static const bool shuffles = simd::ByteShufflesAvailable();
    if (shuffles)
        Row24To32Shuffled(d, s, n);
    else
        Row24To32Plain(d, s, n);
}

// One row from 32-bit pixels to 24-bit ones, alpha dropped.
void Row32To24(BYTE* __restrict d, const BYTE* __restrict s, int n) {
    for (int i = 0; i < n; ++i)
        d[i * 3] = s[i * 4], d[i * 3 + 1] = s[i * 4 + 1], d[i * 3 + 2] = s[i * 4 + 2];
}

// SRCCOPY without a temporary: rows of the same format are moved with memmove, bottom-up
// when the destination lies below the source in the same pixels, so overlapping blits stay
// right; rows between 24 and 32 bits are converted in place (they never share pixels).
void DirectCopy(DeviceContext& dst, const DeviceContext& src, RECT t, int sx, int sy) {
    POINT so = src.ToTarget(POINT{sx, sy});
    RECT sourceInTarget = RectOffset(RECT{0, 0, src.target.width, src.target.height}, t.left - so.x, t.top - so.y);
    RECT area = RectIntersection(t, sourceInTarget);
    const int dbpp = dst.target.BytesPerPixel(), sbpp = src.target.BytesPerPixel();
    const bool sameBits = dst.target.bits == src.target.bits;
    ForEachClipped(dst, area, [&](const RECT& c) {
        const int n = c.right - c.left;
        const bool upward = sameBits && t.top > so.y;
        for (int k = 0; k < c.bottom - c.top; ++k) {
            int y = upward ? c.bottom - 1 - k : c.top + k;
            const BYTE* from =
                src.target.Row(so.y + (y - t.top)) + (so.x + (c.left - t.left)) * sbpp;
            BYTE* to = dst.target.Row(y) + c.left * dbpp;
            if (dbpp == sbpp)
                std::memmove(to, from, static_cast<std::size_t>(n) * dbpp);
            else if (dbpp == 4)
                Row24To32(to, from, n);
            else
                Row32To24(to, from, n);
        }
    });
}

// One row of source-over with premultiplied source pixels: every byte, alpha included,
// becomes min(255, s * ca / 255 + d * (255 - a) / 255), each quotient rounded to nearest,
// where a = sa * ca / 255 is the source's alpha scaled by the constant alpha. At full
// constant alpha s * 255 / 255 is s and a is sa, so those two products are left out: the
// usual case of a per-pixel picture costs one product a byte, as compositors pay.
template <bool FullAlpha>
UTROZVON_WIDE_LOOP void SourceOverRow(BYTE* __restrict d, const BYTE* __restrict s, int n,
                                      unsigned ca) {
    // Eight pixels a step: 16-bit lanes of two 256-bit registers where the processor has them.
    using u8x32 = std::uint8_t __attribute__((vector_size(32)));
    using u16x32 = std::uint16_t __attribute__((vector_size(64)));
    int i = 0;
    const u16x32 k = u16x32{} + static_cast<std::uint16_t>(ca);
    for (; i + 8 <= n; i += 8) {
        u8x32 sb, db;
        std::memcpy(&sb, s + i * 4, sizeof sb);
        std::memcpy(&db, d + i * 4, sizeof db);
        u16x32 st = __builtin_convertvector(sb, u16x32);
        if constexpr (!FullAlpha) {
            st = st * k + 128;
            st = (st + (st >> 8)) >> 8;
        }
        // Lane k takes the alpha lane of its own pixel.
        const u16x32 alpha =
            __builtin_shufflevector(st, st, 3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15,
                                    19, 19, 19, 19, 23, 23, 23, 23, 27, 27, 27, 27, 31, 31, 31, 31);
        u16x32 dt = __builtin_convertvector(db, u16x32) * (255 - alpha) + 128;
        dt = st + ((dt + (dt >> 8)) >> 8);
        dt = dt > 255 ? 255 : dt;
        const u8x32 out = __builtin_convertvector(dt, u8x32);
        std::memcpy(d + i * 4, &out, sizeof out);
    }
    for (; i < n; ++i) {
        const BYTE* sp = s + i * 4;
        BYTE* dp = d + i * 4;
        unsigned inv = 255 - simd::Div255(sp[3] * ca);
        for (int c = 0; c < 4; ++c)
            dp[c] = static_cast<BYTE>(std::min(255u, simd::Div255(sp[c] * ca) + simd::Div255(dp[c] * inv)));
    }
}

// Unstretched per-pixel alpha between two 32-bit bitmaps: the hot path of skinned painting.
bool DirectAlpha(DeviceContext& dst, const DeviceContext& src, RECT t, int sx, int sy, unsigned ca) {
    if (dst.target.bitsPerPixel != 32 || src.target.bitsPerPixel != 32 || dst.target.bits == src.target.bits) return false;
    POINT so = src.ToTarget(POINT{sx, sy});
    auto row = ca == 255 ? SourceOverRow<true> : SourceOverRow<false>;
    ForEachClipped(dst, t, [&](const RECT& c) {
        for (int y = c.top; y < c.bottom; ++y) {
            const BYTE* s = src.target.Row(so.y + (y - t.top)) + (so.x + (c.left - t.left)) * 4;
            row(dst.target.Row(y) + c.left * 4, s, c.right - c.left, ca);
        }
    });
    return true;
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;
using platform::RectIntersection;
using platform::RectOffset;

BOOL BitBlt(HDC hdst, int x, int y, int width, int height, HDC hsrc, int sx, int sy, DWORD rop) {
    DeviceContext* dst = LookupDC(hdst);
    if (!dst) return FALSE;
    if (!UsesSource(rop)) return PatBlt(hdst, x, y, width, height, rop);
    DeviceContext* src = LookupDC(hsrc);
    if (!src || width < 0 || height < 0) return FALSE;
    RECT t = dst->ToTarget(RECT{x, y, x + width, y + height});
    if (rop == SRCCOPY) {
        DirectCopy(*dst, *src, t, sx, sy);
        return TRUE;
    }
    SourceCopy s = CopySource(*src, RECT{sx, sy, sx + width, sy + height});
    std::uint32_t pattern = 0;
    BrushColor(static_cast<HBRUSH>(dst->state.brush), &pattern);
    ForEachClipped(*dst, t, [&](const RECT& c) {
        for (int yy = c.top; yy < c.bottom; ++yy) {
            int srcY = sy + (yy - t.top);
            for (int xx = c.left; xx < c.right; ++xx) {
                int srcX = sx + (xx - t.left);
                if (!s.Contains(srcX, srcY)) continue;
                WritePixel(dst->target, xx, yy, Rop3(rop, pattern, s.At(srcX, srcY) & 0xFFFFFF, ReadPixel(dst->target, xx, yy)));
            }
        }
    });
    return TRUE;
}

BOOL StretchBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh, DWORD rop) {
    DeviceContext* dst = LookupDC(hdst);
    if (!dst) return FALSE;
    if (!UsesSource(rop)) return PatBlt(hdst, x, y, w, h, rop);
    DeviceContext* src = LookupDC(hsrc);
    if (!src || w == 0 || h == 0 || sw == 0 || sh == 0) return FALSE;
    Mapping m = Normalize(x, y, w, h, sx, sy, sw, sh);
    bool halftone = dst->state.stretchMode == HALFTONE;
    // Area averages read the source rows in place unless the blit writes them.
    SourceCopy s = CopySource(*src, RECT{m.sx, m.sy, m.sx + m.sw, m.sy + m.sh},
                              halftone && src->target.bits != dst->target.bits);
    int dw = m.dst.right - m.dst.left, dh = m.dst.bottom - m.dst.top;
    bool keepAlpha = rop == SRCCOPY && s.hasAlpha && dst->target.bitsPerPixel == 32;
    std::uint32_t pattern = 0;
    BrushColor(static_cast<HBRUSH>(dst->state.brush), &pattern);
    std::optional<AreaAverager> area;
    if (halftone)
        area.emplace(s.rows, s.stride, s.x, s.y, s.width, s.height, m.sx, m.sy, m.sw, m.sh, dw, dh);
    if (halftone && rop == SRCCOPY) {
        HalftoneCopy(*dst, m, *area, keepAlpha);
        return TRUE;
    }
    ForEachDestination(*dst, m, [&](int tx, int ty, int i, int j) {
        std::uint32_t p;
        if (halftone) {
            p = area->At(i, j);
        } else {
            int srcX = NearestSource(i, dw, m.sx, m.sw), srcY = NearestSource(j, dh, m.sy, m.sh);
            if (!s.Contains(srcX, srcY)) return;
            p = s.At(srcX, srcY);
        }
        if (rop == SRCCOPY) Store(dst->target, tx, ty, p, keepAlpha);
        else WritePixel(dst->target, tx, ty, Rop3(rop, pattern, p & 0xFFFFFF, ReadPixel(dst->target, tx, ty)));
    });
    return TRUE;
}

BOOL TransparentBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh, UINT key) {
    DeviceContext* dst = LookupDC(hdst);
    DeviceContext* src = LookupDC(hsrc);
    if (!dst || !src || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return FALSE;
    Mapping m = Normalize(x, y, w, h, sx, sy, sw, sh);
    SourceCopy s = CopySource(*src, RECT{sx, sy, sx + sw, sy + sh});
    std::uint32_t keyRgb = ToRgb(key);
    ForEachDestination(*dst, m, [&](int tx, int ty, int i, int j) {
        int srcX = NearestSource(i, w, sx, sw), srcY = NearestSource(j, h, sy, sh);
        if (!s.Contains(srcX, srcY)) return;
        std::uint32_t p = s.At(srcX, srcY) & 0xFFFFFF;
        if (p != keyRgb) WritePixel(dst->target, tx, ty, p);
    });
    return TRUE;
}

namespace {

// dst = src * k + dst * (1 - a), per channel with rounding to nearest, as the real blend does
// on premultiplied pixels.
inline BYTE Mix(unsigned s, unsigned d, unsigned constAlpha, unsigned a) {
    unsigned v = platform::simd::Div255(s * constAlpha) + platform::simd::Div255(d * (255 - a));
    return static_cast<BYTE>(std::min(v, 255u));
}

}  // namespace

BOOL AlphaBlend(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh, BLENDFUNCTION blend) {
    DeviceContext* dst = LookupDC(hdst);
    DeviceContext* src = LookupDC(hsrc);
    if (!dst || !src || w < 0 || h < 0 || sw < 0 || sh < 0 || blend.BlendOp != AC_SRC_OVER) return FALSE;
    // Like the real call, a source rectangle outside the source bitmap is an error.
    RECT st = src->ToTarget(RECT{sx, sy, sx + sw, sy + sh});
    if (st.left < 0 || st.top < 0 || st.right > src->target.width || st.bottom > src->target.height) return FALSE;
    if (w == 0 || h == 0 || sw == 0 || sh == 0) return TRUE;
    bool perPixelFormat = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    if (perPixelFormat && w == sw && h == sh &&
        DirectAlpha(*dst, *src, dst->ToTarget(RECT{x, y, x + w, y + h}), sx, sy, blend.SourceConstantAlpha))
        return TRUE;
    Mapping m = Normalize(x, y, w, h, sx, sy, sw, sh);
    SourceCopy s = CopySource(*src, RECT{sx, sy, sx + sw, sy + sh});
    bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) && s.hasAlpha;
    unsigned ca = blend.SourceConstantAlpha;
    bool same = w == sw && h == sh;
    ForEachDestination(*dst, m, [&](int tx, int ty, int i, int j) {
        int srcX = same ? sx + i : NearestSource(i, w, sx, sw), srcY = same ? sy + j : NearestSource(j, h, sy, sh);
        std::uint32_t p = s.At(srcX, srcY);
        unsigned a = perPixel ? ((p >> 24) * ca + 127) / 255 : ca;
        std::uint32_t d = Load(dst->target, tx, ty);
        std::uint32_t out = 0;
        for (int c = 0; c < 3; ++c) {
            unsigned sc = (p >> (8 * c)) & 0xFF, dc = (d >> (8 * c)) & 0xFF;
            out |= static_cast<std::uint32_t>(Mix(sc, dc, ca, a)) << (8 * c);
        }
        unsigned da = d >> 24;
        out |= static_cast<std::uint32_t>(Mix(perPixel ? (p >> 24) : 255, da, ca, a)) << 24;
        Store(dst->target, tx, ty, out, true);
    });
    return TRUE;
}

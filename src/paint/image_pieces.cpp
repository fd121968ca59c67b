#include "paint/image_pieces.h"

#include <vector>

#include "paint/block_copy.h"
#include "paint/image_entry.h"
#include "platform/gdi/pixel_simd.h"

namespace paint {

namespace simd = platform::simd;

using namespace detail;

namespace {

const Bgra kKey = ToBgra(static_cast<COLORREF>(TransparentColor));

// The background pixel for destination (x, y), or null where the background has none.
const std::uint8_t* BgPixel(const PixelView& bg, const TsBgSource& src, int x, int y) {
    int bx = src.X + x, by = src.Y + y;
    return bg.Contains(bx, by) ? bg.At(bx, by) : nullptr;
}

void Put(std::uint8_t* d, const std::uint8_t* s, int dbpp, bool opaque) {
    d[0] = s[0], d[1] = s[1], d[2] = s[2];
    if (dbpp == 4 && opaque) d[3] = 255;
}

void Put(std::uint8_t* d, Bgra c, int dbpp, bool opaque) {
    d[0] = c.b, d[1] = c.g, d[2] = c.r;
    if (dbpp == 4 && opaque) d[3] = 255;
}

// The source rows must also reach their mask rows.
int SourceRows(const PixelView& image, int maskOffset) { return image.height - std::max(0, maskOffset); }

}  // namespace

namespace {

// A run of pixels without the key colour through the mask: each colour byte becomes
// (d * m + s * (256 - m)) >> 8, the same value as ((d - s) * m + s * 256) >> 8 but never
// negative (at most 255 * 256), so a 16-bit unsigned lane holds it.
inline std::uint8_t MaskMix(unsigned d, unsigned s, unsigned m) {
    return static_cast<std::uint8_t>((d * m + s * (256 - m)) >> 8);
}

inline simd::u16x8 MaskMix(simd::u16x8 d, simd::u16x8 s, simd::u16x8 m) { return (d * m + s * (256 - m)) >> 8; }

// 24-bit pixels from the first that are not the key colour.
int KeyFreeRun(const std::uint8_t* s, int n) {
    int j = 0;
    while (j < n && !SameColor(s + j * 3, kKey)) ++j;
    return j;
}

template <int D, int S, bool Opaque>
void MaskPixel(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m) {
    for (int c = 0; c < 3; ++c) d[c] = MaskMix(d[c], s[c], m[c]);
    if constexpr (D == 4 && Opaque) d[3] = 255;
}

// Mixes pixels one by one up to the first of the key colour; returns how many.
template <int D, int S, bool Opaque>
int MaskRunScalar(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, int n) {
    for (int i = 0; i < n; ++i) {
        if (SameColor(s + i * S, kKey)) return i;
        MaskPixel<D, S, Opaque>(d + i * D, s + i * S, m + i * S);
    }
    return n;
}

// Eight pixels a step into 32-bit pixels, in 16-bit lanes: 24-bit sources are spread to
// four bytes a pixel by one byte shuffle, the alpha bytes keep the destination's value (or
// become 255 over an opaque background). A step that meets the key colour is left to the
// pixel loop, which stops at it. The byte shuffle wants SSSE3 and gains from AVX2 and from
// 512-bit registers (x86-64-v4); other x86 machines get a plain copy of the loop, and other
// processors their own shuffle.
template <int S, bool Opaque>
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(__SANITIZE_ADDRESS__)
__attribute__((target_clones("default", "ssse3", "avx2", "arch=x86-64-v4")))
#endif
int MaskRun4(std::uint8_t* __restrict d, const std::uint8_t* __restrict s, const std::uint8_t* __restrict m, int n) {
    using u8x32 = std::uint8_t __attribute__((vector_size(32)));
    using u16x32 = std::uint16_t __attribute__((vector_size(64)));
    using u32x8 = std::uint32_t __attribute__((vector_size(32)));
    using u64x4 = std::uint64_t __attribute__((vector_size(32)));
    using u8x16 = std::uint8_t __attribute__((vector_size(16)));
    // 24-bit pixels are read as the bytes 0-15 and 8-23 of eight pixels, exactly the run's
    // own bytes; each half of the register spreads four pixels from its own 16 bytes (first
    // pixels 0-3 from byte 0, then 4-7 from byte 4 of the second load).
    u16x32 colour;
    for (int l = 0; l < 32; ++l) {
        colour[l] = l % 4 == 3 ? 0 : 0xFFFF;
    }
    auto load = [&](const std::uint8_t* p, u8x32& v) {
        if constexpr (S == 3) {
            u8x16 lo, hi;
            std::memcpy(&lo, p, 16);
            std::memcpy(&hi, p + 8, 16);
            const u8x32 both = __builtin_shufflevector(
                lo, hi, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
            v = __builtin_shufflevector(both, both, 0, 1, 2, 2, 3, 4, 5, 5, 6, 7, 8, 8, 9, 10, 11,
                                        11, 20, 21, 22, 22, 23, 24, 25, 25, 26, 27, 28, 28, 29,
                                        30, 31, 31);
        } else {
            std::memcpy(&v, p, sizeof v);
        }
    };
    const std::uint32_t key = kKey.b | (kKey.g << 8) | (kKey.r << 16);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        u8x32 sv, mv, dv;
        load(s + i * S, sv);
        load(m + i * S, mv);
        std::memcpy(&dv, d + i * 4, sizeof dv);
        const u64x4 keyed =
            reinterpret_cast<u64x4>((reinterpret_cast<u32x8>(sv) & 0xFFFFFF) == key);
        if ((keyed[0] | keyed[1] | keyed[2] | keyed[3]) != 0) break;
        const u16x32 d16 = __builtin_convertvector(dv, u16x32),
                     m16 = __builtin_convertvector(mv, u16x32);
        const u16x32 mixed = (d16 * m16 + __builtin_convertvector(sv, u16x32) * (256 - m16)) >> 8;
        const u16x32 alpha = Opaque ? ~colour & 255 : d16 & ~colour;
        const u8x32 out = __builtin_convertvector((mixed & colour) | alpha, u8x32);
        std::memcpy(d + i * 4, &out, sizeof out);
    }
    return i + MaskRunScalar<4, S, Opaque>(d + i * 4, s + i * S, m + i * S, n - i);
}

// Mixes the pixels from the first up to the first of the key colour; returns how many.
template <int D, int S, bool Opaque>
int MaskRun(std::uint8_t* __restrict d, const std::uint8_t* __restrict s,
            const std::uint8_t* __restrict m, int n) {
    if constexpr (D == 4) {
        return MaskRun4<S, Opaque>(d, s, m, n);
    } else if constexpr (S == 3) {
        // 24 into 24 bits: every byte of the run is a colour byte.
        n = KeyFreeRun(s, n);
        int k = 0;
        for (; k + 8 <= n * 3; k += 8)
            simd::Store8(d + k, MaskMix(simd::Load8(d + k), simd::Load8(s + k), simd::Load8(m + k)));
        for (; k < n * 3; ++k) d[k] = MaskMix(d[k], s[k], m[k]);
        return n;
    } else {
        return MaskRunScalar<D, S, Opaque>(d, s, m, n);
    }
}

using MaskRunFn = int (*)(std::uint8_t*, const std::uint8_t*, const std::uint8_t*, int);
using MaskPixelFn = void (*)(std::uint8_t*, const std::uint8_t*, const std::uint8_t*);

struct MaskMixer {
    MaskRunFn run;
    MaskPixelFn pixel;  // one pixel, whatever its colour
};

template <int D, int S, bool Opaque>
constexpr MaskMixer kMixer{MaskRun<D, S, Opaque>, MaskPixel<D, S, Opaque>};

MaskMixer ChooseMaskMixer(int dbpp, int sbpp, bool opaque) {
    if (dbpp == 4) {
        if (sbpp == 4) return opaque ? kMixer<4, 4, true> : kMixer<4, 4, false>;
        return opaque ? kMixer<4, 3, true> : kMixer<4, 3, false>;
    }
    return sbpp == 4 ? kMixer<3, 4, false> : kMixer<3, 3, false>;
}

}  // namespace

void CopyMasked(framework::TBitmap& bmp, RECT dr, RECT sr, const skin::TsMaskData& entry, bool useParentBg,
                const TsBgSource& bg, const framework::TBitmap& image) {
    const PixelView d = View(bmp), s = View(image);
    if (d.Empty() || s.Empty()) return;
    const int mo = MaskOffset(entry);
    int x = dr.left, y = dr.top, sx = sr.left, sy = sr.top;
    int w = std::min(dr.right - dr.left, sr.right - sr.left), h = std::min(dr.bottom - dr.top, sr.bottom - sr.top);
    if (!ClipCopy(d.width, d.height, s.width, SourceRows(s, mo), x, y, sx, sy, w, h)) return;
    const PixelView b = bg.Bmp ? View(*bg.Bmp) : PixelView{};
    const bool opaque = bg.Ready && b.bpp == 4 && !b.Empty();
    const Bgra fill = ToBgra(framework::ColorToRGB(bg.FillColor));
    const MaskMixer mix = ChooseMaskMixer(d.bpp, s.bpp, opaque);
    for (int j = 0; j < h; ++j) {
        std::uint8_t* drow = d.At(x, y + j);
        const std::uint8_t* srow = s.At(sx, sy + j);
        const std::uint8_t* mrow = s.At(sx, sy + j + mo);
        for (int i = 0; i < w;) {
            i += mix.run(drow + i * d.bpp, srow + i * s.bpp, mrow + i * s.bpp, w - i);
            if (i == w) break;
            // A key pixel.
            std::uint8_t* dp = drow + i * d.bpp;
            if (useParentBg) {
                if (!bg.Ready) {
                    Put(dp, fill, d.bpp, false);
                } else if (const std::uint8_t* bp = BgPixel(b, bg, x + i, y + j)) {
                    Put(dp, bp, d.bpp, opaque);
                }
            } else if (bg.Ready) {
                mix.pixel(dp, srow + i * s.bpp, mrow + i * s.bpp);
            }
            ++i;
        }
    }
}

namespace {

// A piece row prepared for mixing across n destination pixels of dbpp bytes: the mask rule
// (d * m + s * (256 - m)) >> 8 per destination byte as (d * m + p) >> 8 with p = s * (256 - m)
// worked out once. Bytes that must stay (alpha, key colour pixels) get m = 256 and p = 0.
void PreparePieceRow(std::uint16_t* m, std::uint16_t* p, const std::uint8_t* pic,
                     const std::uint8_t* mask, int sbpp, int dbpp, int w, int from, int n) {
    const int first = std::min(w, n);
    for (int k = 0; k < first; ++k) {
        const int at = ((from + k) % w) * sbpp;
        const bool keyed = SameColor(pic + at, kKey);
        for (int c = 0; c < dbpp; ++c) {
            const unsigned mc = keyed || c == 3 ? 256 : mask[at + c];
            m[k * dbpp + c] = static_cast<std::uint16_t>(mc);
            p[k * dbpp + c] = static_cast<std::uint16_t>(mc == 256 ? 0 : pic[at + c] * (256 - mc));
        }
    }
    // The rest repeats the first w pixels: doubling block copies.
    for (int done = first; done < n;) {
        const int chunk = std::min(done - done % w, n - done);
        std::memcpy(m + done * dbpp, m, static_cast<std::size_t>(chunk) * dbpp * sizeof *m);
        std::memcpy(p + done * dbpp, p, static_cast<std::size_t>(chunk) * dbpp * sizeof *p);
        done += chunk;
    }
}

// One destination row through a prepared piece row: at most 255 * 256, so 16-bit lanes hold
// every sum and the compiler vectorises the loop.
UTROZVON_WIDEST_LOOP void MixPreparedRow(std::uint8_t* __restrict d,
                                         const std::uint16_t* __restrict m,
                                         const std::uint16_t* __restrict p, int n) {
    for (int k = 0; k < n; ++k)
        d[k] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(d[k] * m[k] + p[k]) >> 8);
}

}  // namespace

bool CopyMaskedTiled(framework::TBitmap& bmp, RECT area, int sx, int sy, int pw, int ph,
                     const skin::TsMaskData& entry, const framework::TBitmap& image) {
    const PixelView d = View(bmp), s = View(image);
    if (d.Empty() || s.Empty() || pw <= 0 || ph <= 0) return false;
    const int mo = MaskOffset(entry);
    if (sx < 0 || sy < 0 || sx + pw > s.width || sy + ph > SourceRows(s, mo) || sy + mo < 0)
        return false;
    const RECT c = Intersect(area, RECT{0, 0, d.width, d.height});
    if (IsEmpty(c)) return true;
    const int n = c.right - c.left, from = (c.left - area.left) % pw;
    std::vector<std::uint16_t> m(static_cast<std::size_t>(n) * d.bpp), p(m.size());
    // Piece row r serves the destination rows r, r + ph, r + 2 ph ... of the area.
    for (int r = 0; r < ph; ++r) {
        int y = area.top + r;
        if (y < c.top) y += (c.top - y + ph - 1) / ph * ph;
        if (y >= c.bottom) continue;
        PreparePieceRow(m.data(), p.data(), s.At(sx, sy + r), s.At(sx, sy + r + mo), s.bpp, d.bpp,
                        pw, from, n);
        for (; y < c.bottom; y += ph)
            MixPreparedRow(d.At(c.left, y), m.data(), p.data(), n * d.bpp);
    }
    return true;
}

void CopyKeyed(framework::TBitmap& bmp, const framework::TBitmap& image, int x, int y, bool useParentBg,
               const TsBgSource& bg, TColor key, RECT sr) {
    const PixelView d = View(bmp), s = View(image);
    if (d.Empty() || s.Empty()) return;
    int sx = sr.left, sy = sr.top, w = sr.right - sr.left + 1, h = sr.bottom - sr.top + 1;
    if (!ClipCopy(d.width, d.height, s.width, s.height, x, y, sx, sy, w, h)) return;
    const Bgra k = ToBgra(framework::ColorToRGB(key));
    const Bgra fill = ToBgra(framework::ColorToRGB(bg.FillColor));
    // Key pixels of a background that is the destination itself would copy onto themselves.
    const bool fromBg = useParentBg && bg.Ready && bg.Bmp && bg.Bmp != &bmp;
    const PixelView b = fromBg ? View(*bg.Bmp) : PixelView{};
    for (int j = 0; j < h; ++j) {
        std::uint8_t* dp = d.At(x, y + j);
        const std::uint8_t* sp = s.At(sx, sy + j);
        for (int i = 0; i < w; ++i, dp += d.bpp, sp += s.bpp) {
            if (!SameColor(sp, k)) {
                Put(dp, sp, d.bpp, true);
            } else if (!bg.Ready) {
                Put(dp, fill, d.bpp, true);
            } else if (fromBg) {
                if (const std::uint8_t* bp = BgPixel(b, bg, x + i, y + j)) Put(dp, bp, d.bpp, true);
            }
        }
    }
}

namespace {

struct FrameCopy {
    int x, y, sx, sy, w, h;
};

// Mask pixels mixed in; mode 1 at full strength, other modes 100 levels fainter.
void DrawThroughMask(const PixelView& d, const PixelView& s, const FrameCopy& f, int mo, int mode) {
    for (int j = 0; j < f.h; ++j) {
        std::uint8_t* dp = d.At(f.x, f.y + j);
        const std::uint8_t* sp = s.At(f.sx, f.sy + j);
        const std::uint8_t* mp = s.At(f.sx, f.sy + j + mo);
        for (int i = 0; i < f.w; ++i, dp += d.bpp, sp += s.bpp, mp += s.bpp) {
            if (SameColor(sp, kKey)) continue;
            for (int c = 0; c < 3; ++c) {
                int m = mode == 1 ? mp[c] : std::min(mp[c] + 100, 255);
                dp[c] = static_cast<std::uint8_t>(std::clamp(((dp[c] - sp[c]) * m + sp[c] * 256) >> 8, 0, 255));
            }
            if (d.bpp == 4) dp[3] = 255;
        }
    }
}

void DrawKeyedOut(const PixelView& d, const PixelView& s, const FrameCopy& f) {
    for (int j = 0; j < f.h; ++j) {
        std::uint8_t* dp = d.At(f.x, f.y + j);
        const std::uint8_t* sp = s.At(f.sx, f.sy + j);
        for (int i = 0; i < f.w; ++i, dp += d.bpp, sp += s.bpp)
            if (!SameColor(sp, kKey)) Put(dp, sp, d.bpp, true);
    }
}

// Every channel becomes s - 0.5 (s - d), rounded half to even: the exact integer form.
std::uint8_t HalfMix(int s, int d) {
    int sum = s + d, half = sum >> 1;
    return static_cast<std::uint8_t>((sum & 1) && (half & 1) ? half + 1 : half);
}

void DrawHalfStrength(const PixelView& d, const PixelView& s, const FrameCopy& f) {
    for (int j = 0; j < f.h; ++j) {
        std::uint8_t* dp = d.At(f.x, f.y + j);
        const std::uint8_t* sp = s.At(f.sx, f.sy + j);
        for (int i = 0; i < f.w; ++i, dp += d.bpp, sp += s.bpp) {
            if (SameColor(sp, kKey)) continue;
            for (int c = 0; c < 3; ++c) dp[c] = HalfMix(sp[c], dp[c]);
        }
    }
}

}  // namespace

void DrawImageFrame(framework::TBitmap& bmp, POINT p, int state, const TsBgSource& bg, const skin::TsSkinModel& model,
                    int maskIndex, int mode) {
    const skin::TsMaskData* e = MaskAt(model, maskIndex);
    if (!e || e->ImageCount <= 0) return;
    const int fw = FrameWidth(*e), fh = FrameHeight(*e);
    framework::TBitmap* image = EntryImage(model, *e);
    if (fw <= 0 || fh <= 0 || !image) return;
    if (e->Bmp && (image->Width() < e->R.right || image->Height() < e->R.bottom)) return;
    const int k = std::clamp(state, 0, e->ImageCount - 1);
    const PixelView d = View(bmp), s = View(*image);
    if (d.Empty()) return;
    const bool masked = e->MaskType > 0;
    if (!masked && !e->Bmp && mode == 1) {
        // A negative point cuts the frame; CopyKeyed clips the same way.
        const RECT sr{e->R.left + k * fw, e->R.top, e->R.left + (k + 1) * fw - 1, e->R.top + fh - 1};
        CopyKeyed(bmp, *image, p.x, p.y, true, bg, TransparentColor, sr);
        return;
    }
    const int mo = masked ? MaskOffset(*e) : 0;
    FrameCopy f{p.x, p.y, e->R.left + k * fw, e->R.top, fw, fh};
    if (!ClipCopy(d.width, d.height, s.width, SourceRows(s, mo), f.x, f.y, f.sx, f.sy, f.w, f.h)) return;
    if (masked)
        DrawThroughMask(d, s, f, mo, mode);
    else if (e->Bmp)
        DrawKeyedOut(d, s, f);
    else
        DrawHalfStrength(d, s, f);
}

}  // namespace paint

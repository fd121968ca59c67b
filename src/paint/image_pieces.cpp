#include "paint/image_pieces.h"

#include "paint/block_copy.h"
#include "paint/image_entry.h"

namespace paint {

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

std::uint8_t MaskMix(int d, int s, int m) { return static_cast<std::uint8_t>(((d - s) * m + s * 256) >> 8); }

// The source rows must also reach their mask rows.
int SourceRows(const PixelView& image, int maskOffset) { return image.height - std::max(0, maskOffset); }

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
    for (int j = 0; j < h; ++j) {
        std::uint8_t* dp = d.At(x, y + j);
        const std::uint8_t* sp = s.At(sx, sy + j);
        const std::uint8_t* mp = s.At(sx, sy + j + mo);
        for (int i = 0; i < w; ++i, dp += d.bpp, sp += s.bpp, mp += s.bpp) {
            if (SameColor(sp, kKey)) {
                if (useParentBg) {
                    if (!bg.Ready) {
                        Put(dp, fill, d.bpp, false);
                    } else if (const std::uint8_t* bp = BgPixel(b, bg, x + i, y + j)) {
                        Put(dp, bp, d.bpp, opaque);
                    }
                    continue;
                }
                if (!bg.Ready) continue;
            }
            for (int c = 0; c < 3; ++c) dp[c] = MaskMix(dp[c], sp[c], mp[c]);
            if (d.bpp == 4 && opaque) dp[3] = 255;
        }
    }
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

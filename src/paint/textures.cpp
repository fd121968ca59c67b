#include "paint/textures.h"

#include "paint/block_copy.h"
#include "paint/image_entry.h"
#include "paint/image_pieces.h"
#include "paint/solid_fills.h"

namespace paint {

using namespace detail;

namespace detail {

// Every destination pixel repeats the one a tile width to its left and a tile height above,
// so each row is converted from the source for one tile at most and copied on from the
// destination itself: the same pixels as tile-by-tile copies at close to memcpy speed.
static void TileByRows(const PixelView& d, const RECT& c, int ox, int oy, const PixelView& s, int sx, int sy, int w, int h) {
    auto mod = [](int a, int m) { return ((a % m) + m) % m; };
    const int bpp = d.bpp, n = c.right - c.left;
    const int lead = std::min(n, mod(ox - c.left, w) + w);  // pixels up to the end of the first whole tile
    for (int y = c.top; y < c.bottom; ++y) {
        std::uint8_t* row = d.At(c.left, y);
        if (y - h >= c.top) {
            std::memcpy(row, d.At(c.left, y - h), static_cast<std::size_t>(n) * bpp);
            continue;
        }
        const int srow = sy + mod(y - oy, h);
        for (int x = c.left; x < c.left + lead;) {
            const int i = mod(x - ox, w), run = std::min(w - i, c.left + lead - x);
            BlockCopy(d, x, y, s, sx + i, srow, run, 1);
            x += run;
        }
        for (int done = lead; done < n;) {
            const int chunk = std::min(done - (lead - w), n - done);
            std::memcpy(row + static_cast<std::size_t>(done) * bpp, row + static_cast<std::size_t>(lead - w) * bpp,
                        static_cast<std::size_t>(chunk) * bpp);
            done += chunk;
        }
    }
}

void TileClipped(const PixelView& d, const RECT& clip, int ox, int oy, const PixelView& s, int sx, int sy, int w, int h) {
    if (w <= 0 || h <= 0 || IsEmpty(clip) || d.Empty() || s.Empty()) return;
    const RECT c = Intersect(clip, RECT{0, 0, d.width, d.height});
    if (IsEmpty(c)) return;
    // A tile partly outside its picture leaves pixels as they were, which copying from the
    // destination would not; such tiles go piece by piece.
    const bool whole = sx >= 0 && sy >= 0 && sx + w <= s.width && sy + h <= s.height;
    if (whole && d.bits != s.bits) {
        TileByRows(d, c, ox, oy, s, sx, sy, w, h);
        return;
    }
    // Skip whole tiles before the visible part, so huge rectangles cost only what shows.
    const int i0 = std::max(0, (c.left - ox) / w), j0 = std::max(0, (c.top - oy) / h);
    for (int ty = oy + j0 * h; ty < c.bottom; ty += h) {
        const int y0 = std::max(ty, static_cast<int>(c.top)), y1 = std::min(ty + h, static_cast<int>(c.bottom));
        if (y1 <= y0) continue;
        for (int tx = ox + i0 * w; tx < c.right; tx += w) {
            const int x0 = std::max(tx, static_cast<int>(c.left)), x1 = std::min(tx + w, static_cast<int>(c.right));
            if (x1 > x0) BlockCopy(d, x0, y0, s, sx + (x0 - tx), sy + (y0 - ty), x1 - x0, y1 - y0);
        }
    }
}

}  // namespace detail

namespace {

void Stretch(framework::TBitmap& bmp, const RECT& clip, RECT to, framework::TBitmap& image, const RECT& from) {
    if (IsEmpty(to) || IsEmpty(from)) return;
    HDC dc = bmp.Canvas().Handle();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, image.Canvas().Handle(), from.left,
               from.top, from.right - from.left, from.bottom - from.top, SRCCOPY);
    RestoreDC(dc, saved);
}

}  // namespace

void TileBitmap(framework::TBitmap& bmp, const RECT& rect, const framework::TBitmap& image) {
    const PixelView s = View(image);
    if (s.Empty()) return;
    TileClipped(View(bmp), rect, rect.left, rect.top, s, 0, 0, s.width, s.height);
}

void FillTexture(framework::TBitmap& bmp, RECT& rect, int mode, const skin::TsSkinModel& model, int maskIndex) {
    const skin::TsMaskData* e = MaskAt(model, maskIndex);
    if (!e || IsEmpty(rect)) return;
    if (e->Bmp && !e->Bmp->Empty()) {
        TileBitmap(bmp, rect, *e->Bmp);
        rect = kCoveredAll;
        return;
    }
    framework::TBitmap* master = EntryImage(model, *e);
    const int w = e->Width(), h = e->Height();
    if (!master || w <= 0 || h <= 0) return;
    const PixelView d = View(bmp), s = View(*master);
    const RECT r = rect;
    auto tile = [&](const RECT& clip, int ox, int oy) { TileClipped(d, clip, ox, oy, s, e->R.left, e->R.top, w, h); };
    switch (mode) {
        case 0: tile(r, r.left, r.top); rect = kCoveredAll; break;
        case 1: Stretch(bmp, r, r, *master, e->R); rect = kCoveredAll; break;
        case 2: tile(RECT{r.left, r.top, r.right, std::min(r.top + h, r.bottom)}, r.left, r.top);
                rect = RECT{r.left, r.top + h, r.right, r.bottom}; break;
        case 3: tile(RECT{r.left, r.top, std::min(r.left + w, r.right), r.bottom}, r.left, r.top);
                rect = RECT{r.left + w, r.top, r.right, r.bottom}; break;
        case 4: Stretch(bmp, r, RECT{r.left, r.top, r.right, r.top + h}, *master, e->R);
                rect = RECT{r.left, r.top + h, r.right, r.bottom}; break;
        case 5: Stretch(bmp, r, RECT{r.left, r.top, r.left + w, r.bottom}, *master, e->R);
                rect = RECT{r.left + w, r.top, r.right, r.bottom}; break;
        case 6: tile(RECT{r.left, std::max(r.bottom - h, r.top), r.right, r.bottom}, r.left, r.bottom - h);
                rect = RECT{r.left, r.top, r.right, r.bottom - h}; break;
        case 7: tile(r, r.left, r.top); rect = RECT{r.left, r.top, r.right - w, r.bottom}; break;
        case 10: tile(RECT{r.left, r.top, r.right, r.top + (r.bottom - r.top) / h * h}, r.left, r.top);
                 rect = kCoveredAll; break;
        case 8: case 9: case 11: case 12: case 13: case 14:
            tile(r, r.left, r.top);
            rect = RECT{r.right - w, r.top, r.right, r.bottom};
            break;
        default: break;
    }
}

namespace {

// Copies the background under r, or fills r with its plain colour; a background that is
// neither (the "none" colour) leaves r as it is, as the section fill does.
void PutBackground(framework::TBitmap& bmp, const RECT& r, const TsBgSource& bg) {
    if (IsEmpty(r)) return;
    if (!bg.Ready) {
        if (bg.FillColor == TransparentColor) return;
        FillRectSolid(bmp, r, bg.FillColor);
    } else if (bg.Bmp) {
        BlockCopy(View(bmp), r.left, r.top, View(*bg.Bmp), r.left + bg.X, r.top + bg.Y, r.right - r.left, r.bottom - r.top);
    }
}

}  // namespace

void OverlayMaskedTexture(framework::TBitmap& bmp, RECT& rect, const TsBgSource& bg, int mode,
                          const skin::TsSkinModel& model, int maskIndex) {
    const skin::TsMaskData* e = MaskAt(model, maskIndex);
    if (!e || (mode != 0 && mode != 10)) return;
    framework::TBitmap* image = EntryImage(model, *e);
    const int tw = FrameWidth(*e), th = e->Height() / 2;
    if (!image || tw <= 0 || th <= 0) return;
    const RECT r = rect;
    const RECT src{e->R.left, e->R.top, e->R.left + tw, e->R.top + th};
    auto column = [&](int x, int w) {
        int y = r.top;
        for (; y < r.bottom - th; y += th)
            CopyMasked(bmp, RECT{x, y, x + w, y + th}, src, *e, false, bg, *image);
        return y;
    };
    int x = r.left, y = r.top;
    for (; x < r.right - tw; x += tw) y = column(x, tw);
    if (mode == 0) {
        column(x, r.right - x);
    } else {
        if (x == r.left) y = r.top;  // no column: no row either
        PutBackground(bmp, RECT{r.left, y, r.right, r.bottom}, bg);
        PutBackground(bmp, RECT{x, r.top, r.right, r.bottom}, bg);
    }
    rect = kCoveredAll;
}

}  // namespace paint

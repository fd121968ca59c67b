#include "paint/border_mask.h"

#include "paint/block_copy.h"
#include "paint/image_entry.h"
#include "paint/image_pieces.h"

namespace paint {

using namespace detail;

namespace detail {

void FitMargins(int size, int& first, int& second) {
    if (size < first + second) {
        int d = (first + second - size) / 2;
        first -= d;
        second -= d;
        if (size % 2 != 0) --second;
    }
    first = std::max(first, 0);
    second = std::max(second, 0);
}

}  // namespace detail

namespace {

// How the pieces of one frame go onto the bitmap.
class NinePiece {
public:
    NinePiece(framework::TBitmap& bmp, framework::TBitmap& image, const skin::TsMaskData& e, bool useParentBg,
              const TsBgSource& bg)
        : bmp_(bmp), image_(image), e_(e), useParentBg_(useParentBg), bg_(bg), d_(View(bmp)), s_(View(image)) {}

    // A corner: see-through pixels show the background.
    void Corner(int x, int y, int sx, int sy, int w, int h) {
        if (w <= 0 || h <= 0) return;
        if (e_.MaskType != 0)
            CopyMasked(bmp_, RECT{x, y, x + w, y + h}, RECT{sx, sy, sx + w, sy + h}, e_, useParentBg_, bg_, image_);
        else
            CopyKeyed(bmp_, image_, x, y, useParentBg_, bg_, TransparentColor, RECT{sx, sy, sx + w - 1, sy + h - 1});
    }

    // A piece of an edge or of the centre, at most pw x ph of the source piece.
    void Piece(int x, int y, int sx, int sy, int w, int h) {
        if (w <= 0 || h <= 0) return;
        if (e_.MaskType != 0)
            CopyMasked(bmp_, RECT{x, y, x + w, y + h}, RECT{sx, sy, sx + w, sy + h}, e_, false, EmptyBgSource(), image_);
        else
            BlockCopy(d_, x, y, s_, sx, sy, w, h);
    }

    // Repeats the pw x ph source piece over [x0, x1) x [y0, y1), the last ones cut; a piece
    // size of 0 gives only the cut remainder.
    void Repeat(int x0, int y0, int x1, int y1, int sx, int sy, int pw, int ph) {
        if (Stretching()) {
            Stretch(x0, y0, x1, y1, sx, sy, pw, ph);
            return;
        }
        if (e_.MaskType == 0 && pw > 0 && ph > 0) {
            TileClipped(d_, RECT{x0, y0, x1, y1}, x0, y0, s_, sx, sy, pw, ph);
            return;
        }
        // A piece size of 0 is one piece as large as the area.
        if (e_.MaskType != 0 && x1 > x0 && y1 > y0 &&
            CopyMaskedTiled(bmp_, RECT{x0, y0, x1, y1}, sx, sy, pw > 0 ? pw : x1 - x0,
                            ph > 0 ? ph : y1 - y0, e_, image_))
            return;
        int y = y0;
        for (; ph > 0 && y < y1 - ph; y += ph) Row(x0, x1, y, ph, sx, sy, pw);
        Row(x0, x1, y, y1 - y, sx, sy, pw);
    }

private:
    bool Stretching() const { return e_.MaskType == 0 && (e_.DrawMode & kBorderStretch); }

    void Row(int x0, int x1, int y, int h, int sx, int sy, int pw) {
        int x = x0;
        for (; pw > 0 && x < x1 - pw; x += pw) Piece(x, y, sx, sy, pw, h);
        Piece(x, y, sx, sy, x1 - x, h);
    }

    void Stretch(int x0, int y0, int x1, int y1, int sx, int sy, int pw, int ph) {
        if (x1 <= x0 || y1 <= y0 || pw <= 0 || ph <= 0) return;
        HDC dc = bmp_.Canvas().Handle();
        int old = SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, x0, y0, x1 - x0, y1 - y0, image_.Canvas().Handle(), sx, sy, pw, ph, SRCCOPY);
        SetStretchBltMode(dc, old);
    }

    framework::TBitmap& bmp_;
    framework::TBitmap& image_;
    const skin::TsMaskData& e_;
    bool useParentBg_;
    const TsBgSource& bg_;
    PixelView d_, s_;
};

}  // namespace

void DrawBorderMask(framework::TBitmap& bmp, const RECT& rect, bool fillCentre, bool useParentBg, int state,
                    const skin::TsSkinModel& model, int maskIndex, const TsBgSource& bg) {
    const skin::TsMaskData* e = MaskAt(model, maskIndex);
    if (!e || e->ImageCount <= 0) return;
    if (state == 0 && (e->DrawMode & kBorderNoState0)) return;
    const int L = rect.left, T = rect.top, Rt = rect.right, B = rect.bottom;
    if (Rt - L < 2 || B - T < 2) return;
    framework::TBitmap* image = EntryImage(model, *e);
    const int fw = FrameWidth(*e), fh = FrameHeight(*e);
    if (!image || View(bmp).Empty() || fw <= 0 || fh <= 0) return;

    int wl = e->WL, wr = e->WR, wt = e->WT, wb = e->WB;
    FitMargins(Rt - L, wl, wr);
    FitMargins(B - T, wt, wb);
    const int s = std::min(state, e->ImageCount - 1);
    const int sx = e->R.left + fw * std::max(s, 0), sy = e->R.top, sb = e->R.top + fh - wb;
    const int cw = std::max(0, fw - wl - wr), ch = std::max(0, fh - wt - wb);
    const int sr = sx + wl + cw;  // first source column of the right pieces

    NinePiece p(bmp, *image, *e, useParentBg, bg);
    p.Corner(L, T, sx, sy, wl, wt);
    p.Repeat(L, T + wt, L + wl, B - wb, sx, sy + wt, wl, ch);
    p.Repeat(L + wl, T, Rt - wr, T + wt, sx + wl, sy, cw, wt);
    p.Corner(L, B - wb, sx, sb, wl, wb);
    p.Repeat(L + wl, B - wb, Rt - wr, B, sx + wl, sb, cw, wb);
    p.Corner(Rt - wr, B - wb, sr, sb, wr, wb);
    p.Corner(Rt - wr, T, sr, sy, wr, wt);
    p.Repeat(Rt - wr, T + wt, Rt, B - wb, sr, sy + wt, wr, ch);
    if (fillCentre && (e->DrawMode & kBorderFillCentre)) p.Repeat(L + wl, T + wt, Rt - wr, B - wb, sx + wl, sy + wt, cw, ch);
}

}  // namespace paint

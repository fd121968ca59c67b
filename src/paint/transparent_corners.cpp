#include "paint/transparent_corners.h"

#include "paint/bg_source.h"
#include "paint/image_entry.h"
#include "paint/pixel_view.h"

namespace paint {

using namespace detail;

namespace {

// Runs of key pixels in frame columns [c0, c1) of image row y, appended at output row oy.
void Runs(std::vector<RECT>& list, const PixelView& v, int x0, int c0, int c1, int y, int oy, int shift) {
    const Bgra key = ToBgra(static_cast<COLORREF>(TransparentColor));
    int start = -1;
    for (int c = c0; c <= c1; ++c) {
        const int x = x0 + c;
        const bool hole = c < c1 && x >= 0 && x < v.width && SameColor(v.At(x, y), key);
        if (hole && start < 0) start = c;
        if (!hole && start >= 0) {
            list.push_back(RECT{start + shift, oy, c + shift, oy + 1});
            start = -1;
        }
    }
}

}  // namespace

void CollectTransparentCorners(std::vector<RECT>& list, int targetWidth, const skin::TsSkinModel& model, int maskIndex,
                               bool bottom, int y0) {
    const skin::TsMaskData* e = MaskAt(model, maskIndex);
    if (!e) return;
    framework::TBitmap* image = EntryImage(model, *e);
    const int fw = FrameWidth(*e), fh = FrameHeight(*e);
    if (!image || fw <= 0) return;
    const int rows = bottom ? e->WB : e->WT;
    const int top = bottom ? e->R.top + fh - e->WB : e->R.top;
    const PixelView v = View(*image);
    if (rows <= 0 || top < 0 || top + rows > v.height) return;
    for (int r = 0; r < rows; ++r) Runs(list, v, e->R.left, 0, std::min<int>(e->WL, fw), top + r, y0 + r, 0);
    for (int r = 0; r < rows; ++r)
        Runs(list, v, e->R.left, std::max(0, fw - e->WR), fw, top + r, y0 + r, targetWidth - fw);
}

}  // namespace paint

#include "forms/provider_region.h"

#include "paint/transparent_corners.h"

namespace forms {

std::vector<RECT> CollectFrameCorners(const skin::TsSkinModel& model, int borderMask,
                                      int titleIndex, const std::string& titleName, int w, int h) {
    std::vector<RECT> list;
    if (borderMask >= 0 && borderMask < static_cast<int>(model.Masks.size())) {
        const int wb = model.Masks[static_cast<std::size_t>(borderMask)].WB;
        paint::CollectTransparentCorners(list, w, model, borderMask, false, 0);
        paint::CollectTransparentCorners(list, w, model, borderMask, true, h - wb);
    }
    if (titleIndex >= 0) {
        const int mask = model.FindMask(titleIndex, titleName, "BORDERSMASK");
        if (mask >= 0) paint::CollectTransparentCorners(list, w, model, mask, false, 0);
    }
    return list;
}

HRGN MakeFrameRegion(const TsFrameMetrics& m, const std::vector<RECT>& corners) {
    if (m.Maximized) return CreateRectRgn(m.B, m.B, m.W - m.B, m.H - m.B);
    HRGN region = CreateRectRgn(0, 0, m.W, m.H);
    for (const RECT& r : corners) {
        HRGN corner = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        CombineRgn(region, region, corner, RGN_DIFF);
        DeleteObject(corner);
    }
    return region;
}

}  // namespace forms

// Extended borders: two 32-bit shadow pictures drawn outside a window's frame, cut from the
// skin's EXBORDER entry or, without one, built here.
#include <algorithm>
#include <cmath>

#include "skin/skin_manager.h"

namespace skin {
namespace {

using framework::TBitmap;
using framework::TPixelFormat;

// One state image of an entry's own picture, as 32 bits.
std::unique_ptr<TBitmap> CutState(const TsMaskData& m, int state) {
    const TBitmap& src = *m.Bmp;
    int w = std::max(1, src.Width() / std::max<int>(m.ImageCount, 1));
    int h = m.MaskType >= 0 ? src.Height() / (m.MaskType + 1) : src.Height();
    w = std::min(w, src.Width() - state * w);
    if (w <= 0 || h <= 0) return nullptr;
    auto out = std::make_unique<TBitmap>(w, h, TPixelFormat::pf32bit);
    out->AlphaFormat = framework::TAlphaFormat::afDefined;
    const int bpp = src.BytesPerPixel();
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = src.ScanLine(y) + static_cast<std::ptrdiff_t>(state) * w * bpp;
        std::uint8_t* d = out->ScanLine(y);
        for (int x = 0; x < w; ++x, s += bpp, d += 4) {
            d[0] = s[0], d[1] = s[1], d[2] = s[2];
            d[3] = bpp == 4 ? s[3] : 255;
        }
    }
    return out;
}

// A soft black shadow whose alpha fades towards the edges, for skins without EXBORDER.
std::unique_ptr<TBitmap> BuiltInShadow(int strength) {
    constexpr int kSize = 48, kFade = 12;
    auto out = std::make_unique<TBitmap>(kSize, kSize, TPixelFormat::pf32bit);
    out->AlphaFormat = framework::TAlphaFormat::afDefined;
    for (int y = 0; y < kSize; ++y) {
        std::uint8_t* d = out->ScanLine(y);
        for (int x = 0; x < kSize; ++x, d += 4) {
            int edge = std::min({x, y, kSize - 1 - x, kSize - 1 - y});
            double t = std::min(1.0, static_cast<double>(edge) / kFade);
            d[0] = d[1] = d[2] = 0;
            d[3] = static_cast<std::uint8_t>(std::lround(t * t * strength));
        }
    }
    return out;
}

}  // namespace

void TsSkinManager::UpdateIndexes() {
    model_->UpdateIndexes();
    PrepareExtendedBorders();
}

void TsSkinManager::PrepareExtendedBorders() {
    ShadowActive.reset();
    ShadowInactive.reset();
    ShadowMargins = RECT{0, 0, 0, 0};
    if (!active_ || !extendedBorders_ || !platform::LayeredWindowsAvailable()) return;
    const TsSkinModel& m = *model_;
    int ex = m.CachedIndexes[ciExBorder];
    if (ex >= 0 && m.Masks[static_cast<std::size_t>(ex)].Bmp) {
        const TsMaskData& e = m.Masks[static_cast<std::size_t>(ex)];
        ShadowActive = CutState(e, 0);
        ShadowInactive = CutState(e, e.ImageCount > 1 ? 1 : 0);
        int off = m.GlobalInfo.FormOffset;
        if (m.GlobalInfo.BorderMode != 0)
            ShadowMargins = RECT{off, off, off, off};
        else
            ShadowMargins = RECT{e.WL - off, e.WT - off, e.WR - off, e.WB - off};
        return;
    }
    ShadowActive = BuiltInShadow(110);
    ShadowInactive = BuiltInShadow(60);
    ShadowMargins = RECT{11, 7, 11, 11};  // desktop composition is always off here
}

}  // namespace skin

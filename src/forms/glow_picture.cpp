#include "forms/glow_picture.h"

#include <algorithm>
#include <cstring>

#include "paint/bitmaps.h"
#include "paint/border_mask.h"
#include "paint/image_entry.h"

namespace forms {
namespace {

using framework::TBitmap;

constexpr std::uint8_t kKeyB = 0xFF, kKeyG = 0x00, kKeyR = 0xFF;  // the skin's see-through colour

bool IsKey(const std::uint8_t* p) {
    return p[0] == kKeyB && p[1] == kKeyG && p[2] == kKeyR;
}

void Clear(TBitmap& bmp) {
    const std::size_t rowBytes = static_cast<std::size_t>(bmp.Width()) * bmp.BytesPerPixel();
    for (int y = 0; y < bmp.Height(); ++y) std::memset(bmp.ScanLine(y), 0, rowBytes);
}

// How strongly an image pixel covers: from its mask row, its own alpha, or fully.
class CoverageReader {
  public:
    CoverageReader(const TBitmap& image, const skin::TsMaskData& e)
        : image_(image),
          maskRows_(e.MaskType != 0 ? paint::MaskOffset(e) : -1),
          ownAlpha_(e.MaskType == 0 && e.Bmp && image.BytesPerPixel() == 4 &&
                    image.AlphaFormat == framework::TAlphaFormat::afDefined) {}

    std::uint8_t At(int x, int y) const {
        const int bpp = image_.BytesPerPixel();
        const std::uint8_t* p = image_.ScanLine(y) + static_cast<std::ptrdiff_t>(x) * bpp;
        if (IsKey(p)) return 0;
        if (maskRows_ >= 0) {
            if (y + maskRows_ >= image_.Height()) return 0;
            const std::uint8_t* m =
                image_.ScanLine(y + maskRows_) + static_cast<std::ptrdiff_t>(x) * bpp;
            return static_cast<std::uint8_t>(255 - std::min({m[0], m[1], m[2]}));
        }
        return ownAlpha_ ? p[3] : 255;
    }

  private:
    const TBitmap& image_;
    int maskRows_;
    bool ownAlpha_;
};

// A one-entry model whose entry has the glow entry's frames and margins but a grey picture of
// each pixel's coverage, so that DrawBorderMask lays coverage out exactly as it laid colour.
std::unique_ptr<skin::TsSkinModel> CoverageModel(const skin::TsSkinModel& model,
                                                 const skin::TsMaskData& e) {
    const TBitmap* image = paint::EntryImage(model, e);
    const int fh = paint::FrameHeight(e);
    const int w = std::min<int>(e.Width(), image ? image->Width() - e.R.left : 0);
    const int h = std::min<int>(fh, image ? image->Height() - e.R.top : 0);
    if (!image || e.R.left < 0 || e.R.top < 0 || w <= 0 || h <= 0) return nullptr;

    auto grey = paint::CreateBmp24(e.Width(), fh);
    Clear(*grey);
    CoverageReader coverage(*image, e);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* out = grey->ScanLine(y);
        for (int x = 0; x < w; ++x, out += 3)
            out[0] = out[1] = out[2] = coverage.At(e.R.left + x, e.R.top + y);
    }
    auto result = std::make_unique<skin::TsSkinModel>();
    skin::TsMaskData c;
    c.Bmp = std::move(grey);
    c.R = RECT{0, 0, e.Width(), fh};
    c.ImageCount = e.ImageCount;
    c.MaskType = 0;
    c.BorderWidth = e.BorderWidth;
    // Masked pieces are never stretched; the coverage must not be either.
    c.DrawMode = static_cast<std::int16_t>(e.MaskType != 0 ? e.DrawMode & ~paint::kBorderStretch
                                                           : e.DrawMode);
    c.ImgType = e.ImgType;
    c.OwnerManager = e.OwnerManager;
    c.WL = e.WL, c.WT = e.WT, c.WR = e.WR, c.WB = e.WB;
    result->Masks.push_back(std::move(c));
    return result;
}

// Colour from one drawing, coverage from the other. Masked pieces were mixed over black, which
// premultiplied them already; the others are premultiplied here.
void Combine(TBitmap& colour, const TBitmap& coverage, bool premultiplied) {
    for (int y = 0; y < colour.Height(); ++y) {
        std::uint8_t* p = colour.ScanLine(y);
        const std::uint8_t* c = coverage.ScanLine(y);
        for (int x = 0; x < colour.Width(); ++x, p += 4, c += 4) {
            const unsigned a = c[0];
            if (!premultiplied) {
                for (int k = 0; k < 3; ++k)
                    p[k] = static_cast<std::uint8_t>((p[k] * a + 127) / 255);
            } else {
                for (int k = 0; k < 3; ++k)
                    p[k] = static_cast<std::uint8_t>(std::min<unsigned>(p[k], a));
            }
            p[3] = static_cast<std::uint8_t>(a);
        }
    }
}

}  // namespace

std::unique_ptr<TBitmap> BuildGlowPicture(const skin::TsSkinModel& model, int entryIndex, int width,
                                          int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto picture = paint::CreateBmp32(width, height);
    Clear(*picture);
    const skin::TsMaskData* e = paint::MaskAt(model, entryIndex);
    if (!e) return picture;
    auto coverageModel = CoverageModel(model, *e);
    if (!coverageModel) return picture;

    const RECT all{0, 0, width, height};
    paint::DrawBorderMask(*picture, all, false, false, 0, model, entryIndex,
                          paint::EmptyBgSource());
    auto coverage = paint::CreateBmp32(width, height);
    Clear(*coverage);
    paint::DrawBorderMask(*coverage, all, false, false, 0, *coverageModel, 0,
                          paint::EmptyBgSource());
    Combine(*picture, *coverage, e->MaskType != 0);
    return picture;
}

std::unique_ptr<TBitmap> CutGlowPicture(TBitmap& picture, int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto part = paint::CreateBmp32(width, height);
    Clear(*part);
    BitBlt(part->Canvas().Handle(), 0, 0, width, height, picture.Canvas().Handle(), x, y, SRCCOPY);
    return part;
}

}  // namespace forms

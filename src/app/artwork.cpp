#include "app/artwork.h"

#include <cstring>

#include "app/artwork_pixels.h"

namespace app {

namespace {

// The pictures never change, so the build draws them once (artwork_gen) and start-up only
// copies their bytes.
#include "app/artwork_pixels.inc"

std::unique_ptr<framework::TBitmap> ToBitmap(const ArtworkPixels& pixels) {
    auto bmp = std::make_unique<framework::TBitmap>(kArtworkSize, kArtworkSize,
                                                    framework::TPixelFormat::pf32bit);
    bmp->AlphaFormat = framework::TAlphaFormat::afDefined;
    for (int y = 0; y < kArtworkSize; ++y)
        std::memcpy(bmp->ScanLine(y), &pixels[static_cast<std::size_t>(y) * kArtworkSize * 4],
                    kArtworkSize * 4);
    return bmp;
}

}  // namespace

std::unique_ptr<framework::TBitmap> MakeClockIcon() {
    return ToBitmap(kClockIconPixels);
}

std::unique_ptr<framework::TBitmap> MakeStopGlyph() {
    return ToBitmap(kStopGlyphPixels);
}

}  // namespace app

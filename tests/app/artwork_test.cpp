// The pictures compiled into the program are the drawing code's pictures, row for row.
#include "app/artwork.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/artwork_pixels.h"

namespace {

void ExpectSamePicture(const framework::TBitmap& bmp, const app::ArtworkPixels& drawn) {
    ASSERT_EQ(bmp.Width(), app::kArtworkSize);
    ASSERT_EQ(bmp.Height(), app::kArtworkSize);
    EXPECT_EQ(bmp.AlphaFormat, framework::TAlphaFormat::afDefined);
    for (int y = 0; y < app::kArtworkSize; ++y)
        EXPECT_EQ(0, std::memcmp(const_cast<framework::TBitmap&>(bmp).ScanLine(y),
                                 &drawn[static_cast<std::size_t>(y) * app::kArtworkSize * 4],
                                 app::kArtworkSize * 4))
            << "row " << y;
}

TEST(Artwork, BuiltInPicturesAreTheDrawnOnes) {
    ExpectSamePicture(*app::MakeClockIcon(), app::DrawClockIcon());
    ExpectSamePicture(*app::MakeStopGlyph(), app::DrawStopGlyph());
    // The clock face is opaque in the middle and clear in the corners.
    const app::ArtworkPixels clock = app::DrawClockIcon();
    EXPECT_EQ(clock[(16 * app::kArtworkSize + 16) * 4 + 3], 255);
    EXPECT_EQ(clock[3], 0);
}

}  // namespace

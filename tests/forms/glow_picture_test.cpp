// The glow picture: the entry's frame with premultiplied alpha, nothing over the control.
// Each entry is a 3 x 3 frame with 1 px margins, so a picture is a 1 px ring around a
// transparent middle; values are worked out by hand from the entry's pixels.
#include "forms/glow_picture.h"

#include <gtest/gtest.h>

#include "paint/paint_test_support.h"

namespace {

using framework::TBitmap;
using paint_test::Alpha;
using paint_test::MakeBitmap;
using paint_test::Px;
using paint_test::Rgb;
using paint_test::SetPx;

// Blue 200, green 100, red 50.
constexpr framework::TColor kGlow = Rgb(50, 100, 200);
constexpr framework::TColor kKey = Rgb(255, 0, 255);

skin::TsMaskData Entry(RECT r, int maskType) {
    skin::TsMaskData e;
    e.SectionName = "BUTTON";
    e.PropertyName = "GLOW0";
    e.R = r;
    e.ImageCount = 1;
    e.MaskType = static_cast<std::int16_t>(maskType);
    e.WL = e.WT = e.WR = e.WB = 1;
    return e;
}

bool OnRing(const TBitmap& b, int x, int y) {
    return x == 0 || y == 0 || x == b.Width() - 1 || y == b.Height() - 1;
}

// Every ring pixel is `ring` with alpha `a` except where `except` says; the middle is 0.
void ExpectRing(const TBitmap& b, framework::TColor ring, int a) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            bool edge = OnRing(b, x, y);
            ASSERT_EQ(Px(b, x, y), edge ? ring : 0) << "at " << x << ", " << y;
            ASSERT_EQ(Alpha(b, x, y), edge ? a : 0) << "at " << x << ", " << y;
        }
}

TEST(GlowPicture, AMaskedEntryCoversByItsMaskAndLeavesTheControlClear) {
    skin::TsSkinModel model;
    model.MasterBitmap = MakeBitmap(3, 6, 24, kGlow);
    for (int y = 3; y < 6; ++y)
        for (int x = 0; x < 3; ++x) SetPx(*model.MasterBitmap, x, y, Rgb(128, 128, 128));
    model.Masks.push_back(Entry(RECT{0, 0, 3, 6}, 1));

    auto picture = forms::BuildGlowPicture(model, 0, 10, 8);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->BytesPerPixel(), 4);
    // Mask 128 over black: each channel (s * (256 - 128)) >> 8, alpha 255 - 128.
    ExpectRing(*picture, Rgb(25, 50, 100), 127);
}

TEST(GlowPicture, AMaskWithUnequalChannelsTakesTheStrongestCoverage) {
    skin::TsSkinModel model;
    model.MasterBitmap = MakeBitmap(3, 6, 24, kGlow);
    // Mask blue 64, green 128, red 192.
    for (int y = 3; y < 6; ++y)
        for (int x = 0; x < 3; ++x) SetPx(*model.MasterBitmap, x, y, Rgb(192, 128, 64));
    model.Masks.push_back(Entry(RECT{0, 0, 3, 6}, 1));

    auto picture = forms::BuildGlowPicture(model, 0, 5, 5);
    // Blue 200 * 192 >> 8 = 150, green 100 * 128 >> 8 = 50, red 50 * 64 >> 8 = 12; alpha 255 - 64.
    ExpectRing(*picture, Rgb(12, 50, 150), 191);
}

TEST(GlowPicture, A24BitEntryIsOpaqueButItsSeeThroughPixelsAreNot) {
    skin::TsSkinModel model;
    model.MasterBitmap = MakeBitmap(4, 4, 24);
    skin::TsMaskData e = Entry(RECT{0, 0, 3, 3}, 0);
    e.Bmp = MakeBitmap(3, 3, 24, kGlow);
    SetPx(*e.Bmp, 0, 0, kKey);  // the top-left corner
    SetPx(*e.Bmp, 1, 0, kKey);  // the top edge piece
    model.Masks.push_back(std::move(e));

    auto picture = forms::BuildGlowPicture(model, 0, 6, 5);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(Px(*picture, x, 0), 0u) << x;
        EXPECT_EQ(Alpha(*picture, x, 0), 0) << x;
    }
    EXPECT_EQ(Px(*picture, 5, 0), kGlow);
    EXPECT_EQ(Alpha(*picture, 5, 0), 255);
    for (POINT p : {POINT{0, 1}, POINT{0, 4}, POINT{3, 4}, POINT{5, 2}}) {
        EXPECT_EQ(Px(*picture, p.x, p.y), kGlow) << p.x << ", " << p.y;
        EXPECT_EQ(Alpha(*picture, p.x, p.y), 255) << p.x << ", " << p.y;
    }
    EXPECT_EQ(Alpha(*picture, 2, 2), 0);
    EXPECT_EQ(Px(*picture, 2, 2), 0u);
}

TEST(GlowPicture, AnOwnPictureWithAlphaKeepsItInCornersAndEdges) {
    // Regression: corners went through the keyed copy, which makes every pixel opaque.
    skin::TsSkinModel model;
    model.MasterBitmap = MakeBitmap(4, 4, 24);
    skin::TsMaskData e = Entry(RECT{0, 0, 3, 3}, 0);
    e.Bmp = MakeBitmap(3, 3, 32, kGlow, 128);
    e.Bmp->AlphaFormat = framework::TAlphaFormat::afDefined;
    model.Masks.push_back(std::move(e));

    auto picture = forms::BuildGlowPicture(model, 0, 7, 6);
    // Premultiplied: (c * 128 + 127) / 255 gives blue 100, green 50, red 25.
    ExpectRing(*picture, Rgb(25, 50, 100), 128);
}

TEST(GlowPicture, An32BitPictureWithoutDefinedAlphaIsOpaque) {
    skin::TsSkinModel model;
    model.MasterBitmap = MakeBitmap(4, 4, 24);
    skin::TsMaskData e = Entry(RECT{0, 0, 3, 3}, 0);
    e.Bmp = MakeBitmap(3, 3, 32, kGlow, 0);
    model.Masks.push_back(std::move(e));

    auto picture = forms::BuildGlowPicture(model, 0, 4, 4);
    ExpectRing(*picture, kGlow, 255);
}

TEST(GlowPicture, ACutKeepsColourAndAlpha) {
    skin::TsSkinModel model;
    model.MasterBitmap = MakeBitmap(3, 6, 24, kGlow);
    for (int y = 3; y < 6; ++y)
        for (int x = 0; x < 3; ++x) SetPx(*model.MasterBitmap, x, y, Rgb(128, 128, 128));
    model.Masks.push_back(Entry(RECT{0, 0, 3, 6}, 1));
    auto picture = forms::BuildGlowPicture(model, 0, 10, 8);

    auto part = forms::CutGlowPicture(*picture, 1, 2, 9, 6);
    ASSERT_TRUE(part);
    ASSERT_EQ(part->Width(), 9);
    ASSERT_EQ(part->Height(), 6);
    // (0, 0) of the part is (1, 2) of the picture: inside the ring.
    EXPECT_EQ(Alpha(*part, 0, 0), 0);
    // Its right column is the picture's right edge, its bottom row the bottom edge.
    EXPECT_EQ(Px(*part, 8, 0), Rgb(25, 50, 100));
    EXPECT_EQ(Alpha(*part, 8, 0), 127);
    EXPECT_EQ(Px(*part, 3, 5), Rgb(25, 50, 100));
    EXPECT_EQ(Alpha(*part, 3, 5), 127);
}

}  // namespace

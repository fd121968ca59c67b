// The built-in button glyphs: five strips in their order, and the file glyph's magnifying
// glass only in the hot and pressed states.
#include <gtest/gtest.h>

#include "shell/edit_glyphs.h"
#include "shell/glyph_art.h"

namespace {

using shell::EditGlyphs;

// Strongly blue pixels: the magnifying glass's rim.
int BluePixels(const shell::GlyphStrip& s, int state) {
    int n = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = state * 16; x < state * 16 + 16; ++x) {
            std::uint32_t p = s.Pixel(x, y);
            int a = p >> 24, r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            n += a > 128 && b > r + 60 && b > g + 30;
        }
    return n;
}

int OpaquePixels(const shell::GlyphStrip& s, int state) {
    int n = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = state * 16; x < state * 16 + 16; ++x) n += (s.Pixel(x, y) >> 24) > 0;
    return n;
}

TEST(EditGlyphs, FiveStripsOfThreeStates) {
    const char* names[] = {"SF", "SR", "SD", "SE", "SC"};
    ASSERT_EQ(EditGlyphs().size(), 5u);
    for (int i = 0; i < 5; ++i) {
        const shell::GlyphStrip& s = EditGlyphs()[static_cast<std::size_t>(i)];
        EXPECT_EQ(s.name, names[i]);
        EXPECT_EQ(shell::EditGlyphIndex(names[i]), i);
        EXPECT_EQ(s.width, 48);
        EXPECT_EQ(s.height, 16);
        ASSERT_EQ(s.bgra.size(), 48u * 16u * 4u);
        for (int state = 0; state < 3; ++state) EXPECT_GT(OpaquePixels(s, state), 10) << names[i] << " state " << state;
        EXPECT_EQ(s.Pixel(0, 0) >> 24, 0u) << names[i] << ": the background is clear";
    }
    EXPECT_EQ(shell::EditGlyphIndex("XX"), -1);
}

TEST(EditGlyphs, FileGlyphIsABlankPageWithTheGlassWhenHotOrPressed) {
    const shell::GlyphStrip& sf = EditGlyphs()[shell::kGlyphFile];
    EXPECT_EQ(BluePixels(sf, 0), 0);
    EXPECT_GT(BluePixels(sf, 1), 10);
    EXPECT_GT(BluePixels(sf, 2), 10);
    EXPECT_EQ(sf.Pixel(6, 8), 0xFFFFFFFFu) << "white paper in the middle of the page";
}

}  // namespace

namespace {

// The program loads its glyphs from PNG pictures compiled in; they must be the drawing, pixel
// for pixel (run scripts/make_glyphs.sh after changing the art).
TEST(EditGlyphs, EmbeddedPicturesAreTheDrawing) {
    std::vector<shell::GlyphStrip> drawn = shell::DrawGlyphArt();
    const std::vector<shell::GlyphStrip>& loaded = shell::EditGlyphs();
    ASSERT_EQ(loaded.size(), drawn.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(loaded[i].name, drawn[i].name);
        EXPECT_EQ(loaded[i].width, drawn[i].width);
        EXPECT_EQ(loaded[i].height, drawn[i].height);
        EXPECT_TRUE(loaded[i].bgra == drawn[i].bgra) << drawn[i].name;
    }
}

}  // namespace

// Font faces outlive a font made and deleted at each paint: asked again, the request finds the
// same face (its glyphs rendered once), while a different request gets a face of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/gdi/font_faces.h"

namespace {

using platform::gdi::FontFace;

LOGFONT Request(const char* face, LONG height) {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", face);
    return lf;
}

TEST(FontFaceCache, ARequestMadeAgainAfterItsFontWentFindsTheSameFaceAndGlyphs) {
    const LOGFONT lf = Request("DejaVu Sans", -13);
    std::weak_ptr<FontFace> first;
    const platform::gdi::Glyph* glyph = nullptr;
    {
        std::shared_ptr<FontFace> face = FontFace::ForLogFont(lf);
        first = face;
        glyph = &face->GlyphFor('A');
        ASSERT_GT(glyph->width, 0);
    }  // the font's last holder is gone, as after a paint
    ASSERT_FALSE(first.expired());
    std::shared_ptr<FontFace> again = FontFace::ForLogFont(lf);
    EXPECT_EQ(again, first.lock());
    EXPECT_EQ(&again->GlyphFor('A'), glyph);
}

TEST(FontFaceCache, OtherRequestsGetFacesOfTheirOwnAndOldOnesAreLetGo) {
    std::shared_ptr<FontFace> small = FontFace::ForLogFont(Request("DejaVu Sans", -11));
    std::shared_ptr<FontFace> large = FontFace::ForLogFont(Request("DejaVu Sans", -20));
    EXPECT_NE(small.get(), large.get());
    EXPECT_LT(small->Height(), large->Height());
    // Many sizes later the first face is held only by this test: the cache keeps a few.
    for (LONG h = -30; h > -70; --h) FontFace::ForLogFont(Request("DejaVu Sans", h));
    EXPECT_EQ(small.use_count(), 1);
}

}  // namespace

// Drawing a speed button's glyph into its image: 32-bit glyphs mixed by their alpha (less a
// Blend percentage), 24-bit ones around the key colour of their bottom-left pixel, state
// frames side by side.
#pragma once

#include "framework/graphic.h"

namespace paint {

struct TsGlyphLook {
    int frames = 1;        // NumGlyphs; below 1 counts as 1
    int paintState = 0;    // 0 normal, 1 hot, 2 pressed
    bool down = false;     // a pressed frame of a down button is frame 3
    bool enabled = true;
    int blend = 0;         // percent of transparency in state 0; clamped to 0..100
    bool gray = false;     // the frame is made grey first
    bool disabledBlend = false;  // disabled look mixes at half strength (at least 50 for alpha)
    bool reflected = false;      // a mirrored copy fades out below the glyph
};

// Frame width of a glyph strip of frames frames (never a division by 0).
int GlyphFrameWidth(const framework::TBitmap& glyph, int frames);
// A 32-bit glyph with at least one pixel of alpha 255; others are drawn as 24-bit.
bool HasOwnAlpha(const framework::TBitmap& glyph);
// The frame a glyph of look.frames frames shows.
int GlyphFrameIndex(const framework::TBitmap& glyph, const TsGlyphLook& look);

// Draws the glyph's frame with its top-left corner at (x, y) of dst (24-bit); clipped to dst.
void DrawButtonGlyph(framework::TBitmap& dst, const framework::TBitmap& glyph, int x, int y, const TsGlyphLook& look);

}  // namespace paint

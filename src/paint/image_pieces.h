// Pieces of skin pictures: through their mask half, around a key colour, and whole state
// frames of an image entry.
#pragma once

#include "framework/graphic.h"
#include "paint/bg_source.h"
#include "skin/skin_model.h"

namespace paint {

// Copies the overlap of dstRect in bmp and srcRect in image through the mask half of entry
// (the mask pixel lies half the height of R below its image pixel): each channel becomes
// ((d - s) * m + s * 256) >> 8. TransparentColor pixels take the background when
// useParentBg is set, else stay (a ready background mixes them like any other pixel).
void CopyMasked(framework::TBitmap& bmp, RECT dstRect, RECT srcRect, const skin::TsMaskData& entry, bool useParentBg,
                const TsBgSource& bg, const framework::TBitmap& image);

// Covers area of bmp with copies of the piece (sx, sy, pw, ph) of image laid from area's
// top left, each through the mask half of entry like CopyMasked without a background (key
// colour pixels stay). Each destination row is walked once, against the piece's row spread
// across it. Returns false, drawing nothing, when the piece is not wholly inside the image's
// picture half.
bool CopyMaskedTiled(framework::TBitmap& bmp, RECT area, int sx, int sy, int pw, int ph,
                     const skin::TsMaskData& entry, const framework::TBitmap& image);

// Copies srcRect of image (right and bottom inclusive) to (x, y) of bmp, leaving out pixels
// of the key colour: those take the background pixel (useParentBg and a ready background
// with a bitmap other than bmp), stay (another ready background) or take bg.FillColor.
void CopyKeyed(framework::TBitmap& bmp, const framework::TBitmap& image, int x, int y, bool useParentBg,
               const TsBgSource& bg, TColor key, RECT srcRect);

// Draws state frame min(state, ImageCount - 1) of entry with its top-left corner at p.
// Mode 1 draws at full strength; other modes draw masked entries fainter and plain entries
// of the master bitmap at half strength.
void DrawImageFrame(framework::TBitmap& bmp, POINT p, int state, const TsBgSource& bg, const skin::TsSkinModel& model,
                    int maskIndex, int mode);

}  // namespace paint

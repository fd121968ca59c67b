// The picture of a glow window: the glow entry's nine-part frame around the control, with
// premultiplied alpha as the layered window takes it, and nothing over the control itself.
#pragma once

#include <memory>

#include "framework/graphic.h"
#include "skin/skin_model.h"

namespace forms {

// A width x height 32-bit picture of entry entryIndex drawn with DrawBorderMask (state 0, no
// centre). The frame pieces keep how strongly they cover what lies beneath:
// - an own 32-bit picture with defined alpha keeps its alpha;
// - an entry with a mask half covers by its mask (a mask byte m leaves 255 - m, the channel
//   with the least mask deciding);
// - any other pixel covers fully;
// and see-through (key colour) pixels cover nothing. Colours are premultiplied by that alpha.
// Pixels no piece reaches (the centre) are 0: black and fully transparent. Null when the
// size is not positive.
std::unique_ptr<framework::TBitmap> BuildGlowPicture(const skin::TsSkinModel& model, int entryIndex,
                                                     int width, int height);

// The part of picture from (x, y) on, width x height, copied with its alpha.
std::unique_ptr<framework::TBitmap> CutGlowPicture(framework::TBitmap& picture, int x, int y,
                                                   int width, int height);

}  // namespace forms

// The master bitmap: every picture with its states side by side and, below them, a mask row
// that says how much of what lies beneath shows through each pixel. Places the pictures on
// shelves and writes the option values that name their rectangles.
#pragma once

#include <string>
#include <vector>

#include "raster.h"

namespace skinart {

// Frame widths of a nine-piece frame.
struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class Atlas {
  public:
    explicit Atlas(int width) : width_(width) {}

    // A frame image ("^" value): states of equal size, drawn in nine pieces with margins.
    std::string AddFrame(const std::vector<Picture>& states, Margins m, int drawMode,
                         int borderWidth = 0);
    // A glyph ("@" value): states of equal size drawn whole.
    std::string AddGlyph(const std::vector<Picture>& states);

    // The master bitmap: see-through pixels are $FF00FF, the mask row is grey.
    Picture Compose() const;

  private:
    struct Item {
        int x, y;
        std::vector<Picture> states;
        Margins corners;  // frames: the corner pieces, whose clear pixels must not show the parent
    };
    // Reserves a w x h cell and returns its top-left corner.
    void Place(int w, int h, int& x, int& y);

    int width_;
    int shelfX_ = 0, shelfY_ = 0, shelfH_ = 0;
    std::vector<Item> items_;
};

// The 24-bit pixel a straight-alpha pixel becomes in the master bitmap, and its mask grey.
// Corner pieces of frames show the parent through every see-through pixel, so a clear pixel
// inside the outline is written there as black under a mask that keeps what is beneath.
Rgba ImagePixel(Rgba c, bool inCorner);
Rgba MaskPixel(Rgba c);

}  // namespace skinart

// The picture behind a whole popup menu: the "MAINMENU" fill, the icon line and the frame,
// shared by every item the popup draws.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/graphic.h"
#include "skin/skin_model.h"

namespace forms {

struct MenuBackgroundSpec {
    SIZE size{};              // the popup window's size
    int extraLine = 0;        // width of the vertical extra line left of the icon line
    int skinBorderWidth = 0;  // the skin frame's width
    int iconLineWidth = 0;    // margin + glyph column + spacing
    std::string iconLineSection;
};

// Paints the popup background and refills `corners` with the frame's see-through corner
// pixels (top corners from row 0, bottom corners from the frame's bottom rows). Without
// "MAINMENU" the picture is the platform's menu colour.
std::unique_ptr<framework::TBitmap> PaintMenuBackground(const skin::TsSkinModel& model,
                                                        const MenuBackgroundSpec& spec,
                                                        std::vector<RECT>& corners);

}  // namespace forms

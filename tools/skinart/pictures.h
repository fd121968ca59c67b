// The pictures of a skin, drawn from a palette: glass plates for frames, symbols for glyphs,
// and soft halos for glows. Each returns its states left to right.
#pragma once

#include <vector>

#include "atlas.h"
#include "palette.h"
#include "raster.h"

namespace skinart {

// A rounded glass plate of the given size: outline, 1-pixel inner edge, gloss over the top
// rows, a tint over the inside and an optional indicator line near the bottom.
struct PlateStyle {
    double radius = 4;
    bool squareBottom = false;  // the plate goes on below the picture (title band)
    Rgba outline;
    Rgba edgeTop, edgeBottom;  // inner edge, top and bottom colour
    Rgba gloss;                // white over the top rows, fading to nothing
    int glossRows = 0;
    Rgba tintTop, tintBottom;  // over the whole inside
    Rgba indicator;            // 2-pixel line near the bottom
    int sink = 0;              // pressed: the gloss moves down by this many pixels
};
Picture Plate(int w, int h, const PlateStyle& s);

// Frame margins for a plate whose whole height is in the top and bottom pieces, so that any
// vertical shading tiles only sideways; width is 2 * side + 1.
Margins TallMargins(int side, int height);

enum class Button { Toggle, Round, Small };
std::vector<Picture> ButtonStates(const Palette& p, Button kind, int w, int h);
std::vector<Picture> EditStates(const Palette& p);
std::vector<Picture> CheckBoxHotStates(const Palette& p);
std::vector<Picture> CardFrame(const Palette& p);
std::vector<Picture> FormFrame(const Palette& p);
std::vector<Picture> TitleFrame(const Palette& p);
std::vector<Picture> CaptionPlate(const Palette& p);
std::vector<Picture> StatusFrame(const Palette& p);
std::vector<Picture> DividerFrame(const Palette& p);
std::vector<Picture> MenuFrame(const Palette& p);
std::vector<Picture> MenuItemFrame(const Palette& p);
std::vector<Picture> MenuDivider(const Palette& p);

enum class Box { Unchecked, Checked, Grayed };
std::vector<Picture> BoxGlyph(const Palette& p, Box kind);
std::vector<Picture> MenuCheck(const Palette& p);
std::vector<Picture> Grip(const Palette& p);

enum class TitleIcon { Minimize, Maximize, Restore, Close, CloseAlone };
std::vector<Picture> TitleButton(const Palette& p, TitleIcon icon);
// The hot button with a halo around it, margin pixels wide on every side.
Picture TitleButtonGlow(const Palette& p, TitleIcon icon, int margin);
// A halo frame picture for a control with corners of the given radius, reaching `spread`
// pixels out from the control's box, which it does not overlap: the picture is 2 * spread + 1
// square and its centre pixel stands for the whole control. Its corner pieces lie wholly
// outside the box; they are laid over `backdrop` and made opaque, because the engine copies a
// frame's corner pieces without their alpha.
Picture Halo(const Palette& p, int radius, int spread, std::uint32_t backdrop);

// Sizes shared by the pictures and the options text.
constexpr int kTitleButtonHeight = 16;
constexpr int kTitleButtonWidth = 26;
constexpr int kCloseButtonWidth = 40;

}  // namespace skinart

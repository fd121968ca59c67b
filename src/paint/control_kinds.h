// The kinds of control a skin binding serves, the three sets of kinds that steer hover, glow
// and frame painting, and the section a kind takes when none is named.
#pragma once

#include <string_view>

namespace paint {

// Kinds used by this program's controls.
enum TsControlKind : int {
    ckEdit = 3,
    ckCheckBox = 32,
    ckPanel = 51,
    ckGroupBox = 74,
    ckSpeedButton = 92,
    ckFileNameEdit = 138,
    ckStatusBar = 151,
    ckFormProvider = 224,
};

// Set A: containers without a hover state.
bool HasNoHoverState(int kind);
// Set B: never glow.
bool HasNoGlow(int kind);
// Set C: frame drawn in the non-client area, repainted on focus and hover changes.
bool PaintsFrameOutside(int kind);

// The section of a kind, or an empty view for kinds without one (those take the class name
// of the control).
std::string_view DefaultSectionOf(int kind);

}  // namespace paint

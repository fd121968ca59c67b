// The skin command message: the command in the high word of wParam, a flag in the low word,
// the argument (for announcements, the announcing manager) in lParam.
#pragma once

#include "platform/window.h"

namespace skin {

constexpr UINT SM_SKINCMD = 0xA100;

enum TsSkinCommand : WORD {
    scNewSkin = 1,      // a skin has been loaded and is to be taken over
    scRemoveSkin = 2,   // the skin is removed; back to the plain look
    scRefresh = 3,      // the same skin is to be repainted (after a colour change)
    scIsSkinned = 7,    // answer 1 when the window handles skin commands itself
    scStopFading = 16,  // running fade animations are to end before a repaint
    scAppActivate = 18,
    scMouseEnter = 29,  // sent to the window that becomes the hot control
    scMouseLeave = 30,
};

constexpr WPARAM SkinCommandWParam(WORD command, WORD flag = 0) {
    return static_cast<WPARAM>(command) << 16 | flag;
}
constexpr WORD SkinCommandOf(WPARAM wParam) { return static_cast<WORD>(wParam >> 16); }

}  // namespace skin

// The skin command message: the command in the high word of wParam, a flag in the low word,
// the argument (for announcements, the announcing manager) in lParam. Every code with a name
// is listed here once; controls, the form provider and the manager use these names only.
#pragma once

#include "platform/window.h"

namespace skin {

constexpr UINT SM_SKINCMD = 0xA100;

enum TsSkinCommand : WORD {
    scNewSkin = 1,            // a skin was loaded and is to be taken over (lParam = manager)
    scRemoveSkin = 2,         // skinning ends; back to the plain look (lParam = manager)
    scRefresh = 3,            // repaint with the current skin (lParam = manager)
    scGetProvider = 4,        // asked of a form: Result = its skin provider
    scParentPainted = 6,      // the parent has finished painting; children may paint now
    scIsSkinned = 7,          // Result 1 when the window handles skin commands itself
    scSetUpdating = 8,        // paint lock on (lo 1) or off (lo 0)
    scSetForceRepaint = 9,    // the control counts as depending on its position (lo 1)
    scIsPreparing = 10,       // Result non-zero while the control's image is out of date
    scGetHalfVisible = 11,    // Result = the last paint covered only part of the control
    scParentBgChanged = 12,   // the parent's background changed (lo 1)
    scSectionChanged = 13,    // a section was changed at run time
    scStopFading = 16,        // running fade animations are to end before a repaint
    scInvalidateCache = 17,   // the control's image must be painted again
    scAppActivate = 18,       // the application was activated
    scIsComplexBg = 19,       // Result 1 when the background needs a cached image
    scBgChanged = 20,         // the background changed (lo 1: invalidate the window)
    scGetColor = 21,          // Result = the plain colour the control offers its children
    scSetHalfVisible = 22,    // the control is partly hidden
    scControlCreated = 25,    // a control announces itself to its form (lParam = the control)
    scGetSkinIndex = 26,      // writes the section index to the int that lParam points at
    scMouseEnter = 29,        // sent to the window that becomes the hot control
    scMouseLeave = 30,        // sent to the window that stops being the hot control
    scBeginAnimation = 31,    // an animation of the control starts
    scEndAnimation = 32,      // that animation ends
    scGetBg = 34,             // background query: lParam points at a TsBgQuery
    scGetOpacity = 36,        // lParam 1: recompute the opacity flags; else Result = the flags
    scGetApplication = 60,    // Result = the application object
};

constexpr WPARAM SkinCommandWParam(WORD command, WORD flag = 0) {
    return static_cast<WPARAM>(command) << 16 | flag;
}
constexpr WORD SkinCommandOf(WPARAM wParam) { return static_cast<WORD>(wParam >> 16); }
constexpr WORD SkinCommandFlag(WPARAM wParam) { return static_cast<WORD>(wParam & 0xFFFF); }

}  // namespace skin

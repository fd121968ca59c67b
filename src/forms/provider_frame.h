// The window image of a skinned form: one window-sized picture of the frame, the title bar
// (icon, caption, added title) and the client background. The frame is copied from it to the
// screen in four strips, and children cut their backgrounds out of it.
#pragma once

#include <functional>
#include <string>

#include "forms/provider_metrics.h"
#include "framework/graphic.h"
#include "paint/common_data.h"
#include "paint/glow_text.h"

namespace forms {

// Text drawn after the caption in a font of its own.
struct TacAddedTitle {
    TacAddedTitle();
    std::string Text;
    framework::TFont Font;
};

// Everything a rebuild of the window image reads.
struct TsFrameLook {
    framework::TCustomForm* Form = nullptr;
    paint::TsCommonData* Data = nullptr;  // the "FORM" binding; its CacheBmp is the image
    TsFrameMetrics Metrics;
    bool Active = false;
    int TitleIndex = -1;  // title section, -1 without one
    std::string TitleName;
    int CaptionIndex = -1;  // "CAPTION" section, -1 without one
    bool ShowIcon = true;   // ShowAppIcon and a system menu
    framework::TAlignment Alignment = framework::TAlignment::taLeftJustify;
    const TacAddedTitle* Added = nullptr;
    int ButtonsWidth = 0;  // width of the title button area
    framework::TColor PlainColor = 0;
    paint::GlowMask* GlowCache = nullptr;  // of the current state
    // The title button layer's part: the strip behind the buttons (before the caption) and
    // the buttons themselves (last).
    std::function<void(framework::TBitmap&)> PaintTitleStrip;
    std::function<void(framework::TBitmap&)> PaintButtons;
};

// The section state for the active flag.
inline int FrameState(bool active) {
    return active ? paint::kStateHot : paint::kStateNormal;
}

// Sizes and paints the image (look.Data->CacheBmp, created when missing).
void PaintWindowImage(const TsFrameLook& look);
// The icon is drawn for single and sizeable borders with ShowIcon.
bool DrawsIcon(const TsFrameLook& look);
// The caption text's rectangle in the image (no added title).
RECT CaptionTextRect(const TsFrameLook& look, framework::TCanvas& canvas);
// Sets canvas's font to the system caption font with the charset of the form's font.
void SelectCaptionFont(framework::TCanvas& canvas, framework::TCustomForm& form);

}  // namespace forms

// The vertical extra line along a popup's left edge (the manager's MenuSupport.UseExtraLine):
// a strip painted from its own section, an optional glyph near its bottom and a caption that
// reads upwards from above the glyph.
//
// Decision for our platform: the platform's text has no escapement, so the caption is written
// level into a picture of the strip's pixels turned a quarter, and turned back.
#pragma once

#include <memory>
#include <string>

#include "framework/graphic.h"
#include "framework/graphics_objects.h"
#include "framework/menus.h"
#include "skin/skin_model.h"

namespace skin {
class TsSkinManager;
}

namespace forms {

constexpr const char* kExtraLineSection = "EXTRALINE";
constexpr const char* kExtraLineCaption = "Use OnGetExtraLineData event";
// A popup whose first item has this name never shows the line.
constexpr const char* kSkinSelectItem = "SkinSelectItem";
constexpr int kExtraLineGlyphGap = 12;    // glyph bottom above the strip's bottom
constexpr int kExtraLineCaptionGap = 20;  // caption start above the bottom, plus the glyph
constexpr int kExtraLineBareGap = 12;     // caption start above the bottom without a glyph

struct ExtraLineData {
    std::string section = kExtraLineSection;
    std::string caption = kExtraLineCaption;
    std::unique_ptr<framework::TBitmap> glyph;  // none when null
    bool shown = true;
};

// The line for the popup whose first item is `first`, as the manager's event leaves it: no
// "&" in the caption, no glyph when it does not show. Not re-entered while the event runs.
ExtraLineData PrepareExtraLine(skin::TsSkinManager& manager, framework::TMenuItem& first);

// Paints the line into bg at (border, border), `width` wide and as high as bg less two borders.
void PaintExtraLine(const skin::TsSkinModel& model, const ExtraLineData& line,
                    const framework::TFont& font, int width, int border, framework::TBitmap& bg);

}  // namespace forms

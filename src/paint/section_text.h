// Text in a section's font colours, text cut to a width, and the dotted focus frame.
#pragma once

#include <string>

#include "framework/canvas.h"
#include "skin/skin_model.h"

namespace paint {

// Writes text in the colours of section `sectionIndex`: when enabled, the outline copies
// (left, top, right, bottom; colour -1 = none) and then the text; when disabled, once in a
// colour 40 % of the way from the font colour to the section colour. `flags` are DrawText
// flags. Nothing happens without a model or with an index outside its sections.
void WriteSectionText(framework::TCanvas& canvas, const std::string& text, bool enabled,
                      const skin::TsSkinModel* model, bool hot, int sectionIndex, UINT flags, RECT rect);

// The text itself when it fits in width pixels; otherwise as many leading characters as fit
// followed by "...", or an empty text when none fits.
std::string TruncateText(framework::TCanvas& canvas, const std::string& text, int width);

// Dotted frame: black dots every third pixel on the lines, white ones up and left of them.
// Right and bottom are the pixel positions of the lines.
void DrawDottedFocusRect(framework::TCanvas& canvas, const RECT& rect);

}  // namespace paint

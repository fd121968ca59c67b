// The browse button inside a combo edit: a skinned speed button of section
// "SPEEDBUTTON_SMALL", as wide as its 16-pixel glyph, whose three looks (normal, hot, pressed)
// come from a built-in glyph strip and fade on entering and leaving; its click goes to the edit.
//
// Decisions:
// - At rest the button is its glyph over the edit's own image, taken at the button's place in
//   the window; hot and pressed it shows the section's plate. Its own paint, the edit's paint
//   and the edit's print all give the same image for a state, so a repainted frame never
//   swaps a hot button back to the resting look.
// - Without a skin the button keeps its own flat look: the edit's colour, an edge while hot
//   or pressed, and the glyph.
#pragma once

#include <array>

#include "paint/speed_button.h"

namespace shell {

class TsCustomComboEdit;

class TsEditButton : public paint::TsSpeedButton {
  public:
    explicit TsEditButton(TsCustomComboEdit* edit);
    TsCustomComboEdit* Edit() const { return edit_; }
    void Click() override;
    void PrepareCache() override;
    // Takes the glyph strip and its look from the edit's glyph mode when they changed.
    void TakeGlyph();

  protected:
    void Paint() override;

  private:
    void PrepareResting();
    void PaintUnskinned();
    TsCustomComboEdit* edit_;
    std::array<int, 3> glyphs_{-1, -1, -1};  // the strip of each state the glyph was built from
};

}  // namespace shell

// One glow: the entry it draws, how far it reaches into the control, and its window.
#pragma once

#include <memory>

#include "forms/glow_form.h"
#include "forms/glow_geometry.h"
#include "framework/graphic.h"
#include "skin/skin_model.h"

namespace forms {

class TacGlowEffect {
  public:
    TacGlowEffect(int entryIndex, int overlap) : entryIndex_(entryIndex), overlap_(overlap) {}
    TacGlowEffect(const TacGlowEffect&) = delete;
    TacGlowEffect& operator=(const TacGlowEffect&) = delete;
    // Closes the window at once. A glow window never handles input, so no handler of its own
    // can be running when a glow is closed, and the platform drops what is still queued for a
    // window that is gone: there is nothing to wait for before freeing the form.
    ~TacGlowEffect();

    int EntryIndex() const { return entryIndex_; }
    int Overlap() const { return overlap_; }
    TacGlowForm* GlowForm() const { return form_.get(); }

    // Makes and shows the window around box (the control on the screen), cut to visible (the
    // part of the control that can be seen, in its own coordinates), just above parent in the
    // z-order, with the entry of model. False when no window can be made (an empty placement);
    // nothing happens when the window exists already. The model is not kept: the layered
    // window holds the picture from then on.
    bool Show(const skin::TsSkinModel& model, const RECT& box, const RECT& visible, HWND parent);

  private:
    void Present(TacGlowForm& form, framework::TBitmap& picture, const TacGlowPlacement& p,
                 HWND parent);

    int entryIndex_;
    int overlap_;
    std::unique_ptr<TacGlowForm> form_;
};

}  // namespace forms

// The window of a glow: a borderless framework form with per-pixel alpha that never takes the
// mouse or the focus, so that everything beneath it works as if it were not there. Its own
// answers live in a form class of its own rather than in a window procedure put in front of a
// plain form's and taken away again on closing: the glow owns its form, so nothing else can
// have subclassed it in between.
#pragma once

#include "framework/form.h"

namespace forms {

// The tag by which the skin engine's adapters recognise a window they must leave alone.
constexpr int kGlowFormTag = -98;

class TacGlowForm : public framework::TCustomForm {
  public:
    // stayOnTop: the glow lies over a topmost form and must stay over it.
    explicit TacGlowForm(bool stayOnTop);

  protected:
    // The layered and tool-window styles are given at creation: the display picks a window with
    // an alpha channel when the window is made. WS_EX_TRANSPARENT is added to the answer
    // HTTRANSPARENT below, so that clicks pass to every window beneath, not only to windows of
    // this program (the real system, too, only lets a layered window with that style pass them
    // to other threads' windows). WS_EX_NOACTIVATE keeps it from ever taking the focus.
    void CreateParams(framework::TCreateParams& params) override;
    void WndProc(framework::TMessage& message) override;

  private:
    bool stayOnTop_;
};

}  // namespace forms

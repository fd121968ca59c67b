// The hover fade of one title button: a layered helper window over the button, shown with a
// constant alpha that grows step by step while the button is hot (10 steps), jumps to full
// while it is pressed (1 step), and shrinks again when it goes back to normal (10 steps).
// The window image under it keeps the normal button, so a fade never touches the frame.
#pragma once

#include <memory>

#include "forms/glow_form.h"
#include "framework/graphic.h"

namespace forms {

enum class TsButtonState { Normal = 0, Hot = 1, Pressed = 2 };

// Ticks of the fade timer.
constexpr unsigned kFadeIntervalMs = 12;
constexpr int kFadeInSteps = 10;
constexpr int kFadePressedSteps = 1;
constexpr int kFadeOutSteps = 10;

// The step counting of a fade, apart from any window: what each tick shows.
class TsFadeProgress {
  public:
    struct Step {
        int Alpha = -1;        // the alpha to show now; -1: show nothing new
        bool Poll = false;     // fully in: check whether the cursor is still on the button
        bool Done = false;     // fully out: the fade object goes
        bool Rebuild = false;  // the picture changes (pressed)
    };
    // Starts (or turns) the fade towards state; the first step to show at once.
    Step Start(TsButtonState state);
    Step Tick();
    // True while the timer must run.
    bool Running() const { return phase_ == Phase::In || phase_ == Phase::Out; }
    TsButtonState Target() const { return target_; }
    int Alpha() const { return AlphaAt(position_); }

  private:
    enum class Phase { None, In, Full, Out, Gone };
    int AlphaAt(int position) const;
    Phase phase_ = Phase::None;
    TsButtonState target_ = TsButtonState::Normal;
    int steps_ = kFadeInSteps;
    int position_ = 0;
};

// The fade object: its progress, the frame picture (32 bits, per-pixel alpha) and the helper
// window that shows it at a place on the screen.
class TsButtonFade {
  public:
    TsButtonFade() = default;
    TsButtonFade(const TsButtonFade&) = delete;
    TsButtonFade& operator=(const TsButtonFade&) = delete;
    ~TsButtonFade();

    TsFadeProgress& Progress() { return progress_; }
    // The picture and where it goes on the screen.
    void SetPicture(std::unique_ptr<framework::TBitmap> picture, const RECT& screen);
    const RECT& ScreenRect() const { return screen_; }
    // Shows the picture with constant alpha just above form (no activation).
    void Show(int alpha, HWND form);
    int ShownAlpha() const { return shown_; }
    HWND Window() const;

  private:
    TsFadeProgress progress_;
    std::unique_ptr<framework::TBitmap> picture_;
    std::unique_ptr<TacGlowForm> window_;
    RECT screen_{0, 0, 0, 0};
    int shown_ = -1;
};

}  // namespace forms

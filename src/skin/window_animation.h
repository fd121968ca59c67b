// The show and skin-change animation: a form's finished picture is brought onto the screen in
// a layered animation window, fading in or growing from the centre ("aero"), and only then is
// the real window unfrozen and let paint.
//
// Decisions for our platform:
// - Frames are driven by a 10 ms frame timer inside a local message loop, never by sleeping:
//   timers, paints and input are dispatched between frames, so an alarm due during an
//   animation still rings on time. WM_QUIT ends the animation early and is posted again.
// - The time is capped at kMaxAnimationTime; a longer one would keep a frozen form off the
//   screen for no benefit.
// - Without layered windows (X11 without a compositor) nothing is faked: the form is unfrozen
//   and redrawn at once.
// - A form hidden (or destroyed) while it animates ends the frames at once; a hidden one stays
//   hidden, although unfreezing gives its window the visible style back.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/form.h"
#include "framework/graphic.h"
#include "skin/skin_manager.h"

namespace skin {

constexpr std::uint16_t kMaxAnimationTime = 2000;
constexpr UINT kAnimationFrameMilliseconds = 10;
// The tag by which the engine's adapters recognise the animation window (GWLP_USERDATA).
constexpr LONG_PTR kAnimationWindowTag = -98;

// One frame as it was put on the screen.
struct TsAnimationFrame {
    int index = 0;                              // 0 ... count - 1
    int count = 0;                              // time div 10 + 1
    BYTE opacity = 0;                           // the animation window's constant opacity
    RECT picture{};                             // where the form's picture lies in the frame
    HWND window = nullptr;                      // the animation window
    std::int64_t milliseconds = 0;              // monotonic time when the frame was shown
    const framework::TBitmap* image = nullptr;  // the pixels shown, valid during the call
};
using TsAnimationObserver = std::function<void(const TsAnimationFrame&)>;
// Called for every frame shown; empty: none. For tests and diagnostics.
void SetAnimationObserver(TsAnimationObserver observer);

// Whether layered windows can be shown; null restores the platform's answer.
using TsLayeredQuery = bool (*)();
void SetLayeredQuery(TsLayeredQuery query);
// Whether AnimateWindowIn shows frames at all; without layered windows it only unfreezes.
bool LayeredAnimationAvailable();

// Brings the frozen form (WM_SETREDRAW 0) onto the screen over `time` milliseconds up to
// `target` opacity, then unfreezes and fully redraws it. AnimatingSkinChange is set meanwhile
// and cleared on every way out, exceptions included.
void AnimateWindowIn(framework::TCustomForm& form, std::uint16_t time, BYTE target,
                     TacAnimType mode);

}  // namespace skin

#include "forms/title_fade.h"

#include <algorithm>

#include "platform/gdi.h"

namespace forms {
namespace {

constexpr BLENDFUNCTION Blend(int alpha) {
    return BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
}

// The window directly above form in the z-order, after which the helper goes.
HWND InsertAfter(HWND form) {
    if (!form || !IsWindow(form)) return HWND_TOP;
    HWND above = GetWindow(form, GW_HWNDPREV);
    return above ? above : HWND_TOP;
}

bool IsTopmost(HWND window) {
    return window && (GetWindowLongPtr(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

}  // namespace

int TsFadeProgress::AlphaAt(int position) const {
    if (steps_ <= 0) return 255;
    return std::min(255 / steps_ * position, 255);
}

TsFadeProgress::Step TsFadeProgress::Start(TsButtonState state) {
    const bool fresh = phase_ == Phase::None || phase_ == Phase::Gone;
    Step s;
    switch (state) {
        case TsButtonState::Hot:
            target_ = state;
            position_ =
                fresh ? 1 : std::min(position_ * kFadeInSteps / std::max(steps_, 1), kFadeInSteps);
            steps_ = kFadeInSteps;
            phase_ = Phase::In;
            if (fresh) s.Alpha = AlphaAt(position_);
            return s;
        case TsButtonState::Pressed:
            target_ = state;
            steps_ = kFadePressedSteps;
            position_ = steps_;
            phase_ = Phase::Full;
            s.Alpha = AlphaAt(position_);
            s.Rebuild = true;
            return s;
        case TsButtonState::Normal:
            if (fresh) {
                s.Done = true;
                return s;
            }
            target_ = state;
            // Measured in the steps of the fade-out, whatever the fade was counting in.
            position_ = position_ * kFadeOutSteps / std::max(steps_, 1);
            steps_ = kFadeOutSteps;
            phase_ = Phase::Out;
            return s;
    }
    return s;
}

TsFadeProgress::Step TsFadeProgress::Tick() {
    Step s;
    switch (phase_) {
        case Phase::In:
            if (position_ < steps_) {
                s.Alpha = AlphaAt(++position_);
            } else {
                phase_ = Phase::Full;
                s.Alpha = 255;
            }
            return s;
        case Phase::Full:
            s.Poll = target_ == TsButtonState::Hot;
            return s;
        case Phase::Out:
            if (position_ > 0) {
                s.Alpha = AlphaAt(position_--);
            } else {
                phase_ = Phase::Gone;
                s.Done = true;
            }
            return s;
        case Phase::None:
        case Phase::Gone:
            s.Done = true;
            return s;
    }
    return s;
}

TsButtonFade::~TsButtonFade() = default;

void TsButtonFade::SetPicture(std::unique_ptr<framework::TBitmap> picture, const RECT& screen) {
    picture_ = std::move(picture);
    screen_ = screen;
}

HWND TsButtonFade::Window() const {
    return window_ && window_->HandleAllocated() ? window_->Handle() : nullptr;
}

void TsButtonFade::Show(int alpha, HWND form) {
    if (!picture_ || alpha < 0) return;
    const int w = picture_->Width(), h = picture_->Height();
    if (w <= 0 || h <= 0) return;
    // A picture larger than the target is centred on it.
    const POINT at{screen_.left - (w - (screen_.right - screen_.left)) / 2,
                   screen_.top - (h - (screen_.bottom - screen_.top)) / 2};
    if (!window_) {
        window_ = std::make_unique<TacGlowForm>(IsTopmost(form));
        window_->SetBounds(at.x, at.y, w, h);
    }
    HWND hw = window_->Handle();
    SetWindowPos(hw, InsertAfter(form), at.x, at.y, w, h,
                 SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    HDC screen = GetDC(nullptr);
    const SIZE size{w, h};
    const POINT origin{0, 0};
    const BLENDFUNCTION blend = Blend(alpha);
    UpdateLayeredWindow(hw, screen, &at, &size, picture_->Canvas().Handle(), &origin, 0, &blend,
                        ULW_ALPHA);
    ReleaseDC(nullptr, screen);
    if (!IsWindowVisible(hw)) {
        ShowWindow(hw, SW_SHOWNOACTIVATE);
        window_->SetVisible(true);
    }
    shown_ = alpha;
}

}  // namespace forms

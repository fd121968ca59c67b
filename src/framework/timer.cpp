#include "framework/timer.h"

namespace framework {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    window_ = std::make_unique<UtilityWindow>([this](TMessage& m) { HandleMessage(m); });
}

TTimer::~TTimer() {
    enabled_ = false;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    UpdateTimer();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    KillTimer(window_->Handle(), 1);
    if (interval_ != 0 && enabled_ && onTimer_) SetTimer(window_->Handle(), 1, interval_, nullptr);
}

void TTimer::HandleMessage(TMessage& m) {
    if (m.Msg == WM_TIMER) {
        if (onTimer_) onTimer_(this);
        return;
    }
    m.Result = DefWindowProc(window_->Handle(), m.Msg, m.WParam, m.LParam);
}

}  // namespace framework

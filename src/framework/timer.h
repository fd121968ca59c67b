// A component that calls OnTimer every Interval milliseconds while Enabled; ticks keep coming
// inside modal loops (menus, dialogs, message boxes).
#pragma once

#include <memory>

#include "framework/component.h"
#include "framework/utility_window.h"

namespace framework {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);

private:
    void UpdateTimer();
    void HandleMessage(TMessage& m);
    unsigned interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
    std::unique_ptr<UtilityWindow> window_;
};

}  // namespace framework

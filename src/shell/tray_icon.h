// A notification-area icon with a hint, turning the shell's mouse messages for it into
// component events; a right click can open a popup menu and a list of icons can animate.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/control.h"
#include "framework/graphic.h"
#include "framework/menus.h"
#include "framework/utility_window.h"
#include "platform/shell.h"

namespace shell {

using namespace framework;

// The message the shell sends to the utility window for mouse actions on the icon.
constexpr UINT TrayCallbackMessage = 0xB054;

// An ordered list of icons that reports every change.
class TIconList {
public:
    TIconList() = default;
    TIconList(const TIconList&) = delete;
    TIconList& operator=(const TIconList&) = delete;

    int Count() const { return static_cast<int>(icons_.size()); }
    const TIcon& Items(int index) const { return *icons_[static_cast<std::size_t>(index)]; }
    // Adds a copy of the icon; returns its index.
    int Add(const TIcon& icon);
    void Delete(int index);
    void Clear();
    void Assign(const TIconList& other);
    TNotifyEvent OnChange;

private:
    void Changed();
    std::vector<std::unique_ptr<TIcon>> icons_;
};

class TTrayIcon : public TComponent {
public:
    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    const TIcon& Icon() const { return icon_; }
    void SetIcon(const TIcon& value);
    TIconList& Icons() { return icons_; }
    void SetIcons(const TIconList& value) { icons_.Assign(value); }
    bool Animated() const { return animated_; }
    void SetAnimated(bool value);
    unsigned short Interval() const { return interval_; }
    void SetInterval(unsigned short value) { interval_ = value; }
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    // Whether the icon is in the notification area now: false while inactive, and when the
    // shell refused it (no tray is running).
    bool Added() const { return added_; }
    int AnimationFrame() const { return frame_; }
    HWND WindowHandle() const { return window_ ? window_->Handle() : nullptr; }

    TMouseEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    // The tray went away with the icon in it (no new tray took its place).
    TNotifyEvent OnTrayLost;

    void Loaded() override;

    // The hint as the shell shows it: the text before the first "|", at most 63 bytes, not
    // cut inside a UTF-8 character.
    static std::string TipText(const std::string& hint);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    virtual void FillNotifyData(NOTIFYICONDATAA& data);
    virtual void DoDblClick();
    virtual void DoClick(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoMouseMove(TShiftState shift, int x, int y);
    virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);

    void ShowIcon();
    void HideIcon();
    void UpdateIcon();

private:
    const TIcon* CurrentIcon() const;
    void HandleMessage(TMessage& m);
    void HandleMouse(UINT mouseMessage);
    bool PopupAtClick(int x, int y);
    bool ClickDefaultItem();
    void StartAnimationTimer();
    void StopAnimationTimer();
    void AdvanceFrame();
    void IconsChanged();

    std::unique_ptr<UtilityWindow> window_;
    NOTIFYICONDATAA data_{};
    bool active_ = true;
    bool enabled_ = true;
    bool added_ = false;
    bool leftClick_ = false;
    bool rightClick_ = false;
    std::string hint_;
    TIcon icon_;
    TIconList icons_;
    bool animated_ = false;
    unsigned short interval_ = 150;
    unsigned timerInterval_ = 0;
    int frame_ = 0;
    TPopupMenu* popupMenu_ = nullptr;
};

}  // namespace shell

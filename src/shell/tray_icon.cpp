#include "shell/tray_icon.h"

#include <algorithm>
#include <cstring>

#include "framework/application.h"
#include "framework/form.h"
#include "shell/file_names.h"

namespace shell {

namespace {
constexpr UINT_PTR kAnimationTimer = 1;

UINT TrayLostMessage() {
    static const UINT message = RegisterWindowMessage("UtrozvonTrayLost");
    return message;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessage("TaskbarCreated");
    return message;
}

TShiftState ModifierKeys() { return KeyboardShiftState() & (ssShift | ssAlt | ssCtrl); }

POINT CursorNow() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

}  // namespace

// --- TIconList ------------------------------------------------------------------------------

int TIconList::Add(const TIcon& icon) {
    auto copy = std::make_unique<TIcon>();
    copy->Assign(icon);
    icons_.push_back(std::move(copy));
    Changed();
    return Count() - 1;
}

void TIconList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    icons_.erase(icons_.begin() + index);
    Changed();
}

void TIconList::Clear() {
    if (icons_.empty()) return;
    icons_.clear();
    Changed();
}

void TIconList::Assign(const TIconList& other) {
    if (&other == this) return;
    icons_.clear();
    for (const auto& icon : other.icons_) {
        auto copy = std::make_unique<TIcon>();
        copy->Assign(*icon);
        icons_.push_back(std::move(copy));
    }
    Changed();
}

void TIconList::Changed() {
    if (OnChange) OnChange(nullptr);
}

// --- TTrayIcon ------------------------------------------------------------------------------

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner) {
    window_ = std::make_unique<UtilityWindow>([this](TMessage& m) { HandleMessage(m); });
    icons_.OnChange = [this](TObject*) { IconsChanged(); };
}

TTrayIcon::~TTrayIcon() {
    enabled_ = false;
    active_ = false;  // nothing may add the icon again on the way out
    icons_.OnChange = nullptr;
    SetAnimated(false);
    HideIcon();
    window_.reset();
}

std::string TTrayIcon::TipText(const std::string& hint) {
    // The tip holds 63 bytes and its zero; the cut falls between characters.
    constexpr std::size_t kMax = sizeof(NOTIFYICONDATAA::szTip) - 1;
    return CutUtf8(hint.substr(0, hint.find('|')), kMax);
}

void TTrayIcon::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (Loading()) return;
    if (value) ShowIcon();
    else HideIcon();
}

void TTrayIcon::SetHint(const std::string& value) {
    if (value == hint_) return;
    hint_ = value;
    UpdateIcon();
}

void TTrayIcon::SetIcon(const TIcon& value) {
    icon_.Assign(value);
    UpdateIcon();
}

void TTrayIcon::SetAnimated(bool value) {
    if (value && icons_.Count() == 0) value = false;
    if (value == animated_) return;
    animated_ = value;
    frame_ = 0;
    if (animated_ && added_) StartAnimationTimer();
    else StopAnimationTimer();
    UpdateIcon();
}

void TTrayIcon::SetPopupMenu(TPopupMenu* menu) {
    if (menu == popupMenu_) return;
    if (popupMenu_) RemoveFreeNotification(popupMenu_);
    popupMenu_ = menu;
    if (menu) FreeNotification(menu);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TTrayIcon::Loaded() {
    TComponent::Loaded();
    if (active_) ShowIcon();
}

const TIcon* TTrayIcon::CurrentIcon() const {
    if (animated_ && icons_.Count() > 0) return &icons_.Items(std::clamp(frame_, 0, icons_.Count() - 1));
    return &icon_;
}

void TTrayIcon::FillNotifyData(NOTIFYICONDATAA& data) {
    data = NOTIFYICONDATAA{};
    data.cbSize = sizeof data;
    data.hWnd = WindowHandle();
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayCallbackMessage;
    const TIcon* icon = CurrentIcon();
    data.hIcon = icon ? icon->Handle() : nullptr;
    std::string tip = TipText(hint_);
    std::memcpy(data.szTip, tip.c_str(), tip.size() + 1);
}

void TTrayIcon::ShowIcon() {
    HideIcon();
    const TIcon* icon = CurrentIcon();
    if (!icon || icon->Empty()) return;
    leftClick_ = rightClick_ = false;
    FillNotifyData(data_);
    added_ = Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
    if (added_ && animated_) StartAnimationTimer();
}

void TTrayIcon::HideIcon() {
    if (window_) {
        NOTIFYICONDATAA d{};
        d.cbSize = sizeof d;
        d.hWnd = WindowHandle();
        d.uID = 0;
        Shell_NotifyIconA(NIM_DELETE, &d);
    }
    added_ = false;
    leftClick_ = rightClick_ = false;
    if (animated_) StopAnimationTimer();
}

void TTrayIcon::UpdateIcon() {
    if (icons_.Count() == 0 && animated_) {
        animated_ = false;
        frame_ = 0;
        StopAnimationTimer();
    }
    if (added_) {
        const TIcon* icon = CurrentIcon();
        if (!icon || icon->Empty()) {
            HideIcon();
            return;
        }
        FillNotifyData(data_);
        Shell_NotifyIconA(NIM_MODIFY, &data_);
    } else if (active_ && !Loading() && window_) {
        ShowIcon();
    }
}

void TTrayIcon::IconsChanged() { UpdateIcon(); }

// The frame advance runs on a timer of the utility window, so every shell call stays on the
// GUI thread.
void TTrayIcon::StartAnimationTimer() {
    if (!window_) return;
    timerInterval_ = std::max<unsigned>(1, interval_);
    SetTimer(WindowHandle(), kAnimationTimer, timerInterval_, nullptr);
}

void TTrayIcon::StopAnimationTimer() {
    if (window_) KillTimer(WindowHandle(), kAnimationTimer);
    timerInterval_ = 0;
}

void TTrayIcon::AdvanceFrame() {
    if (!added_ || !animated_ || icons_.Count() == 0) {
        StopAnimationTimer();
        return;
    }
    // A changed Interval takes effect from the next pause on.
    if (std::max<unsigned>(1, interval_) != timerInterval_) StartAnimationTimer();
    frame_ = frame_ + 1 >= icons_.Count() ? 0 : frame_ + 1;
    UpdateIcon();
}

void TTrayIcon::HandleMessage(TMessage& m) {
    if (m.Msg == TrayCallbackMessage && enabled_) {
        HandleMouse(static_cast<UINT>(m.LParam));
        return;
    }
    if (m.Msg == WM_TIMER && m.WParam == kAnimationTimer) {
        AdvanceFrame();
        return;
    }
    if (m.Msg == TrayLostMessage()) {
        // The icon went with the tray; whoever relied on it to come back must know.
        bool had = added_;
        added_ = false;
        StopAnimationTimer();
        if (had && OnTrayLost) OnTrayLost(this);
        return;
    }
    if (m.Msg == TaskbarCreatedMessage()) {
        // A new tray knows none of the old icons.
        added_ = false;
        if (active_ && !Loading()) ShowIcon();
        return;
    }
    m.Result = DefWindowProc(WindowHandle(), m.Msg, m.WParam, m.LParam);
}

void TTrayIcon::HandleMouse(UINT mouseMessage) {
    // Messages already queued for an icon that has been removed since (the second half of a
    // double click that brought the window back, say) belong to no icon.
    if (!added_) return;
    POINT p = CursorNow();
    TShiftState shift = ModifierKeys();
    using enum TMouseButton;
    switch (mouseMessage) {
    case WM_MOUSEMOVE: DoMouseMove(shift, p.x, p.y); break;
    case WM_LBUTTONDOWN:
        DoMouseDown(mbLeft, shift | ssLeft, p.x, p.y);
        leftClick_ = true;
        break;
    case WM_LBUTTONUP:
        if (leftClick_) {
            leftClick_ = false;
            DoClick(mbLeft, shift | ssLeft, p.x, p.y);
        }
        DoMouseUp(mbLeft, shift | ssLeft, p.x, p.y);
        break;
    case WM_LBUTTONDBLCLK:
        DoDblClick();
        DoMouseDown(mbLeft, shift | ssDouble, p.x, p.y);
        break;
    case WM_RBUTTONDOWN:
        DoMouseDown(mbRight, shift | ssRight, p.x, p.y);
        rightClick_ = true;
        break;
    case WM_RBUTTONUP:
        if (rightClick_) {
            rightClick_ = false;
            DoClick(mbRight, shift | ssRight, p.x, p.y);
        }
        DoMouseUp(mbRight, shift | ssRight, p.x, p.y);
        break;
    case WM_RBUTTONDBLCLK: DoMouseDown(mbRight, shift | ssDouble, p.x, p.y); break;
    case WM_MBUTTONDOWN: DoMouseDown(mbMiddle, shift | ssMiddle, p.x, p.y); break;
    case WM_MBUTTONUP: DoMouseUp(mbMiddle, shift | ssMiddle, p.x, p.y); break;
    case WM_MBUTTONDBLCLK: DoMouseDown(mbMiddle, shift | ssDouble, p.x, p.y); break;
    default: break;
    }
}

void TTrayIcon::DoClick(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbRight && PopupAtClick(x, y)) return;
    if (OnClick) OnClick(this, button, shift, x, y);
}

void TTrayIcon::DoDblClick() {
    if (ClickDefaultItem()) return;
    if (OnDblClick) OnDblClick(this);
}

void TTrayIcon::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TTrayIcon::DoMouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TTrayIcon::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

bool TTrayIcon::ClickDefaultItem() {
    if (!popupMenu_) return false;
    TMenuItem* items = popupMenu_->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* item = items->Items(i);
        if (item->Default && item->Enabled) {
            item->Click();
            return true;
        }
    }
    return false;
}

bool TTrayIcon::PopupAtClick(int x, int y) {
    if (!active_ || !popupMenu_ || !popupMenu_->AutoPopup) return false;
    popupMenu_->PopupComponent = this;
    TCustomForm* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(GetActiveWindow()));
    if (!form && Application) form = Application->MainForm();
    if (form) form->Perform(CM_CANCELMODE);
    HWND own = WindowHandle();
    // Our window in front lets a click elsewhere close the menu.
    auto toFront = [own] {
        if (IsWindow(own) && IsWindowEnabled(own)) SetForegroundWindow(own);
    };
    toFront();
    if (Application) Application->ProcessMessages();
    try {
        popupMenu_->Popup(x, y);
    } catch (...) {
        toFront();
        throw;
    }
    toFront();
    return true;
}

}  // namespace shell

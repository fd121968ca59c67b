#include "framework/form.h"

#include "framework/application.h"

namespace framework {

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    ControlStyle |= csAcceptsControls;
    SetColor(clBtnFace);
    SetVisible(false);
    width_ = 320;
    height_ = 240;
}

TCustomForm::~TCustomForm() {
    MarkDestroying();
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            HandleEventException();
        }
    }
    if (Application) Application->FormDestroyed(this);
    DestroyHandle();
    DestroyComponents();
}

DWORD TCustomForm::FrameStyle() const {
    DWORD s = 0;
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone: return WS_POPUP;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow: s = WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin: s = WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog: s = WS_POPUP | WS_CAPTION | WS_DLGFRAME; break;
    }
    if (borderIcons_ & biSystemMenu) {
        s |= WS_SYSMENU;
        bool dialog = borderStyle_ == TFormBorderStyle::bsDialog || borderStyle_ == TFormBorderStyle::bsToolWindow ||
                      borderStyle_ == TFormBorderStyle::bsSizeToolWin;
        if (!dialog) {
            if (borderIcons_ & biMinimize) s |= WS_MINIMIZEBOX;
            if (borderIcons_ & biMaximize) s |= WS_MAXIMIZEBOX;
        }
    }
    return s;
}

DWORD TCustomForm::FrameExStyle() const {
    switch (borderStyle_) {
    case TFormBorderStyle::bsDialog: return WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin: return WS_EX_TOOLWINDOW;
    default: return 0;
    }
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style = FrameStyle() | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = FrameExStyle();
    if (!Enabled()) p.Style |= WS_DISABLED;
    p.WndParent = nullptr;
    p.WinClassName = "TFrameworkForm";
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (!icon_.Empty()) {
        SendMessage(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
        SendMessage(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Handle()));
    }
}

void TCustomForm::SetIcon(const TIcon& icon) {
    icon_.Assign(icon);
    if (HandleAllocated()) {
        SendMessage(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
        SendMessage(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Handle()));
    }
}

RECT TCustomForm::ClientRect() const {
    if (HandleAllocated()) return TWinControl::ClientRect();
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, FrameStyle(), FALSE, FrameExStyle());
    return RECT{0, 0, width_ - (frame.right - frame.left), height_ - (frame.bottom - frame.top)};
}

void TCustomForm::SetClientSize(int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, FrameStyle(), FALSE, FrameExStyle());
    SetBounds(left_, top_, frame.right - frame.left, frame.bottom - frame.top);
}

void TCustomForm::ApplyPosition() {
    if (positioned_) return;
    positioned_ = true;
    if (Position != TPosition::poScreenCenter && Position != TPosition::poMainFormCenter) return;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
    if (Position == TPosition::poMainFormCenter && Application && Application->MainForm() &&
        Application->MainForm() != this)
        area = Application->MainForm()->BoundsRect();
    SetBounds(area.left + (area.right - area.left - width_) / 2, area.top + (area.bottom - area.top - height_) / 2,
              width_, height_);
}

void TCustomForm::Show() {
    ApplyPosition();
    HandleNeeded();
    SetVisible(true);
    ShowWindow(Handle(), SW_SHOW);
    BringWindowToTop(Handle());
    SetForegroundWindow(Handle());
    if (activeControl_ && activeControl_->CanFocus()) ::SetFocus(activeControl_->Handle());
    else if (TWinControl* first = FindNextControl(nullptr, true, true)) first->SetFocus();
    if (OnShow) OnShow(this);
}

void TCustomForm::Hide() {
    SetVisible(false);
    if (OnHide) OnHide(this);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
    if (!CloseQuery()) return;
    bool isMain = Application && Application->MainForm() == this;
    TCloseAction action = isMain ? TCloseAction::caFree : TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone) return;
    if (isMain && action != TCloseAction::caMinimize) {
        Application->Terminate();
        Hide();
        return;
    }
    if (action == TCloseAction::caMinimize) ShowWindow(Handle(), SW_MINIMIZE);
    else Hide();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    activeControl_ = control;
    if (control) control->FreeNotification(this);
    if (control && Showing() && !control->Focused() && control->CanFocus()) control->SetFocus();
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
    TWinControl* previous = activeControl_;
    if (control == previous) return;
    activeControl_ = control;
    if (control) control->FreeNotification(this);
    if (previous) previous->Perform(CM_EXIT);
    if (control) control->Perform(CM_ENTER);
    TMessage focusChanged{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control), 0};
    Broadcast(focusChanged);
}

void TCustomForm::FocusControl(TWinControl* control) { SetActiveControl(control); }

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == activeControl_) activeControl_ = nullptr;
}

bool TCustomForm::DialogKey(WORD key) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
    case VK_TAB:
        if (GetKeyState(VK_CONTROL) < 0) return false;
        SelectNext(activeControl_, !shift, true);
        return true;
    case VK_LEFT:
    case VK_UP:
        SelectNext(activeControl_, false, true);
        return true;
    case VK_RIGHT:
    case VK_DOWN:
        SelectNext(activeControl_, true, true);
        return true;
    default: return false;
    }
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE: Close(); return;
    case CM_DIALOGKEY:
        // Children first (a default or cancel button takes Enter and Escape), then navigation.
        Broadcast(m);
        if (!m.Result && DialogKey(static_cast<WORD>(m.WParam))) m.Result = 1;
        return;
    case WM_ACTIVATE:
        TWinControl::WndProc(m);
        if (LOWORD(m.WParam) != WA_INACTIVE && activeControl_ && activeControl_->CanFocus() &&
            activeControl_->HandleAllocated())
            ::SetFocus(activeControl_->Handle());
        return;
    case WM_SETFOCUS:
        // The form itself takes no part in the tab order; pass the focus on.
        if (activeControl_ && activeControl_->CanFocus()) {
            ::SetFocus(activeControl_->Handle());
            return;
        }
        DefaultHandler(m);
        return;
    case CM_VISIBLECHANGED:
        if (HandleAllocated()) ShowWindow(Handle(), Visible() ? SW_SHOW : SW_HIDE);
        return;
    default: TWinControl::WndProc(m); return;
    }
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

}  // namespace framework

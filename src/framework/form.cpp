#include "framework/form.h"

#include "framework/application.h"
#include "platform/menu.h"

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

// No WS_VISIBLE: the window appears on CM_SHOWINGCHANGED, after it has been made.
void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style = FrameStyle() | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = FrameExStyle();
    if (formStyle_ == TFormStyle::fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    if (!Enabled()) p.Style |= WS_DISABLED;
    p.WndParent = nullptr;
    p.WinClassName = "TFrameworkForm";
}

// The window is made hidden (Visible is left out of the styles) so that everything is set
// before the showing path shows it.
void TCustomForm::CreateWnd() {
    deferShowing_ = true;
    try {
        TWinControl::CreateWnd();
    } catch (...) {
        deferShowing_ = false;
        throw;
    }
    deferShowing_ = false;
    HWND h = Handle();
    if (!icon_.Empty()) {
        SendMessage(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
        SendMessage(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Handle()));
    }
    if (alphaBlend_) ApplyLayeredAttributes();
    UpdateSystemMenu();
    UpdateShowing();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == borderIcons_) return;
    borderIcons_ = icons;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle style) {
    if (style == formStyle_) return;
    formStyle_ = style;
    if (HandleAllocated())
        SetWindowPos(Handle(), style == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetAlphaBlend(bool on) {
    if (on == alphaBlend_) return;
    alphaBlend_ = on;
    if (HandleAllocated()) ApplyLayeredAttributes();
}

void TCustomForm::SetAlphaBlendValue(BYTE value) {
    if (value == alphaBlendValue_) return;
    alphaBlendValue_ = value;
    if (HandleAllocated() && alphaBlend_) ApplyLayeredAttributes();
}

void TCustomForm::ApplyLayeredAttributes() {
    HWND h = Handle();
    LONG ex = GetWindowLong(h, GWL_EXSTYLE);
    if (alphaBlend_) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLong(h, GWL_EXSTYLE, ex | static_cast<LONG>(WS_EX_LAYERED));
        SetLayeredWindowAttributes(h, 0, alphaBlendValue_, LWA_ALPHA);
        return;
    }
    if (!(ex & WS_EX_LAYERED)) return;
    SetWindowLong(h, GWL_EXSTYLE, ex & ~static_cast<LONG>(WS_EX_LAYERED));
    RedrawWindow(h, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

// Asked for again each time the system menu opens, since the platform sets the items from
// the window style whenever the menu is fetched.
void TCustomForm::UpdateSystemMenu() {
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    if (!menu) return;
    if (!(borderIcons_ & biMinimize)) EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | MF_GRAYED);
    if (!(borderIcons_ & biMaximize)) EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
}

void TCustomForm::Release() { PostMessage(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::PaintWindow(HDC dc) {
    canvas_.SetHandle(dc);
    canvas_.Font.Assign(Font());
    canvas_.Brush.SetColor(Color());
    try {
        Paint();
    } catch (...) {
        canvas_.SetHandle(nullptr);
        throw;
    }
    canvas_.SetHandle(nullptr);
}

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

// The showing path: the window is shown or hidden here and nowhere else. While the window is
// being made again (RecreateWnd) the form only comes back as it was, without events.
void TCustomForm::ShowingChanged() {
    HWND h = Handle();
    bool quiet = (ControlState & csRecreating) != 0;
    if (!Showing()) {
        if (!quiet) DoHide();
        ShowWindow(h, SW_HIDE);
        return;
    }
    if (!quiet) DoShow();
    ShowWindow(h, SW_SHOW);
    if (quiet) return;
    BringWindowToTop(h);
    SetForegroundWindow(h);
    if (activeControl_ && activeControl_->CanFocus()) ::SetFocus(activeControl_->Handle());
    else if (TWinControl* first = FindNextControl(nullptr, true, true)) first->SetFocus();
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

// A window hidden behind the form's back (ShowWindow called directly) counts as not showing,
// so Show brings it back through the showing path.
void TCustomForm::Show() {
    ApplyPosition();
    HandleNeeded();
    if (Visible() && !IsWindowVisible(Handle())) {
        ForgetShowing();
        UpdateShowing();
    }
    SetVisible(true);
    if (Showing()) {
        BringWindowToTop(Handle());
        SetForegroundWindow(Handle());
    }
}

void TCustomForm::Hide() { SetVisible(false); }

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
    case CM_SHOWINGCHANGED: ShowingChanged(); return;
    case CM_RELEASE: delete this; return;
    case WM_INITMENUPOPUP:
        TWinControl::WndProc(m);
        if (HIWORD(m.LParam)) UpdateSystemMenu();
        return;
    case WM_SETTINGCHANGE:
        TWinControl::WndProc(m);
        Perform(CM_SYSFONTCHANGED);
        return;
    default: TWinControl::WndProc(m); return;
    }
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

}  // namespace framework

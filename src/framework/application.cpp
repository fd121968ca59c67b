#include "framework/application.h"

#include <cstdio>

#include "framework/exceptions.h"
#include "framework/hint_window.h"
#include "framework/menus.h"
#include "framework/utility_window.h"

namespace framework {

TApplication* Application = nullptr;

namespace {
constexpr UINT_PTR kHintTimer = 1;
}  // namespace

std::string ErrorBoxText(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text.push_back('.');
    return text;
}

void HandleEventException() {
    std::exception_ptr error = std::current_exception();
    if (Application) {
        Application->HandleException(error);
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "unknown exception\n");
    }
}

TApplication::TApplication() : TComponent(nullptr) { Application = this; }

TApplication::~TApplication() {
    MarkDestroying();
    hintWindow_.reset();
    DestroyComponents();
    timerWindow_.reset();
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {}

void TApplication::AdoptForm(TCustomForm* form) {
    if (!mainForm_) mainForm_ = form;
    form->BeginLoading();
    if (auto* described = dynamic_cast<TDescribedForm*>(form)) described->BuildForm();
    // Parts that components create for themselves while the form loads (an edit's button)
    // are loading too, so they are told as well; otherwise they would never align or repaint.
    std::vector<TComponent*> loaded{form};
    for (size_t next = 0; next < loaded.size(); ++next)
        for (int i = 0; i < loaded[next]->ComponentCount(); ++i) loaded.push_back(loaded[next]->Components(i));
    for (TComponent* c : loaded) c->Loaded();
    try {
        form->DoCreate();
    } catch (...) {
        HandleEventException();
    }
}

void TApplication::FormDestroyed(TCustomForm* form) {
    if (form == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run() {
    if (mainForm_ && ShowMainForm) mainForm_->Show();
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

bool TApplication::IsDialogKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    TWinControl* control = TWinControl::FindControl(msg.hwnd);
    if (!control) return false;
    WORD key = static_cast<WORD>(msg.wParam);
    LRESULT code = control->Perform(WM_GETDLGCODE, msg.wParam, 0);
    bool offer = false;
    switch (key) {
    case VK_TAB: offer = !(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)); break;
    case VK_RETURN:
    case VK_ESCAPE: offer = !(code & DLGC_WANTALLKEYS); break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: offer = !(code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS)); break;
    default: break;
    }
    if (!offer) return false;
    TCustomForm* form = control->ParentForm();
    return form && form->Perform(CM_DIALOGKEY, key, msg.lParam) != 0;
}

// A key with modifiers runs the menu item it is the shortcut of, in the popup menu of the
// focused control or of the nearest parent that has one.
bool TApplication::IsShortCut(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    for (TControl* c = TWinControl::FindControl(msg.hwnd); c; c = c->Parent())
        if (c->PopupMenu() && c->PopupMenu()->IsShortCut(msg)) return true;
    return false;
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        exitCode_ = static_cast<int>(msg.wParam);
        return true;
    }
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) CancelHint();
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN)
        CancelHint();
    try {
        if (IsShortCut(msg) || IsDialogKey(msg)) return true;
    } catch (...) {
        HandleEventException();
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg{};
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg{};
    if (!ProcessMessage(msg)) WaitMessage();
}

void TApplication::HandleException(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        if (OnException) OnException(this);
        else ShowException(e.what());
    } catch (...) {
        ShowException("Unknown exception");
    }
}

void TApplication::ShowException(const std::string& message) {
    HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
    MessageBoxA(owner, ErrorBoxText(message).c_str(), Title.c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::SetHintTimer(int ms) {
    if (!timerWindow_)
        timerWindow_ = std::make_unique<UtilityWindow>([this](TMessage& m) {
            if (m.Msg == WM_TIMER && m.WParam == kHintTimer) OnHintTimer();
            else m.Result = DefWindowProc(timerWindow_->Handle(), m.Msg, m.WParam, m.LParam);
        });
    KillTimer(timerWindow_->Handle(), kHintTimer);
    if (ms > 0) SetTimer(timerWindow_->Handle(), kHintTimer, static_cast<UINT>(ms), nullptr);
}

void TApplication::CancelHint() {
    if (timerWindow_) KillTimer(timerWindow_->Handle(), kHintTimer);
    if (hintWindow_) hintWindow_->ReleaseHandle();
    hintShowing_ = false;
}

bool TApplication::WantsHint(TControl* control) const {
    return control && ShowHint && control->ShowHint() && !control->Hint().empty();
}

// The pointer moved onto `control` (or off every control): any hint goes, and the pause
// starts again, shorter while hints are being shown one after another.
void TApplication::DoMouseEnter(TControl* control) {
    bool wasShowing = hintShowing_;
    CancelHint();
    hintControl_ = control;
    if (WantsHint(control)) SetHintTimer(wasShowing ? HintShortPause : HintPause);
}

// The pause ran out: the hint shows, for the hide pause; or the hide pause ran out. A control
// the pointer has left (or that is gone) gets no hint.
void TApplication::OnHintTimer() {
    if (timerWindow_) KillTimer(timerWindow_->Handle(), kHintTimer);
    if (hintShowing_ || hintControl_ != MouseControl() || !WantsHint(hintControl_)) {
        CancelHint();
        return;
    }
    if (!hintWindow_) hintWindow_ = std::make_unique<THintWindow>();
    POINT cursor{};
    GetCursorPos(&cursor);
    hintWindow_->Color = HintColor;
    hintWindow_->ActivateHint(cursor, hintControl_->Hint());
    hintShowing_ = true;
    SetHintTimer(HintHidePause);
}

}  // namespace framework

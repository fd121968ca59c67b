// Announcing a skin: the skin command broadcast to forms and controls, freezing and thawing
// the forms around a change, the creation hook and the application watch.
#include <algorithm>
#include <cstdint>
#include <string>

#include "framework/application.h"
#include "skin/skin_commands.h"
#include "skin/skin_manager.h"
#include "skin/window_animation.h"

namespace skin {
namespace {

using framework::TControl;
using framework::TCustomForm;
using framework::TWinControl;

TsSkinManager* g_hookOwner = nullptr;     // the manager whose creation hook is installed
TsSkinManager* g_appHookOwner = nullptr;  // the manager watching the application

bool AnswersSkinned(HWND hwnd) {
    return hwnd && SendMessage(hwnd, SM_SKINCMD, SkinCommandWParam(scIsSkinned), 0) == 1;
}

// Sends to the window when there is one, else straight to the control's handler.
void Deliver(TWinControl* control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (control->HandleAllocated())
        SendMessage(control->Handle(), message, wParam, lParam);
    else
        control->Perform(message, wParam, lParam);
}

bool FormMinimized(TCustomForm* form) { return form->HandleAllocated() && IsIconic(form->Handle()); }

bool ApplicationMinimized() {
    auto* app = framework::Application;
    TCustomForm* main = app ? app->MainForm() : nullptr;
    return main && FormMinimized(main);
}

// Forms of ProviderForms that a freeze or thaw touches.
std::vector<TsProviderLink*> FreezableForms(const TsSkinManager* manager) {
    std::vector<TsProviderLink*> result;
    for (TsProviderLink* link : ProviderForms()) {
        TCustomForm* form = link->Form();
        if (!form || link->Manager() != manager || form->Parent() || !form->HandleAllocated()) continue;
        if (!IsWindowVisible(form->Handle()) || IsIconic(form->Handle())) continue;
        result.push_back(link);
    }
    return result;
}

bool StillAlive(TsProviderLink* link) {
    const std::vector<TsProviderLink*>& registered = ProviderForms();
    if (std::find(registered.begin(), registered.end(), link) == registered.end()) return false;
    TCustomForm* form = link->Form();
    return form && !form->Destroying() && form->HandleAllocated();
}

// A provider-drawn frame animates with the skin-change effect at the form's own opacity; any
// other form is handed over in a single opaque frame.
void AnimateThawingForm(TsProviderLink& link, const TacAnimEffect& effect) {
    if (link.DrawsFrame())
        AnimateWindowIn(*link.Form(), effect.Time,
                        static_cast<BYTE>(std::clamp(link.FormAlpha(), 0, 255)), effect.Mode);
    else
        AnimateWindowIn(*link.Form(), 0, 255, atFading);
}

constexpr UINT kFullRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

bool IsMainFormBeingCreated(HWND hwnd) {
    auto* app = framework::Application;
    TCustomForm* main = app ? app->MainForm() : nullptr;
    if (!main) return false;
    if (main->HandleAllocated()) return main->Handle() == hwnd;
    return (main->ControlState & framework::csCreating) != 0;
}

void Attach(HWND hwnd, TsAdapterKind kind, const std::string& section) {
    auto& windows = HookSkinnedWindows();
    if (std::find(windows.begin(), windows.end(), hwnd) != windows.end()) return;
    if (FormLayer() && FormLayer()->AttachAdapter(hwnd, kind, section)) windows.push_back(hwnd);
}

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassName(hwnd, name, sizeof name);
    return name;
}

// A class given as an atom (MAKEINTATOM, a value below 0x10000) is no string to read: the
// window, which exists by the time the hook runs, names its class.
std::string CreatedClassName(const CREATESTRUCT* cs, HWND hwnd) {
    const auto value = cs ? reinterpret_cast<std::uintptr_t>(cs->lpszClass) : 0;
    if (value > 0xFFFF) return cs->lpszClass;
    std::string name = ClassOf(hwnd);
    if (name.empty() && value != 0) name.append(1, '#').append(std::to_string(value));
    return name;
}

void SendToEveryForm(UINT message, WPARAM wParam, LPARAM lParam) {
    auto* app = framework::Application;
    if (!app) return;
    for (int i = 0; i < app->ComponentCount(); ++i)
        if (auto* form = dynamic_cast<TCustomForm*>(app->Components(i)); form && !form->Destroying())
            Deliver(form, message, wParam, lParam);
}

}  // namespace

void TsSkinManager::BroadcastToChildren(TWinControl* control, UINT message, WPARAM wParam, LPARAM lParam) {
    for (int i = 0; i < control->ControlCount(); ++i) {
        TControl* child = control->Controls(i);
        if (child->Destroying()) return;
        auto* windowed = child->IsWindowed() ? static_cast<TWinControl*>(child) : nullptr;
        if (!windowed || !windowed->HandleAllocated())
            child->Perform(message, wParam, lParam);
        else if (AnswersSkinned(windowed->Handle()))
            SendMessage(windowed->Handle(), message, wParam, lParam);
        else
            BroadcastToChildren(windowed, message, wParam, lParam);
    }
}

void TsSkinManager::BroadcastToForms(UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* app = framework::Application) {
        for (int i = app->ComponentCount() - 1; i >= 0; --i) {
            auto* form = dynamic_cast<TCustomForm*>(app->Components(i));
            if (!form || form->Destroying() || form->Loading()) continue;
            if (form->HandleAllocated() && AnswersSkinned(form->Handle())) continue;
            Deliver(form, message, wParam, lParam);
            BroadcastToChildren(form, message, wParam, lParam);
        }
    }
    std::vector<TsProviderLink*> links = ProviderForms();
    for (TsProviderLink* link : links) {
        TCustomForm* form = link->Form();
        if (!form || form->Destroying()) continue;
        Deliver(form, message, wParam, lParam);
        BroadcastToChildren(form, message, wParam, lParam);
    }
    std::vector<HWND> hooked = HookSkinnedWindows();
    for (HWND hwnd : hooked)
        if (IsWindow(hwnd) && IsWindowVisible(hwnd)) SendMessage(hwnd, message, wParam, lParam);
}

void TsSkinManager::SendNewSkin(bool repaint) {
    if (Loading()) return;
    if (FormLayer()) FormLayer()->CloseAllGlows();
    if (repaint) FreezeForms();
    if (FormLayer()) FormLayer()->ForgetMenuPictures(this);
    GlobalInfo().SkinReady = false;
    AnnouncingSkin = true;
    UpdateIndexes();
    BroadcastToForms(SM_SKINCMD, SkinCommandWParam(scNewSkin), reinterpret_cast<LPARAM>(this));
    AnnouncingSkin = false;
    GlobalInfo().SkinReady = true;
    if (IsDefault() && !cbtHook_) InstallCreationHook();
    if (repaint) RepaintForms();
}

void TsSkinManager::SendRemoveSkin() {
    RemovingSkin = true;
    if (FormLayer()) FormLayer()->CloseAllGlows();
    RemoveCreationHook();
    GlobalInfo().SkinReady = false;
    BroadcastToForms(SM_SKINCMD, SkinCommandWParam(scRemoveSkin), reinterpret_cast<LPARAM>(this));
    model_->Clear();
    hasSkin_ = false;
    RemovingSkin = false;
}

void TsSkinManager::RepaintForms(bool animated) {
    LPARAM self = reinterpret_cast<LPARAM>(this);
    BroadcastToForms(SM_SKINCMD, SkinCommandWParam(scStopFading), self);
    if (!Loading()) FreezeForms();
    BroadcastToForms(SM_SKINCMD, SkinCommandWParam(scRefresh), self);
    if (!Loading()) ThawForms(animated);
    std::vector<HWND> hooked = HookSkinnedWindows();
    for (HWND hwnd : hooked)
        if (IsWindow(hwnd) && IsWindowVisible(hwnd)) RedrawWindow(hwnd, nullptr, nullptr, kFullRedraw);
}

// A form frozen twice (SendNewSkin freezes, then its RepaintForms) is listed once.
void TsSkinManager::FreezeForms() {
    if (ApplicationMinimized()) return;
    if (IsDefault() && AnimEffects.SkinChanging.Active) AnimatingSkinChange = true;
    for (TsProviderLink* link : FreezableForms(this)) {
        if (std::find(frozen_.begin(), frozen_.end(), link) == frozen_.end())
            frozen_.push_back(link);
        link->SetSkinChanging(true);
        SendMessage(link->Form()->Handle(), WM_SETREDRAW, 0, 0);
    }
}

// Thaws the forms FreezeForms froze that still have their provider and window.
std::vector<TsProviderLink*> TsSkinManager::TakeFrozenForms() {
    std::vector<TsProviderLink*> links;
    const std::vector<TsProviderLink*>& registered = ProviderForms();
    for (TsProviderLink* link : frozen_) {
        if (std::find(registered.begin(), registered.end(), link) == registered.end()) continue;
        TCustomForm* form = link->Form();
        if (form && !form->Destroying() && form->HandleAllocated()) links.push_back(link);
    }
    frozen_.clear();
    return links;
}

void TsSkinManager::ThawForms(bool animated) {
    if (ApplicationMinimized()) return;
    if (IsDefault()) AnimatingSkinChange = false;
    for (TsProviderLink* link : TakeFrozenForms()) {
        HWND hwnd = link->Form()->Handle();
        if (!animated) {
            // The mark goes too: a provider still marked as changing skin would never draw
            // its frame again.
            SendMessage(hwnd, WM_SETREDRAW, 1, 0);
            link->SetSkinChanging(false);
            continue;
        }
        if (AnimEffects.SkinChanging.Active) {
            AnimateThawingForm(*link, AnimEffects.SkinChanging);
            // The animation dispatches messages: the form may have gone meanwhile.
            if (!StillAlive(link)) continue;
        }
        SendMessage(hwnd, WM_SETREDRAW, 1, 0);
        link->SetSkinChanging(false);
        if (link->DrawsFrame()) {
            link->RepaintFrame();
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        } else {
            RedrawWindow(hwnd, nullptr, nullptr, kFullRedraw);
        }
    }
}

void TsSkinManager::InstallCreationHook() {
    if (cbtHook_) return;
    cbtHook_ = SetWindowsHookEx(WH_CBT, &TsSkinManager::CreationHookProc, nullptr, GetCurrentThreadId());
    g_hookOwner = this;
}

void TsSkinManager::RemoveCreationHook() {
    if (!cbtHook_) return;
    UnhookWindowsHookEx(cbtHook_);
    cbtHook_ = nullptr;
    if (g_hookOwner == this) g_hookOwner = nullptr;
}

LRESULT TsSkinManager::CreationHookProc(int code, WPARAM wParam, LPARAM lParam) {
    TsSkinManager* m = g_hookOwner;
    HHOOK hook = m ? m->cbtHook_ : nullptr;
    auto* app = framework::Application;
    if (!m || (app && app->Destroying())) return CallNextHookEx(hook, code, wParam, lParam);
    HWND hwnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND) {
        auto* cbt = reinterpret_cast<CBT_CREATEWND*>(lParam);
        const CREATESTRUCT* cs = cbt ? cbt->lpcs : nullptr;
        std::string cls = CreatedClassName(cs, hwnd);
        bool topLevel = !cs || !cs->hwndParent || (static_cast<DWORD>(cs->style) & WS_CHILD) == 0;
        if (cls == "#32770" && topLevel) {
            if (m->SkinningRules & srStdDialogs) Attach(hwnd, TsAdapterKind::Dialog, "DIALOG");
        } else if (cls == "#32768") {
            if (m->skinnedPopups_ && !AnswersSkinned(hwnd)) Attach(hwnd, TsAdapterKind::Menu, "MAINMENU");
        } else if (cs && !cs->hwndParent && cs->style != 0 && cs->dwExStyle != 0 && cls != "TPUtilWindow" &&
                   !IsMainFormBeingCreated(hwnd) && (m->SkinningRules & srStdForms)) {
            Attach(hwnd, TsAdapterKind::Form, "FORM");
        }
    } else if (code == HCBT_ACTIVATE) {
        if (ClassOf(hwnd) == "#32770" && !GetParent(hwnd) && (m->SkinningRules & srStdDialogs))
            Attach(hwnd, TsAdapterKind::Dialog, "DIALOG");
    } else if (code == HCBT_DESTROYWND) {
        auto& windows = HookSkinnedWindows();
        if (std::find(windows.begin(), windows.end(), hwnd) != windows.end()) {
            std::erase(windows, hwnd);
            if (FormLayer()) FormLayer()->DetachAdapter(hwnd);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

// Our framework has no hidden application window: the watch sees the messages of the
// application's top-level windows through a call-window hook instead.
void TsSkinManager::InstallAppHook() {
    if (appHook_) return;
    appHook_ = SetWindowsHookEx(WH_CALLWNDPROC, &TsSkinManager::AppHookProc, nullptr, GetCurrentThreadId());
    g_appHookOwner = this;
}

void TsSkinManager::RemoveAppHook() {
    if (!appHook_) return;
    UnhookWindowsHookEx(appHook_);
    appHook_ = nullptr;
    if (g_appHookOwner == this) g_appHookOwner = nullptr;
}

LRESULT TsSkinManager::AppHookProc(int code, WPARAM wParam, LPARAM lParam) {
    TsSkinManager* m = g_appHookOwner;
    HHOOK hook = m ? m->appHook_ : nullptr;
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (m && code == HC_ACTION && cwp && m->skinnedPopups_) {
        switch (cwp->message) {
            case WM_ACTIVATEAPP:
                if (cwp->wParam && !GetParent(cwp->hwnd) && framework::Application &&
                    framework::Application->MainForm() && framework::Application->MainForm()->HandleAllocated() &&
                    framework::Application->MainForm()->Handle() == cwp->hwnd)
                    SendToEveryForm(SM_SKINCMD, SkinCommandWParam(scAppActivate), 0);
                break;
            default: break;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace skin

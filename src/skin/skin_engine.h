// Process-wide state of the skin engine and the links through which the layers above it
// (form providers, glow windows, menus, window adapters, animations) take part in a skin
// change without this layer knowing them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/form.h"

namespace skin {

class TsSkinManager;

// The first manager created in a process, or another one made default; null without one.
TsSkinManager* DefaultManager();

// True while a skin is being read; controls start no fading then.
extern bool LoadingSkin;
// True while forms are frozen for the skin-change animation; controls hold back painting.
extern bool AnimatingSkinChange;
extern bool AnnouncingSkin;
extern bool RemovingSkin;

// A form with a skin provider, as the provider registers it.
class TsProviderLink {
public:
    virtual ~TsProviderLink() = default;
    virtual framework::TCustomForm* Form() const = 0;
    virtual TsSkinManager* Manager() const = 0;
    // Marks the provider as changing skin (frozen) or not.
    virtual void SetSkinChanging(bool changing) = 0;
    // Whether the provider draws the window's frame.
    virtual bool DrawsFrame() const = 0;
    // Frame region and frame repaint after a thaw.
    virtual void RepaintFrame() = 0;
    virtual int FormAlpha() const { return 255; }
};
// The forms that have a provider, in registration order.
std::vector<TsProviderLink*>& ProviderForms();
void RegisterProviderForm(TsProviderLink* link);
void UnregisterProviderForm(TsProviderLink* link);

// What the creation hook attaches an adapter to.
enum class TsAdapterKind { Dialog, Menu, Form };

// Filled in by the layers above; every member may stay empty.
struct TsEngineLinks {
    std::function<void()> closeGlowWindows;
    std::function<void()> resetMenuFrameWidth;
    // Attaches an adapter to a window the creation hook picked; true when attached.
    std::function<bool(HWND, TsAdapterKind, const std::string& section)> attachAdapter;
    std::function<void(HWND)> detachAdapter;
    // Brings a frozen window up with the skin-change animation (time in ms, mode, opacity).
    std::function<void(HWND, int time, int mode, int alpha)> animateWindowIn;
    // Skinned menus asking for a menu window to be repainted (messages $BCB3, $BCB4).
    std::function<void(HWND, UINT, WPARAM, LPARAM)> menuRepaintRequest;
    // Skinned popups switched on again: the menu painter hooks the popup menus anew.
    std::function<void(TsSkinManager*)> hookPopupMenus;
};
TsEngineLinks& EngineLinks();

// Windows that the creation hook gave an adapter.
std::vector<HWND>& HookSkinnedWindows();

// Message boxes of the engine go through here so that a test can answer them.
using TsMessageBoxFunction = std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;
void SetSkinMessageBox(TsMessageBoxFunction function);  // empty: MessageBoxA
int SkinMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// The engine's version banner when an argument, lower-cased, is "/acver"; once per process.
void ShowVersionBannerOnce(const std::vector<std::string>& arguments);
std::vector<std::string> CommandLineArguments();

}  // namespace skin

// Process-wide state of the skin engine and the links through which the layers above it
// (form providers, glow windows, menus, window adapters, animations) take part in a skin
// change without this layer knowing them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/form.h"
#include "framework/menus.h"

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

// A form with a skin provider, as the provider registers it. The provider also answers
// scGetProvider with this link, so that the window animations can ask for its picture.
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
    // The whole window (frame, title bar and client background), rendered now; null when the
    // provider has none. Owned by the provider.
    virtual framework::TBitmap* RenderWindowPicture() { return nullptr; }
};
// The forms that have a provider, in registration order.
std::vector<TsProviderLink*>& ProviderForms();
void RegisterProviderForm(TsProviderLink* link);
void UnregisterProviderForm(TsProviderLink* link);

// What the creation hook attaches an adapter to.
enum class TsAdapterKind { Dialog, Menu, Form };

// A glow to open around a hot control.
struct TsGlowRequest {
    RECT box{};              // the control's rectangle on the screen
    RECT visible{};          // the part of it that can be seen, in its own coordinates
    std::string section;     // the control's section
    TsSkinManager* manager = nullptr;
    HWND parent = nullptr;   // the window of the control's form
    int overlap = 0;         // how far the glow reaches into the control
    std::string entry = "GLOW";
};

// The form layer (glow windows, skinned menus, window adapters) as the layers below it see
// it. The form layer installs one at start; without one, none of this happens.
class TsFormLayer {
public:
    virtual ~TsFormLayer() = default;
    // Opens a glow window; returns its id, or -1 when none is shown.
    virtual int OpenGlow(const TsGlowRequest& request) = 0;
    // Closes one glow; ids below 0 and ids already closed are ignored.
    virtual void CloseGlow(int id) = 0;
    virtual void CloseAllGlows() = 0;
    // Prepares one popup menu for skinned drawing before it opens (active: the manager's
    // Active flag).
    virtual void HookPopupMenu(framework::TPopupMenu& menu, TsSkinManager* manager, bool active) = 0;
    // A skin is announced or removed: the menu painter forgets its frame width and pictures.
    virtual void ForgetMenuPictures(TsSkinManager* manager) = 0;
    // Attaches an adapter to a window the creation hook picked; true when attached.
    virtual bool AttachAdapter(HWND window, TsAdapterKind kind, const std::string& section) = 0;
    virtual void DetachAdapter(HWND window) = 0;
};
// The installed form layer, or null. The caller keeps it alive while installed.
TsFormLayer* FormLayer();
void SetFormLayer(TsFormLayer* layer);

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

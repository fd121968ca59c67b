// TsSkinProvider: dropped on a form, it takes over the form's window procedure and draws the
// whole window from the skin: the frame and title bar (from one window-sized picture, the
// window image), the window's shape, and the background the client area and its children
// show through. The system still decides the frame's geometry; only its look is replaced.
//
// On our platform:
// - Desktop composition is off, so nothing of the composition calls is made.
// - Where the system would leave its own caption visible for a moment (activation, caption
//   and icon changes), the provider lets the default processing run and repaints the frame
//   from the window image in the same message. Top-level pixels are presented only once the
//   message is handled (deferred presentation), so the default look never reaches the screen
//   and no cover window over the title bar, nor a layered first show, is needed.
// - The X11 backend makes every top-level window undecorated and shapes it with the window
//   region, so the skin's corners show on X11 as set here.
// - Title buttons, the system menu, hit testing, presses on the frame and system commands
//   live in TsFrameInteraction (frame_interaction.h), which sees every message first.
// - The show animation (the manager's FormShow effect): the form's own showing path shows the
//   window and the provider freezes it (WM_SETREDRAW 0) before anything of it is presented,
//   so no layered empty picture is needed to keep it off the screen; the animation's hand-over
//   redraw is its first paint. Without layered windows the form is shown plainly.
// - WM_PRINT prints the skinned window (frame from the window image, the client background,
//   graphic children, OnPaint, and with PRF_CHILDREN the windowed children), so the window
//   captures of the animations show the frame as it is on the screen.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/provider_frame.h"
#include "forms/provider_metrics.h"
#include "framework/form.h"
#include "paint/common_data.h"
#include "paint/glow_text.h"
#include "skin/skin_engine.h"
#include "skin/skin_manager.h"

namespace forms {

// The control kind of a provider's binding.
constexpr int kProviderControlKind = 224;
// Skin command answered with MAKELONG(left client offset, top client offset).
constexpr WORD scGetClientOffset = 61;
constexpr char kNotAFormMessage[] = "TsSkinProvider component may be used with forms only!";

class TsFrameInteraction;
class TsTitleButton;

class TsSkinProvider : public framework::TComponent,
                       public paint::TsBindingHost,
                       public skin::TsProviderLink {
  public:
    // owner must be a form (EAbort otherwise). A form that already has a provider placed by
    // the developer makes this one secondary: it does nothing for the form's whole life. An
    // auto-created provider already there is freed and this one takes over.
    explicit TsSkinProvider(framework::TComponent* owner);
    ~TsSkinProvider() override;

    // A provider the skin engine makes for a form without one; it applies the skin on its
    // first frame paint.
    static TsSkinProvider* CreateAuto(framework::TCustomForm* form);

    TacAddedTitle AddedTitle;
    framework::TAlignment CaptionAlignment() const { return alignment_; }
    void SetCaptionAlignment(framework::TAlignment value);
    bool ShowAppIcon() const { return showAppIcon_; }
    void SetShowAppIcon(bool value);
    // Section of the title bar; empty means "FORMTITLE".
    const std::string& TitleSkin() const { return titleSkin_; }
    void SetTitleSkin(const std::string& value);
    bool UseGlobalColor = true;
    // Adds the skin chooser ("Available skins") to the system menu.
    bool MakeSkinMenu = false;
    // Told the skin name the user picked in the skin chooser, after the manager was asked to
    // load it; an application remembers the choice here (the manager's OnAfterChange also
    // runs, but for every skin change).
    std::function<void(const std::string&)> OnSkinChosen;
    // Snap the window to the work area's edges while it is moved, within SnapBuffer pixels.
    bool ScreenSnap = false;
    int SnapBuffer = 10;
    // The developer's own title buttons, right to left after the system buttons. Buttons
    // added after the skin was applied take their plate at the next skin apply.
    std::vector<std::unique_ptr<TsTitleButton>>& TitleButtons();
    // Title buttons, system menu and the frame's behaviour.
    TsFrameInteraction& Frame() { return *frame_; }
    // Set while a minimise asked for by the title button or the system menu runs.
    bool Minimizing() const { return minimizing_; }
    void SetMinimizing(bool on) { minimizing_ = on; }
    paint::TsCommonData& SkinData() { return *data_; }

    bool Secondary() const { return secondary_; }
    bool AutoCreated() const { return autoCreated_; }
    bool Active() const { return active_; }
    // True when the provider removed WS_SYSMENU from the window; the close button's
    // visibility for the title button layer.
    bool HadSystemMenu() const { return hadSysMenu_; }
    bool Skinned() const;

    // Sizes for the frame's other users; the window must exist.
    TsFrameMetrics Metrics() const { return ReadFrameMetrics(*form_); }
    RECT IconRect() const;
    // Right edge of the free title space: the title button area's left edge.
    int TitleAreaRight() const { return Metrics().W - TitleButtonsWidth(); }
    // Width of the title button area.
    int TitleButtonsWidth() const;

    // The window image, rebuilt when stale; null without a window or skin.
    framework::TBitmap* WindowImage();
    // Marks the window image stale.
    void InvalidateImage() { data_->BgChanged = true; }
    // Paints the frame from the window image (the provider's WM_NCPAINT).
    void PaintFrame();
    // The plain colour of the form's client area (scGetColor).
    framework::TColor PlainColor() const;
    // The skin: section lookups, system menu style, form colour, a full frame repaint.
    void ApplySkin();
    // Hands the form's popup menus and stand-alone menu items (all it owns, through owned
    // components) to the manager's menu painter: hooked while the skin is ready and popups
    // are skinned, unhooked otherwise. Only for the default manager, whose painter is the
    // one menus go to; done on skin apply and refresh, on showing and on activation, so that
    // menus made since are skinned too.
    void HookMenus();

    void Loaded() override;

    // TsBindingHost
    framework::TCustomForm* HostForm() const override { return form_; }
    void DropFramePicture() override;
    void RedrawAll() override;

    // TsProviderLink
    framework::TCustomForm* Form() const override { return form_; }
    skin::TsSkinManager* Manager() const override { return data_->Manager(); }
    void SetSkinChanging(bool changing) override { skinChanging_ = changing; }
    bool SkinChanging() const { return skinChanging_; }
    bool DrawsFrame() const override { return true; }
    void RepaintFrame() override;
    framework::TBitmap* RenderWindowPicture() override { return WindowImage(); }

  private:
    friend class TsFrameInteraction;
    // The frame's behaviour takes messages first; true when handled.
    bool TitleButtonMessage(framework::TMessage& m);
    void Hook();
    void NewWndProc(framework::TMessage& m);
    void CallDefault(framework::TMessage& m) { oldProc_(m); }
    bool HandleFrameMessage(framework::TMessage& m);
    bool HandleSkinCommand(framework::TMessage& m);
    void NewSkin();
    void RemoveSkin();
    void Refresh();
    void LookUpSections();
    void UpdateSystemMenuStyle(bool skinned);
    void ApplyFormColor();
    void RebuildImage();
    void UpdateRegion();
    void BlitFrame(HDC dc, const TsFrameMetrics& m);
    void AnswerBg(framework::TMessage& m);
    void OnPaint(framework::TMessage& m);
    void OnEraseBkgnd(framework::TMessage& m);
    void OnShowingChanged(framework::TMessage& m);
    void ShowAnimated(framework::TMessage& m, skin::TacAnimEffect effect);
    void OnPrint(framework::TMessage& m);
    void PrintClient(HDC dc, LPARAM flags, framework::TBitmap& image);
    void RepaintAfterDefault(framework::TMessage& m);
    TsFrameLook Look();
    bool WindowShowing() const;

    framework::TCustomForm* form_ = nullptr;
    std::unique_ptr<paint::TsCommonData> data_;
    std::unique_ptr<TsFrameInteraction> frame_;
    framework::TWndMethod oldProc_;
    framework::TAlignment alignment_ = framework::TAlignment::taLeftJustify;
    bool showAppIcon_ = true;
    std::string titleSkin_;
    bool hooked_ = false;
    bool secondary_ = false;
    bool autoCreated_ = false;
    bool active_ = false;
    bool applied_ = false;
    bool firstPaint_ = true;
    bool regionDirty_ = true;
    bool regionBusy_ = false;
    bool hadSysMenu_ = false;
    bool skinChanging_ = false;
    bool pendingRepaint_ = false;
    // Whether the window image holds the client background; a plain form's does not, unless
    // it was built while a skin change animates (every binding then paints its cache).
    bool imageHasClient_ = false;
    bool minimizing_ = false;
    int redrawLocks_ = 0;
    int titleIndex_ = -1;
    int captionIndex_ = -1;
    std::vector<RECT> corners_;
    paint::GlowMask glow_[2];  // caption halos: inactive, active
};

}  // namespace forms

// The binding of a skinned control (or a form provider) to a section of the loaded skin: the
// section's indexes, whether the control paints through a cached image of itself, that image,
// the hot state and the update cycle that keeps a child from painting over a stale parent.
// Background questions, painting entry points and text live beside it (bg_query.h,
// control_paint.h, control_text.h, cache_copy.h); the common answers to skin commands are
// common_commands.h.
#pragma once

#include <memory>
#include <string>

#include "framework/control.h"
#include "framework/form.h"
#include "framework/graphic.h"
#include "skin/skin_manager.h"

namespace paint {

// What a binding asks of a form provider that owns it; the provider lives above this layer.
class TsBindingHost {
public:
    virtual ~TsBindingHost() = default;
    virtual framework::TCustomForm* HostForm() const = 0;
    // The section changed: the provider's cached frame picture is stale.
    virtual void DropFramePicture() = 0;
    virtual bool IsMdiParent() const { return false; }
    // A complete synchronous redraw of the form with its frame and all children.
    virtual void RedrawAll() = 0;
};

// Bits of OpacityFlags.
constexpr unsigned kOpacityPlain = 1;        // a plain container painted without a cache
constexpr unsigned kOpacityAnimating = 2048; // an animation of the control is running

// Section states the painters take: 0 normal, 1 hot.
constexpr int kStateNormal = 0;
constexpr int kStateHot = 1;

class TsCommonData {
public:
    // owner: the control served, or a form provider (a component that is a TsBindingHost).
    // wantsCache: start with an empty 24-bit CacheBmp.
    TsCommonData(framework::TComponent* owner, bool wantsCache);
    ~TsCommonData();
    TsCommonData(const TsCommonData&) = delete;
    TsCommonData& operator=(const TsCommonData&) = delete;

    // Published properties
    const std::string& SkinSection() const { return section_; }
    // Stored upper case; an empty value stores "UNKNOWN".
    void SetSkinSection(const std::string& value);
    // The stored manager; null means the default manager.
    skin::TsSkinManager* SkinManager() const { return manager_; }
    void SetSkinManager(skin::TsSkinManager* value);
    bool CustomColor() const { return customColor_; }
    void SetCustomColor(bool value);
    bool CustomFont() const { return customFont_; }
    void SetCustomFont(bool value);

    // The manager in effect (the stored one, else the default manager), its model, the bound
    // section and its frame image; null when missing.
    skin::TsSkinManager* Manager() const;
    const skin::TsSkinModel* Model() const;
    const skin::TsGeneralData* Section() const;
    const skin::TsMaskData* Border() const;
    // lParam of a manager's command names this binding's manager.
    bool IsOwnManager(LPARAM lParam) const;
    TsBindingHost* Host() const;

    framework::TControl* OwnerControl = nullptr;
    framework::TComponent* OwnerObject = nullptr;
    int SkinIndex = -1;
    int BorderIndex = -1;
    int Texture = -1;
    int HotTexture = -1;
    std::unique_ptr<framework::TBitmap> CacheBmp;
    bool BgChanged = true;
    bool Updating = false;
    bool Focused = false;
    bool MouseAbove = false;
    bool HalfVisible = true;
    bool ForceRepaint = false;
    int ControlKind = 0;
    unsigned OpacityFlags = 0;
    int GlowId = -1;

    bool IsSkinned(bool requireReady = false) const;
    void UpdateIndexes();
    void ApplyDefaultSection();
    // After construction and after loading: the default section, then the announcement to
    // the form and the colours of an edit.
    void AfterCreate();

    bool IsComplexBg() const;
    void UpdateOpacity(bool withChildren);
    bool NeedsCache() const;
    bool IsHot() const;
    bool ComputeUpdating() const;
    void InitCacheBmp();
    void RepaintControl();
    int MaxBorderWidth() const;

    // The owner control's colour, or the provider's form's; RGB.
    framework::TColor OwnerColor() const;
    // The control whose children this binding's owner is: the owner control, or the
    // provider's form.
    framework::TWinControl* OwnerContainer() const;
    // The parent control of the owner (for a provider: its form's parent), or null.
    framework::TWinControl* OwnerParent() const;
    // The owner's own window, when it has one.
    HWND OwnerWindow() const;

private:
    void ApplyEditColors();
    void Announce(bool skinned);
    std::string section_;
    skin::TsSkinManager* manager_ = nullptr;
    bool customColor_ = false;
    bool customFont_ = false;
};

}  // namespace paint

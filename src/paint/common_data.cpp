#include "paint/common_data.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <typeinfo>

#include "framework/std_controls.h"
#include "framework/std_edit.h"
#include "paint/control_commands.h"
#include "paint/control_kinds.h"
#include "paint/image_entry.h"

namespace paint {

namespace {

using framework::TControl;
using framework::TWinControl;

constexpr const char* kUnknownSection = "UNKNOWN";
// Frames this thick hold their own background: the control needs a cache.
constexpr int kComplexFrameWidth = 30;
constexpr int kEditKind = 97;  // a kind that takes the edit colours without being an edit class

std::string UpperCase(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The class name of an object without its namespaces, as a section name takes it.
std::string ClassNameOf(const framework::TComponent& object) {
    const char* mangled = typeid(object).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    std::size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

bool IsTextEdit(const TsCommonData& d) {
    return dynamic_cast<framework::TCustomEdit*>(d.OwnerControl) || (d.OwnerControl && d.ControlKind == kEditKind);
}

bool BusyOwner(const framework::TComponent& c) {
    return (c.ComponentState() & (framework::csLoading | framework::csReading | framework::csDestroying)) != 0;
}

}  // namespace

TsCommonData::TsCommonData(framework::TComponent* owner, bool wantsCache)
    : OwnerControl(dynamic_cast<TControl*>(owner)), OwnerObject(owner) {
    if (wantsCache) CacheBmp = std::make_unique<framework::TBitmap>();
}

TsCommonData::~TsCommonData() {
    if (GlowId >= 0 && skin::FormLayer()) skin::FormLayer()->CloseGlow(GlowId);
    GlowId = -1;
    SkinIndex = BorderIndex = Texture = HotTexture = -1;
    OwnerControl = nullptr;
    OwnerObject = nullptr;
    manager_ = nullptr;
}

skin::TsSkinManager* TsCommonData::Manager() const { return manager_ ? manager_ : skin::DefaultManager(); }

const skin::TsSkinModel* TsCommonData::Model() const {
    skin::TsSkinManager* m = Manager();
    return m ? &m->Model() : nullptr;
}

const skin::TsGeneralData* TsCommonData::Section() const {
    const skin::TsSkinModel* model = Model();
    if (!model || SkinIndex < 0 || static_cast<std::size_t>(SkinIndex) >= model->Sections.size()) return nullptr;
    return &model->Sections[static_cast<std::size_t>(SkinIndex)];
}

const skin::TsMaskData* TsCommonData::Border() const {
    const skin::TsSkinModel* model = Model();
    return model ? MaskAt(*model, BorderIndex) : nullptr;
}

bool TsCommonData::IsOwnManager(LPARAM lParam) const {
    return reinterpret_cast<skin::TsSkinManager*>(lParam) == Manager();
}

TsBindingHost* TsCommonData::Host() const { return OwnerControl ? nullptr : dynamic_cast<TsBindingHost*>(OwnerObject); }

bool TsCommonData::IsSkinned(bool requireReady) const {
    skin::TsSkinManager* m = Manager();
    if (!m || m->Destroying() || !Section() || !OwnerObject || OwnerObject->Destroying()) return false;
    return !requireReady || m->GlobalInfo().SkinReady;
}

void TsCommonData::UpdateIndexes() {
    BgChanged = true;
    skin::TsSkinManager* m = Manager();
    SkinIndex = m ? m->FindSection(section_) : -1;
    OpacityFlags = 0;
    if (const skin::TsGeneralData* s = Section()) {
        BorderIndex = s->BorderIndex;
        Texture = m->FindTexture(SkinIndex, section_, "PATTERN");
        HotTexture = m->FindTexture(SkinIndex, section_, "HOTPATTERN");
        UpdateOpacity(false);
    } else {
        // A stale frame index would outlive the section it came from.
        BorderIndex = Texture = HotTexture = -1;
    }
}

void TsCommonData::ApplyDefaultSection() {
    if (!section_.empty()) {
        UpdateIndexes();
        return;
    }
    std::string_view byKind = DefaultSectionOf(ControlKind);
    SetSkinSection(!byKind.empty() ? std::string(byKind) : (OwnerObject ? ClassNameOf(*OwnerObject) : std::string()));
}

void TsCommonData::AfterCreate() {
    ApplyDefaultSection();
    if (!OwnerControl || !IsSkinned() || !OwnerControl->Parent() || OwnerControl->Loading()) return;
    if (OwnerControl->IsWindowed())
        if (framework::TCustomForm* form = OwnerControl->ParentForm())
            SendSkinCommand(form, skin::scControlCreated, 0, reinterpret_cast<LPARAM>(OwnerControl));
    if (IsTextEdit(*this)) ApplyEditColors();
}

void TsCommonData::ApplyEditColors() {
    const skin::TsGeneralData* s = Section();
    if (!s || !OwnerControl) return;
    if (!customColor_ && OwnerControl->Color() != s->Color) OwnerControl->SetColor(s->Color);
    if (!customFont_ && OwnerControl->Font().Color() != s->FontColor[0]) OwnerControl->Font().SetColor(s->FontColor[0]);
}

void TsCommonData::Announce(bool skinned) {
    if (!OwnerControl || BusyOwner(*OwnerControl) || !OwnerControl->Parent()) return;
    SendSkinCommand(OwnerControl, skinned ? skin::scRefresh : skin::scRemoveSkin, 0, reinterpret_cast<LPARAM>(Manager()));
}

void TsCommonData::SetSkinSection(const std::string& value) {
    if (value == section_) return;
    section_ = value.empty() ? std::string(kUnknownSection) : UpperCase(value);
    skin::TsSkinManager* m = Manager();
    if (!m || m->Model().Sections.empty())
        SkinIndex = -1;
    else
        UpdateIndexes();
    if (TsBindingHost* host = Host()) {
        BgChanged = true;
        host->DropFramePicture();
        return;
    }
    Announce(IsSkinned());
}

void TsCommonData::SetSkinManager(skin::TsSkinManager* value) {
    manager_ = value == skin::DefaultManager() ? nullptr : value;
    if (OwnerObject && OwnerObject->Loading()) return;
    skin::TsSkinManager* m = Manager();
    if (m && !m->Model().Sections.empty())
        UpdateIndexes();
    else
        SkinIndex = -1;
    if (OwnerControl && OwnerControl->Parent() && !OwnerControl->Destroying())
        SendSkinCommand(OwnerControl, IsSkinned() ? skin::scRefresh : skin::scRemoveSkin, 0, reinterpret_cast<LPARAM>(m));
}

void TsCommonData::SetCustomColor(bool value) {
    if (value == customColor_) return;
    customColor_ = value;
    if (IsSkinned() && IsTextEdit(*this) && !OwnerControl->Loading()) ApplyEditColors();
    RepaintControl();
}

void TsCommonData::SetCustomFont(bool value) {
    if (value == customFont_) return;
    customFont_ = value;
    RepaintControl();
}

bool TsCommonData::IsComplexBg() const {
    const skin::TsGeneralData* s = Section();
    if (!s) return false;
    if (const skin::TsMaskData* b = Border(); b && (b->WL + b->WR > kComplexFrameWidth || b->WT + b->WB > kComplexFrameWidth))
        return true;
    const int t = s->Transparency;
    if (t == 100) {
        TControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
        return !parent || (SendSkinCommand(parent, skin::scGetOpacity) & kOpacityPlain) == 0;
    }
    if (t > 0 && t < 100) return true;
    return s->ImagePercent != 0 || s->GradientPercent != 0;
}

void TsCommonData::UpdateOpacity(bool withChildren) {
    OpacityFlags &= ~kOpacityPlain;
    if (TsBindingHost* host = Host()) {
        if (!IsComplexBg() && !host->IsMdiParent()) OpacityFlags |= kOpacityPlain;
        return;
    }
    const bool panelLike = dynamic_cast<framework::TPanel*>(OwnerControl) || dynamic_cast<framework::TCustomForm*>(OwnerControl);
    if (panelLike && !IsComplexBg()) OpacityFlags |= kOpacityPlain;
    if (!withChildren || !OwnerControl || !OwnerControl->IsWindowed()) return;
    auto* container = static_cast<TWinControl*>(OwnerControl);
    for (int i = 0; i < container->ControlCount(); ++i) SendSkinCommand(container->Controls(i), skin::scGetOpacity, 0, 1);
}

bool TsCommonData::NeedsCache() const {
    return skin::AnimatingSkinChange || (OpacityFlags & kOpacityPlain) == 0 || IsHot();
}

bool TsCommonData::IsHot() const {
    if (!OwnerControl || OwnerControl->Destroying() || !OwnerControl->Enabled()) return false;
    if (Focused) return true;
    if (OwnerControl->IsWindowed() && static_cast<TWinControl*>(OwnerControl)->Focused()) return true;
    return MouseAbove && !HasNoHoverState(ControlKind);
}

bool TsCommonData::ComputeUpdating() const {
    if (!Manager()) return false;
    if (!NeedsCache()) return Updating;
    if (Updating) return true;
    TControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
    return parent && SendSkinCommand(parent, skin::scIsPreparing) != 0;
}

void TsCommonData::InitCacheBmp() {
    if (!CacheBmp) CacheBmp = std::make_unique<framework::TBitmap>();
    if (CacheBmp->PixelFormat() != framework::TPixelFormat::pf24bit) CacheBmp->SetPixelFormat(framework::TPixelFormat::pf24bit);
    int w = 0, h = 0;
    if (OwnerControl) {
        w = OwnerControl->Width(), h = OwnerControl->Height();
    } else if (TsBindingHost* host = Host(); host && host->HostForm()) {
        w = host->HostForm()->Width(), h = host->HostForm()->Height();
    }
    w = std::max(0, w), h = std::max(0, h);
    if (CacheBmp->Width() != w || CacheBmp->Height() != h) CacheBmp->SetSize(w, h);
}

void TsCommonData::RepaintControl() {
    if (TsBindingHost* host = Host()) {
        BgChanged = true;
        host->RedrawAll();
        return;
    }
    if (!OwnerControl || OwnerControl->Loading() || OwnerControl->Destroying()) return;
    BgChanged = true;
    if (!OwnerControl->Parent() || (OwnerControl->ControlState & framework::csCreating)) return;
    if (OwnerControl->IsWindowed() && !static_cast<TWinControl*>(OwnerControl)->HandleAllocated()) return;
    OwnerControl->Repaint();
}

int TsCommonData::MaxBorderWidth() const {
    const skin::TsMaskData* b = Border();
    if (!b || (b->DrawMode & 2)) return 0;
    return std::max({static_cast<int>(b->WL), static_cast<int>(b->WT), static_cast<int>(b->WR), static_cast<int>(b->WB)});
}

framework::TColor TsCommonData::OwnerColor() const {
    if (OwnerControl) return static_cast<framework::TColor>(framework::ColorToRGB(OwnerControl->Color()));
    if (TsBindingHost* host = Host(); host && host->HostForm())
        return static_cast<framework::TColor>(framework::ColorToRGB(host->HostForm()->Color()));
    return static_cast<framework::TColor>(framework::ColorToRGB(framework::clBtnFace));
}

framework::TWinControl* TsCommonData::OwnerContainer() const {
    if (OwnerControl) return OwnerControl->IsWindowed() ? static_cast<TWinControl*>(OwnerControl) : nullptr;
    TsBindingHost* host = Host();
    return host ? host->HostForm() : nullptr;
}

framework::TWinControl* TsCommonData::OwnerParent() const {
    if (OwnerControl) return OwnerControl->Parent();
    TsBindingHost* host = Host();
    return host && host->HostForm() ? host->HostForm()->Parent() : nullptr;
}

HWND TsCommonData::OwnerWindow() const {
    TWinControl* w = OwnerContainer();
    return w && w->HandleAllocated() ? w->Handle() : nullptr;
}

}  // namespace paint

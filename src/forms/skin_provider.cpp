#include "forms/skin_provider.h"

#include "forms/frame_interaction.h"
#include "forms/skinable_menus.h"

#include "framework/exceptions.h"
#include "framework/messages.h"
#include "paint/common_commands.h"
#include "paint/control_commands.h"
#include "skin/skin_commands.h"
#include "skin/skin_manager.h"

namespace forms {

using framework::TMessage;
using skin::SkinCommandWParam;

namespace {

framework::TCustomForm* FormOf(framework::TComponent* owner) {
    auto* form = dynamic_cast<framework::TCustomForm*>(owner);
    if (!form) throw framework::EAbort(kNotAFormMessage);
    return form;
}

TsSkinProvider* ExistingProvider(framework::TCustomForm* form) {
    const LRESULT r = form->Perform(skin::SM_SKINCMD, SkinCommandWParam(skin::scGetProvider));
    return dynamic_cast<TsSkinProvider*>(reinterpret_cast<skin::TsProviderLink*>(r));
}

}  // namespace

TsSkinProvider::TsSkinProvider(framework::TComponent* owner)
    : framework::TComponent(owner), form_(FormOf(owner)) {
    data_ = std::make_unique<paint::TsCommonData>(this, true);
    data_->SetSkinSection("FORM");
    data_->ControlKind = kProviderControlKind;
    frame_ = std::make_unique<TsFrameInteraction>(*this);
    if (TsSkinProvider* existing = ExistingProvider(form_)) {
        if (!existing->AutoCreated()) {
            secondary_ = true;
            return;
        }
        delete existing;
    }
    Hook();
    skin::RegisterProviderForm(this);
    if (!Loading() && Manager() && form_->HandleAllocated()) ApplySkin();
}

TsSkinProvider::~TsSkinProvider() {
    if (secondary_) return;
    skin::UnregisterProviderForm(this);
    if (hooked_) form_->WindowProc = oldProc_;
}

TsSkinProvider* TsSkinProvider::CreateAuto(framework::TCustomForm* form) {
    if (ExistingProvider(form)) return nullptr;
    auto* provider = new TsSkinProvider(form);
    provider->autoCreated_ = true;
    return provider;
}

int TsSkinProvider::TitleButtonsWidth() const {
    return frame_ && data_->Model() ? frame_->Buttons().AreaWidth() : 0;
}

std::vector<std::unique_ptr<TsTitleButton>>& TsSkinProvider::TitleButtons() {
    return frame_->Buttons().UserButtons;
}

bool TsSkinProvider::TitleButtonMessage(TMessage& m) {
    return frame_ && form_->HandleAllocated() && frame_->Handle(m);
}

void TsSkinProvider::Hook() {
    oldProc_ = form_->WindowProc;
    form_->WindowProc = [this](TMessage& m) { NewWndProc(m); };
    hooked_ = true;
}

bool TsSkinProvider::Skinned() const {
    return !secondary_ && !form_->Destroying() && data_->IsSkinned(true);
}

void TsSkinProvider::Loaded() {
    framework::TComponent::Loaded();
    if (!secondary_ && form_->HandleAllocated()) ApplySkin();
}

void TsSkinProvider::SetCaptionAlignment(framework::TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    RepaintFrame();
}

void TsSkinProvider::SetShowAppIcon(bool value) {
    if (value == showAppIcon_) return;
    showAppIcon_ = value;
    RepaintFrame();
}

void TsSkinProvider::SetTitleSkin(const std::string& value) {
    if (value == titleSkin_) return;
    titleSkin_ = value;
    LookUpSections();
    RepaintFrame();
}

void TsSkinProvider::DropFramePicture() {
    InvalidateImage();
    regionDirty_ = true;
}

void TsSkinProvider::RedrawAll() {
    if (!form_->HandleAllocated()) return;
    RedrawWindow(form_->Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TsSkinProvider::LookUpSections() {
    const skin::TsSkinModel* model = data_->Model();
    titleIndex_ = model ? model->FindSection(titleSkin_.empty() ? "FORMTITLE" : titleSkin_) : -1;
    captionIndex_ = model ? model->FindSection("CAPTION") : -1;
}

// Without WS_SYSMENU the system draws neither caption buttons nor a system menu of its own.
void TsSkinProvider::UpdateSystemMenuStyle(bool skinned) {
    HWND hwnd = form_->Handle();
    const LONG style = GetWindowLong(hwnd, GWL_STYLE);
    if (skinned) {
        if (style & WS_SYSMENU) SetWindowLong(hwnd, GWL_STYLE, style & ~WS_SYSMENU);
        hadSysMenu_ = hadSysMenu_ || (style & WS_SYSMENU) != 0;
    } else {
        if (hadSysMenu_) SetWindowLong(hwnd, GWL_STYLE, style | WS_SYSMENU);
        hadSysMenu_ = false;
    }
}

framework::TColor TsSkinProvider::PlainColor() const {
    const skin::TsGeneralData* s = Skinned() ? data_->Section() : nullptr;
    if (!s || data_->CustomColor()) return framework::ColorToRGB(form_->Color());
    return active_ ? framework::ColorToRGB(s->HotColor) : s->Color;
}

void TsSkinProvider::ApplyFormColor() {
    if (!UseGlobalColor || data_->CustomColor() || form_->Loading() || form_->Destroying()) return;
    const skin::TsSkinModel* model = data_->Model();
    const int global = model ? model->FindSection("GLOBALINFO") : -1;
    form_->SetColor(global >= 0 ? model->Sections[static_cast<std::size_t>(global)].Color
                                : framework::ColorToRGB(framework::clBtnFace));
}

void TsSkinProvider::ApplySkin() {
    if (secondary_ || !Manager() || !form_->HandleAllocated()) return;
    // While a skin is announced it counts as ready.
    const bool skinned = !form_->Destroying() && data_->IsSkinned(!skin::AnnouncingSkin);
    UpdateSystemMenuStyle(skinned);
    if (!skinned) return;
    applied_ = true;
    data_->UpdateIndexes();
    LookUpSections();
    frame_->SkinApplied();
    firstPaint_ = true;
    ApplyFormColor();
    HookMenus();
    DropFramePicture();
    RepaintFrame();
}

namespace {

void HookMenusOf(framework::TComponent& owner, TsSkinableMenus& painter, bool ready) {
    const bool skinned = ready && painter.Manager()->SkinnedPopups();
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        framework::TComponent* c = owner.Components(i);
        if (auto* popup = dynamic_cast<framework::TPopupMenu*>(c)) {
            painter.HookPopupMenu(*popup, ready);
        } else if (auto* item = dynamic_cast<framework::TMenuItem*>(c)) {
            // Items inside a menu come with their menu.
            if (!item->Parent()) painter.HookItem(*item, skinned);
        } else {
            HookMenusOf(*c, painter, ready);
        }
    }
}

}  // namespace

void TsSkinProvider::HookMenus() {
    skin::TsSkinManager* manager = Manager();
    if (secondary_ || !manager || !manager->IsDefault()) return;
    TsSkinableMenus& painter = PainterOf(*manager);
    HookMenusOf(*form_, painter, painter.Active());
}

void TsSkinProvider::NewSkin() {
    if (!hadSysMenu_ && titleIndex_ < 0 && !data_->CacheBmp) return ApplySkin();
    data_->UpdateIndexes();
    LookUpSections();
    UpdateSystemMenuStyle(data_->IsSkinned(!skin::AnnouncingSkin));
    frame_->SkinApplied();
    firstPaint_ = true;
    DropFramePicture();
    if (!skinChanging_) RepaintFrame();
}

void TsSkinProvider::RemoveSkin() {
    titleIndex_ = captionIndex_ = -1;
    data_->SkinIndex = data_->BorderIndex = -1;
    if (!form_->HandleAllocated()) return;
    UpdateSystemMenuStyle(false);
    SetWindowRgn(form_->Handle(), nullptr, TRUE);
    if (UseGlobalColor && !data_->CustomColor()) form_->SetColor(framework::clBtnFace);
    data_->CacheBmp = std::make_unique<framework::TBitmap>();
    RedrawAll();
}

void TsSkinProvider::Refresh() {
    HookMenus();
    DropFramePicture();
    ApplyFormColor();
    if (form_->HandleAllocated())
        RedrawWindow(form_->Handle(), nullptr, nullptr,
                     RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

bool TsSkinProvider::HandleSkinCommand(TMessage& m) {
    const WORD command = skin::SkinCommandOf(m.WParam);
    switch (command) {
        case skin::scGetProvider:
            m.Result = reinterpret_cast<LRESULT>(static_cast<skin::TsProviderLink*>(this));
            return true;
        case skin::scNewSkin:
            if (data_->IsOwnManager(m.LParam)) NewSkin();
            return true;
        case skin::scRemoveSkin:
            if (data_->IsOwnManager(m.LParam)) RemoveSkin();
            return true;
        case skin::scRefresh:
            if (data_->IsOwnManager(m.LParam)) Refresh();
            return true;
        case skin::scIsSkinned:
            // Asked also while a skin is announced (not ready yet): a form that answers is
            // reached once, through the provider list.
            if (!data_->IsSkinned()) return false;
            m.Result = 1;
            return true;
        default:
            break;
    }
    if (!Skinned()) return false;
    switch (command) {
        case skin::scSetUpdating: {
            const bool was = data_->Updating;
            data_->Updating = skin::SkinCommandFlag(m.WParam) == 1;
            if (was && !data_->Updating) InvalidateImage();
            return true;
        }
        case skin::scGetColor:
            m.Result = static_cast<LRESULT>(PlainColor());
            return true;
        case skin::scGetBg:
            AnswerBg(m);
            return true;
        case scGetClientOffset: {
            const TsFrameMetrics f = Metrics();
            m.Result = MAKELONG(f.LeftOffset, f.TopOffset);
            return true;
        }
        case skin::scEndAnimation:
            paint::CommonSkinCommand(*data_, m);
            if (pendingRepaint_) RepaintFrame();
            return true;
        default:
            return paint::CommonSkinCommand(*data_, m);
    }
}

void TsSkinProvider::NewWndProc(TMessage& m) {
    if (m.Msg == skin::SM_SKINCMD) {
        if (HandleSkinCommand(m)) return;
        return CallDefault(m);
    }
    if (m.Msg == WM_CREATE || m.Msg == WM_NCCREATE) {
        CallDefault(m);
        return ApplySkin();
    }
    if (autoCreated_ && !applied_ && (m.Msg == WM_NCPAINT || m.Msg == WM_NCHITTEST)) ApplySkin();
    if (!Skinned()) return CallDefault(m);
    if (TitleButtonMessage(m)) return;
    if (!HandleFrameMessage(m)) CallDefault(m);
}

}  // namespace forms

#include "paint/common_commands.h"

#include "framework/std_edit.h"
#include "paint/bg_query.h"

namespace paint {

namespace {


void NewSkin(TsCommonData& d, LPARAM lParam) {
    if (!d.IsOwnManager(lParam)) return;
    d.UpdateIndexes();
    d.UpdateOpacity(false);
}

void RemoveSkin(TsCommonData& d, LPARAM lParam) {
    if (!d.IsOwnManager(lParam)) return;
    auto* m = reinterpret_cast<skin::TsSkinManager*>(lParam);
    // A manager on its way out must not be reached again through this binding.
    if (m && m->Destroying() && d.SkinManager() == m) d.SetSkinManager(nullptr);
    d.BorderIndex = d.SkinIndex = d.Texture = d.HotTexture = -1;
    d.Updating = true;
    if (d.CacheBmp) d.CacheBmp->SetSize(0, 0);
    if (auto* edit = dynamic_cast<framework::TCustomEdit*>(d.OwnerControl)) {
        if (!d.CustomColor()) edit->SetColor(framework::clWindow);
        if (!d.CustomFont()) edit->Font().SetColor(framework::clWindowText);
    }
}

void Refresh(TsCommonData& d, LPARAM lParam) {
    if (!d.IsOwnManager(lParam)) return;
    d.BgChanged = true;
    d.Updating = false;
    if (const skin::TsGeneralData* s = d.IsSkinned() ? d.Section() : nullptr)
        if (auto* edit = dynamic_cast<framework::TCustomEdit*>(d.OwnerControl)) {
            if (!d.CustomColor()) edit->SetColor(s->Color);
            if (!d.CustomFont()) edit->Font().SetColor(s->FontColor[0]);
        }
    d.UpdateOpacity(false);
}

void ParentBgChanged(TsCommonData& d, WORD lo) {
    const skin::TsGeneralData* s = d.Section();
    if (lo == 1 && s && s->Transparency > 0) d.BgChanged = true;
}

}  // namespace

bool CommonSkinCommand(TsCommonData& d, framework::TMessage& m) {
    const WORD lo = skin::SkinCommandFlag(m.WParam);
    switch (skin::SkinCommandOf(m.WParam)) {
    case skin::scNewSkin: NewSkin(d, m.LParam); return false;
    case skin::scRemoveSkin: RemoveSkin(d, m.LParam); return false;
    case skin::scRefresh: Refresh(d, m.LParam); return false;
    case skin::scIsSkinned: m.Result = 1; return true;
    case skin::scSetUpdating: d.Updating = lo == 1; return false;
    case skin::scSetForceRepaint: d.ForceRepaint = lo == 1; return false;
    case skin::scIsPreparing: m.Result = d.BgChanged || d.Updating; return true;
    case skin::scGetHalfVisible: m.Result = d.HalfVisible; return true;
    case skin::scParentBgChanged: ParentBgChanged(d, lo); return false;
    case skin::scInvalidateCache: d.BgChanged = true; return false;
    case skin::scGetColor:
        if (!d.OwnerControl) return false;
        m.Result = PlainColorForCommand(d);
        return true;
    case skin::scSetHalfVisible: d.HalfVisible = true; return false;
    case skin::scGetSkinIndex:
        if (m.LParam) *reinterpret_cast<int*>(m.LParam) = d.SkinIndex;
        return true;
    case skin::scGetBg:
        if (m.LParam) AnswerBgQuery(d, *reinterpret_cast<TsBgQuery*>(m.LParam), false);
        return true;
    case skin::scGetOpacity:
        if (m.LParam == 1)
            d.UpdateOpacity(true);
        else
            m.Result = d.OpacityFlags;
        return true;
    default: return false;
    }
}

}  // namespace paint

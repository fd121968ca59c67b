// A panel-like test control bound to a skin section: the smallest skinned control that
// prepares its image from its parent's and takes part in the update cycle. Shared by the
// painting tests and the binding benchmark.
#pragma once

#include <string>
#include <vector>

#include "framework/std_controls.h"
#include "paint/bg_query.h"
#include "paint/cache_copy.h"
#include "paint/common_commands.h"
#include "paint/control_commands.h"
#include "paint/control_kinds.h"
#include "paint/control_paint.h"
#include "paint/solid_fills.h"

namespace paint_test {

class BoundPanel : public framework::TPanel {
public:
    BoundPanel(framework::TComponent* owner, const std::string& section, bool wantsCache = true)
        : TPanel(owner), SkinData(this, wantsCache) {
        SkinData.ControlKind = paint::ckPanel;
        SkinData.SetSkinSection(section);
    }
    void Place(framework::TWinControl* parent, int x, int y, int w, int h) {
        SetBounds(x, y, w, h);
        SetParent(parent);
        SkinData.AfterCreate();
    }
    int prepares = 0;
    int paints = 0;  // paints that reached the screen
    std::vector<WORD> commands;  // skin commands received, in order
    paint::TsCommonData SkinData;

    void Prepare() {
        ++prepares;
        SkinData.InitCacheBmp();
        const paint::TsBgSource bg = paint::GetParentBgSource(SkinData);
        paint::PaintControlBg(SkinData, bg, true, true, SkinData.CacheBmp.get(), POINT{Left(), Top()},
                              RECT{0, 0, Width(), Height()}, SkinData.IsHot() ? paint::kStateHot : paint::kStateNormal);
        SkinData.BgChanged = false;
        SkinData.HalfVisible = false;
    }

protected:
    void WndProc(framework::TMessage& m) override {
        if (m.Msg == skin::SM_SKINCMD) {
            commands.push_back(skin::SkinCommandOf(m.WParam));
            if (skin::SkinCommandOf(m.WParam) == skin::scParentPainted) {
                ParentPainted();
                return;
            }
            if (!paint::CommonSkinCommand(SkinData, m)) TPanel::WndProc(m);
            return;
        }
        if (m.Msg == WM_ERASEBKGND && SkinData.IsSkinned()) {
            m.Result = 1;
            return;
        }
        TPanel::WndProc(m);
    }
    void PaintHandler(framework::TMessage& m) override {
        if (!SkinData.IsSkinned()) {
            TPanel::PaintHandler(m);
            return;
        }
        PAINTSTRUCT ps{};
        HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle(), &ps);
        SkinData.Updating = SkinData.ComputeUpdating();
        if (!SkinData.Updating) PaintSkinned(dc);
        if (!m.WParam) EndPaint(Handle(), &ps);
    }

private:
    void PaintSkinned(HDC dc) {
        ++paints;
        RECT r = ClientRect();
        if (SkinData.NeedsCache()) {
            if (SkinData.BgChanged || SkinData.HalfVisible) Prepare();
            paint::CopyCacheToDC(SkinData, this, dc, r, POINT{0, 0}, false);
        } else {
            paint::FillRectSolid(dc, r, paint::ColorForChildren(SkinData, false));
        }
        paint::PaintGraphicChildren(dc, this, POINT{0, 0});
        if (skin::AnimatingSkinChange) return;
        for (int i = 0; i < ControlCount(); ++i)
            if (Controls(i)->IsWindowed() && static_cast<TWinControl*>(Controls(i))->HandleAllocated() && Controls(i)->Visible())
                paint::SendSkinCommand(Controls(i), skin::scParentPainted);
    }
    void ParentPainted() {
        if (SkinData.Updating) {
            SkinData.Updating = false;
            SkinData.Updating = SkinData.ComputeUpdating();
            if (!SkinData.Updating && HandleAllocated())
                RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        }
        for (int i = 0; i < ControlCount(); ++i)
            if (Controls(i)->IsWindowed()) paint::SendSkinCommand(Controls(i), skin::scParentPainted);
    }
};

}  // namespace paint_test

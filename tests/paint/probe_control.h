// A windowed test control bound to a section that passes skin commands and window messages
// through the common handling, recording the skin commands it receives.
#pragma once

#include <string>
#include <vector>

#include "framework/std_controls.h"
#include "paint/common_commands.h"
#include "paint/common_wndproc.h"
#include "paint/control_kinds.h"

namespace paint_test {

class ProbeControl : public framework::TCustomControl {
  public:
    ProbeControl(framework::TComponent* owner, const std::string& section, int kind)
        : TCustomControl(owner), SkinData(this, true) {
        SkinData.ControlKind = kind;
        SkinData.SetSkinSection(section);
    }
    void Place(framework::TWinControl* parent, RECT r) {
        SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        SetParent(parent);
        SkinData.AfterCreate();
    }
    paint::TsCommonData SkinData;
    std::vector<WORD> commands;
    bool lastHandled = false;

  protected:
    void WndProc(framework::TMessage& m) override {
        if (m.Msg == skin::SM_SKINCMD) {
            commands.push_back(skin::SkinCommandOf(m.WParam));
            lastHandled = paint::CommonSkinCommand(SkinData, m);
            if (!lastHandled) TCustomControl::WndProc(m);
            return;
        }
        lastHandled = paint::CommonWndProc(SkinData, m);
        if (!lastHandled) TCustomControl::WndProc(m);
    }
};

}  // namespace paint_test

// The form layer as the layers below it reach it (skin::TsFormLayer): the control binding opens
// and closes glows through it, the skin manager closes them all before a skin change.
#pragma once

#include <memory>

#include "skin/skin_engine.h"

namespace forms {

class TFormLayer : public skin::TsFormLayer {
  public:
    TFormLayer() = default;
    // Closes every glow, and uninstalls itself when it is the installed layer.
    ~TFormLayer() override;

    int OpenGlow(const skin::TsGlowRequest& request) override;
    void CloseGlow(int id) override;
    void CloseAllGlows() override;

    // Skinned popup menus and window adapters belong to this layer but are not built yet: until
    // they are, a menu opens unskinned, no adapter is attached (false) and there are no menu
    // pictures to forget.
    void HookPopupMenu(framework::TPopupMenu&, skin::TsSkinManager*, bool) override {}
    void ForgetMenuPictures(skin::TsSkinManager*) override {}
    bool AttachAdapter(HWND, skin::TsAdapterKind, const std::string&) override { return false; }
    void DetachAdapter(HWND) override {}
};

// Makes the form layer and installs it with skin::SetFormLayer; the program keeps the result
// for as long as it runs, and dropping it closes the glows and uninstalls the layer.
std::unique_ptr<TFormLayer> InstallFormLayer();

}  // namespace forms

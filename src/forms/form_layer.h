// The form layer as the layers below it reach it (skin::TsFormLayer): the control binding opens
// and closes glows through it, popup menus are handed to the menu painter of the manager
// concerned, and the skin manager closes every glow and drops the menu pictures around a skin
// change. One object is installed for the process.
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
    // Menus go to the painter the manager owns (made on first use).
    void HookPopupMenu(framework::TPopupMenu& menu, skin::TsSkinManager* manager,
                       bool active) override;
    void ForgetMenuPictures(skin::TsSkinManager* manager) override;
    // The creation hook's window adapters are not built: the menu painter subclasses popup
    // windows itself, so no window is taken.
    bool AttachAdapter(HWND, skin::TsAdapterKind, const std::string&) override { return false; }
    void DetachAdapter(HWND) override {}
};

// Makes the form layer and installs it with skin::SetFormLayer; the program keeps the result
// for as long as it runs, and dropping it closes the glows and uninstalls the layer.
std::unique_ptr<TFormLayer> InstallFormLayer();

}  // namespace forms

// The form layer as the layers below it see it (skin::TsFormLayer): one object installed for
// the process that hands menu calls to the menu painter of the manager concerned, and glow
// calls to the glow windows.
#pragma once

#include "skin/skin_engine.h"

namespace forms {

class TsFormsLayer : public skin::TsFormLayer {
  public:
    // Glow windows: not shown by this layer yet (-1, nothing to close).
    int OpenGlow(const skin::TsGlowRequest& request) override;
    void CloseGlow(int id) override;
    void CloseAllGlows() override;
    // Menus go to the painter the manager owns (made on first use).
    void HookPopupMenu(framework::TPopupMenu& menu, skin::TsSkinManager* manager,
                       bool active) override;
    void ForgetMenuPictures(skin::TsSkinManager* manager) override;
    // The creation hook's window adapters are not built: the menu painter subclasses popup
    // windows itself, so no window is taken.
    bool AttachAdapter(HWND window, skin::TsAdapterKind kind, const std::string& section) override;
    void DetachAdapter(HWND window) override;
};

// Installs the layer for its lifetime (and uninstalls it only if still installed).
class FormLayerInstallation {
  public:
    FormLayerInstallation();
    ~FormLayerInstallation();
    FormLayerInstallation(const FormLayerInstallation&) = delete;
    FormLayerInstallation& operator=(const FormLayerInstallation&) = delete;
    TsFormsLayer& Layer() { return layer_; }

  private:
    TsFormsLayer layer_;
    skin::TsFormLayer* previous_;
};

}  // namespace forms

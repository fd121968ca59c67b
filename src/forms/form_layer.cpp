#include "forms/form_layer.h"

#include "forms/skinable_menus.h"
#include "skin/skin_manager.h"

namespace forms {

// --- Glow windows (delegated to the glow windows' code once it is merged) -----------------

int TsFormsLayer::OpenGlow(const skin::TsGlowRequest&) {
    return -1;
}
void TsFormsLayer::CloseGlow(int) {}
void TsFormsLayer::CloseAllGlows() {}

// --- Menus -------------------------------------------------------------------------------

void TsFormsLayer::HookPopupMenu(framework::TPopupMenu& menu, skin::TsSkinManager* manager,
                                 bool active) {
    if (!manager) manager = skin::DefaultManager();
    if (!manager) return;
    PainterOf(*manager).HookPopupMenu(menu, active);
}

void TsFormsLayer::ForgetMenuPictures(skin::TsSkinManager* manager) {
    if (manager)
        PainterOf(*manager).Refresh();
    else
        TsSkinableMenus::FreeAllBackgrounds();
}

// --- Window adapters ---------------------------------------------------------------------

bool TsFormsLayer::AttachAdapter(HWND, skin::TsAdapterKind, const std::string&) {
    return false;
}
void TsFormsLayer::DetachAdapter(HWND) {}

FormLayerInstallation::FormLayerInstallation() : previous_(skin::FormLayer()) {
    skin::SetFormLayer(&layer_);
}

FormLayerInstallation::~FormLayerInstallation() {
    if (skin::FormLayer() == &layer_) skin::SetFormLayer(previous_);
}

}  // namespace forms

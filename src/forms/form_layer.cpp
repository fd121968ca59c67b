#include "forms/form_layer.h"

#include "forms/glow_registry.h"
#include "forms/skinable_menus.h"
#include "skin/skin_manager.h"

namespace forms {

TFormLayer::~TFormLayer() {
    CloseAllGlowWindows();
    if (skin::FormLayer() == this) skin::SetFormLayer(nullptr);
}

int TFormLayer::OpenGlow(const skin::TsGlowRequest& r) {
    return OpenGlowWindow(r.box, r.visible, r.section, r.manager, r.parent, r.overlap, r.entry);
}

void TFormLayer::CloseGlow(int id) {
    CloseGlowWindow(id);
}

void TFormLayer::CloseAllGlows() {
    CloseAllGlowWindows();
}

void TFormLayer::HookPopupMenu(framework::TPopupMenu& menu, skin::TsSkinManager* manager,
                               bool active) {
    if (!manager) manager = skin::DefaultManager();
    if (!manager) return;
    PainterOf(*manager).HookPopupMenu(menu, active);
}

void TFormLayer::ForgetMenuPictures(skin::TsSkinManager* manager) {
    if (manager)
        PainterOf(*manager).Refresh();
    else
        TsSkinableMenus::FreeAllBackgrounds();
}

std::unique_ptr<TFormLayer> InstallFormLayer() {
    auto layer = std::make_unique<TFormLayer>();
    skin::SetFormLayer(layer.get());
    return layer;
}

}  // namespace forms

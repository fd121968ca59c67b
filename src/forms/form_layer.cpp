#include "forms/form_layer.h"

#include "forms/glow_registry.h"

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

std::unique_ptr<TFormLayer> InstallFormLayer() {
    auto layer = std::make_unique<TFormLayer>();
    skin::SetFormLayer(layer.get());
    return layer;
}

}  // namespace forms

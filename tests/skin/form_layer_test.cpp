// The manager reaches the form layer through the one link it installs: glows close before a
// skin is announced and when it is removed, and the menu painter forgets its pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/skin_manager.h"

namespace {

using namespace skin;

class RecordingLayer : public TsFormLayer {
  public:
    std::vector<std::string> calls;
    void CloseAllGlows() override { calls.push_back("close glows"); }
    void ForgetMenuPictures(TsSkinManager*) override { calls.push_back("forget menus"); }
};

TEST(FormLayerLink, AnnouncingAndRemovingASkinCloseTheGlowsFirst) {
    RecordingLayer layer;
    SetFormLayer(&layer);
    {
        TsSkinManager manager(nullptr);
        manager.Model().Sections.emplace_back();
        manager.SendNewSkin(false);
        EXPECT_EQ(layer.calls, (std::vector<std::string>{"close glows", "forget menus"}));
        layer.calls.clear();
        manager.SendRemoveSkin();
        EXPECT_EQ(layer.calls, std::vector<std::string>{"close glows"});
    }
    SetFormLayer(nullptr);
    TsSkinManager withoutLayer(nullptr);
    withoutLayer.SendNewSkin(false);  // nothing to reach, nothing breaks
    EXPECT_TRUE(withoutLayer.GlobalInfo().SkinReady);
}

}  // namespace

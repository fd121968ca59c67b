// Glow ids: closing, closing again, ids kept after a glow went, and how many slots hovering
// leaves behind; the form layer that the control binding reaches the glows through.
#include "forms/form_layer.h"
#include "glow_test_support.h"

namespace forms_test {
namespace {

using forms::CloseAllGlowWindows;
using forms::CloseGlowWindow;
using forms::FindGlow;
using forms::GlowRegistrySlots;
using forms::OpenGlowCount;

constexpr RECT kBox{150, 150, 210, 180};
constexpr RECT kWhole{0, 0, 60, 30};

class GlowRegistry : public GlowTest {
  protected:
    void SetUp() override {
        GlowTest::SetUp();
        AddSection("BUTTON");
        AddFrameEntry("BUTTON", "GLOW0", 4, 4, 4, 4);
    }
};

TEST_F(GlowRegistry, ClosingTwiceDoesNothingTheSecondTime) {
    int a = Open(kBox, kWhole, 0);
    int b = Open(RECT{300, 150, 360, 180}, kWhole, 0);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    ASSERT_NE(a, b);
    CloseGlowWindow(a);
    EXPECT_EQ(FindGlow(a), nullptr);
    EXPECT_EQ(OpenGlowCount(), 1u);
    CloseGlowWindow(a);
    EXPECT_EQ(OpenGlowCount(), 1u);
    EXPECT_NE(FindGlow(b), nullptr);
    CloseGlowWindow(-1);
    CloseGlowWindow(b + 1000);
    EXPECT_EQ(OpenGlowCount(), 1u);
}

TEST_F(GlowRegistry, AnIdKeptAfterItsGlowWentNeverClosesTheNextOne) {
    // Regression: with plain indexes the next glow took the same id, and the first control's
    // late close took it away from the second.
    int first = Open(kBox, kWhole, 0);
    CloseGlowWindow(first);
    int second = Open(kBox, kWhole, 0);
    ASSERT_GE(second, 0);
    EXPECT_NE(second, first);
    CloseGlowWindow(first);
    EXPECT_NE(FindGlow(second), nullptr);

    // The skin manager closes all glows; controls still hold their ids.
    CloseAllGlowWindows();
    int third = Open(kBox, kWhole, 0);
    EXPECT_NE(third, second);
    EXPECT_NE(third, first);
    CloseGlowWindow(second);
    EXPECT_NE(FindGlow(third), nullptr);
}

TEST_F(GlowRegistry, HoveringAThousandTimesLeavesNoSlotsBehind) {
    int other = Open(RECT{300, 150, 360, 180}, kWhole, 0);  // a glow that stays open
    std::vector<int> ids;
    for (int i = 0; i < 1000; ++i) {
        int id = Open(kBox, kWhole, 0);
        ASSERT_GE(id, 0) << i;
        ids.push_back(id);
        ASSERT_LE(GlowRegistrySlots(), 2u) << i;
        CloseGlowWindow(id);
    }
    EXPECT_EQ(GlowRegistrySlots(), 1u);
    EXPECT_EQ(OpenGlowCount(), 1u);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "an id was given twice";
    CloseGlowWindow(other);
    EXPECT_EQ(GlowRegistrySlots(), 0u);
}

TEST_F(GlowRegistry, CloseAllClosesEveryWindowAndEmptiesTheRegistry) {
    std::vector<HWND> windows;
    for (int i = 0; i < 3; ++i)
        windows.push_back(FindGlow(Open(kBox, kWhole, i))->GlowForm()->Handle());
    CloseAllGlowWindows();
    EXPECT_EQ(GlowRegistrySlots(), 0u);
    for (HWND h : windows) EXPECT_FALSE(IsWindow(h));
}

TEST_F(GlowRegistry, TheFormLayerCarriesTheBindingsRequests) {
    {
        auto layer = forms::InstallFormLayer();
        ASSERT_EQ(skin::FormLayer(), layer.get());
        skin::TsGlowRequest request;
        request.box = kBox;
        request.visible = kWhole;
        request.section = "BUTTON";
        request.manager = manager.get();
        request.parent = form->Handle();
        request.overlap = 1;
        int id = skin::FormLayer()->OpenGlow(request);
        ASSERT_GE(id, 0);
        // 60 + 4 + 4 - 2 wide, from 150 - 4 + 1.
        RECT r = GlowRect(id);
        EXPECT_EQ(r.left, 147);
        EXPECT_EQ(r.right - r.left, 66);
        skin::FormLayer()->CloseGlow(id);
        EXPECT_EQ(FindGlow(id), nullptr);
        Open(kBox, kWhole, 0);
        skin::FormLayer()->CloseAllGlows();
        EXPECT_EQ(OpenGlowCount(), 0u);
        Open(kBox, kWhole, 0);
    }
    // Dropping the layer closes what is left and uninstalls it.
    EXPECT_EQ(skin::FormLayer(), nullptr);
    EXPECT_EQ(OpenGlowCount(), 0u);
}

}  // namespace
}  // namespace forms_test

// Binding a control to a section: the section name rules, the default section, the kind
// sets, the default manager in command comparisons, and when a control needs a cache.
#include "binding_test_support.h"

namespace paint_test {
namespace {

using paint::TsCommonData;

std::string CaseSection(int n) { return std::string(1, static_cast<char>('A' + n)); }

int Count(const std::vector<WORD>& list, WORD command) {
    return static_cast<int>(std::count(list.begin(), list.end(), command));
}

TEST_F(BindingTest, SectionNameIsStoredUpperCaseAndAnnouncedWhenTheRawValueDiffers) {
    AddSection("PANEL");
    AddSection("CHECKBOX");
    Ready();
    BoundPanel* p = Panel(form, "PANEL", {0, 0, 50, 40});
    p->commands.clear();

    p->SkinData.SetSkinSection("checkbox");
    EXPECT_EQ(p->SkinData.SkinSection(), "CHECKBOX");
    EXPECT_EQ(p->SkinData.SkinIndex, model().FindSection("CHECKBOX"));
    EXPECT_EQ(Count(p->commands, skin::scRefresh), 1);

    p->SkinData.SetSkinSection("CHECKBOX");  // the stored value: nothing happens
    EXPECT_EQ(Count(p->commands, skin::scRefresh), 1);
    p->SkinData.SetSkinSection("checkbox");  // differs from the stored value as given
    EXPECT_EQ(Count(p->commands, skin::scRefresh), 2);

    p->SkinData.SetSkinSection("");
    EXPECT_EQ(p->SkinData.SkinSection(), "UNKNOWN");
    EXPECT_EQ(p->SkinData.SkinIndex, -1);
    EXPECT_FALSE(p->SkinData.IsSkinned());
    EXPECT_EQ(Count(p->commands, skin::scRemoveSkin), 1);
}

TEST_F(BindingTest, AfterCreateGivesAnEmptySectionTheDefaultOfItsKind) {
    AddSection("PANEL");
    AddSection("CHECKBOX");
    AddSection("BOUNDPANEL");
    Ready();
    struct Case {
        int kind;
        const char* expected;
    } cases[] = {{paint::ckPanel, "PANEL"}, {paint::ckCheckBox, "CHECKBOX"}, {152, "CHECKBOX"}, {9, "BOUNDPANEL"}, {300, "BOUNDPANEL"}};
    for (const Case& c : cases) {
        auto* p = new BoundPanel(form, "");
        p->SkinData.ControlKind = c.kind;
        p->Place(form, 0, 0, 20, 20);
        EXPECT_EQ(p->SkinData.SkinSection(), c.expected) << "kind " << c.kind;
        EXPECT_TRUE(p->SkinData.IsSkinned()) << "kind " << c.kind;
    }
}

TEST(ControlKinds, SetsAndDefaultSectionsAtTheirEdges) {
    for (int k : {19, 51, 60, 74, 110, 141, 151, 161}) EXPECT_TRUE(paint::HasNoHoverState(k)) << k;
    for (int k : {18, 20, 50, 75, 109, 140, 162, 19 + 256}) EXPECT_FALSE(paint::HasNoHoverState(k)) << k;
    for (int k : {51, 52, 54, 56, 60, 68, 73, 74, 110, 141, 143, 151, 161, 226}) EXPECT_TRUE(paint::HasNoGlow(k)) << k;
    for (int k : {32, 53, 55, 61, 92, 142, 152}) EXPECT_FALSE(paint::HasNoGlow(k)) << k;
    for (int k : {2, 18, 41, 76, 84, 96, 97, 131, 138, 140}) EXPECT_TRUE(paint::PaintsFrameOutside(k)) << k;
    for (int k : {1, 19, 40, 85, 95, 98, 141, 151}) EXPECT_FALSE(paint::PaintsFrameOutside(k)) << k;
    EXPECT_EQ(paint::DefaultSectionOf(3), "EDIT");
    EXPECT_EQ(paint::DefaultSectionOf(227), "EDIT");
    EXPECT_EQ(paint::DefaultSectionOf(82), "COMBOBOX");
    EXPECT_EQ(paint::DefaultSectionOf(52), "PANEL_LOW");
    EXPECT_EQ(paint::DefaultSectionOf(54), "TOOLBAR");
    EXPECT_EQ(paint::DefaultSectionOf(95), "SPEEDBUTTON");
    EXPECT_EQ(paint::DefaultSectionOf(94), "BUTTON");
    EXPECT_EQ(paint::DefaultSectionOf(151), "STATUSBAR");
    EXPECT_EQ(paint::DefaultSectionOf(226), "GROUPBOX");
    for (int k : {9, 55, 138, 224}) EXPECT_TRUE(paint::DefaultSectionOf(k).empty()) << k;
}

// "No manager" used to mean "no skin" in some comparisons: it means the default manager.
TEST_F(BindingTest, CommandsOfTheDefaultManagerReachABindingWithoutManager) {
    Ready();
    BoundPanel* p = Panel(form, "LATE", {0, 0, 30, 30});
    ASSERT_EQ(p->SkinData.SkinManager(), nullptr);
    EXPECT_EQ(p->SkinData.SkinIndex, -1);
    AddSection("LATE");
    skin::TsSkinManager other(nullptr);
    p->Perform(skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scNewSkin), reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(p->SkinData.SkinIndex, -1) << "another manager's skin changes nothing";
    p->Perform(skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scNewSkin), reinterpret_cast<LPARAM>(manager.get()));
    EXPECT_EQ(p->SkinData.SkinIndex, model().FindSection("LATE"));

    p->SkinData.SetSkinManager(manager.get());
    EXPECT_EQ(p->SkinData.SkinManager(), nullptr) << "the default manager is stored as none";
    p->Perform(skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scRemoveSkin), reinterpret_cast<LPARAM>(&other));
    EXPECT_TRUE(p->SkinData.IsSkinned());
    p->Perform(skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scRemoveSkin), reinterpret_cast<LPARAM>(manager.get()));
    EXPECT_FALSE(p->SkinData.IsSkinned());
    EXPECT_TRUE(p->SkinData.Updating);
    EXPECT_EQ(p->SkinData.CacheBmp->Width(), 0);
}

TEST_F(BindingTest, ComplexBackgroundThresholds) {
    struct Case {
        const char* name;
        int wl, wr, wt, wb, transparency, gradient, image;
        bool complex;
    } cases[] = {
        {"plain", 0, 0, 0, 0, 0, 0, 0, false},
        {"frame 15 + 15 wide", 15, 15, 0, 0, 0, 0, 0, false},
        {"frame 15 + 16 wide", 15, 16, 0, 0, 0, 0, 0, true},
        {"frame 15 + 15 high", 0, 0, 15, 15, 0, 0, 0, false},
        {"frame 16 + 15 high", 0, 0, 16, 15, 0, 0, 0, true},
        {"gradient", 0, 0, 0, 0, 0, 1, 0, true},
        {"texture", 0, 0, 0, 0, 0, 0, 1, true},
        {"half transparent", 0, 0, 0, 0, 50, 0, 0, true},
        {"one percent", 0, 0, 0, 0, 1, 0, 0, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = CaseSection(n++);
        skin::TsGeneralData& s = AddSection(name);
        s.Transparency = c.transparency, s.GradientPercent = c.gradient, s.ImagePercent = c.image;
        if (c.wl + c.wr + c.wt + c.wb) AddMask(name, "BORDERSMASK", {0, 0, 36, 36}, 1, 0, skin::itisaBorder, c.wl, c.wt, c.wr, c.wb);
    }
    Ready();
    n = 0;
    for (const Case& c : cases) {
        BoundPanel* p = Panel(form, CaseSection(n++), {0, 0, 40, 40});
        EXPECT_EQ(p->SkinData.IsComplexBg(), c.complex) << c.name;
        EXPECT_EQ((p->SkinData.OpacityFlags & paint::kOpacityPlain) != 0, !c.complex) << c.name;
    }
}

TEST_F(BindingTest, FullyTransparentPanelIsPlainOnlyOverAPlainParent) {
    AddSection("PANEL", Rgb(1, 2, 3));
    AddSection("TEXTURED").ImagePercent = 100;
    AddSection("GLASS").Transparency = 100;
    Ready();
    BoundPanel* plain = Panel(form, "PANEL", {0, 0, 100, 100});
    BoundPanel* textured = Panel(form, "TEXTURED", {100, 0, 200, 100});
    BoundPanel* overPlain = Panel(plain, "GLASS", {5, 5, 50, 50});
    BoundPanel* overTexture = Panel(textured, "GLASS", {5, 5, 50, 50});
    auto* loose = new BoundPanel(form, "GLASS");
    loose->SkinData.UpdateIndexes();
    EXPECT_FALSE(overPlain->SkinData.IsComplexBg());
    EXPECT_TRUE(overTexture->SkinData.IsComplexBg());
    EXPECT_TRUE(loose->SkinData.IsComplexBg()) << "no parent";
}

TEST_F(BindingTest, OnlyPlainPanelsPaintWithoutCacheAndOnlyWhileNotHot) {
    AddSection("PANEL", Rgb(1, 2, 3));
    AddSection("CHECKBOX", Rgb(1, 2, 3));
    Ready();
    BoundPanel* p = Panel(form, "PANEL", {0, 0, 60, 60});
    EXPECT_FALSE(p->SkinData.NeedsCache());
    p->SkinData.MouseAbove = true;  // panels have no hover state
    EXPECT_FALSE(p->SkinData.NeedsCache());
    p->SkinData.Focused = true;
    EXPECT_TRUE(p->SkinData.NeedsCache());
    p->SkinData.Focused = false;
    skin::AnimatingSkinChange = true;
    EXPECT_TRUE(p->SkinData.NeedsCache());
    skin::AnimatingSkinChange = false;

    auto* box = new framework::TCheckBox(form);
    box->SetParent(form);
    TsCommonData bound(box, true);
    bound.ControlKind = paint::ckCheckBox;
    bound.SetSkinSection("CHECKBOX");
    EXPECT_TRUE(bound.IsSkinned());
    EXPECT_TRUE(bound.NeedsCache()) << "only panel-like containers paint without a cache";
    bound.MouseAbove = true;
    EXPECT_TRUE(bound.IsHot());
    box->SetEnabled(false);
    EXPECT_FALSE(bound.IsHot());
}

TEST_F(BindingTest, OpacityCommandRecomputesDownTheTreeOrOnlyReports) {
    AddSection("PANEL", Rgb(1, 2, 3));
    Ready();
    BoundPanel* outer = Panel(form, "PANEL", {0, 0, 100, 100});
    BoundPanel* inner = Panel(outer, "PANEL", {5, 5, 50, 50});
    ASSERT_EQ(inner->SkinData.OpacityFlags, paint::kOpacityPlain);
    AddSection("PANEL").GradientPercent = 20;  // both are complex now, but nobody knows yet
    EXPECT_EQ(outer->Perform(skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scGetOpacity), 0), paint::kOpacityPlain);
    EXPECT_EQ(inner->SkinData.OpacityFlags, paint::kOpacityPlain) << "lParam 0 only reports";
    outer->Perform(skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scGetOpacity), 1);
    EXPECT_EQ(outer->SkinData.OpacityFlags, 0u);
    EXPECT_EQ(inner->SkinData.OpacityFlags, 0u) << "lParam 1 reaches the children";
}

}  // namespace
}  // namespace paint_test

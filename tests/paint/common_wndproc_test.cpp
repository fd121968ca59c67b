// The common reactions to window messages on a small form of test controls: mouse crossings
// and the glow that follows them (recorded by a fake form layer), focus, size and move,
// visibility, context menus and the animation bracket.
#include "binding_test_support.h"
#include "framework/menus.h"
#include "probe_control.h"
#include "skin/skin_engine.h"

namespace paint_test {
namespace {

using framework::CM_MOUSEENTER;
using framework::CM_MOUSELEAVE;

class RecordingLayer : public skin::TsFormLayer {
  public:
    std::vector<skin::TsGlowRequest> opened;
    std::vector<int> closed;
    std::vector<std::pair<skin::TsSkinManager*, bool>> hooked;
    int OpenGlow(const skin::TsGlowRequest& r) override {
        opened.push_back(r);
        return 40 + static_cast<int>(opened.size());
    }
    void CloseGlow(int id) override { closed.push_back(id); }
    void HookPopupMenu(framework::TPopupMenu&, skin::TsSkinManager* m, bool active) override {
        hooked.emplace_back(m, active);
    }
};

class CommonWndProcTest : public BindingTest {
  protected:
    void SetUp() override {
        BindingTest::SetUp();
        skin::TsGeneralData& glowing = AddSection("GLOWING");
        glowing.GlowCount = 1;
        glowing.GlowMargin = 3;
        AddSection("DULL");
        AddSection("GRADED").GradientPercent = 30;
        AddSection("PANEL").GlowCount = 1;
        Ready();
        skin::SetFormLayer(&layer);
        form->Show();
        Pump();
    }
    void TearDown() override {
        skin::SetFormLayer(nullptr);
        BindingTest::TearDown();
    }
    ProbeControl* Probe(framework::TWinControl* parent, const std::string& section,
                        int kind = paint::ckCheckBox, RECT r = {20, 30, 80, 50}) {
        auto* p = new ProbeControl(form, section, kind);
        p->Place(parent, r);
        return p;
    }
    static void Enter(framework::TControl* c, framework::TControl* about = nullptr) {
        c->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(about ? about : c));
    }
    static void Leave(framework::TControl* c) {
        c->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(c));
    }
    RecordingLayer layer;
};

TEST_F(CommonWndProcTest, EnteringOpensOneGlowAroundTheControlAndLeavingClosesIt) {
    ProbeControl* p = Probe(form, "GLOWING");
    Enter(p);
    Enter(p);
    EXPECT_TRUE(p->SkinData.MouseAbove);
    ASSERT_EQ(layer.opened.size(), 1u);
    const skin::TsGlowRequest& r = layer.opened[0];
    const POINT origin = form->ClientToScreen(POINT{20, 30});
    EXPECT_EQ(r.box.left, origin.x);
    EXPECT_EQ(r.box.top, origin.y);
    EXPECT_EQ(r.box.right - r.box.left, 60);
    EXPECT_EQ(r.box.bottom - r.box.top, 20);
    EXPECT_EQ(r.visible.left, 0);
    EXPECT_EQ(r.visible.right, 60);
    EXPECT_EQ(r.section, "GLOWING");
    EXPECT_EQ(r.manager, manager.get());
    EXPECT_EQ(r.parent, form->Handle());
    EXPECT_EQ(r.overlap, 3);
    EXPECT_EQ(r.entry, "GLOW");
    EXPECT_EQ(p->SkinData.GlowId, 41);
    EXPECT_EQ(manager->HotControl(), p->Handle());
    Leave(p);
    EXPECT_FALSE(p->SkinData.MouseAbove);
    EXPECT_EQ(layer.closed, std::vector<int>{41});
    EXPECT_EQ(p->SkinData.GlowId, -1);
}

TEST_F(CommonWndProcTest, GlowIsCutToWhatTheParentsShow) {
    ProbeControl* p = Probe(form, "GLOWING", paint::ckCheckBox, {370, 10, 430, 30});
    Enter(p);
    ASSERT_EQ(layer.opened.size(), 1u);
    const int clientWidth = form->ClientWidth();
    EXPECT_EQ(layer.opened[0].visible.right, clientWidth - 370);
    EXPECT_EQ(layer.opened[0].visible.bottom, 20);
}

TEST_F(CommonWndProcTest, NoGlowWithoutGlowEntryForContainersOrWhileTheButtonIsDown) {
    ProbeControl* dull = Probe(form, "DULL");
    Enter(dull);
    EXPECT_TRUE(dull->SkinData.MouseAbove);
    ProbeControl* panel = Probe(form, "PANEL", paint::ckPanel);
    Enter(panel);
    EXPECT_FALSE(panel->SkinData.MouseAbove);  // no hover state for containers
    ProbeControl* button = Probe(form, "GLOWING", paint::ckSpeedButton);
    Enter(button);
    ProbeControl* pressed = Probe(form, "GLOWING");
    pressed->ControlState |= framework::csLButtonDown;
    Enter(pressed);
    EXPECT_TRUE(layer.opened.empty());
    manager->AllowGlowing = false;
    ProbeControl* forbidden = Probe(form, "GLOWING");
    Enter(forbidden);
    EXPECT_TRUE(layer.opened.empty());
}

TEST_F(CommonWndProcTest, GlowClosesOnPressMoveSizeDisableAndBeforeTheWindowGoes) {
    ProbeControl* p = Probe(form, "GLOWING");
    std::vector<std::function<void()>> closers{
        [&] {
            p->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);
            p->Perform(WM_LBUTTONUP, 0, 0);
        },
        [&] {
            p->SkinData.ForceRepaint = true;  // a plain control needs no repaint after a move
            p->SetLeft(p->Left() + 3);
            p->SkinData.ForceRepaint = false;
        },
        [&] { p->SetWidth(p->Width() + 5); },
        [&] {
            p->SetEnabled(false);
            EXPECT_FALSE(p->SkinData.MouseAbove);  // a disabled control forgets the mouse
        },
        [&] { p->DestroyHandle(); },
    };
    int expectedId = 41;
    for (auto& close : closers) {
        p->SetEnabled(true);
        p->SkinData.MouseAbove = false;
        Enter(p);
        ASSERT_EQ(p->SkinData.GlowId, expectedId);
        close();
        EXPECT_EQ(p->SkinData.GlowId, -1) << expectedId;
        ASSERT_FALSE(layer.closed.empty());
        EXPECT_EQ(layer.closed.back(), expectedId);
        ++expectedId;
    }
}

TEST_F(CommonWndProcTest, EnteringAParentMakesItsLeftoverHotSpeedButtonLeave) {
    ProbeControl* panel = Probe(form, "PANEL", paint::ckPanel, {0, 0, 200, 100});
    auto* left = new framework::TSpeedButton(form);
    left->SetBounds(5, 5, 20, 20);
    left->SetParent(panel);
    auto* named = new framework::TSpeedButton(form);
    named->SetBounds(30, 5, 20, 20);
    named->SetParent(panel);
    Enter(left);
    Enter(named);
    ASSERT_TRUE(left->MouseInControl());
    Enter(panel, named);  // passed up from the named button: it stays hot
    EXPECT_FALSE(left->MouseInControl());
    EXPECT_TRUE(named->MouseInControl());
    Enter(panel);
    EXPECT_FALSE(named->MouseInControl());
}

TEST_F(CommonWndProcTest, CrossingsPassedUpFromAChildLeaveTheParentsHotStateAlone) {
    ProbeControl* parent = Probe(form, "GLOWING", paint::ckCheckBox, {0, 0, 200, 100});
    ProbeControl* child = Probe(parent, "DULL");
    Enter(parent, child);
    EXPECT_FALSE(parent->SkinData.MouseAbove);
    EXPECT_TRUE(layer.opened.empty());
}

TEST_F(CommonWndProcTest, FocusSequenceMarksOnlyControlsThatTakeTheTab) {
    ProbeControl* a = Probe(form, "DULL", paint::ckCheckBox, {0, 0, 40, 20});
    ProbeControl* b = Probe(form, "DULL", paint::ckCheckBox, {0, 40, 40, 60});
    ProbeControl* noTab = Probe(form, "DULL", paint::ckCheckBox, {0, 80, 40, 100});
    a->TabStop = b->TabStop = true;
    a->SkinData.BgChanged = b->SkinData.BgChanged = false;
    a->SetFocus();
    Pump();
    EXPECT_TRUE(a->SkinData.Focused);
    EXPECT_TRUE(a->SkinData.BgChanged);
    EXPECT_TRUE(a->SkinData.IsHot());
    b->SetFocus();
    Pump();
    EXPECT_FALSE(a->SkinData.Focused);
    EXPECT_TRUE(b->SkinData.Focused);
    noTab->SetFocus();
    Pump();
    EXPECT_FALSE(noTab->SkinData.Focused);
    EXPECT_FALSE(b->SkinData.Focused);
    // A font change of the system forgets both hot reasons.
    a->SkinData.Focused = a->SkinData.MouseAbove = true;
    a->Perform(framework::CM_SYSFONTCHANGED);
    EXPECT_FALSE(a->SkinData.Focused);
    EXPECT_FALSE(a->SkinData.MouseAbove);
}

TEST_F(CommonWndProcTest, SizeRepaintsOnlyChildrenThatStayPutOverAGradient) {
    for (const char* section : {"GRADED", "DULL"}) {
        SCOPED_TRACE(section);
        ProbeControl* box = Probe(form, section, paint::ckCheckBox, {0, 0, 200, 100});
        auto* still = new BoundPanel(form, "DULL");
        still->Place(box, 1, 1, 10, 10);
        auto* right = new BoundPanel(form, "DULL");
        right->Place(box, 20, 1, 10, 10);
        right->SetAnchors(framework::akTop | framework::akRight);
        auto* bottom = new BoundPanel(form, "DULL");
        bottom->Place(box, 40, 1, 10, 10);
        bottom->SetAnchors(framework::akLeft | framework::akBottom);
        for (BoundPanel* c : {still, right, bottom}) c->commands.clear();
        box->SkinData.BgChanged = false;
        box->SetWidth(150);
        EXPECT_TRUE(box->SkinData.BgChanged);
        auto count = [](BoundPanel* c) {
            return std::count(c->commands.begin(), c->commands.end(), skin::scBgChanged);
        };
        EXPECT_EQ(count(still), std::string(section) == "GRADED" ? 1 : 0);
        EXPECT_EQ(count(right), 0);
        EXPECT_EQ(count(bottom), 0);
        delete box;
    }
}

TEST_F(CommonWndProcTest, HidingDropsTheImageAndShowingAsksForANewOne) {
    ProbeControl* p = Probe(form, "DULL");
    p->SkinData.InitCacheBmp();
    p->SetVisible(false);
    EXPECT_EQ(p->SkinData.CacheBmp->Width(), 0);
    p->SkinData.Updating = true;
    p->SkinData.BgChanged = false;
    p->SetVisible(true);
    EXPECT_FALSE(p->SkinData.Updating);
    EXPECT_TRUE(p->SkinData.BgChanged);
}

TEST_F(CommonWndProcTest, ContextMenuIsPreparedWithTheManagersActiveFlag) {
    // Straight to the common handling: the framework would open the menu after it.
    ProbeControl* p = Probe(form, "DULL");
    framework::TMessage m{WM_CONTEXTMENU, 0, 0, 0};
    EXPECT_FALSE(paint::CommonWndProc(p->SkinData, m));
    EXPECT_TRUE(layer.hooked.empty());  // no popup menu
    framework::TPopupMenu menu(form);
    p->SetPopupMenu(&menu);
    EXPECT_FALSE(paint::CommonWndProc(p->SkinData, m));
    ASSERT_EQ(layer.hooked.size(), 1u);
    EXPECT_EQ(layer.hooked[0].first, manager.get());
    EXPECT_EQ(layer.hooked[0].second, manager->Active());
    p->SetPopupMenu(nullptr);
}

TEST_F(CommonWndProcTest, UiStateIsSwallowedOnlyWhenSkinned) {
    ProbeControl* skinned = Probe(form, "DULL");
    skinned->Perform(paint::kUpdateUiStateMessage, 0, 0);
    EXPECT_TRUE(skinned->lastHandled);
    ProbeControl* plain = Probe(form, "NOSUCH");
    plain->Perform(paint::kUpdateUiStateMessage, 0, 0);
    EXPECT_FALSE(plain->lastHandled);
}

TEST_F(CommonWndProcTest, AnimationBracketHoldsPaintingAndTellsTheControl) {
    ProbeControl* p = Probe(form, "DULL");
    p->commands.clear();
    paint::BeginAnimation(p->SkinData);
    EXPECT_TRUE(p->SkinData.Updating);
    EXPECT_NE(p->SkinData.OpacityFlags & paint::kOpacityAnimating, 0u);
    paint::EndAnimation(p->SkinData, false);
    EXPECT_FALSE(p->SkinData.Updating);
    EXPECT_EQ(p->SkinData.OpacityFlags & paint::kOpacityAnimating, 0u);
    EXPECT_EQ(p->commands, (std::vector<WORD>{skin::scBeginAnimation, skin::scEndAnimation}));
}

TEST_F(CommonWndProcTest, PositionDependenceFollowsVisibilityStateAndParent) {
    BoundPanel* plainParent = Panel(form, "DULL", {0, 0, 100, 100});
    BoundPanel* gradedParent = Panel(form, "GRADED", {100, 0, 200, 100});
    ProbeControl* onPlain = Probe(plainParent, "DULL", paint::ckCheckBox, {1, 1, 9, 9});
    ProbeControl* onGraded = Probe(gradedParent, "DULL", paint::ckCheckBox, {1, 1, 9, 9});
    EXPECT_FALSE(paint::DependsOnPosition(onPlain->SkinData));
    EXPECT_FALSE(paint::DependsOnPosition(onGraded->SkinData));
    onPlain->SetEnabled(false);
    onGraded->SetEnabled(false);
    EXPECT_FALSE(paint::DependsOnPosition(onPlain->SkinData));
    EXPECT_TRUE(paint::DependsOnPosition(onGraded->SkinData));
    onPlain->SetEnabled(true);
    onPlain->SetVisible(false);
    EXPECT_TRUE(paint::DependsOnPosition(onPlain->SkinData));
    ProbeControl* unbound = Probe(form, "NOSUCH");
    EXPECT_TRUE(paint::DependsOnPosition(unbound->SkinData));
}

}  // namespace
}  // namespace paint_test

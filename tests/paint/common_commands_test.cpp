// The common answers to skin commands, row by row: what each command answers, whether the
// control's own processing is skipped, and what it changes, for commands of the control's
// manager and of another one.
#include <functional>

#include "binding_test_support.h"
#include "framework/std_edit.h"
#include "probe_control.h"

namespace paint_test {
namespace {

using paint::TsCommonData;

// Answers the complex-background question with extra high bits, as a foreign parent may.
class NoisyParent : public framework::TCustomControl {
  public:
    using TCustomControl::TCustomControl;
    LRESULT answer = 0x80 | 0x05;

  protected:
    void WndProc(framework::TMessage& m) override {
        if (m.Msg == skin::SM_SKINCMD && skin::SkinCommandOf(m.WParam) == skin::scIsComplexBg) {
            m.Result = answer;
            return;
        }
        TCustomControl::WndProc(m);
    }
};

class CommonCommandsTest : public BindingTest {
  protected:
    void SetUp() override {
        BindingTest::SetUp();
        AddSection("PLAIN", Rgb(1, 2, 3));
        AddSection("GRADED").GradientPercent = 40;
        AddSection("HALF").Transparency = 50;
        AddSection("GLASS").Transparency = 100;
        AddSection("TEXTURED").ImagePercent = 100;
        Ready();
    }
    ProbeControl* Probe(framework::TWinControl* parent, const std::string& section) {
        auto* p = new ProbeControl(form, section, paint::ckCheckBox);
        p->Place(parent, {5, 5, 45, 25});
        return p;
    }
    LRESULT Send(ProbeControl* p, WORD command, WORD lo = 0, LPARAM lParam = 0) {
        return p->Perform(skin::SM_SKINCMD, skin::SkinCommandWParam(command, lo), lParam);
    }
    LPARAM Own() const { return reinterpret_cast<LPARAM>(manager.get()); }
};

struct Row {
    const char* what;
    std::string section;
    WORD command;
    WORD lo;
    std::function<void(TsCommonData&)> before;
    bool handled;
    LRESULT result;  // compared only when handled
    std::function<bool(const TsCommonData&)> after;
};

TEST_F(CommonCommandsTest, AnswersTable) {
    auto nothing = [](TsCommonData&) {};
    auto clean = [](TsCommonData& d) {
        d.BgChanged = false;
        d.Updating = false;
        d.HalfVisible = false;
    };
    auto any = [](const TsCommonData&) { return true; };
    const std::vector<Row> rows{
        {"skinned test", "PLAIN", skin::scIsSkinned, 0, nothing, true, 1, any},
        {"lock on", "PLAIN", skin::scSetUpdating, 1, clean, false, 0,
         [](const TsCommonData& d) { return d.Updating; }},
        {"lock off", "PLAIN", skin::scSetUpdating, 0, [](TsCommonData& d) { d.Updating = true; },
         false, 0, [](const TsCommonData& d) { return !d.Updating; }},
        {"force on", "PLAIN", skin::scSetForceRepaint, 1, nothing, false, 0,
         [](const TsCommonData& d) { return d.ForceRepaint; }},
        {"fresh image", "PLAIN", skin::scIsPreparing, 0, clean, true, 0, any},
        {"stale image", "PLAIN", skin::scIsPreparing, 0,
         [&](TsCommonData& d) { clean(d), d.BgChanged = true; }, true, 1, any},
        {"locked image", "PLAIN", skin::scIsPreparing, 0,
         [&](TsCommonData& d) { clean(d), d.Updating = true; }, true, 1, any},
        {"half visible", "PLAIN", skin::scGetHalfVisible, 0,
         [](TsCommonData& d) { d.HalfVisible = true; }, true, 1, any},
        {"opaque ignores parent change", "PLAIN", skin::scParentBgChanged, 1, clean, false, 0,
         [](const TsCommonData& d) { return !d.BgChanged; }},
        {"see-through takes parent change", "HALF", skin::scParentBgChanged, 1, clean, false, 0,
         [](const TsCommonData& d) { return d.BgChanged; }},
        {"parent change without flag", "HALF", skin::scParentBgChanged, 0, clean, false, 0,
         [](const TsCommonData& d) { return !d.BgChanged; }},
        {"invalidate", "PLAIN", skin::scInvalidateCache, 0, clean, false, 0,
         [](const TsCommonData& d) { return d.BgChanged; }},
        {"partly hidden", "PLAIN", skin::scSetHalfVisible, 0, clean, false, 0,
         [](const TsCommonData& d) { return d.HalfVisible; }},
        {"plain needs no cache", "PLAIN", skin::scIsComplexBg, 0, nothing, true, 0, any},
        {"gradient needs a cache", "GRADED", skin::scIsComplexBg, 0, nothing, true, 1, any},
        {"forced needs a cache", "PLAIN", skin::scIsComplexBg, 0,
         [](TsCommonData& d) { d.ForceRepaint = true; }, true, 1, any},
        {"disabled over a textured parent", "PLAIN", skin::scIsComplexBg, 0,
         [](TsCommonData& d) { d.OwnerControl->SetEnabled(false); }, true, 1, any},
        {"without section", "NOSUCH", skin::scIsComplexBg, 0, nothing, false, 0, any},
        {"plain background change", "PLAIN", skin::scBgChanged, 0, clean, false, 0,
         [](const TsCommonData& d) { return !d.BgChanged; }},
        {"see-through background change", "HALF", skin::scBgChanged, 0, clean, false, 0,
         [](const TsCommonData& d) { return d.BgChanged; }},
        {"announcement of a control", "PLAIN", skin::scControlCreated, 0, nothing, false, 0, any},
        {"animation start", "PLAIN", skin::scBeginAnimation, 0, nothing, false, 0, any},
        {"application", "PLAIN", skin::scGetApplication, 0, nothing, true,
         reinterpret_cast<LRESULT>(framework::Application), any},
    };
    // The probe stands on a textured panel, so its position matters once it is see-through.
    BoundPanel* textured = Panel(form, "TEXTURED", {0, 0, 200, 100});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ProbeControl* p = Probe(textured, row.section);
        row.before(p->SkinData);
        const LRESULT result = Send(p, row.command, row.lo);
        EXPECT_EQ(p->lastHandled, row.handled);
        if (row.handled) {
            EXPECT_EQ(result, row.result);
        }
        EXPECT_TRUE(row.after(p->SkinData));
        delete p;
    }
}

TEST_F(CommonCommandsTest, FullySeeThroughAsksItsParentAndKeepsTheLowSevenBits) {
    auto* parent = new NoisyParent(form);
    parent->SetBounds(0, 0, 100, 100);
    parent->SetParent(form);
    ProbeControl* p = Probe(parent, "GLASS");
    EXPECT_EQ(Send(p, skin::scIsComplexBg), 5);
    parent->answer = 0x80;
    EXPECT_EQ(Send(p, skin::scIsComplexBg), 0);
    // Half see-through: the section decides, whatever the parent says.
    p->SkinData.SetSkinSection("GRADED");
    parent->answer = 0;
    EXPECT_EQ(Send(p, skin::scIsComplexBg), 1);
}

TEST_F(CommonCommandsTest, AnotherManagersAnnouncementsChangeNothing) {
    skin::TsSkinManager other(nullptr);
    const LPARAM foreign = reinterpret_cast<LPARAM>(&other);
    ProbeControl* p = Probe(form, "PLAIN");
    const int index = p->SkinData.SkinIndex;
    ASSERT_GE(index, 0);
    p->SkinData.InitCacheBmp();
    p->SkinData.BgChanged = false;
    p->SkinData.Updating = true;
    paint::MarkSectionChanged("plain");
    for (WORD c : {skin::scNewSkin, skin::scRemoveSkin, skin::scRefresh}) {
        Send(p, c, 0, foreign);
        EXPECT_EQ(p->SkinData.SkinIndex, index) << c;
        EXPECT_FALSE(p->SkinData.BgChanged) << c;
        EXPECT_TRUE(p->SkinData.Updating) << c;
        EXPECT_EQ(p->SkinData.CacheBmp->Width(), 40) << c;
    }
    EXPECT_EQ(paint::ChangedSection(), "PLAIN");
}

TEST_F(CommonCommandsTest, OwnAnnouncementsMoveBetweenSkinnedAndPlain) {
    ProbeControl* p = Probe(form, "PLAIN");
    const int index = p->SkinData.SkinIndex;
    p->SkinData.InitCacheBmp();
    Send(p, skin::scRemoveSkin, 0, Own());
    EXPECT_EQ(p->SkinData.SkinIndex, -1);
    EXPECT_EQ(p->SkinData.BorderIndex, -1);
    EXPECT_TRUE(p->SkinData.Updating);
    EXPECT_EQ(p->SkinData.CacheBmp->Width(), 0);
    EXPECT_EQ(p->SkinData.CacheBmp->Height(), 0);

    paint::MarkSectionChanged("other");
    Send(p, skin::scNewSkin, 0, Own());
    EXPECT_EQ(p->SkinData.SkinIndex, index);
    EXPECT_TRUE(paint::ChangedSection().empty());

    p->SkinData.BgChanged = false;
    Send(p, skin::scRefresh, 0, Own());
    EXPECT_TRUE(p->SkinData.BgChanged);
    EXPECT_FALSE(p->SkinData.Updating);
}

TEST_F(CommonCommandsTest, RemovedSkinGivesTextEditsTheirWindowColoursUnlessCustom) {
    AddSection("EDIT", Rgb(40, 50, 60)).FontColor[0] = Rgb(200, 210, 220);
    Ready();
    for (bool custom : {false, true}) {
        SCOPED_TRACE(custom);
        auto* edit = new framework::TEdit(form);
        TsCommonData data(edit, false);
        data.ControlKind = paint::ckEdit;
        edit->SetParent(form);
        data.SetSkinSection("EDIT");
        data.SetCustomColor(custom);
        data.SetCustomFont(custom);
        edit->SetColor(Rgb(1, 1, 1));
        edit->Font().SetColor(Rgb(2, 2, 2));
        framework::TMessage m{skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scRemoveSkin), Own()};
        paint::CommonSkinCommand(data, m);
        EXPECT_EQ(edit->Color(), custom ? Rgb(1, 1, 1) : framework::clWindow);
        EXPECT_EQ(edit->Font().Color(), custom ? Rgb(2, 2, 2) : framework::clWindowText);
        framework::TMessage refresh{skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scRefresh),
                                    Own()};
        data.UpdateIndexes();
        paint::CommonSkinCommand(data, refresh);
        EXPECT_EQ(edit->Color(), custom ? Rgb(1, 1, 1) : Rgb(40, 50, 60));
        EXPECT_EQ(edit->Font().Color(), custom ? Rgb(2, 2, 2) : Rgb(200, 210, 220));
        delete edit;
    }
}

TEST_F(CommonCommandsTest, RunTimeSectionChangeRepaintsOnlyTheControlsOfThatSection) {
    ProbeControl* plain = Probe(form, "PLAIN");
    ProbeControl* half = Probe(form, "HALF");
    plain->SkinData.BgChanged = half->SkinData.BgChanged = false;
    paint::MarkSectionChanged("half");
    Send(plain, skin::scSectionChanged);
    EXPECT_EQ(paint::ChangedSection(), "HALF");
    EXPECT_FALSE(plain->SkinData.BgChanged);
    Send(half, skin::scSectionChanged);
    EXPECT_TRUE(paint::ChangedSection().empty());
    EXPECT_TRUE(half->SkinData.BgChanged);
}

TEST_F(CommonCommandsTest, BackgroundChangeReachesChildrenOnlyWhenPositionMatters) {
    BoundPanel* textured = Panel(form, "TEXTURED", {0, 0, 200, 100});
    for (const char* section : {"PLAIN", "HALF"}) {
        SCOPED_TRACE(section);
        ProbeControl* p = Probe(textured, section);
        auto* child = new BoundPanel(form, "PLAIN");
        child->Place(p, 1, 1, 5, 5);
        Send(p, skin::scBgChanged, 1);
        const bool depends = std::string(section) == "HALF";
        const bool got =
            std::count(child->commands.begin(), child->commands.end(), skin::scBgChanged) == 1;
        EXPECT_EQ(got, depends);
        delete p;
    }
}

TEST_F(CommonCommandsTest, IndexOpacityAndBackgroundQueries) {
    ProbeControl* p = Probe(form, "PLAIN");
    int index = -7;
    Send(p, skin::scGetSkinIndex, 0, reinterpret_cast<LPARAM>(&index));
    EXPECT_EQ(index, p->SkinData.SkinIndex);
    p->SkinData.OpacityFlags = 0x805;
    EXPECT_EQ(Send(p, skin::scGetOpacity), 0x805);
    paint::TsBgQuery q;
    Send(p, skin::scGetBg, 0, reinterpret_cast<LPARAM>(&q));
    EXPECT_TRUE(p->lastHandled);
    EXPECT_NE(q.BgType, paint::kBgNoAnswer);
}

}  // namespace
}  // namespace paint_test

// Focus, the active control, and Tab / Shift+Tab through nested containers by tab order.
#include <gtest/gtest.h>

#include "framework/std_controls.h"
#include "framework/std_edit.h"
#include "framework_test_support.h"

namespace {

using namespace framework;
using framework_testing::FrameworkTest;
using framework_testing::Screen;

// A group with boxes first and edits second in tab order, although the edits were created
// first: Tab must follow TabOrder, not creation order.
struct Rows {
    TGroupBox* group;
    TEdit* edits[2];
    TCheckBox* boxes[2];
    TEdit* outside;
};

Rows MakeRows(TForm* form) {
    Rows r{};
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetAlign(TAlign::alClient);
    r.group = new TGroupBox(form);
    r.group->SetParent(panel);
    r.group->SetBounds(5, 5, 250, 120);
    for (int i = 0; i < 2; ++i) {
        r.edits[i] = new TEdit(form);
        r.edits[i]->SetParent(r.group);
        r.edits[i]->SetBounds(100, 20 + 30 * i, 100, 21);
        r.edits[i]->SetName("edit" + std::to_string(i));
    }
    for (int i = 0; i < 2; ++i) {
        r.boxes[i] = new TCheckBox(form);
        r.boxes[i]->SetParent(r.group);
        r.boxes[i]->SetBounds(8, 20 + 30 * i, 80, 19);
        r.boxes[i]->SetTabOrder(i);
        r.boxes[i]->SetName("box" + std::to_string(i));
    }
    r.outside = new TEdit(form);
    r.outside->SetParent(panel);
    r.outside->SetBounds(5, 150, 100, 21);
    r.outside->SetName("outside");
    return r;
}

using FocusTest = FrameworkTest;

TEST_F(FocusTest, TabWalksTabOrderAcrossContainersAndWraps) {
    TForm* form = NewForm(300, 200);
    Rows r = MakeRows(form);
    r.boxes[0]->SetFocus();
    Pump();
    std::vector<std::string> visited;
    for (int i = 0; i < 5; ++i) {
        Key(VK_TAB);
        visited.push_back(form->ActiveControl() ? form->ActiveControl()->Name() : "none");
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"box1", "edit0", "edit1", "outside", "box0"}));
}

TEST_F(FocusTest, ShiftTabGoesBackAndSkipsDisabledAndHiddenControls) {
    TForm* form = NewForm(300, 200);
    Rows r = MakeRows(form);
    r.edits[1]->SetEnabled(false);
    r.boxes[1]->SetVisible(false);
    r.outside->SetFocus();
    Pump();
    Key(VK_TAB, true);
    EXPECT_EQ(form->ActiveControl(), r.edits[0]);
    Key(VK_TAB, true);
    EXPECT_EQ(form->ActiveControl(), r.boxes[0]);
    EXPECT_TRUE(r.boxes[0]->Focused());
}

TEST_F(FocusTest, EnterAndExitFollowTheFocus) {
    TForm* form = NewForm(300, 200);
    Rows r = MakeRows(form);
    std::vector<std::string> events;
    r.edits[0]->OnEnter = [&](TObject*) { events.push_back("enter 0"); };
    r.edits[0]->OnExit = [&](TObject*) { events.push_back("exit 0"); };
    r.edits[1]->OnEnter = [&](TObject*) { events.push_back("enter 1"); };
    Click(r.edits[0]);
    Click(r.edits[1]);
    EXPECT_EQ(events, (std::vector<std::string>{"enter 0", "exit 0", "enter 1"}));
}

TEST_F(FocusTest, ActiveControlSetBeforeShowingGetsTheFocusOnShow) {
    auto* form = new TForm(app.get());
    form->SetClientSize(300, 200);
    Rows r = MakeRows(form);
    form->SetActiveControl(r.edits[1]);
    form->Show();
    Pump();
    EXPECT_TRUE(r.edits[1]->Focused());
}

}  // namespace

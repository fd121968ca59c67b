// Message routing through subclasses and replaced handlers, notifications, graphic children
// and their mouse messages, alignment, context menus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/menus.h"
#include "framework/std_controls.h"
#include "framework_test_support.h"

namespace {

using namespace framework;
using framework_testing::FrameworkTest;
using framework_testing::Screen;

constexpr UINT kPing = WM_USER + 1;
constexpr UINT kOther = WM_USER + 2;

class Base : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<UINT> seen;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == kPing || m.Msg == kOther) {
            seen.push_back(m.Msg);
            m.Result = 10;
            return;
        }
        TCustomControl::WndProc(m);
    }
};

class Derived : public Base {
public:
    using Base::Base;
    int handledHere = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == kPing) {
            ++handledHere;
            m.Result = 20;
            return;
        }
        Base::WndProc(m);
    }
};

using ControlTest = FrameworkTest;

TEST_F(ControlTest, SubclassHandlesItsMessagesAndPassesTheRestToItsBase) {
    TForm* form = NewForm();
    auto* c = new Derived(form);
    c->SetParent(form);
    EXPECT_EQ(c->Perform(kPing), 20);
    EXPECT_EQ(c->Perform(kOther), 10);
    EXPECT_EQ(c->handledHere, 1);
    EXPECT_EQ(c->seen, std::vector<UINT>{kOther});
    // The same route for messages the platform delivers to the window.
    EXPECT_EQ(SendMessage(c->Handle(), kPing, 0, 0), 20);
}

TEST_F(ControlTest, AReplacedWindowProcSeesMessagesFirstAndCanChainToThePreviousOne) {
    TForm* form = NewForm();
    auto* c = new Derived(form);
    c->SetParent(form);
    TWndMethod previous = c->WindowProc;
    std::vector<UINT> hooked;
    c->WindowProc = [&](TMessage& m) {
        hooked.push_back(m.Msg);
        if (m.Msg == kOther) {
            m.Result = 99;
            return;
        }
        previous(m);
    };
    EXPECT_EQ(SendMessage(c->Handle(), kOther, 0, 0), 99);
    EXPECT_EQ(SendMessage(c->Handle(), kPing, 0, 0), 20);
    EXPECT_TRUE(c->seen.empty());
    EXPECT_EQ(c->handledHere, 1);
    c->WindowProc = previous;
}

class NotificationLog : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::vector<UINT> log;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 100) log.push_back(m.Msg);
        TGraphicControl::WndProc(m);
    }
};

TEST_F(ControlTest, PropertyChangesAnnounceThemselvesOnlyWhenTheValueChanges) {
    TForm* form = NewForm();
    auto* c = new NotificationLog(form);
    c->SetParent(form);
    c->log.clear();
    c->SetEnabled(false);
    c->SetEnabled(false);
    c->SetVisible(false);
    c->SetText("x");
    c->SetText("x");
    c->SetColor(clRed);
    c->Font().SetHeight(-20);
    EXPECT_EQ(c->log, (std::vector<UINT>{CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_TEXTCHANGED, CM_COLORCHANGED,
                                         CM_FONTCHANGED}));
}

TEST_F(ControlTest, ChildrenFollowTheParentFontUntilTheyGetTheirOwn) {
    TForm* form = NewForm();
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* follower = new TSpeedButton(form);
    follower->SetParent(panel);
    auto* own = new TSpeedButton(form);
    own->SetParent(panel);
    own->Font().SetName("Arial");
    form->Font().SetHeight(-15);
    EXPECT_EQ(panel->Font().Height(), -15);
    EXPECT_EQ(follower->Font().Height(), -15);
    EXPECT_TRUE(follower->ParentFont());
    EXPECT_FALSE(own->ParentFont());
    EXPECT_EQ(own->Font().Height(), -11);
}

TEST_F(ControlTest, GraphicChildGetsClicksAndEnterLeaveThroughItsParent) {
    TForm* form = NewForm(200, 100);
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 40, 30);
    std::vector<std::string> events;
    button->OnClick = [&](TObject*) { events.push_back("click"); };
    button->OnMouseEnter = [&](TObject*) { events.push_back("enter"); };
    button->OnMouseLeave = [&](TObject*) { events.push_back("leave"); };
    MoveTo(form, 150, 80);
    MoveTo(button, 5, 5);
    Click(button);
    MoveTo(form, 150, 80);
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "click", "leave"}));
}

TEST_F(ControlTest, PressInsideReleaseOutsideIsNoClick) {
    TForm* form = NewForm(200, 100);
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 40, 30);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    Screen().Press(platform::MouseButton::Left, button->ClientToScreen(POINT{5, 5}));
    Pump();
    EXPECT_EQ(button->PaintState(), 2);
    Screen().MovePointer(form->ClientToScreen(POINT{150, 80}));
    Pump();
    EXPECT_EQ(button->PaintState(), 0) << "leaving with the button held shows it raised";
    Screen().Release(platform::MouseButton::Left, form->ClientToScreen(POINT{150, 80}));
    Pump();
    EXPECT_EQ(clicks, 0);
}

class CaptureLog : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int captureChanged = 0;
    int clicks = 0;

protected:
    void Click() override { ++clicks; }
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_CAPTURECHANGED) ++captureChanged;
        TGraphicControl::WndProc(m);
    }
};

TEST_F(ControlTest, GraphicChildHoldingTheCaptureLearnsWhenItsWindowLosesIt) {
    TForm* form = NewForm(200, 100);
    auto* held = new CaptureLog(form);
    held->SetParent(form);
    held->SetBounds(10, 10, 40, 30);
    Screen().Press(platform::MouseButton::Left, held->ClientToScreen(POINT{5, 5}));
    Pump();
    ASSERT_EQ(CaptureControl(), held);

    TForm* other = NewForm(100, 100);
    other->SetBounds(400, 300, 100, 100);
    SetCapture(other->Handle());
    EXPECT_EQ(held->captureChanged, 1);
    EXPECT_EQ(CaptureControl(), nullptr);
    ReleaseCapture();
    Screen().Release(platform::MouseButton::Left, held->ClientToScreen(POINT{5, 5}));
    Pump();
    EXPECT_EQ(held->clicks, 0) << "a press cut off by a lost capture is no click";

    Click(held);
    EXPECT_EQ(held->clicks, 1);
    EXPECT_EQ(held->captureChanged, 1) << "its own release is no loss";
}

TEST_F(ControlTest, AlignClientFillsWhatTopAndBottomLeave) {
    TForm* form = NewForm(300, 200);
    auto* top = new TPanel(form);
    top->SetParent(form);
    top->SetHeight(30);
    top->SetAlign(TAlign::alTop);
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    auto* client = new TPanel(form);
    client->SetParent(form);
    client->SetAlign(TAlign::alClient);
    EXPECT_EQ(top->BoundsRect(), (RECT{0, 0, 300, 30}));
    EXPECT_EQ(bar->BoundsRect(), (RECT{0, 181, 300, 200}));
    EXPECT_EQ(client->BoundsRect(), (RECT{0, 30, 300, 181}));
}

TEST_F(ControlTest, RightClickOnAControlWithoutMenuOpensItsParentsMenu) {
    TForm* form = NewForm(300, 200);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetAlign(TAlign::alClient);
    auto* menu = new TPopupMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption("Item");
    menu->Items()->Add(item);
    panel->SetPopupMenu(menu);
    auto* button = new TSpeedButton(form);
    button->SetParent(panel);
    button->SetBounds(10, 10, 40, 30);
    TComponent* popupFor = nullptr;
    menu->OnPopup = [&](TObject*) { popupFor = menu->PopupComponent; };
    DuringModalLoop([] { Screen().KeyPress(VK_ESCAPE); });
    Click(button, 5, 5, platform::MouseButton::Right);
    EXPECT_EQ(popupFor, panel);
}

TEST_F(ControlTest, DestroyedPopupMenuIsForgottenByTheControl) {
    TForm* form = NewForm();
    auto* menu = new TPopupMenu(form);
    form->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(form->PopupMenu(), nullptr);
}

}  // namespace


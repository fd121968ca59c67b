// What controls hear about each other: pointer crossings told to the parents, moves and sizes
// of windowless controls, the control list, the wheel, system fonts; printing a control into
// any context; anchors.
#include <gtest/gtest.h>

#include <vector>

#include "framework/std_controls.h"
#include "framework/std_edit.h"
#include "framework_test_support.h"

namespace {

using namespace framework;
using framework_testing::FrameworkTest;
using framework_testing::Screen;

struct Heard {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Heard& o) const { return msg == o.msg && wParam == o.wParam && lParam == o.lParam; }
};

// Records chosen messages reaching a control through its (replaceable) WindowProc, and puts
// the previous procedure back when it goes.
class Listener {
public:
    Listener(TControl* c, std::vector<UINT> msgs) : c_(c), msgs_(std::move(msgs)), saved_(c->WindowProc) {
        c->WindowProc = [this](TMessage& m) {
            for (UINT w : msgs_)
                if (m.Msg == w) heard.push_back(Heard{m.Msg, m.WParam, m.LParam});
            saved_(m);
        };
    }
    ~Listener() { c_->WindowProc = saved_; }
    std::vector<Heard> heard;

private:
    TControl* c_;
    std::vector<UINT> msgs_;
    TWndMethod saved_;
};

LPARAM L(TControl* c) { return reinterpret_cast<LPARAM>(c); }

class Plain : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

using ControlNotifications = FrameworkTest;

TEST_F(ControlNotifications, CrossingsNameTheControlAndReachItsParents) {
    TForm* form = NewForm(300, 200);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 300, 200);
    auto* button = new TSpeedButton(form);
    button->SetParent(panel);
    button->SetBounds(100, 50, 60, 30);
    int panelEnters = 0, buttonEnters = 0, buttonLeaves = 0;
    panel->OnMouseEnter = [&](TObject*) { ++panelEnters; };
    button->OnMouseEnter = [&](TObject*) { ++buttonEnters; };
    button->OnMouseLeave = [&](TObject*) { ++buttonLeaves; };
    MoveTo(panel, 10, 10);
    Listener onPanel(panel, {CM_MOUSEENTER, CM_MOUSELEAVE});
    Listener onForm(form, {CM_MOUSEENTER, CM_MOUSELEAVE});
    MoveTo(panel, 120, 60);
    MoveTo(panel, 10, 10);
    std::vector<Heard> expected{{CM_MOUSELEAVE, 0, L(panel)},
                                {CM_MOUSEENTER, 0, L(button)},
                                {CM_MOUSELEAVE, 0, L(button)},
                                {CM_MOUSEENTER, 0, L(panel)}};
    EXPECT_EQ(onPanel.heard, expected);
    EXPECT_EQ(onForm.heard, expected) << "the form hears of every crossing below it";
    EXPECT_EQ(buttonEnters, 1);
    EXPECT_EQ(buttonLeaves, 1);
    EXPECT_EQ(panelEnters, 2) << "the child's crossings are not the panel's own";
}

TEST_F(ControlNotifications, WindowlessControlHearsOfItsMovesAndSizes) {
    TForm* form = NewForm(300, 200);
    auto* c = new Plain(form);
    c->SetParent(form);
    c->SetBounds(10, 10, 50, 20);
    std::vector<std::pair<UINT, LPARAM>> heard;
    UINT posFlags = 0;
    TWndMethod saved = c->WindowProc;
    c->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_WINDOWPOSCHANGED) posFlags = reinterpret_cast<WINDOWPOS*>(m.LParam)->flags;
        if (m.Msg == WM_MOVE || m.Msg == WM_SIZE || m.Msg == WM_WINDOWPOSCHANGED)
            heard.emplace_back(m.Msg, m.Msg == WM_WINDOWPOSCHANGED ? 0 : m.LParam);
        saved(m);
    };
    c->SetBounds(20, 30, 50, 20);
    EXPECT_EQ(heard, (std::vector<std::pair<UINT, LPARAM>>{{WM_WINDOWPOSCHANGED, 0}, {WM_MOVE, MAKELPARAM(20, 30)}}));
    EXPECT_TRUE(posFlags & SWP_NOSIZE);
    heard.clear();
    c->SetBounds(20, 30, 70, 25);
    EXPECT_EQ(heard, (std::vector<std::pair<UINT, LPARAM>>{{WM_WINDOWPOSCHANGED, 0}, {WM_SIZE, MAKELPARAM(70, 25)}}));
    EXPECT_TRUE(posFlags & SWP_NOMOVE);
    heard.clear();
    c->SetBounds(20, 30, 70, 25);
    EXPECT_TRUE(heard.empty());
    c->WindowProc = saved;
}

TEST_F(ControlNotifications, ControlListChangesReachTheFormFromDeepDown) {
    TForm* form = NewForm(300, 200);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    Listener onForm(form, {CM_CONTROLLISTCHANGE});
    auto* c = new Plain(form);
    c->SetParent(panel);
    c->SetParent(nullptr);
    EXPECT_EQ(onForm.heard, (std::vector<Heard>{{CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(c), 1},
                                                {CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(c), 0}}));
}

TEST_F(ControlNotifications, WheelIsOfferedToTheControlThenEachParentUntilHandled) {
    TForm* form = NewForm(300, 200);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 300, 200);
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    edit->SetBounds(10, 10, 100, 21);
    std::vector<std::string> order;
    int panelDelta = 0;
    bool panelTakes = true;
    edit->OnMouseWheel = [&](TObject*, TShiftState, int, POINT, bool&) { order.push_back("edit"); };
    panel->OnMouseWheel = [&](TObject*, TShiftState, int delta, POINT, bool& handled) {
        order.push_back("panel");
        panelDelta = delta;
        handled = panelTakes;
    };
    Listener onForm(form, {CM_MOUSEWHEEL});
    WPARAM down = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
    EXPECT_EQ(SendMessage(edit->Handle(), WM_MOUSEWHEEL, down, MAKELPARAM(70, 70)), 1);
    EXPECT_EQ(order, (std::vector<std::string>{"edit", "panel"}));
    EXPECT_EQ(panelDelta, -WHEEL_DELTA);
    EXPECT_TRUE(onForm.heard.empty());
    panelTakes = false;
    EXPECT_EQ(SendMessage(edit->Handle(), WM_MOUSEWHEEL, down, MAKELPARAM(70, 70)), 0);
    EXPECT_EQ(onForm.heard.size(), 1u) << "unhandled, the form is asked last, once";
}

TEST_F(ControlNotifications, SystemFontChangeReachesEveryControlOfTheForm) {
    TForm* form = NewForm(300, 200);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* inner = new Plain(form);
    inner->SetParent(panel);
    Listener onInner(inner, {CM_SYSFONTCHANGED});
    SendMessage(form->Handle(), WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(onInner.heard.size(), 1u);
}

// A control that paints its client red over a frame the platform draws (a client edge).
class Red : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        p.ExStyle |= WS_EX_CLIENTEDGE;
    }
    void Paint() override {
        Canvas().Brush.SetColor(TColor{0x0000FF});
        Canvas().FillRect(ClientRect());
    }
};

class Blue : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas().Brush.SetColor(TColor{0xFF0000});
        Canvas().FillRect(RECT{0, 0, Width(), Height()});
    }
};

std::uint32_t Pixel(TBitmap& b, int x, int y) {
    const std::uint8_t* p = b.ScanLine(y) + x * 3;
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16;
}

// Controls are painted off the screen (window animations capture them) through WM_PRINT and
// PaintTo; without an answer to WM_PRINTCLIENT only the background would come out.
TEST_F(ControlNotifications, PrintAndPaintToDrawClientFrameAndChildren) {
    TForm* form = NewForm(300, 200);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 120, 80);
    panel->SetColor(TColor{0x00FF00});
    panel->BevelOuter = TBevelCut::bvNone;
    auto* red = new Red(form);
    red->SetParent(panel);
    red->SetBounds(10, 10, 30, 30);
    auto* blue = new Blue(form);
    blue->SetParent(panel);
    blue->SetBounds(60, 10, 20, 20);

    TBitmap alone(30, 30);
    SendMessage(red->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(alone.Canvas().Handle()),
                PRF_NONCLIENT | PRF_CLIENT);
    EXPECT_EQ(Pixel(alone, 15, 15), 0xFF0000u) << "client painted red (blue-green-red bytes)";
    EXPECT_NE(Pixel(alone, 0, 0), 0xFF0000u) << "the client edge is the frame, not the client";

    TBitmap whole(140, 100);
    whole.Canvas().Brush.SetColor(clBlack);
    whole.Canvas().FillRect(RECT{0, 0, 140, 100});
    panel->PaintTo(whole.Canvas().Handle(), 10, 10);
    EXPECT_EQ(Pixel(whole, 5, 5), 0u) << "nothing outside the panel";
    EXPECT_EQ(Pixel(whole, 12, 12), 0x00FF00u) << "panel background";
    EXPECT_EQ(Pixel(whole, 10 + 25, 10 + 25), 0xFF0000u) << "windowed child";
    EXPECT_EQ(Pixel(whole, 10 + 70, 10 + 20), 0x0000FFu) << "graphic child";
    EXPECT_EQ(Pixel(whole, 10 + 119, 10 + 79), 0x00FF00u);
    EXPECT_EQ(Pixel(whole, 10 + 121, 10 + 81), 0u) << "clipped to the panel";
}

TEST_F(ControlNotifications, AnchorsKeepDistancesWhenTheParentResizes) {
    TForm* form = NewForm(300, 200);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->BevelOuter = TBevelCut::bvNone;
    panel->SetBounds(0, 0, 300, 200);
    auto place = [&](TAnchors anchors, RECT r) {
        auto* c = new Plain(form);
        c->SetParent(panel);
        c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        c->SetAnchors(anchors);
        return c;
    };
    TControl* fixed = place(akLeft | akTop, RECT{10, 10, 60, 30});
    TControl* corner = place(akRight | akBottom, RECT{240, 170, 290, 190});
    TControl* stretched = place(akLeft | akTop | akRight, RECT{10, 40, 290, 60});
    TControl* floating = place(0, RECT{125, 90, 175, 110});
    panel->SetBounds(0, 0, 400, 260);
    EXPECT_EQ(fixed->BoundsRect(), (RECT{10, 10, 60, 30}));
    EXPECT_EQ(corner->BoundsRect(), (RECT{340, 230, 390, 250}));
    EXPECT_EQ(stretched->BoundsRect(), (RECT{10, 40, 390, 60}));
    EXPECT_EQ(floating->BoundsRect(), (RECT{175, 120, 225, 140})) << "centred as before";
    panel->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(corner->BoundsRect(), (RECT{240, 170, 290, 190})) << "back where it started";
    corner->SetLeft(200);
    panel->SetBounds(0, 0, 320, 200);
    EXPECT_EQ(corner->Left(), 220) << "a control moved by hand keeps its new distance";
}

}  // namespace

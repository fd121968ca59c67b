// The single-line edit: typing, selection, word moves, clipboard, undo, limits, AutoSelect.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/std_edit.h"
#include "platform/clipboard.h"
#include "framework_test_support.h"

namespace {

using namespace framework;
using framework_testing::FrameworkTest;
using framework_testing::Screen;

class EditTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        form = NewForm(300, 100);
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 200, 21);
        other = new TEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 40, 200, 21);
        Click(edit);
    }
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TEdit* other = nullptr;
};

TEST_F(EditTest, TypesCyrillicAndCountsCharactersNotBytes) {
    Type("Вкл 7:00");
    EXPECT_EQ(edit->Text(), "Вкл 7:00");
    EXPECT_EQ(edit->SelStart(), 8);
    Key(VK_BACK);
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(edit->Text(), "кл 7:0");
}

TEST_F(EditTest, ShiftArrowsAndWordMovesSelect) {
    Type("alpha beta gamma");
    Key(VK_HOME);
    Key(VK_RIGHT, false, true);  // Ctrl+Right: start of "beta"
    EXPECT_EQ(edit->SelStart(), 6);
    Key(VK_END, true);
    EXPECT_EQ(edit->SelText(), "beta gamma");
    Type("X");
    EXPECT_EQ(edit->Text(), "alpha X");
    Key(VK_LEFT, false, true);
    Key(VK_LEFT, true, true);
    EXPECT_EQ(edit->SelText(), "alpha ");
}

TEST_F(EditTest, CopyPasteAndCutGoThroughTheClipboard) {
    Type("Утро");
    Key('A', false, true);
    Key('C', false, true);
    Click(other);
    Key('V', false, true);
    Key('V', false, true);
    EXPECT_EQ(other->Text(), "УтроУтро");
    Key('A', false, true);
    Key('X', false, true);
    EXPECT_EQ(other->Text(), "");
    Click(edit);
    Key(VK_END);
    Key('V', false, true);
    EXPECT_EQ(edit->Text(), "УтроУтроУтро");
}

TEST_F(EditTest, PasteKeepsTheFirstLineAndRepairsBrokenText) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const char text[] = "one\xff two\r\nthree";
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    std::memcpy(GlobalLock(mem), text, sizeof text);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), "one\xEF\xBF\xBD two");
}

TEST_F(EditTest, UndoRevertsTheLastChangeAndASecondUndoRedoesIt) {
    Type("ab");
    Key('A', false, true);
    Type("c");
    EXPECT_EQ(edit->Text(), "c");
    Key('Z', false, true);
    EXPECT_EQ(edit->Text(), "ab");
    Key('Z', false, true);
    EXPECT_EQ(edit->Text(), "c");
}

TEST_F(EditTest, MaxLengthCutsTypingAndPastingInCharacters) {
    edit->SetMaxLength(3);
    Type("дверь");
    EXPECT_EQ(edit->Text(), "две");
    edit->SetSelStart(1);
    edit->SetSelLength(1);
    edit->SetSelText("xyz");
    EXPECT_EQ(edit->Text(), "дxе");
}

TEST_F(EditTest, ReadOnlyRefusesChangesButCopies) {
    edit->SetText("fixed");
    edit->ReadOnly = true;
    Type("zz");
    Key(VK_BACK);
    Key('X', false, true);
    EXPECT_EQ(edit->Text(), "fixed");
    Key('A', false, true);
    Key('C', false, true);
    Click(other);
    Key('V', false, true);
    EXPECT_EQ(other->Text(), "fixed");
}

TEST_F(EditTest, TabIntoAnEditSelectsAllButAClickPlacesTheCaret) {
    other->SetText("07:00:00");
    Click(edit);
    Key(VK_TAB);
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(other->SelLength(), 8);
    Click(edit);
    Click(other, 3, 10);
    EXPECT_EQ(other->SelLength(), 0);
    EXPECT_EQ(other->SelStart(), 0);
}

TEST_F(EditTest, ChangeEventFollowsEveryEditButNotCaretMoves) {
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    Type("ab");
    Key(VK_LEFT);
    Key(VK_HOME);
    edit->SetText("zz");
    EXPECT_EQ(changes, 3);
}

TEST_F(EditTest, FormattingRectangleKeepsTextClearOfAnInnerButton) {
    edit->SetFormattingRect(RECT{1, 0, 150, 17});
    Type(std::string(60, 'w'));
    // The caret stays visible inside the rectangle, so the text scrolled left.
    EXPECT_EQ(edit->SelStart(), 60);
    RECT f = edit->FormattingRect();
    EXPECT_EQ(f.right, 150);
}

TEST_F(EditTest, ContextMenuOffersTheStandardCommands) {
    Type("word");
    Key('A', false, true);
    DuringModalLoop([] {
        // Cut, Copy, Paste, Delete, Select All after Undo and a line: Copy is the third.
        Screen().KeyPress(VK_DOWN);
        Screen().KeyPress(VK_DOWN);
        Screen().KeyPress(VK_DOWN);
        Screen().KeyPress(VK_RETURN);
    });
    Click(edit, 10, 10, platform::MouseButton::Right);
    Click(other);
    Key('V', false, true);
    EXPECT_EQ(other->Text(), "word");
}

}  // namespace

namespace {

using EditCursor = framework_testing::FrameworkTest;

TEST_F(EditCursor, PointerOverAnEditIsAnIBeamAndOverAPanelAnArrow) {
    using namespace framework;
    TForm* form = NewForm(300, 100);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 200, 21);
    MoveTo(edit, 20, 10);
    EXPECT_EQ(framework_testing::Screen().CursorShape(), static_cast<int>(CursorShape::IBeam));
    MoveTo(form, 250, 80);
    EXPECT_EQ(framework_testing::Screen().CursorShape(), static_cast<int>(CursorShape::Arrow));
}

}  // namespace

namespace {

using namespace framework;
using framework_testing::FrameworkTest;
using framework_testing::Screen;

using EditLookTest = FrameworkTest;

std::vector<std::uint32_t> ClientPixels(TWinControl* c) {
    std::vector<std::uint32_t> out;
    const auto screen = Screen().ComposeScreen();
    RECT r = c->ClientRect();
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) {
            POINT p = c->ClientToScreen(POINT{x, y});
            out.push_back(screen[static_cast<size_t>(p.y) * 800 + static_cast<size_t>(p.x)] & 0xFFFFFF);
        }
    return out;
}

// The oracle for the mask is an edit that holds the mask characters as its text.
TEST_F(EditLookTest, PasswordEditShowsOneMaskPerCharacterAndKeepsItOffTheClipboard) {
    TForm* form = NewForm(300, 100);
    auto* secret = new TEdit(form);
    secret->SetParent(form);
    secret->SetBounds(10, 10, 120, 21);
    secret->SetPasswordChar(U'●');
    secret->SetText("пароль");
    auto* shown = new TEdit(form);
    shown->SetParent(form);
    shown->SetBounds(10, 40, 120, 21);
    shown->SetText("●●●●●●");
    form->Repaint();
    Pump();
    EXPECT_EQ(secret->DisplayText(), "●●●●●●");
    EXPECT_EQ(ClientPixels(secret), ClientPixels(shown));
    EXPECT_EQ(secret->Text(), "пароль");
    shown->SetText("before");
    shown->SelectAll();
    shown->CopyToClipboard();
    secret->SelectAll();
    secret->CopyToClipboard();
    secret->CutToClipboard();
    EXPECT_EQ(secret->Text(), "пароль");
    shown->SelectAll();
    shown->PasteFromClipboard();
    EXPECT_EQ(shown->Text(), "before");
}

TEST_F(EditLookTest, Ctl3DAndBevelsDecideTheFrameWidth) {
    TForm* form = NewForm(300, 100);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 120, 21);
    auto inset = [edit] { return (edit->Width() - edit->ClientWidth()) / 2; };
    EXPECT_EQ(inset(), 2) << "sunken edge";
    edit->SetCtl3D(false);
    EXPECT_EQ(inset(), 1) << "plain line";
    EXPECT_FALSE(GetWindowLong(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    edit->SetBevelKind(TBevelKind::bkFlat);
    EXPECT_EQ(edit->BevelExtent(), 2) << "raised inner and lowered outer by default";
    EXPECT_EQ(inset(), 3);
    edit->SetBevelInner(TBevelCut::bvNone);
    EXPECT_EQ(inset(), 2);
    form->Repaint();
    Pump();
    // The lowered outer bevel: dark at the top-left, inside the one-pixel line.
    POINT frame = edit->ClientToScreen(POINT{-1, 5});
    const auto screen = Screen().ComposeScreen();
    std::uint32_t px = screen[static_cast<size_t>(frame.y) * 800 + static_cast<size_t>(frame.x)] & 0xFFFFFF;
    EXPECT_EQ(px, GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF);
}

TEST_F(EditLookTest, TextChangesAreToldAsChangedBeforeOnChange) {
    TForm* form = NewForm(300, 100);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    std::vector<std::string> order;
    TWndMethod saved = edit->WindowProc;
    edit->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_CHANGED && m.LParam == reinterpret_cast<LPARAM>(edit)) order.push_back("changed");
        saved(m);
    };
    edit->OnChange = [&](TObject*) { order.push_back("onchange"); };
    edit->SetText("07:00:00");
    EXPECT_EQ(order, (std::vector<std::string>{"changed", "onchange"}));
    edit->WindowProc = saved;
}

}  // namespace

namespace {

// The caret inverts what it stands on, so it shows on a dark edit as well as on a white one.
TEST_F(EditTest, CaretInvertsTheBackgroundSoItShowsOnAnyColour) {
    for (const TColor background : {static_cast<TColor>(clWhite), static_cast<TColor>(RGB(22, 25, 30))}) {
        edit->SetColor(background);
        edit->SetText("");
        Pump();
        ASSERT_TRUE(edit->Focused());
        const auto screen = Screen().ComposeScreen();
        const POINT origin = edit->ClientToScreen(POINT{0, 0});
        const RECT client = edit->ClientRect();
        // The screen holds 0x00RRGGBB; a colour is 0x00BBGGRR.
        const auto rgb = [](TColor c) {
            return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
        };
        const std::uint32_t paper = rgb(background), inverse = rgb(~background & 0xFFFFFFu);
        int caretPixels = 0, others = 0;
        for (int y = client.top; y < client.bottom; ++y)
            for (int x = client.left; x < client.right; ++x) {
                const std::uint32_t v =
                    screen[static_cast<size_t>(origin.y + y) * 800 + static_cast<size_t>(origin.x + x)] & 0xFFFFFFu;
                if (v == inverse) ++caretPixels;
                else if (v != paper) ++others;
            }
        EXPECT_GE(caretPixels, 8) << std::hex << background;
        EXPECT_EQ(others, 0) << std::hex << background;
    }
}

}  // namespace

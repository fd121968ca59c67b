// The error box for exceptions leaving handlers, hints, forms closing the application.
#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "framework/hint_window.h"
#include "framework/std_controls.h"
#include "framework/timer.h"
#include "framework_test_support.h"

namespace {

using namespace framework;
using framework_testing::FrameworkTest;
using framework_testing::Screen;

TEST(ErrorBoxText, AddsAFullStopOnlyAfterCharactersSortingAboveIt) {
    struct Row {
        const char* name;
        const char* message;
        const char* shown;
    } rows[] = {
        {"letter", "File access denied", "File access denied."},
        {"digit", "I/O error 13", "I/O error 13."},
        {"quote", "'25:00' is not a valid time'", "'25:00' is not a valid time'"},
        {"full stop", "Done.", "Done."},
        {"bang", "Stop!", "Stop!"},
        {"closing paren", "bad (x)", "bad (x)"},
        {"cyrillic", "Ошибка", "Ошибка."},
        {"empty", "", ""},
    };
    for (const Row& r : rows) EXPECT_EQ(ErrorBoxText(r.message), r.shown) << r.name;
}

using ApplicationTest = FrameworkTest;

TEST_F(ApplicationTest, ExceptionFromAClickShowsTheErrorBoxWithTheTitle) {
    TForm* form = NewForm(200, 100);
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 50, 30);
    button->OnClick = [](TObject*) { throw EInOutError(5); };
    app->Title = "Утрозвон";
    std::string caption;
    DuringModalLoop([&] {
        HWND box = FindWindow("#32770", nullptr);
        char text[64] = {};
        GetWindowText(box, text, sizeof text);
        caption = text;
        Screen().KeyPress(VK_RETURN);
    });
    testing::internal::CaptureStderr();
    Click(button);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(caption, "Утрозвон");
    EXPECT_NE(said.find("File access denied."), std::string::npos) << said;
}

TEST_F(ApplicationTest, AbortIsSilent) {
    int shown = 0;
    app->OnException = [&](TObject*) { ++shown; };
    try {
        throw EAbort("quiet");
    } catch (...) {
        HandleEventException();
    }
    try {
        throw EConvertError("loud");
    } catch (...) {
        HandleEventException();
    }
    EXPECT_EQ(shown, 1);
}

TEST_F(ApplicationTest, HintShowsAfterThePauseOnlyForControlsThatShowHints) {
    TForm* form = NewForm(200, 100);
    auto* quiet = new TSpeedButton(form);
    quiet->SetParent(form);
    quiet->SetBounds(10, 10, 50, 30);
    quiet->SetHint("never");
    auto* talker = new TSpeedButton(form);
    talker->SetParent(form);
    talker->SetBounds(100, 10, 50, 30);
    talker->SetHint("Остановить воспроизведение");
    talker->SetShowHint(true);
    app->ShowHint = true;
    app->HintPause = 10;
    auto* keepAlive = new TTimer(form);
    keepAlive->SetInterval(5);
    keepAlive->SetOnTimer([](TObject*) {});
    auto waitFor = [&](int ms) {
        DWORD end = GetTickCount() + static_cast<DWORD>(ms);
        while (GetTickCount() < end) app->HandleMessage();
    };
    MoveTo(quiet, 5, 5);
    waitFor(60);
    EXPECT_TRUE(!app->HintWindow() || !app->HintWindow()->Visible());
    MoveTo(talker, 5, 5);
    waitFor(60);
    ASSERT_TRUE(app->HintWindow());
    EXPECT_TRUE(app->HintWindow()->Visible());
    EXPECT_EQ(app->HintWindow()->Text(), "Остановить воспроизведение");
    Click(talker);
    EXPECT_FALSE(app->HintWindow()->Visible());
}

TEST_F(ApplicationTest, HintGoesAfterTheHidePauseAndNeverShowsForAControlThatIsGone) {
    TForm* form = NewForm(200, 100);
    auto makeTalker = [&](int left) {
        auto* b = new TSpeedButton(form);
        b->SetParent(form);
        b->SetBounds(left, 10, 50, 30);
        b->SetHint("hint");
        b->SetShowHint(true);
        return b;
    };
    TSpeedButton* talker = makeTalker(10);
    TSpeedButton* doomed = makeTalker(100);
    app->HintPause = 10;
    app->HintHidePause = 40;
    auto* keepAlive = new TTimer(form);
    keepAlive->SetInterval(5);
    keepAlive->SetOnTimer([](TObject*) {});
    auto waitFor = [&](int ms) {
        DWORD end = GetTickCount() + static_cast<DWORD>(ms);
        while (GetTickCount() < end) app->HandleMessage();
    };
    auto hintVisible = [&] { return app->HintWindow() && app->HintWindow()->Visible(); };
    MoveTo(talker, 5, 5);
    waitFor(30);
    EXPECT_TRUE(hintVisible());
    waitFor(80);
    EXPECT_FALSE(hintVisible()) << "the hide pause ran out";
    MoveTo(doomed, 5, 5);
    delete doomed;
    waitFor(60);
    EXPECT_FALSE(hintVisible());
}

TEST_F(ApplicationTest, ClosingTheMainFormEndsTheApplication) {
    TForm* form = NewForm();
    auto* second = new TForm(app.get());
    second->Show();
    Pump();
    ASSERT_EQ(app->MainForm(), form);
    second->Close();
    EXPECT_FALSE(app->Terminated());
    EXPECT_FALSE(second->Visible());
    PostMessage(form->Handle(), WM_CLOSE, 0, 0);
    app->HandleMessage();
    EXPECT_TRUE(app->Terminated());
}

}  // namespace

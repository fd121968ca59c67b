#include "support/headless_screen.h"
#include "framework_test_support.h"

#include "framework/timer.h"

namespace framework_testing {

using namespace framework;

platform::headless::HeadlessBackend& Screen() { return test_support::HeadlessScreen(); }

void FrameworkTest::SetUp() {
    Screen();
    app = std::make_unique<TApplication>();
    app->Title = "Test";
}

void FrameworkTest::TearDown() {
    ReleaseCapture();
    app.reset();
    Pump();
}

// Through the application's loop, so dialog keys (Tab, Enter, Escape) work as in the program.
void FrameworkTest::Pump() {
    if (app) {
        app->ProcessMessages();
        return;
    }
    MSG msg;
    for (int guard = 0; guard < 10000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

TForm* FrameworkTest::NewForm(int width, int height) {
    TForm* form = nullptr;
    app->CreateForm(form);
    form->SetBounds(50, 50, 100, 100);
    form->SetClientSize(width, height);
    form->Show();
    Pump();
    return form;
}

void FrameworkTest::Click(TControl* c, int x, int y, platform::MouseButton b) {
    if (x < 0) x = c->Width() / 2;
    if (y < 0) y = c->Height() / 2;
    POINT p = c->ClientToScreen(POINT{x, y});
    Screen().Click(b, p);
    Pump();
}

void FrameworkTest::MoveTo(TControl* c, int x, int y) {
    Screen().MovePointer(c->ClientToScreen(POINT{x, y}));
    Pump();
}

void FrameworkTest::Key(UINT vk, bool shift, bool ctrl) {
    platform::headless::KeyChord chord;
    chord.vk = vk;
    chord.shift = shift;
    chord.ctrl = ctrl;
    Screen().PressChord(chord);
    Pump();
}

void FrameworkTest::Type(const std::string& text) {
    Screen().TypeText(text);
    Pump();
}

void FrameworkTest::DuringModalLoop(std::function<void()> action, unsigned delayMs) {
    auto* timer = new TTimer(app.get());
    timer->SetInterval(delayMs);
    timer->SetOnTimer([timer, action = std::move(action)](TObject*) {
        timer->SetEnabled(false);
        action();
    });
}

}  // namespace framework_testing

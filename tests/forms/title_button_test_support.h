// The main-window-sized form of provider_test_support.h with title button pictures in its skin:
// a minimise entry of three 16 x 16 states and a close entry of three 20 x 16 states, each state
// one plain colour, with the spacing and right margin of the shipped skin. Input arrives
// through the headless screen, as a user's would.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "forms/frame_interaction.h"
#include "provider_test_support.h"

namespace provider_test {

using forms::TsButtonState;

constexpr TColor kMinColor[3] = {Rgb(0, 0, 210), Rgb(0, 120, 250), Rgb(0, 60, 90)};
constexpr TColor kCloseColor[3] = {Rgb(210, 0, 0), Rgb(250, 120, 0), Rgb(90, 30, 0)};
// Placed by hand: BIRIGHT 2 and BISPACE 1; close ends at 493 - 2 - 3 = 488, minimise one pixel
// left of it; both at (3 + 19 - 16) / 2 = 3.
constexpr RECT kCloseRect{468, 3, 488, 19};
constexpr RECT kMinRect{451, 3, 467, 19};
constexpr int kButtonArea = 2 + 20 + 16 + 1;

class TitleButtonTest : public ProviderTest {
  protected:
    void SetUp() override {
        ProviderTest::SetUp();
        model().MasterBitmap = paint_test::MakeBitmap(128, 32, 24);
        DrawFramePicture();
        for (int s = 0; s < 3; ++s) {
            Fill(RECT{s * 16, 12, s * 16 + 16, 28}, kMinColor[s]);
            Fill(RECT{48 + s * 20, 12, 48 + s * 20 + 20, 28}, kCloseColor[s]);
        }
        Global();
        AddMask("GLOBALINFO", "BICONMIN", {0, 12, 48, 28}, 3, 0);
        AddMask("GLOBALINFO", "BICONCLOSE", {48, 12, 108, 28}, 3, 0);
        model().GlobalInfo.TitleIconRight = 2;
        model().GlobalInfo.TitleIconSpace = 1;
    }
    void TearDown() override {
        // Later suites expect the pointer where a fresh screen has it.
        test_support::HeadlessScreen().MovePointer(POINT{0, 0});
        Pump();
        ProviderTest::TearDown();
    }
    void Fill(RECT r, TColor c) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                paint_test::SetPx(*model().MasterBitmap, x, y, c);
    }
    // Starts the form; closing it is counted and refused, so the form stays for the checks.
    void StartCounted() {
        Start();
        form->OnClose = [this](framework::TObject*, framework::TCloseAction& action) {
            ++closes;
            action = framework::TCloseAction::caNone;
        };
    }
    POINT Screen(int x, int y) const {
        RECT wr{};
        GetWindowRect(form->Handle(), &wr);
        return POINT{wr.left + x, wr.top + y};
    }
    static POINT Middle(RECT r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    LRESULT HitAt(int x, int y) {
        const POINT p = Screen(x, y);
        return SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    }
    // Mouse input at window point p.
    void MoveTo(POINT p) {
        test_support::HeadlessScreen().MovePointer(Screen(p.x, p.y));
        Pump();
    }
    void Press(POINT p, platform::MouseButton b = platform::MouseButton::Left) {
        test_support::HeadlessScreen().Press(b, Screen(p.x, p.y));
        Pump();
    }
    void Release(POINT p, platform::MouseButton b = platform::MouseButton::Left) {
        test_support::HeadlessScreen().Release(b, Screen(p.x, p.y));
        Pump();
    }
    // Pumps until done() or about two seconds have passed; true when done.
    bool WaitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 1000; ++i) {
            Pump();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return done();
    }
    void Park() { MoveTo(POINT{200, 150}); }  // in the client, away from every button
    forms::TsTitleButtonLayer& Buttons() { return provider->Frame().Buttons(); }
    const forms::TsButtonRecord& Close() { return Buttons().System(0); }
    const forms::TsButtonRecord& Min() { return Buttons().System(2); }

    int closes = 0;
};

}  // namespace provider_test

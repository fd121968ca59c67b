// Shared set-up for framework tests: a headless screen, an application per test, message
// pumping and synthetic input aimed at controls.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

#include "framework/application.h"
#include "platform/headless/headless_backend.h"

// Rectangles compare and print in expectations.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace framework_testing {

platform::headless::HeadlessBackend& Screen();

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Handles every pending message, paints and due timers included.
    void Pump();
    // A shown form of the given client size, owned by the application.
    framework::TForm* NewForm(int width = 300, int height = 200);
    // Synthetic input at a control's client point (default: its middle).
    void Click(framework::TControl* c, int x = -1, int y = -1, platform::MouseButton b = platform::MouseButton::Left);
    void MoveTo(framework::TControl* c, int x, int y);
    void Key(UINT vk, bool shift = false, bool ctrl = false);
    void Type(const std::string& text);
    // Runs `action` from a timer once the next modal loop (menu, box) waits for input.
    void DuringModalLoop(std::function<void()> action, unsigned delayMs = 20);

    std::unique_ptr<framework::TApplication> app;
};

}  // namespace framework_testing

// The in-memory screen (800 x 600) every window test of a test program shares. It is
// installed as the backend on first use and installed afresh when a test has put another
// backend in its place, so a caller never holds a screen that no longer gets input or
// draws windows, whatever order the suites run in.
#pragma once

#include <memory>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

namespace test_support {

// A headless screen whose layered windows can be switched off, as on a display without a
// compositor. Whoever switches them off switches them on again.
class TestScreen : public platform::headless::HeadlessBackend {
  public:
    TestScreen() : HeadlessBackend(SIZE{800, 600}) {}
    bool LayeredSupported() const override { return layered; }
    bool layered = true;
};

inline TestScreen& HeadlessScreen() {
    static TestScreen* screen = nullptr;
    // Once installed, CurrentBackend() only reports the installed one: it creates nothing.
    if (!screen || &platform::CurrentBackend() != screen) {
        auto backend = std::make_unique<TestScreen>();
        screen = backend.get();
        platform::InstallBackend(std::move(backend));
    }
    return *screen;
}

}  // namespace test_support

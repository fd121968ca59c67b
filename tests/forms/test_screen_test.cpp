// The test program's one screen: suites that switch layered windows off and suites that send
// input share it, and a backend put in its place by a test never leaves a caller holding a
// screen that no longer gets input (which once hung every later suite that typed).
#include <gtest/gtest.h>

#include "glow_test_support.h"
#include "platform/backend.h"
#include "support/headless_screen.h"

namespace {

TEST(TestScreen, GlowSuitesAndInputSuitesShareOneScreen) {
    test_support::TestScreen& screen = test_support::HeadlessScreen();
    EXPECT_EQ(&forms_test::Screen(), &screen);
    EXPECT_EQ(&platform::CurrentBackend(), &screen);
    EXPECT_EQ(&test_support::HeadlessScreen(), &screen) << "installed once";
}

TEST(TestScreen, AScreenReplacedByATestIsInstalledAfresh) {
    test_support::HeadlessScreen();
    platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>(SIZE{64, 48}));
    test_support::TestScreen& screen = test_support::HeadlessScreen();
    EXPECT_EQ(&platform::CurrentBackend(), &screen) << "input goes to the screen in use";
    EXPECT_EQ(screen.ScreenSize().cx, 800);
    EXPECT_TRUE(screen.layered);
}

}  // namespace

// A headless screen whose layered windows can be switched off (a display without a
// compositor), a skin manager whose model the test fills, and a shown form to glow over.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "forms/glow_registry.h"
#include "framework/application.h"
#include "framework/form.h"
#include "paint/paint_test_support.h"
#include "platform/headless/headless_backend.h"
#include "skin/skin_manager.h"
#include "support/headless_screen.h"

// Rectangles compare and print in expectations.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace forms_test {

using framework::TBitmap;
using framework::TColor;
using paint_test::Rgb;

using SwitchableScreen = test_support::TestScreen;

// The test program's one screen (test_support::HeadlessScreen).
inline SwitchableScreen& Screen() {
    return test_support::HeadlessScreen();
}

// One screen pixel as blue, green, red.
struct Bgr {
    int b, g, r;
    bool operator==(const Bgr&) const = default;
};
inline void PrintTo(const Bgr& p, std::ostream* os) {
    *os << "(b " << p.b << ", g " << p.g << ", r " << p.r << ")";
}
Bgr ScreenPixel(POINT p);

class GlowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    skin::TsSkinModel& model() { return manager->Model(); }
    skin::TsGeneralData& AddSection(const std::string& name, const std::string& parentClass = "");
    // A frame entry in the master bitmap (MaskType 0, one state, 3 x 3, margins as given).
    int AddFrameEntry(const std::string& section, const std::string& property, int wl, int wt,
                      int wr, int wb);
    int AddEntry(skin::TsMaskData entry);
    // Opens a glow of section "BUTTON" with the test's manager and form.
    int Open(const RECT& box, const RECT& visible, int overlap,
             const std::string& section = "BUTTON");
    RECT GlowRect(int id);
    void Pump() { app->ProcessMessages(); }

    // Form colour, as the screen shows it: blue 40, green 80, red 120.
    static constexpr TColor kFormColor = Rgb(120, 80, 40);
    std::unique_ptr<framework::TApplication> app;
    std::unique_ptr<skin::TsSkinManager> manager;
    framework::TForm* form = nullptr;
};

}  // namespace forms_test

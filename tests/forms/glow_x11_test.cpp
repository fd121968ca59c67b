// A glow on a real X server, run by the scenario tests/scenarios/x11_glow.sh (which sets
// UTROZVON_GLOW_X11 to "none" without a compositor and to "glow" with one): the scenario
// checks the window's depth, the compositor's blend and where the display sends the pointer;
// this side checks availability and that a click on the halo reaches the form beneath.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "forms/glow_registry.h"
#include "framework/application.h"
#include "framework/form.h"
#include "skin/skin_manager.h"

namespace {

// Red at half strength: premultiplied red 128 with alpha 128.
std::unique_ptr<framework::TBitmap> HalfRed(int side) {
    auto b = std::make_unique<framework::TBitmap>(side, side, framework::TPixelFormat::pf32bit);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            std::uint8_t* p = b->ScanLine(y) + x * 4;
            p[0] = 0, p[1] = 0, p[2] = 255, p[3] = 128;
        }
    b->AlphaFormat = framework::TAlphaFormat::afDefined;
    return b;
}

TEST(GlowOnX11, IsBlendedAndLetsClicksThrough) {
    const char* mode = std::getenv("UTROZVON_GLOW_X11");
    if (!mode) GTEST_SKIP() << "run by the x11_glow scenario on an X server";
    const bool expectGlow = std::string(mode) == "glow";

    framework::TApplication app;
    skin::TsSkinManager manager(nullptr);
    skin::TsGeneralData section;
    section.SectionName = "BUTTON";
    manager.Model().Sections.push_back(std::move(section));
    skin::TsMaskData e;
    e.SectionName = "BUTTON", e.PropertyName = "GLOW0", e.R = RECT{0, 0, 21, 21};
    e.ImageCount = 1, e.OwnerManager = &manager, e.Bmp = HalfRed(21);
    e.WL = e.WT = e.WR = e.WB = 10;
    manager.Model().Masks.push_back(std::move(e));

    auto* form = new framework::TForm(&app);
    form->SetBorderStyle(framework::TFormBorderStyle::bsNone);
    form->SetColor(static_cast<framework::TColor>(0x285078));  // blue 40, green 80, red 120
    form->SetBounds(100, 100, 400, 300);
    int downs = 0;
    POINT at{};
    form->OnMouseDown = [&](framework::TObject*, framework::TMouseButton, framework::TShiftState,
                            int x, int y) {
        ++downs;
        at = POINT{x, y};
    };
    form->Show();
    for (int i = 0; i < 20; ++i) {
        app.ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    // The control: 100 x 40 at (200, 200); the glow reaches 10 px out of it.
    const RECT box{200, 200, 300, 240};
    int id = forms::OpenGlowWindow(box, RECT{0, 0, 100, 40}, "BUTTON", &manager, form->Handle(), 0,
                                   "GLOW");
    if (!expectGlow) {
        EXPECT_EQ(id, -1) << "a glow without a compositor";
        std::printf("glow: none\n");
        std::fflush(stdout);
        delete form;
        return;
    }
    ASSERT_GE(id, 0);
    int glowMessages = 0;
    framework::TControl* glow = forms::FindGlow(id)->GlowForm();
    framework::TWndMethod previous = glow->WindowProc;
    glow->WindowProc = [&](framework::TMessage& m) {
        if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) ++glowMessages;
        previous(m);
    };
    std::printf("glow: shown 120x60+190+190\n");
    std::fflush(stdout);

    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (downs == 0 && std::chrono::steady_clock::now() < deadline) {
        app.ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(downs, 1) << "the click on the halo did not reach the form";
    // The scenario clicks at (195, 220) on the screen: the halo left of the control.
    EXPECT_EQ(at.x, 95);
    EXPECT_EQ(at.y, 120);
    EXPECT_EQ(glowMessages, 0);
    std::printf("form clicked at %ld %ld\n", static_cast<long>(at.x), static_cast<long>(at.y));
    std::fflush(stdout);
    forms::CloseAllGlowWindows();
    delete form;
}

}  // namespace

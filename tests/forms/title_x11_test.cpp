// A skinned frame on a real X server, run by the scenario tests/scenarios/x11_title_buttons.sh
// (which sets UTROZVON_FRAME_X11): the scenario clicks the skinned minimise button, brings the
// window back as a window manager would (unmap, map) and reads the screen; this side reports
// the window's state and checks the frame was built again in full.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "forms/frame_interaction.h"
#include "forms/skin_provider.h"
#include "framework/application.h"
#include "skin/skin_manager.h"

namespace {

using framework::TColor;

constexpr TColor Rgb(int r, int g, int b) {
    return static_cast<TColor>(r | g << 8 | b << 16);
}

void Fill(framework::TBitmap& b, RECT r, TColor c) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            std::uint8_t* p = b.ScanLine(y) + x * 3;
            p[0] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
            p[1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
            p[2] = static_cast<std::uint8_t>(c & 0xFF);
        }
}

void AddEntry(skin::TsSkinManager& manager, const char* name, RECT r) {
    skin::TsMaskData e;
    e.SectionName = "GLOBALINFO", e.PropertyName = name, e.R = r;
    e.ImageCount = 3, e.MaskType = 0, e.OwnerManager = &manager;
    manager.Model().Masks.push_back(std::move(e));
}

void AddSection(skin::TsSkinManager& manager, const char* name, TColor color, TColor hot) {
    skin::TsGeneralData s;
    s.SectionName = name, s.Color = color, s.HotColor = hot;
    manager.Model().Sections.push_back(std::move(s));
}

// The colours the scenario reads: title band blue (inactive 0,0,150; active 0,0,250),
// close button red in its three states, minimise green.
void MakeSkin(skin::TsSkinManager& manager) {
    manager.Model().MasterBitmap = std::make_unique<framework::TBitmap>(128, 32);
    framework::TBitmap& m = *manager.Model().MasterBitmap;
    for (int s = 0; s < 3; ++s) {
        Fill(m, RECT{s * 16, 0, s * 16 + 16, 16}, Rgb(0, 150 + 50 * s, 0));
        Fill(m, RECT{48 + s * 20, 0, 68 + s * 20, 16}, Rgb(150 + 50 * s, 0, 0));
    }
    AddSection(manager, "GLOBALINFO", Rgb(60, 60, 60), Rgb(60, 60, 60));
    AddSection(manager, "FORM", Rgb(60, 60, 60), Rgb(80, 80, 80));
    AddSection(manager, "FORMTITLE", Rgb(0, 0, 150), Rgb(0, 0, 250));
    AddEntry(manager, "BICONMIN", RECT{0, 0, 48, 16});
    AddEntry(manager, "BICONCLOSE", RECT{48, 0, 108, 16});
    manager.Model().GlobalInfo.TitleIconRight = 2;
    manager.Model().GlobalInfo.TitleIconSpace = 1;
    manager.Model().UpdateIndexes();
    manager.GlobalInfo().SkinReady = true;
}

void Say(const char* text) {
    std::printf("frame: %s\n", text);
    std::fflush(stdout);
}

bool PumpUntil(framework::TApplication& app, const std::function<bool()>& done, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        app.ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}

TEST(TitleButtonsOnX11, MinimisedByTheSkinnedButtonComesBackDrawn) {
    if (!std::getenv("UTROZVON_FRAME_X11")) GTEST_SKIP() << "run by the x11_title_buttons scenario";
    framework::TApplication app;
    skin::TsSkinManager manager(nullptr);
    MakeSkin(manager);
    auto* form = new framework::TForm(&app);
    form->SetBorderStyle(framework::TFormBorderStyle::bsSingle);
    form->SetBorderIcons(framework::biSystemMenu | framework::biMinimize);
    form->SetBounds(100, 100, 100, 100);
    form->SetClientSize(487, 293);
    form->SetCaption("Frame X11");
    auto* provider = new forms::TsSkinProvider(form);
    form->Show();
    PumpUntil(
        app, [] { return false; }, 1);
    const forms::TsButtonRecord& min = provider->Frame().Buttons().System(2);
    ASSERT_TRUE(min.Placed);
    RECT wr{};
    GetWindowRect(form->Handle(), &wr);
    std::printf("frame: shown at %ld %ld, minimise at %ld %ld\n", static_cast<long>(wr.left),
                static_cast<long>(wr.top),
                static_cast<long>(wr.left + (min.Rect.left + min.Rect.right) / 2),
                static_cast<long>(wr.top + (min.Rect.top + min.Rect.bottom) / 2));
    std::fflush(stdout);
    HWND h = form->Handle();
    ASSERT_TRUE(PumpUntil(
        app, [h] { return IsIconic(h) != 0; }, 20))
        << "never minimised";
    Say("minimised");
    ASSERT_TRUE(PumpUntil(
        app, [h] { return !IsIconic(h) && IsWindowVisible(h); }, 20))
        << "never restored";
    PumpUntil(
        app, [] { return false; }, 1);
    ASSERT_NE(provider->WindowImage(), nullptr);
    EXPECT_EQ(provider->WindowImage()->Height(), provider->Metrics().H);
    GetWindowRect(h, &wr);
    std::printf("frame: restored %ld x %ld\n", static_cast<long>(wr.right - wr.left),
                static_cast<long>(wr.bottom - wr.top));
    std::fflush(stdout);
    // The scenario reads the screen now; it ends the wait by creating the file it names.
    const char* done = std::getenv("UTROZVON_FRAME_X11");
    PumpUntil(
        app, [done] { return std::filesystem::exists(done); }, 20);
    delete form;
}

}  // namespace

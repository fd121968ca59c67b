// A main-window-sized form framed by the shipped dark skin on the headless screen. Set
// UTROZVON_PROVIDER_SHOT=FILE.png (and UTROZVON_PROVIDER_HOVER_SHOT=FILE.png, with the close
// button lit) to keep screenshots for a look by eye.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "forms/frame_interaction.h"
#include "forms/skin_provider.h"
#include "framework/application.h"
#include "skin/skin_manager.h"
#include "support/headless_screen.h"

namespace {

std::string SkinsDir() {
    return std::filesystem::path(UTROZVON_TEST_DATA).parent_path().parent_path() / "skins";
}

TEST(ProviderShippedSkin, DarkGlassFramesTheMainWindow) {
    auto& screen = test_support::HeadlessScreen();
    auto app = std::make_unique<framework::TApplication>();
    auto manager = std::make_unique<skin::TsSkinManager>(nullptr);
    manager->SetSkinDirectory(SkinsDir());
    manager->SetSkinName("DarkGlass");
    ASSERT_TRUE(manager->GlobalInfo().SkinReady);
    auto* form = new framework::TForm(app.get());
    form->SetBorderStyle(framework::TFormBorderStyle::bsSingle);
    form->SetBorderIcons(framework::biSystemMenu | framework::biMinimize);
    form->SetBounds(40, 40, 100, 100);
    form->SetClientSize(487, 293);
    form->SetCaption("Утрозвон");
    auto* provider = new forms::TsSkinProvider(form);
    form->Show();
    app->ProcessMessages();
    const forms::TsFrameMetrics m = provider->Metrics();
    EXPECT_EQ(m.TopOffset, 22);
    framework::TBitmap* image = provider->WindowImage();
    ASSERT_NE(image, nullptr);
    // The frame differs from the client somewhere along the title band and the sides.
    const std::vector<std::uint32_t> pixels = screen.ComposeScreen();
    auto at = [&](int x, int y) {
        return pixels[static_cast<std::size_t>(40 + y) * 800 + 40 + x] & 0xFFFFFF;
    };
    EXPECT_NE(at(m.W / 2, 10), at(m.W / 2, 150));
    if (const char* shot = std::getenv("UTROZVON_PROVIDER_SHOT")) screen.SaveScreenshot(shot);
    form->Hide();
    delete form;
    manager.reset();
    app.reset();
}

TEST(ProviderShippedSkin, DarkGlassCloseButtonGlowsUnderThePointer) {
    auto& screen = test_support::HeadlessScreen();
    auto app = std::make_unique<framework::TApplication>();
    auto manager = std::make_unique<skin::TsSkinManager>(nullptr);
    manager->SetSkinDirectory(SkinsDir());
    manager->SetSkinName("DarkGlass");
    ASSERT_TRUE(manager->GlobalInfo().SkinReady);
    auto* form = new framework::TForm(app.get());
    form->SetBorderStyle(framework::TFormBorderStyle::bsSingle);
    form->SetBorderIcons(framework::biSystemMenu | framework::biMinimize);
    form->SetBounds(40, 40, 100, 100);
    form->SetClientSize(487, 293);
    form->SetCaption("Утрозвон");
    auto* provider = new forms::TsSkinProvider(form);
    form->Show();
    app->ProcessMessages();
    const forms::TsButtonRecord& close = provider->Frame().Buttons().System(0);
    ASSERT_TRUE(close.Placed);
    const POINT at{40 + (close.Rect.left + close.Rect.right) / 2,
                   40 + (close.Rect.top + close.Rect.bottom) / 2};
    auto sum = [&] {
        const std::vector<std::uint32_t> pixels = screen.ComposeScreen();
        long total = 0;
        for (int y = close.Rect.top; y < close.Rect.bottom; ++y)
            for (int x = close.Rect.left; x < close.Rect.right; ++x) {
                const std::uint32_t v = pixels[static_cast<std::size_t>(40 + y) * 800 + 40 + x];
                total += (v & 0xFF) + ((v >> 8) & 0xFF) + ((v >> 16) & 0xFF);
            }
        return total;
    };
    const long normal = sum();
    screen.MovePointer(at);
    for (int i = 0; i < 500 && !(close.Fade && close.Fade->ShownAlpha() == 255); ++i) {
        app->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_TRUE(close.Fade && close.Fade->ShownAlpha() == 255);
    app->ProcessMessages();
    // The glow brightens the button.
    EXPECT_GT(sum(), normal);
    if (const char* shot = std::getenv("UTROZVON_PROVIDER_HOVER_SHOT")) screen.SaveScreenshot(shot);
    screen.MovePointer(POINT{0, 0});
    app->ProcessMessages();
    form->Hide();
    delete form;
    manager.reset();
    app.reset();
}

}  // namespace

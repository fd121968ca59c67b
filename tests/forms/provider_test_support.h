// A main-window-sized form (single border, 487 x 293 client) with a skin made in memory: a
// plain "FORM" section whose frame picture has see-through corners, a "FORMTITLE" section,
// each with distinct normal and hot colours, and a skin provider on the form.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "forms/skin_provider.h"
#include "paint/binding_test_support.h"

namespace provider_test {

using framework::TColor;
using paint_test::Rgb;

constexpr TColor kFrame0 = Rgb(200, 0, 0);     // frame picture, inactive
constexpr TColor kFrame1 = Rgb(0, 200, 0);     // frame picture, active
constexpr TColor kForm0 = Rgb(40, 50, 60);     // FORM Color
constexpr TColor kForm1 = Rgb(60, 70, 80);     // FORM HotColor
constexpr TColor kTitle0 = Rgb(10, 10, 100);   // FORMTITLE Color
constexpr TColor kTitle1 = Rgb(10, 100, 10);   // FORMTITLE HotColor
constexpr TColor kText0 = Rgb(255, 255, 255);  // caption, inactive
constexpr TColor kText1 = Rgb(255, 255, 0);    // caption, active
constexpr TColor kMagenta = Rgb(255, 0, 255);
// The main window's frame.
constexpr int kB = 3, kT = 19, kW = 3 + 487 + 3, kH = 22 + 293 + 3;

class ProviderTest : public paint_test::BindingTest {
  protected:
    void SetUp() override {
        BindingTest::SetUp();
        form->SetBorderStyle(framework::TFormBorderStyle::bsSingle);
        form->SetBorderIcons(framework::biSystemMenu | framework::biMinimize);
        form->SetClientSize(487, 293);
        form->SetCaption("Wake");
        DrawFramePicture();
        AddMask("FORM", "BORDERSMASK", {0, 0, 24, 12}, 2, 0, skin::itisaBorder, 3, 3, 3, 3);
        skin::TsGeneralData& f = AddSection("FORM", kForm0);
        f.HotColor = kForm1;
        skin::TsGeneralData& t = AddSection("FORMTITLE", kTitle0);
        t.HotColor = kTitle1;
        t.FontColor[0] = kText0;
        t.HotFontColor[0] = kText1;
    }
    void TearDown() override {
        form->Hide();
        BindingTest::TearDown();
    }
    // Two 12 x 12 frames side by side, each with see-through pixels in its four corners.
    void DrawFramePicture() {
        framework::TBitmap& m = *model().MasterBitmap;
        for (int state = 0; state < 2; ++state) {
            const int x0 = state * 12;
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 12; ++x)
                    paint_test::SetPx(m, x0 + x, y, state ? kFrame1 : kFrame0);
            for (POINT p : {POINT{0, 0}, POINT{1, 0}, POINT{0, 1}, POINT{11, 0}, POINT{10, 0},
                            POINT{11, 1}, POINT{0, 11}, POINT{11, 11}})
                paint_test::SetPx(m, x0 + p.x, p.y, kMagenta);
        }
    }
    // Skin ready, provider placed, form shown and active.
    void Start() {
        Ready();
        provider = new forms::TsSkinProvider(form);
        form->Show();
        Pump();
    }
    void Deactivate() {
        SendMessage(form->Handle(), WM_NCACTIVATE, 0, 0);
        Pump();
    }
    // Pixel (x, y) of the window as the screen shows it.
    TColor At(int x, int y) const {
        const std::vector<std::uint32_t> screen = test_support::HeadlessScreen().ComposeScreen();
        RECT wr{};
        GetWindowRect(form->Handle(), &wr);
        const std::uint32_t v = screen[static_cast<std::size_t>(wr.top + y) * 800 +
                                       static_cast<std::size_t>(wr.left + x)];
        return Rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // Columns of the title band that hold a pixel of colour c: first and last, or {-1, -1}.
    std::pair<int, int> TitleColumns(TColor c) const {
        const std::vector<std::uint32_t> screen = test_support::HeadlessScreen().ComposeScreen();
        RECT wr{};
        GetWindowRect(form->Handle(), &wr);
        // The screen holds 0x00RRGGBB; a colour is 0x00BBGGRR.
        const auto u = static_cast<std::uint32_t>(c);
        const std::uint32_t want = ((u & 0xFF) << 16) | (u & 0xFF00) | ((u >> 16) & 0xFF);
        int first = -1, last = -1;
        for (int x = 0; x < kW; ++x)
            for (int y = 0; y < kB + kT; ++y) {
                const std::uint32_t v = screen[static_cast<std::size_t>(wr.top + y) * 800 +
                                               static_cast<std::size_t>(wr.left + x)];
                if ((v & 0xFFFFFFu) != want) continue;
                if (first < 0) first = x;
                last = x;
            }
        return {first, last};
    }
    // Width of text in the system caption font, measured independently of the provider.
    static int CaptionTextWidth(const std::string& text) {
        NONCLIENTMETRICS ncm;
        std::memset(&ncm, 0, sizeof ncm);
        ncm.cbSize = sizeof ncm;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT font = CreateFontIndirect(&ncm.lfCaptionFont);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
        return size.cx;
    }

    forms::TsSkinProvider* provider = nullptr;
};

}  // namespace provider_test

// A generated skin for the check box, speed button and status bar tests: plain sections with
// distinct normal and hot colours, box glyphs whose three state frames are solid colours with
// a see-through top-left pixel, a divider, a grip, and helpers that count paints and read the
// screen.
#pragma once

#include <functional>
#include <vector>

#include "binding_test_support.h"

namespace paint_test {

constexpr TColor kBox = Rgb(40, 60, 80), kBoxHot = Rgb(70, 90, 110);
constexpr TColor kBtn = Rgb(100, 30, 30), kBtnHot = Rgb(130, 60, 60);
constexpr TColor kSplit = Rgb(20, 100, 20), kSplitHot = Rgb(50, 140, 50);
constexpr TColor kBar = Rgb(33, 44, 55), kDiv = Rgb(250, 240, 10), kGrip = Rgb(5, 250, 250);
constexpr TColor kPanelMask = Rgb(200, 0, 200 - 1);
// Frame k of the checked, unchecked and grayed glyphs.
constexpr TColor kChecked[3] = {Rgb(200, 10, 10), Rgb(210, 20, 20), Rgb(220, 30, 30)};
constexpr TColor kUnchecked[3] = {Rgb(10, 200, 10), Rgb(20, 210, 20), Rgb(30, 220, 30)};
constexpr TColor kGrayedBox[3] = {Rgb(10, 10, 200), Rgb(20, 20, 210), Rgb(30, 30, 220)};

inline void FillSolid(TBitmap& b, RECT r, TColor c) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) SetPx(b, x, y, c);
}

// 60 percent of the way from the control's pixel d to the background s, rounded.
inline int DisabledByte(int s, int d) { return static_cast<int>(s - 0.4 * (s - d) + 0.5); }
inline TColor Disabled(TColor bg, TColor px) {
    return Rgb(DisabledByte(R(bg), R(px)), DisabledByte(G(bg), G(px)), DisabledByte(B(bg), B(px)));
}

class SkinnedControlsTest : public BindingTest {
  protected:
    void SetUp() override {
        BindingTest::SetUp();
        TBitmap& master = *(model().MasterBitmap = MakeBitmap(96, 64, 24, Rgb(1, 2, 3)));
        const TColor* sets[3] = {kChecked, kUnchecked, kGrayedBox};
        const char* names[3] = {"BOXCHECKED", "BOXUNCHECKED", "BOXGRAYED"};
        for (int s = 0; s < 3; ++s) {
            for (int k = 0; k < 3; ++k) {
                FillSolid(master, {k * 16, s * 16, k * 16 + 16, s * 16 + 16}, sets[s][k]);
                SetPx(master, k * 16, s * 16, paint::TransparentColor);
            }
            AddMask("GLOBALINFO", names[s], {0, s * 16, 48, s * 16 + 16}, 3, 0, skin::itisaGlyph);
        }
        FillSolid(master, {48, 0, 51, 3}, kDiv);
        FillSolid(master, {56, 0, 62, 6}, kGrip);
        FillSolid(master, {64, 0, 70, 6}, kPanelMask);
        AddMask("GLOBALINFO", "GRIPIMAGE", {56, 0, 62, 6}, 1, 0, skin::itisaGlyph);
        Section("CHECKBOX", kBox, kBoxHot);
        Section("SPEEDBUTTON", kBtn, kBtnHot);
        Section("SPLITTER", kSplit, kSplitHot);
        Section("STATUSBAR", kBar, kBar);
        AddSection("DIVIDER", kDiv);
        AddMask("DIVIDER", "BORDERSMASK", {48, 0, 51, 3}, 1, 0, skin::itisaBorder, 1, 1, 1, 1);
    }
    skin::TsGeneralData& Section(const std::string& name, TColor color, TColor hot) {
        skin::TsGeneralData& s = AddSection(name, color);
        s.HotColor = hot;
        s.FontColor = {Rgb(255, 255, 255), -1, -1, -1, -1};
        s.HotFontColor = s.FontColor;
        return s;
    }
    // Counts WM_PAINT messages reaching control from now on.
    void CountPaints(framework::TControl* control, int& count) {
        framework::TWndMethod previous = control->WindowProc;
        control->WindowProc = [previous, &count](framework::TMessage& m) {
            if (m.Msg == WM_PAINT) ++count;
            previous(m);
        };
    }
    std::vector<std::uint32_t> Screen() { return test_support::HeadlessScreen().ComposeScreen(); }
    TColor ScreenPixel(framework::TControl* c, int x, int y) {
        const POINT p = c->ClientToScreen(POINT{x, y});
        const std::uint32_t v = Screen()[static_cast<std::size_t>(p.y) * 800 + static_cast<std::size_t>(p.x)];
        return Rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // The bounding box of the screen pixels that differ between two shots; empty when none.
    static RECT ChangedArea(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
        RECT r{800, 600, 0, 0};
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * 800 + static_cast<std::size_t>(x);
                if (a[i] == b[i]) continue;
                r.left = std::min<LONG>(r.left, x), r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1), r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
        return r.right == 0 ? RECT{0, 0, 0, 0} : r;
    }
};

}  // namespace paint_test

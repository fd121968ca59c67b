// A small skin made by hand for the menu painter: a plain "MAINMENU" background, an icon line,
// a "MENUITEM" section whose normal plate shows the background and whose hot plate is solid,
// and check marks in the master bitmap; a popup menu on a form to hang items on.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "forms/form_layer.h"
#include "forms/skinable_menus.h"
#include "framework/menus.h"
#include "paint/binding_test_support.h"
#include "platform/gdi.h"
#include "platform/gdi_text.h"
#include "platform/menu.h"
#include "support/headless_screen.h"

namespace menu_test {

using framework::TBitmap;
using framework::TCanvas;
using framework::TColor;
using framework::TMenuItem;
using framework::TPopupMenu;
using paint_test::Px;
using paint_test::Rgb;

constexpr TColor kMenuColor = Rgb(40, 50, 60);
constexpr TColor kIconColor = Rgb(200, 100, 20);
constexpr TColor kHotColor = Rgb(10, 120, 230);
constexpr TColor kTextColor = Rgb(250, 240, 230);
constexpr TColor kHotTextColor = Rgb(5, 6, 7);
constexpr TColor kCheck0 = Rgb(0, 255, 0);    // CHECK, normal frame
constexpr TColor kCheck1 = Rgb(255, 255, 0);  // CHECK, hot frame
constexpr TColor kRadio = Rgb(0, 0, 255);
constexpr TColor kBox = Rgb(255, 0, 0);
constexpr TColor kDivider = Rgb(130, 0, 130);
// Margin + 16-pixel glyph column + spacing, at the background's left edge (no skin frame).
constexpr int kIconLine = 2 + 16 + 6;
constexpr int kInset = 3;  // the menu client area inside the popup window

// Fills a rectangle of the master bitmap with one colour.
inline void Paint(TBitmap& bmp, RECT r, TColor color) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) paint_test::SetPx(bmp, x, y, color);
}

// 40 % of the picture's byte, 60 % of the background's, rounded.
inline TColor Mixed(TColor picture, TColor background) {
    auto mix = [](int p, int b) { return static_cast<int>(b - 0.4 * (b - p) + 0.5); };
    return Rgb(mix(paint_test::R(picture), paint_test::R(background)),
               mix(paint_test::G(picture), paint_test::G(background)),
               mix(paint_test::B(picture), paint_test::B(background)));
}

// A screen canvas with the platform's menu font, as the menu measures with.
struct MenuFontDC {
    HDC dc = GetDC(nullptr);
    HFONT font;
    HGDIOBJ old;
    explicit MenuFontDC(bool bold = false) {
        NONCLIENTMETRICS m{};
        m.cbSize = sizeof m;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
        if (bold) m.lfMenuFont.lfWeight = FW_BOLD;
        font = CreateFontIndirect(&m.lfMenuFont);
        old = SelectObject(dc, font);
    }
    ~MenuFontDC() {
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(nullptr, dc);
    }
    int Width(const std::string& text) {
        RECT r{0, 0, 0, 0};
        DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r,
                 DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        return r.right - r.left;
    }
    int LineHeight() {
        SIZE s{};
        GetTextExtentPoint32(dc, "W", 1, &s);
        // 1.25 h rounded to the nearest, a half to the even neighbour.
        int q = 5 * s.cy / 4, rest = 5 * s.cy % 4;
        return rest > 2 || (rest == 2 && q % 2 == 1) ? q + 1 : q;
    }
};

// Text is smoothed: its pixels come near the text colour, rarely onto it.
inline bool Near(TColor a, TColor b, int tolerance) {
    return std::abs(paint_test::R(a) - paint_test::R(b)) <= tolerance &&
           std::abs(paint_test::G(a) - paint_test::G(b)) <= tolerance &&
           std::abs(paint_test::B(a) - paint_test::B(b)) <= tolerance;
}

class MenuTest : public paint_test::BindingTest {
  protected:
    void SetUp() override {
        BindingTest::SetUp();
        AddSection("MAINMENU", kMenuColor);
        skin::TsGeneralData& item = AddSection("MENUITEM", kMenuColor);
        item.Transparency = 100;
        item.HotColor = kHotColor;
        item.HotTransparency = 0;
        item.FontColor[0] = kTextColor;
        item.HotFontColor[0] = kHotTextColor;
        AddSection("ICOLINE", kIconColor);
        // Check marks: 8 x 8 frames side by side in the master bitmap.
        TBitmap& master = *model().MasterBitmap;
        Paint(master, RECT{0, 0, 8, 8}, kCheck0);
        Paint(master, RECT{8, 0, 16, 8}, kCheck1);
        Paint(master, RECT{16, 0, 24, 8}, kRadio);
        Paint(master, RECT{24, 0, 32, 8}, kBox);
        Paint(master, RECT{32, 0, 40, 2}, kDivider);
        layer = forms::InstallFormLayer();
        painter = &forms::PainterOf(*manager);
        menu = new TPopupMenu(form);
    }
    void TearDown() override {
        forms::TsSkinableMenus::FreeAllBackgrounds();
        layer.reset();
        BindingTest::TearDown();
    }
    void AddChecks(bool withCheck = true) {
        if (withCheck) AddMask("GLOBALINFO", "CHECK", RECT{0, 0, 16, 8}, 2, 0);
        AddMask("GLOBALINFO", "RADIOCHECKED", RECT{16, 0, 24, 8}, 1, 0);
        AddMask("GLOBALINFO", "BOXCHECKED", RECT{24, 0, 32, 8}, 1, 0);
    }
    TMenuItem* Add(const std::string& caption, TMenuItem* parent = nullptr) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        (parent ? parent : menu->Items())->Add(item);
        return item;
    }
    void Hook() {
        Ready();
        painter->Refresh();
        skin::FormLayer()->HookPopupMenu(*menu, manager.get(), true);
    }
    SIZE Measure(TMenuItem* item) {
        HDC dc = GetDC(nullptr);
        int w = 0, h = 0;
        {
            TCanvas canvas(dc);
            item->MeasureItem(canvas, w, h);
        }
        ReleaseDC(nullptr, dc);
        return SIZE{w, h};
    }
    // Lays the visible items out as the menu window does (one column, each as wide as the
    // widest + 12) and draws them into a bitmap of the client area; `state` of each item.
    std::unique_ptr<TBitmap> DrawMenu(const std::function<framework::TOwnerDrawState(int)>& state) {
        int width = 0, y = 0;
        std::vector<int> heights;
        for (int i = 0; i < menu->Items()->Count(); ++i) {
            SIZE s = Measure(menu->Items()->Items(i));
            width = std::max(width, static_cast<int>(s.cx) + 12);
            heights.push_back(s.cy);
        }
        int height = 0;
        for (int h : heights) height += h;
        auto bmp = paint_test::MakeBitmap(width, height, 24, Rgb(1, 2, 3));
        for (int i = 0; i < menu->Items()->Count(); ++i) {
            RECT r{0, y, width, y + heights[static_cast<size_t>(i)]};
            rects.push_back(r);
            menu->Items()->Items(i)->AdvancedDrawItem(bmp->Canvas(), r, state(i));
            y = r.bottom;
        }
        return bmp;
    }
    // The colour of the popup background behind client pixel (x, y).
    static TColor Behind(int x) { return x + kInset < kIconLine ? kIconColor : kMenuColor; }
    static int CountNear(const TBitmap& b, RECT r, TColor c, int tolerance = 40) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += Near(Px(b, x, y), c, tolerance);
        return n;
    }
    std::unique_ptr<forms::TFormLayer> layer;
    forms::TsSkinableMenus* painter = nullptr;
    TPopupMenu* menu = nullptr;
    std::vector<RECT> rects;
};

}  // namespace menu_test

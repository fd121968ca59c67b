// Draws a sample sheet of the GDI operations and font styles into a PNG, for checking by eye:
//   gdi_sheet out.png
#include <cstdio>
#include <exception>

#include "platform/gdi.h"
#include "platform/gdi_text.h"
#include "platform/image_files.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

void Label(HDC dc, int x, int y, const char* text) {
    SetTextColor(dc, RGB(0, 0, 0));
    TextOut(dc, x, y, text, static_cast<int>(std::char_traits<char>::length(text)));
}

void Fills(HDC dc) {
    Label(dc, 10, 10, "FillRect / FrameRect / Rectangle / Ellipse");
    RECT r{10, 30, 60, 70};
    HBRUSH red = CreateSolidBrush(RGB(200, 40, 40));
    FillRect(dc, &r, red);
    OffsetRect(&r, 60, 0);
    FrameRect(dc, &r, red);
    SelectObject(dc, GetSysColorBrush(COLOR_HIGHLIGHT));
    Rectangle(dc, 130, 30, 180, 70);
    Ellipse(dc, 190, 30, 240, 70);
    DeleteObject(red);
}

void Edges(HDC dc) {
    Label(dc, 260, 10, "DrawEdge / DrawFrameControl");
    UINT edges[] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP};
    for (int i = 0; i < 4; ++i) {
        RECT r{260 + i * 45, 30, 300 + i * 45, 70};
        DrawEdge(dc, &r, edges[i], BF_RECT | BF_MIDDLE);
    }
    UINT caption[] = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE, DFCS_CAPTIONHELP};
    for (int i = 0; i < 5; ++i) {
        RECT r{440 + i * 20, 30, 456 + i * 20, 44};
        DrawFrameControl(dc, &r, DFC_CAPTION, caption[i]);
    }
    RECT check{440, 50, 453, 63}, radio{460, 50, 473, 63}, push{480, 48, 540, 70};
    DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    DrawFrameControl(dc, &radio, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    DrawFrameControl(dc, &push, DFC_BUTTON, DFCS_BUTTONPUSH);
    RECT focus{482, 50, 538, 68};
    DrawFocusRect(dc, &focus);
}

void Gradients(HDC dc) {
    Label(dc, 10, 90, "GradientFill: horizontal, vertical, triangle");
    TRIVERTEX h[2] = {{10, 110, 0xFF00, 0x8000, 0, 0}, {200, 150, 0, 0x4000, 0xFF00, 0}};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, h, 2, &g, 1, GRADIENT_FILL_RECT_H);
    TRIVERTEX v[2] = {{210, 110, 0xFF00, 0xFF00, 0xFF00, 0}, {400, 150, 0x2000, 0x2000, 0x8000, 0}};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
    TRIVERTEX t[3] = {{420, 150, 0xFF00, 0, 0, 0}, {520, 150, 0, 0xFF00, 0, 0}, {470, 105, 0, 0, 0xFF00, 0}};
    GRADIENT_TRIANGLE tri{0, 1, 2};
    GradientFill(dc, t, 3, &tri, 1, GRADIENT_FILL_TRIANGLE);
}

void Blits(HDC dc) {
    Label(dc, 10, 170, "StretchBlt nearest / halftone, AlphaBlend, TransparentBlt");
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 8, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            std::uint32_t a = static_cast<std::uint32_t>(x * 32 + 31);
            px[y * 8 + x] = ((x + y) % 2) ? (a << 24) | ((a * 200 / 255) << 16) : 0xFFFF00FFu;
        }
    HDC src = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(src, bmp);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 10, 190, 64, 64, src, 0, 0, 8, 8, SRCCOPY);
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, 84, 190, 20, 20, src, 0, 0, 8, 8, SRCCOPY);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, 120, 190, 64, 64, src, 0, 0, 8, 8, bf);
    TransparentBlt(dc, 200, 190, 64, 64, src, 0, 0, 8, 8, RGB(255, 0, 255));
    SelectObject(src, old);
    DeleteDC(src);
    DeleteObject(bmp);
}

void Fonts(HDC dc) {
    Label(dc, 10, 270, "Fonts");
    struct Style {
        const char* face;
        int height, weight;
        BYTE italic, underline, strike;
    } styles[] = {{"Tahoma", -11, FW_NORMAL, 0, 0, 0},     {"Tahoma", -11, FW_BOLD, 0, 0, 0},
                  {"Arial", -16, FW_NORMAL, 1, 0, 0},      {"Times New Roman", -18, FW_NORMAL, 0, 1, 0},
                  {"Courier New", -14, FW_NORMAL, 0, 0, 1}, {"MS Sans Serif", -24, FW_BOLD, 1, 0, 0}};
    int y = 290;
    for (const Style& s : styles) {
        HFONT f = CreateFont(s.height, 0, 0, 0, s.weight, s.italic, s.underline, s.strike, DEFAULT_CHARSET, 0, 0, 0, 0, s.face);
        HGDIOBJ old = SelectObject(dc, f);
        char line[160];
        std::snprintf(line, sizeof line, "%s %d: Утрозвон — будильник на неделю. Quick brown fox 0123456789", s.face, -s.height);
        Label(dc, 10, y, line);
        SIZE size{};
        GetTextExtentPoint32(dc, line, static_cast<int>(std::char_traits<char>::length(line)), &size);
        y += size.cy + 2;
        SelectObject(dc, old);
        DeleteObject(f);
    }
    RECT box{400, 400, 630, 470};
    FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
    DrawText(dc, "DrawText с переносом слов, &подчёркнутой буквой и многоточием в конце строки, которая слишком длинна",
             -1, &box, DT_WORDBREAK | DT_CENTER | DT_END_ELLIPSIS);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gdi_sheet OUT.png\n");
        return 2;
    }
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP sheet = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, sheet);
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    Fills(dc);
    Edges(dc);
    Gradients(dc);
    Blits(dc);
    Fonts(dc);
    try {
        platform::WritePng(argv[1], platform::gdi::PixelBuffer{static_cast<BYTE*>(bits), kWidth, kHeight, kWidth * 4, 32}, false);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gdi_sheet: %s\n", e.what());
        return 1;
    }
    return 0;
}

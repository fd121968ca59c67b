#include "paint/section_text.h"

#include "framework/utf8.h"
#include "paint/color_mix.h"

namespace paint {

namespace {

void DrawOnce(framework::TCanvas& canvas, const std::string& text, framework::TColor color, RECT r, UINT flags) {
    canvas.Font.SetColor(color);
    canvas.DrawText(text, r, flags);
}

}  // namespace

void WriteSectionText(framework::TCanvas& canvas, const std::string& text, bool enabled,
                      const skin::TsSkinModel* model, bool hot, int i, UINT flags, RECT rect) {
    if (!model || i < 0 || static_cast<std::size_t>(i) >= model->Sections.size() || text.empty()) return;
    const skin::TsGeneralData& s = model->Sections[static_cast<std::size_t>(i)];
    canvas.Brush.SetStyle(framework::TBrushStyle::bsClear);
    if (!enabled) {
        framework::TColor c = LerpColor(static_cast<framework::TColor>(framework::ColorToRGB(s.FontColor[0])),
                                        static_cast<framework::TColor>(framework::ColorToRGB(s.Color)), 0.4);
        DrawOnce(canvas, text, c, rect, flags);
        return;
    }
    const auto& colors = hot ? s.HotFontColor : s.FontColor;
    static constexpr POINT kShadow[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int k = 0; k < 4; ++k) {
        if (colors[k + 1] == -1) continue;
        RECT r = rect;
        OffsetRect(&r, kShadow[k].x, kShadow[k].y);
        DrawOnce(canvas, text, colors[k + 1], r, flags);
    }
    DrawOnce(canvas, text, colors[0], rect, flags);
}

std::string TruncateText(framework::TCanvas& canvas, const std::string& text, int width) {
    if (width <= 0) return {};
    if (canvas.TextWidth(text) <= width) return text;
    std::string s = text;
    while (!s.empty()) {
        // Whole characters go, never a part of a multi-byte sequence.
        s.erase(framework::PrevCharBoundary(s, s.size()));
        if (s.empty()) break;
        std::string candidate = s;
        candidate.append("...");
        if (canvas.TextWidth(candidate) <= width) return candidate;
    }
    return {};
}

void DrawDottedFocusRect(framework::TCanvas& canvas, const RECT& r) {
    HDC dc = canvas.Handle();
    if (!dc) return;
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    for (int k = 0; k <= (r.right - r.left) / 3; ++k) {
        int x = r.left + 3 * k;
        SetPixel(dc, x, r.top, black);
        SetPixel(dc, x, r.bottom, black);
        SetPixel(dc, x - 1, r.top - 1, white);
        SetPixel(dc, x - 1, r.bottom - 1, white);
    }
    for (int k = 0; k <= (r.bottom - r.top) / 3; ++k) {
        int y = r.top + 3 * k;
        SetPixel(dc, r.left, y, black);
        SetPixel(dc, r.right, y, black);
        SetPixel(dc, r.left - 1, y - 1, white);
        SetPixel(dc, r.right - 1, y - 1, white);
    }
}

}  // namespace paint

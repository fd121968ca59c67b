#include "forms/provider_metrics.h"

#include <algorithm>

namespace forms {

using framework::TFormBorderStyle;

namespace {

int FrameWidthOf(LONG style) {
    if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
    if (style & WS_BORDER) return GetSystemMetrics(SM_CXDLGFRAME);
    return 0;
}

int CaptionHeightOf(framework::TCustomForm& form, LONG style, bool iconic) {
    const bool framed = form.BorderStyle() != TFormBorderStyle::bsNone || (style & WS_CHILD);
    if (!iconic && !(framed && (style & WS_CAPTION) == WS_CAPTION)) return 0;
    const bool tool = form.BorderStyle() == TFormBorderStyle::bsToolWindow ||
                      form.BorderStyle() == TFormBorderStyle::bsSizeToolWin;
    return GetSystemMetrics(tool && !iconic ? SM_CYSMCAPTION : SM_CYCAPTION);
}

}  // namespace

TsFrameMetrics ReadFrameMetrics(framework::TCustomForm& form) {
    HWND hwnd = form.Handle();
    const LONG style = GetWindowLong(hwnd, GWL_STYLE);
    TsFrameMetrics m;
    m.Iconic = IsIconic(hwnd) != 0;
    m.Maximized = IsZoomed(hwnd) != 0;
    m.B = FrameWidthOf(style);
    m.T = CaptionHeightOf(form, style, m.Iconic);
    RECT wr{}, cr{};
    GetWindowRect(hwnd, &wr);
    GetClientRect(hwnd, &cr);
    m.W = wr.right - wr.left;
    m.H = wr.bottom - wr.top;
    m.LeftOffset = (m.W - cr.right) / 2;
    m.TopOffset = m.H - cr.bottom - ((style & WS_BORDER) ? m.B : 0);
    return m;
}

int AutoIconSide(int height) {
    if (height <= 8) return 1;
    return height <= 16 ? 8 : 16;
}

RECT TitleIconRect(const TsFrameMetrics& m, int titleIconLeft) {
    const int side = AutoIconSide(m.T);
    RECT r;
    r.left = m.B + titleIconLeft;
    r.top = m.B / 2 - 1;
    r.top += (m.B + m.T - r.top - side) / 2;
    r.right = r.left + side;
    r.bottom = r.top + side;
    return r;
}

RECT CaptionSpace(const TsFrameMetrics& m, int iconWidth, int titleIconLeft, bool captionPlate,
                  int buttonsWidth) {
    RECT r;
    r.left = m.B + iconWidth + titleIconLeft + (captionPlate ? 2 : 0) + 4;
    r.right = m.W - buttonsWidth - 12;
    r.top = m.Maximized ? m.B / 2 + 1 : 2;
    r.bottom = m.TitleBottom();
    return r;
}

RECT AlignCaption(RECT r, int textWidth, int textHeight, int addedWidth,
                  framework::TAlignment alignment) {
    const int spare = (r.bottom - r.top - textHeight) / 2;
    r.top += spare;
    r.bottom = r.top + textHeight;
    const int width = r.right - r.left;
    const int needed = textWidth + addedWidth + 4;
    switch (alignment) {
        case framework::TAlignment::taRightJustify:
            if (needed < width) r.left = r.right - needed;
            break;
        case framework::TAlignment::taCenter:
            r.left = std::max(r.left, r.left + (width - needed) / 2);
            r.right = std::min(r.left + textWidth, r.right);
            break;
        case framework::TAlignment::taLeftJustify:
            break;
    }
    return r;
}

}  // namespace forms

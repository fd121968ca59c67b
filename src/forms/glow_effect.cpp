#include "forms/glow_effect.h"

#include "forms/glow_picture.h"
#include "platform/gdi.h"

namespace forms {
namespace {

constexpr BLENDFUNCTION kGlowBlend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
// A glow larger than any screen comes from a broken rectangle, not from a control.
constexpr int kMaxGlowSide = 16384;

bool IsTopmost(HWND window) {
    return window && (GetWindowLongPtr(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The window directly above parent, after which the glow goes; the top without a parent.
HWND InsertAfter(HWND parent) {
    if (!parent || !IsWindow(parent)) return HWND_TOP;
    HWND above = GetWindow(parent, GW_HWNDPREV);
    return above ? above : HWND_TOP;
}

}  // namespace

TacGlowEffect::~TacGlowEffect() = default;

bool TacGlowEffect::Show(const skin::TsSkinModel& model, const RECT& box, const RECT& visible,
                         HWND parent) {
    if (form_) return true;
    const TacGlowPlacement p =
        PlaceGlow(box, visible, model.MaskFrameWidths(entryIndex_), overlap_);
    if (p.Empty() || p.full.cx > kMaxGlowSide || p.full.cy > kMaxGlowSide) return false;
    std::unique_ptr<framework::TBitmap> picture =
        BuildGlowPicture(model, entryIndex_, p.full.cx, p.full.cy);
    if (!picture) return false;
    if (p.NeedsRecut())
        picture = CutGlowPicture(*picture, p.cutLeft, p.cutTop, p.Width(), p.Height());
    if (!picture) return false;
    auto form = std::make_unique<TacGlowForm>(IsTopmost(parent));
    Present(*form, *picture, p, parent);
    form_ = std::move(form);
    return true;
}

void TacGlowEffect::Present(TacGlowForm& form, framework::TBitmap& picture,
                            const TacGlowPlacement& p, HWND parent) {
    form.SetBounds(p.window.left, p.window.top, p.Width(), p.Height());
    HWND h = form.Handle();
    SetWindowPos(h, InsertAfter(parent), p.window.left, p.window.top, p.Width(), p.Height(),
                 SWP_NOOWNERZORDER | SWP_NOACTIVATE);
    HDC screen = GetDC(nullptr);
    SIZE size{p.Width(), p.Height()};
    POINT origin{0, 0};
    UpdateLayeredWindow(h, screen, nullptr, &size, picture.Canvas().Handle(), &origin, 0,
                        &kGlowBlend, ULW_ALPHA);
    ShowWindow(h, SW_SHOWNOACTIVATE);
    form.SetVisible(true);
    ReleaseDC(nullptr, screen);
}

}  // namespace forms

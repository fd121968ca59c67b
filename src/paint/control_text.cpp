#include "paint/control_text.h"

#include "paint/color_mix.h"
#include "paint/control_commands.h"
#include "paint/control_kinds.h"
#include "paint/dc_state.h"
#include "paint/glow_text.h"
#include "paint/gray.h"
#include "paint/pixel_view.h"
#include "paint/section_text.h"

namespace paint {

namespace {

constexpr const char* kWebButton = "WEBBUTTON";
constexpr int kRadioButtonKind = 33;
// A parent more transparent than this passes the font question on to its own parent.
constexpr int kSeeThroughParent = 50;

bool TakesParentsFont(const TsCommonData& d, const skin::TsGeneralData& own, bool hot) {
    if (d.ControlKind == ckCheckBox || d.ControlKind == kRadioButtonKind || d.ControlKind == ckGroupBox) return true;
    framework::TControl* c = d.OwnerControl;
    const int t = hot ? own.HotTransparency : own.Transparency;
    return c && !c->IsWindowed() && c->ParentFont() && t >= 1;
}

// The section whose colours the text takes.
int TextSection(const TsCommonData& d, const skin::TsSkinModel& model, bool hot) {
    const skin::TsGeneralData* own = d.Section();
    if (!own || !d.OwnerControl || !TakesParentsFont(d, *own, hot)) return d.SkinIndex;
    for (framework::TWinControl* p = d.OwnerControl->Parent(); p; p = p->Parent()) {
        int index = -1;
        SendSkinCommand(p, skin::scGetSkinIndex, 0, reinterpret_cast<LPARAM>(&index));
        if (index < 0 || static_cast<std::size_t>(index) >= model.Sections.size()) return d.SkinIndex;
        const skin::TsGeneralData& ps = model.Sections[static_cast<std::size_t>(index)];
        if (ps.Transparency > kSeeThroughParent && p->Parent()) continue;
        return ps.GiveOwnFont ? index : d.SkinIndex;
    }
    return d.SkinIndex;
}

void DrawOnce(framework::TCanvas& canvas, const std::string& text, TColor color, RECT r, UINT flags) {
    canvas.Font.SetColor(color);
    canvas.DrawText(text, r, flags);
}

void Glow(const TsCommonData& d, framework::TCanvas& canvas, const skin::TsGeneralData& s, const std::string& text,
          bool hot, UINT flags, const RECT& rect) {
    const int size = hot ? s.HotGlowSize : s.GlowSize;
    if (!d.CacheBmp || size == 0) return;
    framework::TCanvas& target = d.CacheBmp->Canvas();
    if (&target != &canvas) target.Font.Assign(canvas.Font);
    GlowMask fresh;
    DrawGlowText(*d.CacheBmp, text, rect, fresh, hot ? s.HotGlowColor : s.GlowColor, size, kGlowContourAll, flags);
}

// round(s - 0.4 (s - d)) = round((6 s + 4 d) / 10), halves to even.
std::uint8_t SixtyPercent(int s, int d) {
    int v = 6 * s + 4 * d, q = v / 10, r = v % 10;
    if (r > 5 || (r == 5 && (q & 1))) ++q;
    return static_cast<std::uint8_t>(q);
}

void BlendWithBackground(framework::TBitmap& bmp, POINT offset, const TsBgSource& bg) {
    const detail::PixelView d = detail::View(bmp), s = detail::View(*bg.Bmp);
    if (d.Empty() || s.Empty()) return;
    const int ox = bg.X + offset.x, oy = bg.Y + offset.y;
    // Only the pixels that have a background pixel behind them.
    const int x0 = std::max(0, -ox), y0 = std::max(0, -oy);
    const int x1 = std::min(d.width, s.width - ox), y1 = std::min(d.height, s.height - oy);
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* dp = d.At(x0, y);
        const std::uint8_t* sp = s.At(x0 + ox, y + oy);
        for (int x = x0; x < x1; ++x, dp += d.bpp, sp += s.bpp)
            for (int k = 0; k < 3; ++k) dp[k] = SixtyPercent(sp[k], dp[k]);
    }
}

}  // namespace

void WriteSkinText(const TsCommonData& d, framework::TCanvas& canvas, const std::string& text, bool enabled, bool hot,
                   UINT flags, RECT rect) {
    const skin::TsSkinModel* model = d.Model();
    if (!model) return;
    if (d.OwnerControl) canvas.Font.Assign(d.OwnerControl->Font());
    if (hot && d.SkinSection() == kWebButton) canvas.Font.SetStyle(canvas.Font.Style() | framework::fsUnderline);
    SavedDcState state(canvas.Handle());
    IntersectClipRect(canvas.Handle(), rect.left, rect.top, rect.right, rect.bottom);
    const int index = TextSection(d, *model, hot);
    canvas.Brush.SetStyle(framework::TBrushStyle::bsClear);
    if (index < 0 || static_cast<std::size_t>(index) >= model->Sections.size()) {
        canvas.DrawText(text, rect, flags);
        return;
    }
    const skin::TsGeneralData& s = model->Sections[static_cast<std::size_t>(index)];
    Glow(d, canvas, s, text, hot, flags, rect);
    if (!enabled) {
        TColor c = LerpColor(static_cast<TColor>(framework::ColorToRGB(s.FontColor[0])), model->GlobalColor(), 0.4);
        DrawOnce(canvas, text, c, rect, flags);
    } else if (d.CustomFont()) {
        canvas.DrawText(text, rect, flags | DT_NOCLIP);
    } else {
        WriteSectionText(canvas, text, true, model, hot, index, flags | DT_NOCLIP, rect);
    }
}

void ApplyDisabledKind(framework::TBitmap& bmp, TsDisabledKinds kinds, framework::TControl* control, POINT offset,
                       const TsBgSource& bg) {
    if (kinds & dkGrayed) GrayBitmap(bmp);
    if (!(kinds & dkBlended)) return;
    if (bg.Ready && bg.Bmp) {
        BlendWithBackground(bmp, offset, bg);
        return;
    }
    TColor color = bg.FillColor != TransparentColor ? bg.FillColor : PlainColorOf(control);
    BlendColorIntoRect(bmp, RECT{0, 0, bmp.Width(), bmp.Height()}, 50, color);
}

}  // namespace paint

#include "forms/provider_frame.h"

#include <algorithm>
#include <cstring>

#include "paint/bitmaps.h"
#include "paint/border_mask.h"
#include "paint/control_paint.h"
#include "paint/section_paint.h"
#include "paint/section_text.h"
#include "paint/solid_fills.h"

namespace forms {

using framework::TBitmap;
using framework::TColor;
using framework::TFormBorderStyle;

namespace {

constexpr UINT kCaptionFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr int kNoTexture = -2;  // the title and caption plates take no texture entries

RECT Band(const TsFrameLook& l, const TBitmap& image) {
    if (l.Metrics.Iconic) return RECT{0, 0, image.Width(), image.Height()};
    return RECT{0, 0, l.Metrics.W, l.Metrics.TitleBottom()};
}

void PaintPlainBackground(const TsFrameLook& l, TBitmap& image) {
    const TsFrameMetrics& m = l.Metrics;
    const int band = std::min(image.Height(), m.T + m.B + 1);
    paint::FillRectSolid(image.Canvas().Handle(), RECT{0, 0, image.Width(), band}, l.PlainColor);
    RECT inner{};
    paint::PaintBorderFast(*l.Data, image.Canvas().Handle(), RECT{0, 0, m.W, image.Height()}, m.B,
                           inner, FrameState(l.Active));
}

void PaintBackground(const TsFrameLook& l, TBitmap& image) {
    const RECT all{0, 0, image.Width(), image.Height()};
    if (!l.Data->NeedsCache()) return PaintPlainBackground(l, image);
    framework::TCustomForm& form = *l.Form;
    if (form.BorderStyle() == TFormBorderStyle::bsNone && !form.Parent()) {
        paint::PaintSectionBg(l.Data->Model(), l.Data->SkinIndex, l.Data->SkinSection(),
                              paint::BgSourceFromColor(paint::TransparentColor),
                              paint::TransparentColor, -1, -1, image, POINT{0, 0}, all,
                              FrameState(l.Active));
        return;
    }
    const POINT at{form.Left(), form.Top()};
    if (form.Parent())
        paint::PaintControlBgOnParent(*l.Data, form.Parent(), true, true, &image, at, all,
                                      FrameState(l.Active));
    else
        paint::PaintControlBg(*l.Data, paint::BgSourceFromColor(l.PlainColor), true, false, &image,
                              at, all, FrameState(l.Active));
}

void PaintTitleSection(const TsFrameLook& l, TBitmap& image) {
    if (l.TitleIndex < 0) return;
    paint::PaintSectionRect(l.Data->Model(), l.TitleIndex, l.TitleName,
                            paint::BgSourceFromBitmap(&image, 0, 0), kNoTexture, kNoTexture, image,
                            POINT{0, 0}, Band(l, image), FrameState(l.Active), true);
}

void PaintIcon(const TsFrameLook& l, TBitmap& image) {
    if (!DrawsIcon(l) || l.Form->Icon().Empty()) return;
    const RECT r = TitleIconRect(l.Metrics, l.Data->Model()->GlobalInfo.TitleIconLeft);
    DrawIconEx(image.Canvas().Handle(), r.left, r.top, l.Form->Icon().Handle(), r.right - r.left,
               r.bottom - r.top, 0, nullptr, DI_NORMAL);
}

// Halo (when the section has one for this state), then the text in the section's colours.
void WriteCaption(const TsFrameLook& l, TBitmap& image, int section, const std::string& text,
                  const RECT& r) {
    const skin::TsGeneralData& s = l.Data->Model()->Sections[static_cast<std::size_t>(section)];
    const int glow = l.Active ? s.HotGlowSize : s.GlowSize;
    if (glow != 0 && l.GlowCache)
        paint::DrawGlowText(image, text, r, *l.GlowCache, l.Active ? s.HotGlowColor : s.GlowColor,
                            glow, paint::kGlowContourAll, kCaptionFlags);
    paint::WriteSectionText(image.Canvas(), text, l.Form->Enabled(), l.Data->Model(), l.Active,
                            section, kCaptionFlags, r);
}

// The "CAPTION" plate behind the text, over a copy of the band as it is now.
void PaintCaptionPlate(const TsFrameLook& l, TBitmap& image, RECT text) {
    RECT plate = text;
    DrawTextA(image.Canvas().Handle(), l.Form->Caption().c_str(), -1, &plate,
              kCaptionFlags | DT_CALCRECT);
    InflateRect(&plate, 4, 2);
    auto band = paint::CreateBmp32(image.Width(), l.Metrics.TitleBottom());
    BitBlt(band->Canvas().Handle(), 0, 0, band->Width(), band->Height(), image.Canvas().Handle(), 0,
           0, SRCCOPY);
    paint::PaintSectionRect(l.Data->Model(), l.CaptionIndex, "CAPTION",
                            paint::BgSourceFromBitmap(band.get(), plate.left, plate.top), kNoTexture, kNoTexture,
                            image, POINT{0, 0}, plate, FrameState(l.Active), true);
}

TColor Mix50(TColor a, TColor b) {
    auto half = [&](int shift) { return (((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2; };
    return static_cast<TColor>(half(0) | half(8) << 8 | half(16) << 16);
}

TColor AddedColor(const TsFrameLook& l) {
    const skin::TsGeneralData& s =
        l.Data->Model()->Sections[static_cast<std::size_t>(l.TitleIndex)];
    const TColor own = l.Added->Font.Color();
    const TColor sectionColor = l.Active ? s.HotFontColor[0] : s.FontColor[0];
    if (own == framework::clNone || own == framework::clWindowText) return sectionColor;
    return l.Active ? framework::ColorToRGB(own) : Mix50(sectionColor, framework::ColorToRGB(own));
}

void PaintAddedTitle(const TsFrameLook& l, TBitmap& image, const RECT& caption, int captionWidth) {
    if (!l.Added || l.Added->Text.empty() || l.TitleIndex < 0) return;
    framework::TCanvas& canvas = image.Canvas();
    canvas.Font.Assign(l.Added->Font);
    const SIZE size = canvas.TextExtent(l.Added->Text);
    if (size.cx <= 4) return;
    RECT r{caption.left + captionWidth + 4, caption.top, 0, caption.bottom};
    r.right = std::min<LONG>(r.left + size.cx + 4, l.Metrics.W - l.ButtonsWidth - 12);
    SetTextColor(canvas.Handle(), AddedColor(l));
    SetBkMode(canvas.Handle(), TRANSPARENT);
    DrawTextA(canvas.Handle(), l.Added->Text.c_str(), -1, &r, kCaptionFlags);
}

void PaintCaption(const TsFrameLook& l, TBitmap& image) {
    const std::string& text = l.Form->Caption();
    framework::TCanvas& canvas = image.Canvas();
    SelectCaptionFont(canvas, *l.Form);
    canvas.Brush.SetStyle(framework::TBrushStyle::bsClear);
    const RECT r = CaptionTextRect(l, canvas);
    const int textWidth = std::min<int>(canvas.TextWidth(text), r.right - r.left);
    if (!text.empty()) {
        if (l.CaptionIndex >= 0) PaintCaptionPlate(l, image, r);
        const int section = l.CaptionIndex >= 0 ? l.CaptionIndex : l.TitleIndex;
        if (section >= 0) WriteCaption(l, image, section, text, r);
    }
    PaintAddedTitle(l, image, r, text.empty() ? -4 : textWidth);
}

}  // namespace

TacAddedTitle::TacAddedTitle() {
    Font.SetCharset(DEFAULT_CHARSET);
    Font.SetColor(framework::clNone);
    Font.SetHeight(-11);
    Font.SetName("MS Sans Serif");
}

bool DrawsIcon(const TsFrameLook& l) {
    const TFormBorderStyle b = l.Form->BorderStyle();
    return l.ShowIcon && (b == TFormBorderStyle::bsSingle || b == TFormBorderStyle::bsSizeable);
}

void SelectCaptionFont(framework::TCanvas& canvas, framework::TCustomForm& form) {
    NONCLIENTMETRICS ncm;
    std::memset(&ncm, 0, sizeof ncm);
    ncm.cbSize = sizeof ncm;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    const LOGFONT& lf = ncm.lfCaptionFont;
    canvas.Font.SetName(lf.lfFaceName);
    canvas.Font.SetHeight(lf.lfHeight);
    canvas.Font.SetStyle(lf.lfWeight >= FW_BOLD ? framework::TFontStyles{framework::fsBold} : 0u);
    canvas.Font.SetCharset(form.Font().Charset());
}

RECT CaptionTextRect(const TsFrameLook& l, framework::TCanvas& canvas) {
    const int iconLeft = l.Data->Model()->GlobalInfo.TitleIconLeft;
    const RECT icon = TitleIconRect(l.Metrics, iconLeft);
    const RECT space = CaptionSpace(l.Metrics, DrawsIcon(l) ? icon.right - icon.left : 0, iconLeft,
                                    l.CaptionIndex >= 0, l.ButtonsWidth);
    const std::string& text = l.Form->Caption();
    const SIZE size = canvas.TextExtent(text.empty() ? std::string(" ") : text);
    int added = 0;
    if (l.Added && !l.Added->Text.empty()) {
        framework::TFont saved;
        saved.Assign(canvas.Font);
        canvas.Font.Assign(l.Added->Font);
        added = canvas.TextWidth(l.Added->Text);
        canvas.Font.Assign(saved);
    }
    return AlignCaption(space, size.cx, size.cy, added, l.Alignment);
}

void PaintWindowImage(const TsFrameLook& l) {
    paint::TsCommonData& d = *l.Data;
    const TsFrameMetrics& m = l.Metrics;
    const int height = m.Iconic ? m.TitleBottom() + 2 : m.H;
    if (!d.CacheBmp) {
        d.CacheBmp = paint::CreateBmp24(m.W, height);
        d.UpdateOpacity(true);
    } else {
        d.CacheBmp->SetSize(m.W, height);
    }
    TBitmap& image = *d.CacheBmp;
    if (m.W <= 0 || height <= 0) return;
    PaintBackground(l, image);
    if (m.T > 0) {
        PaintTitleSection(l, image);
        PaintIcon(l, image);
        if (l.PaintTitleStrip) l.PaintTitleStrip(image);
        PaintCaption(l, image);
        if (l.PaintButtons) l.PaintButtons(image);
    }
}

}  // namespace forms

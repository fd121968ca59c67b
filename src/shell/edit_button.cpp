#include "shell/edit_button.h"

#include <algorithm>

#include "paint/bg_source.h"
#include "paint/control_text.h"
#include "shell/combo_edit.h"

namespace shell {

using namespace framework;

namespace {

constexpr int kCreatedWidth = 22;  // until the edit first places it

// One 16-pixel column of a strip into frame `frame` of a 32-bit glyph; an unknown strip
// leaves the frame see-through.
void CopyFrame(TBitmap& glyph, int frame, int strip) {
    const auto& all = EditGlyphs();
    for (int row = 0; row < kGlyphSize; ++row) {
        std::uint8_t* d = glyph.ScanLine(row) + static_cast<std::ptrdiff_t>(frame) * kGlyphSize * 4;
        if (strip < 0 || strip >= static_cast<int>(all.size())) {
            std::fill_n(d, kGlyphSize * 4, 0);
            continue;
        }
        const GlyphStrip& s = all[static_cast<std::size_t>(strip)];
        const std::size_t at = (static_cast<std::size_t>(row) * s.width + frame * kGlyphSize) * 4;
        std::copy_n(&s.bgra[at], kGlyphSize * 4, d);
    }
}

}  // namespace

TsEditButton::TsEditButton(TsCustomComboEdit* edit) : TsSpeedButton(edit), edit_(edit) {
    Flat = true;
    SkinData.SetSkinSection("SPEEDBUTTON_SMALL");
    AnimatEvents = paint::aeMouseEnter | paint::aeMouseLeave;
    SetCursor(crArrow);
    SetBounds(0, 0, kCreatedWidth, edit->ClientHeight());
    SetParent(edit);
    SetAlign(TAlign::alRight);
}

void TsEditButton::Click() {
    TsSpeedButton::Click();
    edit_->DoClick();
}

void TsEditButton::TakeGlyph() {
    Grayed = edit_->GlyphMode.Grayed;
    if (Blend() != edit_->GlyphMode.Blend) SetBlend(edit_->GlyphMode.Blend);
    const std::array<int, 3> want{edit_->GlyphIndexFor(TacGlyphState::Normal),
                                  edit_->GlyphIndexFor(TacGlyphState::Hot),
                                  edit_->GlyphIndexFor(TacGlyphState::Pressed)};
    if (want == glyphs_ && !Glyph().Empty()) return;
    glyphs_ = want;
    TBitmap strip(kGlyphSize * kGlyphStates, kGlyphSize, TPixelFormat::pf32bit);
    strip.AlphaFormat = TAlphaFormat::afDefined;
    for (int frame = 0; frame < kGlyphStates; ++frame) CopyFrame(strip, frame, want[frame]);
    Glyph().Assign(strip);
    Glyph().AlphaFormat = TAlphaFormat::afDefined;
    NumGlyphs = kGlyphStates;
    SkinData.BgChanged = true;
}

void TsEditButton::PrepareCache() {
    TakeGlyph();
    if (edit_->SkinData.IsSkinned() && ButtonPaintState() == paint::TsButtonPaintState::bpNormal) {
        PrepareResting();
        return;
    }
    TsSpeedButton::PrepareCache();
}

// The glyph over the edit's image at the button's place, disabled mixed with that image.
void TsEditButton::PrepareResting() {
    SkinData.InitCacheBmp();
    TBitmap& cache = *SkinData.CacheBmp;
    if (cache.Empty()) return;
    if (edit_->SkinData.BgChanged || !edit_->SkinData.CacheBmp) edit_->PrepareCache();
    TBitmap* image = edit_->SkinData.CacheBmp.get();
    const POINT origin = edit_->ClientOrigin();
    if (image && !image->Empty()) {
        BitBlt(cache.Canvas().Handle(), 0, 0, Width(), Height(), image->Canvas().Handle(),
               Left() + origin.x, Top() + origin.y, SRCCOPY);
    } else {
        cache.Canvas().Brush.SetColor(edit_->Color());
        const RECT all{0, 0, Width(), Height()};
        cache.Canvas().FillRect(all);
    }
    DrawGlyphInCache(static_cast<int>(paint::TsButtonPaintState::bpNormal));
    if (!Enabled())
        paint::ApplyDisabledKind(cache, DisabledKind, Parent(), POINT{Left(), Top()},
                                 paint::BgSourceFromBitmap(image, origin.x, origin.y));
    if (OnPaint) OnPaint(this, cache);
    SkinData.BgChanged = false;
}

void TsEditButton::Paint() {
    if (SkinData.Manager() && SkinData.Manager()->Active() && SkinData.SkinIndex <= 0)
        SkinData.UpdateIndexes();
    if (SkinData.IsSkinned()) {
        TakeGlyph();
        TsSpeedButton::Paint();
        return;
    }
    PaintUnskinned();
}

void TsEditButton::PaintUnskinned() {
    TCanvas& c = Canvas();
    RECT r = ClientRect();
    c.Brush.SetColor(edit_->Enabled() ? edit_->Color() : clBtnFace);
    c.FillRect(r);
    const int state = PaintState();
    if (state > 0 && Enabled())
        DrawEdge(c.Handle(), &r, state == 2 ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    const auto glyphState = static_cast<TacGlyphState>(state);
    const int x = (r.right - kGlyphSize) / 2, y = (r.bottom - kGlyphSize) / 2;
    DrawEditGlyph(c, x, y, edit_->GlyphIndexFor(glyphState), glyphState,
                  Enabled() && !edit_->GlyphMode.Grayed);
}

}  // namespace shell

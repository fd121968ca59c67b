#include "paint/section_paint.h"

#include <memory>

#include "paint/bitmaps.h"
#include "paint/block_copy.h"
#include "paint/border_mask.h"
#include "paint/color_mix.h"
#include "paint/gradient.h"
#include "paint/image_entry.h"
#include "paint/image_pieces.h"
#include "paint/scratch_bitmap.h"
#include "paint/solid_fills.h"
#include "paint/textures.h"

namespace paint {

using namespace detail;

namespace {

// The values one paint of a section uses.
struct Look {
    TColor color = 0;
    int transparency = 0;
    int gradientPercent = 0;
    int imagePercent = 0;
    const skin::TsGradArray* gradient = nullptr;
    int mask = -1;     // texture image entry
    int pattern = -1;  // or large texture
    bool HasTexture() const { return mask >= 0 || pattern >= 0; }
};

void ChooseTexture(const skin::TsSkinModel& m, int i, std::string_view name, int given, bool hot, Look& look) {
    const std::string_view key = hot ? "HOTPATTERN" : "PATTERN";
    int idx = given;
    if (idx == -1) {
        idx = m.FindMask(i, name, key);
    } else if (const skin::TsMaskData* e = MaskAt(m, idx); !e || e->MaskType != 0) {
        idx = -1;  // a given entry is taken only when it has no mask half
    }
    if (MaskAt(m, idx)) {
        look.mask = idx;
        return;
    }
    int p = m.FindPattern(i, name, key);
    if (p >= 0 && static_cast<std::size_t>(p) < m.Patterns.size() && m.Patterns[static_cast<std::size_t>(p)].Img)
        look.pattern = p;
}

Look ReadLook(const skin::TsSkinModel& m, int i, std::string_view name, TColor custom, int hotTexture, int texture,
              bool hot) {
    Look look;
    if (custom != TransparentColor) {
        look.color = static_cast<TColor>(framework::ColorToRGB(custom));
        return look;
    }
    const skin::TsGeneralData& s = m.Sections[static_cast<std::size_t>(i)];
    look.color = static_cast<TColor>(framework::ColorToRGB(hot ? s.HotColor : s.Color));
    look.transparency = hot ? s.HotTransparency : s.Transparency;
    if (look.transparency != 100) {
        look.gradientPercent = hot ? s.HotGradientPercent : s.GradientPercent;
        look.gradient = hot ? &s.HotGradientArray : &s.GradientArray;
        look.imagePercent = hot ? s.HotImagePercent : s.ImagePercent;
    }
    if (look.imagePercent > 0) ChooseTexture(m, i, name, hot ? hotTexture : texture, hot, look);
    return look;
}

// Draws the texture into rect of target and fills what it leaves with the plain colour.
void DrawTexture(const skin::TsSkinModel& m, const Look& look, framework::TBitmap& target, const RECT& rect,
                 const TsBgSource& bg) {
    if (look.pattern >= 0) {
        TileBitmap(target, rect, *m.Patterns[static_cast<std::size_t>(look.pattern)].Img);
        return;
    }
    const skin::TsMaskData& e = m.Masks[static_cast<std::size_t>(look.mask)];
    RECT left = rect;
    if (e.MaskType > 0)
        OverlayMaskedTexture(target, left, bg, e.DrawMode, m, look.mask);
    else
        FillTexture(target, left, e.DrawMode, m, look.mask);
    if (!IsCoveredAll(left)) FillRectSolid(target, Intersect(left, rect), look.color);
}

void FillGradientOrColor(framework::TBitmap& target, const RECT& rect, const Look& look) {
    if (look.gradient && !look.gradient->empty())
        FillGradient(target, rect, *look.gradient, 0);
    else
        FillRectSolid(target, rect, look.color);
}

// Whether FillGradientOrColor writes every pixel, alpha included, of a whole 32-bit bitmap of
// at least 2 x 2 (smaller ones are never mixed into anything): a plain colour does, and so
// does a vertical gradient, whose parts follow one another from the first row to the last.
bool FillsWholeBitmap(const Look& look, framework::TPixelFormat format) {
    if (format != framework::TPixelFormat::pf32bit) return false;
    return !look.gradient || look.gradient->empty() || (*look.gradient)[0].Mode == 0;
}

// Whether DrawTexture writes every pixel: a pattern does, and so does a texture entry without
// a mask tiled whole (mode 0) from a picture of its own or from inside the master picture.
bool DrawTextureCoversAll(const skin::TsSkinModel& m, const Look& look) {
    if (look.pattern >= 0) return true;  // ChooseTexture takes only patterns with a picture
    const skin::TsMaskData& e = m.Masks[static_cast<std::size_t>(look.mask)];
    if (e.MaskType > 0) return false;
    if (e.Bmp && !e.Bmp->Empty()) return true;
    const framework::TBitmap* master = EntryImage(m, e);
    return master && e.DrawMode == 0 && e.Width() > 0 && e.Height() > 0 && e.R.left >= 0 &&
           e.R.top >= 0 && e.R.left + e.Width() <= master->Width() &&
           e.R.top + e.Height() <= master->Height();
}

// The same for FillSection: the texture, if any, covers everything, and what is laid over
// it only mixes; without a texture it is one such fill or a plain colour.
bool FillSectionCoversAll(const skin::TsSkinModel& m, const Look& look,
                          framework::TPixelFormat format) {
    if (format != framework::TPixelFormat::pf32bit) return false;
    if (look.imagePercent > 0 && look.HasTexture()) return DrawTextureCoversAll(m, look);
    return look.gradientPercent <= 0 || FillsWholeBitmap(look, format);
}

// The section alone, without what lies behind it.
void FillSection(const skin::TsSkinModel& m, const Look& look, framework::TBitmap& target, const RECT& rect,
                 const TsBgSource& bg) {
    const bool textured = look.imagePercent > 0 && look.HasTexture();
    if (textured) DrawTexture(m, look, target, rect, bg);
    if (look.gradientPercent > 0) {
        if (textured) {
            const int w = rect.right - rect.left, h = rect.bottom - rect.top;
            ScratchBitmap scratch(ScratchSlot::Overlay, w, h, target.PixelFormat(),
                                  !FillsWholeBitmap(look, target.PixelFormat()));
            framework::TBitmap& over = scratch.Bitmap();
            FillGradientOrColor(over, RECT{0, 0, w, h}, look);
            auto alpha = static_cast<std::uint8_t>(std::min(look.imagePercent * 255 / 100, 255));
            BlendBitmaps(target, over, alpha, POINT{rect.left, rect.top}, RECT{0, 0, w, h});
        } else {
            FillGradientOrColor(target, rect, look);
        }
    }
    // An image share without a picture is not counted: it would keep whatever was there.
    const int covered = look.gradientPercent + (textured ? look.imagePercent : 0);
    if (covered <= 0)
        FillRectSolid(target, rect, look.color);
    else if (covered < 100)  // inclusive edges: stop at the rectangle's last row and column
        BlendColorIntoRect(target, RECT{rect.left, rect.top, rect.right - 1, rect.bottom - 1}, covered, look.color);
}

void PutBackground(framework::TBitmap& bmp, const RECT& rect, const TsBgSource& bg, POINT offset) {
    if (!bg.Ready) {
        FillRectSolid(bmp, rect, bg.FillColor);
    } else if (bg.Bmp && bg.Bmp != &bmp) {
        BlockCopy(View(bmp), rect.left, rect.top, View(*bg.Bmp), bg.X + offset.x, bg.Y + offset.y,
                  rect.right - rect.left, rect.bottom - rect.top);
    }
}

}  // namespace

void PaintSectionBg(const skin::TsSkinModel* model, int i, std::string_view name, const TsBgSource& bg,
                    TColor customColor, int hotTexture, int texture, framework::TBitmap& bmp, POINT offset,
                    const RECT& rect, int state) {
    if (!model || i < 0 || static_cast<std::size_t>(i) >= model->Sections.size()) return;
    if (View(bmp).Empty() || IsEmpty(rect)) return;
    const skin::TsSkinModel& m = *model;
    const Look look = ReadLook(m, i, name, customColor, hotTexture, texture, state >= 1);
    const int t = look.transparency;
    if ((!bg.Ready && bg.FillColor == TransparentColor) || t <= 0) {
        FillSection(m, look, bmp, rect, bg);
    } else if (t >= 100) {
        PutBackground(bmp, rect, bg, offset);
    } else if (bg.Ready || look.gradientPercent + look.imagePercent > 0) {
        const int w = rect.right - rect.left, h = rect.bottom - rect.top;
        ScratchBitmap scratch(ScratchSlot::Section, w, h, bmp.PixelFormat(),
                              !FillSectionCoversAll(m, look, bmp.PixelFormat()));
        framework::TBitmap& section = scratch.Bitmap();
        FillSection(m, look, section, RECT{0, 0, w, h}, bg);
        PutBackground(bmp, rect, bg, offset);
        auto alpha = static_cast<std::uint8_t>(std::clamp(t * 255 / 100, 0, 255));
        BlendBitmaps(bmp, section, alpha, POINT{rect.left, rect.top}, RECT{0, 0, w, h});
    } else {
        FillRectSolid(bmp, rect, LerpColor(bg.FillColor, look.color, t / 100.0));
    }
    if (state != 0) return;
    // A masked texture in mode 10 is laid once more over the finished fill.
    const int again = texture != -1 ? texture : hotTexture;
    const skin::TsMaskData* e = MaskAt(m, again);
    if (e && e->MaskType > 0 && e->DrawMode == 10) {
        RECT r = rect;
        TsBgSource moved = bg;
        moved.X += offset.x;
        moved.Y += offset.y;
        OverlayMaskedTexture(bmp, r, moved, 10, m, again);
    }
}

void PaintSectionRect(const skin::TsSkinModel* model, int i, std::string_view name, const TsBgSource& bg,
                      int hotTexture, int texture, framework::TBitmap& bmp, POINT offset, const RECT& rect,
                      int state, bool fillCentre) {
    if (!model || i < 0 || static_cast<std::size_t>(i) >= model->Sections.size() || View(bmp).Empty()) return;
    if (IsEmpty(rect) || rect.left < 0 || rect.top < 0 || rect.right > bmp.Width() || rect.bottom > bmp.Height()) return;
    PaintSectionBg(model, i, name, bg, TransparentColor, hotTexture, texture, bmp, offset, rect, state);

    const skin::TsGeneralData& s = model->Sections[static_cast<std::size_t>(i)];
    const TsBgSource self = BgSourceFromBitmap(&bmp, 0, 0);
    auto corner = [&](int index, bool right, bool bottom) {
        const skin::TsMaskData* e = MaskAt(*model, index);
        if (!e) return;
        POINT p{right ? rect.right - FrameWidth(*e) : rect.left, bottom ? rect.bottom - FrameHeight(*e) : rect.top};
        DrawImageFrame(bmp, p, state, self, *model, index, 1);
    };
    corner(s.ImgTL, false, false);
    corner(s.ImgTR, true, false);
    corner(s.ImgBL, false, true);
    corner(s.ImgBR, true, true);

    if (MaskAt(*model, s.BorderIndex)) {
        TsBgSource moved = bg;
        moved.X += offset.x;
        moved.Y += offset.y;
        DrawBorderMask(bmp, rect, fillCentre, true, state, *model, s.BorderIndex, moved);
    }
}

}  // namespace paint

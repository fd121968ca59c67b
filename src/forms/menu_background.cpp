#include "forms/menu_background.h"

#include "paint/bitmaps.h"
#include "paint/border_mask.h"
#include "paint/section_paint.h"
#include "paint/transparent_corners.h"
#include "platform/gdi.h"

namespace forms {

namespace {

constexpr const char* kMenuSection = "MAINMENU";
constexpr const char* kFrameEntry = "BORDERSMASK";

void PaintIconLine(const skin::TsSkinModel& model, const MenuBackgroundSpec& spec,
                   framework::TBitmap& bmp) {
    int i = model.FindSection(spec.iconLineSection);
    int height = spec.size.cy - 2 * spec.skinBorderWidth;
    if (i < 0 || spec.iconLineWidth <= 0 || height <= 0) return;
    auto line = paint::CreateBmp24(spec.iconLineWidth, height);
    POINT at{spec.extraLine + spec.skinBorderWidth, spec.skinBorderWidth};
    paint::PaintSectionRect(&model, i, spec.iconLineSection, paint::BgSourceFromBitmap(&bmp, 0, 0),
                            -1, -1, *line, at, RECT{0, 0, spec.iconLineWidth, height}, 0, true);
    BitBlt(bmp.Canvas().Handle(), at.x, at.y, spec.iconLineWidth, height, line->Canvas().Handle(),
           0, 0, SRCCOPY);
}

}  // namespace

std::unique_ptr<framework::TBitmap> PaintMenuBackground(const skin::TsSkinModel& model,
                                                        const MenuBackgroundSpec& spec,
                                                        std::vector<RECT>& corners) {
    auto bmp = paint::CreateBmp24(spec.size.cx, spec.size.cy);
    RECT whole{0, 0, spec.size.cx, spec.size.cy};
    HBRUSH menuBrush = GetSysColorBrush(COLOR_MENU);
    FillRect(bmp->Canvas().Handle(), &whole, menuBrush);
    corners.clear();
    int menu = model.FindSection(kMenuSection);
    if (menu >= 0)
        paint::PaintSectionBg(&model, menu, kMenuSection, paint::TsBgSource{},
                              paint::TransparentColor, -1, -1, *bmp, POINT{0, 0}, whole, 0);
    PaintIconLine(model, spec, *bmp);
    int frame = menu >= 0 ? model.FindMask(menu, kMenuSection, kFrameEntry) : -1;
    if (frame < 0) return bmp;
    // Nothing lies behind a popup: its see-through corners keep the key colour, which the
    // window's shape then cuts away.
    paint::DrawBorderMask(*bmp, whole, false, true, 0, model, frame, paint::TsBgSource{});
    const skin::TsMaskData& entry = model.Masks[static_cast<size_t>(frame)];
    paint::CollectTransparentCorners(corners, spec.size.cx, model, frame, false, 0);
    paint::CollectTransparentCorners(corners, spec.size.cx, model, frame, true,
                                     spec.size.cy - entry.FrameBottom());
    return bmp;
}

}  // namespace forms

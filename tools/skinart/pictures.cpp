#include "pictures.h"

#include <algorithm>
#include <cmath>

namespace skinart {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

Rgba White(int alpha) {
    return WithAlpha(kWhite, alpha);
}
Rgba Black(int alpha) {
    return WithAlpha(kBlack, alpha);
}
Rgba Clear(Rgba c) {
    return Rgba{c.r, c.g, c.b, 0};
}
Rgba Outline(const Palette& p, int percent = 100) {
    return WithAlpha(p.outline, p.outlineAlpha * percent / 100);
}
Rgba Edge(const Palette& p, int percent) {
    return White(std::min(255, p.edgeAlpha * percent / 100));
}
Rgba Gloss(const Palette& p, int percent) {
    return White(std::min(255, p.glossAlpha * percent / 100));
}

Shape Rounded(double inset, int w, int h, double radius, double extraBottom) {
    return RoundRect(inset, inset, w - inset, h - inset + extraBottom,
                     std::max(0.0, radius - inset));
}

}  // namespace

Picture Plate(int w, int h, const PlateStyle& s) {
    Picture pic(w, h);
    const double extra = s.squareBottom ? s.radius + 3 : 0;
    const Shape outer = Rounded(0, w, h, s.radius, extra);
    const Shape inner = Rounded(1, w, h, s.radius, extra);
    const Shape inner2 = Rounded(2, w, h, s.radius, extra);
    if (s.tintTop.a || s.tintBottom.a)
        pic.Fill(inner, VerticalRamp(s.tintTop, s.tintBottom, 1, h - 2));
    if (s.gloss.a && s.glossRows > 0) {
        const int g0 = 1 + s.sink, g1 = g0 + s.glossRows;
        pic.Fill(inner, VerticalRamp(s.gloss, Clear(s.gloss), g0, g1), 0, g0, w, g1);
    }
    if (s.indicator.a)
        pic.Fill(RoundRect(s.radius + 2, h - 5, w - s.radius - 2, h - 3, 1), Solid(s.indicator));
    if (s.edgeTop.a || s.edgeBottom.a)
        pic.Fill(Minus(inner, inner2), VerticalRamp(s.edgeTop, s.edgeBottom, 1, h - 2));
    if (s.outline.a) pic.Fill(Minus(outer, inner), Solid(s.outline));
    pic.Cut(outer);
    return pic;
}

Margins TallMargins(int side, int height) {
    const int top = (height - 1) / 2;
    return Margins{side, top, side, height - 1 - top};
}

std::vector<Picture> ButtonStates(const Palette& p, Button kind, int w, int h) {
    const double radius = kind == Button::Round ? (h - 1) / 2.0 : kind == Button::Small ? 3 : 5;
    const int glossRows = h * 2 / 5;
    PlateStyle normal;
    normal.radius = radius;
    normal.outline = Outline(p);
    normal.edgeTop = Edge(p, 150);
    normal.edgeBottom = Edge(p, 30);
    normal.gloss = Gloss(p, 80);
    normal.glossRows = glossRows;
    if (kind == Button::Toggle) normal.indicator = WithAlpha(p.accent, 200);
    PlateStyle hot = normal;
    hot.edgeTop = Edge(p, 220);
    hot.gloss = Gloss(p, 110);
    hot.outline = Outline(p, 110);
    if (kind == Button::Toggle) hot.indicator = Opaque(p.accentLight);
    PlateStyle pressed = normal;
    // Pressed glass sinks: shadow along the top, the light edge only at the bottom.
    pressed.edgeTop = Black(p.dark ? 90 : 40);
    pressed.edgeBottom = Edge(p, 60);
    pressed.tintTop = Black(p.dark ? 70 : 30);
    pressed.tintBottom = Black(p.dark ? 30 : 10);
    pressed.gloss = Gloss(p, 35);
    pressed.sink = 1;
    if (kind == Button::Toggle) pressed.indicator = Opaque(p.accent);
    return {Plate(w, h, normal), Plate(w, h, hot), Plate(w, h, pressed)};
}

std::vector<Picture> EditStates(const Palette& p) {
    const int w = 9, h = 21;
    PlateStyle normal;
    normal.radius = 3;
    normal.outline = Outline(p);
    // A field is sunk into the glass: a shadow inside its top edge, light on its bottom edge.
    normal.edgeTop = Black(p.dark ? 110 : 28);
    normal.edgeBottom = Edge(p, p.dark ? 40 : 100);
    PlateStyle hot = normal;
    hot.outline = WithAlpha(p.accent, 230);
    hot.edgeTop = WithAlpha(p.accent, 70);
    hot.edgeBottom = WithAlpha(p.accent, 70);
    return {Plate(w, h, normal), Plate(w, h, hot)};
}

std::vector<Picture> CheckBoxHotStates(const Palette& p) {
    const int w = 11, h = 19;
    PlateStyle hot;
    hot.radius = 4;
    hot.tintTop = White(p.dark ? 16 : 120);
    hot.tintBottom = White(p.dark ? 6 : 60);
    hot.edgeTop = WithAlpha(p.accent, 90);
    hot.edgeBottom = WithAlpha(p.accent, 40);
    return {Picture(w, h), Plate(w, h, hot)};
}

std::vector<Picture> CardFrame(const Palette& p) {
    PlateStyle s;
    s.radius = 5;
    s.outline = Outline(p, 80);
    s.edgeTop = Edge(p, 100);
    s.edgeBottom = Edge(p, 25);
    return {Plate(15, 15, s)};
}

std::vector<Picture> FormFrame(const Palette& p) {
    PlateStyle active;
    active.radius = 6;
    active.outline = Outline(p, 120);
    active.edgeTop = Edge(p, 120);
    active.edgeBottom = Edge(p, 60);
    PlateStyle idle = active;
    idle.edgeTop = Edge(p, 70);
    idle.edgeBottom = Edge(p, 35);
    return {Plate(17, 17, idle), Plate(17, 17, active)};
}

std::vector<Picture> TitleFrame(const Palette& p) {
    const int w = 17, h = 22;
    PlateStyle active;
    active.radius = 6;
    active.squareBottom = true;
    active.outline = Outline(p, 120);
    active.edgeTop = Edge(p, 200);
    active.edgeBottom = Edge(p, 40);
    active.gloss = Gloss(p, 100);
    active.glossRows = 8;  // the top third of the band
    PlateStyle idle = active;
    idle.edgeTop = Edge(p, 110);
    idle.gloss = Gloss(p, 45);
    std::vector<Picture> states{Plate(w, h, idle), Plate(w, h, active)};
    // The band ends in a dark line with a faint light one above it, like a pane's lower edge.
    for (Picture& pic : states)
        for (int x = 1; x < w - 1; ++x) {
            pic.Blend(x, h - 1, Outline(p, 70), 16);
            pic.Blend(x, h - 2, Edge(p, 30), 16);
        }
    return states;
}

std::vector<Picture> CaptionPlate(const Palette& p) {
    const int w = 17, h = 17;
    PlateStyle active;
    active.radius = 8;
    active.tintTop = p.dark ? Black(60) : White(150);
    active.tintBottom = p.dark ? Black(35) : White(90);
    active.edgeBottom = Edge(p, 45);
    PlateStyle idle = active;
    idle.tintTop = p.dark ? Black(35) : White(90);
    idle.tintBottom = p.dark ? Black(20) : White(50);
    return {Plate(w, h, idle), Plate(w, h, active)};
}

std::vector<Picture> StatusFrame(const Palette& p) {
    Picture pic(3, 19);
    for (int x = 0; x < 3; ++x) {
        pic.Blend(x, 0, Outline(p, 80), 16);
        pic.Blend(x, 1, Edge(p, 70), 16);
    }
    return {pic};
}

std::vector<Picture> DividerFrame(const Palette& p) {
    Picture pic(2, 9);
    for (int y = 0; y < 9; ++y) {
        // Full strength in the middle, fading towards both ends.
        const int percent = y < 4 ? 25 * (y + 1) : y > 4 ? 25 * (9 - y) : 100;
        pic.Blend(0, y, Outline(p, std::min(100, percent)), 16);
        pic.Blend(1, y, Edge(p, std::min(100, percent)), 16);
    }
    return {pic};
}

std::vector<Picture> MenuFrame(const Palette& p) {
    PlateStyle s;
    s.radius = 4;
    s.outline = Outline(p, 120);
    s.edgeTop = Edge(p, 130);
    s.edgeBottom = Edge(p, 40);
    return {Plate(13, 13, s)};
}

std::vector<Picture> MenuItemFrame(const Palette& p) {
    const int w = 11, h = 19;
    PlateStyle selected;
    selected.radius = 3;
    selected.outline = WithAlpha(p.accentDeep, 220);
    selected.edgeTop = White(p.dark ? 110 : 90);
    selected.edgeBottom = White(p.dark ? 30 : 20);
    selected.gloss = White(p.dark ? 60 : 50);
    selected.glossRows = 7;
    return {Picture(w, h), Plate(w, h, selected)};
}

std::vector<Picture> MenuDivider(const Palette& p) {
    Picture pic(9, 2);
    for (int x = 0; x < 9; ++x) {
        const int percent = std::min(100, 25 * std::min(x + 1, 9 - x));
        pic.Blend(x, 0, Outline(p, percent * 70 / 100), 16);
        pic.Blend(x, 1, Edge(p, percent), 16);
    }
    return {pic};
}

namespace {

Shape CheckMark(double dx, double dy, double width) {
    return Union(Segment(3.8 + dx, 8.0 + dy, 6.6 + dx, 10.9 + dy, width),
                 Segment(6.6 + dx, 10.9 + dy, 11.9 + dx, 4.9 + dy, width));
}

// The sunk square of a check box; `state` 0 normal, 1 hot, 2 pressed.
Picture EmptyBox(const Palette& p, int state) {
    Picture pic(16, 16);
    const Shape box = RoundRect(1, 1, 15, 15, 3), inner = RoundRect(2, 2, 14, 14, 2);
    const Rgba fill = Opaque(state == 2   ? (p.dark ? 0x101215 : 0xE6EBF2)
                             : state == 1 ? p.fieldHot
                                          : p.field);
    pic.Fill(box, Solid(fill));
    pic.Fill(Minus(inner, RoundRect(2, 3, 14, 14, 2)), Solid(Black(p.dark ? 120 : 30)));
    const Rgba rim = state == 0 ? Outline(p) : WithAlpha(p.accent, state == 1 ? 220 : 255);
    pic.Fill(Minus(box, inner), Solid(rim));
    return pic;
}

Picture FullBox(const Palette& p, int state) {
    Picture pic(16, 16);
    const Shape box = RoundRect(1, 1, 15, 15, 3), inner = RoundRect(2, 2, 14, 14, 2);
    const Rgba top = Opaque(state == 2 ? p.accentDeep : state == 1 ? p.accentLight : p.accent);
    const Rgba bottom = Opaque(state == 2 ? p.accentDeep : p.accent);
    pic.Fill(box, VerticalRamp(top, bottom, 1, 14));
    pic.Fill(Minus(inner, RoundRect(2, 3, 14, 14, 2)), Solid(White(state == 2 ? 20 : 90)));
    pic.Fill(Minus(box, inner), Solid(WithAlpha(p.accentDeep, 255)));
    return pic;
}

}  // namespace

std::vector<Picture> BoxGlyph(const Palette& p, Box kind) {
    std::vector<Picture> states;
    for (int state = 0; state < 3; ++state) {
        if (kind == Box::Checked) {
            Picture pic = FullBox(p, state);
            const double shift = state == 2 ? 0.5 : 0;
            pic.Fill(CheckMark(shift, shift, 1.15), Solid(Opaque(p.textOnAccent)));
            states.push_back(pic);
        } else {
            Picture pic = EmptyBox(p, state);
            if (kind == Box::Grayed)
                pic.Fill(RoundRect(4.5, 4.5, 11.5, 11.5, 1.5), Solid(WithAlpha(p.accent, 150)));
            states.push_back(pic);
        }
    }
    return states;
}

std::vector<Picture> MenuCheck(const Palette& p) {
    Picture normal(16, 16), selected(16, 16);
    normal.Fill(CheckMark(0, 0, 1.2), Solid(Opaque(p.accent)));
    selected.Fill(CheckMark(0, 0, 1.2), Solid(Opaque(p.textOnAccent)));
    return {normal, selected};
}

std::vector<Picture> Grip(const Palette& p) {
    Picture pic(12, 12);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            if (i + j < 2) continue;
            const double x = 1 + i * 4, y = 1 + j * 4;
            pic.Fill(RoundRect(x + 1, y + 1, x + 3, y + 3, 0.6), Solid(Black(p.dark ? 200 : 60)));
            pic.Fill(RoundRect(x, y, x + 2, y + 2, 0.6),
                     Solid(p.dark ? White(110) : Outline(p, 90)));
        }
    return {pic};
}

namespace {

Shape IconShape(TitleIcon icon, double cx, double cy) {
    switch (icon) {
        case TitleIcon::Minimize:
            return RoundRect(cx - 4.5, cy + 2, cx + 4.5, cy + 4, 0.8);
        case TitleIcon::Maximize:
            return Minus(RoundRect(cx - 4.5, cy - 4, cx + 4.5, cy + 4.5, 1),
                         RoundRect(cx - 3, cy - 1.5, cx + 3, cy + 3, 0.5));
        case TitleIcon::Restore:
            return Union(Minus(RoundRect(cx - 4.5, cy - 1.5, cx + 2.5, cy + 4.5, 1),
                               RoundRect(cx - 3, cy + 0.5, cx + 1, cy + 3, 0.5)),
                         Minus(Minus(RoundRect(cx - 2.5, cy - 4.5, cx + 4.5, cy + 2.5, 1),
                                     RoundRect(cx - 1, cy - 2.5, cx + 3, cy + 1, 0.5)),
                               RoundRect(cx - 4.5, cy - 1.5, cx + 2.5, cy + 4.5, 1)));
        case TitleIcon::Close:
        case TitleIcon::CloseAlone:
            return Union(Segment(cx - 3.6, cy - 3.6, cx + 3.6, cy + 3.6, 1.05),
                         Segment(cx - 3.6, cy + 3.6, cx + 3.6, cy - 3.6, 1.05));
    }
    return RoundRect(0, 0, 0, 0, 0);
}

bool IsClose(TitleIcon icon) {
    return icon == TitleIcon::Close || icon == TitleIcon::CloseAlone;
}

Picture TitleButtonState(const Palette& p, TitleIcon icon, int state) {
    const int w = IsClose(icon) ? kCloseButtonWidth : kTitleButtonWidth, h = kTitleButtonHeight;
    PlateStyle s;
    s.radius = 4;
    s.outline = Outline(p, state == 0 ? 60 : 100);
    s.edgeTop = Edge(p, state == 2 ? 0 : state == 1 ? 160 : 90);
    s.edgeBottom = Edge(p, 20);
    s.gloss = Gloss(p, state == 2 ? 20 : 70);
    s.glossRows = 7;
    s.sink = state == 2 ? 1 : 0;
    const std::uint32_t hotFill = IsClose(icon) ? p.closeHot : (p.dark ? 0x5A6270 : 0xFFFFFF);
    if (state == 0) {
        s.tintTop = p.dark ? White(14) : White(110);
        s.tintBottom = p.dark ? White(4) : White(40);
    } else {
        s.tintTop = WithAlpha(hotFill, state == 2 ? 200 : 230);
        s.tintBottom = WithAlpha(hotFill, state == 2 ? 255 : 200);
    }
    Picture pic = Plate(w, h, s);
    if (state == 2)
        pic.Fill(RoundRect(1, 1, w - 1, h - 1, 3), VerticalRamp(Black(70), Black(10), 1, 6));
    const bool light = state != 0 && (IsClose(icon) || p.dark);
    const Rgba ink = light ? Opaque(0xFFFFFF) : Opaque(state == 0 ? p.glyph : p.text);
    const double cx = w / 2.0, cy = h / 2.0 - 0.5 + (state == 2 ? 1 : 0);
    pic.Fill(IconShape(icon, cx, cy), Solid(ink));
    return pic;
}

}  // namespace

std::vector<Picture> TitleButton(const Palette& p, TitleIcon icon) {
    return {TitleButtonState(p, icon, 0), TitleButtonState(p, icon, 1),
            TitleButtonState(p, icon, 2)};
}

namespace {

// Alpha of a halo at distance d outside a shape: strongest at the edge, gone at `spread`.
int HaloAlpha(double d, int spread, int strength) {
    if (d <= 0 || d >= spread) return 0;
    const double t = 1 - d / spread;
    return static_cast<int>(strength * t * t + 0.5);
}

// Distance of a pixel centre from a rounded rectangle (0 inside).
double RoundRectDistance(double x, double y, double l, double t, double r, double b,
                         double radius) {
    const double cx = std::clamp(x, l + radius, r - radius),
                 cy = std::clamp(y, t + radius, b - radius);
    return std::max(0.0, std::hypot(x - cx, y - cy) - radius);
}

void PaintHalo(Picture& pic, double l, double t, double r, double b, double radius, int spread,
               std::uint32_t color, int strength) {
    for (int y = 0; y < pic.Height(); ++y)
        for (int x = 0; x < pic.Width(); ++x) {
            const double d = RoundRectDistance(x + 0.5, y + 0.5, l, t, r, b, radius);
            const int a = HaloAlpha(d, spread, strength);
            if (a) pic.Blend(x, y, WithAlpha(color, a), 16);
        }
}

}  // namespace

Picture TitleButtonGlow(const Palette& p, TitleIcon icon, int margin) {
    const int w = IsClose(icon) ? kCloseButtonWidth : kTitleButtonWidth, h = kTitleButtonHeight;
    Picture pic(w + 2 * margin, h + 2 * margin);
    const std::uint32_t color = IsClose(icon) ? p.closeHot : p.accent;
    PaintHalo(pic, margin, margin, margin + w, margin + h, 4, margin + 1, color, 150);
    pic.Over(TitleButtonState(p, icon, 1), margin, margin);
    return pic;
}

Picture Halo(const Palette& p, int radius, int spread, std::uint32_t backdrop) {
    const int size = 2 * spread + 1;
    Picture pic(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Folded into the top-left quarter: the control's box starts at (spread, spread)
            // and goes on far beyond the picture, its corner rounded with the radius.
            // The centre row and column are the straight middle of the control's sides.
            constexpr double kMiddle = 1e5;
            const double px = x == spread ? kMiddle : std::min(x, size - 1 - x) + 0.5;
            const double py = y == spread ? kMiddle : std::min(y, size - 1 - y) + 0.5;
            const double d = RoundRectDistance(px, py, spread, spread, 1e6, 1e6, radius);
            const bool inCorner = (x < spread || x > spread) && (y < spread || y > spread);
            Rgba c = WithAlpha(p.accent, HaloAlpha(d, spread + 1, 120));
            if (inCorner) {
                Picture one(1, 1);
                one.At(0, 0) = Opaque(backdrop);
                one.Blend(0, 0, c, 16);
                c = one.At(0, 0);
            }
            pic.At(x, y) = c;
        }
    return pic;
}

}  // namespace skinart

#include "paint/button_layout.h"

namespace paint {

using framework::TAlignment;
using framework::TButtonLayout;

namespace {

int ByAlignment(TAlignment a, int left, int right, int centre) {
    switch (a) {
        case TAlignment::taLeftJustify: return left;
        case TAlignment::taRightJustify: return right;
        case TAlignment::taCenter: return centre;
    }
    return centre;
}

bool Beside(TButtonLayout l) { return l == TButtonLayout::blGlyphLeft || l == TButtonLayout::blGlyphRight; }

}  // namespace

int InnerMargin(int margin) { return margin < 0 ? 0 : margin + 3; }

int CaptionWidth(const TsButtonMetrics& m) {
    if (!m.captionShown) return 0;
    int w = m.width - 2 * m.margin - m.dropDown;
    if (m.glyphWidth > 0 && Beside(m.layout)) w -= m.glyphWidth + m.spacing;
    return w;
}

POINT GlyphOrigin(const TsButtonMetrics& m) {
    const int f = InnerMargin(m.margin);
    const int gw = m.glyphWidth, gh = m.glyphHeight, dd = m.dropDown, tw = m.textWidth;
    const int sp = m.captionShown && gw > 0 ? m.spacing : 0;
    const int k = (m.width - dd - gw - sp - tw) / 2 - f;
    const int spv = m.captionShown ? m.spacing : 0;
    POINT p{0, (m.height - gh) / 2};
    switch (m.layout) {
        case TButtonLayout::blGlyphLeft: p.x = ByAlignment(m.alignment, f, f + 2 * k, f + k); break;
        case TButtonLayout::blGlyphRight:
            p.x = ByAlignment(m.alignment, m.width - dd - f - 2 * k - sp - gw, m.width - dd - gw - f,
                              (m.width + sp + tw - dd - gw) / 2);
            break;
        case TButtonLayout::blGlyphTop:
            p.x = (m.width - dd - gw) / 2 + 1;
            p.y = (m.height - gh - spv - m.textHeight) / 2;
            break;
        case TButtonLayout::blGlyphBottom:
            p.x = (m.width - dd - gw) / 2 + 1;
            p.y = m.height - (m.height - gh - spv - m.textHeight) / 2 - gh;
            break;
    }
    if (m.pressed) ++p.x, ++p.y;
    return p;
}

RECT CaptionRect(const TsButtonMetrics& m) {
    const int f = InnerMargin(m.margin);
    const int gw = m.glyphWidth, dd = m.dropDown, tw = m.textWidth, th = m.textHeight;
    const int sg = gw >= 1 && m.captionShown ? m.spacing : 0;
    const int k = (m.width - dd - gw - sg - tw) / 2 - f;
    const int gap = gw > 0 ? m.spacing : 0;
    int top = (m.height - th) / 2, bottom = m.height - top;
    int left = 0, right = 0;
    switch (m.layout) {
        case TButtonLayout::blGlyphLeft:
            left = ByAlignment(m.alignment, gw + m.margin + gap, f + 2 * k + gw + gap, gw + f + k + gap);
            right = ByAlignment(m.alignment, m.width - dd - f - 2 * k, m.width - dd - f, m.width - dd - f - k);
            break;
        case TButtonLayout::blGlyphRight:
            left = ByAlignment(m.alignment, f, f + 2 * k, f + k);
            right = left + tw;
            break;
        case TButtonLayout::blGlyphTop:
        case TButtonLayout::blGlyphBottom: {
            left = (m.width - tw - dd) / 2;
            right = m.width - left - dd;
            const int spv = m.captionShown ? m.spacing : 0;
            const int free = (m.height - m.glyphHeight - spv - th) / 2;
            top = m.layout == TButtonLayout::blGlyphTop ? free + m.glyphHeight + m.spacing : free;
            bottom = top + th;
            break;
        }
    }
    RECT r{left + m.textOffset - 1, top, right + m.textOffset + 2, bottom};
    if (m.pressed) OffsetRect(&r, 1, 1);
    return r;
}

}  // namespace paint

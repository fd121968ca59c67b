#include "framework/std_controls.h"

#include "framework/form.h"

namespace framework {

void Frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight) {
    HBRUSH tl = CreateSolidBrush(ColorToRGB(topLeft));
    HBRUSH br = CreateSolidBrush(ColorToRGB(bottomRight));
    RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
    RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &top, tl);
    FillRect(dc, &left, tl);
    FillRect(dc, &bottom, br);
    FillRect(dc, &right, br);
    DeleteObject(tl);
    DeleteObject(br);
    InflateRect(&r, -1, -1);
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::PaintWindow(HDC dc) {
    canvas_.SetHandle(dc);
    canvas_.Font.Assign(Font());
    canvas_.Brush.SetColor(Color());
    Paint();
    canvas_.SetHandle(nullptr);
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    ControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    width_ = 185;
    height_ = 41;
}

int TPanel::FrameThickness() const {
    int bevels = (BevelInner != TBevelCut::bvNone ? 1 : 0) + (BevelOuter != TBevelCut::bvNone ? 1 : 0);
    return BevelWidth * bevels + BorderWidth;
}

void TPanel::AlignControls(RECT& r) {
    int t = FrameThickness();
    InflateRect(&r, -t, -t);
    TCustomControl::AlignControls(r);
}

void TPanel::Paint() {
    TCanvas& c = Canvas();
    RECT r = ClientRect();
    c.FillRect(r);
    auto bevel = [&](TBevelCut cut) {
        if (cut == TBevelCut::bvNone) return;
        TColor tl = cut == TBevelCut::bvLowered ? clBtnShadow : clBtnHighlight;
        TColor br = cut == TBevelCut::bvLowered ? clBtnHighlight : clBtnShadow;
        if (cut == TBevelCut::bvSpace) tl = br = Color();
        for (int i = 0; i < BevelWidth; ++i) Frame3D(c.Handle(), r, tl, br);
    };
    bevel(BevelOuter);
    InflateRect(&r, -BorderWidth, -BorderWidth);
    bevel(BevelInner);
    if (Caption().empty()) return;
    UINT align = Alignment == TAlignment::taLeftJustify    ? DT_LEFT
                 : Alignment == TAlignment::taRightJustify ? DT_RIGHT
                                                           : DT_CENTER;
    c.DrawText(Caption(), r, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
    ControlStyle |= csAcceptsControls;
    SetColor(clBtnFace);
    width_ = 185;
    height_ = 105;
}

void TGroupBox::AlignControls(RECT& r) {
    InflateRect(&r, -1, -1);
    r.top += 12;  // below the caption line
    TCustomControl::AlignControls(r);
}

void TGroupBox::Paint() {
    TCanvas& c = Canvas();
    RECT client = ClientRect();
    c.FillRect(client);
    SIZE text = c.TextExtent(Caption().empty() ? std::string("0") : Caption());
    RECT frame{0, text.cy / 2 - 1, client.right, client.bottom};
    DrawEdge(c.Handle(), &frame, EDGE_ETCHED, BF_RECT);
    if (Caption().empty()) return;
    RECT label{8, 0, 8 + text.cx, text.cy};
    c.FillRect(label);
    if (!Enabled()) c.Font.SetColor(clGrayText);
    c.DrawText(Caption(), label, DT_SINGLELINE | DT_LEFT | DT_NOPREFIX);
}

void TStatusPanel::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    bar_->PanelChanged(this);
}

void TStatusPanel::SetWidth(int width) {
    if (width == width_) return;
    width_ = width;
    bar_->PanelChanged(nullptr);
}

TStatusPanel* TStatusPanels::Add() {
    panels_.push_back(std::make_unique<TStatusPanel>(bar_));
    bar_->PanelChanged(nullptr);
    return panels_.back().get();
}

void TStatusPanels::Clear() {
    panels_.clear();
    bar_->PanelChanged(nullptr);
}

TStatusBar::TStatusBar(TComponent* owner) : TCustomControl(owner), panels_(this) {
    ControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    height_ = 19;
    SetAlign(TAlign::alBottom);
}

RECT TStatusBar::PanelRect(int index) const {
    RECT client = ClientRect();
    int x = 0;
    for (int i = 0; i < panels_.Count(); ++i) {
        int w = panels_[i]->Width();
        bool last = i == panels_.Count() - 1;
        RECT r{x, 2, last ? client.right : x + w, client.bottom};
        if (i == index) {
            r.right -= 2;
            return r;
        }
        x += w;
    }
    return RECT{};
}

int TStatusBar::IndexOf(const TStatusPanel* panel) const {
    for (int i = 0; i < panels_.Count(); ++i)
        if (panels_[i] == panel) return i;
    return -1;
}

// Told through the window procedure even before the window exists, so that a bar keeping a
// picture of itself never shows an old text once it is painted.
void TStatusBar::PanelChanged(TStatusPanel* panel) {
    if (!panel) {
        Perform(SB_SETPARTS, static_cast<WPARAM>(panels_.Count()), 0);
        return;
    }
    int index = IndexOf(panel);
    if (index >= 0) Perform(SB_SETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(panel->Text().c_str()));
}

void TStatusBar::SetSimplePanel(bool simple) {
    if (simple == simplePanel_) return;
    simplePanel_ = simple;
    Perform(SB_SIMPLE, simple ? 1 : 0, 0);
}

void TStatusBar::SetSimpleText(const std::string& text) {
    if (text == simpleText_) return;
    simpleText_ = text;
    Perform(SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case SB_SETTEXTA: {
        int index = static_cast<int>(LOBYTE(m.WParam));
        if (!HandleAllocated()) return;
        if (index == static_cast<int>(SB_SIMPLEID) || simplePanel_ || index >= panels_.Count()) {
            Invalidate();
        } else {
            RECT r = PanelRect(index);
            InvalidateRect(Handle(), &r, TRUE);
        }
        m.Result = 1;
        return;
    }
    case SB_SETPARTS:
    case SB_SIMPLE:
        Invalidate();
        m.Result = 1;
        return;
    case SB_GETRECT: {
        int index = static_cast<int>(m.WParam);
        if (index < 0 || index >= panels_.Count() || !m.LParam) return;
        *reinterpret_cast<RECT*>(m.LParam) = PanelRect(index);
        m.Result = 1;
        return;
    }
    default: TCustomControl::WndProc(m); return;
    }
}

void TStatusBar::DrawPanel(TStatusPanel* panel, const RECT& rect) {
    if (panel->Style == TStatusPanelStyle::psOwnerDraw) {
        if (OnDrawPanel) OnDrawPanel(this, panel, rect);
        return;
    }
    TCanvas& c = Canvas();
    RECT r = rect;
    if (panel->Bevel != TStatusPanelBevel::pbNone) {
        bool lowered = panel->Bevel == TStatusPanelBevel::pbLowered;
        Frame3D(c.Handle(), r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow);
    }
    r.left += 1;
    UINT align = panel->Alignment == TAlignment::taCenter         ? DT_CENTER
                 : panel->Alignment == TAlignment::taRightJustify ? DT_RIGHT
                                                                  : DT_LEFT;
    c.DrawText(panel->Text(), r, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// A grip on a window that cannot be resized would promise what a drag cannot do.
bool TStatusBar::FormIsSizeable() const {
    TCustomForm* form = ParentForm();
    if (!form) return true;
    TFormBorderStyle style = form->BorderStyle();
    return style == TFormBorderStyle::bsSizeable || style == TFormBorderStyle::bsSizeToolWin;
}

void TStatusBar::Paint() {
    TCanvas& c = Canvas();
    RECT client = ClientRect();
    c.FillRect(client);
    if (simplePanel_ || panels_.Count() == 0) {
        RECT r{0, 2, client.right, client.bottom};
        c.DrawText(simpleText_, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    } else {
        for (int i = 0; i < panels_.Count(); ++i) DrawPanel(panels_[i], PanelRect(i));
    }
    if (!SizeGrip || !FormIsSizeable()) return;
    // Three diagonal double lines in the bottom-right corner.
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ old = SelectObject(c.Handle(), dark);
    for (int k = 0; k < 3; ++k) {
        int d = 4 * k + 2;
        for (int line = 0; line < 3; ++line) {
            SelectObject(c.Handle(), line == 0 ? light : dark);
            MoveToEx(c.Handle(), client.right - d - line, client.bottom - 1, nullptr);
            LineTo(c.Handle(), client.right, client.bottom - d - line - 1);
        }
    }
    SelectObject(c.Handle(), old);
    DeleteObject(light);
    DeleteObject(dark);
}

}  // namespace framework

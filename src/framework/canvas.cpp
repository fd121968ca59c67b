#include "framework/canvas.h"

#include "framework/graphic.h"

namespace framework {

CanvasTextScope::CanvasTextScope(TCanvas& canvas) : dc_(canvas.Handle()) {
    oldFont_ = SelectObject(dc_, canvas.Font.Handle());
    oldColor_ = SetTextColor(dc_, ColorToRGB(canvas.Font.Color()));
    oldMode_ = SetBkMode(dc_, TRANSPARENT);
}

CanvasTextScope::~CanvasTextScope() {
    SelectObject(dc_, oldFont_);
    SetTextColor(dc_, oldColor_);
    SetBkMode(dc_, oldMode_);
}

void TCanvas::FillRect(const RECT& r) {
    if (Brush.Style() == TBrushStyle::bsClear) return;
    ::FillRect(dc_, &r, Brush.Handle());
}

void TCanvas::FrameRect(const RECT& r) {
    if (Brush.Style() == TBrushStyle::bsClear) return;
    ::FrameRect(dc_, &r, Brush.Handle());
}

void TCanvas::Rectangle(const RECT& r) {
    HGDIOBJ oldPen = SelectObject(dc_, Pen.Handle());
    HGDIOBJ brush = Brush.Style() == TBrushStyle::bsClear ? GetStockObject(NULL_BRUSH) : Brush.Handle();
    HGDIOBJ oldBrush = SelectObject(dc_, brush);
    ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
    SelectObject(dc_, oldBrush);
    SelectObject(dc_, oldPen);
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    HGDIOBJ oldPen = SelectObject(dc_, Pen.Handle());
    ::LineTo(dc_, x, y);
    SelectObject(dc_, oldPen);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    CanvasTextScope scope(*this);
    ::TextOut(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
    FillRect(r);
    CanvasTextScope scope(*this);
    ::ExtTextOut(dc_, x, y, ETO_CLIPPED, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

void TCanvas::DrawText(const std::string& text, RECT& r, UINT format) {
    CanvasTextScope scope(*this);
    ::DrawText(dc_, text.data(), static_cast<int>(text.size()), &r, format);
}

SIZE TCanvas::TextExtent(const std::string& text) {
    HGDIOBJ old = SelectObject(dc_, Font.Handle());
    SIZE size{};
    GetTextExtentPoint32(dc_, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc_, old);
    return size;
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
    if (graphic.Empty()) return;
    graphic.Draw(*this, RECT{x, y, x + graphic.Width(), y + graphic.Height()});
}

void TCanvas::StretchDraw(const RECT& r, TGraphic& graphic) {
    if (!graphic.Empty()) graphic.Draw(*this, r);
}

}  // namespace framework

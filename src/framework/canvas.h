// A drawing surface over a device context with the current font, brush and pen. The canvas
// selects its objects into the context for each operation and puts the previous ones back,
// so a borrowed context is left as it was found.
#pragma once

#include <string>

#include "framework/graphics_objects.h"

namespace framework {

class TGraphic;

class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) : dc_(dc) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas() = default;

    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc) { dc_ = dc; }
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont Font;
    TBrush Brush;
    TPen Pen;

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void Rectangle(const RECT& r);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::string& text);
    // Writes the text at (x, y), clipped to the rectangle; the brush fills the rectangle
    // first unless it is clear.
    void TextRect(const RECT& r, int x, int y, const std::string& text);
    // DrawText with the canvas font and colour, transparent background.
    void DrawText(const std::string& text, RECT& r, UINT format);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    void Draw(int x, int y, TGraphic& graphic);
    void StretchDraw(const RECT& r, TGraphic& graphic);

private:
    HDC dc_ = nullptr;
};

// Selects the canvas font into its context and sets the text colour for the scope.
class CanvasTextScope {
public:
    explicit CanvasTextScope(TCanvas& canvas);
    ~CanvasTextScope();
    CanvasTextScope(const CanvasTextScope&) = delete;
    CanvasTextScope& operator=(const CanvasTextScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ oldFont_;
    COLORREF oldColor_;
    int oldMode_;
};

}  // namespace framework

// The standard controls in the classic look: panel, group box, check box, speed button and
// status bar. The edit lives in std_edit.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/control.h"
#include "framework/graphic.h"

namespace framework {

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    TCanvas& Canvas() { return canvas_; }

protected:
    void PaintWindow(HDC dc) override;
    virtual void Paint() {}

private:
    TCanvas canvas_;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* owner);
    TBevelCut BevelInner = TBevelCut::bvNone;
    TBevelCut BevelOuter = TBevelCut::bvRaised;
    int BevelWidth = 1;
    int BorderWidth = 0;
    TAlignment Alignment = TAlignment::taCenter;
    // Bevels plus border: the width of the frame on every side.
    int FrameThickness() const;

protected:
    void Paint() override;
    void AlignControls(RECT& rect) override;
};

class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* owner);

protected:
    void Paint() override;
    void AlignControls(RECT& rect) override;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TCustomControl {
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState state);
    bool AllowGrayed = false;
    TAlignment Alignment = TAlignment::taRightJustify;
    // Unchecked, checked, grayed (when allowed), unchecked again.
    void Toggle();

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void Click() override {}

private:
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool pressed_ = false;
};

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    TBitmap& Glyph() { return glyph_; }
    int NumGlyphs = 1;
    bool Flat = false;
    bool Down = false;
    int GroupIndex = 0;
    bool AllowAllUp = false;
    TButtonLayout Layout = TButtonLayout::blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;
    bool MouseInControl() const { return mouseIn_; }
    // 0 normal, 1 hot, 2 pressed.
    int PaintState() const;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    TBitmap glyph_;
    bool mouseIn_ = false;
    bool pressed_ = false;
};

enum class TStatusPanelStyle { psText, psOwnerDraw };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

class TStatusPanel {
public:
    explicit TStatusPanel(TStatusBar* bar) : bar_(bar) {}
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    TAlignment Alignment = TAlignment::taLeftJustify;
    TStatusPanelStyle Style = TStatusPanelStyle::psText;
    TStatusPanelBevel Bevel = TStatusPanelBevel::pbLowered;

private:
    TStatusBar* bar_;
    std::string text_;
    int width_ = 50;
};

class TStatusPanels {
public:
    explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}
    TStatusPanel* Add();
    int Count() const { return static_cast<int>(panels_.size()); }
    TStatusPanel* operator[](int index) const { return panels_[static_cast<size_t>(index)].get(); }
    TStatusPanel* Items(int index) const { return (*this)[index]; }
    void Clear();

private:
    TStatusBar* bar_;
    std::vector<std::unique_ptr<TStatusPanel>> panels_;
};

using TDrawPanelEvent = std::function<void(TStatusBar*, TStatusPanel*, const RECT&)>;

class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* owner);
    TStatusPanels& Panels() { return panels_; }
    bool SimplePanel = false;
    std::string SimpleText;
    bool SizeGrip = true;
    TDrawPanelEvent OnDrawPanel;
    // The rectangle of a panel in client coordinates.
    RECT PanelRect(int index) const;
    void PanelChanged(TStatusPanel* panel);

protected:
    void Paint() override;
    virtual void DrawPanel(TStatusPanel* panel, const RECT& rect);

private:
    bool FormIsSizeable() const;
    TStatusPanels panels_;
};

// Draws a one-pixel 3-D frame and shrinks the rectangle by it.
void Frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight);

}  // namespace framework

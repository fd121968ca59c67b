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

// The state changes go through SetState, and the mouse and the space bar through Toggle, so a
// check box that draws itself differently overrides those two and keeps the behaviour.
class TCheckBox : public TCustomControl {
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    virtual void SetChecked(bool checked) {
        SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
    }
    TCheckBoxState State() const { return state_; }
    // Repaints and runs OnClick (not while loading) when the state really changes.
    virtual void SetState(TCheckBoxState state);
    bool AllowGrayed = false;
    TAlignment Alignment = TAlignment::taRightJustify;
    // Unchecked, checked, grayed (when allowed), unchecked again.
    virtual void Toggle();

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
// bsDown while the mouse holds the button, bsExclusive while Down keeps it in (a group).
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Buttons with the same GroupIndex on one parent act as radio buttons: one going Down
// (CM_BUTTONPRESSED to the siblings) brings the others up; AllowAllUp lets the last one up too.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    TBitmap& Glyph() { return glyph_; }
    int NumGlyphs = 1;
    bool Flat = false;
    bool Down() const { return down_; }
    void SetDown(bool down);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allow);
    TButtonLayout Layout = TButtonLayout::blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;
    bool MouseInControl() const { return mouseIn_; }
    TButtonState State() const { return state_; }
    bool IsPressed() const { return state_ == TButtonState::bsDown || state_ == TButtonState::bsExclusive; }
    // 0 normal, 1 hot, 2 pressed (IsPressed).
    int PaintState() const;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    // The state a skinned button reads and, on leaving, may set back to up.
    void SetState(TButtonState state);
    void SetMouseInControl(bool inside) { mouseIn_ = inside; }

private:
    void UpdateExclusive();
    void ButtonPressed(TMessage& m);
    TBitmap glyph_;
    TButtonState state_ = TButtonState::bsUp;
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool mouseIn_ = false;
    bool dragging_ = false;
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

// The status bar control's messages. Every change of a panel, of the layout or of the simple
// text reaches the bar's window procedure as one of them, whether or not the window exists yet,
// so a bar that keeps a picture of itself marks it stale there.
constexpr UINT SB_SETTEXTA = WM_USER + 1;
// The panels were added, removed or resized.
constexpr UINT SB_SETPARTS = WM_USER + 4;
constexpr UINT SB_SIMPLE = WM_USER + 9;
constexpr UINT SB_GETRECT = WM_USER + 10;
// SB_SETTEXTA's wParam when the simple text changed.
constexpr WPARAM SB_SIMPLEID = 0xFF;

class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* owner);
    TStatusPanels& Panels() { return panels_; }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool simple);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& text);
    bool SizeGrip = true;
    TDrawPanelEvent OnDrawPanel;
    // The rectangle of a panel in client coordinates.
    RECT PanelRect(int index) const;
    // A panel's text (panel given) or the layout (none) changed.
    void PanelChanged(TStatusPanel* panel);

protected:
    void Paint() override;
    virtual void DrawPanel(TStatusPanel* panel, const RECT& rect);

    void WndProc(TMessage& message) override;

private:
    bool FormIsSizeable() const;
    int IndexOf(const TStatusPanel* panel) const;
    TStatusPanels panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
};

// Draws a one-pixel 3-D frame and shrinks the rectangle by it.
void Frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight);

}  // namespace framework

// Controls: visual components with a parent, bounds, alignment, text, font and colour, mouse
// events, and a message handler that subclasses extend (handle what they know, pass the rest
// on). Windowed controls own a platform window created on demand; graphic controls are
// painted by their parent and get their mouse messages through it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/canvas.h"
#include "framework/component.h"
#include "framework/messages.h"

namespace framework {

class TWinControl;
class TCustomForm;
class TPopupMenu;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TControlStyleFlag : unsigned {
    csAcceptsControls = 1,
    csCaptureMouse = 2,
    csClickEvents = 4,
    csFramed = 8,
    csSetCaption = 16,
    csOpaque = 32,
    csDoubleClicks = 64,
    csParentBackground = 128,
};
using TControlStyle = unsigned;

enum TControlStateFlag : unsigned {
    csLButtonDown = 1,
    csClicked = 2,
    csFocusing = 4,
    csCreating = 8,
    csCustomPaint = 16,
    csRecreating = 32,
};

// Edges of the parent a control keeps its distance to when the parent is resized. Left and
// top only (the default) keep the position; left and right stretch the width; neither
// keeps the control centred on the same share of the parent.
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;
constexpr TAnchors kDefaultAnchors = akLeft | akTop;

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHandPoint = -21;

using TMouseEvent = std::function<void(TObject*, TMouseButton, TShiftState, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject*, TShiftState, int x, int y)>;
using TKeyEvent = std::function<void(TObject*, WORD& key, TShiftState)>;
using TKeyPressEvent = std::function<void(TObject*, char32_t& key)>;
using TWndMethod = std::function<void(TMessage&)>;
// Wheel turned over a control: delta in WHEEL_DELTA steps (positive away from the user),
// the pointer in screen coordinates; set handled to stop the parents from seeing it.
using TMouseWheelEvent = std::function<void(TObject*, TShiftState, int delta, POINT, bool& handled)>;

TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyboardShiftState();

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    TCustomForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    virtual void SetClientSize(int width, int height);
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;
    // The client origin in the coordinates of the nearest windowed control (itself if
    // windowed).
    POINT OffsetInWindow() const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible itself and every parent up to a shown form. A windowed control keeps the answer
    // it last sent CM_SHOWINGCHANGED for, so a form that handles that message already counts
    // as showing while it shows its window.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    const std::string& Caption() const { return text_; }
    void SetCaption(const std::string& text) { SetText(text); }
    virtual std::string Text() const { return text_; }
    virtual void SetText(const std::string& text);

    TFont& Font() { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool ShowHint() const;
    void SetShowHint(bool value) {
        showHint_ = value;
        parentShowHint_ = false;
    }
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    TControlStyle ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    unsigned ControlState = 0;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;

    // Every message passes through here; replace it to see messages first, and call the
    // previous one for the rest.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void BringToFront();
    virtual bool IsWindowed() const { return false; }
    bool MouseCapture() const;
    void SetMouseCapture(bool capture);
    virtual void Click();

    void Loaded() override;

protected:
    // Handles the messages a control knows and passes the rest to DefaultHandler.
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    void Notification(TComponent* component, TOperation operation) override;

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void DblClick();
    // The wheel turned over the control; true when handled (the default asks OnMouseWheel).
    virtual bool DoMouseWheel(TShiftState shift, int delta, POINT screen);
    // Tells the control's handlers that its value changed (CM_CHANGED).
    void Changed();
    // Opens the popup menu of this control or its nearest parent with one; true when opened.
    bool DoContextPopup(POINT screen);
    virtual void FontChanged();
    virtual void Resized() {}
    void InvalidateControl(bool opaque);

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::string text_;

private:
    void HandleMouseButton(TMessage& m, TMouseButton button, bool down, bool dbl);
    void HandleMouseWheel(TMessage& m);
    // A crossing message about this control itself (not one a child passed up).
    bool IsOwnCrossing(const TMessage& m) const;
    // A windowed control hears of its own moves from the platform; a graphic one from here.
    void NotifyBoundsChanged(bool moved, bool resized);
    // The parent's client size and this control's bounds that the anchors keep distances to.
    void UpdateAnchorRules();
    void ApplyAnchors();
    TWinControl* parent_ = nullptr;
    TAlign align_ = TAlign::alNone;
    TAnchors anchors_ = kDefaultAnchors;
    bool anchorRulesValid_ = false;
    bool anchoring_ = false;
    SIZE anchorParent_{0, 0};
    RECT anchorBounds_{0, 0, 0, 0};
    bool visible_ = true;
    bool enabled_ = true;
    TFont font_;
    bool parentFont_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;
    TCursor cursor_ = crDefault;
    friend class TWinControl;
};

// A control without a window of its own, painted by its parent on the parent's surface.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    TCanvas& Canvas() { return canvas_; }

protected:
    void WndProc(TMessage& message) override;
    virtual void Paint() {}

private:
    TCanvas canvas_;
};

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::string WinClassName;
    UINT ClassStyle = CS_DBLCLKS;
};

// A control with a platform window, created the first time it is needed.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return hwnd_ != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    // The control that owns a platform window of the framework, or null.
    static TWinControl* FindControl(HWND hwnd);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_[static_cast<size_t>(index)]; }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // The visible child at a client point, graphic children included (topmost first).
    TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;
    void Broadcast(TMessage& message);

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop = false;
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // Windowed children that can take focus, in tab order, descending into containers.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override { Invalidate(); Update(); }
    bool IsWindowed() const override { return true; }
    // Paints the control with its frame, client and windowed children into dc with its
    // top-left corner at (x, y), whether or not it is on the screen (as WM_PRINT with every
    // part asked for; the window is made first when it does not exist yet).
    void PaintTo(HDC dc, int x, int y);
    // Destroys the window and makes it again from CreateParams (styles that only take effect
    // at creation); a showing control shows again, and the focus stays where it was. What was
    // set on the old window only (a procedure put in with SetWindowLongPtr, a region, the
    // minimised state) goes with it; a replaced WindowProc stays.
    void RecreateWnd();
    void SetText(const std::string& text) override;
    void SetEnabled(bool enabled) override;
    void Loaded() override;
    // Lays out aligned children again.
    void Realign();
    void PaintControls(HDC dc, TControl* first);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // Paints the window; the default calls PaintWindow and then the graphic children.
    virtual void PaintHandler(TMessage& message);
    virtual void PaintWindow(HDC dc);
    virtual void EraseBackground(HDC dc);
    virtual void AlignControls(RECT& rect);
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    virtual void DoEnter();
    virtual void DoExit();
    // Compares Showing with what Visible and the parent say and sends CM_SHOWINGCHANGED when it
    // changed; the windowed children are updated the same way. A control that starts showing
    // updates its children first (as the classic framework does), so a form's show hook (the
    // skinned show animation) finds its controls showing and able to paint; one that stops
    // showing is told first.
    void UpdateShowing();
    // Counts the control and its windowed children as not showing, without telling them.
    void ForgetShowing();
    // Set by a subclass whose CreateWnd has more to do before the window may be shown.
    bool deferShowing_ = false;
    // Where the window's own procedure lives (the class's default procedure).
    WNDPROC defWndProc_ = nullptr;

private:
    bool IsControlMouseMsg(TMessage& m);
    bool SetControlCursor();
    void TrackMouse(TControl* target);
    void PrintClient(TMessage& m);
    static LRESULT StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static void RegisterFrameworkClass(const std::string& name, UINT style);
    HWND hwnd_ = nullptr;
    bool showing_ = false;
    bool aligning_ = false;
    std::vector<TControl*> controls_;      // z-order, bottom first
    std::vector<TWinControl*> tabList_;    // windowed children by tab order
    friend class TControl;
};

// Sends CM_MOUSEENTER or CM_MOUSELEAVE to the control and then to each of its parents, lParam
// the control itself each time.
void NotifyMouseCrossing(TControl* control, UINT msg);

// The control that last received the pointer (for enter/leave notifications and hints).
TControl* MouseControl();
void SetMouseControl(TControl* control);
void ForgetMouseControl(TControl* control);
// The control that holds the mouse capture, graphic controls included.
TControl* CaptureControl();

}  // namespace framework

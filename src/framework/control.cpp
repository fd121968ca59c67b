#include <algorithm>

#include "framework/control.h"
#include "framework/exceptions.h"
#include "framework/form.h"
#include "framework/menus.h"

namespace framework {

namespace {
TControl* g_mouseControl = nullptr;
TControl* g_captureControl = nullptr;
}  // namespace

TControl* MouseControl() { return g_mouseControl; }
TControl* CaptureControl() { return g_captureControl; }
void SetMouseControl(TControl* control) { g_mouseControl = control; }
void ForgetMouseControl(TControl* control) {
    if (g_mouseControl == control) g_mouseControl = nullptr;
    if (g_captureControl == control) g_captureControl = nullptr;
}

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
    ForgetMouseControl(this);
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    InvalidateControl(false);
    bool moved = left != left_ || top != top_;
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    InvalidateControl(false);
    if (!anchoring_) UpdateAnchorRules();
    if (!IsWindowed()) NotifyBoundsChanged(moved, resized);
    if (resized) Resized();
    if (parent_ && align_ != TAlign::alNone && !Loading()) parent_->Realign();
}

void TControl::NotifyBoundsChanged(bool moved, bool resized) {
    WINDOWPOS pos{nullptr, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE};
    if (!moved) pos.flags |= SWP_NOMOVE;
    if (!resized) pos.flags |= SWP_NOSIZE;
    Perform(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    if (moved) Perform(WM_MOVE, 0, MAKELPARAM(left_, top_));
    if (resized) Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(width_, height_));
}

void TControl::SetAnchors(TAnchors anchors) {
    if (anchors == anchors_) return;
    anchors_ = anchors;
    UpdateAnchorRules();
}

// Taken whenever the control is placed by anyone but the anchors, so a later resize of the
// parent keeps the distances the control had then. Nothing is taken while loading: the
// parent's size is not final until the description has been applied.
void TControl::UpdateAnchorRules() {
    anchorRulesValid_ = false;
    if (!parent_ || Loading() || parent_->Loading()) return;
    RECT client = parent_->ClientRect();
    anchorParent_ = SIZE{client.right - client.left, client.bottom - client.top};
    anchorBounds_ = BoundsRect();
    anchorRulesValid_ = true;
}

namespace {
// One axis: the new start and length for a parent that is now `size` instead of `was`.
void AnchorAxis(bool nearEdge, bool farEdge, int was, int size, LONG start, LONG end, int& outStart, int& outLength) {
    int length = static_cast<int>(end - start);
    int grow = size - was;
    if (nearEdge && farEdge) {
        outStart = static_cast<int>(start);
        outLength = std::max(0, length + grow);
    } else if (farEdge) {
        outStart = static_cast<int>(start) + grow;
        outLength = length;
    } else if (nearEdge) {
        outStart = static_cast<int>(start);
        outLength = length;
    } else {
        // The centre keeps its share of the parent.
        long long doubledCentre = static_cast<long long>(start) * 2 + length;
        outStart = was > 0 ? static_cast<int>(doubledCentre * size / (2LL * was)) - length / 2 : static_cast<int>(start);
        outLength = length;
    }
}
}  // namespace

void TControl::ApplyAnchors() {
    if (!parent_ || align_ != TAlign::alNone || anchors_ == kDefaultAnchors) return;
    if (!anchorRulesValid_) {
        UpdateAnchorRules();
        return;
    }
    RECT client = parent_->ClientRect();
    int x = 0, w = 0, y = 0, h = 0;
    AnchorAxis(anchors_ & akLeft, anchors_ & akRight, anchorParent_.cx, client.right - client.left, anchorBounds_.left,
               anchorBounds_.right, x, w);
    AnchorAxis(anchors_ & akTop, anchors_ & akBottom, anchorParent_.cy, client.bottom - client.top, anchorBounds_.top,
               anchorBounds_.bottom, y, h);
    anchoring_ = true;
    SetBounds(x, y, w, h);
    anchoring_ = false;
}

void TControl::SetClientSize(int width, int height) {
    RECT c = ClientRect();
    SetBounds(left_, top_, width_ + width - c.right, height_ + height - c.bottom);
}

POINT TControl::OffsetInWindow() const {
    POINT p{0, 0};
    const TControl* c = this;
    while (!c->IsWindowed() && c->parent_) {
        p.x += c->left_;
        p.y += c->top_;
        c = c->parent_;
    }
    return p;
}

POINT TControl::ClientToScreen(POINT p) const {
    const TControl* c = this;
    while (!c->IsWindowed() && c->parent_) {
        p.x += c->left_;
        p.y += c->top_;
        c = c->parent_;
    }
    if (auto* w = dynamic_cast<const TWinControl*>(c); w && w->HandleAllocated())
        ::ClientToScreen(const_cast<TWinControl*>(w)->Handle(), &p);
    return p;
}

POINT TControl::ScreenToClient(POINT p) const {
    POINT origin = ClientToScreen(POINT{0, 0});
    return POINT{p.x - origin.x, p.y - origin.y};
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (parent_ && !Loading()) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) InvalidateControl(true);
    visible_ = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
    if (visible) InvalidateControl(true);
    if (parent_ && align_ != TAlign::alNone && !Loading()) parent_->Realign();
}

bool TControl::Showing() const {
    if (!visible_) return false;
    if (IsWindowed()) return static_cast<const TWinControl*>(this)->showing_;
    return parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    Perform(CM_TEXTCHANGED);
}

void TControl::FontChanged() {
    parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
    if (value == parentFont_) return;
    parentFont_ = value;
    if (value && parent_) {
        font_.Assign(parent_->Font());
        parentFont_ = true;
    }
}

void TControl::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    if (value && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
        parentColor_ = true;
    }
}

bool TControl::ShowHint() const {
    if (parentShowHint_ && parent_) return parent_->ShowHint();
    return showHint_;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

void NotifyMouseCrossing(TControl* control, UINT msg) {
    auto lParam = reinterpret_cast<LPARAM>(control);
    control->Perform(msg, 0, lParam);
    for (TControl* c = control->Parent(); c; c = c->Parent()) c->Perform(msg, 0, lParam);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::InvalidateControl(bool opaque) {
    (void)opaque;
    if (!parent_ || !visible_ || IsWindowed()) return;
    if (!parent_->HandleAllocated()) return;
    RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, TRUE);
}

void TControl::Invalidate() { InvalidateControl(true); }

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (IsWindowed() && static_cast<TWinControl*>(this)->HandleAllocated())
        SetWindowPos(static_cast<TWinControl*>(this)->Handle(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

bool TControl::MouseCapture() const { return g_captureControl == this; }

void TControl::SetMouseCapture(bool capture) {
    if (capture == MouseCapture()) return;
    TControl* windowed = this;
    while (windowed && !windowed->IsWindowed()) windowed = windowed->parent_;
    if (capture) {
        g_captureControl = this;
        if (windowed) ::SetCapture(static_cast<TWinControl*>(windowed)->Handle());
    } else {
        g_captureControl = nullptr;
        if (windowed && static_cast<TWinControl*>(windowed)->HandleAllocated() &&
            ::GetCapture() == static_cast<TWinControl*>(windowed)->Handle())
            ::ReleaseCapture();
    }
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Loaded() {
    TComponent::Loaded();
    UpdateAnchorRules();
    if (parentFont_ && parent_) {
        font_.Assign(parent_->Font());
        parentFont_ = true;
    }
}

bool TControl::DoMouseWheel(TShiftState shift, int delta, POINT screen) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, delta, screen, handled);
    return handled;
}

void TControl::HandleMouseWheel(TMessage& m) {
    POINT screen{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    if (DoMouseWheel(KeysToShiftState(LOWORD(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam), screen)) m.Result = 1;
    else if (parent_) m.Result = parent_->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

bool TControl::DoContextPopup(POINT screen) {
    for (TControl* c = this; c; c = c->parent_) {
        TPopupMenu* menu = c->popupMenu_;
        if (menu && menu->AutoPopup) {
            menu->PopupComponent = c;
            menu->Popup(screen.x, screen.y);
            return true;
        }
    }
    return false;
}

void TControl::HandleMouseButton(TMessage& m, TMouseButton button, bool down, bool dbl) {
    int x = static_cast<short>(LOWORD(m.LParam));
    int y = static_cast<short>(HIWORD(m.LParam));
    TShiftState shift = KeysToShiftState(m.WParam);
    if (down) {
        if (button == TMouseButton::mbLeft) {
            if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
            if (ControlStyle & csClickEvents) ControlState |= csClicked;
            ControlState |= csLButtonDown;
        }
        if (dbl) {
            shift |= ssDouble;
            if (button == TMouseButton::mbLeft) DblClick();
        }
        MouseDown(button, shift, x, y);
        return;
    }
    if (button == TMouseButton::mbLeft) {
        ControlState &= ~csLButtonDown;
        if (ControlState & csClicked) {
            ControlState &= ~csClicked;
            RECT r = ClientRect();
            if (PtInRect(&r, POINT{x, y})) Click();
        }
        SetMouseCapture(false);
    }
    MouseUp(button, shift, x, y);
}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        HandleMouseButton(m, TMouseButton::mbLeft, true, m.Msg == WM_LBUTTONDBLCLK);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        HandleMouseButton(m, TMouseButton::mbRight, true, m.Msg == WM_RBUTTONDBLCLK);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        HandleMouseButton(m, TMouseButton::mbMiddle, true, m.Msg == WM_MBUTTONDBLCLK);
        break;
    case WM_LBUTTONUP: HandleMouseButton(m, TMouseButton::mbLeft, false, false); break;
    case WM_RBUTTONUP: HandleMouseButton(m, TMouseButton::mbRight, false, false); break;
    case WM_MBUTTONUP: HandleMouseButton(m, TMouseButton::mbMiddle, false, false); break;
    case WM_MOUSEMOVE:
        MouseMove(KeysToShiftState(m.WParam), static_cast<short>(LOWORD(m.LParam)),
                  static_cast<short>(HIWORD(m.LParam)));
        break;
    default: break;
    }
    switch (m.Msg) {
    // A parent hears of its children's crossings too; only the control's own runs its event.
    case CM_MOUSEENTER:
        if (OnMouseEnter && IsOwnCrossing(m)) OnMouseEnter(this);
        break;
    case CM_MOUSELEAVE:
        if (OnMouseLeave && IsOwnCrossing(m)) OnMouseLeave(this);
        break;
    case CM_MOUSEWHEEL: HandleMouseWheel(m); break;
    case CM_PARENTFONTCHANGED:
        if (parentFont_ && parent_) {
            font_.Assign(parent_->Font());
            parentFont_ = true;
        }
        break;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_ && parent_) {
            color_ = parent_->Color();
            Perform(CM_COLORCHANGED);
            parentColor_ = true;
        }
        break;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
        Invalidate();
        break;
    case WM_CONTEXTMENU:
        if (m.Result == 0 && DoContextPopup(POINT{static_cast<short>(LOWORD(m.LParam)),
                                                  static_cast<short>(HIWORD(m.LParam))}))
            m.Result = 1;
        else
            DefaultHandler(m);
        break;
    default: DefaultHandler(m); break;
    }
}

void TControl::DefaultHandler(TMessage&) {}

bool TControl::IsOwnCrossing(const TMessage& m) const {
    return m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this);
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m) {
    bool paint = m.Msg == WM_PAINT || m.Msg == WM_PRINT || m.Msg == WM_PRINTCLIENT;
    if (paint && m.WParam) {
        canvas_.SetHandle(reinterpret_cast<HDC>(m.WParam));
        canvas_.Font.Assign(Font());
        Paint();
        canvas_.SetHandle(nullptr);
        return;
    }
    TControl::WndProc(m);
}

}  // namespace framework

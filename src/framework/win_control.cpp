#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "framework/application.h"
#include "framework/control.h"
#include "framework/form.h"

namespace framework {

namespace {

std::unordered_map<HWND, TWinControl*>& Bindings() {
    static std::unordered_map<HWND, TWinControl*> map;
    return map;
}
TWinControl* g_creating = nullptr;

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }

}  // namespace

void TWinControl::RegisterFrameworkClass(const std::string& name, UINT style) {
    static std::unordered_set<std::string> registered;
    if (registered.count(name)) return;
    WNDCLASS wc{};
    wc.style = style;
    wc.lpfnWndProc = &TWinControl::StdWndProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name.c_str();
    RegisterClass(&wc);
    registered.insert(name);
}

LRESULT TWinControl::StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FindControl(hwnd);
    if (!control && g_creating) {
        control = g_creating;
        control->hwnd_ = hwnd;
        Bindings()[hwnd] = control;
        g_creating = nullptr;
    }
    if (!control) return DefWindowProc(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        control->WindowProc(m);
    } catch (...) {
        HandleEventException();
    }
    if (msg == WM_NCDESTROY) {
        Bindings().erase(hwnd);
        if (control->hwnd_ == hwnd) {
            control->hwnd_ = nullptr;
            control->showing_ = false;
        }
    }
    return m.Result;
}

TWinControl* TWinControl::FindControl(HWND hwnd) {
    auto it = Bindings().find(hwnd);
    return it == Bindings().end() ? nullptr : it->second;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) { defWndProc_ = &DefWindowProc; }

TWinControl::~TWinControl() {
    MarkDestroying();
    // Children owned elsewhere lose their parent rather than pointing at a dead one.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
    DestroyHandle();
}

HWND TWinControl::Handle() {
    if (!hwnd_) {
        if (Parent()) Parent()->HandleNeeded();
        if (!hwnd_) CreateWnd();
    }
    return hwnd_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = TControl::Text();
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle & csAcceptsControls) p.Style |= WS_CLIPCHILDREN;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (TabStop) p.Style |= WS_TABSTOP;
    p.X = left_;
    p.Y = top_;
    p.Width = width_;
    p.Height = height_;
    p.WndParent = Parent() ? Parent()->hwnd_ : nullptr;
    p.WinClassName = "TFrameworkControl";
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    RegisterFrameworkClass(params.WinClassName, params.ClassStyle);
    ControlState |= csCreating;
    CreateWindowHandle(params);
    ControlState &= ~csCreating;
    if (!hwnd_) throw EOutOfResources("Error creating window");
    SendMessage(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
    // Only now is the client area known (borders and edges take their share of the bounds).
    Realign();
    for (TControl* c : controls_)
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->HandleNeeded();
    if (!deferShowing_) UpdateShowing();
}

void TWinControl::UpdateShowing() {
    bool showing = hwnd_ && Visible() && (!Parent() || Parent()->showing_);
    bool changed = showing != showing_;
    showing_ = showing;
    if (changed && !showing) Perform(CM_SHOWINGCHANGED);
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->UpdateShowing();
    if (changed && showing) Perform(CM_SHOWINGCHANGED);
}

// A window that is gone shows nothing; no message, since there is no window left to show.
void TWinControl::ForgetShowing() {
    showing_ = false;
    for (TControl* c : controls_)
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->ForgetShowing();
}

void TWinControl::RecreateWnd() {
    if (!hwnd_ || Destroying()) return;
    HWND focus = GetFocus();
    TWinControl* focused = nullptr;
    for (HWND h = focus; h && !focused; h = GetParent(h))
        if (TWinControl* c = FindControl(h); c && (c == this || IsChild(hwnd_, h))) focused = c;
    ControlState |= csRecreating;
    DestroyHandle();
    try {
        HandleNeeded();
    } catch (...) {
        ControlState &= ~csRecreating;
        throw;
    }
    ControlState &= ~csRecreating;
    if (focused && focused->HandleAllocated() && focused->CanFocus()) ::SetFocus(focused->hwnd_);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    HandleNeeded();
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    IntersectClipRect(dc, 0, 0, width_, height_);
    Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN);
    RestoreDC(dc, saved);
}

// The platform's WM_PRINT asks for the client through here; painted as a WM_PAINT with the
// context given, graphic children included.
void TWinControl::PrintClient(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc || ((m.LParam & PRF_CHECKVISIBLE) && !Visible())) return;
    int saved = SaveDC(dc);
    TMessage paint{WM_PAINT, m.WParam, 0, 0};
    PaintHandler(paint);
    RestoreDC(dc, saved);
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
    g_creating = this;
    HWND h = CreateWindowEx(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                            p.Height, p.WndParent, nullptr, nullptr, nullptr);
    g_creating = nullptr;
    if (h && !hwnd_) {
        hwnd_ = h;
        Bindings()[h] = this;
    }
}

void TWinControl::DestroyWnd() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void TWinControl::DestroyHandle() {
    if (!hwnd_) return;
    ForgetMouseControl(this);
    ForgetShowing();
    DestroyWnd();
    if (hwnd_) {
        Bindings().erase(hwnd_);
        hwnd_ = nullptr;
    }
}

void TWinControl::InsertControl(TControl* control) {
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
    control->parent_ = this;
    controls_.push_back(control);
    if (control->IsWindowed()) tabList_.push_back(static_cast<TWinControl*>(control));
    if (control->parentFont_) {
        control->font_.Assign(Font());
        control->parentFont_ = true;
    }
    if (control->parentColor_) control->color_ = Color();
    if (control->IsWindowed() && hwnd_) static_cast<TWinControl*>(control)->HandleNeeded();
    control->UpdateAnchorRules();
    if (control->align_ != TAlign::alNone && !Loading()) Realign();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
    control->Invalidate();
    if (control->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(control);
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
        if (!Destroying()) w->DestroyHandle();
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    control->anchorRulesValid_ = false;
    ForgetMouseControl(control);
    if (!Destroying()) Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        RECT r = c->BoundsRect();
        if (c->Visible() && (allowDisabled || c->Enabled()) && PtInRect(&r, p)) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        c->WindowProc(message);
        if (message.Result) return;
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return hwnd_ && GetFocus() == hwnd_; }

void TWinControl::SetFocus() {
    TCustomForm* form = ParentForm();
    if (form && form != this && !form->Showing()) {
        form->SetActiveControl(this);
        return;
    }
    ::SetFocus(Handle());
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int n = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), current);
    int start = it == list.end() ? (forward ? n - 1 : 0) : static_cast<int>(it - list.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == current) break;
        if ((!checkTabStop || c->TabStop) && c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    bool same = left == left_ && top == top_ && width == width_ && height == height_;
    TControl::SetBounds(left, top, width, height);
    if (!same && hwnd_) SetWindowPos(hwnd_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!same) Realign();
}

RECT TWinControl::ClientRect() const {
    if (hwnd_) {
        RECT r{};
        GetClientRect(hwnd_, &r);
        return r;
    }
    return TControl::ClientRect();
}

void TWinControl::Invalidate() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void TWinControl::Update() {
    if (hwnd_) UpdateWindow(hwnd_);
}

void TWinControl::SetText(const std::string& text) {
    if (text == TControl::Text()) return;
    text_ = text;
    if (hwnd_) SetWindowText(hwnd_, text.c_str());
    Perform(CM_TEXTCHANGED);
}

void TWinControl::SetEnabled(bool enabled) {
    TControl::SetEnabled(enabled);
    if (hwnd_) EnableWindow(hwnd_, enabled);
}

// Aligned children placed while loading waited for the final size of their parent.
void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

void TWinControl::Realign() {
    // A minimised window has no client area to share out; its children keep their places.
    if (Loading() || Destroying() || aligning_ || (hwnd_ && IsIconic(hwnd_))) return;
    aligning_ = true;
    RECT r = ClientRect();
    AlignControls(r);
    aligning_ = false;
}

void TWinControl::AlignControls(RECT& r) {
    auto place = [&](TAlign which) {
        for (TControl* c : controls_) {
            if (!c->Visible() || c->align_ != which) continue;
            int w = c->width_, h = c->height_;
            switch (which) {
            case TAlign::alTop: c->SetBounds(r.left, r.top, r.right - r.left, h); r.top += h; break;
            case TAlign::alBottom: r.bottom -= h; c->SetBounds(r.left, r.bottom, r.right - r.left, h); break;
            case TAlign::alLeft: c->SetBounds(r.left, r.top, w, r.bottom - r.top); r.left += w; break;
            case TAlign::alRight: r.right -= w; c->SetBounds(r.right, r.top, w, r.bottom - r.top); break;
            case TAlign::alClient: c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); break;
            case TAlign::alNone: break;
            }
        }
    };
    for (TAlign a : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) place(a);
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->align_ == TAlign::alNone) c->ApplyAnchors();
}

void TWinControl::PaintHandler(TMessage& m) {
    if (m.WParam) {
        PaintWindow(reinterpret_cast<HDC>(m.WParam));
        PaintControls(reinterpret_cast<HDC>(m.WParam), nullptr);
        return;
    }
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd_, &ps);
    PaintWindow(dc);
    PaintControls(dc, nullptr);
    EndPaint(hwnd_, &ps);
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    RECT clip{};
    GetClipBox(dc, &clip);
    auto it = first ? std::find(controls_.begin(), controls_.end(), first) : controls_.begin();
    for (; it != controls_.end(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->Visible()) continue;
        RECT r = c->BoundsRect(), hit{};
        if (!IntersectRect(&hit, &r, &clip)) continue;
        int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, c->left_, c->top_, nullptr);
        IntersectClipRect(dc, 0, 0, c->width_, c->height_);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::EraseBackground(HDC dc) {
    RECT r = ClientRect();
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
    TControl* target = nullptr;
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    TControl* captured = CaptureControl();
    if (captured && captured->Parent() == this && !captured->IsWindowed()) target = captured;
    else if (!captured || captured == this) {
        TControl* at = ControlAtPos(p);
        if (at && !at->IsWindowed()) target = at;
    }
    if (m.Msg == WM_MOUSEMOVE) {
        // Enter and leave follow the pointer, also while a control holds the capture.
        TControl* under = ControlAtPos(p);
        TrackMouse(under && !under->IsWindowed() ? under : this);
    }
    if (!target) return false;
    m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->left_, p.y - target->top_));
    // The window's own default handling still runs (a right-button release makes the
    // context-menu request, for one).
    if (m.Result == 0 && hwnd_) CallWindowProc(defWndProc_, hwnd_, m.Msg, m.WParam, m.LParam);
    return true;
}

void TWinControl::TrackMouse(TControl* target) {
    TControl* previous = MouseControl();
    if (target == previous) return;
    SetMouseControl(target);
    if (previous) NotifyMouseCrossing(previous, CM_MOUSELEAVE);
    if (target) NotifyMouseCrossing(target, CM_MOUSEENTER);
    if (Application) Application->DoMouseEnter(target);
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd_, 0};
    TrackMouseEvent(&tme);
}

// The cursor of the control under the pointer (a graphic child or this control), when it
// has one of its own.
bool TWinControl::SetControlCursor() {
    POINT p{};
    GetCursorPos(&p);
    ::ScreenToClient(hwnd_, &p);
    TControl* at = ControlAtPos(p);
    TControl* target = at && !at->IsWindowed() ? at : this;
    LPCSTR shape = nullptr;
    switch (target->Cursor()) {
    case crArrow: shape = IDC_ARROW; break;
    case crIBeam: shape = IDC_IBEAM; break;
    case crHandPoint: shape = IDC_HAND; break;
    default: return false;
    }
    ::SetCursor(LoadCursor(nullptr, shape));
    return true;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::WndProc(TMessage& m) {
    if (IsMouseMessage(m.Msg) && m.Msg != WM_MOUSEWHEEL && IsControlMouseMsg(m)) return;
    switch (m.Msg) {
    case WM_PAINT: PaintHandler(m); return;
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    case WM_MOUSELEAVE:
        if (TControl* mc = MouseControl(); mc && (mc == this || mc->Parent() == this)) {
            SetMouseControl(nullptr);
            NotifyMouseCrossing(mc, CM_MOUSELEAVE);
            if (Application) Application->DoMouseEnter(nullptr);
        }
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(m.WParam);
        KeyDown(key, KeyboardShiftState());
        if (key == 0) return;
        m.WParam = key;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(m.WParam);
        KeyUp(key, KeyboardShiftState());
        if (key == 0) return;
        break;
    }
    case WM_CHAR: {
        char32_t ch = static_cast<char32_t>(m.WParam);
        KeyPress(ch);
        if (ch == 0) return;
        m.WParam = ch;
        break;
    }
    case WM_SETFOCUS:
        if (TCustomForm* form = ParentForm()) form->SetFocusedControl(this);
        break;
    case WM_SETTEXT: {
        std::string text = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
        bool changed = text != text_;
        text_ = text;
        DefaultHandler(m);
        if (changed) Perform(CM_TEXTCHANGED);
        return;
    }
    case WM_WINDOWPOSCHANGED: {
        DefaultHandler(m);
        RECT wr{};
        GetWindowRect(hwnd_, &wr);
        POINT tl{wr.left, wr.top};
        if (Parent() && Parent()->HandleAllocated()) ::ScreenToClient(Parent()->hwnd_, &tl);
        bool resized = wr.right - wr.left != width_ || wr.bottom - wr.top != height_;
        left_ = tl.x;
        top_ = tl.y;
        width_ = wr.right - wr.left;
        height_ = wr.bottom - wr.top;
        if (resized) {
            Realign();
            Resized();
        }
        return;
    }
    case CM_FONTCHANGED:
        if (hwnd_) SendMessage(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
        for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTFONTCHANGED);
        Invalidate();
        return;
    case CM_COLORCHANGED:
        for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTCOLORCHANGED);
        Invalidate();
        return;
    // A child window's visibility follows Visible whether or not its parent shows; only a form
    // shows its window on CM_SHOWINGCHANGED.
    case CM_VISIBLECHANGED:
        if (hwnd_ && Parent()) ShowWindow(hwnd_, Visible() ? SW_SHOWNA : SW_HIDE);
        UpdateShowing();
        return;
    // A form shows itself its own way (TCustomForm); any other window without a parent simply
    // appears, without taking the activation.
    case CM_SHOWINGCHANGED:
        if (hwnd_ && !Parent()) ShowWindow(hwnd_, showing_ ? SW_SHOWNA : SW_HIDE);
        return;
    case WM_PRINTCLIENT: PrintClient(m); return;
    // A windowless child holds the capture through this window; when the window loses it
    // (a menu, another window, a release elsewhere) the child's press ends without a click.
    case WM_CAPTURECHANGED:
        if (TControl* held = CaptureControl(); held && held != this && held->Parent() == this &&
                                               !held->IsWindowed() &&
                                               reinterpret_cast<HWND>(m.LParam) != hwnd_) {
            held->ControlState &= ~(csClicked | csLButtonDown);
            held->SetMouseCapture(false);
            held->Perform(WM_CAPTURECHANGED, m.WParam, m.LParam);
        }
        break;
    // The framework walks the parents itself (CM_MOUSEWHEEL), so the platform's passing of an
    // unhandled wheel to the parent window would offer it twice.
    case WM_MOUSEWHEEL: m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam); return;
    case CM_SYSFONTCHANGED:
        for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_SYSFONTCHANGED, m.WParam, m.LParam);
        return;
    case CM_CONTROLLISTCHANGE:
        if (Parent()) Parent()->WindowProc(m);
        return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_DIALOGKEY:
        Broadcast(m);
        return;
    case WM_SETCURSOR:
        if (LOWORD(m.LParam) == HTCLIENT && SetControlCursor()) {
            m.Result = 1;
            return;
        }
        break;
    case WM_CONTEXTMENU: {
        POINT screen{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        if (m.LParam != -1) {
            POINT client = screen;
            ::ScreenToClient(hwnd_, &client);
            TControl* at = ControlAtPos(client, true);
            if (at && !at->IsWindowed() && at->Perform(WM_CONTEXTMENU, m.WParam, m.LParam)) {
                m.Result = 1;
                return;
            }
        }
        break;
    }
    default: break;
    }
    TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (hwnd_) m.Result = CallWindowProc(defWndProc_, hwnd_, m.Msg, m.WParam, m.LParam);
}

}  // namespace framework

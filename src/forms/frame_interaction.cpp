#include "forms/frame_interaction.h"

#include <cstdlib>

#include "forms/skin_provider.h"
#include "platform/menu.h"
#include "skin/skin_engine.h"
#include "skin/skin_manager.h"

namespace forms {

using framework::TMessage;

namespace {

constexpr UINT_PTR kIconTimer = 1;

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

POINT PointOf(LPARAM l) {
    return POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
}

bool PassesToDefault(LRESULT code) {
    return code == HTNOWHERE || code == HTCLIENT || code == HTCAPTION || code == HTMENU;
}

bool IsSizingCode(LRESULT code) {
    return code >= HTLEFT && code <= HTBOTTOMRIGHT;
}

}  // namespace

TsFrameInteraction::TsFrameInteraction(TsSkinProvider& provider)
    : provider_(provider), buttons_(provider), timer_([this](TMessage& m) { OnTimer(m); }) {
    buttons_.OnStateChanged = [this] {
        if (menu_) menu_->RefreshItems();
    };
}

TsFrameInteraction::~TsFrameInteraction() = default;

void TsFrameInteraction::SkinApplied() {
    if (!menu_) menu_ = std::make_unique<TsSystemMenu>(provider_);
    buttons_.ChooseImages();
}

RECT TsFrameInteraction::WindowRect() const {
    RECT wr{};
    GetWindowRect(provider_.form_->Handle(), &wr);
    return wr;
}

bool TsFrameInteraction::HasFrame() const {
    const TsFrameMetrics m = provider_.Metrics();
    return m.B > 0 || m.T > 0;
}

bool TsFrameInteraction::IconShown() const {
    const framework::TFormBorderStyle s = provider_.form_->BorderStyle();
    return provider_.showAppIcon_ && provider_.hadSysMenu_ &&
           (s == framework::TFormBorderStyle::bsSingle ||
            s == framework::TFormBorderStyle::bsSizeable);
}

POINT TsFrameInteraction::IconMenuPoint() const {
    const TsFrameMetrics m = provider_.Metrics();
    const RECT icon = provider_.IconRect();
    const RECT wr = WindowRect();
    return POINT{wr.left + m.B, wr.top + 2 * m.B + (icon.bottom - icon.top)};
}

POINT TsFrameInteraction::KeyMenuPoint() const {
    const TsFrameMetrics m = provider_.Metrics();
    const RECT icon = provider_.IconRect();
    const RECT wr = WindowRect();
    return POINT{wr.left + m.B, wr.top + m.B + (icon.bottom - icon.top)};
}

void TsFrameInteraction::ShowSystemMenu(POINT screen) {
    buttons_.SetHot(0);
    if (menu_) menu_->ShowAt(screen);
}

// Where the point lies in the frame, for a point that is not on a title button.
LRESULT TsFrameInteraction::FrameHit(POINT p) {
    const TsFrameMetrics m = provider_.Metrics();
    const LONG style = GetWindowLong(provider_.form_->Handle(), GWL_STYLE);
    if (!m.Maximized && (style & WS_THICKFRAME)) {
        LRESULT edge = 0;
        if (p.y > m.H - m.B)
            edge = HTBOTTOM;
        else if (p.y < m.B)
            edge = HTTOP;
        if (p.x < m.B)
            edge = edge == HTTOP ? HTTOPLEFT : edge == HTBOTTOM ? HTBOTTOMLEFT : HTLEFT;
        else if (p.x > m.W - m.B)
            edge = edge == HTTOP ? HTTOPRIGHT : edge == HTBOTTOM ? HTBOTTOMRIGHT : HTRIGHT;
        if (edge) return edge;
    }
    // The row just below the title counts as the menu line even without a menu, as the
    // system does; the saved procedure answers for it.
    if (p.y >= 0 && p.y <= m.TitleBottom()) {
        if (p.y >= m.TitleBottom()) return HTMENU;
        if (IconShown() && Contains(provider_.IconRect(), p)) return HTSYSMENU;
        return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT TsFrameInteraction::HitTest(TMessage& m) {
    const RECT wr = WindowRect();
    const POINT screen = PointOf(m.LParam);
    const POINT p{screen.x - wr.left, screen.y - wr.top};
    LRESULT code = buttons_.HitTest(p);
    if (code != HTCLIENT && code != HTCAPTION) return code;
    if (code == HTCLIENT) code = FrameHit(p);
    if (PassesToDefault(code)) {
        buttons_.SetHot(0);
        provider_.CallDefault(m);
        return m.Result;
    }
    if (IsSizingCode(code) || code == HTSYSMENU) buttons_.SetHot(0);
    return code;
}

void TsFrameInteraction::StartIconWait() {
    iconWait_ = true;
    SetTimer(timer_.Handle(), kIconTimer, kIconClickWaitMs, nullptr);
}

void TsFrameInteraction::CancelIconWait() {
    iconWait_ = false;
    KillTimer(timer_.Handle(), kIconTimer);
}

void TsFrameInteraction::OnTimer(TMessage& m) {
    if (m.Msg != WM_TIMER || m.WParam != kIconTimer) return;
    const bool waiting = iconWait_;
    CancelIconWait();
    framework::TCustomForm* form = provider_.form_;
    if (!waiting || !form->HandleAllocated() || !IsWindowVisible(form->Handle())) return;
    ShowSystemMenu(IconMenuPoint());
}

bool TsFrameInteraction::OnNcLButtonDown(TMessage& m) {
    const LRESULT code = static_cast<LRESULT>(m.WParam);
    if (code == HTSYSMENU) {
        buttons_.SetHot(0);
        StartIconWait();
        return true;
    }
    if (code == HTMENU) return false;
    if (buttons_.IsButtonCode(code)) return buttons_.ButtonDown(code, PointOf(m.LParam));
    const TsFrameMetrics f = provider_.Metrics();
    HWND h = provider_.form_->Handle();
    if (f.Iconic) {
        SendMessage(h, WM_SYSCOMMAND, SC_MOVE + kDragMove, m.LParam);
        return true;
    }
    buttons_.SetHot(0);
    if (f.Maximized && PointOf(m.LParam).y - WindowRect().top <= f.TitleBottom()) {
        if (GetActiveWindow() != h) SetFocus(h);
        return true;
    }
    return false;
}

bool TsFrameInteraction::OnNcLButtonUp(TMessage& m) {
    const LRESULT code = static_cast<LRESULT>(m.WParam);
    if (!buttons_.IsButtonCode(code)) return false;
    // The form and this object may be gone once the button has acted.
    return buttons_.ButtonUp(code, PointOf(m.LParam));
}

// Never passed on: the system would maximise or close on its own.
void TsFrameInteraction::OnNcLButtonDblClk(TMessage& m) {
    m.Result = 0;
    const LRESULT code = static_cast<LRESULT>(m.WParam);
    framework::TCustomForm* form = provider_.form_;
    HWND h = form->Handle();
    if (code == HTSYSMENU) {
        CancelIconWait();
        form->Close();  // may free the form and this object
        return;
    }
    if (code != HTCAPTION) return;
    const TsButtonRules r = ReadButtonRules(*form, provider_.hadSysMenu_);
    const bool frameless = provider_.Metrics().B == 0;
    if ((r.VisibleClose && (r.EnabledMax || r.EnabledRestore)) || (frameless && r.Iconic)) {
        SendMessage(h, WM_SYSCOMMAND, r.Maximized || r.Iconic ? SC_RESTORE : SC_MAXIMIZE, 0);
    } else if (r.Iconic) {
        SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    } else {
        return;
    }
    if (IsWindow(h) && menu_) menu_->RefreshItems();
}

bool TsFrameInteraction::OnNcRButtonDown(TMessage& m) {
    const LRESULT code = static_cast<LRESULT>(m.WParam);
    m.Result = 0;
    return code == HTCAPTION || code == HTSYSMENU;
}

void TsFrameInteraction::OnNcRButtonUp(TMessage& m) {
    m.Result = 0;
    if (!HasFrame()) return;
    TMessage hit{WM_NCHITTEST, 0, m.LParam, 0};
    const LRESULT code = HitTest(hit);
    if (code != HTCAPTION && code != HTSYSMENU) return;
    ShowSystemMenu(PointOf(m.LParam));
}

void TsFrameInteraction::OnSysCommand(TMessage& m) {
    framework::TCustomForm* form = provider_.form_;
    HWND h = form->Handle();
    const WPARAM command = m.WParam & 0xFFF0;
    provider_.CallDefault(m);
    if (command == SC_CLOSE || !IsWindow(h)) return;
    switch (command) {
        case SC_MINIMIZE:
            // Rebuilt in full when the window comes back.
            if (provider_.data_->CacheBmp) provider_.data_->CacheBmp->SetSize(0, 0);
            provider_.InvalidateImage();
            break;
        case SC_MAXIMIZE:
            buttons_.SetHot(0);
            break;
        case SC_RESTORE:
            buttons_.SetHot(0);
            provider_.InvalidateImage();
            // The size change may have come while the window still counted as minimised.
            provider_.regionDirty_ = true;
            if (HasFrame())
                RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
            else
                SetWindowRgn(h, nullptr, TRUE);
            break;
        case SC_KEYMENU:
            if (m.LParam == kKeyMenuSpace && HasFrame() &&
                ReadButtonRules(*form, provider_.hadSysMenu_).VisibleClose)
                ShowSystemMenu(KeyMenuPoint());
            break;
        default:
            break;
    }
}

// The frame lies just outside the work area when maximised.
void TsFrameInteraction::OnGetMinMaxInfo(TMessage& m) {
    framework::TCustomForm* form = provider_.form_;
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    if (info && form->BorderStyle() != framework::TFormBorderStyle::bsNone && !form->Parent()) {
        RECT work{};
        SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
        const int b = provider_.Metrics().B;
        info->ptMaxPosition = POINT{-b, -b};
        info->ptMaxSize = POINT{work.right - work.left + 2 * b, work.bottom - work.top + 2 * b};
    }
    m.Result = 0;
    provider_.CallDefault(m);
}

bool TsFrameInteraction::OnWindowPosChanging(TMessage& m) {
    // Setting the region sends one of these; it must not move the window.
    if (provider_.regionBusy_) {
        m.Result = 0;
        return true;
    }
    auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
    HWND h = provider_.form_->Handle();
    if (!provider_.ScreenSnap || !wp || (wp->flags & SWP_NOMOVE) || IsZoomed(h) ||
        (wp->x == 0 && wp->y == 0))
        return false;
    RECT work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    const RECT wr = WindowRect();
    const int cx = (wp->flags & SWP_NOSIZE) ? wr.right - wr.left : wp->cx;
    const int cy = (wp->flags & SWP_NOSIZE) ? wr.bottom - wr.top : wp->cy;
    const int buffer = provider_.SnapBuffer;
    if (std::abs(wp->x + cx - work.right) < buffer) wp->x = work.right - cx;
    if (std::abs(wp->y + cy - work.bottom) < buffer) wp->y = work.bottom - cy;
    if (std::abs(wp->x - work.left) < buffer) wp->x = work.left;
    if (std::abs(wp->y - work.top) < buffer) wp->y = work.top;
    return false;
}

void TsFrameInteraction::OnSize(TMessage& m) {
    for (paint::GlowMask& g : provider_.glow_) g.Clear();
    provider_.CallDefault(m);
    if (skin::AnimatingSkinChange) return;
    if (!provider_.WindowShowing()) {
        // The shape must follow too: a window restored while hidden (a window manager maps
        // it again) would otherwise keep the shape of its minimised size.
        provider_.InvalidateImage();
        provider_.regionDirty_ = true;
        return;
    }
    const TsFrameMetrics f = provider_.Metrics();
    framework::TBitmap* image = provider_.data_->CacheBmp.get();
    if (image && image->Width() == f.W && image->Height() == f.H) return;
    provider_.regionDirty_ = true;
    provider_.InvalidateImage();
    HWND h = provider_.form_->Handle();
    if (provider_.skinChanging_ || provider_.redrawLocks_ > 0) return;
    SendMessage(h, WM_NCPAINT, 1, 0);
    RedrawWindow(h, nullptr, nullptr, RDW_NOFRAME | RDW_NOERASE | RDW_INVALIDATE);
    if (!image || image->Width() == 0 ||
        (provider_.data_->NeedsCache() && (image->Width() > f.W || image->Height() > f.H)))
        InvalidateRect(h, nullptr, FALSE);
}

void TsFrameInteraction::OnNcActivate(TMessage& m) {
    const bool active = m.WParam != 0;
    const bool changed = active != provider_.active_;
    provider_.active_ = active;
    provider_.InvalidateImage();
    provider_.data_->Updating = false;
    provider_.CallDefault(m);
    if (!provider_.WindowShowing() || provider_.redrawLocks_ > 0 || provider_.skinChanging_) return;
    HWND h = provider_.form_->Handle();
    SendMessage(h, WM_NCPAINT, 1, 0);
    if (!changed) return;
    // The client shows the hot or normal form colour (or image) too.
    if (provider_.data_->NeedsCache())
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    else
        InvalidateRect(h, nullptr, TRUE);
}

void TsFrameInteraction::OnLeave(TMessage&) {
    buttons_.SetHot(0);
    if (skin::TsSkinManager* manager = provider_.Manager()) manager->SetHotControl(nullptr);
}

bool TsFrameInteraction::Handle(TMessage& m) {
    switch (m.Msg) {
        case WM_NCHITTEST:
            if (provider_.Metrics().T <= 0) return false;
            m.Result = HitTest(m);
            return true;
        case WM_NCLBUTTONDOWN:
            return OnNcLButtonDown(m);
        case WM_NCLBUTTONUP:
            return OnNcLButtonUp(m);
        case WM_NCLBUTTONDBLCLK:
            OnNcLButtonDblClk(m);
            return true;
        case WM_NCRBUTTONDOWN:
            return OnNcRButtonDown(m);
        case WM_NCRBUTTONUP:
            OnNcRButtonUp(m);
            return true;
        case WM_POPUPSYSTEMMENU: {
            POINT cursor{};
            GetCursorPos(&cursor);
            ShowSystemMenu(cursor);
            return true;
        }
        case WM_SYSCOMMAND:
            OnSysCommand(m);
            return true;
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(m);
            return true;
        case WM_WINDOWPOSCHANGING:
            return OnWindowPosChanging(m);
        case WM_SIZE:
            OnSize(m);
            return true;
        case WM_NCACTIVATE:
            OnNcActivate(m);
            return true;
        case WM_MOVE:
            buttons_.FreeFades();
            return false;
        case WM_MOUSELEAVE:
        case WM_NCMOUSELEAVE:
        case framework::CM_MOUSELEAVE:
            OnLeave(m);
            return false;
        case framework::CM_VISIBLECHANGED:
            if (!provider_.form_->Visible()) buttons_.FreeFades();
            return false;
        case WM_ACTIVATE:
            if (LOWORD(m.WParam) == WA_INACTIVE) return false;
            provider_.HookMenus();
            if (menu_) menu_->RefreshItems();
            return false;
        case WM_INITMENUPOPUP:
            // The window's own system menu, should the system open it, never offers Size.
            if (HIWORD(m.LParam))
                EnableMenuItem(reinterpret_cast<HMENU>(m.WParam), static_cast<UINT>(SC_SIZE),
                               MF_BYCOMMAND | MF_GRAYED);
            return false;
        default:
            return false;
    }
}

}  // namespace forms

#include "framework/std_edit.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "framework/utf8.h"
#include "platform/clipboard.h"
#include "platform/menu.h"

namespace framework {

namespace {
constexpr UINT_PTR kBlinkTimer = 7;
enum EditMenuCommand : UINT { kUndo = 772, kCut = 768, kCopy = 769, kPaste = 770, kDelete = 771, kSelectAll = 177 };

bool IsWordChar(unsigned char c) { return c >= 0x80 || std::isalnum(c) || c == '_'; }
}  // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TCustomControl(owner) {
    TabStop = true;
    SetColor(clWindow);
    SetCursor(crIBeam);
    width_ = 121;
    height_ = 21;
}

TCustomEdit::~TCustomEdit() {
    if (HandleAllocated()) KillTimer(Handle(), kBlinkTimer);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    if (BorderStyle == TBorderStyle::bsSingle) {
        if (ctl3D_) p.ExStyle |= WS_EX_CLIENTEDGE;
        else p.Style |= WS_BORDER;
    }
    p.WinClassName = "TFrameworkEdit";
}

void TCustomEdit::SetCtl3D(bool on) {
    if (on == ctl3D_) return;
    ctl3D_ = on;
    RecreateWnd();
}

void TCustomEdit::SetBevelKind(TBevelKind kind) {
    if (kind == bevelKind_) return;
    bevelKind_ = kind;
    FrameChanged();
}

void TCustomEdit::SetBevelInner(TBevelCut cut) {
    if (cut == bevelInner_) return;
    bevelInner_ = cut;
    FrameChanged();
}

void TCustomEdit::SetBevelOuter(TBevelCut cut) {
    if (cut == bevelOuter_) return;
    bevelOuter_ = cut;
    FrameChanged();
}

void TCustomEdit::SetBevelWidth(int width) {
    width = std::max(1, width);
    if (width == bevelWidth_) return;
    bevelWidth_ = width;
    FrameChanged();
}

int TCustomEdit::BevelExtent() const {
    if (bevelKind_ == TBevelKind::bkNone) return 0;
    int cuts = (bevelInner_ != TBevelCut::bvNone ? 1 : 0) + (bevelOuter_ != TBevelCut::bvNone ? 1 : 0);
    return cuts * bevelWidth_;
}

// The client area is worked out again (WM_NCCALCSIZE) and the frame repainted.
void TCustomEdit::FrameChanged() {
    if (!HandleAllocated()) return;
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

// The bevels fill the band between the border the platform draws and the client area.
void TCustomEdit::PaintBevels() {
    int extent = BevelExtent();
    if (extent == 0) return;
    HDC dc = GetWindowDC(Handle());
    POINT origin = ClientToScreen(POINT{0, 0});
    RECT window{};
    GetWindowRect(Handle(), &window);
    RECT client = ClientRect();
    OffsetRect(&client, origin.x - window.left, origin.y - window.top);
    InflateRect(&client, extent, extent);
    auto edge = [](TBevelCut cut, UINT raised, UINT sunken) -> UINT {
        return cut == TBevelCut::bvRaised ? raised : cut == TBevelCut::bvLowered ? sunken : 0;
    };
    auto band = [&](TBevelCut cut, UINT raised, UINT sunken) {
        if (cut == TBevelCut::bvNone) return;
        for (int i = 0; i < bevelWidth_; ++i) {
            UINT style = edge(cut, raised, sunken);
            if (style) DrawEdge(dc, &client, style, BF_RECT | BF_ADJUST);
            else InflateRect(&client, -1, -1);
        }
    };
    band(bevelOuter_, BDR_RAISEDOUTER, BDR_SUNKENOUTER);
    band(bevelInner_, BDR_RAISEDINNER, BDR_SUNKENINNER);
    ReleaseDC(Handle(), dc);
}

void TCustomEdit::SetPasswordChar(char32_t ch) {
    if (ch == passwordChar_) return;
    passwordChar_ = ch;
    EnsureCaretVisible();
    Invalidate();
}

std::string TCustomEdit::DisplayText() const {
    const std::string& t = TControl::Text();
    if (passwordChar_ == 0) return t;
    std::string mask = EncodeUtf8(passwordChar_), out;
    for (size_t n = CharCount(t); n > 0; --n) out += mask;
    return out;
}

size_t TCustomEdit::DisplayOffset(size_t pos) const {
    if (passwordChar_ == 0) return pos;
    return CharCount(TControl::Text().substr(0, pos)) * EncodeUtf8(passwordChar_).size();
}

size_t TCustomEdit::CharCount(const std::string& s) const {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); i = NextCharBoundary(s, i)) ++n;
    return n;
}

size_t TCustomEdit::ByteOfChar(int index) const {
    const std::string& t = TControl::Text();
    size_t pos = 0;
    for (int i = 0; i < index && pos < t.size(); ++i) pos = NextCharBoundary(t, pos);
    return pos;
}

void TCustomEdit::SetText(const std::string& text) {
    if (text == TControl::Text()) return;
    TCustomControl::SetText(text);
    anchor_ = caret_ = 0;
    scroll_ = 0;
    hasUndo_ = false;
    Invalidate();
    Change();
}

void TCustomEdit::Change() {
    if (Loading()) return;
    Changed();
    if (OnChange) OnChange(this);
}

int TCustomEdit::SelStart() const {
    size_t from = std::min(anchor_, caret_);
    return static_cast<int>(CharCount(TControl::Text().substr(0, from)));
}

int TCustomEdit::SelLength() const {
    size_t from = std::min(anchor_, caret_), to = std::max(anchor_, caret_);
    return static_cast<int>(CharCount(TControl::Text().substr(from, to - from)));
}

void TCustomEdit::SetSelStart(int start) {
    anchor_ = caret_ = ByteOfChar(std::max(0, start));
    EnsureCaretVisible();
    Invalidate();
}

void TCustomEdit::SetSelLength(int length) {
    anchor_ = std::min(anchor_, caret_);
    caret_ = ByteOfChar(SelStart() + std::max(0, length));
    EnsureCaretVisible();
    Invalidate();
}

std::string TCustomEdit::SelText() const {
    size_t from = std::min(anchor_, caret_), to = std::max(anchor_, caret_);
    return TControl::Text().substr(from, to - from);
}

void TCustomEdit::SetSelText(const std::string& text) { ReplaceSelection(text, true); }

void TCustomEdit::SelectAll() {
    anchor_ = 0;
    caret_ = TControl::Text().size();
    EnsureCaretVisible();
    Invalidate();
}

void TCustomEdit::ClearSelection() {
    if (!ReadOnly && anchor_ != caret_) ReplaceSelection("", true);
}

void TCustomEdit::ReplaceSelection(const std::string& inserted, bool recordUndo) {
    std::string text = TControl::Text();
    size_t from = std::min(anchor_, caret_), to = std::max(anchor_, caret_);
    std::string add = inserted;
    if (maxLength_ > 0) {
        size_t room = static_cast<size_t>(maxLength_) - std::min<size_t>(maxLength_, CharCount(text) - CharCount(text.substr(from, to - from)));
        size_t cut = 0;
        for (size_t n = 0; n < room && cut < add.size(); ++n) cut = NextCharBoundary(add, cut);
        add.resize(cut);
    }
    if (from == to && add.empty()) return;
    if (recordUndo) {
        undoText_ = text;
        undoCaret_ = caret_;
        hasUndo_ = true;
    }
    text.replace(from, to - from, add);
    text_ = text;
    if (HandleAllocated()) SetWindowText(Handle(), text.c_str());
    anchor_ = caret_ = from + add.size();
    EnsureCaretVisible();
    Invalidate();
    Perform(CM_TEXTCHANGED);
    Change();
}

void TCustomEdit::Undo() {
    if (!hasUndo_ || ReadOnly) return;
    std::string previous = TControl::Text();
    size_t previousCaret = caret_;
    text_ = undoText_;
    if (HandleAllocated()) SetWindowText(Handle(), text_.c_str());
    anchor_ = 0;
    caret_ = std::min(undoCaret_, text_.size());
    // A second undo brings the undone text back, as the platform's edit does.
    undoText_ = previous;
    undoCaret_ = previousCaret;
    EnsureCaretVisible();
    Invalidate();
    Perform(CM_TEXTCHANGED);
    Change();
}

void TCustomEdit::CopyToClipboard() {
    std::string sel = SelText();
    if (passwordChar_ != 0 || sel.empty() || !OpenClipboard(HandleAllocated() ? Handle() : nullptr)) return;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sel.size() + 1);
    if (mem) {
        std::memcpy(GlobalLock(mem), sel.c_str(), sel.size() + 1);
        GlobalUnlock(mem);
        if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
    }
    CloseClipboard();
}

void TCustomEdit::CutToClipboard() {
    if (ReadOnly || passwordChar_ != 0) return;
    CopyToClipboard();
    ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
    if (ReadOnly || !OpenClipboard(HandleAllocated() ? Handle() : nullptr)) return;
    std::string text;
    if (HANDLE mem = GetClipboardData(CF_TEXT)) {
        auto* p = static_cast<const char*>(GlobalLock(mem));
        if (p) text.assign(p, strnlen(p, GlobalSize(mem)));
        GlobalUnlock(mem);
    }
    CloseClipboard();
    // A single-line edit keeps the first line only.
    text = text.substr(0, text.find_first_of("\r\n"));
    if (!text.empty()) ReplaceSelection(ValidUtf8(text), true);
}

void TCustomEdit::SetFormattingRect(const RECT& rect) {
    formatRect_ = rect;
    EnsureCaretVisible();
    Invalidate();
}

RECT TCustomEdit::FormattingRect() const {
    if (!IsRectEmpty(&formatRect_)) return formatRect_;
    RECT r = ClientRect();
    InflateRect(&r, -1, 0);
    return r;
}

int TCustomEdit::XFromPosition(size_t pos) {
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    SIZE size{};
    std::string shown = DisplayText();
    GetTextExtentPoint32(dc, shown.data(), static_cast<int>(DisplayOffset(pos)), &size);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    return FormattingRect().left + static_cast<int>(size.cx) - scroll_;
}

size_t TCustomEdit::PositionFromX(int x) {
    const std::string& t = TControl::Text();
    size_t best = 0;
    int bestDistance = INT32_MAX;
    for (size_t pos = 0;; pos = NextCharBoundary(t, pos)) {
        int d = std::abs(XFromPosition(pos) - x);
        if (d < bestDistance) {
            bestDistance = d;
            best = pos;
        }
        if (pos >= t.size()) break;
    }
    return best;
}

void TCustomEdit::EnsureCaretVisible() {
    if (!HandleAllocated()) return;
    RECT f = FormattingRect();
    int x = XFromPosition(caret_);
    if (x < f.left) scroll_ -= f.left - x;
    else if (x >= f.right) scroll_ += x - f.right + 1;
    scroll_ = std::max(0, scroll_);
}

void TCustomEdit::MoveCaret(size_t to, bool extend) {
    caret_ = std::min(to, TControl::Text().size());
    if (!extend) anchor_ = caret_;
    EnsureCaretVisible();
    RestartBlink();
    Invalidate();
}

void TCustomEdit::RestartBlink() {
    caretOn_ = true;
    if (HandleAllocated() && Focused()) SetTimer(Handle(), kBlinkTimer, GetCaretBlinkTime(), nullptr);
}

void TCustomEdit::Paint() {
    TCanvas& c = Canvas();
    RECT client = ClientRect();
    c.Brush.SetColor(Enabled() ? Color() : clBtnFace);
    c.FillRect(client);
    RECT f = FormattingRect();
    const std::string t = DisplayText();
    HDC dc = c.Handle();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, f.left, f.top, f.right, f.bottom);
    SelectObject(dc, c.Font.Handle());
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    int y = f.top + std::max(0, (f.bottom - f.top - static_cast<int>(tm.tmHeight)) / 2);
    size_t from = std::min(anchor_, caret_), to = std::max(anchor_, caret_);
    bool showSelection = Focused() && from != to;
    SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : clGrayText));
    TextOut(dc, f.left - scroll_, y, t.data(), static_cast<int>(t.size()));
    if (showSelection) {
        int x0 = XFromPosition(from), x1 = XFromPosition(to);
        RECT sel{x0, y, x1, y + static_cast<int>(tm.tmHeight)};
        FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        size_t shownFrom = DisplayOffset(from);
        TextOut(dc, x0, y, t.data() + shownFrom, static_cast<int>(DisplayOffset(to) - shownFrom));
    }
    if (Focused() && caretOn_) {
        int x = XFromPosition(caret_);
        RECT caret{x, y, x + 1, y + static_cast<int>(tm.tmHeight)};
        InvertRect(dc, &caret);
    }
    RestoreDC(dc, saved);
}

void TCustomEdit::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    const std::string& t = TControl::Text();
    bool extend = (shift & ssShift) != 0;
    bool ctrl = (shift & ssCtrl) != 0;
    auto wordLeft = [&](size_t p) {
        while (p > 0 && !IsWordChar(static_cast<unsigned char>(t[p - 1]))) p = PrevCharBoundary(t, p);
        while (p > 0 && IsWordChar(static_cast<unsigned char>(t[p - 1]))) p = PrevCharBoundary(t, p);
        return p;
    };
    auto wordRight = [&](size_t p) {
        while (p < t.size() && IsWordChar(static_cast<unsigned char>(t[p]))) p = NextCharBoundary(t, p);
        while (p < t.size() && !IsWordChar(static_cast<unsigned char>(t[p]))) p = NextCharBoundary(t, p);
        return p;
    };
    switch (key) {
    case VK_LEFT:
        if (!extend && anchor_ != caret_ && !ctrl) MoveCaret(std::min(anchor_, caret_), false);
        else MoveCaret(ctrl ? wordLeft(caret_) : PrevCharBoundary(t, caret_), extend);
        break;
    case VK_RIGHT:
        if (!extend && anchor_ != caret_ && !ctrl) MoveCaret(std::max(anchor_, caret_), false);
        else MoveCaret(ctrl ? wordRight(caret_) : NextCharBoundary(t, caret_), extend);
        break;
    case VK_HOME: MoveCaret(0, extend); break;
    case VK_END: MoveCaret(t.size(), extend); break;
    case VK_DELETE:
        if (ReadOnly) break;
        if (extend) CutToClipboard();
        else {
            if (anchor_ == caret_) caret_ = ctrl ? wordRight(caret_) : NextCharBoundary(t, caret_);
            ReplaceSelection("", true);
        }
        break;
    case VK_INSERT:
        if (ctrl) CopyToClipboard();
        else if (extend) PasteFromClipboard();
        break;
    default: return;
    }
    key = 0;
}

void TCustomEdit::KeyPress(char32_t& key) {
    TCustomControl::KeyPress(key);
    if (key == 0) return;
    const std::string& t = TControl::Text();
    switch (key) {
    case 1: SelectAll(); break;             // Ctrl+A
    case 3: CopyToClipboard(); break;       // Ctrl+C
    case 22: PasteFromClipboard(); break;   // Ctrl+V
    case 24: CutToClipboard(); break;       // Ctrl+X
    case 26: Undo(); break;                  // Ctrl+Z
    case 8:                                 // Backspace
        if (ReadOnly) break;
        if (anchor_ == caret_) anchor_ = PrevCharBoundary(t, caret_);
        ReplaceSelection("", true);
        break;
    default:
        if (key < 32 || key == 127 || ReadOnly) break;
        ReplaceSelection(EncodeUtf8(key), true);
        break;
    }
    key = 0;
}

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft) {
        focusFromMouse_ = true;
        if (!Focused() && CanFocus()) SetFocus();
        focusFromMouse_ = false;
        MoveCaret(PositionFromX(x), (shift & ssShift) != 0);
        mouseSelecting_ = true;
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y) {
    if (mouseSelecting_) MoveCaret(PositionFromX(x), true);
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft) mouseSelecting_ = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomEdit::DblClick() {
    const std::string& t = TControl::Text();
    size_t from = caret_, to = caret_;
    while (from > 0 && IsWordChar(static_cast<unsigned char>(t[from - 1]))) from = PrevCharBoundary(t, from);
    while (to < t.size() && IsWordChar(static_cast<unsigned char>(t[to]))) to = NextCharBoundary(t, to);
    anchor_ = from;
    MoveCaret(to, true);
    TCustomControl::DblClick();
}

void TCustomEdit::DoEnter() {
    // Entering by keyboard selects everything; a click places the caret instead.
    if (AutoSelect && !focusFromMouse_ && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
    TCustomControl::DoEnter();
}

void TCustomEdit::ShowContextMenu(POINT screen) {
    if (!Focused() && CanFocus()) SetFocus();
    bool hasSel = anchor_ != caret_;
    bool canPaste = !ReadOnly && IsClipboardFormatAvailable(CF_TEXT);
    HMENU menu = CreatePopupMenu();
    auto add = [&](UINT id, const char* text, bool on) { AppendMenu(menu, MF_STRING | (on ? 0 : MF_GRAYED), id, text); };
    add(kUndo, "&Undo", hasUndo_ && !ReadOnly);
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    add(kCut, "Cu&t", hasSel && !ReadOnly);
    add(kCopy, "&Copy", hasSel);
    add(kPaste, "&Paste", canPaste);
    add(kDelete, "&Delete", hasSel && !ReadOnly);
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    add(kSelectAll, "Select &All", !TControl::Text().empty());
    if (screen.x == -1 && screen.y == -1) screen = ClientToScreen(POINT{XFromPosition(caret_), Height() / 2});
    UINT cmd = static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, Handle(), nullptr));
    DestroyMenu(menu);
    switch (cmd) {
    case kUndo: Undo(); break;
    case kCut: CutToClipboard(); break;
    case kCopy: CopyToClipboard(); break;
    case kPaste: PasteFromClipboard(); break;
    case kDelete: ClearSelection(); break;
    case kSelectAll: SelectAll(); break;
    default: break;
    }
}

void TCustomEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_SETFOCUS:
        TCustomControl::WndProc(m);
        RestartBlink();
        Invalidate();
        return;
    case WM_KILLFOCUS:
        KillTimer(Handle(), kBlinkTimer);
        mouseSelecting_ = false;
        TCustomControl::WndProc(m);
        Invalidate();
        return;
    case WM_TIMER:
        if (m.WParam == kBlinkTimer) {
            caretOn_ = !caretOn_;
            Invalidate();
            return;
        }
        break;
    case WM_CONTEXTMENU:
        if (PopupMenu()) break;
        ShowContextMenu(POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
        m.Result = 1;
        return;
    case WM_CUT: CutToClipboard(); return;
    case WM_COPY: CopyToClipboard(); return;
    case WM_PASTE: PasteFromClipboard(); return;
    case WM_CLEAR: ClearSelection(); return;
    case WM_UNDO: Undo(); return;
    case WM_SIZE:
        TCustomControl::WndProc(m);
        EnsureCaretVisible();
        return;
    // WM_NCCALCSIZE's lParam starts with the rectangle that becomes the client area, whichever
    // form (wParam) it comes in.
    case WM_NCCALCSIZE:
        TCustomControl::WndProc(m);
        if (int extent = BevelExtent(); extent > 0 && m.LParam)
            InflateRect(reinterpret_cast<RECT*>(m.LParam), -extent, -extent);
        return;
    case WM_NCPAINT:
        TCustomControl::WndProc(m);
        PaintBevels();
        return;
    default: break;
    }
    TCustomControl::WndProc(m);
}

}  // namespace framework

#include "forms/title_buttons.h"

#include <algorithm>

#include "forms/skin_provider.h"
#include "framework/application.h"
#include "paint/bitmaps.h"
#include "paint/border_mask.h"
#include "paint/image_pieces.h"
#include "skin/skin_manager.h"

namespace forms {

using framework::TBitmap;

namespace {

enum Slot { kClose = 0, kMax = 1, kMin = 2, kHelp = 3, kFirstUser = 4 };
constexpr const char* kGlobal = "GLOBALINFO";
constexpr const char* kTitleButtonEntry = "TITLEBUTTON";
constexpr const char* kNormEntry = "BICONNORM";
constexpr const char* kGlowSuffix = "GLOW0";
constexpr int kOpaque = 1;
constexpr int kFaint = 2;

// Set when a button is pressed, dropped whenever the hot button changes: only a press and a
// release on the same button, with nothing in between, is a click.
bool g_pressed = false;

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

POINT WindowOrigin(HWND h) {
    RECT wr{};
    GetWindowRect(h, &wr);
    return POINT{wr.left, wr.top};
}

UINT_PTR TimerId(int slot) {
    return static_cast<UINT_PTR>(slot) + 1;
}

void MakeOpaque(TBitmap& bmp) {
    if (bmp.PixelFormat() != framework::TPixelFormat::pf32bit) return;
    for (int y = 0; y < bmp.Height(); ++y) {
        std::uint8_t* row = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x) row[x * 4 + 3] = 255;
    }
}

}  // namespace

TsTitleButtonLayer::TsTitleButtonLayer(TsSkinProvider& provider)
    : provider_(provider), timers_([this](framework::TMessage& m) { OnTimer(m); }) {
    system_[kClose].HitCode = HTCLOSE;
    system_[kMax].HitCode = HTMAXBUTTON;
    system_[kMin].HitCode = HTMINBUTTON;
    system_[kHelp].HitCode = HTHELP;
}

TsTitleButtonLayer::~TsTitleButtonLayer() {
    hint_.reset();
    FreeFades();
    if (g_pressed && hot_ != 0) g_pressed = false;
}

bool TsTitleButtonLayer::PressedFlag() {
    return g_pressed;
}

TsButtonRules TsTitleButtonLayer::Rules() const {
    return ReadButtonRules(*provider_.HostForm(), provider_.HadSystemMenu());
}

int TsTitleButtonLayer::FindGlobal(const std::string& name) const {
    const skin::TsSkinModel* model = provider_.SkinData().Model();
    if (!model) return -1;
    return model->FindMask(model->FindSection(kGlobal), kGlobal, name);
}

void TsTitleButtonLayer::ChooseImages() {
    const TsButtonRules rules = Rules();
    TsButtonRecord& close = system_[kClose];
    TsButtonRecord& max = system_[kMax];
    TsButtonRecord& min = system_[kMin];
    TsButtonRecord& help = system_[kHelp];
    if (rules.BigStyle) {
        min.Image = FindGlobal("BICONMIN");
        max.Image = FindGlobal("BICONMAX");
        const int alone = FindGlobal("BICLOSEALONE");
        close.Image =
            !rules.VisibleMax && !rules.VisibleMin && alone >= 0 ? alone : FindGlobal("BICONCLOSE");
        help.Image = FindGlobal("BICONHELP");
        close.Big = max.Big = min.Big = true;
        help.Big = false;
    } else {
        close.Image = FindGlobal("SICONCLOSE");
        min.Image = FindGlobal("SICONMIN");
        max.Image = FindGlobal("SICONMAX");
        help.Image = FindGlobal("SICONHELP");
        if (help.Image < 0) help.Image = FindGlobal("BICONHELP");
        close.Big = max.Big = min.Big = help.Big = false;
    }
    if (close.Image < 0) {
        close.Image = FindGlobal("BICONCLOSE");
        min.Image = FindGlobal("BICONMIN");
        max.Image = FindGlobal("BICONMAX");
        help.Image = FindGlobal("BICONHELP");
        close.Big = max.Big = min.Big = help.Big = true;
    }
    for (auto& b : UserButtons)
        b->Record.Image = b->UseSkinData ? FindGlobal(kTitleButtonEntry) : -1;
}

int TsTitleButtonLayer::Width(const TsButtonRecord& r) const {
    const skin::TsSkinModel* model = provider_.SkinData().Model();
    if (!model || r.Image < 0) return kDefaultButtonSize;
    const skin::TsMaskData& e = model->Masks[static_cast<std::size_t>(r.Image)];
    if (e.ImageCount <= 0) return kDefaultButtonSize;
    const int w = e.Bmp ? e.Bmp->Width() / e.ImageCount : e.StateWidth();
    return w > 0 ? w : kDefaultButtonSize;
}

int TsTitleButtonLayer::ButtonHeight() const {
    const skin::TsSkinModel* model = provider_.SkinData().Model();
    const int close = system_[kClose].Image;
    if (!model || close < 0) return kDefaultButtonSize;
    const skin::TsMaskData& e = model->Masks[static_cast<std::size_t>(close)];
    const int h = e.Bmp ? e.Bmp->Height() / 2 : e.StateHeight();
    return h > 0 ? h : kDefaultButtonSize;
}

int TsTitleButtonLayer::UserWidth(const TsTitleButton& b) const {
    const int plate = FindGlobal(kTitleButtonEntry);
    TsButtonRecord probe;
    probe.Image = plate;
    return std::max(b.Glyph.Width() + 2, Width(probe));
}

int TsTitleButtonLayer::Spacing(const TsButtonRules& rules) const {
    const skin::TsSkinModel* model = provider_.SkinData().Model();
    return rules.BigStyle && model ? model->GlobalInfo.TitleIconSpace : 0;
}

int TsTitleButtonLayer::AreaWidth() const {
    const skin::TsSkinModel* model = provider_.SkinData().Model();
    if (!model) return 0;
    const TsButtonRules rules = Rules();
    const int s = Spacing(rules);
    int width = model->GlobalInfo.TitleIconRight;
    if (rules.VisibleClose) {
        width += Width(system_[kClose]);
        if (rules.VisibleMax) width += Width(system_[kMax]) + s;
        if (rules.VisibleMin) width += Width(system_[kMin]) + s;
        if (rules.VisibleHelp) width += Width(system_[kHelp]) + s;
    }
    if (!UserButtons.empty()) {
        width += kUserButtonGap;
        for (const auto& b : UserButtons) width += UserWidth(*b) + s;
    }
    return width;
}

void TsTitleButtonLayer::PaintTitleStrip(TBitmap& image) const {
    const TsButtonRules rules = Rules();
    if (!rules.VisibleClose && UserButtons.empty()) return;
    paint::TsCommonData& data = provider_.SkinData();
    const skin::TsSkinModel* model = data.Model();
    const int entry = model ? model->FindMask(data.SkinIndex, data.SkinSection(), "TITLEBAR") : -1;
    if (entry < 0) return;
    const skin::TsMaskData& e = model->Masks[static_cast<std::size_t>(entry)];
    const int w = e.Bmp ? e.Bmp->Width() / 9 : e.StateWidth();
    const TsFrameMetrics m = provider_.Metrics();
    const RECT r{m.W - (AreaWidth() + 2 * w), 0, m.W, m.TitleBottom()};
    paint::DrawBorderMask(image, r, true, true, FrameState(provider_.Active()), *model, entry,
                          paint::EmptyBgSource());
}

void TsTitleButtonLayer::TakeStrip(TBitmap& image) {
    const TsFrameMetrics m = provider_.Metrics();
    const int width = m.B + AreaWidth() + 10;
    const int height = std::min(image.Height(), 2 * m.B + m.T);
    stripRect_ = RECT{std::max(0, m.W - 1 - width), 0, std::max(0, m.W - 1), height};
    const int w = stripRect_.right - stripRect_.left;
    if (!strip_) strip_ = std::make_unique<TBitmap>(1, 1);
    strip_->SetSize(std::max(w, 0), std::max(height, 0));
    if (w <= 0 || height <= 0) return;
    BitBlt(strip_->Canvas().Handle(), 0, 0, w, height, image.Canvas().Handle(), stripRect_.left, 0,
           SRCCOPY);
}

void TsTitleButtonLayer::RestoreFromStrip(TBitmap& image, const RECT& r) const {
    if (!strip_) return;
    RECT part{};
    if (!IntersectRect(&part, &r, &stripRect_)) return;
    BitBlt(image.Canvas().Handle(), part.left, part.top, part.right - part.left,
           part.bottom - part.top, strip_->Canvas().Handle(), part.left - stripRect_.left,
           part.top - stripRect_.top, SRCCOPY);
}

int TsTitleButtonLayer::NormImage() const {
    const int global = FindGlobal(kNormEntry);
    if (global >= 0) return global;
    paint::TsCommonData& data = provider_.SkinData();
    const skin::TsSkinModel* model = data.Model();
    return model ? model->FindMask(data.SkinIndex, data.SkinSection(), kNormEntry) : -1;
}

void TsTitleButtonLayer::Place(TsButtonRecord& r, int right, const TsButtonRules& rules) {
    const skin::TsSkinModel& model = *provider_.SkinData().Model();
    const TsFrameMetrics m = provider_.Metrics();
    const int height = ButtonHeight();
    int top;
    if (r.Big && model.GlobalInfo.TitleIconVAlign == 1) {
        top = rules.Maximized ? m.B - 1 : 0;
    } else {
        top = (m.B + m.T - height) / 2;
        if (rules.BigStyle && height < 16) top += 2;
    }
    const int width = SlotOf(r) >= kFirstUser ? UserWidth(*UserOf(r)) : Width(r);
    r.Rect = RECT{right - width, top, right, top + height};
    r.Placed = true;
}

void TsTitleButtonLayer::DrawGlyph(TBitmap& image, const TsTitleButton& b, POINT offset) const {
    const TBitmap& g = b.Glyph;
    if (g.Empty()) return;
    const RECT& r = b.Record.Rect;
    const int x = r.left + (r.right - r.left - g.Width()) / 2 + offset.x;
    const int y = r.top + (r.bottom - r.top - g.Height()) / 2 + offset.y;
    HDC src = const_cast<TBitmap&>(g).Canvas().Handle();
    if (g.PixelFormat() == framework::TPixelFormat::pf32bit) {
        AlphaBlend(image.Canvas().Handle(), x, y, g.Width(), g.Height(), src, 0, 0, g.Width(),
                   g.Height(), BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
        return;
    }
    // Any other glyph is keyed by its bottom-left pixel.
    const COLORREF key = GetPixel(src, 0, g.Height() - 1);
    TransparentBlt(image.Canvas().Handle(), x, y, g.Width(), g.Height(), src, 0, 0, g.Width(),
                   g.Height(), key);
}

void TsTitleButtonLayer::Draw(TBitmap& image, TsButtonRecord& r) const {
    const skin::TsSkinModel* model = provider_.SkinData().Model();
    const bool resting = r.State == TsButtonState::Normal || r.Fade;
    const int state = r.Fade ? 0 : static_cast<int>(r.State);
    const bool faint = (!provider_.Active() || !r.Enabled) && resting;
    if (model && r.Drawn >= 0)
        paint::DrawImageFrame(image, POINT{r.Rect.left, r.Rect.top}, state,
                              paint::BgSourceFromBitmap(&image, 0, 0), *model, r.Drawn,
                              faint ? kFaint : kOpaque);
    const int slot = SlotOf(r);
    if (slot >= kFirstUser) {
        const TsTitleButton& b = *UserButtons[static_cast<std::size_t>(slot - kFirstUser)];
        DrawGlyph(image, b, POINT{0, 0});
    }
}

void TsTitleButtonLayer::PlaceAndDraw(TBitmap& image) {
    if (!provider_.SkinData().Model()) return;
    TakeStrip(image);
    const TsButtonRules rules = Rules();
    const TsFrameMetrics m = provider_.Metrics();
    const int s = Spacing(rules);
    int x = m.W - provider_.SkinData().Model()->GlobalInfo.TitleIconRight - m.B;
    for (TsButtonRecord& r : system_) r.Placed = false;
    auto put = [&](TsButtonRecord& r, int entry, bool enabled) {
        if (entry < 0) return;
        r.Drawn = entry;
        r.Enabled = enabled;
        Place(r, x, rules);
        Draw(image, r);
        x = r.Rect.left - s;
    };
    if (rules.VisibleClose) put(system_[kClose], system_[kClose].Image, true);
    if (rules.VisibleMax) {
        const int entry = rules.Maximized ? NormImage() : FindGlobal("BICONMAX");
        put(system_[kMax], entry, rules.Maximized ? rules.EnabledRestore : rules.EnabledMax);
    }
    if (rules.VisibleMin) {
        const int entry = rules.Iconic ? NormImage() : system_[kMin].Image;
        put(system_[kMin], entry, rules.Iconic ? rules.EnabledRestore : rules.EnabledMin);
    }
    if (rules.VisibleHelp) put(system_[kHelp], system_[kHelp].Image, true);
    x -= kUserButtonGap;
    for (std::size_t i = 0; i < UserButtons.size(); ++i) {
        TsTitleButton& b = *UserButtons[i];
        b.Record.Placed = false;
        b.Record.HitCode = kUserButtonCode + static_cast<LRESULT>(i);
        if (!b.Visible) continue;
        b.Record.Enabled = b.Enabled;
        b.Record.Drawn = b.Record.Image;
        Place(b.Record, x, rules);
        Draw(image, b.Record);
        x = b.Record.Rect.left - s;
    }
}

int TsTitleButtonLayer::SlotOf(const TsButtonRecord& r) const {
    for (int i = 0; i < kFirstUser; ++i)
        if (&system_[static_cast<std::size_t>(i)] == &r) return i;
    for (std::size_t i = 0; i < UserButtons.size(); ++i)
        if (&UserButtons[i]->Record == &r) return kFirstUser + static_cast<int>(i);
    return -1;
}

TsButtonRecord* TsTitleButtonLayer::RecordOfSlot(int slot) {
    if (slot >= 0 && slot < kFirstUser) return &system_[static_cast<std::size_t>(slot)];
    const auto user = static_cast<std::size_t>(slot - kFirstUser);
    return slot >= kFirstUser && user < UserButtons.size() ? &UserButtons[user]->Record : nullptr;
}

TsTitleButton* TsTitleButtonLayer::UserOf(const TsButtonRecord& r) {
    const int slot = SlotOf(r);
    return slot >= kFirstUser ? UserButtons[static_cast<std::size_t>(slot - kFirstUser)].get()
                              : nullptr;
}

const TsButtonRecord* TsTitleButtonLayer::Find(LRESULT code) const {
    return const_cast<TsTitleButtonLayer*>(this)->Find(code);
}

TsButtonRecord* TsTitleButtonLayer::Find(LRESULT code) {
    if (code == 0) return nullptr;
    for (TsButtonRecord& r : system_)
        if (r.HitCode == code) return &r;
    for (auto& b : UserButtons)
        if (b->Record.HitCode == code) return &b->Record;
    return nullptr;
}

LRESULT TsTitleButtonLayer::HitTest(POINT p) {
    const TsButtonRules rules = Rules();
    TsButtonRecord* hit = nullptr;
    for (TsButtonRecord& r : system_)
        if (r.Placed && Contains(r.Rect, p)) {
            hit = &r;
            break;
        }
    TsButtonRecord* user = nullptr;
    for (auto& b : UserButtons)
        if (b->Visible && b->Record.Placed && Contains(b->Record.Rect, p)) {
            user = &b->Record;
            break;
        }
    if (!hit || (hit == &system_[kClose] && user)) hit = user;
    if (!hit) return HTCLIENT;
    LRESULT code = hit->HitCode;
    if (hit == &system_[kMax] && !(rules.EnabledMax || (rules.EnabledRestore && !rules.Iconic)))
        code = HTCAPTION;
    if (hit == &system_[kMin] && !(rules.Iconic || rules.EnabledMin)) code = HTCAPTION;
    if (TsTitleButton* b = UserOf(*hit); b && !b->Enabled) code = HTCLIENT;
    if (code == HTCAPTION || code == HTCLIENT) return code;
    SetHot(code);
    return code;
}

void TsTitleButtonLayer::ShowHint(const TsButtonRecord& r) {
    hint_.reset();
    const TsTitleButton* b = const_cast<TsTitleButtonLayer*>(this)->UserOf(r);
    if (!b || b->Hint.empty()) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    hint_ = std::make_unique<framework::THintWindow>();
    hint_->ActivateHint(cursor, b->Hint);
}

void TsTitleButtonLayer::SetHot(LRESULT code) {
    if (code == hot_) return;
    hint_.reset();
    if (TsButtonRecord* old = Find(hot_)) {
        old->State = TsButtonState::Normal;
        Repaint(*old);
    }
    TsButtonRecord* now = Find(code);
    hot_ = now ? code : 0;
    g_pressed = false;
    if (!now) return;
    now->State = TsButtonState::Hot;
    // The form hears when the pointer leaves its frame, which takes the hot button away.
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE | TME_NONCLIENT, provider_.HostForm()->Handle(), 0};
    TrackMouseEvent(&tme);
    Repaint(*now);
    ShowHint(*now);
}

bool TsTitleButtonLayer::ButtonDown(LRESULT code, POINT screen) {
    TsButtonRecord* r = Find(code);
    if (!r) return false;
    const TsButtonRules rules = Rules();
    if (code == HTMAXBUTTON && !(rules.EnabledMax || (rules.Maximized && rules.EnabledRestore))) {
        SetHot(0);
        return true;
    }
    if (hot_ != code) {
        if (TsButtonRecord* old = Find(hot_)) {
            old->State = TsButtonState::Normal;
            Repaint(*old);
        }
    }
    hot_ = code;
    r->State = TsButtonState::Pressed;
    g_pressed = true;
    Repaint(*r);
    if (TsTitleButton* b = UserOf(*r); b && b->OnMouseDown) b->OnMouseDown(*b, screen);
    return true;
}

bool TsTitleButtonLayer::Send(WPARAM command) {
    framework::TCustomForm* form = provider_.HostForm();
    if (!form->HandleAllocated()) return false;
    SendMessage(form->Handle(), WM_SYSCOMMAND, command, 0);
    return true;
}

bool TsTitleButtonLayer::MinimiseUp(const TsButtonRecord& r, bool pressed, POINT p) {
    SetHot(0);
    if (!pressed || !Contains(r.Rect, p)) return false;
    framework::TCustomForm* form = provider_.HostForm();
    auto* app = dynamic_cast<framework::TApplication*>(form->Owner());
    if (app && app->MainForm() == form) {
        provider_.SetMinimizing(true);
        Send(SC_MINIMIZE);
        provider_.SetMinimizing(false);
    } else {
        Send(Rules().Iconic ? SC_RESTORE : SC_MINIMIZE);
    }
    provider_.InvalidateImage();
    return true;
}

bool TsTitleButtonLayer::MaximiseUp(bool pressed) {
    const TsButtonRules rules = Rules();
    if (!(rules.EnabledMax || (rules.Maximized && rules.EnabledRestore))) return true;
    SetHot(0);
    if (!pressed) return false;
    Send(rules.Maximized ? SC_RESTORE : SC_MAXIMIZE);
    if (OnStateChanged) OnStateChanged();
    return true;
}

void TsTitleButtonLayer::HelpUp(bool pressed) {
    SetHot(0);
    if (!pressed) return;
    Send(SC_CONTEXTHELP);
    if (OnStateChanged) OnStateChanged();
    provider_.RepaintFrame();
}

bool TsTitleButtonLayer::ButtonUp(LRESULT code, POINT screen) {
    TsButtonRecord* r = Find(code);
    if (!r) return false;
    const POINT origin = WindowOrigin(provider_.HostForm()->Handle());
    const POINT p{screen.x - origin.x, screen.y - origin.y};
    const bool pressed = g_pressed;
    g_pressed = false;
    switch (code) {
        case HTMINBUTTON:
            return MinimiseUp(*r, pressed, p);
        case HTMAXBUTTON:
            return MaximiseUp(pressed);
        case HTCLOSE:
            // Closing may free the form and this layer with it: nothing is touched after.
            if (pressed) {
                r->State = TsButtonState::Normal;
                Send(SC_CLOSE);
            }
            return true;
        case HTHELP:
            HelpUp(pressed);
            return true;
        default: {
            TsTitleButton* b = UserOf(*r);
            SetHot(0);
            if (pressed && b && b->OnMouseUp) b->OnMouseUp(*b, screen);
            return true;
        }
    }
}

void TsTitleButtonLayer::Repaint(TsButtonRecord& r) {
    skin::TsSkinManager* manager = provider_.Manager();
    if (manager && manager->EffectiveAllowGlowing())
        Fade(r);
    else
        RedrawDirect(r);
}

void TsTitleButtonLayer::RedrawDirect(TsButtonRecord& r) {
    framework::TCustomForm* form = provider_.HostForm();
    TBitmap* image = provider_.SkinData().CacheBmp.get();
    const skin::TsSkinModel* model = provider_.SkinData().Model();
    if (!r.Placed || !image || !model || !form->HandleAllocated()) return;
    RestoreFromStrip(*image, r.Rect);
    const bool faint = !r.Enabled || (r.State == TsButtonState::Normal && !provider_.Active());
    if (r.Drawn >= 0)
        paint::DrawImageFrame(*image, POINT{r.Rect.left, r.Rect.top}, static_cast<int>(r.State),
                              paint::BgSourceFromBitmap(image, 0, 0), *model, r.Drawn,
                              faint ? kFaint : kOpaque);
    if (TsTitleButton* b = UserOf(r)) DrawGlyph(*image, *b, POINT{0, 0});
    if (!IsWindowVisible(form->Handle())) return;
    HDC dc = GetWindowDC(form->Handle());
    BitBlt(dc, r.Rect.left, r.Rect.top, r.Rect.right - r.Rect.left, r.Rect.bottom - r.Rect.top,
           image->Canvas().Handle(), r.Rect.left, r.Rect.top, SRCCOPY);
    ReleaseDC(form->Handle(), dc);
}

std::unique_ptr<TBitmap> TsTitleButtonLayer::GlowPicture(const TsButtonRecord& r,
                                                         RECT& screen) const {
    const skin::TsSkinModel* model = provider_.SkinData().Model();
    const int slot = SlotOf(r);
    if (!model || r.State != TsButtonState::Hot || slot > kMin || r.Drawn < 0) return nullptr;
    const skin::TsSkinData& g = model->GlobalInfo;
    const int margin = slot == kClose ? g.CloseIconGlowMargin
                       : slot == kMax ? g.MaxIconGlowMargin
                                      : g.MinIconGlowMargin;
    if (margin == 0) return nullptr;
    const std::string name =
        model->Masks[static_cast<std::size_t>(r.Drawn)].PropertyName + kGlowSuffix;
    const int entry = model->FindMaskOwn(kGlobal, name);
    if (entry < 0) return nullptr;
    const TBitmap* own = model->Masks[static_cast<std::size_t>(entry)].Bmp.get();
    if (!own || own->Empty()) return nullptr;
    auto picture = paint::CreateBmp32(own->Width(), own->Height());
    picture->Assign(*own);
    picture->SetPixelFormat(framework::TPixelFormat::pf32bit);
    screen = RECT{screen.left - margin, screen.top - margin, screen.left - margin + own->Width(),
                  screen.top - margin + own->Height()};
    return picture;
}

std::unique_ptr<TBitmap> TsTitleButtonLayer::FadePicture(const TsButtonRecord& r,
                                                         RECT& screen) const {
    const POINT origin = WindowOrigin(provider_.HostForm()->Handle());
    screen = r.Rect;
    OffsetRect(&screen, origin.x, origin.y);
    if (auto glow = GlowPicture(r, screen)) return glow;
    const int w = r.Rect.right - r.Rect.left, h = r.Rect.bottom - r.Rect.top;
    auto picture = paint::CreateBmp32(w, h);
    TBitmap* image = provider_.SkinData().CacheBmp.get();
    RECT inStrip{};
    if (strip_ && IntersectRect(&inStrip, &r.Rect, &stripRect_) && EqualRect(&inStrip, &r.Rect))
        BitBlt(picture->Canvas().Handle(), 0, 0, w, h, strip_->Canvas().Handle(),
               r.Rect.left - stripRect_.left, r.Rect.top - stripRect_.top, SRCCOPY);
    else if (image)
        BitBlt(picture->Canvas().Handle(), 0, 0, w, h, image->Canvas().Handle(), r.Rect.left,
               r.Rect.top, SRCCOPY);
    const skin::TsSkinModel* model = provider_.SkinData().Model();
    if (model && r.Drawn >= 0)
        paint::DrawImageFrame(*picture, POINT{0, 0}, static_cast<int>(r.State),
                              paint::BgSourceFromBitmap(picture.get(), 0, 0), *model, r.Drawn,
                              kOpaque);
    if (const TsTitleButton* b = const_cast<TsTitleButtonLayer*>(this)->UserOf(r)) {
        // The glyph is drawn into the picture at the button's own place in it.
        TsTitleButton shifted;
        shifted.Record.Rect = RECT{0, 0, w, h};
        shifted.Glyph.Assign(b->Glyph);
        const int push = r.State == TsButtonState::Pressed ? 1 : 0;
        DrawGlyph(*picture, shifted, POINT{push, push});
    }
    MakeOpaque(*picture);
    return picture;
}

void TsTitleButtonLayer::Fade(TsButtonRecord& r) {
    if (!r.Placed) return;
    const int slot = SlotOf(r);
    HWND form = provider_.HostForm()->Handle();
    const bool fresh = !r.Fade;
    if (fresh) {
        if (r.State == TsButtonState::Normal) return;
        r.Fade = std::make_unique<TsButtonFade>();
    }
    const TsFadeProgress::Step step = r.Fade->Progress().Start(r.State);
    if (step.Done) {
        StopTimer(r);
        r.Fade.reset();
        return;
    }
    if (fresh || step.Rebuild || r.State == TsButtonState::Hot) {
        RECT screen{};
        auto picture = FadePicture(r, screen);
        r.Fade->SetPicture(std::move(picture), screen);
        if (!fresh && step.Alpha < 0) r.Fade->Show(r.Fade->ShownAlpha(), form);
    }
    if (step.Alpha >= 0) r.Fade->Show(step.Alpha, form);
    if (r.Fade->Progress().Running() || r.State == TsButtonState::Hot)
        SetTimer(timers_.Handle(), TimerId(slot), kFadeIntervalMs, nullptr);
    else
        StopTimer(r);
}

void TsTitleButtonLayer::StopTimer(const TsButtonRecord& r) {
    const int slot = SlotOf(r);
    if (slot >= 0) KillTimer(timers_.Handle(), TimerId(slot));
}

void TsTitleButtonLayer::OnTimer(framework::TMessage& m) {
    if (m.Msg != WM_TIMER) return;
    const UINT_PTR id = m.WParam;
    TsButtonRecord* r = RecordOfSlot(static_cast<int>(id) - 1);
    if (!r || !r->Fade) {
        KillTimer(timers_.Handle(), id);
        return;
    }
    TickFade(*r, id);
}

void TsTitleButtonLayer::TickFade(TsButtonRecord& r, UINT_PTR id) {
    const TsFadeProgress::Step step = r.Fade->Progress().Tick();
    HWND form = provider_.HostForm()->Handle();
    if (step.Alpha >= 0) r.Fade->Show(step.Alpha, form);
    if (step.Done) {
        KillTimer(timers_.Handle(), id);
        r.Fade.reset();
        return;
    }
    if (!step.Poll) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT button = r.Rect;
    const POINT origin = WindowOrigin(form);
    OffsetRect(&button, origin.x, origin.y);
    if (Contains(button, cursor)) return;
    KillTimer(timers_.Handle(), id);
    // The form's leave handler makes the button normal, which starts the fade-out.
    SendMessage(form, WM_MOUSELEAVE, 0, 0);
}

void TsTitleButtonLayer::FreeFades() {
    for (int slot = 0; TsButtonRecord* r = RecordOfSlot(slot); ++slot) {
        if (!r->Fade) continue;
        StopTimer(*r);
        r->Fade.reset();
    }
}

}  // namespace forms

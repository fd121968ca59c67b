// The provider's painting: the window image, the region, the frame strips, the client area
// and the answers to children's background questions.
#include <algorithm>

#include "forms/frame_interaction.h"
#include "forms/provider_region.h"
#include "forms/skin_provider.h"
#include "framework/messages.h"
#include "paint/bg_query.h"
#include "paint/cache_copy.h"
#include "paint/control_commands.h"
#include "paint/solid_fills.h"
#include "skin/skin_commands.h"
#include "skin/skin_manager.h"

namespace forms {

using framework::TMessage;

bool TsSkinProvider::WindowShowing() const {
    return form_->HandleAllocated() && IsWindowVisible(form_->Handle());
}

TsFrameLook TsSkinProvider::Look() {
    TsFrameLook l;
    l.Form = form_;
    l.Data = data_.get();
    l.Metrics = Metrics();
    l.Active = active_;
    l.TitleIndex = titleIndex_;
    l.TitleName = titleSkin_.empty() ? "FORMTITLE" : titleSkin_;
    l.CaptionIndex = captionIndex_;
    l.ShowIcon = showAppIcon_ && hadSysMenu_;
    l.Alignment = alignment_;
    l.Added = &AddedTitle;
    l.ButtonsWidth = TitleButtonsWidth();
    if (frame_) {
        TsTitleButtonLayer* buttons = &frame_->Buttons();
        l.PaintTitleStrip = [buttons](framework::TBitmap& b) { buttons->PaintTitleStrip(b); };
        l.PaintButtons = [buttons](framework::TBitmap& b) { buttons->PlaceAndDraw(b); };
    }
    l.PlainColor = PlainColor();
    l.GlowCache = &glow_[active_ ? 1 : 0];
    return l;
}

RECT TsSkinProvider::IconRect() const {
    const skin::TsSkinModel* model = data_->Model();
    return TitleIconRect(Metrics(), model ? model->GlobalInfo.TitleIconLeft : 0);
}

void TsSkinProvider::RebuildImage() {
    imageHasClient_ = data_->NeedsCache();
    PaintWindowImage(Look());
    data_->BgChanged = false;
    firstPaint_ = false;
}

framework::TBitmap* TsSkinProvider::WindowImage() {
    if (!Skinned() || !form_->HandleAllocated()) return nullptr;
    // An image built for the other kind of client (plain or cached) is stale too: a skin
    // change animation makes every binding paint its cache while it runs.
    if (data_->BgChanged || firstPaint_ || !data_->CacheBmp || data_->CacheBmp->Width() == 0 ||
        imageHasClient_ != data_->NeedsCache())
        RebuildImage();
    return data_->CacheBmp.get();
}

void TsSkinProvider::UpdateRegion() {
    const skin::TsSkinModel* model = data_->Model();
    const TsFrameMetrics m = Metrics();
    regionDirty_ = false;
    HRGN region = nullptr;
    if (!form_->Parent()) {
        corners_ = CollectFrameCorners(*model, data_->BorderIndex, titleIndex_,
                                       titleSkin_.empty() ? "FORMTITLE" : titleSkin_, m.W, m.H);
        region = MakeFrameRegion(m, corners_);
    }
    // Setting the region sends a WM_WINDOWPOSCHANGING of its own; it must not move the window.
    regionBusy_ = true;
    SetWindowRgn(form_->Handle(), region, TRUE);
    regionBusy_ = false;
}

// Top strip to the client's top, the sides beside the client, the bottom strip below it.
void TsSkinProvider::BlitFrame(HDC dc, const TsFrameMetrics& m) {
    HDC src = data_->CacheBmp->Canvas().Handle();
    RECT cr{};
    GetClientRect(form_->Handle(), &cr);
    const int top = m.T > 0 ? m.TopOffset : m.H - m.TopOffset - cr.bottom;
    const int bottom = std::max(0, m.H - m.TopOffset - static_cast<int>(cr.bottom));
    const int right = std::max(0, m.W - m.LeftOffset - static_cast<int>(cr.right));
    const int sideHeight = m.H - top - bottom;
    BitBlt(dc, 0, 0, m.W, top, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, top, m.LeftOffset, sideHeight, src, 0, top, SRCCOPY);
    BitBlt(dc, 0, m.H - bottom, m.W, bottom, src, 0, m.H - bottom, SRCCOPY);
    BitBlt(dc, m.W - right, top, right, sideHeight, src, m.W - right, top, SRCCOPY);
}

void TsSkinProvider::PaintFrame() {
    if (!Skinned() || !form_->HandleAllocated()) return;
    if (data_->OpacityFlags & paint::kOpacityAnimating) {
        pendingRepaint_ = true;
        return;
    }
    pendingRepaint_ = false;
    if (regionDirty_) UpdateRegion();
    if (!data_->NeedsCache()) InvalidateImage();
    const TsFrameMetrics m = Metrics();
    if (!WindowImage()) return;
    HDC dc = GetWindowDC(form_->Handle());
    if (m.Iconic)
        BitBlt(dc, 0, 0, data_->CacheBmp->Width(), data_->CacheBmp->Height(),
               data_->CacheBmp->Canvas().Handle(), 0, 0, SRCCOPY);
    else
        BlitFrame(dc, m);
    ReleaseDC(form_->Handle(), dc);
}

void TsSkinProvider::RepaintFrame() {
    DropFramePicture();
    if (!Skinned() || !WindowShowing() || skinChanging_ || redrawLocks_ > 0) return;
    PaintFrame();
}

void TsSkinProvider::AnswerBg(TMessage& m) {
    auto* q = reinterpret_cast<paint::TsBgQuery*>(m.LParam);
    if (!q) return;
    if (data_->BgChanged && !data_->Updating) WindowImage();
    const TsFrameMetrics f = Metrics();
    q->Offset.x += f.LeftOffset;
    q->Offset.y += f.TopOffset;
    q->Bmp = data_->CacheBmp.get();
    if (data_->NeedsCache()) {
        q->BgType = paint::kBgBitmap;
        return;
    }
    q->BgType = paint::kBgColor;
    q->Color = PlainColor();
    if (q->PleaseDraw) paint::FillRectSolid(q->DrawDC, q->R, q->Color);
}

void TsSkinProvider::OnPaint(TMessage& m) {
    PAINTSTRUCT ps;
    HWND hwnd = form_->Handle();
    const bool cache = data_->NeedsCache();
    if (!cache && data_->BgChanged) InvalidateRect(hwnd, nullptr, TRUE);
    HDC dc = BeginPaint(hwnd, &ps);
    if (cache && !skinChanging_) {
        data_->Updating = false;
        framework::TBitmap* image = WindowImage();
        const TsFrameMetrics f = Metrics();
        RECT cr{};
        GetClientRect(hwnd, &cr);
        if (image)
            BitBlt(dc, 0, 0, cr.right, cr.bottom, image->Canvas().Handle(), f.LeftOffset,
                   f.TopOffset, SRCCOPY);
        // Windowless children have no paint of their own: they go over the background here.
        paint::PaintGraphicChildren(dc, form_, POINT{0, 0});
    }
    if (form_->OnPaint) {
        form_->Canvas().SetHandle(dc);
        form_->OnPaint(form_);
        form_->Canvas().SetHandle(nullptr);
    }
    EndPaint(hwnd, &ps);
    if (cache)
        for (int i = 0; i < form_->ControlCount(); ++i)
            paint::SendSkinCommand(form_->Controls(i), skin::scParentPainted);
    m.Result = 0;
}

void TsSkinProvider::OnEraseBkgnd(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    RECT cr{};
    GetClientRect(form_->Handle(), &cr);
    const bool cache = data_->NeedsCache();
    if (m.LParam == static_cast<LPARAM>(m.WParam) && cache) {
        if (framework::TBitmap* image = WindowImage()) {
            const TsFrameMetrics f = Metrics();
            BitBlt(dc, 0, 0, cr.right, cr.bottom, image->Canvas().Handle(), f.LeftOffset,
                   f.TopOffset, SRCCOPY);
        }
    } else if (!cache) {
        paint::FillRectSolid(dc, cr, PlainColor());
        // The plain WM_PAINT only validates, so windowless children are painted with the fill.
        paint::PaintGraphicChildren(dc, form_, POINT{0, 0});
    }
    m.Result = 1;
}

// The default processing may draw the system's caption; the frame is painted over it before
// anything is presented.
void TsSkinProvider::RepaintAfterDefault(TMessage& m) {
    CallDefault(m);
    RepaintFrame();
}

bool TsSkinProvider::HandleFrameMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_NCPAINT:
            PaintFrame();
            m.Result = 0;
            return true;
        case WM_PAINT:
            if (!WindowShowing()) return false;
            OnPaint(m);
            return true;
        case WM_ERASEBKGND:
            if (!WindowShowing()) return false;
            OnEraseBkgnd(m);
            return true;
        case WM_PRINT:
            OnPrint(m);
            return true;
        case WM_PRINTCLIENT:
            m.Result = 0;
            return true;
        case framework::CM_SHOWINGCHANGED:
            OnShowingChanged(m);
            return true;
        case WM_SETTEXT:
            for (paint::GlowMask& g : glow_) g.Clear();
            RepaintAfterDefault(m);
            return true;
        case WM_SETICON:
        case framework::CM_ENABLEDCHANGED:
            RepaintAfterDefault(m);
            return true;
        case WM_SETREDRAW:
            redrawLocks_ = m.WParam ? std::max(0, redrawLocks_ - 1) : redrawLocks_ + 1;
            return false;
        case WM_ENTERIDLE:
            m.Result = 0;
            return true;
        case WM_PARENTNOTIFY: {
            CallDefault(m);
            const WORD event = LOWORD(m.WParam);
            if (event == WM_CREATE || event == WM_DESTROY)
                for (int i = 0; i < form_->ControlCount(); ++i)
                    paint::SendSkinCommand(form_->Controls(i), skin::scGetOpacity, 0, 1);
            return true;
        }
        case WM_MOUSEMOVE:
            CallDefault(m);
            if (skin::TsSkinManager* manager = Manager()) manager->SetHotControl(nullptr);
            return true;
        case framework::CM_VISIBLECHANGED:
            if (autoCreated_ && !applied_) ApplySkin();
            CallDefault(m);
            if (!form_->Visible() && data_->CacheBmp) {
                data_->CacheBmp->SetSize(0, 0);
                InvalidateImage();
            }
            return true;
        default:
            return false;
    }
}

}  // namespace forms

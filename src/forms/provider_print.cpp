// The provider's WM_PRINT: the skinned window printed into a given context, as the window
// captures of the animations and PaintTo ask for it.
#include "forms/skin_provider.h"
#include "paint/cache_copy.h"
#include "paint/solid_fills.h"

namespace forms {

using framework::TMessage;

namespace {

// Each visible windowed child prints itself at its place in the client area.
void PrintChildren(framework::TWinControl& form, HDC dc, LPARAM flags) {
    for (int i = 0; i < form.ControlCount(); ++i) {
        auto* child = dynamic_cast<framework::TWinControl*>(form.Controls(i));
        if (!child || !child->HandleAllocated() || !IsWindowVisible(child->Handle())) continue;
        const int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, child->Left(), child->Top(), nullptr);
        SendMessage(child->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT);
        RestoreDC(dc, saved);
    }
}

}  // namespace

// dc's origin is at the client's corner and clipped to it.
void TsSkinProvider::PrintClient(HDC dc, LPARAM flags, framework::TBitmap& image) {
    RECT cr{};
    GetClientRect(form_->Handle(), &cr);
    if (flags & (PRF_ERASEBKGND | PRF_CLIENT)) {
        if (imageHasClient_) {
            const TsFrameMetrics f = Metrics();
            BitBlt(dc, 0, 0, cr.right, cr.bottom, image.Canvas().Handle(), f.LeftOffset,
                   f.TopOffset, SRCCOPY);
        } else {
            paint::FillRectSolid(dc, cr, PlainColor());
        }
    }
    if (!(flags & PRF_CLIENT)) return;
    paint::PaintGraphicChildren(dc, form_, POINT{0, 0});
    if (!form_->OnPaint) return;
    form_->Canvas().SetHandle(dc);
    try {
        form_->OnPaint(form_);
    } catch (...) {
        form_->Canvas().SetHandle(nullptr);
        throw;
    }
    form_->Canvas().SetHandle(nullptr);
}

void TsSkinProvider::OnPrint(TMessage& m) {
    m.Result = 0;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    const LPARAM flags = m.LParam;
    if (!dc || ((flags & PRF_CHECKVISIBLE) && !WindowShowing())) return;
    framework::TBitmap* image = WindowImage();
    if (!image) return CallDefault(m);
    const TsFrameMetrics f = Metrics();
    if ((flags & PRF_NONCLIENT) && f.Iconic)
        BitBlt(dc, 0, 0, image->Width(), image->Height(), image->Canvas().Handle(), 0, 0, SRCCOPY);
    else if (flags & PRF_NONCLIENT)
        BlitFrame(dc, f);
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, f.LeftOffset, f.TopOffset, nullptr);
    RECT cr{};
    GetClientRect(form_->Handle(), &cr);
    IntersectClipRect(dc, 0, 0, cr.right, cr.bottom);
    try {
        PrintClient(dc, flags, *image);
        if (flags & PRF_CHILDREN) PrintChildren(*form_, dc, flags);
    } catch (...) {
        RestoreDC(dc, saved);
        throw;
    }
    RestoreDC(dc, saved);
}

}  // namespace forms

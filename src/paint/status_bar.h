// The skinned status bar: its whole look (section background and frame, a frame or divider
// per panel, panel texts, size grip) is painted into the binding's CacheBmp and copied to
// the screen; the framework draws it only while it is not skinned.
//
// Decisions for this platform:
// - The framework's bar has no non-client border, so BorderWidth is always 0 here: the image
//   is copied from (0, 0) and WM_NCPAINT only prepares the image.
// - Removing the skin does not re-create the window (the framework look returns by a repaint
//   of the whole bar), since the message arrives inside the bar's own window procedure.
// - A paint into a given context (WM_PRINT, WM_PAINT with wParam) never opens the window's
//   paint cycle, so it leaves the real update region alone.
// - A panel text change marks the image stale; the framework then invalidates only that
//   panel, so the screen is repainted there alone.
// - The corners are laid again (RefreshCorners) when the image is built, not on every copy to
//   the screen: the section's frame drawn over the bar's own fill and the corners laid over
//   the parent differ by a few levels, and a paint of only part of the bar would leave the
//   two looks side by side. A kept image gets them again when copied, except with the grip,
//   whose corner they would wipe.
#pragma once

#include <string>

#include "framework/std_controls.h"
#include "paint/common_data.h"

namespace paint {

class TsStatusBar : public framework::TStatusBar {
  public:
    explicit TsStatusBar(framework::TComponent* owner);
    ~TsStatusBar() override;

    TsCommonData SkinData;

    void Loaded() override;
    // One complete paint onto dc, or onto the window's own paint context when dc is null.
    void PaintBar(HDC dc);
    // Paints the image into CacheBmp when it is out of date.
    void PrepareCache();
    // Left edge of a panel: the widths of the panels before it.
    int PanelLeft(int index);
    // Platform text flags for an alignment, with vertical centring and tab expansion.
    static UINT AlignmentFlags(framework::TAlignment alignment);
    // The rectangle of panel index in the image (the last one runs to the bar's width).
    RECT PanelBounds(int index);
    // Where a panel's text goes, for the rectangle PaintPanel gets (the panel less 1 pixel).
    static RECT PanelTextRect(const RECT& r);

  protected:
    void WndProc(framework::TMessage& m) override;
    void PaintHandler(framework::TMessage& m) override;
    void DrawPanel(framework::TStatusPanel* panel, const RECT& rect) override;

  private:
    bool SkinCommand(framework::TMessage& m);
    bool SkinnedMessage(framework::TMessage& m);
    bool CanPaint() const;
    void PaintPanels();
    void PaintPanelInCache(framework::TStatusPanel* panel, const RECT& rect);
    void PaintPanel(framework::TStatusPanel* panel, const std::string& text, const RECT& r);
    void PaintPanelFrame(const RECT& r);
    void PaintDivider(const RECT& r);
    void WritePanelText(const std::string& text, const RECT& rect, UINT flags);
    void PaintSizeGrip();
    void PaintOnDC(HDC dc);
    void TellChildrenPainted();
    void RepaintWithFrame();
};

}  // namespace paint

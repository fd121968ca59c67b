// How a skinned form's frame behaves: activation, hit testing, presses and double clicks on
// the title bar and the icon, right clicks, system commands, the maximised size, snapping to
// the work area's edges, and size changes. The provider hands every message to this object
// first; it owns the title buttons and the provider's system menu.
//
// Decisions for our platform:
// - A press on the icon opens the system menu only after the double-click time has passed
//   without a second press (a 200 ms one-shot timer, no busy wait); a double click on the
//   icon cancels it and closes the form. When the form goes first, its provider and this
//   object go with it, and the timer with them.
// - WM_NCACTIVATE lets the default processing run and paints the frame over it in the same
//   message; presentation is deferred until the message is handled, so the system's caption
//   never shows and no cover window is needed.
// - A size change while the window is hidden, and every restore, mark the window's shape for
//   a new computation as well as its picture: a window restored by the window manager hears
//   its new size while it still counts as minimised, and would keep the minimised shape.
// - Right clicks on the task bar button (message 0x0313) open the menu at the cursor, should
//   a desktop ever send it; ours does not.
#pragma once

#include <memory>

#include "forms/system_menu.h"
#include "forms/title_buttons.h"
#include "framework/messages.h"
#include "framework/utility_window.h"

namespace forms {

class TsSkinProvider;

// Sent for a right click on the window's task bar button.
constexpr UINT WM_POPUPSYSTEMMENU = 0x0313;
// The wait after a press on the icon, for a double click.
constexpr UINT kIconClickWaitMs = 200;
// SC_MOVE with this added drags the window without a keyboard loop.
constexpr WPARAM kDragMove = 2;
// SC_KEYMENU's lParam for Alt+Space.
constexpr LPARAM kKeyMenuSpace = ' ';

class TsFrameInteraction {
  public:
    explicit TsFrameInteraction(TsSkinProvider& provider);
    ~TsFrameInteraction();
    TsFrameInteraction(const TsFrameInteraction&) = delete;
    TsFrameInteraction& operator=(const TsFrameInteraction&) = delete;

    // True when the message was handled here and must not reach the form's procedure.
    bool Handle(framework::TMessage& m);
    // A skin was applied: the button pictures are chosen again and the system menu made.
    void SkinApplied();

    TsTitleButtonLayer& Buttons() { return buttons_; }
    const TsTitleButtonLayer& Buttons() const { return buttons_; }
    // Made on the first skin apply.
    TsSystemMenu* SystemMenu() const { return menu_.get(); }
    // Opens the system menu at a screen point; the form may be gone afterwards.
    void ShowSystemMenu(POINT screen);
    // Where a press on the icon and Alt+Space open the menu (screen coordinates).
    POINT IconMenuPoint() const;
    POINT KeyMenuPoint() const;
    bool IconClickPending() const { return iconWait_; }

  private:
    LRESULT HitTest(framework::TMessage& m);
    LRESULT FrameHit(POINT p);
    bool OnNcLButtonDown(framework::TMessage& m);
    bool OnNcLButtonUp(framework::TMessage& m);
    void OnNcLButtonDblClk(framework::TMessage& m);
    bool OnNcRButtonDown(framework::TMessage& m);
    void OnNcRButtonUp(framework::TMessage& m);
    void OnSysCommand(framework::TMessage& m);
    void OnGetMinMaxInfo(framework::TMessage& m);
    bool OnWindowPosChanging(framework::TMessage& m);
    void OnSize(framework::TMessage& m);
    void OnNcActivate(framework::TMessage& m);
    void OnLeave(framework::TMessage& m);
    void OnTimer(framework::TMessage& m);
    void StartIconWait();
    void CancelIconWait();
    bool HasFrame() const;
    bool IconShown() const;
    RECT WindowRect() const;

    TsSkinProvider& provider_;
    TsTitleButtonLayer buttons_;
    std::unique_ptr<TsSystemMenu> menu_;
    framework::UtilityWindow timer_;
    bool iconWait_ = false;
};

}  // namespace forms

// Framework messages: the record a control's message handler receives, and the notifications
// the framework sends between controls (numbered from CM_BASE as in the classic framework, so
// that handlers written against those numbers keep working).
#pragma once

#include "platform/window.h"

namespace framework {

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
// The pointer entered or left a control: sent to the control and then to each of its parents,
// lParam always the control the pointer entered or left.
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
// Sent to a form when the items of one of its menus changed.
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
// Broadcast to the siblings of a grouped speed button that went down: wParam the group,
// lParam the button.
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
// A windowed control's Showing changed; a form shows or hides its window while handling it.
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_CHILDKEY = CM_BASE + 38;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 46;
// A control is about to be inserted (lParam 1) or was removed (lParam 0); wParam the
// control. Passed on from parent to parent up to the form.
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
// The system's fonts or metrics changed; told to every control of a form.
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
// The control's value changed (an edit's text); lParam the control.
constexpr UINT CM_CHANGED = CM_BASE + 55;
// WM_MOUSEWHEEL as the framework passes it on: offered to the control, then to each parent
// until one handles it (Result 1).
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
constexpr UINT CM_INVOKEHELP = CM_BASE + 68;
// Posted to itself by a form that Release asked to free; the form is freed when it arrives,
// after the messages queued before it.
constexpr UINT CM_RELEASE = CM_BASE + 33;

// Dialog codes of WM_GETDLGCODE.
constexpr LRESULT DLGC_WANTARROWS = 0x1;
constexpr LRESULT DLGC_WANTTAB = 0x2;
constexpr LRESULT DLGC_WANTALLKEYS = 0x4;
constexpr LRESULT DLGC_WANTCHARS = 0x80;

}  // namespace framework

// Internal interfaces between the parts of the window system.
#pragma once

#include <functional>
#include <vector>

#include "platform/backend.h"
#include "platform/window/window_object.h"

namespace platform::win {

// window_registry.cpp
Window* NewWindow();
void DeleteWindowObject(Window* w);
std::vector<Window*> AllWindows();
const WindowClass* FindClassArg(LPCSTR name);

// message_queue.cpp
LRESULT Send(Window* w, UINT msg, WPARAM wParam, LPARAM lParam);
void PostInput(const MSG& msg);
// Runs one pass of the idle work: presents damage, waits for backend events or the next timer.
void IdleWait();
void RemoveMessagesFor(HWND hwnd);
DWORD Now();
// Gives the raw event to input translation right away (input.cpp); used by backends' pumps.
void QueueRawEvent(const BackendEvent& e);
// Puts an event before every other raw event (input.cpp): a press a menu handed on.
void QueueRawEventFirst(const BackendEvent& e);

// hooks.cpp
LRESULT CallCbtHook(int code, WPARAM wParam, LPARAM lParam);
void CallWndProcHook(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// timers.cpp
bool TakeDueTimer(HWND filter, bool remove, MSG* out);
int MillisecondsToNextTimer();  // -1: no timer
void KillWindowTimers(HWND hwnd);

// geometry.cpp
// Recomputes the client rectangle through WM_NCCALCSIZE.
void RecalcClient(Window* w);
// SetWindowPos with flags of its own: `changedFlags` reach WM_WINDOWPOSCHANGED only, and
// SWP_STATECHANGED marks a minimise, maximise or restore.
BOOL MoveWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags, UINT changedFlags);
// Asks the window for its size limits (WM_GETMINMAXINFO) over the system's defaults.
MINMAXINFO QueryMinMaxInfo(Window* w);
// DefWindowProc's answer to WM_WINDOWPOSCHANGING.
void ClampWindowPos(Window* w, WINDOWPOS* wp);
void SyncSurfaceGeometry(Window* top);
void Restack();
RECT ParentClientRect(const Window* w);  // in the coordinates of w->rect

// painting.cpp
// Adds a region (window coordinates) to the update region of the window, and of children as
// RedrawWindow's rules say.
void InvalidateWindow(Window* w, const Region& region, UINT flags);
void ValidateWindow(Window* w, const Region* region);
// The part of the window (or its client area) that drawing may touch, in surface coordinates.
Region VisibleRegion(const Window* w, bool clientOnly, DWORD dcxFlags);
Surface* EnsureSurface(Window* top);
void PresentAll();
// The next window that needs WM_PAINT (depth first, parents first); null when none.
Window* FindWindowToPaint(HWND filter);
// Sends WM_NCPAINT for windows whose frame needs it but whose client does not.
bool PaintFramesOnly(HWND filter);
void ReleaseWindowDCs(Window* w);
void RetargetDCs(Window* top);
void MarkDamage(HDC dc);

// input.cpp
bool TranslateNextInput(MSG* out);
Window* HitWindow(POINT screen, LRESULT* hit);
bool TranslateKeyMessage(const MSG* msg);
POINT CursorPosition();
void ForgetWindowInput(Window* w);
void SetKeyStateFromMessage(const MSG& msg);
bool HasPendingRawInput();

// activation.cpp
void ActivateWindow(Window* w, WORD how);
void OnWindowDisappearing(Window* w);
Window* ActiveWindow();
Window* FocusWindow();
void BackendFocusChanged(SurfaceId surface, bool in);

// nonclient.cpp
RECT DefaultClientFromWindow(const Window* w, const RECT& windowRect);
LRESULT DefaultHitTest(Window* w, POINT screen);
int CaptionHeight(DWORD style, DWORD exStyle);
int FrameWidth(DWORD style, DWORD exStyle);
bool HasCaption(DWORD style);
// Rectangles of the caption buttons in window coordinates (empty when absent).
struct CaptionButtons {
    RECT close{}, max{}, min{}, help{};
};
CaptionButtons CaptionButtonRects(const Window* w);

// nonclient_paint.cpp
void PaintDefaultFrame(Window* w, HDC windowDC, bool active);
void DrawCaptionButtonPressed(Window* w, LRESULT hit, bool pressed);

// def_window_proc.cpp / modal_loops.cpp
void RunCaptionButtonLoop(Window* w, LRESULT hit);
void RunMoveSizeLoop(Window* w, WPARAM command, POINT start);

// backend_events.cpp: events that are not input (close requests, moves by the window
// manager, tray icons, scripted commands).
void DispatchBackendEvent(const BackendEvent& e);
Window* WindowOfSurface(SurfaceId id);
void SetTrayEventHandler(std::function<void(const BackendEvent&)> handler);
IconPixels IconPixelsOf(HICON icon);
void SetMainWindowHandle(HWND hwnd);
// menus.cpp: drops a destroyed window's system menu.
void ForgetSystemMenu(HWND hwnd);
// popup_menu.cpp: DefWindowProc's system menu at a screen point; a chosen command is posted
// to the window as WM_SYSCOMMAND.
void TrackSystemMenu(HWND hwnd, POINT at);

// system_metrics.cpp: the work area of the primary monitor.
RECT PrimaryWorkArea();

// application-wide
Backend& GetBackend();
bool BackendReady();
HWND MainWindowHandle();

}  // namespace platform::win

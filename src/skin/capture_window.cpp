#include "skin/capture_window.h"

#include "framework/canvas.h"
#include "framework/colors.h"
#include "skin/skin_commands.h"

namespace skin {
namespace {

using framework::TBitmap;
using framework::TControl;
using framework::TWinControl;

constexpr UINT kPrintSelf = PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT;

// The colour a parent offers its children: its skin colour when it answers, else its own.
COLORREF ParentPlainColor(TWinControl& parent) {
    if (parent.HandleAllocated()) {
        HWND hwnd = parent.Handle();
        if (SendMessage(hwnd, SM_SKINCMD, SkinCommandWParam(scIsSkinned), 0) == 1)
            return static_cast<COLORREF>(
                SendMessage(hwnd, SM_SKINCMD, SkinCommandWParam(scGetColor), 0));
    }
    return framework::ColorToRGB(parent.Color());
}

void FillHidden(TBitmap& picture, TControl& control, int x, int y) {
    framework::TCanvas& canvas = picture.Canvas();
    canvas.Brush.SetColor(static_cast<framework::TColor>(ParentPlainColor(*control.Parent())));
    canvas.FillRect(RECT{x, y, x + control.Width(), y + control.Height()});
}

// Where a window's client area starts inside its window rectangle.
POINT ClientOrigin(HWND hwnd) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    return POINT{client.x - window.left, client.y - window.top};
}

// Prints the control alone (children come after) with its corner at (x, y).
void PrintSelf(HDC dc, TControl& control, int x, int y) {
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    IntersectClipRect(dc, 0, 0, control.Width(), control.Height());
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (windowed && windowed->HandleAllocated())
        SendMessage(windowed->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc), kPrintSelf);
    else
        control.Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), kPrintSelf);
    RestoreDC(dc, saved);
}

}  // namespace

void CaptureWindow(TBitmap& picture, TControl& control, int x, int y) {
    if (!control.Visible() && control.Parent()) {
        FillHidden(picture, control, x, y);
        return;
    }
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (windowed && !windowed->HandleAllocated()) windowed->HandleNeeded();
    HDC dc = picture.Canvas().Handle();
    PrintSelf(dc, control, x, y);
    if (!windowed || !windowed->HandleAllocated()) return;
    POINT client = ClientOrigin(windowed->Handle());
    for (int i = 0; i < windowed->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(windowed->Controls(i));
        if (!child || !child->Visible()) continue;
        CaptureWindow(picture, *child, x + client.x + child->Left(), y + client.y + child->Top());
    }
}

}  // namespace skin

#include "platform/x11/keymap.h"

#include <X11/keysym.h>

#include "platform/virtual_keys.h"

namespace platform::x11 {

UINT VirtualKeyFromKeysym(KeySym sym) {
    if (sym >= XK_a && sym <= XK_z) return static_cast<UINT>('A' + (sym - XK_a));
    if (sym >= XK_A && sym <= XK_Z) return static_cast<UINT>(sym);
    if (sym >= XK_0 && sym <= XK_9) return static_cast<UINT>(sym);
    if (sym >= XK_F1 && sym <= XK_F12) return VK_F1 + static_cast<UINT>(sym - XK_F1);
    if (sym >= XK_KP_0 && sym <= XK_KP_9) return VK_NUMPAD0 + static_cast<UINT>(sym - XK_KP_0);
    switch (sym) {
        case XK_BackSpace: return VK_BACK;
        case XK_Tab: case XK_ISO_Left_Tab: return VK_TAB;
        case XK_Return: case XK_KP_Enter: return VK_RETURN;
        case XK_Escape: return VK_ESCAPE;
        case XK_space: return VK_SPACE;
        case XK_Prior: return VK_PRIOR;
        case XK_Next: return VK_NEXT;
        case XK_End: return VK_END;
        case XK_Home: return VK_HOME;
        case XK_Left: return VK_LEFT;
        case XK_Up: return VK_UP;
        case XK_Right: return VK_RIGHT;
        case XK_Down: return VK_DOWN;
        case XK_Insert: return VK_INSERT;
        case XK_Delete: case XK_KP_Delete: return VK_DELETE;
        case XK_Shift_L: return VK_LSHIFT;
        case XK_Shift_R: return VK_RSHIFT;
        case XK_Control_L: return VK_LCONTROL;
        case XK_Control_R: return VK_RCONTROL;
        case XK_Alt_L: case XK_Meta_L: return VK_LMENU;
        case XK_Alt_R: case XK_Meta_R: case XK_ISO_Level3_Shift: return VK_RMENU;
        case XK_Caps_Lock: return VK_CAPITAL;
        case XK_Num_Lock: return VK_NUMLOCK;
        case XK_Scroll_Lock: return VK_SCROLL;
        case XK_Pause: return VK_PAUSE;
        case XK_Print: return VK_SNAPSHOT;
        case XK_Menu: return VK_APPS;
        case XK_Super_L: return VK_LWIN;
        case XK_Super_R: return VK_RWIN;
        case XK_KP_Multiply: return VK_MULTIPLY;
        case XK_KP_Add: return VK_ADD;
        case XK_KP_Subtract: return VK_SUBTRACT;
        case XK_KP_Decimal: return VK_DECIMAL;
        case XK_KP_Divide: return VK_DIVIDE;
        case XK_semicolon: return VK_OEM_1;
        case XK_equal: return VK_OEM_PLUS;
        case XK_comma: return VK_OEM_COMMA;
        case XK_minus: return VK_OEM_MINUS;
        case XK_period: return VK_OEM_PERIOD;
        case XK_slash: return VK_OEM_2;
        case XK_grave: return VK_OEM_3;
        default: return 0;
    }
}

}  // namespace platform::x11

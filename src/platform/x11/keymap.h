// X keysyms to virtual-key codes.
#pragma once

#include <X11/Xlib.h>

#include "platform/types.h"

namespace platform::x11 {

UINT VirtualKeyFromKeysym(KeySym sym);

}  // namespace platform::x11

// The open glows of the process. A glow id names one glow until it is closed; -1 means none.
//
// Ids are not plain indexes: a closed glow's slot is taken again by the next glow, and the id
// carries a sequence number besides the slot, so an id kept by a control after its glow was
// closed (for instance by CloseAllGlowWindows during a skin change) never closes another
// control's glow. The registry thus holds as many slots as glows were open at once, however
// often a control is hovered.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/glow_effect.h"
#include "skin/skin_manager.h"

namespace forms {

// The glow of a hot control: see skin::TsGlowRequest.
// box: the control on the screen; visible: its visible part in its own coordinates; section:
// its skin section, whose own entry entry + "0" is drawn (the section's parent class is not
// searched); manager: null for the default manager; parent: the window of the control's form;
// overlap: how far the glow reaches into the control.
// Returns the glow's id, or -1 when none is shown: no layered windows on this display (on X11:
// no compositor), no manager, no such entry, or nothing of the control to be seen.
int OpenGlowWindow(const RECT& box, const RECT& visible, const std::string& section,
                   skin::TsSkinManager* manager, HWND parent, int overlap,
                   const std::string& entry);
// Closes one glow; -1, ids never given and ids already closed are ignored.
void CloseGlowWindow(int id);
// Closes every open glow.
void CloseAllGlowWindows();

// For tests and figures: slots held (open glows and free slots), and glows open.
std::size_t GlowRegistrySlots();
std::size_t OpenGlowCount();
// The glow of an id, or null when it is not open.
TacGlowEffect* FindGlow(int id);

}  // namespace forms

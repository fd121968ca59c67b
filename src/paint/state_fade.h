// Which changes of a button-like control's look may fade, and over how many steps. The fade
// itself shows the new image at once: the controls keep the decision and the step count so a
// smoother fade can replace that without touching their state handling.
#pragma once

#include "skin/skin_manager.h"

namespace paint {

// The state changes a control reports, in the order the skin's button events name them.
enum class TsStateEvent { seMouseEnter = 0, seMouseLeave = 1, seMouseDown = 2, seChange = 3 };

// AnimatEvents of a control.
enum TacAnimatEvent : unsigned {
    aeMouseEnter = 1,
    aeMouseLeave = 2,
    aeMouseDown = 4,
    aeMouseUp = 8,
    aeGlobalDef = 16,
};
using TacAnimatEvents = unsigned;

// The event is animated: named in events itself, or events hold aeGlobalDef and the manager's
// button effects name the matching button event. seChange counts as the button's mouse up.
bool IsAnimatedEvent(TacAnimatEvents events, const skin::TsSkinManager* manager, TsStateEvent event);

// Steps of a fade for the section's iterations: half as many, rounded down, for mouse down
// and for a state change; never negative.
int FadeSteps(int iterations, TsStateEvent event);

}  // namespace paint

#include "paint/state_fade.h"

#include <algorithm>

namespace paint {

namespace {

unsigned OwnBit(TsStateEvent event) {
    switch (event) {
        case TsStateEvent::seMouseEnter: return aeMouseEnter;
        case TsStateEvent::seMouseLeave: return aeMouseLeave;
        case TsStateEvent::seMouseDown: return aeMouseDown;
        case TsStateEvent::seChange: return aeMouseUp;
    }
    return 0;
}

unsigned ButtonBit(TsStateEvent event) {
    switch (event) {
        case TsStateEvent::seMouseEnter: return skin::beMouseEnter;
        case TsStateEvent::seMouseLeave: return skin::beMouseLeave;
        case TsStateEvent::seMouseDown: return skin::beMouseDown;
        case TsStateEvent::seChange: return skin::beMouseUp;
    }
    return 0;
}

}  // namespace

bool IsAnimatedEvent(TacAnimatEvents events, const skin::TsSkinManager* manager, TsStateEvent event) {
    if (events & OwnBit(event)) return true;
    return (events & aeGlobalDef) && manager && (manager->AnimEffects.Buttons.Events & ButtonBit(event));
}

int FadeSteps(int iterations, TsStateEvent event) {
    const bool halved = event == TsStateEvent::seMouseDown || event == TsStateEvent::seChange;
    return std::max(0, halved ? iterations / 2 : iterations);
}

}  // namespace paint

// The common reactions of a bound control to the window messages that change its look, the
// position dependence that decides whether moving it needs a repaint, the animation bracket,
// and the glow that follows the mouse.
//
// Decisions for this platform:
// - CM_MOUSEENTER and CM_MOUSELEAVE reach every parent of the control the pointer crossed,
//   lParam naming that control. Only a crossing of the owner itself (lParam the owner, or 0)
//   changes MouseAbove, the hot window and the glow; a crossing passed up from a child only
//   runs the speed-button rule (a hot speed-button child other than lParam is told to leave).
// - There are no visual styles: an unskinned control leaves WM_UPDATEUISTATE to the framework.
// - The framework has no label class, so removing a skin changes no label colours.
#pragma once

#include "framework/messages.h"
#include "paint/common_data.h"

namespace paint {

// WM_UPDATEUISTATE as this layer names it; the platform never sends it on its own.
constexpr UINT kUpdateUiStateMessage = 0x0128;

// Reacts to message for data's owner; true when the message was handled completely (the
// control's framework processing is then skipped).
bool CommonWndProc(TsCommonData& data, framework::TMessage& message);

// The control's image depends on where it stands on its parent, so moving it needs a repaint.
bool DependsOnPosition(const TsCommonData& data);

// An animation holds back the control's own painting until EndAnimation.
void BeginAnimation(TsCommonData& data);
void EndAnimation(TsCommonData& data, bool repaint);

// Opens the glow around the owner when the manager, the section and the mouse allow it, or
// closes it when they do not.
void UpdateGlow(TsCommonData& data);
void CloseGlow(TsCommonData& data);

}  // namespace paint

// The answers of a control's binding to skin commands, after the control's own handling.
// Commands the table below does not answer (run-time section changes, position dependence,
// the application object) are left to the control: CommonSkinCommand returns false for them.
#pragma once

#include "framework/messages.h"
#include "paint/common_data.h"

namespace paint {

// Answers message (SM_SKINCMD) for data; true when the control's own default processing is
// to be skipped (the answer is in message.Result).
bool CommonSkinCommand(TsCommonData& data, framework::TMessage& message);

}  // namespace paint

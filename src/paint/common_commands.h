// The answers of a control's binding to skin commands, after the control's own handling.
// Commands without a common answer (a parent's paint notice, a control's announcement, the
// animation bracket) return false and are left to the control.
#pragma once

#include <string>

#include "framework/messages.h"
#include "paint/common_data.h"

namespace paint {

// Answers message (SM_SKINCMD) for data; true when the control's own default processing is
// to be skipped (the answer is in message.Result).
bool CommonSkinCommand(TsCommonData& data, framework::TMessage& message);

// The section changed at run time (stored upper case); controls bound to it repaint on
// scSectionChanged and clear the mark, as does the next scNewSkin. Nothing in this program
// edits skins at run time, so only tests set it.
void MarkSectionChanged(const std::string& section);
const std::string& ChangedSection();

}  // namespace paint

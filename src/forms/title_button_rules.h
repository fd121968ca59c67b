// Which of a skinned form's title buttons show and which work, from its border style, its
// border icons, its window state and whether the provider took the system menu style away.
// The title buttons, the hit test and the provider's system menu all read the same answers.
#pragma once

#include "framework/form.h"

namespace forms {

struct TsButtonRules {
    bool VisibleClose = false;
    bool VisibleMax = false;
    bool VisibleMin = false;
    bool VisibleHelp = false;  // biHelp in the border icons
    bool EnabledMax = false;
    bool EnabledMin = false;
    bool EnabledRestore = false;
    bool Iconic = false;
    bool Maximized = false;
    bool BigStyle = false;  // single or sizeable border: big title icons, spacing between them
};

// The answers for form's window (which must exist); hadSystemMenu is the provider's flag.
TsButtonRules ReadButtonRules(framework::TCustomForm& form, bool hadSystemMenu);
// The same from plain values, for callers that know them.
TsButtonRules ButtonRules(framework::TFormBorderStyle style, framework::TBorderIcons icons,
                          bool iconic, bool maximized, bool hadSystemMenu);

}  // namespace forms

#include "forms/title_button_rules.h"

namespace forms {

using framework::TFormBorderStyle;

TsButtonRules ButtonRules(TFormBorderStyle style, framework::TBorderIcons icons, bool iconic,
                          bool maximized, bool hadSystemMenu) {
    TsButtonRules r;
    r.Iconic = iconic;
    r.Maximized = maximized;
    r.BigStyle = style == TFormBorderStyle::bsSingle || style == TFormBorderStyle::bsSizeable;
    const bool maxIcon = (icons & framework::biMaximize) != 0;
    const bool minIcon = (icons & framework::biMinimize) != 0;
    r.VisibleClose = hadSystemMenu;
    r.VisibleMax = r.VisibleClose && (iconic || (r.BigStyle && maxIcon));
    r.VisibleMin = r.VisibleClose && (iconic || (r.BigStyle && minIcon));
    r.VisibleHelp = (icons & framework::biHelp) != 0;
    r.EnabledMax = maxIcon && !maximized && r.BigStyle;
    r.EnabledMin = minIcon && !iconic;
    r.EnabledRestore = (maxIcon && (iconic || maximized)) || iconic;
    return r;
}

TsButtonRules ReadButtonRules(framework::TCustomForm& form, bool hadSystemMenu) {
    HWND h = form.Handle();
    return ButtonRules(form.BorderStyle(), form.BorderIcons(), IsIconic(h) != 0, IsZoomed(h) != 0,
                       hadSystemMenu);
}

}  // namespace forms

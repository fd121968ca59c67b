// The edits of the skin engine in their unskinned form: TsEdit for plain text (the alarm
// times) and TsMaskEdit, the base of the edits with a button. Until skinned painting lands
// they draw in the standard look of their framework bases; SkinData is where the binding to
// a skin section will attach.
#pragma once

#include <string>

#include "framework/std_edit.h"

namespace shell {

// The skin section a control asks for; the skin binding takes it over later.
struct TsSkinData {
    std::string SkinSection;
};

// A caption shown beside the edit.
struct TsBoundLabel {
    bool Active = false;
    std::string Caption;
};

enum TsDisabledKindFlag : unsigned { dkBlended = 1, dkGrayed = 2 };
using TsDisabledKind = unsigned;

// A plain single-line edit with no length limit; any text may stand in it.
class TsEdit : public framework::TEdit {
public:
    explicit TsEdit(framework::TComponent* owner) : TEdit(owner) {}
    TsSkinData SkinData{"EDIT"};
    TsBoundLabel BoundLabel;
    TsDisabledKind DisabledKind = dkBlended;
};

// The masked edit without a mask: a plain edit with the skin parts.
class TsMaskEdit : public framework::TMaskEdit {
public:
    explicit TsMaskEdit(framework::TComponent* owner) : TMaskEdit(owner) {}
    TsSkinData SkinData{"EDIT"};
    TsBoundLabel BoundLabel;
    TsDisabledKind DisabledKind = dkBlended;
};

}  // namespace shell

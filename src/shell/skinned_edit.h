// The plain edit of the alarm times in its unskinned form, and the section name its button
// neighbours still carry; the skinned edits are in paint/edit.h and paint/mask_edit.h.
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

}  // namespace shell

#include "paint/control_kinds.h"

#include <array>

namespace paint {

namespace {

struct KindRange {
    int first, last;
};

template <std::size_t N>
bool InRanges(int kind, const std::array<KindRange, N>& ranges) {
    for (const KindRange& r : ranges)
        if (kind >= r.first && kind <= r.last) return true;
    return false;
}

constexpr std::array<KindRange, 4> kSetA{{{19, 19}, {51, 74}, {110, 110}, {141, 161}}};
constexpr std::array<KindRange, 11> kSetB{{{51, 52}, {54, 54}, {56, 60}, {68, 68}, {73, 74}, {110, 110},
                                           {141, 141}, {143, 143}, {151, 151}, {161, 161}, {226, 226}}};
constexpr std::array<KindRange, 5> kSetC{{{2, 18}, {41, 41}, {76, 84}, {96, 97}, {131, 140}}};

struct KindSection {
    KindRange kinds;
    std::string_view section;
};

// Each kind listed once; the first matching row wins.
constexpr std::array<KindSection, 39> kSections{{
    {{2, 8}, "EDIT"},          {{10, 10}, "EDIT"},       {{41, 41}, "EDIT"},       {{76, 76}, "EDIT"},
    {{78, 78}, "EDIT"},        {{83, 84}, "EDIT"},       {{96, 97}, "EDIT"},       {{131, 131}, "EDIT"},
    {{140, 140}, "EDIT"},      {{227, 227}, "EDIT"},     {{11, 18}, "COMBOBOX"},   {{81, 82}, "COMBOBOX"},
    {{19, 19}, "BAR"},         {{20, 20}, "BARTITLE"},   {{32, 32}, "CHECKBOX"},   {{152, 152}, "CHECKBOX"},
    {{33, 33}, "RADIOBUTTON"}, {{51, 51}, "PANEL"},      {{59, 59}, "PANEL"},      {{68, 68}, "PANEL"},
    {{73, 73}, "PANEL"},       {{52, 52}, "PANEL_LOW"},  {{58, 58}, "PANEL_LOW"},  {{53, 54}, "TOOLBAR"},
    {{60, 60}, "TOOLBAR"},     {{56, 56}, "DRAGBAR"},    {{57, 57}, "TABSHEET"},   {{74, 74}, "GROUPBOX"},
    {{226, 226}, "GROUPBOX"},  {{75, 75}, "SPLITTER"},   {{92, 92}, "SPEEDBUTTON"}, {{95, 95}, "SPEEDBUTTON"},
    {{93, 94}, "BUTTON"},      {{98, 98}, "TOOLBUTTON"}, {{141, 141}, "PAGECONTROL"}, {{143, 143}, "PAGECONTROL"},
    {{151, 151}, "STATUSBAR"}, {{161, 161}, "GAUGE"},    {{165, 165}, "TRACKBAR"}
}};

}  // namespace

bool HasNoHoverState(int kind) { return kind <= 255 && InRanges(kind, kSetA); }
bool HasNoGlow(int kind) { return kind <= 255 && InRanges(kind, kSetB); }
bool PaintsFrameOutside(int kind) { return kind <= 255 && InRanges(kind, kSetC); }

std::string_view DefaultSectionOf(int kind) {
    for (const KindSection& k : kSections)
        if (kind >= k.kinds.first && kind <= k.kinds.last) return k.section;
    return {};
}

}  // namespace paint

// How a control learns what lies behind it: it asks its parent with scGetBg and a TsBgQuery;
// the parent answers with its cached image (and where the asker's origin lies in it), a plain
// colour, or paints itself into the asker's context. Each forwarding level adds exactly its
// own position to Offset.
#pragma once

#include "paint/bg_source.h"
#include "paint/common_data.h"

namespace paint {

// BgType of an answer.
constexpr std::uint8_t kBgNoAnswer = 0;
constexpr std::uint8_t kBgColor = 1;
constexpr std::uint8_t kBgBitmap = 2;

struct TsBgQuery {
    framework::TBitmap* Bmp = nullptr;  // set by the parent: its cached image
    TColor Color = 0;                   // set by the parent: its plain colour
    POINT Offset{0, 0};                 // where the asker's (0, 0) lies in Bmp
    RECT R{0, 0, 0, 0};                 // area to paint when PleaseDraw is set
    std::uint8_t BgType = kBgNoAnswer;
    std::uint8_t PleaseDraw = 0;        // 1: the parent paints R into DrawDC itself
    HDC DrawDC = nullptr;
};

// Asks parent for the background. A parent that does not answer paints itself into DrawDC
// when the query's previous PleaseDraw was set, else answers with its plain colour.
void QueryParentBg(TsBgQuery& query, framework::TControl* parent, bool pleaseDraw);
// The same for a parent window outside the framework: without an answer, the colour of the
// skin's "GLOBALINFO" section (of the default manager), or the button face colour.
void QueryParentBg(TsBgQuery& query, HWND parent, bool pleaseDraw);

// A bitmap answer is a ready source at Offset; any other answer a plain colour. BgType
// decides, not Bmp: a plain parent answers a colour and still lends its image.
TsBgSource BgSourceFromQuery(const TsBgQuery& query);

// The answer of a skinned control to scGetBg.
void AnswerBgQuery(const TsCommonData& data, TsBgQuery& query, bool hot, HWND window = nullptr);
// The plain colour a child should use.
TColor ColorForChildren(const TsCommonData& data, bool hot, HWND window = nullptr);
// The answer to scGetColor: as ColorForChildren, but a see-through parent is never answered
// with the "no colour" value.
TColor PlainColorForCommand(const TsCommonData& data);
// The background of the owner's parent, or the plain colour when unskinned.
TsBgSource GetParentBgSource(const TsCommonData& data);

}  // namespace paint

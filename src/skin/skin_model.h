// The in-memory skin model: global values, section records, image entries, large textures,
// the master bitmap and the indexes painters use again and again. The skin manager owns one
// model; painters only read it. A load builds a fresh model and the manager swaps it in only
// when the whole load succeeded.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/colors.h"
#include "framework/graphic.h"

namespace skin {

using framework::TColor;

class TsSkinManager;

// Colour that marks see-through pixels in skin pictures and "no colour" in colour fields.
constexpr TColor kTransparentColor = 0xFF00FF;

// Global values of the "GLOBALINFO" section.
struct TsSkinData {
    std::string SkinDir;     // folder of the skin files, ending with a separator
    bool SkinReady = false;  // a loaded skin is announced to the controls
    double Version = 0;
    std::string Author;
    std::string Description;
    TColor Shadow1Color = 0;
    std::int16_t Shadow1Offset = 0;
    std::int16_t Shadow1Blur = -1;
    std::int16_t Shadow1Transparency = 0;
    std::int16_t FormBorderWidth = 4;
    std::int16_t TitleHeight = 30;
    std::int16_t MaxTitleHeight = 0;  // 0 in the text means TitleHeight
    std::int16_t FormOffset = 8;
    std::int16_t CenterOffset = 0;
    std::int16_t BorderMode = 0;
    TColor BorderColor = 0;
    std::int16_t TitleIconSpace = 0;
    std::int16_t TitleIconVAlign = 0;
    std::int16_t TitleIconRight = 0;
    std::int16_t TitleIconLeft = 0;
    std::int16_t TitleIconTop = 0;
    std::int16_t TitleIconKeepHue = 0;  // 0 none, 1 all title icons, other: close icons only
    std::int16_t CloseIconGlow = 0;
    std::int16_t CloseIconGlowMargin = 0;
    std::int16_t MaxIconGlow = 0;
    std::int16_t MaxIconGlowMargin = 0;
    std::int16_t MinIconGlow = 0;
    std::int16_t MinIconGlowMargin = 0;
};

// One part of a gradient: painted by the painting layer.
struct TsGradPart {
    TColor Color1 = 0;
    TColor Color2 = 0;
    std::uint8_t Percent = 0;  // 0..100
    int Mode = 0;
};
using TsGradArray = std::vector<TsGradPart>;

// One section of the options text with its values resolved along PARENTCLASS.
struct TsGeneralData {
    std::string ParentClass;
    std::string SectionName;
    TColor Color = 0xFFFFFF;                       // converted to RGB
    std::array<TColor, 5> FontColor{0, -1, -1, -1, -1};     // [0] text, [1..4] outline L,T,R,B
    std::array<TColor, 5> HotFontColor{0, -1, -1, -1, -1};
    bool GiveOwnFont = false;
    int GlowCount = 0;
    int GlowMargin = 0;
    bool ReservedBoolean = false;
    int Transparency = 0;
    int GradientPercent = 0;
    std::string GradientData = " ";
    TsGradArray GradientArray;
    int ImagePercent = 0;
    bool ShowFocus = false;
    bool FadingEnabled = false;
    int FadingIterations = 5;
    TColor HotColor = 0xFFFFFF;  // stored as read
    int HotTransparency = 0;
    int HotGradientPercent = 0;
    std::string HotGradientData;
    TsGradArray HotGradientArray;
    int HotImagePercent = 0;
    TColor HotGlowColor = 0xFFFFFF;  // converted to RGB
    TColor GlowColor = 0xFFFFFF;     // converted to RGB
    std::uint8_t HotGlowSize = 0;
    std::uint8_t GlowSize = 0;
    int BorderIndex = -1;  // cached FindMask of BORDERSMASK
    int ImgTL = -1;        // cached FindMask of IMGTOPLEFT, IMGTOPRIGHT, IMGBTMLEFT, IMGBTMRIGHT
    int ImgTR = -1;
    int ImgBL = -1;
    int ImgBR = -1;
};

enum TacImgType : std::uint8_t {
    itisaBorder = 0,
    itisaTexture = 1,
    itisaGlyph = 2,
    itisaGlow = 3,
    itisaPngGlyph = 4,
};

// An image entry: its own picture, or a rectangle R in the master bitmap when Bmp is null.
struct TsMaskData {
    std::unique_ptr<framework::TBitmap> Bmp;
    std::string SectionName;
    std::string PropertyName;
    RECT R{0, 0, 0, 0};
    std::int16_t ImageCount = 0;  // state images side by side in R
    std::int16_t MaskType = 0;    // extra rows of masks below the state images
    std::int16_t BorderWidth = 0;
    std::int16_t DrawMode = 0;
    TacImgType ImgType = itisaBorder;
    TsSkinManager* OwnerManager = nullptr;
    std::int16_t WL = 0, WT = 0, WR = 0, WB = 0;

    // Extents of R; a reversed or absurd rectangle from a skin text gives 0.
    int Width() const { return Extent(R.left, R.right); }
    int Height() const { return Extent(R.top, R.bottom); }
    static int Extent(LONG from, LONG to) {
        std::int64_t e = static_cast<std::int64_t>(to) - from;
        return e > 0 && e <= INT32_MAX ? static_cast<int>(e) : 0;
    }
    // One state image in R: width / ImageCount and height / (MaskType + 1), 0 when undefined.
    int StateWidth() const;
    int StateHeight() const;
    // State size as painters take it: an own picture is split in three by two.
    int StateSizeWidth() const;
    int StateSizeHeight() const;
    // Nine-part frame widths: WL..WB when positive, else BorderWidth, else the state size.
    int FrameLeft() const;
    int FrameTop() const;
    int FrameRight() const;
    int FrameBottom() const;
};
using TsMaskArray = std::vector<TsMaskData>;

// A large JPEG texture kept as a 24-bit picture.
struct TsPatternData {
    std::unique_ptr<framework::TBitmap> Img;
    std::string SectionName;   // upper case
    std::string PropertyName;  // upper case
};
using TsPatternArray = std::vector<TsPatternData>;

// Indexes looked up once per load; -1 when the skin lacks the entry.
enum TsCachedIndex : int {
    ciBoxChecked, ciBoxUnchecked, ciBoxGrayed,
    ciRadioChecked, ciRadioUnchecked, ciRadioGrayed,
    ciSmallChecked, ciSmallUnchecked, ciSmallGrayed,
    ciExBorder,
    ciComboBtnSection, ciComboBtnBorder, ciComboBtnBG, ciComboBtnBGHot, ciComboBoxGlyph,
    ciTabTopSection, ciTabBottomSection, ciTabLeftSection, ciTabRightSection,
    ciTabTopBorder, ciTabBottomBorder, ciTabLeftBorder, ciTabRightBorder,
    // Scroll-bar parts, in the order top, bottom, left, right button, vertical, horizontal slider.
    ciScrollBtnTopSection, ciScrollBtnBottomSection, ciScrollBtnLeftSection,
    ciScrollBtnRightSection, ciScrollSliderVSection, ciScrollSliderHSection,
    ciScrollBtnTopBorder, ciScrollBtnBottomBorder, ciScrollBtnLeftBorder,
    ciScrollBtnRightBorder, ciScrollSliderVBorder, ciScrollSliderHBorder,
    ciScrollBtnTopGlyph, ciScrollBtnBottomGlyph, ciScrollBtnLeftGlyph,
    ciScrollBtnRightGlyph, ciScrollSliderVGlyph, ciScrollSliderHGlyph,
    ciScrollBtnTopBG, ciScrollBtnBottomBG, ciScrollBtnLeftBG,
    ciScrollBtnRightBG, ciScrollSliderVBG, ciScrollSliderHBG,
    ciScrollBtnTopBGHot, ciScrollBtnBottomBGHot, ciScrollBtnLeftBGHot,
    ciScrollBtnRightBGHot, ciScrollSliderVBGHot, ciScrollSliderHBGHot,
    // Scroll-bar tracks, in the order 1H, 1V, 2H, 2V.
    ciScrollBar1HSection, ciScrollBar1VSection, ciScrollBar2HSection, ciScrollBar2VSection,
    ciScrollBar1HBorder, ciScrollBar1VBorder, ciScrollBar2HBorder, ciScrollBar2VBorder,
    ciScrollBar1HBG, ciScrollBar1VBG, ciScrollBar2HBG, ciScrollBar2VBG,
    ciScrollBar1HBGHot, ciScrollBar1VBGHot, ciScrollBar2HBGHot, ciScrollBar2VBGHot,
    ciCount
};
using TsCachedIndexes = std::array<int, ciCount>;
// The name of an entry, e.g. "BoxChecked", "ScrollBar2VBGHot".
std::string_view CachedIndexName(TsCachedIndex index);

class TsSkinModel {
public:
    TsSkinModel();
    TsSkinModel(const TsSkinModel&) = delete;
    TsSkinModel& operator=(const TsSkinModel&) = delete;

    TsSkinData GlobalInfo;
    std::vector<TsGeneralData> Sections;
    TsMaskArray Masks;
    TsPatternArray Patterns;
    // 24-bit, transparent colour $FF00FF; exists (maybe empty) once an options text was loaded.
    std::unique_ptr<framework::TBitmap> MasterBitmap;
    int GlobalInfoIndex = -1;
    TsCachedIndexes CachedIndexes;

    // Frees every picture and record; GlobalInfo keeps SkinDir.
    void Clear();
    bool Empty() const { return Sections.empty() && Masks.empty() && Patterns.empty(); }

    // Lookups compare names exactly, letter case included; -1 when absent.
    int FindSection(std::string_view name) const;
    int FindMaskOwn(std::string_view sectionName, std::string_view propertyName) const;
    // As FindMaskOwn, then along the section's ParentClass chain (a cycle ends the search).
    int FindMask(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const;
    // As FindMask, counting only itisaTexture entries.
    int FindTexture(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const;
    // As FindMask, over Patterns.
    int FindPattern(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const;

    // The state size and frame widths of Masks[index]; 0 for an index out of range.
    SIZE MaskStateSize(int index) const;
    RECT MaskFrameWidths(int index) const;  // left, top, right, bottom

    // Global colours, converted to RGB, with the platform's colours where the skin has none.
    TColor GlobalColor() const;
    TColor GlobalFontColor() const;
    TColor GlobalHotColor() const;
    TColor EditHotFontColor() const;
    TColor MenuHighlightColor() const;
    TColor MenuHighlightTextColor() const;

    // Sets GlobalInfoIndex, CachedIndexes and every section's frame indexes.
    void UpdateIndexes();

    // Bytes of pictures held (for the memory limit).
    std::size_t PictureBytes() const;
};

}  // namespace skin

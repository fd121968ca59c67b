#include "skin/skin_model.h"

#include <algorithm>

namespace skin {
namespace {

constexpr std::string_view kCachedNames[ciCount] = {
    "BoxChecked", "BoxUnchecked", "BoxGrayed",
    "RadioChecked", "RadioUnchecked", "RadioGrayed",
    "SmallChecked", "SmallUnchecked", "SmallGrayed",
    "ExBorder",
    "ComboBtnSection", "ComboBtnBorder", "ComboBtnBG", "ComboBtnBGHot", "ComboBoxGlyph",
    "TabTopSection", "TabBottomSection", "TabLeftSection", "TabRightSection",
    "TabTopBorder", "TabBottomBorder", "TabLeftBorder", "TabRightBorder",
    "ScrollBtnTopSection", "ScrollBtnBottomSection", "ScrollBtnLeftSection",
    "ScrollBtnRightSection", "ScrollSliderVSection", "ScrollSliderHSection",
    "ScrollBtnTopBorder", "ScrollBtnBottomBorder", "ScrollBtnLeftBorder",
    "ScrollBtnRightBorder", "ScrollSliderVBorder", "ScrollSliderHBorder",
    "ScrollBtnTopGlyph", "ScrollBtnBottomGlyph", "ScrollBtnLeftGlyph",
    "ScrollBtnRightGlyph", "ScrollSliderVGlyph", "ScrollSliderHGlyph",
    "ScrollBtnTopBG", "ScrollBtnBottomBG", "ScrollBtnLeftBG",
    "ScrollBtnRightBG", "ScrollSliderVBG", "ScrollSliderHBG",
    "ScrollBtnTopBGHot", "ScrollBtnBottomBGHot", "ScrollBtnLeftBGHot",
    "ScrollBtnRightBGHot", "ScrollSliderVBGHot", "ScrollSliderHBGHot",
    "ScrollBar1HSection", "ScrollBar1VSection", "ScrollBar2HSection", "ScrollBar2VSection",
    "ScrollBar1HBorder", "ScrollBar1VBorder", "ScrollBar2HBorder", "ScrollBar2VBorder",
    "ScrollBar1HBG", "ScrollBar1VBG", "ScrollBar2HBG", "ScrollBar2VBG",
    "ScrollBar1HBGHot", "ScrollBar1VBGHot", "ScrollBar2HBGHot", "ScrollBar2VBGHot",
};

constexpr const char* kCheckGlyphs[9] = {"BOXCHECKED",   "BOXUNCHECKED",   "BOXGRAYED",
                                         "RADIOCHECKED", "RADIOUNCHECKED", "RADIOGRAYED",
                                         "SMALLCHECKED", "SMALLUNCHECKED", "SMALLGRAYED"};
constexpr const char* kTabs[4] = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};
constexpr const char* kScrollParts[6] = {"SCROLLBTNTOP",   "SCROLLBTNBOTTOM", "SCROLLBTNLEFT",
                                         "SCROLLBTNRIGHT", "SCROLLSLIDERV",   "SCROLLSLIDERH"};
constexpr const char* kScrollTracks[4] = {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"};

// Walks the PARENTCLASS chain from a section, asking `own` at each step. A chain that comes
// back to a section already visited stops there.
template <class Own>
int FindAlongChain(const TsSkinModel& m, int sectionIndex, std::string_view sectionName, Own own) {
    std::vector<bool> visited(m.Sections.size(), false);
    while (true) {
        if (sectionIndex < 0 || static_cast<std::size_t>(sectionIndex) >= m.Sections.size()) return -1;
        int found = own(sectionName);
        if (found >= 0) return found;
        visited[static_cast<std::size_t>(sectionIndex)] = true;
        const std::string& parent = m.Sections[static_cast<std::size_t>(sectionIndex)].ParentClass;
        if (parent.empty() || parent == sectionName) return -1;
        int parentIndex = m.FindSection(parent);
        if (parentIndex < 0 || visited[static_cast<std::size_t>(parentIndex)]) return -1;
        sectionIndex = parentIndex;
        sectionName = m.Sections[static_cast<std::size_t>(parentIndex)].SectionName;
    }
}

int StateFromCount(int extent, int count) { return count > 0 ? extent / count : 0; }

}  // namespace

std::string_view CachedIndexName(TsCachedIndex index) {
    return index >= 0 && index < ciCount ? kCachedNames[index] : std::string_view{};
}

int TsMaskData::StateWidth() const { return StateFromCount(Width(), ImageCount); }
int TsMaskData::StateHeight() const { return MaskType == -1 ? 0 : StateFromCount(Height(), MaskType + 1); }

int TsMaskData::StateSizeWidth() const { return Bmp ? Bmp->Width() / 3 : StateWidth(); }
int TsMaskData::StateSizeHeight() const { return Bmp ? Bmp->Height() / 2 : StateHeight(); }

int TsMaskData::FrameLeft() const {
    if (WL > 0) return WL;
    if (BorderWidth > 0) return BorderWidth;
    return Width() / std::max<int>(ImageCount, 1);
}
int TsMaskData::FrameTop() const {
    if (WT > 0) return WT;
    if (BorderWidth > 0) return BorderWidth;
    return StateHeight();
}
int TsMaskData::FrameRight() const {
    if (WR > 0) return WR;
    if (BorderWidth > 0) return BorderWidth;
    return Width() / std::max<int>(ImageCount, 1);
}
int TsMaskData::FrameBottom() const {
    if (WB > 0) return WB;
    if (BorderWidth > 0) return BorderWidth;
    return StateHeight();
}

TsSkinModel::TsSkinModel() { CachedIndexes.fill(-1); }

void TsSkinModel::Clear() {
    Sections.clear();
    Masks.clear();
    Patterns.clear();
    MasterBitmap.reset();
    GlobalInfoIndex = -1;
    CachedIndexes.fill(-1);
}

int TsSkinModel::FindSection(std::string_view name) const {
    for (std::size_t i = 0; i < Sections.size(); ++i)
        if (Sections[i].SectionName == name) return static_cast<int>(i);
    return -1;
}

int TsSkinModel::FindMaskOwn(std::string_view sectionName, std::string_view propertyName) const {
    if (sectionName.empty()) return -1;
    for (std::size_t i = 0; i < Masks.size(); ++i)
        if (Masks[i].SectionName == sectionName && Masks[i].PropertyName == propertyName) return static_cast<int>(i);
    return -1;
}

int TsSkinModel::FindMask(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const {
    return FindAlongChain(*this, sectionIndex, sectionName,
                          [&](std::string_view s) { return FindMaskOwn(s, propertyName); });
}

int TsSkinModel::FindTexture(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const {
    return FindAlongChain(*this, sectionIndex, sectionName, [&](std::string_view s) {
        if (s.empty()) return -1;
        for (std::size_t i = 0; i < Masks.size(); ++i) {
            const TsMaskData& m = Masks[i];
            if (m.ImgType == itisaTexture && m.SectionName == s && m.PropertyName == propertyName)
                return static_cast<int>(i);
        }
        return -1;
    });
}

int TsSkinModel::FindPattern(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const {
    return FindAlongChain(*this, sectionIndex, sectionName, [&](std::string_view s) {
        if (s.empty()) return -1;
        for (std::size_t i = 0; i < Patterns.size(); ++i)
            if (Patterns[i].SectionName == s && Patterns[i].PropertyName == propertyName) return static_cast<int>(i);
        return -1;
    });
}

SIZE TsSkinModel::MaskStateSize(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= Masks.size()) return SIZE{0, 0};
    const TsMaskData& m = Masks[static_cast<std::size_t>(index)];
    return SIZE{m.StateSizeWidth(), m.StateSizeHeight()};
}

RECT TsSkinModel::MaskFrameWidths(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= Masks.size()) return RECT{0, 0, 0, 0};
    const TsMaskData& m = Masks[static_cast<std::size_t>(index)];
    return RECT{m.FrameLeft(), m.FrameTop(), m.FrameRight(), m.FrameBottom()};
}

TColor TsSkinModel::GlobalColor() const {
    int i = FindSection("GLOBALINFO");
    return static_cast<TColor>(framework::ColorToRGB(i >= 0 ? Sections[static_cast<std::size_t>(i)].Color : framework::clBtnFace));
}

TColor TsSkinModel::GlobalFontColor() const {
    int i = FindSection("GLOBALINFO");
    if (i < 0) return kTransparentColor;
    return static_cast<TColor>(framework::ColorToRGB(Sections[static_cast<std::size_t>(i)].FontColor[0]));
}

TColor TsSkinModel::GlobalHotColor() const {
    int i = FindSection("GLOBALINFO");
    return static_cast<TColor>(framework::ColorToRGB(i >= 0 ? Sections[static_cast<std::size_t>(i)].HotColor : framework::clWindow));
}

TColor TsSkinModel::EditHotFontColor() const {
    int i = FindSection("EDIT");
    if (i < 0) return kTransparentColor;
    return static_cast<TColor>(framework::ColorToRGB(Sections[static_cast<std::size_t>(i)].HotFontColor[0]));
}

namespace {
bool UsableMenuHot(TColor c) { return c != -1 && c != kTransparentColor && c != 0xFFFFFF; }
}  // namespace

TColor TsSkinModel::MenuHighlightColor() const {
    int i = FindSection("MENUITEM");
    if (i >= 0 && UsableMenuHot(Sections[static_cast<std::size_t>(i)].HotColor))
        return static_cast<TColor>(framework::ColorToRGB(Sections[static_cast<std::size_t>(i)].HotColor));
    return static_cast<TColor>(framework::ColorToRGB(framework::clHighlight));
}

TColor TsSkinModel::MenuHighlightTextColor() const {
    int i = FindSection("MENUITEM");
    if (i >= 0 && UsableMenuHot(Sections[static_cast<std::size_t>(i)].HotColor)) {
        TColor c = Sections[static_cast<std::size_t>(i)].HotFontColor[0];
        if (UsableMenuHot(c) && c != 0) return static_cast<TColor>(framework::ColorToRGB(c));
    }
    return static_cast<TColor>(framework::ColorToRGB(framework::clHighlightText));
}

void TsSkinModel::UpdateIndexes() {
    TsCachedIndexes& ci = CachedIndexes;
    GlobalInfoIndex = FindSection("GLOBALINFO");
    for (int i = 0; i < 9; ++i) ci[ciBoxChecked + i] = FindMask(GlobalInfoIndex, "GLOBALINFO", kCheckGlyphs[i]);
    ci[ciExBorder] = FindMask(GlobalInfoIndex, "GLOBALINFO", "EXBORDER");

    int combo = FindSection("COMBOBTN");
    ci[ciComboBtnSection] = combo;
    ci[ciComboBtnBorder] = FindMaskOwn("COMBOBTN", "BORDERSMASK");
    ci[ciComboBtnBG] = FindTexture(combo, "COMBOBTN", "PATTERN");
    ci[ciComboBtnBGHot] = FindTexture(combo, "COMBOBTN", "HOTPATTERN");
    ci[ciComboBoxGlyph] = FindMaskOwn("COMBOBOX", "GLYPHMASK");

    for (int i = 0; i < 4; ++i) {
        int s = FindSection(kTabs[i]);
        ci[ciTabTopSection + i] = s;
        ci[ciTabTopBorder + i] = FindMask(s, kTabs[i], "BORDERSMASK");
    }
    for (int i = 0; i < 6; ++i) {
        int s = FindSection(kScrollParts[i]);
        ci[ciScrollBtnTopSection + i] = s;
        ci[ciScrollBtnTopBorder + i] = FindMask(s, kScrollParts[i], "BORDERSMASK");
        ci[ciScrollBtnTopGlyph + i] = s >= 0 ? FindMask(s, kScrollParts[i], "GLYPHMASK") : -1;
        ci[ciScrollBtnTopBG + i] = FindMask(s, kScrollParts[i], "PATTERN");
        ci[ciScrollBtnTopBGHot + i] = FindMask(s, kScrollParts[i], "HOTPATTERN");
    }
    for (int i = 0; i < 4; ++i) {
        int s = FindSection(kScrollTracks[i]);
        ci[ciScrollBar1HSection + i] = s;
        ci[ciScrollBar1HBorder + i] = FindMask(s, kScrollTracks[i], "BORDERSMASK");
        ci[ciScrollBar1HBG + i] = FindMask(s, kScrollTracks[i], "PATTERN");
        ci[ciScrollBar1HBGHot + i] = FindMask(s, kScrollTracks[i], "HOTPATTERN");
    }

    for (std::size_t i = 0; i < Sections.size(); ++i) {
        if (static_cast<int>(i) == GlobalInfoIndex) continue;
        TsGeneralData& s = Sections[i];
        int si = static_cast<int>(i);
        s.BorderIndex = FindMask(si, s.SectionName, "BORDERSMASK");
        s.ImgTL = FindMask(si, s.SectionName, "IMGTOPLEFT");
        s.ImgTR = FindMask(si, s.SectionName, "IMGTOPRIGHT");
        s.ImgBL = FindMask(si, s.SectionName, "IMGBTMLEFT");
        s.ImgBR = FindMask(si, s.SectionName, "IMGBTMRIGHT");
    }
}

std::size_t TsSkinModel::PictureBytes() const {
    auto bytes = [](const framework::TBitmap* b) {
        return b ? static_cast<std::size_t>(b->Stride()) * static_cast<std::size_t>(b->Height()) : 0u;
    };
    std::size_t total = bytes(MasterBitmap.get());
    for (const TsMaskData& m : Masks) total += bytes(m.Bmp.get());
    for (const TsPatternData& p : Patterns) total += bytes(p.Img.get());
    return total;
}

}  // namespace skin

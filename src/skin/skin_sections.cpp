// Global values and section records, read with PARENTCLASS inheritance.
#include <algorithm>

#include "skin/skin_colors.h"
#include "skin/skin_loader.h"
#include "skin/skin_text.h"

namespace skin {

const char* const kVersionNotice =
    "This version of the skin have not complete support by the skin engine release in use.\r\n"
    "Components must be updated up to latest version for using this skin.";

namespace {

enum class Kind { Color, ColorRGB, Int, UInt8, Bool };

// Every key of a section record, listed once: the reader and the common-section merge walk it.
struct Field {
    std::string_view key;
    Kind kind;
    int fallback;
    void (*set)(TsGeneralData&, int);
    int (*get)(const TsGeneralData&);
};

#define SKIN_FIELD(key, member, kind, fallback)                                               \
    Field {                                                                                   \
        key, kind, fallback,                                                                  \
            [](TsGeneralData& d, int v) { d.member = static_cast<decltype(d.member)>(v); }, \
            [](const TsGeneralData& d) { return static_cast<int>(d.member); }                 \
    }

const Field kFields[] = {
    SKIN_FIELD("COLOR", Color, Kind::ColorRGB, 0xFFFFFF),
    SKIN_FIELD("FONTCOLOR", FontColor[0], Kind::Color, 0),
    SKIN_FIELD("TCLEFT", FontColor[1], Kind::Color, -1),
    SKIN_FIELD("TCTOP", FontColor[2], Kind::Color, -1),
    SKIN_FIELD("TCRIGHT", FontColor[3], Kind::Color, -1),
    SKIN_FIELD("TCBOTTOM", FontColor[4], Kind::Color, -1),
    SKIN_FIELD("HOTFONTCOLOR", HotFontColor[0], Kind::Color, 0),
    SKIN_FIELD("HOTTCLEFT", HotFontColor[1], Kind::Color, -1),
    SKIN_FIELD("HOTTCTOP", HotFontColor[2], Kind::Color, -1),
    SKIN_FIELD("HOTTCRIGHT", HotFontColor[3], Kind::Color, -1),
    SKIN_FIELD("HOTTCBOTTOM", HotFontColor[4], Kind::Color, -1),
    SKIN_FIELD("GIVEOWNFONT", GiveOwnFont, Kind::Bool, 0),
    SKIN_FIELD("GLOW", GlowCount, Kind::Int, 0),
    SKIN_FIELD("GLOWMARGIN", GlowMargin, Kind::Int, 0),
    SKIN_FIELD("RESERVEDBOOLEAN", ReservedBoolean, Kind::Bool, 0),
    SKIN_FIELD("TRANSPARENCY", Transparency, Kind::Int, 0),
    SKIN_FIELD("GRADIENTPERCENT", GradientPercent, Kind::Int, 0),
    SKIN_FIELD("IMAGEPERCENT", ImagePercent, Kind::Int, 0),
    SKIN_FIELD("SHOWFOCUS", ShowFocus, Kind::Bool, 0),
    SKIN_FIELD("FADINGENABLED", FadingEnabled, Kind::Bool, 0),
    SKIN_FIELD("FADINGITERATIONS", FadingIterations, Kind::Int, 5),
    SKIN_FIELD("HOTCOLOR", HotColor, Kind::Color, 0xFFFFFF),
    SKIN_FIELD("HOTTRANSPARENCY", HotTransparency, Kind::Int, 0),
    SKIN_FIELD("HOTGRADIENTPERCENT", HotGradientPercent, Kind::Int, 0),
    SKIN_FIELD("HOTIMAGEPERCENT", HotImagePercent, Kind::Int, 0),
    SKIN_FIELD("HGCOL", HotGlowColor, Kind::ColorRGB, 0xFFFFFF),
    SKIN_FIELD("GCOL", GlowColor, Kind::ColorRGB, 0xFFFFFF),
    SKIN_FIELD("HGSIZE", HotGlowSize, Kind::UInt8, 0),
    SKIN_FIELD("GSIZE", GlowSize, Kind::UInt8, 0),
};
#undef SKIN_FIELD

// Reads keys of one section of the options text, following PARENTCLASS when a key is absent
// (or -1, or "?"). A chain that comes back to a section already seen ends with the default.
class InheritedReader {
public:
    InheritedReader(const TsOptionsText& text, const std::string& section) : text_(text), start_(text.FindSection(section)) {}

    int Integer(const std::string& upperKey, int fallback) const {
        int result = fallback;
        Walk([&](const TsOptionsText::Section& s) {
            auto v = TsOptionsText::UpperKeyValue(s, upperKey);
            auto n = v ? ParseInteger(*v) : std::nullopt;
            if (!n || *n == -1) return false;
            result = *n;
            return true;
        });
        return result;
    }

    std::string Text(const std::string& upperKey, std::string_view fallback) const {
        std::string result(fallback);
        Walk([&](const TsOptionsText::Section& s) {
            auto v = TsOptionsText::UpperKeyValue(s, upperKey);
            if (!v || *v == "?") return false;
            result = std::string(*v);
            return true;
        });
        return result;
    }

private:
    template <class Probe>
    void Walk(Probe probe) const {
        static const std::string kParent = "PARENTCLASS";
        std::vector<const TsOptionsText::Section*> seen;
        const TsOptionsText::Section* current = start_;
        while (current) {
            if (probe(*current)) return;
            seen.push_back(current);
            auto parent = TsOptionsText::UpperKeyValue(*current, kParent);
            if (!parent || parent->empty() || *parent == "?" || *parent == current->name) return;
            current = text_.FindSection(*parent);
            if (std::find(seen.begin(), seen.end(), current) != seen.end()) return;
        }
    }

    const TsOptionsText& text_;
    const TsOptionsText::Section* start_;
};

TColor ToRGB(int v) { return static_cast<TColor>(framework::ColorToRGB(v)); }

int Converted(Kind kind, int v) {
    switch (kind) {
        case Kind::ColorRGB: return ToRGB(v);
        case Kind::UInt8: return static_cast<std::uint8_t>(v);
        default: return v;
    }
}

bool IsTrue(std::string_view text) { return UpperCase(text) == "TRUE"; }

std::int16_t Short(int v) { return static_cast<std::int16_t>(v); }

// Strictly converted global keys: a present value that is no integer fails the load.
std::int16_t StrictShort(const TsOptionsText& t, std::string_view key, std::string_view fallback) {
    return Short(StrToInt(t.ReadString("GLOBALINFO", key, fallback)));
}

void ReadGlobalInfo(TsSkinData& g, const TsOptionsText& t) {
    const std::string_view gi = "GLOBALINFO";
    g.Version = 0;
    if (auto v = t.Value(gi, "VERSION"))
        if (auto r = ParseReal(*v)) g.Version = *r;
    g.Author = t.ReadString(gi, "AUTHOR", "");
    g.Description = t.ReadString(gi, "DESCRIPTION", "");
    g.Shadow1Color = t.ReadInteger(gi, "SHADOW1COLOR", 0);
    g.Shadow1Offset = StrictShort(t, "SHADOW1OFFSET", "0");
    g.Shadow1Blur = StrictShort(t, "SHADOW1BLUR", "-1");
    g.Shadow1Transparency = StrictShort(t, "SHADOW1TRANSPARENCY", "0");
    g.FormBorderWidth = Short(t.ReadInteger(gi, "BORDERWIDTH", 4));
    g.TitleHeight = Short(t.ReadInteger(gi, "TITLEHEIGHT", 30));
    g.MaxTitleHeight = Short(t.ReadInteger(gi, "MAXHEIGHT", 0));
    if (g.MaxTitleHeight == 0) g.MaxTitleHeight = g.TitleHeight;
    g.FormOffset = Short(t.ReadInteger(gi, "FORMOFFSET", 8));
    g.CenterOffset = Short(t.ReadInteger(gi, "CENTEROFFSET", 0));
    g.BorderMode = Short(t.ReadInteger(gi, "BORDERMODE", 0));
    g.BorderColor = t.ReadInteger(gi, "BORDERCOLOR", 0);
    g.TitleIconSpace = Short(t.ReadInteger(gi, "BISPACE", 0));
    g.TitleIconVAlign = Short(t.ReadInteger(gi, "BIVALIGN", 0));
    g.TitleIconRight = Short(t.ReadInteger(gi, "BIRIGHT", 0));
    g.TitleIconLeft = Short(t.ReadInteger(gi, "BILEFT", 0));
    g.TitleIconTop = Short(t.ReadInteger(gi, "BITOP", 0));
    g.TitleIconKeepHue = Short(t.ReadInteger(gi, "BIKEEPHUE", 0));
    g.CloseIconGlow = StrictShort(t, "BICONCLOSEGLOW", "0");
    g.CloseIconGlowMargin = StrictShort(t, "BICONCLOSEGLOWMARGIN", "0");
    g.MaxIconGlow = StrictShort(t, "BICONMAXGLOW", "0");
    g.MaxIconGlowMargin = StrictShort(t, "BICONMAXGLOWMARGIN", "0");
    g.MinIconGlow = StrictShort(t, "BICONMINGLOW", "0");
    g.MinIconGlowMargin = StrictShort(t, "BICONMINGLOWMARGIN", "0");
}

TsGeneralData ReadSection(const TsOptionsText& t, const std::string& name) {
    TsGeneralData d;
    d.SectionName = name;
    d.ParentClass = t.ReadString(name, "PARENTCLASS", "");
    InheritedReader r(t, name);
    for (const Field& f : kFields) {
        const std::string key(f.key);
        if (f.kind == Kind::Bool)
            f.set(d, IsTrue(r.Text(key, "FALSE")) ? 1 : 0);
        else
            f.set(d, Converted(f.kind, r.Integer(key, f.fallback)));
    }
    d.GradientData = r.Text("GRADIENTDATA", " ");
    d.HotGradientData = r.Text("HOTGRADIENTDATA", "");
    if (d.GradientData != " ") d.GradientArray = ParseGradient(d.GradientData);
    if (d.HotGradientData != " ") d.HotGradientArray = ParseGradient(d.HotGradientData);
    return d;
}

// A section of the manager's CommonSections that the skin lacks; absent keys come from the
// parent record or the defaults; colours are kept as written.
TsGeneralData ReadCommonSection(const TsSkinModel& model, const TsOptionsText::Section& s,
                                const TsOptionsText& common) {
    TsGeneralData d;
    d.SectionName = s.name;
    auto own = [&](std::string_view key) { return common.Value(s.name, key); };
    auto parentClass = own("PARENTCLASS");
    d.ParentClass = parentClass ? UpperCase(*parentClass) : "-1";
    const TsGeneralData* parent = nullptr;
    for (const TsGeneralData& candidate : model.Sections)
        if (UpperCase(candidate.SectionName) == d.ParentClass) {
            parent = &candidate;
            break;
        }
    for (const Field& f : kFields) {
        int value = parent ? f.get(*parent) : f.fallback;
        if (auto v = own(f.key)) {
            if (f.kind == Kind::Bool)
                value = IsTrue(*v) ? 1 : 0;
            else if (auto n = ParseInteger(*v))
                value = f.kind == Kind::UInt8 ? static_cast<std::uint8_t>(*n) : *n;
        }
        f.set(d, value);
    }
    auto grad = own("GRADIENTDATA");
    auto hotGrad = own("HOTGRADIENTDATA");
    d.GradientData = grad ? std::string(*grad) : parent ? parent->GradientData : std::string(" ");
    d.HotGradientData = hotGrad ? std::string(*hotGrad) : parent ? parent->HotGradientData : std::string();
    if (d.GradientData != " ") d.GradientArray = ParseGradient(d.GradientData);
    if (d.HotGradientData != " ") d.HotGradientArray = ParseGradient(d.HotGradientData);
    return d;
}

void MergeCommonSections(TsSkinModel& model, const TsOptionsText& common) {
    for (const TsOptionsText::Section& s : common.Sections()) {
        if (model.FindSection(s.name) >= 0) continue;
        TsGeneralData d = ReadCommonSection(model, s, common);
        model.Sections.push_back(std::move(d));
    }
}

}  // namespace

TsGradArray ParseGradient(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find(';', pos);
        if (end == std::string_view::npos) end = text.size();
        if (end > pos) words.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    TsGradArray parts;
    for (std::size_t i = 0; i + 5 <= words.size(); i += 5) {
        TsGradPart p;
        p.Color1 = std::max(0, StrToInt(words[i]));
        p.Color2 = std::max(0, StrToInt(words[i + 1]));
        p.Percent = static_cast<std::uint8_t>(std::clamp(StrToInt(words[i + 2]), 0, 100));
        p.Mode = StrToInt(words[i + 3]);
        parts.push_back(p);
    }
    return parts;
}

void LoadSections(TsSkinModel& model, const TsLoadSource& source) {
    const TsOptionsText& t = *source.options;
    ReadGlobalInfo(model.GlobalInfo, t);
    if (model.GlobalInfo.Version > kEngineVersionLimit && source.versionNotice) source.versionNotice(kVersionNotice);
    model.Sections.clear();
    model.Sections.reserve(t.Sections().size());
    for (const TsOptionsText::Section& s : t.Sections()) model.Sections.push_back(ReadSection(t, s.name));
    if (source.common && !source.common->Empty()) MergeCommonSections(model, *source.common);
    ApplyColorTransform(model, source.hueOffset, source.saturation);
}

void LoadModel(TsSkinModel& model, const TsLoadSource& source) {
    LoadMasks(model, source);
    LoadPatterns(model, source);
    LoadSections(model, source);
    model.UpdateIndexes();
}

}  // namespace skin

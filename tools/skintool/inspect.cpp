// Loads a skin through the manager and prints its model.
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "json_writer.h"
#include "skin/skin_files.h"
#include "skin/skin_manager.h"
#include "skin/skin_text.h"

namespace skintool {
namespace {

using namespace skin;

void WriteGradient(JsonWriter& j, const TsGradArray& parts) {
    j.BeginArray();
    for (const TsGradPart& p : parts) {
        j.BeginObject();
        j.Key("Color1"), j.Number(static_cast<long long>(p.Color1));
        j.Key("Color2"), j.Number(static_cast<long long>(p.Color2));
        j.Key("Percent"), j.Number(static_cast<long long>(p.Percent));
        j.Key("Mode"), j.Number(static_cast<long long>(p.Mode));
        j.EndObject();
    }
    j.EndArray();
}

void WriteColors(JsonWriter& j, const std::array<TColor, 5>& colors) {
    j.BeginArray();
    for (TColor c : colors) j.Number(static_cast<long long>(c));
    j.EndArray();
}

void WriteGlobal(JsonWriter& j, const TsSkinData& g) {
    auto n = [&](const char* key, long long v) { j.Key(key), j.Number(v); };
    j.BeginObject();
    j.Key("Version"), j.Number(g.Version);
    j.Key("Author"), j.String(g.Author);
    j.Key("Description"), j.String(g.Description);
    n("Shadow1Color", g.Shadow1Color);
    n("Shadow1Offset", g.Shadow1Offset);
    n("Shadow1Blur", g.Shadow1Blur);
    n("Shadow1Transparency", g.Shadow1Transparency);
    n("FormBorderWidth", g.FormBorderWidth);
    n("TitleHeight", g.TitleHeight);
    n("MaxTitleHeight", g.MaxTitleHeight);
    n("FormOffset", g.FormOffset);
    n("CenterOffset", g.CenterOffset);
    n("BorderMode", g.BorderMode);
    n("BorderColor", g.BorderColor);
    n("TitleIconSpace", g.TitleIconSpace);
    n("TitleIconVAlign", g.TitleIconVAlign);
    n("TitleIconRight", g.TitleIconRight);
    n("TitleIconLeft", g.TitleIconLeft);
    n("TitleIconTop", g.TitleIconTop);
    n("TitleIconKeepHue", g.TitleIconKeepHue);
    n("CloseIconGlow", g.CloseIconGlow);
    n("CloseIconGlowMargin", g.CloseIconGlowMargin);
    n("MaxIconGlow", g.MaxIconGlow);
    n("MaxIconGlowMargin", g.MaxIconGlowMargin);
    n("MinIconGlow", g.MinIconGlow);
    n("MinIconGlowMargin", g.MinIconGlowMargin);
    j.EndObject();
}

void WriteSection(JsonWriter& j, const TsGeneralData& s) {
    auto n = [&](const char* key, long long v) { j.Key(key), j.Number(v); };
    auto b = [&](const char* key, bool v) { j.Key(key), j.Bool(v); };
    j.BeginObject();
    j.Key("ParentClass"), j.String(s.ParentClass);
    j.Key("SectionName"), j.String(s.SectionName);
    n("Color", s.Color);
    j.Key("FontColor"), WriteColors(j, s.FontColor);
    j.Key("HotFontColor"), WriteColors(j, s.HotFontColor);
    b("GiveOwnFont", s.GiveOwnFont);
    n("GlowCount", s.GlowCount);
    n("GlowMargin", s.GlowMargin);
    b("ReservedBoolean", s.ReservedBoolean);
    n("Transparency", s.Transparency);
    n("GradientPercent", s.GradientPercent);
    j.Key("GradientData"), j.String(s.GradientData);
    j.Key("GradientArray"), WriteGradient(j, s.GradientArray);
    n("ImagePercent", s.ImagePercent);
    b("ShowFocus", s.ShowFocus);
    b("FadingEnabled", s.FadingEnabled);
    n("FadingIterations", s.FadingIterations);
    n("HotColor", s.HotColor);
    n("HotTransparency", s.HotTransparency);
    n("HotGradientPercent", s.HotGradientPercent);
    j.Key("HotGradientData"), j.String(s.HotGradientData);
    j.Key("HotGradientArray"), WriteGradient(j, s.HotGradientArray);
    n("HotImagePercent", s.HotImagePercent);
    n("HotGlowColor", s.HotGlowColor);
    n("GlowColor", s.GlowColor);
    n("HotGlowSize", s.HotGlowSize);
    n("GlowSize", s.GlowSize);
    n("BorderIndex", s.BorderIndex);
    n("ImgTL", s.ImgTL);
    n("ImgTR", s.ImgTR);
    n("ImgBL", s.ImgBL);
    n("ImgBR", s.ImgBR);
    j.EndObject();
}

void WriteMask(JsonWriter& j, const TsMaskData& m) {
    auto n = [&](const char* key, long long v) { j.Key(key), j.Number(v); };
    j.BeginObject();
    j.Key("SectionName"), j.String(m.SectionName);
    j.Key("PropertyName"), j.String(m.PropertyName);
    j.Key("R");
    j.BeginArray();
    for (long long v : {m.R.left, m.R.top, m.R.right, m.R.bottom}) j.Number(v);
    j.EndArray();
    n("ImageCount", m.ImageCount);
    n("MaskType", m.MaskType);
    n("BorderWidth", m.BorderWidth);
    n("DrawMode", m.DrawMode);
    n("ImgType", m.ImgType);
    n("WL", m.WL);
    n("WT", m.WT);
    n("WR", m.WR);
    n("WB", m.WB);
    j.Key("Bmp");
    if (!m.Bmp) {
        j.Null();
    } else {
        j.BeginObject();
        n("width", m.Bmp->Width());
        n("height", m.Bmp->Height());
        n("bits", m.Bmp->BytesPerPixel() * 8);
        j.EndObject();
    }
    j.EndObject();
}

void WriteArchive(JsonWriter& j, const std::string& path) {
    std::unique_ptr<TacSkinConvertor> reader;
    OpenArchive(path, reader, true);
    j.BeginObject();
    j.Key("ImageItemCount"), j.Number(static_cast<long long>(reader ? reader->ImageItemCount : 0));
    j.Key("items");
    j.BeginArray();
    if (reader)
        for (const TacImageItem& item : reader->ImageItems) {
            j.BeginObject();
            j.Key("EntryName"), j.String(item.EntryName);
            j.Key("IsBitmap"), j.Bool(item.IsBitmap);
            j.Key("size"), j.Number(static_cast<long long>(item.EntryData.size()));
            j.EndObject();
        }
    j.EndArray();
    j.EndObject();
}

std::string ModelJson(const TsSkinManager& manager, const std::string& archivePath) {
    const TsSkinModel& m = manager.Model();
    JsonWriter j;
    j.BeginObject();
    j.Key("global"), WriteGlobal(j, m.GlobalInfo);
    j.Key("sections");
    j.BeginArray();
    for (const TsGeneralData& s : m.Sections) WriteSection(j, s);
    j.EndArray();
    j.Key("masks");
    j.BeginArray();
    for (const TsMaskData& mask : m.Masks) WriteMask(j, mask);
    j.EndArray();
    j.Key("patterns");
    j.BeginArray();
    for (const TsPatternData& p : m.Patterns) {
        j.BeginObject();
        j.Key("SectionName"), j.String(p.SectionName);
        j.Key("PropertyName"), j.String(p.PropertyName);
        j.Key("width"), j.Number(static_cast<long long>(p.Img ? p.Img->Width() : 0));
        j.Key("height"), j.Number(static_cast<long long>(p.Img ? p.Img->Height() : 0));
        j.EndObject();
    }
    j.EndArray();
    j.Key("master");
    j.BeginObject();
    j.Key("width"), j.Number(static_cast<long long>(m.MasterBitmap ? m.MasterBitmap->Width() : 0));
    j.Key("height"), j.Number(static_cast<long long>(m.MasterBitmap ? m.MasterBitmap->Height() : 0));
    j.EndObject();
    j.Key("cached");
    j.BeginObject();
    for (int i = 0; i < ciCount; ++i)
        j.Key(CachedIndexName(static_cast<TsCachedIndex>(i))), j.Number(static_cast<long long>(m.CachedIndexes[static_cast<std::size_t>(i)]));
    j.EndObject();
    if (!archivePath.empty()) j.Key("archive"), WriteArchive(j, archivePath);
    j.EndObject();
    return j.Text();
}

void PrintSummary(const TsSkinManager& manager) {
    const TsSkinModel& m = manager.Model();
    std::printf("skin %s, version %s, %s\n", manager.SkinName().c_str(), manager.SkinInfo().c_str(),
                manager.IsPacked ? "packed" : "folder");
    std::printf("master bitmap %dx%d\n", m.MasterBitmap ? m.MasterBitmap->Width() : 0,
                m.MasterBitmap ? m.MasterBitmap->Height() : 0);
    std::printf("%zu sections, %zu image entries, %zu textures\n", m.Sections.size(), m.Masks.size(), m.Patterns.size());
    for (const TsGeneralData& s : m.Sections)
        std::printf("  [%s] parent '%s' colour $%06X border %d\n", s.SectionName.c_str(), s.ParentClass.c_str(),
                    static_cast<unsigned>(s.Color), s.BorderIndex);
}

}  // namespace

int Inspect(const std::string& skinPath, bool json) {
    TsSkinManager manager(nullptr);
    std::string archivePath;
    if (!LoadSkin(skinPath, manager, &archivePath)) return 1;
    if (json)
        std::printf("%s\n", ModelJson(manager, archivePath).c_str());
    else
        PrintSummary(manager);
    return 0;
}

int List(const std::string& dir) {
    namespace fs = std::filesystem;
    TsSkinManager manager(nullptr);
    manager.SetSkinDirectory(fs::absolute(SlashPath(dir)).string());
    std::vector<std::string> names;
    manager.ListSkins(names, 2);
    for (const std::string& n : names) std::printf("%s\n", n.c_str());
    return 0;
}

}  // namespace skintool

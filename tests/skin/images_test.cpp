#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "skin/skin_loader.h"
#include "skin_maker.h"

namespace {

using namespace skin;
using namespace skin_testing;

struct Loaded {
    TsOptionsText text;
    TsOptionsText common;
    std::unique_ptr<TacSkinConvertor> archive;
    TsSkinModel model;
};

// Loads the skin as a folder, or packed when `packed`.
std::unique_ptr<Loaded> Load(const SkinFiles& skin, bool packed, const std::string& common = "") {
    auto l = std::make_unique<Loaded>();
    TempDir dir;
    TsLoadSource source;
    l->text = TsOptionsText::Parse(skin.options);
    l->common = TsOptionsText::Parse(common);
    source.options = &l->text;
    source.common = &l->common;
    if (packed) {
        Bytes bytes = skin.Packed();
        l->archive = std::make_unique<TacSkinConvertor>();
        l->archive->TakeArchive(bytes);
        ParseArchive(l->archive);
        source.archive = l->archive.get();
    } else {
        skin.WriteFolder(dir.Path());
        source.skinDir = dir.Path() + "/";
    }
    LoadModel(l->model, source);
    return l;
}

const TsMaskData& Mask(const Loaded& l, const char* section, const char* property) {
    int i = l.model.FindMaskOwn(section, property);
    EXPECT_GE(i, 0) << section << "." << property;
    return l.model.Masks[static_cast<std::size_t>(std::max(i, 0))];
}

std::string LoadError(const std::string& options) {
    try {
        Load(SkinFiles{options, {}}, false);
    } catch (const framework::EConvertError& e) {
        return e.what();
    }
    return "no error";
}

SkinFiles FormsSkin() {
    SkinFiles s;
    s.options =
        "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\nAUTHOR=Someone\n"
        "[PANEL]\n"
        "BORDERSMASK=^  10,  20,  70,  50    2,   3,   4,   5 3 1 7 0\n"
        "glyphmask=@   1,   2,  31,  12 3 1\n"
        "PATTERN=~  80,   0,  90,  10  3 1\n"
        "hotpattern=# (5,6,35,26) (0,-2)\n"
        "BTN=!BUTTON.PNG!3!1!9\n"
        "ARROW=!ARROW.BMP!2!0!2!1!2!3!4\n"
        "lowerext=!thing.png!1!0!0\n"
        "MISSING=!NOPE.BMP!1!0!0\n"
        "oldstyle=frame.bmp\n"
        "COLOR=$00FF00\n";
    s.files["MASTER.BMP"] = MakeBmp(120, 64);
    s.files["BUTTON.PNG"] = MakePng(60, 20, true);
    s.files["ARROW.BMP"] = MakeBmp(16, 8, 32);
    s.files["THING.PNG"] = MakePng(4, 4, false);
    s.files["FRAME.BMP"] = MakeBmp(30, 18, 32);
    return s;
}

TEST(SkinImages, EveryEntryFormInFolderAndPackedSkins) {
    for (bool packed : {false, true}) {
        SCOPED_TRACE(packed ? "packed" : "folder");
        auto l = Load(FormsSkin(), packed);
        ASSERT_TRUE(l->model.MasterBitmap);
        EXPECT_EQ(l->model.MasterBitmap->Width(), 120);
        EXPECT_EQ(l->model.MasterBitmap->PixelFormat(), framework::TPixelFormat::pf24bit);
        EXPECT_TRUE(l->model.MasterBitmap->Transparent);

        const TsMaskData& frame = Mask(*l, "PANEL", "BORDERSMASK");
        EXPECT_EQ(frame.R.left, 10);
        EXPECT_EQ(frame.R.bottom, 50);
        EXPECT_EQ(frame.WL, 2);
        EXPECT_EQ(frame.WB, 5);
        EXPECT_EQ(frame.ImageCount, 3);
        EXPECT_EQ(frame.MaskType, 1);
        EXPECT_EQ(frame.DrawMode, 7);
        EXPECT_EQ(frame.ImgType, itisaBorder);

        // Lower-case keys keep their spelling in the fixed-column forms...
        const TsMaskData& glyph = Mask(*l, "PANEL", "glyphmask");
        EXPECT_EQ(glyph.ImgType, itisaGlyph);
        EXPECT_EQ(glyph.R.right, 31);
        EXPECT_EQ(l->model.FindMaskOwn("PANEL", "GLYPHMASK"), -1);
        // ...and are upper-cased in the free form.
        const TsMaskData& free = Mask(*l, "PANEL", "HOTPATTERN");
        EXPECT_EQ(free.ImageCount, 1);  // below 1 becomes 1
        EXPECT_EQ(free.MaskType, 0);    // negative becomes 0
        EXPECT_EQ(free.DrawMode, 1);
        EXPECT_EQ(free.WL, 30 / 3);
        EXPECT_EQ(free.WT, 20 / 3);

        const TsMaskData& tex = Mask(*l, "PANEL", "PATTERN");
        EXPECT_EQ(tex.ImgType, itisaTexture);
        EXPECT_EQ(tex.DrawMode, 3);
        EXPECT_EQ(tex.MaskType, 1);

        const TsMaskData& btn = Mask(*l, "PANEL", "BTN");
        ASSERT_TRUE(btn.Bmp);
        EXPECT_EQ(btn.ImgType, itisaPngGlyph);  // kinds above 4 count as 4
        EXPECT_EQ(btn.Bmp->BytesPerPixel(), 4);
        EXPECT_EQ(btn.DrawMode, 4);
        EXPECT_EQ(btn.WL, 60 / 9);
        EXPECT_EQ(btn.WT, 20 / 6);

        const TsMaskData& arrow = Mask(*l, "PANEL", "ARROW");
        ASSERT_TRUE(arrow.Bmp);
        EXPECT_EQ(arrow.Bmp->BytesPerPixel(), 3);  // a BMP glyph becomes 24 bits
        EXPECT_EQ(arrow.WL, 1);
        EXPECT_EQ(arrow.WB, 4);

        const TsMaskData& old = Mask(*l, "PANEL", "OLDSTYLE");
        EXPECT_EQ(old.ImageCount, 3);
        EXPECT_EQ(old.MaskType, 1);
        EXPECT_EQ(old.Bmp->BytesPerPixel(), 3);

        EXPECT_EQ(l->model.FindMaskOwn("PANEL", "lowerext"), -1);  // ".png" in lower case is ignored
        EXPECT_EQ(l->model.FindMaskOwn("PANEL", "MISSING"), -1);
        EXPECT_EQ(l->model.Masks.size(), 7u);
    }
}

TEST(SkinImages, MalformedNumbersFailTheLoad) {
    struct Row {
        const char* name;
        const char* line;
        const char* error;
    } rows[] = {
        {"glyph too short", "X=@   1,   2,  31,  12 3", "'' is not a valid integer value"},
        {"frame with letters", "X=^  1a,   2,  31,  12   0,   0,   0,   0 1 0 0 0", "'  1a' is not a valid integer value"},
        {"free form without parameters", "X=# (1,2,3,4)", "'' is not a valid integer value"},
        {"hash in ordinary text", "AUTHOR=Skin #1 by me", "'#1' is not a valid integer value"},
        {"own picture without kind", "X=!A.BMP!1!0", "'' is not a valid integer value"},
        {"own picture with five words", "X=!A.BMP!1!0!0!3", "'' is not a valid integer value"},
        {"negative kind", "X=!A.BMP!1!0!-1", "'-1' is not a valid image kind"},
        {"lone hash is skipped", "X=#", "no error"},
        {"texture shorter than its mask column", "X=~   0,   0,  10,  10 2", "no error"},
    };
    for (const Row& r : rows) EXPECT_EQ(LoadError(std::string("[S]\n") + r.line + "\n"), r.error) << r.name;
}

TEST(SkinImages, TexturesFrom90000PixelsStayPatterns) {
    SkinFiles s;
    s.options = "[PANEL]\nBIG=big.jpg\nSMALL=Small.JPEG\n";
    s.files["BIG.JPG"] = MakeJpeg(300, 300);
    s.files["SMALL.JPEG"] = MakeJpeg(299, 300);
    for (bool packed : {false, true}) {
        auto l = Load(s, packed);
        ASSERT_EQ(l->model.Patterns.size(), 1u);
        EXPECT_EQ(l->model.Patterns[0].PropertyName, "BIG");
        EXPECT_EQ(l->model.FindPattern(0, "PANEL", "BIG"), 0);
        const TsMaskData& small = Mask(*l, "PANEL", "SMALL");
        EXPECT_EQ(small.ImgType, itisaTexture);
        EXPECT_EQ(small.ImageCount, 1);
        ASSERT_TRUE(small.Bmp);
        EXPECT_EQ(small.Bmp->Width(), 299);
    }
}

TEST(SkinImages, WhiteTransparentPngPixelsBecomeZero) {
    SkinFiles s;
    s.options = "[PANEL]\nGLOW=!G.PNG!1!0!3\n";
    s.files["G.PNG"] = MakePng(2, 1, true, [](int x, int) { return x == 0 ? 0x00FFFFFFu : 0x00FFFFFEu; });
    auto l = Load(s, false);
    const framework::TBitmap& b = *Mask(*l, "PANEL", "GLOW").Bmp;
    const std::uint8_t* p = b.ScanLine(0);
    EXPECT_EQ(p[0] | p[1] | p[2] | p[3], 0);
    EXPECT_EQ(p[4], 0xFE);  // nearly white stays
}

TEST(SkinImages, LetterCaseOfPictureNames) {
    SkinFiles s;
    s.options = "[GLOBALINFO]\nMASTERBITMAP=master.bmp\n[PANEL]\nB=!Mixed.BMP!1!0!0\n";
    s.files["Master.bmp"] = MakeBmp(8, 8);
    s.files["MIXED.BMP"] = MakeBmp(8, 8);
    // A folder skin finds files whatever their case; an archive entry only by the upper case.
    auto folder = Load(s, false);
    EXPECT_EQ(folder->model.MasterBitmap->Width(), 8);
    EXPECT_GE(folder->model.FindMaskOwn("PANEL", "B"), 0);
    auto packed = Load(s, true);
    EXPECT_EQ(packed->model.MasterBitmap->Width(), 0);
    EXPECT_EQ(packed->model.FindMaskOwn("PANEL", "B"), -1);
}

TEST(SkinImages, CommonSectionPicturesComeFromFiles) {
    TempDir dir;
    WriteFile(dir / "EXTRA.BMP", MakeBmp(9, 9));
    TsOptionsText text = TsOptionsText::Parse("[GLOBALINFO]\n");
    TsOptionsText common = TsOptionsText::Parse("[MYBTN]\nFRAME=extra.bmp\nFREE=# (1,1,5,5) (1,0,2)\n[GLOBALINFO]\nX=extra.bmp\n");
    TsLoadSource source;
    source.options = &text;
    source.common = &common;
    source.skinDir = dir.Path() + "/";
    TsSkinModel model;
    LoadModel(model, source);
    ASSERT_EQ(model.Masks.size(), 2u);
    EXPECT_EQ(model.Masks[0].PropertyName, "FRAME");
    EXPECT_EQ(model.Masks[0].ImageCount, 0);
    EXPECT_EQ(model.Masks[1].WL, 2);  // the border width
}

TEST(SkinImages, DamagedPicturesFailTheLoad) {
    SkinFiles s;
    s.options = "[PANEL]\nB=!B.BMP!1!0!0\n";
    s.files["B.BMP"] = Bytes{'B', 'M', 1, 2, 3};
    EXPECT_THROW(Load(s, false), std::exception);
}

}  // namespace

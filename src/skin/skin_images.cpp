// Image entries, the master bitmap and large textures: how option values name pictures, where
// the pictures are found (archive entry or skin folder) and how they are decoded.
#include <algorithm>
#include <cstring>

#include "platform/image_files.h"
#include "skin/skin_files.h"
#include "skin/skin_loader.h"
#include "skin/skin_text.h"

namespace skin {
namespace {

using framework::TBitmap;
using framework::TPixelFormat;
using BitmapPtr = std::unique_ptr<TBitmap>;

constexpr std::int64_t kPatternPixels = 90000;

// Counts the bytes a load holds so that a skin of absurd size fails cleanly.
class Budget {
public:
    Budget(const TsSkinModel& m, const TsLoadSource& s)
        : used_(m.PictureBytes() + (s.archive ? s.archive->ContentBytes() : 0)) {}
    void Charge(const TBitmap& b) {
        used_ += static_cast<std::size_t>(b.Stride()) * static_cast<std::size_t>(b.Height());
        if (used_ > static_cast<std::size_t>(kMaxSkinBytes))
            throw ESkinArchiveError("Damaged skin: its pictures need more than 512 MiB");
    }

private:
    std::size_t used_;
};

BitmapPtr FromImage(const platform::Image& img, TPixelFormat format) {
    auto bmp = std::make_unique<TBitmap>(img.width, img.height, format);
    const int srcBpp = img.bitsPerPixel / 8, dstBpp = bmp->BytesPerPixel();
    const std::uint8_t* src = img.pixels.data();
    for (int y = 0; y < img.height; ++y, src += img.stride) {
        std::uint8_t* dst = bmp->ScanLine(y);
        if (srcBpp == dstBpp) {
            std::memcpy(dst, src, static_cast<std::size_t>(img.width) * static_cast<std::size_t>(dstBpp));
            continue;
        }
        const std::uint8_t* s = src;
        for (int x = 0; x < img.width; ++x, s += srcBpp, dst += dstBpp) {
            dst[0] = s[0], dst[1] = s[1], dst[2] = s[2];
            if (dstBpp == 4) dst[3] = 255;
        }
    }
    return bmp;
}

// A 32-bit BMP keeps its alpha; everything else becomes 24 bits.
BitmapPtr DecodeBmp(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return std::make_unique<TBitmap>();
    platform::Image img = platform::ReadBmp(bytes.data(), bytes.size());
    auto bmp = FromImage(img, img.hasAlpha ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
    if (img.hasAlpha) bmp->AlphaFormat = framework::TAlphaFormat::afDefined;
    return bmp;
}

// Pure white with alpha 0 becomes all zero, so such pixels blend as nothing.
void ClearWhiteTransparent(TBitmap& bmp) {
    const int width = bmp.Width(), height = bmp.Height();
    const std::ptrdiff_t stride = bmp.Stride();
    std::uint8_t* row = bmp.ScanLine(0);
    for (int y = 0; y < height; ++y, row += stride) {
        std::uint32_t* p = reinterpret_cast<std::uint32_t*>(row);
        for (int x = 0; x < width; ++x) {
            std::uint32_t v;
            std::memcpy(&v, p + x, 4);
            if (v == 0x00FFFFFFu) std::memset(p + x, 0, 4);
        }
    }
}

BitmapPtr DecodePng(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return std::make_unique<TBitmap>();
    platform::Image img = platform::ReadPng(bytes.data(), bytes.size(), platform::AlphaMode::Straight);
    auto bmp = FromImage(img, img.hasAlpha ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
    if (img.hasAlpha) {
        bmp->AlphaFormat = framework::TAlphaFormat::afDefined;
        ClearWhiteTransparent(*bmp);
    }
    return bmp;
}

BitmapPtr DecodeJpeg(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return std::make_unique<TBitmap>();
    platform::Image img = platform::ReadJpeg(bytes.data(), bytes.size());
    return FromImage(img, TPixelFormat::pf24bit);
}

void To24Bit(TBitmap& bmp) {
    if (bmp.PixelFormat() == TPixelFormat::pf24bit || bmp.Empty()) return;
    TBitmap copy(bmp.Width(), bmp.Height(), TPixelFormat::pf24bit);
    for (int y = 0; y < bmp.Height(); ++y) {
        const std::uint8_t* s = bmp.ScanLine(y);
        std::uint8_t* d = copy.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x, s += 4, d += 3) d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
    bmp.Assign(copy);
}

bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

std::vector<std::string_view> SplitRuns(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(separators, pos);
        if (end == std::string_view::npos) end = text.size();
        if (end > pos) words.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return words;
}

std::string_view Word(const std::vector<std::string_view>& words, std::size_t n) {
    return n >= 1 && n <= words.size() ? words[n - 1] : std::string_view{};
}

// Where a picture comes from: the archive's entries (by upper-cased name) or the skin folder.
class PictureSource {
public:
    PictureSource(const TsLoadSource& s, bool filesOnly) : s_(s), archive_(filesOnly ? nullptr : s.archive) {}

    // The bytes of the picture, or nothing when it does not exist.
    std::optional<std::vector<std::uint8_t>> Find(std::string_view name) const {
        if (archive_) {
            int i = archive_->FindItem(name);
            if (i < 0) return std::nullopt;
            return archive_->ImageItems[static_cast<std::size_t>(i)].EntryData;
        }
        std::string path = Contains(name, ":") ? std::string(name) : s_.skinDir + std::string(name);
        path = ResolveSkinPath(path);
        if (!IsFile(path)) return std::nullopt;
        return ReadWholeFile(path);
    }

private:
    const TsLoadSource& s_;
    TacSkinConvertor* archive_;
};

std::int16_t Short(std::int32_t v) { return static_cast<std::int16_t>(v); }

// Frame widths from the size of R when the text gives none.
void FramesFromSize(TsMaskData& m, int width, int height) {
    int across = m.ImageCount * 3, down = (m.MaskType + 1) * 3;
    m.WL = m.WR = Short(across != 0 ? width / across : 0);
    m.WT = m.WB = Short(down != 0 ? height / down : 0);
}

void FramesFromBorder(TsMaskData& m) {
    if (m.WL + m.WT + m.WR + m.WB != 0) return;
    if (m.BorderWidth != 0)
        m.WL = m.WT = m.WR = m.WB = m.BorderWidth;
    else
        FramesFromSize(m, m.Width(), m.Height());
}

RECT FixedRect(std::string_view v) {
    return RECT{FixedField(v, 2, 5), FixedField(v, 7, 10), FixedField(v, 12, 15), FixedField(v, 17, 20)};
}

class MaskLoader {
public:
    MaskLoader(TsSkinModel& model, const TsLoadSource& source, Budget& budget)
        : model_(model), source_(source), budget_(budget) {}

    void Value(const std::string& section, const std::string& key, const std::string& value, const PictureSource& pics) {
        switch (value.front()) {
            case '!': return OwnPicture(section, key, value, pics);
            case '@': return Glyph(section, key, value);
            case '^': return FrameMask(section, key, value);
            case '~': return Texture(section, key, value);
            default: break;
        }
        if (!Contains(value, "#"))
            PlainBitmap(section, key, value, pics);
        else if (value != "#")
            FreeRect(section, key, value);
    }

    void CommonValue(const std::string& section, const std::string& key, const std::string& value, const PictureSource& pics) {
        if (!Contains(value, "#") || !model_.MasterBitmap) {
            BitmapPtr bmp = BmpPicture(value, pics);
            if (!bmp) return;
            TsMaskData& m = Append(UpperCase(section), UpperCase(key));
            Keep(m, std::move(bmp));
        } else if (value != "#") {
            FreeRect(section, key, value);
        }
    }

private:
    // The BMP picture a value names, as 24-bit; null when the value names none or the
    // picture is absent or empty.
    BitmapPtr BmpPicture(const std::string& value, const PictureSource& pics) {
        std::string upper = UpperCase(value);
        if (!Contains(upper, ".BMP")) return nullptr;
        auto bytes = pics.Find(upper);
        if (!bytes) return nullptr;
        BitmapPtr bmp = DecodeBmp(*bytes);
        if (bmp->Width() <= 0) return nullptr;
        To24Bit(*bmp);
        return bmp;
    }

    TsMaskData& Append(std::string section, std::string property) {
        TsMaskData& m = model_.Masks.emplace_back();
        m.SectionName = std::move(section);
        m.PropertyName = std::move(property);
        m.OwnerManager = source_.owner;
        return m;
    }

    void Keep(TsMaskData& m, BitmapPtr bmp) {
        budget_.Charge(*bmp);
        m.Bmp = std::move(bmp);
    }

    void OwnPicture(const std::string& section, const std::string& key, const std::string& value, const PictureSource& pics) {
        auto words = SplitRuns(value, "!");
        std::string_view file = Word(words, 1);
        if (!Contains(file, ".PNG") && !Contains(file, ".BMP")) return;
        std::int32_t imageCount = StrToInt(Word(words, 2));
        std::int32_t maskType = StrToInt(Word(words, 3));
        std::int32_t kind = StrToInt(Word(words, 4));
        if (kind < 0) throw framework::EConvertError("'" + std::string(Word(words, 4)) + "' is not a valid image kind");
        std::int32_t frames[4] = {0, 0, 0, 0};
        if (words.size() > 4)
            for (int i = 0; i < 4; ++i) frames[i] = StrToInt(Word(words, 5 + static_cast<std::size_t>(i)));
        auto bytes = pics.Find(file);
        if (!bytes) return;
        const bool decodePng = IsPng(file);
        BitmapPtr bmp = decodePng ? DecodePng(*bytes) : DecodeBmp(*bytes);
        if (bmp->Width() <= 0) return;
        TacImgType type = static_cast<TacImgType>(std::min(kind, 4));
        if (!decodePng && type != itisaTexture) To24Bit(*bmp);
        TsMaskData& m = Append(section, key);
        m.ImgType = type;
        m.ImageCount = Short(imageCount);
        m.MaskType = Short(maskType);
        m.DrawMode = 4;
        m.R = RECT{0, 0, bmp->Width(), bmp->Height()};
        if (words.size() > 4) {
            m.WL = Short(frames[0]), m.WT = Short(frames[1]), m.WR = Short(frames[2]), m.WB = Short(frames[3]);
        } else {
            FramesFromSize(m, bmp->Width(), bmp->Height());
        }
        Keep(m, std::move(bmp));
    }

    // Of ".PNG" and ".BMP", the one that comes last in the name decides how it is decoded.
    static bool IsPng(std::string_view file) {
        std::size_t p = file.rfind(".PNG"), b = file.rfind(".BMP");
        if (p == std::string_view::npos) return false;
        return b == std::string_view::npos || p > b;
    }

    void Glyph(const std::string& section, const std::string& key, const std::string& v) {
        RECT r = FixedRect(v);
        std::int16_t imageCount = Short(FixedField(v, 22, 22));
        std::int16_t maskType = Short(FixedField(v, 24, 24));
        TsMaskData& m = Append(section, key);
        m.R = r;
        m.ImageCount = imageCount;
        m.MaskType = maskType;
        m.ImgType = itisaGlyph;
    }

    void FrameMask(const std::string& section, const std::string& key, const std::string& v) {
        TsMaskData f;
        f.R = FixedRect(v);
        f.WL = Short(FixedField(v, 22, 25));
        f.WT = Short(FixedField(v, 27, 30));
        f.WR = Short(FixedField(v, 32, 35));
        f.WB = Short(FixedField(v, 37, 40));
        f.ImageCount = Short(FixedField(v, 42, 42));
        f.MaskType = Short(FixedField(v, 44, 44));
        f.DrawMode = Short(FixedField(v, 46, 46));
        f.BorderWidth = Short(FixedField(v, 48, 48));
        f.ImgType = itisaBorder;
        FramesFromBorder(f);
        Adopt(std::move(f), section, key);
    }

    void Texture(const std::string& section, const std::string& key, const std::string& v) {
        TsMaskData f;
        f.R = FixedRect(v);
        f.DrawMode = Short(FixedField(v, 22, 23));
        f.MaskType = v.size() < 25 ? 0 : Short(FixedField(v, 25, 25));
        f.ImgType = itisaTexture;
        f.ImageCount = 1;
        Adopt(std::move(f), section, key);
    }

    void PlainBitmap(const std::string& section, const std::string& key, const std::string& value, const PictureSource& pics) {
        BitmapPtr bmp = BmpPicture(value, pics);
        if (!bmp) return;
        TsMaskData& m = Append(UpperCase(section), UpperCase(key));
        m.ImageCount = 3;
        m.MaskType = 1;
        m.ImgType = itisaBorder;
        m.R = RECT{0, 0, bmp->Width(), bmp->Height()};
        FramesFromSize(m, bmp->Width(), bmp->Height());
        Keep(m, std::move(bmp));
    }

    void FreeRect(const std::string& section, const std::string& key, const std::string& value) {
        auto words = SplitRuns(value, " ()");
        auto rect = SplitRuns(Word(words, 2), ",");
        auto params = SplitRuns(Word(words, 3), ",");
        TsMaskData f;
        f.R = RECT{StrToInt(Word(rect, 1)), StrToInt(Word(rect, 2)), StrToInt(Word(rect, 3)), StrToInt(Word(rect, 4))};
        f.ImageCount = Short(std::max(1, StrToInt(Word(params, 1))));
        f.MaskType = Short(std::max(0, StrToInt(Word(params, 2))));
        f.BorderWidth = params.size() >= 3 ? Short(std::max(0, StrToInt(Word(params, 3)))) : 0;
        f.DrawMode = params.size() >= 4 ? Short(StrToInt(Word(params, 4))) : 1;
        f.ImgType = itisaBorder;
        FramesFromBorder(f);
        Adopt(std::move(f), UpperCase(section), UpperCase(key));
    }

    void Adopt(TsMaskData&& f, std::string section, std::string property) {
        f.SectionName = std::move(section);
        f.PropertyName = std::move(property);
        f.OwnerManager = source_.owner;
        model_.Masks.push_back(std::move(f));
    }

    TsSkinModel& model_;
    const TsLoadSource& source_;
    Budget& budget_;
};

void LoadMasterBitmap(TsSkinModel& model, const TsLoadSource& source, Budget& budget) {
    std::string name = source.options->ReadString("GLOBALINFO", "MASTERBITMAP", "");
    model.MasterBitmap = std::make_unique<TBitmap>();
    PictureSource pics(source, false);
    std::optional<std::vector<std::uint8_t>> bytes = name.empty() ? std::nullopt : pics.Find(name);
    if (bytes) {
        BitmapPtr bmp = DecodeBmp(*bytes);
        To24Bit(*bmp);
        budget.Charge(*bmp);
        model.MasterBitmap = std::move(bmp);
    }
    model.MasterBitmap->SetPixelFormat(TPixelFormat::pf24bit);
    model.MasterBitmap->Transparent = true;
    model.MasterBitmap->TransparentColor = framework::clFuchsia;
}

bool IsJpegName(std::string_view upper) { return Contains(upper, ".JPG") || Contains(upper, ".JPEG"); }

}  // namespace

void LoadMasks(TsSkinModel& model, const TsLoadSource& source) {
    model.Masks.clear();
    model.MasterBitmap.reset();
    Budget budget(model, source);
    LoadMasterBitmap(model, source, budget);
    MaskLoader loader(model, source, budget);
    PictureSource pics(source, false);
    const TsOptionsText& t = *source.options;
    for (const TsOptionsText::Section& s : t.Sections())
        for (const TsOptionsText::Key& k : s.keys) {
            if (s.name == "GLOBALINFO" && k.name == "MASTERBITMAP") continue;
            std::string value = t.ReadString(s.name, k.name, "");
            if (!value.empty()) loader.Value(s.name, k.name, value, pics);
        }
    if (!source.common || source.common->Empty()) return;
    PictureSource files(source, true);
    for (const TsOptionsText::Section& s : source.common->Sections()) {
        if (UpperCase(s.name) == "GLOBALINFO") continue;
        for (const TsOptionsText::Key& k : s.keys) {
            std::string value = source.common->ReadString(s.name, k.name, "-");
            if (!value.empty()) loader.CommonValue(s.name, k.name, value, files);
        }
    }
}

void LoadPatterns(TsSkinModel& model, const TsLoadSource& source) {
    model.Patterns.clear();
    Budget budget(model, source);
    PictureSource pics(source, false);
    const TsOptionsText& t = *source.options;
    for (const TsOptionsText::Section& s : t.Sections())
        for (const TsOptionsText::Key& k : s.keys) {
            std::string value = UpperCase(t.ReadString(s.name, k.name, "-"));
            if (!IsJpegName(value)) continue;
            auto bytes = pics.Find(value);
            if (!bytes) continue;
            BitmapPtr img = DecodeJpeg(*bytes);
            if (img->Width() <= 0) continue;
            budget.Charge(*img);
            if (static_cast<std::int64_t>(img->Width()) * img->Height() >= kPatternPixels) {
                model.Patterns.push_back(TsPatternData{std::move(img), UpperCase(s.name), UpperCase(k.name)});
            } else {
                TsMaskData& m = model.Masks.emplace_back();
                m.Bmp = std::move(img);
                m.SectionName = UpperCase(s.name);
                m.PropertyName = UpperCase(k.name);
                m.ImgType = itisaTexture;
                m.ImageCount = 1;
                m.OwnerManager = source.owner;
            }
        }
    if (!source.common || source.common->Empty()) return;
    PictureSource files(source, true);
    for (const TsOptionsText::Section& s : source.common->Sections())
        for (const TsOptionsText::Key& k : s.keys) {
            std::string value = UpperCase(source.common->ReadString(s.name, k.name, "-"));
            if (!IsJpegName(value)) continue;
            auto bytes = files.Find(value);
            if (!bytes) continue;
            BitmapPtr img = DecodeJpeg(*bytes);
            if (img->Width() <= 0) continue;
            budget.Charge(*img);
            model.Patterns.push_back(TsPatternData{std::move(img), UpperCase(s.name), UpperCase(k.name)});
        }
}

}  // namespace skin

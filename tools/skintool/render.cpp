// Paints one section of a skin over a plain background, as a control would paint it, and
// writes the picture as a 24-bit PNG.
#include <charconv>
#include <cstdio>
#include <optional>

#include "commands.h"
#include "paint/section_paint.h"
#include "platform/image_files.h"
#include "skin/skin_text.h"

namespace skintool {
namespace {

using framework::TBitmap;
using framework::TColor;

constexpr int kMaxSide = 4096;
constexpr int kMaxState = 3;  // 0 normal, 1 hot, 2 pressed, 3 the fourth image
constexpr TColor kDefaultBackground = 0xFFFFFF;
constexpr const char* kUsage =
    "usage: skintool render SKIN SECTION WIDTHxHEIGHT [--state N] [--bg #RRGGBB] OUT.png\n";
constexpr const char* kBadSize = "bad size '%s': expected WIDTHxHEIGHT, each side from 1 to 4096\n";
constexpr const char* kBadState =
    "bad state '%s': expected 0 (normal), 1 (hot), 2 (pressed) or 3\n";
constexpr const char* kBadColor = "bad background '%s': expected #RRGGBB\n";
constexpr const char* kUnknownSection = "the skin has no section '%s'\n";

struct RenderJob {
    std::string skin, section, out;
    int width = 0, height = 0, state = 0;
    TColor background = kDefaultBackground;
};

// A whole decimal number in [low, high]; nothing when the text is anything else.
std::optional<int> WholeNumber(std::string_view text, int low, int high) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < low ||
        value > high)
        return std::nullopt;
    return value;
}

bool ParseSize(const std::string& text, RenderJob& job) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    auto w = WholeNumber(std::string_view(text).substr(0, x), 1, kMaxSide);
    auto h = WholeNumber(std::string_view(text).substr(x + 1), 1, kMaxSide);
    if (!w || !h) return false;
    job.width = *w, job.height = *h;
    return true;
}

// "#RRGGBB" as a colour value ($00BBGGRR).
std::optional<TColor> ParseColor(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    unsigned rgb = 0;
    auto [end, ec] = std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
    if (ec != std::errc() || end != text.data() + 7) return std::nullopt;
    return static_cast<TColor>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
}

// Fills the job from the words; false after printing what is wrong.
bool ParseArgs(const std::vector<std::string>& args, RenderJob& job) {
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a != "--state" && a != "--bg") {
            positional.push_back(a);
            continue;
        }
        if (i + 1 == args.size()) {
            std::fputs(kUsage, stderr);
            return false;
        }
        const std::string& value = args[++i];
        if (a == "--state") {
            auto state = WholeNumber(value, 0, kMaxState);
            if (!state) return std::fprintf(stderr, kBadState, value.c_str()), false;
            job.state = *state;
        } else {
            auto color = ParseColor(value);
            if (!color) return std::fprintf(stderr, kBadColor, value.c_str()), false;
            job.background = *color;
        }
    }
    if (positional.size() != 4) {
        std::fputs(kUsage, stderr);
        return false;
    }
    job.skin = positional[0], job.section = positional[1], job.out = positional[3];
    if (!ParseSize(positional[2], job))
        return std::fprintf(stderr, kBadSize, positional[2].c_str()), false;
    return true;
}

void FillSolid(TBitmap& bmp, TColor color) {
    const int bpp = bmp.BytesPerPixel();
    const std::uint8_t r = color & 0xFF, g = color >> 8 & 0xFF, b = color >> 16 & 0xFF;
    for (int y = 0; y < bmp.Height(); ++y) {
        std::uint8_t* p = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x, p += bpp) p[0] = b, p[1] = g, p[2] = r;
    }
}

// The 24-bit picture as the 32-bit rows the PNG writer takes; the alpha byte is not written.
void WriteRgbPng(const TBitmap& bmp, const std::string& path) {
    const int w = bmp.Width(), h = bmp.Height();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h * 4, 255);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = bmp.ScanLine(y);
        std::uint8_t* dst = pixels.data() + static_cast<std::size_t>(y) * w * 4;
        for (int x = 0; x < w; ++x, src += 3, dst += 4)
            dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
    }
    platform::WritePng(path, platform::gdi::PixelBuffer{pixels.data(), w, h, w * 4, 32}, false);
}

}  // namespace

int Render(const std::vector<std::string>& args) {
    RenderJob job;
    if (!ParseArgs(args, job)) return 1;
    skin::TsSkinManager manager(nullptr);
    if (!LoadSkin(job.skin, manager, nullptr)) return 1;
    const std::string section = skin::UpperCase(job.section);
    const int index = manager.FindSection(section);
    if (index < 0) return std::fprintf(stderr, kUnknownSection, job.section.c_str()), 1;

    // The parent's plain background stays apart, so that see-through pixels of the frame
    // show it and not the section's own fill.
    TBitmap background(job.width, job.height);
    FillSolid(background, job.background);
    TBitmap picture(job.width, job.height);
    FillSolid(picture, job.background);
    const RECT all{0, 0, job.width, job.height};
    paint::PaintSectionRect(&manager.Model(), index, section,
                            paint::BgSourceFromBitmap(&background, 0, 0), -1, -1, picture,
                            POINT{0, 0}, all, job.state, true);
    try {
        WriteRgbPng(picture, job.out);
    } catch (const platform::ImageError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

}  // namespace skintool

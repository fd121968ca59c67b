#include "platform/window/message_box_icons.h"

#include <algorithm>
#include <cmath>

namespace platform::win {
namespace {

// Coverage of a pixel by a shape given as a signed distance (negative inside), antialiased
// over one pixel.
float Coverage(float distance) { return std::clamp(0.5f - distance, 0.0f, 1.0f); }

struct Canvas {
    int size;
    std::vector<std::uint32_t> px;

    // Paints `color` (0xRRGGBB) over the pixel with the given coverage, premultiplied.
    void Over(int x, int y, std::uint32_t color, float cover) {
        if (cover <= 0) return;
        std::uint32_t& d = px[static_cast<std::size_t>(y) * size + x];
        float a = cover, inv = 1 - a;
        auto ch = [&](int shift, float src) {
            float v = src * a + static_cast<float>((d >> shift) & 0xFF) * inv;
            return static_cast<std::uint32_t>(std::lround(std::min(v, 255.0f))) << shift;
        };
        std::uint32_t r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
        d = ch(24, 255) | ch(16, static_cast<float>(r)) | ch(8, static_cast<float>(g)) | ch(0, static_cast<float>(b));
    }

    template <class Distance>
    void Fill(std::uint32_t color, Distance distance) {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) Over(x, y, color, Coverage(distance(x + 0.5f, y + 0.5f)));
    }
};

float Circle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }

float Segment(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
    float vx = bx - ax, vy = by - ay;
    float t = std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
    return std::hypot(x - (ax + t * vx), y - (ay + t * vy)) - halfWidth;
}

void DrawError(Canvas& c, float s) {
    c.Fill(0x000000, [s](float x, float y) { return Circle(x, y, s * 0.53f, s * 0.53f, s * 0.44f); });
    c.Fill(0xD42A1E, [s](float x, float y) { return Circle(x, y, s * 0.5f, s * 0.5f, s * 0.44f); });
    auto cross = [s](float x, float y) {
        return std::min(Segment(x, y, s * 0.33f, s * 0.33f, s * 0.67f, s * 0.67f, s * 0.06f),
                        Segment(x, y, s * 0.67f, s * 0.33f, s * 0.33f, s * 0.67f, s * 0.06f));
    };
    c.Fill(0xFFFFFF, cross);
}

void DrawWarning(Canvas& c, float s) {
    auto triangle = [s](float x, float y) {
        float top = s * 0.08f, bottom = s * 0.9f, half = (y - top) / (bottom - top) * s * 0.46f;
        float dx = std::abs(x - s * 0.5f) - half, dy = std::max(top - y, y - bottom);
        return std::max(dx * 0.9f, dy);
    };
    c.Fill(0x000000, triangle);
    c.Fill(0xF7D23A, [&](float x, float y) { return triangle(x, y) + s * 0.05f; });
    c.Fill(0x000000, [s](float x, float y) { return Segment(x, y, s * 0.5f, s * 0.38f, s * 0.5f, s * 0.62f, s * 0.055f); });
    c.Fill(0x000000, [s](float x, float y) { return Circle(x, y, s * 0.5f, s * 0.76f, s * 0.06f); });
}

void DrawInformation(Canvas& c, float s, bool question) {
    c.Fill(0x000000, [s](float x, float y) { return Circle(x, y, s * 0.53f, s * 0.53f, s * 0.44f); });
    c.Fill(0xFFFFFF, [s](float x, float y) { return Circle(x, y, s * 0.5f, s * 0.5f, s * 0.44f); });
    if (question) {
        c.Fill(0x2050C0, [s](float x, float y) {
            float arc = std::abs(Circle(x, y, s * 0.5f, s * 0.38f, s * 0.13f)) - s * 0.05f;
            if (y > s * 0.42f && x < s * 0.5f) arc = 1e9f;
            return std::min(arc, Segment(x, y, s * 0.5f, s * 0.5f, s * 0.5f, s * 0.6f, s * 0.05f));
        });
    } else {
        c.Fill(0x2050C0, [s](float x, float y) { return Segment(x, y, s * 0.5f, s * 0.44f, s * 0.5f, s * 0.74f, s * 0.06f); });
    }
    c.Fill(0x2050C0, [s, question](float x, float y) { return Circle(x, y, s * 0.5f, question ? s * 0.74f : s * 0.29f, s * 0.065f); });
}

}  // namespace

std::vector<std::uint32_t> RenderBoxIcon(BoxIcon icon, int size) {
    Canvas c{size, std::vector<std::uint32_t>(static_cast<std::size_t>(size) * size, 0)};
    float s = static_cast<float>(size);
    switch (icon) {
        case BoxIcon::Error: DrawError(c, s); break;
        case BoxIcon::Warning: DrawWarning(c, s); break;
        case BoxIcon::Information: DrawInformation(c, s, false); break;
        case BoxIcon::Question: DrawInformation(c, s, true); break;
        case BoxIcon::None: break;
    }
    return c.px;
}

}  // namespace platform::win

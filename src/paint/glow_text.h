// A soft halo of a colour around text: the text is drawn into a one-byte mask, blurred with
// a Gaussian kernel and mixed into the bitmap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/graphic.h"

namespace paint {

// The blurred mask of one text, kept by the caller between paints; Clear() it when the text,
// font or size changes.
struct GlowMask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;  // 255 = no glow, 0 = full glow colour
    void Clear() {
        width = height = 0;
        bits.clear();
    }
    bool Holds(int w, int h) const { return width == w && height == h && !bits.empty(); }
};

// Contour bits: the text is also drawn one pixel to the left (1), up (2), right (4), down (8).
constexpr unsigned kGlowContourAll = 15;

// Puts a halo of glowColor around text laid out in rect with DrawText flags, using the font
// of bmp's canvas. The mask covers rect grown by radius + 4 on every side.
void DrawGlowText(framework::TBitmap& bmp, const std::string& text, const RECT& rect, GlowMask& cache,
                  framework::TColor glowColor, int radius, unsigned contour, UINT flags);

namespace detail {
// The normalised half kernel of the blur: weights[0] is the centre, size = weights.size() - 1.
std::vector<double> GlowKernel(int radius);
// Blurs a one-byte image in place, rows first, then columns; end pixels repeat.
void BlurMask(std::uint8_t* bits, int width, int height, int radius);
}  // namespace detail

}  // namespace paint

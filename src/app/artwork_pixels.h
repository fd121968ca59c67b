// The drawing code of the program's own pictures, free of the framework: the build runs it
// once (artwork_gen) and compiles the bytes into the program; tests run it to check them.
#pragma once

#include <array>
#include <cstdint>

namespace app {

constexpr int kArtworkSize = 32;

// Blue, green, red and straight alpha of each pixel, row by row from the top.
using ArtworkPixels = std::array<std::uint8_t, kArtworkSize * kArtworkSize * 4>;

// An orange round clock face with a white dial and black hands.
ArtworkPixels DrawClockIcon();
// A grey round button with a dark square stop symbol.
ArtworkPixels DrawStopGlyph();

}  // namespace app

// The colours of our two skins. Everything else (shapes, sizes, image entries) is shared, so
// a skin of our own differs from the other only here.
#pragma once

#include <cstdint>

namespace skinart {

struct Palette {
    const char* name;
    const char* description;
    bool dark;
    std::uint32_t bodyTop, bodyBottom;            // window body: panel and frame
    std::uint32_t titleTop, titleBottom;          // title band of an active window
    std::uint32_t idleTitleTop, idleTitleBottom;  // ... of an inactive one
    std::uint32_t cardTop, cardBottom;            // group box
    std::uint32_t field, fieldHot;                // edits and check boxes
    std::uint32_t buttonTop, buttonBottom;        // speed buttons
    std::uint32_t buttonHotTop, buttonHotBottom;
    std::uint32_t statusTop, statusBottom;
    std::uint32_t menuTop, menuBottom, iconLine;
    std::uint32_t outline;  // the dark line around every shape
    int outlineAlpha;
    int edgeAlpha;   // strength of the 1-pixel white inner edges
    int glossAlpha;  // strength of the white gloss on the title band and buttons
    std::uint32_t text, idleText, textOnAccent;
    std::uint32_t accent, accentDeep, accentLight;
    std::uint32_t selectTop, selectBottom;  // the selected menu item, under textOnAccent
    std::uint32_t glyph;                    // title-button symbols at rest
    std::uint32_t closeHot;                 // the close button under the mouse
};

// Graphite smoked glass with an amber accent.
constexpr Palette kDarkGlass{
    "DarkGlass", "Dark smoked glass with an amber accent, drawn by tools/skinart",
    true,        0x2A2F37,
    0x1E2228,    0x3C434E,
    0x262B32,    0x2E333B,
    0x24282E,    0x2D333B,
    0x262B32,    0x16191E,
    0x1B1F25,    0x3A414B,
    0x2A2F37,    0x454D58,
    0x323842,    0x23272E,
    0x1B1E23,    0x2B3038,
    0x22262D,    0x1C1F25,
    0x08090B,    210,
    34,          60,
    0xE3E6EA,    0xAEB4BD,
    0x1A1C20,    0xF0A030,
    0xC77D1A,    0xFFC15E,
    0xFFC15E,    0xF0A030,
    0xC9CED6,    0xE0543A,
};

// Frosted light glass with a cool blue accent.
constexpr Palette kDaybreak{
    "Daybreak", "Frosted light glass with a cool blue accent, drawn by tools/skinart",
    false,      0xEEF2F7,
    0xDCE3EC,   0xFAFCFE,
    0xD8E1EC,   0xEDF0F4,
    0xDFE4EA,   0xF8FAFC,
    0xECF0F5,   0xFFFFFF,
    0xFFFFFF,   0xFDFEFF,
    0xDCE4EE,   0xFFFFFF,
    0xE4EDF8,   0xE4E9F0,
    0xD6DDE6,   0xF9FAFC,
    0xEDF1F6,   0xE3E8EF,
    0x6F7C8D,   200,
    210,        150,
    0x1E2530,   0x545D69,
    0xFFFFFF,   0x2F6FD0,
    0x1F56A8,   0x8AB4F0,
    0x3674D4,   0x2A62BC,
    0x3A4350,   0xD0402C,
};

}  // namespace skinart

// Draws the edit-button glyph strips and writes them as a C++ source of embedded PNG pictures.
// Usage: glyph_pngs OUT.cpp   (scripts/make_glyphs.sh runs it into src/shell)
#include <cstdio>
#include <string>
#include <unistd.h>

#include "platform/image_files.h"
#include "shell/glyph_art.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: glyph_pngs OUT.cpp\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "// Made by tools/glyph_pngs from the drawing in glyph_art.cpp; do not edit.\n");
    std::fprintf(out, "#include \"shell/edit_glyphs.h\"\n\nnamespace shell {\nnamespace {\n\n");
    std::vector<shell::GlyphStrip> strips = shell::DrawGlyphArt();
    std::string temp = "/tmp/glyph_pngs_" + std::to_string(getpid()) + ".png";
    for (const shell::GlyphStrip& s : strips) {
        platform::gdi::PixelBuffer pixels{const_cast<BYTE*>(s.bgra.data()), s.width, s.height, s.width * 4, 32};
        platform::WritePng(temp, pixels, true);
        std::vector<std::uint8_t> bytes = platform::ReadFileBytes(temp);
        std::fprintf(out, "const std::uint8_t k%s[] = {", s.name.c_str());
        for (std::size_t i = 0; i < bytes.size(); ++i) std::fprintf(out, "%s%u,", i % 20 ? "" : "\n    ", bytes[i]);
        std::fprintf(out, "\n};\n\n");
    }
    std::remove(temp.c_str());
    std::fprintf(out, "}  // namespace\n\nconst std::vector<EmbeddedPng>& EmbeddedGlyphPngs() {\n");
    std::fprintf(out, "    static const std::vector<EmbeddedPng> pngs{\n");
    for (const shell::GlyphStrip& s : strips)
        std::fprintf(out, "        {\"%s\", k%s, sizeof k%s},\n", s.name.c_str(), s.name.c_str(), s.name.c_str());
    std::fprintf(out, "    };\n    return pngs;\n}\n\n}  // namespace shell\n");
    return std::fclose(out) == 0 ? 0 : 1;
}

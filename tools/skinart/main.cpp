// skinart: draws our shipped skins from code.
//   skinart write SKINS_DIR            writes every shipped skin into SKINS_DIR/NAME/
//   skinart check SKINS_DIR            fails unless SKINS_DIR holds exactly what write writes
//   skinart preview SKIN OUT.png       paints a skin (folder or .asz) as the window shows it
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "preview.h"
#include "skin_check.h"
#include "skin_writer.h"

namespace {

int Usage() {
    std::fputs(
        "usage: skinart write SKINS_DIR\n"
        "       skinart check SKINS_DIR\n"
        "       skinart preview SKIN OUT.png\n",
        stderr);
    return 2;
}

int Run(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "write" && argc == 3) return skinart::WriteShippedSkins(argv[2]);
    if (command == "check" && argc == 3) return skinart::CheckShippedSkins(argv[2]);
    if (command == "preview" && argc == 4) {
        std::string error = skinart::PreviewSkin(argv[2], argv[3]);
        if (error.empty()) return 0;
        std::fprintf(stderr, "skinart: %s\n", error.c_str());
        return 1;
    }
    return Usage();
}

}  // namespace

int main(int argc, char** argv) {
    // Loading and painting need bitmaps and fonts only, never a display.
    setenv("UTROZVON_BACKEND", "headless", 0);
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinart: %s\n", e.what());
        return 1;
    }
}

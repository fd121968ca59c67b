// skintool: inspect a skin (folder or .asz) as the engine loads it, pack a skin folder into
// an archive, list the skins of a folder, or render one section of a skin into a PNG.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"

namespace {

int Usage() {
    std::fputs(
        "usage: skintool inspect SKIN [--json]\n"
        "       skintool pack FOLDER OUT.asz\n"
        "       skintool list DIR\n"
        "       skintool render SKIN SECTION WIDTHxHEIGHT [--state N] [--bg #RRGGBB] OUT.png\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Loading needs bitmaps only, never a display.
    setenv("UTROZVON_BACKEND", "headless", 0);
    if (argc < 3) return Usage();
    std::string command = argv[1];
    if (command == "inspect" && (argc == 3 || (argc == 4 && std::strcmp(argv[3], "--json") == 0)))
        return skintool::Inspect(argv[2], argc == 4);
    if (command == "pack" && argc == 4) return skintool::Pack(argv[2], argv[3]);
    if (command == "list" && argc == 3) return skintool::List(argv[2]);
    if (command == "render")
        return skintool::Render(std::vector<std::string>(argv + 2, argv + argc));
    return Usage();
}

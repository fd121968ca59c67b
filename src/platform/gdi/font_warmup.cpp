#include "platform/gdi/font_warmup.h"

#include <fontconfig/fontconfig.h>

namespace platform::gdi {

FontWarmup::FontWarmup() : thread_([] { FcInit(); }) {}

FontWarmup::~FontWarmup() {
    Wait();
}

void FontWarmup::Wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace platform::gdi

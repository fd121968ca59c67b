// Chooses the backend: the only place that knows both.
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

#ifdef UTROZVON_HAVE_X11
#include "platform/x11/x11_backend.h"
#endif

namespace platform {

std::unique_ptr<Backend> CreateBackendFromEnvironment() {
    const char* which = std::getenv("UTROZVON_BACKEND");
    if (which && std::strcmp(which, "headless") == 0) return headless::HeadlessBackend::FromEnvironment();
    if (which && *which && std::strcmp(which, "x11") != 0)
        throw std::runtime_error(std::string("unknown UTROZVON_BACKEND '") + which + "' (use x11 or headless)");
#ifdef UTROZVON_HAVE_X11
    return x11::CreateX11Backend();
#else
    throw std::runtime_error("this build has no X11 backend; set UTROZVON_BACKEND=headless");
#endif
}

}  // namespace platform

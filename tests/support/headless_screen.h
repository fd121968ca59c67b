// The in-memory screen every window test of a suite shares, installed as the backend on first
// use (800 x 600).
#pragma once

#include <memory>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

namespace test_support {

inline platform::headless::HeadlessBackend& HeadlessScreen() {
    static platform::headless::HeadlessBackend* screen = [] {
        auto backend = std::make_unique<platform::headless::HeadlessBackend>(SIZE{800, 600});
        auto* raw = backend.get();
        platform::InstallBackend(std::move(backend));
        return raw;
    }();
    return *screen;
}

}  // namespace test_support

// Shared by the X11 suites: an Xvfb of the test program's own (started once, DISPLAY set for
// everything after), and a fixture holding a backend on it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend.h"
#include "platform/x11/x11_backend.h"

namespace x11_testing {

using platform::BackendEvent;

class X11Server : public ::testing::Environment {
  public:
    void SetUp() override {
        if (std::system("command -v Xvfb >/dev/null && command -v xdotool >/dev/null") != 0) return;
        char path[] = "/tmp/utrozvon-xvfb-XXXXXX";
        int fd = mkstemp(path);
        std::string command =
            "Xvfb -displayfd " + std::to_string(fd) +
            " -screen 0 640x480x24 -nolisten tcp -noreset >/dev/null 2>&1 & echo $!";
        FILE* p = popen(command.c_str(), "r");
        if (p && std::fscanf(p, "%d", &pid_) != 1) pid_ = 0;
        if (p) pclose(p);
        for (int i = 0; i < 200 && display_.empty(); ++i) {
            char buf[16] = {};
            const char* end =
                pread(fd, buf, sizeof buf - 1, 0) > 0 ? std::strchr(buf, '\n') : nullptr;
            if (end) {
                display_.push_back(':');
                display_.append(buf, static_cast<std::size_t>(end - buf));
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        close(fd);
        unlink(path);
        if (!display_.empty()) setenv("DISPLAY", display_.c_str(), 1);
        unsetenv("XMODIFIERS");
    }
    void TearDown() override {
        if (pid_ > 0) kill(pid_, SIGTERM);
    }
    static bool Ready() { return !display_.empty(); }

  private:
    int pid_ = 0;
    static inline std::string display_;
};

inline const auto* const g_server = ::testing::AddGlobalTestEnvironment(new X11Server);

class X11Backend : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!X11Server::Ready()) GTEST_SKIP() << "no Xvfb or xdotool";
        backend_ = platform::x11::CreateX11Backend();
    }
    // A surface appears with its first frame: shown, then given one.
    platform::SurfaceId Show(RECT r, platform::SurfaceParams p = {}) {
        p.screenRect = r;
        p.title = "x11-test";
        platform::SurfaceId id = backend_->CreateSurface(p);
        backend_->ShowSurface(id, true, true);
        PresentFilled(id, r, 0xFF204060u);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        Drain();
        return id;
    }
    void PresentFilled(platform::SurfaceId id, RECT r, std::uint32_t pixel) {
        int w = r.right - r.left, h = r.bottom - r.top;
        frame_.assign(static_cast<std::size_t>(w) * h, pixel);
        platform::gdi::PixelBuffer buffer{reinterpret_cast<BYTE*>(frame_.data()), w, h, w * 4, 32};
        backend_->Present(id, buffer, platform::Region(0, 0, w, h), false, 255);
    }
    std::vector<std::uint32_t> frame_;
    std::vector<BackendEvent> Drain(int waitMs = 0) {
        std::vector<BackendEvent> out;
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        do {
            backend_->Wait(20);
            while (auto e = backend_->Poll()) out.push_back(*e);
        } while (std::chrono::steady_clock::now() < until);
        return out;
    }
    std::unique_ptr<platform::Backend> backend_;
};

// The first line a shell command prints, without its newline.
inline std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        if (std::fgets(buf, sizeof buf, p)) out = buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

}  // namespace x11_testing

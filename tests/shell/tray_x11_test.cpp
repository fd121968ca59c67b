// On an X server of its own with trayer as the system tray: the tray icon docks and a right
// click on it raises OnClick with the right button. The icon's program is this test binary
// run again on the X11 backend (the case TrayOnX11Child), so the shell tests keep their
// headless screen.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "framework/application.h"
#include "framework/timer.h"
#include "shell/tray_icon.h"
#include "shell_test_support.h"

namespace {

using namespace std::chrono_literals;
using shell_testing::ReadFile;

constexpr const char* kChildVariable = "UTROZVON_TRAY_CHILD_REPORT";

bool Installed(const char* program) {
    std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Starts a background command through the shell; returns its PID.
pid_t StartBackground(const std::string& command) {
    FILE* p = popen((command + " >/dev/null 2>&1 & echo $!").c_str(), "r");
    int pid = 0;
    if (p && std::fscanf(p, "%d", &pid) != 1) pid = 0;
    if (p) pclose(p);
    return pid;
}

std::string Capture(const std::string& command) {
    FILE* p = popen(command.c_str(), "r");
    std::string out;
    char buf[256];
    while (p && std::fgets(buf, sizeof buf, p)) out += buf;
    if (p) pclose(p);
    return out;
}

// A NAME=value line of xdotool's --shell output.
int Field(const std::string& shellOutput, const std::string& name) {
    std::string key = name;
    key.push_back('=');
    std::size_t start = 0;
    while (start < shellOutput.size()) {
        std::size_t end = shellOutput.find('\n', start);
        if (end == std::string::npos) end = shellOutput.size();
        if (shellOutput.compare(start, key.size(), key) == 0) return std::atoi(shellOutput.c_str() + start + key.size());
        start = end + 1;
    }
    return 0;
}

template <class F>
bool WaitUntil(F done) {
    for (int i = 0; i < 200; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

class XServerWithTray {
public:
    XServerWithTray() {
        char path[] = "/tmp/utrozvon-tray-xvfb-XXXXXX";
        int fd = mkstemp(path);
        xvfb_ = StartBackground("Xvfb -displayfd " + std::to_string(fd) + " -screen 0 800x600x24 -nolisten tcp -noreset");
        WaitUntil([&] {
            std::string number = ReadFile(path);
            if (number.find('\n') == std::string::npos) return false;
            display_.push_back(':');
            display_.append(number, 0, number.find('\n'));
            return true;
        });
        close(fd);
        unlink(path);
        if (display_.empty()) return;
        env_.Set("DISPLAY", display_);
        env_.Unset("XMODIFIERS");
        trayer_ = StartBackground("trayer --edge top --align right --widthtype request --height 24 --SetDockType true --transparent false");
        trayReady_ = WaitUntil([] { return !Capture("xdotool search --classname trayer 2>/dev/null").empty(); });
    }
    ~XServerWithTray() {
        if (trayer_ > 0) kill(trayer_, SIGTERM);
        if (xvfb_ > 0) kill(xvfb_, SIGTERM);
    }
    XServerWithTray(const XServerWithTray&) = delete;
    XServerWithTray& operator=(const XServerWithTray&) = delete;
    bool Ready() const { return trayReady_; }
    const std::string& Display() const { return display_; }

private:
    pid_t xvfb_ = 0;
    pid_t trayer_ = 0;
    std::string display_;
    bool trayReady_ = false;
    shell_testing::ScopedEnv env_;
};

TEST(TrayOnX11, ARightClickOnTheDockedIconRaisesOnClickWithTheRightButton) {
    if (!Installed("Xvfb") || !Installed("trayer") || !Installed("xdotool")) GTEST_SKIP() << "no Xvfb, trayer or xdotool";
    XServerWithTray server;
    ASSERT_TRUE(server.Ready()) << "trayer did not start";
    shell_testing::TempDir dir;
    std::string report = dir.Path() + "/report";
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("UTROZVON_BACKEND", "x11", 1);
        setenv(kChildVariable, report.c_str(), 1);
        execl("/proc/self/exe", "shell_tests", "--gtest_filter=TrayOnX11Child.*", static_cast<char*>(nullptr));
        _exit(127);
    }
    bool added = WaitUntil([&] { return ReadFile(report).find("added") != std::string::npos; });
    std::string icon;
    if (added) {
        std::this_thread::sleep_for(300ms);  // docking and mapping by the tray
        icon = Capture("xdotool search --classname utrozvon-tray 2>/dev/null | tail -n1");
        if (!icon.empty()) {
            icon.pop_back();
            std::string geometry = Capture("xdotool getwindowgeometry --shell " + icon);
            int x = Field(geometry, "X"), y = Field(geometry, "Y");
            int w = Field(geometry, "WIDTH"), h = Field(geometry, "HEIGHT");
            std::string click = "xdotool mousemove " + std::to_string(x + w / 2) + " " + std::to_string(y + h / 2) + " click 3";
            std::system(click.c_str());
        }
    }
    int status = 0;
    bool ended = WaitUntil([&] { return waitpid(child, &status, WNOHANG) == child; });
    if (!ended) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    ASSERT_TRUE(added) << "the icon was not added; report: " << ReadFile(report);
    ASSERT_FALSE(icon.empty()) << "no icon window in the tray";
    EXPECT_EQ(ReadFile(report), "added\nclick right\n");
    EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// The icon's program: an application with an active tray icon that reports its clicks and
// ends after the first (or after twenty seconds without one).
TEST(TrayOnX11Child, ReportsClicks) {
    const char* report = std::getenv(kChildVariable);
    if (!report) GTEST_SKIP() << "run by TrayOnX11";
    framework::TApplication app;
    auto* tray = new shell::TTrayIcon(&app);
    tray->SetActive(false);
    tray->SetHint("Утрозвон");
    framework::TBitmap bmp(16, 16, framework::TPixelFormat::pf32bit);
    framework::TIcon icon;
    icon.FromBitmap(bmp);
    tray->SetIcon(icon);
    std::ofstream out(report);
    tray->OnClick = [&](framework::TObject*, framework::TMouseButton b, framework::TShiftState, int, int) {
        out << "click " << (b == framework::TMouseButton::mbRight ? "right" : b == framework::TMouseButton::mbLeft ? "left" : "middle")
            << "\n" << std::flush;
        app.Terminate();
    };
    tray->SetActive(true);
    ASSERT_TRUE(tray->Added());
    out << "added\n" << std::flush;
    auto* giveUp = new framework::TTimer(&app);
    giveUp->SetInterval(20000);
    giveUp->SetOnTimer([&](framework::TObject*) { app.Terminate(); });
    while (!app.Terminated()) app.HandleMessage();
}

}  // namespace

// Start of a program to its first frame, timed from events rather than by polling.
//
//   first_frame_probe x11 PROGRAM      (DISPLAY names the X server)
//   first_frame_probe headless PROGRAM
//   first_frame_probe x11-rss PROGRAM   (resident memory instead of time)
//
// x11: the probe watches the root window for new top-level windows and puts a DAMAGE
// object on each at once; the first DamageNotify the server sends for a mapped window of
// the child is its first frame. headless: there is no server, so the child's own report of
// its first present (UTROZVON_REPORT_FIRST_FRAME, wall-clock ns on stderr) is read from a
// pipe. Prints the microseconds from just before fork to that moment; exits 1 on a
// failure or after 5 s without a frame. The child is killed either way. x11-rss prints, at
// that first frame, the child's resident set and the probe's own (a minimal X client, the
// baseline), in kB.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

namespace {

constexpr int kTimeoutMs = 5000;

long long NowNs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

pid_t Spawn(const char* program, const char* backend, int stderrFd) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    setenv("UTROZVON_BACKEND", backend, 1);
    setenv("UTROZVON_REPORT_FIRST_FRAME", "1", 1);
    // The child's messages go to the pipe (headless) or nowhere: stdout carries the figure.
    if (stderrFd < 0) stderrFd = open("/dev/null", O_WRONLY);
    if (stderrFd >= 0) dup2(stderrFd, 2);
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
}

// VmRSS of /proc/PID/status in kB (-1: unreadable).
long ResidentKb(const std::string& pid) {
    std::ifstream status("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int WaitX11(const char* program, bool memory) {
    Display* dpy = XOpenDisplay(nullptr);
    int damageEvent = 0, damageError = 0;
    if (!dpy || !XDamageQueryExtension(dpy, &damageEvent, &damageError)) {
        std::fprintf(stderr, "first_frame_probe: no X server with DAMAGE\n");
        return 1;
    }
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, False);
    const long long start = NowNs(CLOCK_MONOTONIC);
    pid_t child = Spawn(program, "x11", -1);
    long long frame = -1;
    long childKb = -1;
    while (frame < 0 && NowNs(CLOCK_MONOTONIC) - start < kTimeoutMs * 1000000LL) {
        if (!XPending(dpy)) {
            pollfd p{ConnectionNumber(dpy), POLLIN, 0};
            poll(&p, 1, 100);  // blocks until the server writes; the bound only checks the time-out
            continue;
        }
        XEvent e;
        XNextEvent(dpy, &e);
        if (e.type == CreateNotify) {
            XDamageCreate(dpy, e.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (e.type == damageEvent + XDamageNotify) {
            frame = NowNs(CLOCK_MONOTONIC);
            if (memory) childKb = ResidentKb(std::to_string(child));
        }
    }
    Stop(child);
    XCloseDisplay(dpy);
    if (frame < 0) return 1;
    if (!memory) {
        std::printf("%lld\n", (frame - start) / 1000);
        return 0;
    }
    const long selfKb = ResidentKb("self");
    if (childKb < 0 || selfKb < 0) return 1;
    std::printf("%ld %ld\n", childKb, selfKb);
    return 0;
}

int WaitHeadless(const char* program) {
    int fds[2];
    if (pipe(fds) != 0) return 1;
    const long long start = NowNs(CLOCK_REALTIME);
    pid_t child = Spawn(program, "headless", fds[1]);
    close(fds[1]);
    std::string text;
    long long frame = -1;
    char buf[512];
    pollfd p{fds[0], POLLIN, 0};
    while (frame < 0 && poll(&p, 1, kTimeoutMs) > 0) {
        ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
        if (auto at = text.find("first frame presented at ");
            at != std::string::npos && text.find(" ns", at) != std::string::npos)
            frame = std::atoll(text.c_str() + at + std::strlen("first frame presented at "));
    }
    Stop(child);
    close(fds[0]);
    if (frame < 0) return 1;
    std::printf("%lld\n", (frame - start) / 1000);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "x11" || mode == "x11-rss") return WaitX11(argv[2], mode == "x11-rss");
    if (mode == "headless") return WaitHeadless(argv[2]);
    std::fprintf(stderr, "usage: first_frame_probe x11|x11-rss|headless PROGRAM\n");
    return 2;
}

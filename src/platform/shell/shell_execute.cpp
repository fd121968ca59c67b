#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"
#include "platform/shell/child_process.h"

namespace {

constexpr std::intptr_t kFileNotFound = 2;
constexpr std::intptr_t kNoAssociation = 31;
constexpr std::intptr_t kStarted = 42;

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
    return true;
}

// In the child of a forked multi-threaded process only async-signal-safe calls are allowed:
// open, dup2, close_range, execve, write and _exit are.
[[noreturn]] void ExecOpener(const char* path, char* const* argv, char* const* envp, int reportFd) {
    int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
    }
    // The report pipe is close-on-exec, so it may stay open until the exec succeeds.
    if (reportFd > 3) close_range(3, static_cast<unsigned>(reportFd) - 1, 0);
    close_range(static_cast<unsigned>(reportFd) + 1, ~0u, 0);
    execve(path, argv, envp);
    char failed = 1;
    (void)!write(reportFd, &failed, 1);
    _exit(127);
}

}  // namespace

bool IsOpenableWebAddress(const char* address) {
    if (!address) return false;
    std::string_view a(address);
    std::size_t rest = StartsWithNoCase(a, "https://") ? 8 : StartsWithNoCase(a, "http://") ? 7 : 0;
    if (rest == 0 || rest == a.size()) return false;
    for (char c : a)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return false;
    return true;
}

// The opener is started through an intermediate child that exits at once, so the opener is
// never our child and nothing has to wait for it, while waiting for other children (a file
// chooser, say) keeps working.
HINSTANCE ShellExecuteA(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, int) {
    auto result = [](std::intptr_t v) { return reinterpret_cast<HINSTANCE>(v); };
    if (!IsOpenableWebAddress(file)) return result(kNoAssociation);
    std::string opener = platform::shell::FindProgram("xdg-open");
    if (opener.empty()) return result(kFileNotFound);
    // Everything the child needs is built before fork: it may not allocate.
    std::vector<std::string> args{"xdg-open", file};
    std::vector<std::string> env = platform::shell::EnvironmentWith({});
    std::vector<char*> argv = platform::shell::ExecVector(args);
    std::vector<char*> envp = platform::shell::ExecVector(env);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return result(kFileNotFound);
    platform::shell::UniqueFd readEnd(pipeFds[0]), writeEnd(pipeFds[1]);
    pid_t middle = fork();
    if (middle < 0) return result(kFileNotFound);
    if (middle == 0) {
        pid_t grandchild = fork();
        if (grandchild == 0) ExecOpener(opener.c_str(), argv.data(), envp.data(), writeEnd.Get());
        if (grandchild < 0) {
            char failed = 1;
            (void)!write(writeEnd.Get(), &failed, 1);
        }
        _exit(0);
    }
    writeEnd.Reset();
    while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    char failed = 0;
    ssize_t n;
    while ((n = read(readEnd.Get(), &failed, 1)) < 0 && errno == EINTR) {
    }
    return result(n == 0 ? kStarted : kFileNotFound);
}

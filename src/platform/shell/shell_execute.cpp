#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>

#include "platform/shell.h"

// The opener is started through an intermediate child that exits at once, so the opener is
// never our child and nothing has to wait for it, while waiting for other children (a file
// chooser, say) keeps working.
HINSTANCE ShellExecuteA(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, int) {
    auto result = [](std::intptr_t v) { return reinterpret_cast<HINSTANCE>(v); };
    if (!file || !*file) return result(2);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return result(2);
    pid_t middle = fork();
    if (middle < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return result(2);
    }
    if (middle == 0) {
        if (fork() == 0) {
            char opener[] = "xdg-open";
            char* argv[] = {opener, const_cast<char*>(file), nullptr};
            execvp(opener, argv);
            char failed = 1;
            (void)!write(pipeFds[1], &failed, 1);
        }
        _exit(0);
    }
    close(pipeFds[1]);
    waitpid(middle, nullptr, 0);
    char failed = 0;
    bool started = read(pipeFds[0], &failed, 1) == 0;
    close(pipeFds[0]);
    return result(started ? 42 : 2);
}

#include "platform/shell/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

extern char** environ;

namespace platform::shell {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
}

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
}

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st{};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Frees the spawn attributes however Spawn leaves.
struct FileActions {
    posix_spawn_file_actions_t actions;
    FileActions() { posix_spawn_file_actions_init(&actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
};

}  // namespace

std::string FindProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (dir.empty()) dir.push_back('.');
        std::string candidate = dir;
        candidate.push_back('/');
        candidate.append(name);
        if (IsExecutableFile(candidate)) return candidate;
        start = end + 1;
    }
    return {};
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& setEnv) {
    std::vector<std::string> env;
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (char** e = environ; e && *e; ++e) {
        std::string entry = *e;
        bool replaced = false;
        for (const std::string& s : setEnv) replaced = replaced || nameOf(s) == nameOf(entry);
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), setEnv.begin(), setEnv.end());
    return env;
}

std::vector<char*> ExecVector(std::vector<std::string>& strings) {
    std::vector<char*> out;
    out.reserve(strings.size() + 1);
    for (std::string& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

std::optional<SpawnedChild> Spawn(const SpawnRequest& request) {
    if (request.path.empty() || request.argv.empty()) return std::nullopt;
    int fds[2] = {-1, -1};
    if (request.captureOutput && pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
    UniqueFd readEnd(fds[0]), writeEnd(fds[1]);
    FileActions fa;
    posix_spawn_file_actions_addopen(&fa.actions, 0, "/dev/null", O_RDONLY, 0);
    if (request.captureOutput) posix_spawn_file_actions_adddup2(&fa.actions, writeEnd.Get(), 1);
    else posix_spawn_file_actions_addopen(&fa.actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa.actions, 2, "/dev/null", O_WRONLY, 0);
    // Whatever else is open here (sockets, the display connection, files) stays ours.
    posix_spawn_file_actions_addclosefrom_np(&fa.actions, 3);
    std::vector<std::string> args = request.argv;
    std::vector<std::string> env = EnvironmentWith(request.setEnv);
    std::vector<char*> argv = ExecVector(args);
    std::vector<char*> envp = ExecVector(env);
    pid_t pid = -1;
    if (posix_spawn(&pid, request.path.c_str(), &fa.actions, nullptr, argv.data(), envp.data()) != 0) return std::nullopt;
    SpawnedChild child;
    child.pid = pid;
    child.output = std::move(readEnd);
    return child;
}

}  // namespace platform::shell

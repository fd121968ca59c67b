// Starting helper programs (file choosers, the web-address opener) without a shell: the
// program is looked up on PATH here, stdin and stderr go to /dev/null, stdout to a pipe or to
// /dev/null, and no other descriptor of ours reaches the child.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace platform::shell {

// A file descriptor closed with its owner.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }
    int Get() const { return fd_; }
    int Release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void Reset(int fd = -1);

private:
    int fd_ = -1;
};

// The full path of an executable: a name with a "/" is taken as it is, any other is searched
// on PATH. Empty when there is none.
std::string FindProgram(const std::string& name);

struct SpawnRequest {
    std::string path;                // full path of the program
    std::vector<std::string> argv;   // argv[0] included
    std::vector<std::string> setEnv; // "NAME=value" entries that replace or add to ours
    bool captureOutput = false;      // stdout to a pipe instead of /dev/null
};

struct SpawnedChild {
    pid_t pid = -1;
    UniqueFd output;  // read end of stdout when captured
};

// Starts the program; empty when it could not be executed.
std::optional<SpawnedChild> Spawn(const SpawnRequest& request);

// Our environment with the given entries replacing or adding to it.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& setEnv);

// Pointers for exec: the strings followed by a null.
std::vector<char*> ExecVector(std::vector<std::string>& strings);

}  // namespace platform::shell

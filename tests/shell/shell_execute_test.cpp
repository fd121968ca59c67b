// ShellExecuteA with a fake xdg-open first on PATH: which addresses it hands over, and what
// the opener inherits from us.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/shell.h"
#include "shell_test_support.h"

namespace {

using shell_testing::ReadFile;
using shell_testing::TempDir;

// Records where its descriptors lead (read before any redirection of its own), then its
// arguments, and last signals that it ran.
const char* kFakeOpener = R"(#!/bin/sh
fds=$(ls -l /proc/$$/fd)
printf '%s\n' "$fds" > "$OPENER_LOG.fds"
printf '%s\n' "$@" > "$OPENER_LOG.args"
mv "$OPENER_LOG.args" "$OPENER_LOG"
)";

class ShellExecuteTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string opener = dir.Path() + "/xdg-open";
        std::ofstream(opener) << kFakeOpener;
        chmod(opener.c_str(), 0755);
        env.Set("PATH", dir.Path() + ":" + std::string(std::getenv("PATH") ? std::getenv("PATH") : "/bin"));
        env.Set("OPENER_LOG", Log());
    }
    std::string Log() const { return dir.Path() + "/opened"; }
    static std::intptr_t Open(const char* address) {
        return reinterpret_cast<std::intptr_t>(ShellExecuteA(nullptr, nullptr, address, nullptr, nullptr, SW_SHOW));
    }
    TempDir dir;
    shell_testing::ScopedEnv env;
};

TEST_F(ShellExecuteTest, OnlyWebAddressesAreHandedOver) {
    struct Row {
        const char* name;
        const char* address;
        bool accepted;
    };
    const Row rows[] = {
        {"https", "https://utrozvon.example.org/", true},
        {"http with path and query", "http://example.org/a?b=c#d", true},
        {"scheme in capitals", "HTTPS://EXAMPLE.ORG", true},
        {"a file", "/etc/passwd", false},
        {"file scheme", "file:///etc/passwd", false},
        {"another scheme", "javascript:alert(1)", false},
        {"an option", "--help", false},
        {"scheme alone", "https://", false},
        {"newline", "https://example.org/\nrm", false},
        {"tab", "https://exa\tmple.org", false},
        {"space", "https://example.org/a b", false},
        {"delete character", "https://example.org/\x7f", false},
        {"empty", "", false},
    };
    for (const Row& r : rows) EXPECT_EQ(IsOpenableWebAddress(r.address), r.accepted) << r.name;
    EXPECT_FALSE(IsOpenableWebAddress(nullptr));
    EXPECT_LE(Open("file:///etc/passwd"), 32);
    EXPECT_NE(access(Log().c_str(), F_OK), 0) << "a refused address starts nothing";
}

TEST_F(ShellExecuteTest, TheOpenerGetsTheAddressAloneAndNoneOfOurDescriptors) {
    std::string sentinelPath = dir.Path() + "/sentinel-open-in-parent";
    int sentinel = open(sentinelPath.c_str(), O_CREAT | O_WRONLY, 0600);  // inheritable on purpose
    ASSERT_GE(sentinel, 0);
    EXPECT_GT(Open("https://utrozvon.example.org/path?q=1"), 32);
    close(sentinel);
    ASSERT_TRUE(shell_testing::WaitForFile(Log()));
    EXPECT_EQ(ReadFile(Log()), "https://utrozvon.example.org/path?q=1\n");
    std::string fds = ReadFile(Log() + ".fds");
    EXPECT_EQ(fds.find("sentinel"), std::string::npos) << fds;
    for (const char* fd : {" 0 -> /dev/null", " 1 -> /dev/null", " 2 -> /dev/null"})
        EXPECT_NE(fds.find(fd), std::string::npos) << fd << " in\n" << fds;
}

TEST_F(ShellExecuteTest, AMissingOpenerIsReported) {
    env.Set("PATH", "/nonexistent-for-tests");
    EXPECT_LE(Open("https://utrozvon.example.org/"), 32);
}

}  // namespace

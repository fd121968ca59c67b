// Shared set-up for the shell tests: the headless screen, an application with a shown form,
// message pumping, environment overrides undone after each test, and fake helper programs
// (file choosers, the web opener) placed first on PATH.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "framework/application.h"
#include "platform/headless/headless_backend.h"

namespace shell_testing {

platform::headless::HeadlessBackend& Screen();

// Sets environment variables for the scope and puts the old values back.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv();
    void Set(const std::string& name, const std::string& value);
    void Unset(const std::string& name);

private:
    void Remember(const std::string& name);
    std::map<std::string, std::optional<std::string>> saved_;
};

// A temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string Make(const std::string& relative) const;  // a sub-folder; returns its path
    std::string Touch(const std::string& relative) const;  // an empty file; returns its path

private:
    std::string path_;
};

// Fake programs on PATH: each records its name and arguments (zero-separated) in a log,
// waits while the file named by FAKE_WAIT_FOR is absent (if set), then prints FAKE_ANSWER and
// exits 0, or exits FAKE_EXIT (1 by default) without output.
class FakePrograms {
public:
    explicit FakePrograms(const std::vector<std::string>& names, bool keepSystemPath = true);
    // The last recorded run: program name first, then its arguments.
    std::vector<std::string> LastRun() const;
    int Runs() const;
    void Answer(const std::string& path) { env_.Set("FAKE_ANSWER", path); }
    void Cancel() { env_.Unset("FAKE_ANSWER"); }
    void Exit(int code) { env_.Set("FAKE_EXIT", std::to_string(code)); }
    void WaitFor(const std::string& file) { env_.Set("FAKE_WAIT_FOR", file); }
    const TempDir& Dir() const { return dir_; }
    std::string LogPath() const { return dir_.Path() + "/runs.log"; }

private:
    TempDir dir_;
    ScopedEnv env_;
};

std::string ReadFile(const std::string& path);
// Waits (up to ten seconds) until the file exists; the helpers under test run detached.
bool WaitForFile(const std::string& path);

// A test with an application and a shown form to put controls on.
class FormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Pump();
    framework::TForm* form = nullptr;

private:
    std::unique_ptr<framework::TApplication> app_;
};

}  // namespace shell_testing

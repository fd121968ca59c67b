#include "shell_test_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/headless_screen.h"

namespace shell_testing {

platform::headless::HeadlessBackend& Screen() { return test_support::HeadlessScreen(); }

ScopedEnv::~ScopedEnv() {
    for (auto& [name, value] : saved_) {
        if (value) setenv(name.c_str(), value->c_str(), 1);
        else unsetenv(name.c_str());
    }
}

void ScopedEnv::Remember(const std::string& name) {
    if (saved_.count(name)) return;
    const char* v = std::getenv(name.c_str());
    saved_[name] = v ? std::optional<std::string>(v) : std::nullopt;
}

void ScopedEnv::Set(const std::string& name, const std::string& value) {
    Remember(name);
    setenv(name.c_str(), value.c_str(), 1);
}

void ScopedEnv::Unset(const std::string& name) {
    Remember(name);
    unsetenv(name.c_str());
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "utrozvon-shell-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    if (made) path_ = made;
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Make(const std::string& relative) const {
    std::string p = path_ + "/" + relative;
    std::filesystem::create_directories(p);
    return p;
}

std::string TempDir::Touch(const std::string& relative) const {
    std::string p = path_ + "/" + relative;
    std::ofstream(p).put('\n');
    return p;
}

namespace {
const char* kFakeScript = R"(#!/bin/sh
{ printf '%s\0' "${0##*/}" "$@"; printf '\n'; } >> "$FAKE_LOG"
if [ -n "$FAKE_WAIT_FOR" ]; then
  i=0
  while [ ! -e "$FAKE_WAIT_FOR" ] && [ $i -lt 1000 ]; do sleep 0.01; i=$((i+1)); done
fi
if [ -n "$FAKE_ANSWER" ]; then printf '%s\n' "$FAKE_ANSWER"; exit 0; fi
exit "${FAKE_EXIT:-1}"
)";
}  // namespace

FakePrograms::FakePrograms(const std::vector<std::string>& names, bool keepSystemPath) {
    for (const std::string& name : names) {
        std::string path = dir_.Path() + "/" + name;
        std::ofstream(path) << kFakeScript;
        chmod(path.c_str(), 0755);
    }
    const char* old = std::getenv("PATH");
    std::string path = dir_.Path();
    // /bin stays reachable for the fakes' own sh, never the real choosers in /usr/bin.
    if (keepSystemPath && old) path += std::string(":") + old;
    else path += ":/nonexistent-for-tests";
    env_.Set("PATH", path);
    env_.Set("FAKE_LOG", LogPath());
    env_.Set("DISPLAY", ":fake");
    env_.Unset("FAKE_ANSWER");
    env_.Unset("FAKE_WAIT_FOR");
    env_.Unset("FAKE_EXIT");
    env_.Unset("XDG_CURRENT_DESKTOP");
}

std::vector<std::string> FakePrograms::LastRun() const {
    std::string log = ReadFile(LogPath());
    if (log.empty()) return {};
    log.pop_back();  // the newline after the last run
    std::size_t start = log.rfind("\0\n", std::string::npos, 2);
    start = start == std::string::npos ? 0 : start + 2;
    std::vector<std::string> out;
    std::istringstream in(log.substr(start));
    std::string item;
    while (std::getline(in, item, '\0')) out.push_back(item);
    return out;
}

int FakePrograms::Runs() const {
    std::string log = ReadFile(LogPath());
    int runs = 0;
    for (std::size_t i = 1; i < log.size(); ++i) runs += log[i] == '\n' && log[i - 1] == '\0';
    return runs;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 1000; ++i) {
        if (access(path.c_str(), F_OK) == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void FormTest::SetUp() {
    Screen();
    app_ = std::make_unique<framework::TApplication>();
    app_->Title = "Утрозвон";
    app_->CreateForm(form);
    form->SetBounds(100, 100, 400, 200);
    form->Show();
    Pump();
}

void FormTest::TearDown() {
    app_.reset();
    Pump();
}

void FormTest::Pump() {
    if (framework::Application) framework::Application->ProcessMessages();
    MSG msg;
    for (int guard = 0; guard < 10000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

}  // namespace shell_testing

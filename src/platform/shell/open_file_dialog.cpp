// GetOpenFileNameA and GetSaveFileNameA over the desktop's file chooser, run as a child while
// our message loop goes on.
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/commdlg.h"
#include "platform/shell/child_process.h"
#include "platform/shell/file_chooser.h"
#include "platform/window.h"

namespace platform::shell {
namespace {

DWORD g_lastError = 0;

enum class Outcome { Confirmed, Cancelled, Failed };

struct ChooserResult {
    Outcome outcome = Outcome::Failed;
    std::string path;
};

// Reads the chooser's answer and reaps it on a thread of its own, then wakes the GUI thread;
// the GUI thread only looks at the result once `done` is set.
class ChooserWatch {
public:
    ChooserWatch(SpawnedChild child, DWORD guiThread) : child_(std::move(child)) {
        worker_ = std::thread([this, guiThread] { Run(guiThread); });
    }
    ~ChooserWatch() {
        if (worker_.joinable()) worker_.join();
    }
    ChooserWatch(const ChooserWatch&) = delete;
    ChooserWatch& operator=(const ChooserWatch&) = delete;
    bool Done() const { return done_.load(std::memory_order_acquire); }
    void Stop() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!exited_) kill(child_.pid, SIGTERM);
    }
    const std::string& Output() const { return output_; }
    int Status() const { return status_; }

private:
    void Run(DWORD guiThread) {
        char buffer[4096];
        for (;;) {
            ssize_t n = read(child_.output.Get(), buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            // A path is short; anything far longer is no answer we can use.
            if (output_.size() < 65536) output_.append(buffer, static_cast<std::size_t>(n));
        }
        // Waiting without reaping first keeps the pid ours while Stop may still signal it.
        siginfo_t info{};
        while (waitid(P_PID, static_cast<id_t>(child_.pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            exited_ = true;
        }
        while (waitpid(child_.pid, &status_, 0) < 0 && errno == EINTR) {
        }
        done_.store(true, std::memory_order_release);
        PostThreadMessage(guiThread, WM_NULL, 0, 0);
    }

    SpawnedChild child_;
    std::string output_;
    int status_ = -1;
    std::atomic<bool> done_{false};
    std::mutex mutex_;
    bool exited_ = false;
    std::thread worker_;
};

// The owner's message loop, run until the chooser ends; a WM_QUIT ends the chooser and is
// posted again afterwards, as a modal dialog does.
void RunLoopUntilDone(ChooserWatch& watch, HWND owner) {
    std::optional<int> quit;
    MSG msg{};
    while (!watch.Done()) {
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (owner && IsWindow(owner)) SendMessage(owner, WM_ENTERIDLE, 0, 0);
            if (!watch.Done()) WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            if (!quit) watch.Stop();
            quit = static_cast<int>(msg.wParam);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    if (quit) PostQuitMessage(*quit);
}

ChooserResult Interpret(const ChooserWatch& watch) {
    ChooserResult r;
    int status = watch.Status();
    if (!WIFEXITED(status)) return r;
    std::string path = watch.Output();
    if (!path.empty() && path.back() == '\n') path.pop_back();
    if (WEXITSTATUS(status) == 0 && !path.empty()) {
        r.outcome = Outcome::Confirmed;
        r.path = path;
    } else if (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 1) {
        r.outcome = Outcome::Cancelled;
    }
    return r;
}

ChooserResult RunChooser(ChooserKind kind, const ChooserQuery& query, HWND owner) {
    SpawnRequest request;
    request.path = FindProgram(ChooserProgram(kind));
    if (request.path.empty()) return {};
    request.argv.emplace_back(ChooserProgram(kind));
    std::vector<std::string> args = kind == ChooserKind::Zenity ? ZenityArguments(query) : KdialogArguments(query);
    request.argv.insert(request.argv.end(), args.begin(), args.end());
    if (kind == ChooserKind::Zenity) request.setEnv = ZenityEnvironment();
    request.captureOutput = true;
    std::optional<SpawnedChild> child = Spawn(request);
    if (!child) return {};
    ChooserWatch watch(std::move(*child), GetCurrentThreadId());
    RunLoopUntilDone(watch, owner);
    return Interpret(watch);
}

bool DisplayNamed() {
    auto named = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return named("DISPLAY") || named("WAYLAND_DISPLAY");
}

ChooserQuery QueryOf(const OPENFILENAMEA& ofn, bool save) {
    ChooserQuery q;
    q.save = save;
    q.confirmOverwrite = (ofn.Flags & OFN_OVERWRITEPROMPT) != 0;
    if (ofn.lpstrTitle) q.title = ofn.lpstrTitle;
    if (ofn.lpstrInitialDir) q.initialDir = ofn.lpstrInitialDir;
    if (ofn.lpstrFile) q.fileName.assign(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile));
    q.filters = ParseFilterList(ofn.lpstrFilter);
    q.selectedFilter = ofn.nFilterIndex > 0 ? static_cast<int>(ofn.nFilterIndex) - 1 : 0;
    return q;
}

BOOL StoreResult(OPENFILENAMEA& ofn, const std::string& path) {
    if (!ofn.lpstrFile || path.size() + 1 > ofn.nMaxFile) {
        g_lastError = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
    std::size_t slash = path.rfind('/');
    std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.rfind('.');
    ofn.nFileOffset = static_cast<WORD>(nameStart);
    ofn.nFileExtension = static_cast<WORD>(dot != std::string::npos && dot > nameStart ? dot + 1 : path.size());
    return TRUE;
}

BOOL RunFileDialog(OPENFILENAMEA* ofn, bool save) {
    g_lastError = 0;
    if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0) {
        g_lastError = CDERR_INITIALIZATION;
        return FALSE;
    }
    if (!DisplayNamed()) {
        g_lastError = CDERR_INITIALIZATION;
        return FALSE;
    }
    HWND owner = ofn->hwndOwner && IsWindow(ofn->hwndOwner) ? GetAncestor(ofn->hwndOwner, GA_ROOT) : nullptr;
    bool reenable = owner && IsWindowEnabled(owner);
    if (reenable) EnableWindow(owner, FALSE);
    ChooserQuery query = QueryOf(*ofn, save);
    ChooserResult result;
    for (ChooserKind kind : ChooserOrder(std::getenv("XDG_CURRENT_DESKTOP"))) {
        result = RunChooser(kind, query, owner);
        if (result.outcome != Outcome::Failed) break;
    }
    if (reenable && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    switch (result.outcome) {
        case Outcome::Confirmed: return StoreResult(*ofn, result.path);
        case Outcome::Cancelled: return FALSE;
        case Outcome::Failed: g_lastError = CDERR_INITIALIZATION; return FALSE;
    }
    return FALSE;
}

}  // namespace
}  // namespace platform::shell

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) { return platform::shell::RunFileDialog(ofn, false); }
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) { return platform::shell::RunFileDialog(ofn, true); }
DWORD CommDlgExtendedError() { return platform::shell::g_lastError; }

// An in-memory screen: a complete backend with real pixels, synthetic input and screen grabs,
// for tests, screenshots and scripted scenarios.
#pragma once

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/script.h"

namespace platform::headless {

class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(SIZE screen = SIZE{1280, 1024});

    // Reads UTROZVON_SCREEN and UTROZVON_SCRIPT; a script that cannot be parsed ends the
    // process with exit code 2 and a message naming the line.
    static std::unique_ptr<HeadlessBackend> FromEnvironment();

    const char* Name() const override { return "headless"; }
    SIZE ScreenSize() const override { return screen_; }
    RECT WorkArea() const override { return RECT{0, 0, screen_.cx, screen_.cy}; }
    SurfaceId CreateSurface(const SurfaceParams& params) override;
    void DestroySurface(SurfaceId id) override;
    void UpdateSurface(SurfaceId id, const SurfaceParams& params) override;
    void ShowSurface(SurfaceId id, bool show, bool activate) override;
    void MoveSurface(SurfaceId id, const RECT& screenRect) override;
    void RestackSurfaces(const std::vector<SurfaceId>& topToBottom) override;
    void SetSurfaceShape(SurfaceId id, const Region* shape) override;
    void SetSurfaceTitle(SurfaceId id, const std::string& title) override;
    void SetSurfaceIcon(SurfaceId, const IconPixels&) override {}
    void Present(SurfaceId id, const gdi::PixelBuffer& pixels, const Region& damage, bool perPixelAlpha,
                 BYTE opacity) override;
    bool LayeredSupported() const override { return true; }
    bool BeginMoveResize(SurfaceId, int, POINT) override { return false; }
    void Minimize(SurfaceId id) override;
    void Activate(SurfaceId) override {}
    void GrabPointer(SurfaceId, bool) override {}
    POINT PointerPosition() const override { return pointer_; }
    void WarpPointer(POINT screen) override { pointer_ = screen; }
    void SetCursorShape(SurfaceId, int shape) override { cursorShape_ = shape; }
    std::optional<BackendEvent> Poll() override;
    void Wait(int timeoutMs) override;
    void Wake() override;
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }
    std::optional<std::string> ClipboardText() override { return clipboard_; }
    bool TrayAvailable() const override { return trayOn_; }
    bool AddTrayIcon(int trayId, const IconPixels& icon, const std::string& tip) override;
    bool UpdateTrayIcon(int trayId, const IconPixels& icon, const std::string& tip) override;
    void RemoveTrayIcon(int trayId) override;
    bool CompositorPresent() const override { return true; }

    // --- Synthetic input (screen coordinates) ---
    void MovePointer(POINT screen);
    void Press(MouseButton button, POINT screen);
    void Release(MouseButton button, POINT screen);
    void Click(MouseButton button, POINT screen);
    void Wheel(POINT screen, int delta);
    void KeyPress(UINT vk, const std::string& text = {});
    void KeyRelease(UINT vk);
    void TypeText(const std::string& utf8);
    void PressChord(const KeyChord& chord);
    void TrayMouse(const std::string& action);
    void SetTrayPresent(bool on);
    void Push(BackendEvent e);
    // What a window manager does from its task bar or keyboard: the surface is minimised,
    // maximised or restored, and the program is told.
    void WindowManagerSets(SurfaceId id, SurfaceState state);

    // --- Inspection ---
    // The composed screen, 32-bit BGRA, top-down, width * 4 bytes a row.
    std::vector<std::uint32_t> ComposeScreen() const;
    bool SaveScreenshot(const std::string& path) const;
    // Shown, not minimised, and a frame presented since it was shown.
    bool SurfaceVisible(SurfaceId id) const;
    // The style the core last gave the surface.
    SurfaceParams SurfaceStyle(SurfaceId id) const;
    // The newest surface with that title (0: none).
    SurfaceId SurfaceTitled(const std::string& title) const;
    RECT SurfaceRect(SurfaceId id) const;
    int CursorShape() const { return cursorShape_; }
    struct TrayIconState {
        int id;
        IconPixels icon;
        std::string tip;
    };
    const std::vector<TrayIconState>& TrayIcons() const { return trayIcons_; }

    void SetScript(std::vector<ScriptCommand> commands);
    bool ScriptFinished() const { return nextCommand_ >= script_.size(); }

private:
    struct Surf {
        RECT rect{};
        bool shown = false;
        bool awaitingFrame = false;  // shown, but nothing presented since
        bool minimized = false;
        SurfaceParams params;
        bool perPixelAlpha = false;
        BYTE opacity = 255;
        std::vector<std::uint32_t> pixels;  // presented pixels, rect-sized
        std::unique_ptr<Region> shape;
        std::string title;
    };
    void ResizeStore(Surf& s);
    void ComposeSurface(const Surf& s, std::vector<std::uint32_t>& screen) const;
    // Runs due script commands; returns milliseconds until the next one (-1: none).
    int RunScript();
    bool RunCommand(const ScriptCommand& c);
    DWORD Time() const;

    SIZE screen_;
    POINT pointer_{};
    int cursorShape_ = 0;
    std::map<SurfaceId, Surf> surfaces_;
    std::vector<SurfaceId> stack_;  // top first
    SurfaceId nextId_ = 1;
    std::deque<BackendEvent> events_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
    std::optional<std::string> clipboard_;
    bool trayOn_ = true;
    std::vector<TrayIconState> trayIcons_;
    std::vector<ScriptCommand> script_;
    std::size_t nextCommand_ = 0;
    std::int64_t nextCommandAt_ = 0;
};

}  // namespace platform::headless

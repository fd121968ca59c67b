#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/clock.h"
#include "platform/image_files.h"
#include "platform/virtual_keys.h"

namespace platform::headless {
namespace {

// The classic desktop background.
constexpr std::uint32_t kDesktop = 0xFF3A6EA5u;

SIZE ScreenFromEnvironment() {
    SIZE s{1280, 1024};
    if (const char* v = std::getenv("UTROZVON_SCREEN")) {
        int w = 0, h = 0;
        if (std::sscanf(v, "%dx%d", &w, &h) == 2 && w >= 64 && h >= 64 && w <= 8192 && h <= 8192) s = SIZE{w, h};
        else std::fprintf(stderr, "utrozvon: ignoring UTROZVON_SCREEN '%s' (expected WxH)\n", v);
    }
    return s;
}

std::uint32_t Blend(std::uint32_t dst, std::uint32_t src, bool perPixel, unsigned opacity) {
    unsigned a = perPixel ? (src >> 24) * opacity / 255 : opacity;
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        unsigned s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        unsigned v = perPixel ? s * opacity / 255 + d * (255 - a) / 255 : (s * a + d * (255 - a)) / 255;
        out |= std::min(v, 255u) << shift;
    }
    return out;
}

UINT VkForCodePoint(std::uint32_t cp) {
    if (cp >= 'a' && cp <= 'z') return cp - 'a' + 'A';
    if ((cp >= 'A' && cp <= 'Z') || (cp >= '0' && cp <= '9')) return cp;
    if (cp == ' ') return VK_SPACE;
    return VK_PACKET;
}

}  // namespace

HeadlessBackend::HeadlessBackend(SIZE screen) : screen_(screen), pointer_{screen.cx / 2, screen.cy / 2} {}

std::unique_ptr<HeadlessBackend> HeadlessBackend::FromEnvironment() {
    auto backend = std::make_unique<HeadlessBackend>(ScreenFromEnvironment());
    const char* path = std::getenv("UTROZVON_SCRIPT");
    if (!path || !*path) return backend;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "utrozvon: cannot read the script '%s'\n", path);
        std::exit(2);
    }
    std::stringstream text;
    text << in.rdbuf();
    ParsedScript parsed = ParseScript(text.str());
    if (parsed.error) {
        std::fprintf(stderr, "utrozvon: script %s line %d cannot be parsed: %s\n", path, parsed.error->line,
                     parsed.error->text.c_str());
        std::exit(2);
    }
    backend->SetScript(std::move(parsed.commands));
    return backend;
}

DWORD HeadlessBackend::Time() const { return static_cast<DWORD>(MonotonicMilliseconds()); }

void HeadlessBackend::ResizeStore(Surf& s) {
    int w = s.rect.right - s.rect.left, h = s.rect.bottom - s.rect.top;
    s.pixels.assign(static_cast<std::size_t>(std::max(w, 0)) * std::max(h, 0), 0xFF000000u);
}

SurfaceId HeadlessBackend::CreateSurface(const SurfaceParams& params) {
    SurfaceId id = nextId_++;
    Surf& s = surfaces_[id];
    s.rect = params.screenRect;
    s.title = params.title;
    s.params = params;
    ResizeStore(s);
    stack_.insert(stack_.begin(), id);
    return id;
}

void HeadlessBackend::DestroySurface(SurfaceId id) {
    surfaces_.erase(id);
    std::erase(stack_, id);
}

void HeadlessBackend::UpdateSurface(SurfaceId id, const SurfaceParams& params) {
    auto it = surfaces_.find(id);
    if (it == surfaces_.end()) return;
    RECT rect = it->second.params.screenRect;
    it->second.params = params;
    it->second.params.screenRect = rect;
}

void HeadlessBackend::ShowSurface(SurfaceId id, bool show, bool) {
    auto it = surfaces_.find(id);
    if (it == surfaces_.end()) return;
    Surf& s = it->second;
    if (show && !s.shown) s.awaitingFrame = true;
    if (!show) s.awaitingFrame = false;
    s.shown = show;
    if (show) s.minimized = false;
}

void HeadlessBackend::WindowManagerSets(SurfaceId id, SurfaceState state) {
    auto it = surfaces_.find(id);
    if (it == surfaces_.end()) return;
    it->second.minimized = state == SurfaceState::Minimized;
    BackendEvent e;
    e.kind = EventKind::SurfaceState;
    e.surface = id;
    e.param = static_cast<int>(state);
    Push(e);
}

void HeadlessBackend::Minimize(SurfaceId id) {
    auto it = surfaces_.find(id);
    if (it != surfaces_.end()) it->second.minimized = true;
}

void HeadlessBackend::MoveSurface(SurfaceId id, const RECT& r) {
    auto it = surfaces_.find(id);
    if (it == surfaces_.end()) return;
    Surf& s = it->second;
    bool resized = r.right - r.left != s.rect.right - s.rect.left || r.bottom - r.top != s.rect.bottom - s.rect.top;
    s.rect = r;
    if (resized) ResizeStore(s);
}

void HeadlessBackend::RestackSurfaces(const std::vector<SurfaceId>& topToBottom) {
    std::vector<SurfaceId> next;
    for (SurfaceId id : topToBottom)
        if (surfaces_.count(id)) next.push_back(id);
    for (SurfaceId id : stack_)
        if (std::find(next.begin(), next.end(), id) == next.end()) next.push_back(id);
    stack_ = std::move(next);
}

void HeadlessBackend::SetSurfaceShape(SurfaceId id, const Region* shape) {
    auto it = surfaces_.find(id);
    if (it == surfaces_.end()) return;
    it->second.shape = shape ? std::make_unique<Region>(*shape) : nullptr;
}

void HeadlessBackend::SetSurfaceTitle(SurfaceId id, const std::string& title) {
    auto it = surfaces_.find(id);
    if (it != surfaces_.end()) it->second.title = title;
}

void HeadlessBackend::Present(SurfaceId id, const gdi::PixelBuffer& pixels, const Region& damage, bool perPixelAlpha,
                              BYTE opacity) {
    auto it = surfaces_.find(id);
    if (it == surfaces_.end()) return;
    Surf& s = it->second;
    s.awaitingFrame = false;
    s.perPixelAlpha = perPixelAlpha;
    s.opacity = opacity;
    int w = s.rect.right - s.rect.left, h = s.rect.bottom - s.rect.top;
    Region area = damage.Intersected(Region(0, 0, std::min(w, pixels.width), std::min(h, pixels.height)));
    for (const RECT& r : area.Rects()) {
        for (int y = r.top; y < r.bottom; ++y) {
            const auto* src = reinterpret_cast<const std::uint32_t*>(pixels.Row(y)) + r.left;
            std::copy(src, src + (r.right - r.left), &s.pixels[static_cast<std::size_t>(y) * w + r.left]);
        }
    }
}

void HeadlessBackend::ComposeSurface(const Surf& s, std::vector<std::uint32_t>& screen) const {
    int w = s.rect.right - s.rect.left;
    RECT clip = RectIntersection(s.rect, RECT{0, 0, screen_.cx, screen_.cy});
    if (RectIsEmpty(clip)) return;
    Region area(clip);
    if (s.shape) {
        Region shape = *s.shape;
        shape.Offset(s.rect.left, s.rect.top);
        area.Intersect(shape);
    }
    bool opaque = !s.perPixelAlpha && s.opacity == 255;
    for (const RECT& r : area.Rects()) {
        for (int y = r.top; y < r.bottom; ++y) {
            const std::uint32_t* src = &s.pixels[static_cast<std::size_t>(y - s.rect.top) * w + (r.left - s.rect.left)];
            std::uint32_t* dst = &screen[static_cast<std::size_t>(y) * screen_.cx + r.left];
            for (int x = 0; x < r.right - r.left; ++x)
                dst[x] = opaque ? (src[x] | 0xFF000000u) : Blend(dst[x], src[x], s.perPixelAlpha, s.opacity);
        }
    }
}

std::vector<std::uint32_t> HeadlessBackend::ComposeScreen() const {
    std::vector<std::uint32_t> screen(static_cast<std::size_t>(screen_.cx) * screen_.cy, kDesktop);
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        const Surf& s = surfaces_.at(*it);
        if (s.shown && !s.minimized && !s.awaitingFrame) ComposeSurface(s, screen);
    }
    return screen;
}

bool HeadlessBackend::SaveScreenshot(const std::string& path) const {
    std::vector<std::uint32_t> screen = ComposeScreen();
    gdi::PixelBuffer buffer{reinterpret_cast<BYTE*>(screen.data()), screen_.cx, screen_.cy, screen_.cx * 4, 32};
    try {
        WritePng(path, buffer, false);
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "utrozvon: cannot write the screenshot %s: %s\n", path.c_str(), e.what());
        return false;
    }
}

bool HeadlessBackend::SurfaceVisible(SurfaceId id) const {
    auto it = surfaces_.find(id);
    return it != surfaces_.end() && it->second.shown && !it->second.minimized && !it->second.awaitingFrame;
}

SurfaceId HeadlessBackend::SurfaceTitled(const std::string& title) const {
    SurfaceId found = 0;
    for (const auto& [id, s] : surfaces_)
        if (s.title == title) found = id;
    return found;
}

SurfaceParams HeadlessBackend::SurfaceStyle(SurfaceId id) const {
    auto it = surfaces_.find(id);
    return it == surfaces_.end() ? SurfaceParams{} : it->second.params;
}

RECT HeadlessBackend::SurfaceRect(SurfaceId id) const {
    auto it = surfaces_.find(id);
    return it == surfaces_.end() ? RECT{} : it->second.rect;
}

// --- events -------------------------------------------------------------------------------

void HeadlessBackend::Push(BackendEvent e) {
    e.time = e.time ? e.time : Time();
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(e));
}

std::optional<BackendEvent> HeadlessBackend::Poll() {
    std::lock_guard lock(mutex_);
    if (events_.empty()) return std::nullopt;
    BackendEvent e = std::move(events_.front());
    events_.pop_front();
    return e;
}

void HeadlessBackend::Wait(int timeoutMs) {
    int scriptDelay = RunScript();
    std::unique_lock lock(mutex_);
    if (!events_.empty() || woken_) {
        woken_ = false;
        return;
    }
    int wait = timeoutMs;
    if (scriptDelay >= 0 && (wait < 0 || scriptDelay < wait)) wait = scriptDelay;
    auto ready = [this] { return woken_ || !events_.empty(); };
    if (wait < 0) wake_.wait(lock, ready);
    else wake_.wait_for(lock, std::chrono::milliseconds(wait), ready);
    woken_ = false;
}

void HeadlessBackend::Wake() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
}

void HeadlessBackend::MovePointer(POINT screen) {
    pointer_ = screen;
    BackendEvent e;
    e.kind = EventKind::MouseMove;
    e.screen = screen;
    Push(e);
}

void HeadlessBackend::Press(MouseButton button, POINT screen) {
    pointer_ = screen;
    BackendEvent e;
    e.kind = EventKind::ButtonPress;
    e.button = button;
    e.screen = screen;
    Push(e);
}

void HeadlessBackend::Release(MouseButton button, POINT screen) {
    pointer_ = screen;
    BackendEvent e;
    e.kind = EventKind::ButtonRelease;
    e.button = button;
    e.screen = screen;
    Push(e);
}

void HeadlessBackend::Click(MouseButton button, POINT screen) {
    MovePointer(screen);
    Press(button, screen);
    Release(button, screen);
}

void HeadlessBackend::Wheel(POINT screen, int delta) {
    BackendEvent e;
    e.kind = EventKind::Wheel;
    e.screen = screen;
    e.wheelDelta = delta;
    Push(e);
}

void HeadlessBackend::KeyPress(UINT vk, const std::string& text) {
    BackendEvent e;
    e.kind = EventKind::KeyPress;
    e.vk = vk;
    e.text = text;
    e.screen = pointer_;
    Push(e);
}

void HeadlessBackend::KeyRelease(UINT vk) {
    BackendEvent e;
    e.kind = EventKind::KeyRelease;
    e.vk = vk;
    e.screen = pointer_;
    Push(e);
}

void HeadlessBackend::TypeText(const std::string& utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t start = i;
        auto b = static_cast<unsigned char>(utf8[i++]);
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        while (extra-- > 0 && i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
        std::string ch = utf8.substr(start, i - start);
        UINT vk = VkForCodePoint(ch.size() == 1 ? static_cast<unsigned char>(ch[0]) : 0x100);
        bool shift = ch.size() == 1 && ch[0] >= 'A' && ch[0] <= 'Z';
        if (shift) KeyPress(VK_SHIFT);
        KeyPress(vk, ch);
        KeyRelease(vk);
        if (shift) KeyRelease(VK_SHIFT);
    }
}

void HeadlessBackend::PressChord(const KeyChord& k) {
    if (k.ctrl) KeyPress(VK_CONTROL);
    if (k.alt) KeyPress(VK_MENU);
    if (k.shift) KeyPress(VK_SHIFT);
    KeyPress(k.vk, k.text);
    KeyRelease(k.vk);
    if (k.shift) KeyRelease(VK_SHIFT);
    if (k.alt) KeyRelease(VK_MENU);
    if (k.ctrl) KeyRelease(VK_CONTROL);
}

// --- tray ---------------------------------------------------------------------------------

bool HeadlessBackend::AddTrayIcon(int trayId, const IconPixels& icon, const std::string& tip) {
    if (!trayOn_) return false;
    RemoveTrayIcon(trayId);
    trayIcons_.push_back(TrayIconState{trayId, icon, tip});
    return true;
}

bool HeadlessBackend::UpdateTrayIcon(int trayId, const IconPixels& icon, const std::string& tip) {
    for (TrayIconState& t : trayIcons_) {
        if (t.id != trayId) continue;
        t.icon = icon;
        t.tip = tip;
        return true;
    }
    return false;
}

void HeadlessBackend::RemoveTrayIcon(int trayId) {
    std::erase_if(trayIcons_, [trayId](const TrayIconState& t) { return t.id == trayId; });
}

void HeadlessBackend::SetTrayPresent(bool on) {
    if (on == trayOn_) return;
    trayOn_ = on;
    trayIcons_.clear();
    BackendEvent e;
    e.kind = on ? EventKind::TrayReset : EventKind::TrayLost;
    Push(e);
}

void HeadlessBackend::TrayMouse(const std::string& action) {
    if (trayIcons_.empty()) {
        std::fprintf(stderr, "utrozvon: script: 'tray %s' but no tray icon is shown\n", action.c_str());
        return;
    }
    MouseButton button = action == "rclick" ? MouseButton::Right : action == "mclick" ? MouseButton::Middle
                                                                                      : MouseButton::Left;
    auto send = [&](bool down, bool dbl) {
        BackendEvent e;
        e.kind = EventKind::TrayMouse;
        e.trayId = trayIcons_.front().id;
        e.button = button;
        e.param = down ? 1 : 0;
        e.doubleClick = dbl;
        e.screen = POINT{screen_.cx - 12, 12};
        Push(e);
    };
    send(true, false);
    send(false, false);
    if (action == "dblclick") {
        send(true, true);
        send(false, false);
    }
}

// --- script -------------------------------------------------------------------------------

void HeadlessBackend::SetScript(std::vector<ScriptCommand> commands) {
    script_ = std::move(commands);
    nextCommand_ = 0;
    nextCommandAt_ = MonotonicMilliseconds();
}

int HeadlessBackend::RunScript() {
    while (nextCommand_ < script_.size()) {
        std::int64_t now = MonotonicMilliseconds();
        if (now < nextCommandAt_) return static_cast<int>(nextCommandAt_ - now);
        const ScriptCommand& c = script_[nextCommand_++];
        // Input goes one command at a time, so the program handles it before the next one.
        if (RunCommand(c)) return 0;
    }
    return -1;
}

bool HeadlessBackend::RunCommand(const ScriptCommand& c) {
    auto pointerEvent = [&](EventKind kind, MouseButton button, bool dbl = false) {
        BackendEvent e;
        e.kind = kind;
        e.button = button;
        e.screen = c.point;
        e.mainClientCoords = !c.screenCoords;
        e.doubleClick = dbl;
        Push(e);
    };
    auto click = [&](MouseButton b) {
        pointerEvent(EventKind::MouseMove, MouseButton::None);
        pointerEvent(EventKind::ButtonPress, b);
        pointerEvent(EventKind::ButtonRelease, b);
    };
    switch (c.op) {
        case ScriptOp::Wait: nextCommandAt_ = MonotonicMilliseconds() + c.millis; return false;
        case ScriptOp::Move: pointerEvent(EventKind::MouseMove, MouseButton::None); return true;
        case ScriptOp::Click: click(MouseButton::Left); return true;
        case ScriptOp::RightClick: click(MouseButton::Right); return true;
        case ScriptOp::MiddleClick: click(MouseButton::Middle); return true;
        case ScriptOp::DoubleClick:
            click(MouseButton::Left);
            pointerEvent(EventKind::ButtonPress, MouseButton::Left, true);
            pointerEvent(EventKind::ButtonRelease, MouseButton::Left);
            return true;
        case ScriptOp::Key: {
            KeyChord k;
            ParseKeyName(c.text, &k);
            PressChord(k);
            return true;
        }
        case ScriptOp::Type: TypeText(c.text); return true;
        case ScriptOp::Tray: TrayMouse(c.trayAction); return true;
        case ScriptOp::TrayOn: SetTrayPresent(true); return true;
        case ScriptOp::TrayOff: SetTrayPresent(false); return false;
        case ScriptOp::Shot: SaveScreenshot(c.text); return false;
        case ScriptOp::Quit: {
            BackendEvent e;
            e.kind = EventKind::ScriptPost;
            Push(e);
            return true;
        }
    }
    return false;
}

}  // namespace platform::headless

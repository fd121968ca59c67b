// The handle table behind the C calls. One mutex guards it; pipelines are prerolled and
// drained outside the lock so a slow file or a stopping stream never blocks other calls.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/bass_api.h"
#include "audio/gst_runtime.h"
#include "audio/stream.h"

namespace audio::detail {

namespace {

// How long a stopped stream may take to push end-of-stream to its sink.
constexpr auto kDrainTimeout = std::chrono::milliseconds(500);

using StreamList = std::vector<std::unique_ptr<Stream>>;

struct Registry {
    std::mutex mutex;
    bool initialised = false;
    DWORD freq = 44100;
    DWORD flags = 0;
    HSTREAM next_handle = 1;
    std::map<HSTREAM, std::unique_ptr<Stream>> streams;
    std::unique_ptr<WatchThread> watcher;
};

// Never destroyed, so the watch thread may still reach it while the exit hook runs.
Registry& R() {
    static Registry* registry = new Registry;
    return *registry;
}

// Frees the pipelines and joins our threads at exit.
struct ExitHook {
    ~ExitHook() { audio::Shutdown(); }
} g_exit_hook;

std::unique_ptr<Stream> Take(Registry& r, HSTREAM handle) {
    auto it = r.streams.find(handle);
    if (it == r.streams.end()) return nullptr;
    std::unique_ptr<Stream> s = std::move(it->second);
    r.streams.erase(it);
    return s;
}

// Drains all of them together, so stopping several costs one timeout, not one each.
void StopStreams(StreamList streams) {
    for (auto& s : streams) s->BeginStop();
    const auto deadline = std::chrono::steady_clock::now() + kDrainTimeout;
    for (auto& s : streams) s->FinishStop(deadline);
}

bool IsReadableFile(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0 && S_ISREG(st.st_mode) && ::access(path, R_OK) == 0;
}

}  // namespace

void StreamEnded(uint32_t handle) {
    std::unique_ptr<Stream> ended;
    {
        std::lock_guard lock(R().mutex);
        ended = Take(R(), handle);
    }
    // Destroyed here, on the watch thread, outside the lock.
}

}  // namespace audio::detail

using namespace audio::detail;

BOOL BASS_Init(int device, DWORD freq, DWORD flags, void*, const void*) {
    if (device != -1 && device != 1) return FALSE;
    {
        std::lock_guard lock(R().mutex);
        R().initialised = true;
        if (freq) R().freq = freq;
        R().flags = flags;
    }
    PreloadInBackground();
    return TRUE;
}

BOOL BASS_Start() {
    std::lock_guard lock(R().mutex);
    return R().initialised ? TRUE : FALSE;
}

BOOL BASS_GetInfo(BASS_INFO* info) {
    if (!info) return FALSE;
    std::lock_guard lock(R().mutex);
    if (!R().initialised) return FALSE;
    *info = BASS_INFO{};
    info->minrate = 8000;
    info->maxrate = 192000;
    info->initflags = R().flags;
    info->speakers = 2;
    info->freq = R().freq;
    return TRUE;
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD, DWORD) {
    if (mem || !file || offset) return 0;
    const char* path = static_cast<const char*>(file);
    if (!*path) return 0;
    HSTREAM handle = 0;
    {
        std::lock_guard lock(R().mutex);
        if (!R().initialised) return 0;
        handle = R().next_handle++;
    }
    if (!EnsureGst() || !IsReadableFile(path)) return 0;
    std::unique_ptr<Stream> s = Stream::Open(path, handle);
    if (!s) return 0;

    std::unique_lock lock(R().mutex);
    if (!R().initialised) {  // shut down while we were prerolling
        lock.unlock();
        return 0;
    }
    if (!R().watcher) R().watcher = std::make_unique<WatchThread>();
    s->Watch(R().watcher->context());
    R().streams.emplace(handle, std::move(s));
    return handle;
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart) {
    std::lock_guard lock(R().mutex);
    auto it = R().streams.find(handle);
    if (it == R().streams.end()) return FALSE;
    return it->second->Play(restart != FALSE) ? TRUE : FALSE;
}

BOOL BASS_ChannelStop(DWORD handle) {
    std::unique_ptr<Stream> s;
    {
        std::lock_guard lock(R().mutex);
        s = Take(R(), handle);
    }
    if (!s) return FALSE;
    StreamList one;
    one.push_back(std::move(s));
    StopStreams(std::move(one));
    return TRUE;
}

namespace audio {

void Preload() { EnsureGst(); }

void StopAll() {
    StreamList playing;
    {
        std::lock_guard lock(R().mutex);
        for (auto it = R().streams.begin(); it != R().streams.end();) {
            if (it->second->started()) {
                playing.push_back(std::move(it->second));
                it = R().streams.erase(it);
            } else {
                ++it;
            }
        }
    }
    StopStreams(std::move(playing));
}

std::size_t ActiveStreamCount() {
    std::lock_guard lock(R().mutex);
    return R().streams.size();
}

void Shutdown() {
    StreamList all;
    std::unique_ptr<WatchThread> watcher;
    {
        std::lock_guard lock(R().mutex);
        for (auto& [handle, s] : R().streams) all.push_back(std::move(s));
        R().streams.clear();
        watcher = std::move(R().watcher);
        R().initialised = false;
    }
    StopStreams(std::move(all));
    watcher.reset();  // after the streams: their watches live on its context
    JoinPreload();
}

}  // namespace audio

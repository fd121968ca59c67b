// One melody: a playbin prerolled on a file, playing into its own audio sink.
#pragma once

#include <gst/gst.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/gst_ptr.h"

namespace audio::detail {

// Implemented by the registry; runs on the watch thread.
void StreamEnded(uint32_t handle);

class Stream {
public:
    // Null when the file cannot be opened or decoded within the preroll timeout.
    static std::unique_ptr<Stream> Open(const std::string& path, uint32_t handle);
    // Pipeline to NULL, then freed. Never call on a GStreamer streaming thread.
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Bus watch on `context`: StreamEnded(handle) runs there when the stream ends or fails.
    void Watch(GMainContext* context);
    bool Play(bool restart);
    bool started() const { return started_; }

    // Stopping is split so several streams can drain at once: BeginStop pushes
    // end-of-stream into the sink, FinishStop waits for it up to `deadline`.
    void BeginStop();
    void FinishStop(std::chrono::steady_clock::time_point deadline);

private:
    Stream() = default;

    uint32_t handle_ = 0;
    GstPtr<GstElement> pipeline_;
    GstPtr<GstElement> sink_;
    GstPtr<GstBus> bus_;
    SourcePtr watch_;
    bool started_ = false;
    bool eos_sent_ = false;
};

}  // namespace audio::detail

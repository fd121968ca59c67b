// Process-wide GStreamer state: one-time initialisation and the thread that runs bus watches.
#pragma once

#include <glib.h>

#include <mutex>
#include <thread>

namespace audio::detail {

// Initialises GStreamer once (the plugin registry load is the slow part).
// Returns false if GStreamer cannot be initialised; later calls return the same answer.
bool EnsureGst();

// Starts EnsureGst on a background thread so a caller's first frame is not held up by it.
// The thread runs at nice 10, below the GUI thread; a melody asked for before it is done
// waits in EnsureGst.
void PreloadInBackground();
// Joins that thread if it runs.
void JoinPreload();

// A thread running a GMainLoop on its own context. Bus watches attached here dispatch on
// it, which keeps pipeline teardown off GStreamer's streaming threads.
class WatchThread {
public:
    WatchThread();
    ~WatchThread();
    WatchThread(const WatchThread&) = delete;
    WatchThread& operator=(const WatchThread&) = delete;

    GMainContext* context() const { return context_; }

private:
    GMainContext* context_;
    GMainLoop* loop_;
    std::thread thread_;
};

}  // namespace audio::detail

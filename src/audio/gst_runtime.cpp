#include "audio/gst_runtime.h"

#include <gst/gst.h>
#include <sys/resource.h>
#include <unistd.h>

namespace audio::detail {

namespace {

// Linux gives each thread a nice value of its own.
constexpr int kPreloadNice = 10;

std::once_flag g_init_once;
bool g_init_ok = false;

// Never destroyed: the registry's exit hook joins the thread, and static destruction order
// across files is not ours to choose.
struct Preloader {
    std::mutex mutex;
    std::thread thread;
};
Preloader& P() {
    static Preloader* p = new Preloader;
    return *p;
}

}  // namespace

bool EnsureGst() {
    std::call_once(g_init_once, [] { g_init_ok = gst_init_check(nullptr, nullptr, nullptr); });
    return g_init_ok;
}

void PreloadInBackground() {
    std::lock_guard lock(P().mutex);
    if (!P().thread.joinable())
        P().thread = std::thread([] {
            // Below the GUI thread, which is drawing the first frame meanwhile on a machine
            // that may have fewer cores than busy threads; a melody asked for sooner runs
            // EnsureGst's wait at its own priority.
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kPreloadNice);
            EnsureGst();
        });
}

void JoinPreload() {
    std::thread t;
    {
        std::lock_guard lock(P().mutex);
        t = std::move(P().thread);
    }
    if (t.joinable()) t.join();
}

WatchThread::WatchThread()
    : context_(g_main_context_new()), loop_(g_main_loop_new(context_, FALSE)) {
    thread_ = std::thread([this] {
        g_main_context_push_thread_default(context_);
        g_main_loop_run(loop_);
        g_main_context_pop_thread_default(context_);
    });
}

WatchThread::~WatchThread() {
    // Quit through the context: a plain quit issued before the loop starts running is lost.
    g_main_context_invoke(
        context_,
        [](gpointer loop) -> gboolean {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
        },
        loop_);
    thread_.join();
    g_main_loop_unref(loop_);
    g_main_context_unref(context_);
}

}  // namespace audio::detail

// Owning pointers for the GLib/GStreamer objects the audio layer holds.
#pragma once

#include <gst/gst.h>

#include <memory>

namespace audio::detail {

struct GstObjectUnref {
    void operator()(gpointer p) const { gst_object_unref(p); }
};
struct GstMessageUnref {
    void operator()(GstMessage* m) const { gst_message_unref(m); }
};
struct GErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};
struct GFree {
    void operator()(gpointer p) const { g_free(p); }
};
struct GSourceDrop {
    // Detach first: the context keeps a source alive until it is destroyed.
    void operator()(GSource* s) const {
        g_source_destroy(s);
        g_source_unref(s);
    }
};

template <typename T>
using GstPtr = std::unique_ptr<T, GstObjectUnref>;
using MessagePtr = std::unique_ptr<GstMessage, GstMessageUnref>;
using ErrorPtr = std::unique_ptr<GError, GErrorFree>;
using GCharPtr = std::unique_ptr<gchar, GFree>;
using SourcePtr = std::unique_ptr<GSource, GSourceDrop>;

}  // namespace audio::detail

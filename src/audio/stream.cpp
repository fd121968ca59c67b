#include "audio/stream.h"

#include "audio/sink_description.h"

namespace audio::detail {

namespace {

// playbin's GstPlayFlags: audio plus software volume; no video or subtitles are decoded.
constexpr guint kPlayFlagAudio = 1u << 1;
constexpr guint kPlayFlagSoftVolume = 1u << 4;

constexpr GstClockTime kPrerollTimeout = 5 * GST_SECOND;

GstClockTime Remaining(std::chrono::steady_clock::time_point deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return 0;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
}

}  // namespace

std::unique_ptr<Stream> Stream::Open(const std::string& path, uint32_t handle) {
    // The path is the user's text: turn it into a file URI, never read it as one.
    GCharPtr uri(gst_filename_to_uri(path.c_str(), nullptr));
    if (!uri) return nullptr;

    std::unique_ptr<Stream> s(new Stream);
    s->handle_ = handle;
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin) return nullptr;
    s->pipeline_.reset(GST_ELEMENT(gst_object_ref_sink(playbin)));
    s->sink_ = MakeAudioSink(handle);
    if (!s->sink_) return nullptr;
    g_object_set(playbin, "uri", uri.get(), "audio-sink", s->sink_.get(), "flags",
                 kPlayFlagAudio | kPlayFlagSoftVolume, nullptr);
    s->bus_.reset(gst_element_get_bus(playbin));

    // Preroll: the file is found, typed and decoded up to the sink, or it is refused now.
    if (gst_element_set_state(playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) return nullptr;
    MessagePtr msg(gst_bus_timed_pop_filtered(
        s->bus_.get(), kPrerollTimeout,
        static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR)));
    if (!msg || GST_MESSAGE_TYPE(msg.get()) == GST_MESSAGE_ERROR) return nullptr;
    return s;
}

Stream::~Stream() {
    watch_.reset();
    if (pipeline_) gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
}

void Stream::Watch(GMainContext* context) {
    watch_.reset(gst_bus_create_watch(bus_.get()));
    // The callback gets only the handle: the stream may be gone by the time it runs.
    g_source_set_callback(
        watch_.get(),
        G_SOURCE_FUNC(+[](GstBus*, GstMessage* msg, gpointer data) -> gboolean {
            const auto type = GST_MESSAGE_TYPE(msg);
            if (type != GST_MESSAGE_EOS && type != GST_MESSAGE_ERROR) return G_SOURCE_CONTINUE;
            StreamEnded(GPOINTER_TO_UINT(data));
            return G_SOURCE_REMOVE;
        }),
        GUINT_TO_POINTER(handle_), nullptr);
    g_source_attach(watch_.get(), context);
}

bool Stream::Play(bool restart) {
    if (restart && started_) {
        gst_element_seek_simple(pipeline_.get(), GST_FORMAT_TIME,
                                static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT), 0);
    }
    if (gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) return false;
    started_ = true;
    return true;
}

void Stream::BeginStop() {
    watch_.reset();  // the end-of-stream below is ours to wait for, not the watch's
    GstState state = GST_STATE_VOID_PENDING;
    GstState pending = GST_STATE_VOID_PENDING;
    gst_element_get_state(pipeline_.get(), &state, &pending, 0);
    // A paused sink holds its streaming thread in preroll and would never see the event.
    if (state != GST_STATE_PLAYING && pending != GST_STATE_PLAYING) return;
    // Straight into the sink: a source in pull mode ignores end-of-stream sent to the pipeline.
    GstPtr<GstPad> pad(gst_element_get_static_pad(sink_.get(), "sink"));
    if (pad) eos_sent_ = gst_pad_send_event(pad.get(), gst_event_new_eos());
}

void Stream::FinishStop(std::chrono::steady_clock::time_point deadline) {
    if (eos_sent_) {
        MessagePtr msg(gst_bus_timed_pop_filtered(
            bus_.get(), Remaining(deadline),
            static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    }
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
}

}  // namespace audio::detail

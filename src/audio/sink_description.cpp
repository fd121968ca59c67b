#include "audio/sink_description.h"

#include <cstdlib>

namespace audio::detail {

std::string ExpandSinkDescription(const std::string& desc, uint32_t handle) {
    const std::string number = std::to_string(handle);
    std::string out;
    out.reserve(desc.size() + 8);
    for (std::size_t i = 0; i < desc.size(); ++i) {
        if (desc[i] == '%' && i + 1 < desc.size() && desc[i + 1] == 'n') {
            out += number;
            ++i;
        } else {
            out += desc[i];
        }
    }
    return out;
}

GstPtr<GstElement> MakeAudioSink(uint32_t handle) {
    const char* env = std::getenv(kSinkEnv);
    GstElement* sink = nullptr;
    if (env && *env) {
        GError* raw_error = nullptr;
        sink = gst_parse_bin_from_description(ExpandSinkDescription(env, handle).c_str(), TRUE,
                                              &raw_error);
        ErrorPtr error(raw_error);
        // A fragment with a missing element still yields a bin, with the error set.
        if (error) {
            if (sink) gst_object_unref(sink);
            return nullptr;
        }
    } else {
        sink = gst_element_factory_make("autoaudiosink", nullptr);
    }
    if (!sink) return nullptr;
    // Take ownership of the floating reference so playbin's own ref is an extra one.
    return GstPtr<GstElement>(GST_ELEMENT(gst_object_ref_sink(sink)));
}

}  // namespace audio::detail

// The audio sink a stream plays into: the default output, or a pipeline fragment from
// UTROZVON_AUDIO_SINK (used by tests and for recording what would be heard).
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <string>

#include "audio/gst_ptr.h"

namespace audio::detail {

inline constexpr const char* kSinkEnv = "UTROZVON_AUDIO_SINK";

// Replaces every "%n" with the stream handle so each stream can write its own file.
std::string ExpandSinkDescription(const std::string& desc, uint32_t handle);

// Builds the sink for stream `handle`; null if UTROZVON_AUDIO_SINK does not parse.
GstPtr<GstElement> MakeAudioSink(uint32_t handle);

}  // namespace audio::detail

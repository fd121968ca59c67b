// The sound calls the alarm clock makes: an old-style stream API over GStreamer.
// Every function is safe to call from any thread.
#pragma once

#include <cstddef>
#include <cstdint>

using DWORD = uint32_t;
using HSTREAM = DWORD;
using BOOL = int;
using QWORD = uint64_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

struct BASS_INFO {
    DWORD flags, hwsize, hwfree, freesam, free3d, minrate, maxrate;
    BOOL eax;
    DWORD minbuf, dsver, latency, initflags, speakers, freq;
};

// device: -1 or 1 is the default output. Cheap: the media framework is loaded on a
// background thread; the first stream waits for it. Repeated calls succeed.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* win, const void* clsid);
BOOL BASS_Start();
BOOL BASS_GetInfo(BASS_INFO* info);
// file is a UTF-8 path. Returns 0 (silently) for a missing, unreadable or undecodable
// file, for mem != FALSE, or before BASS_Init. Handles are never reused.
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);
BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
// Ends the stream and frees it; the sink receives end-of-stream first (bounded wait).
BOOL BASS_ChannelStop(DWORD handle);

namespace audio {

// Loads the media framework now; blocks until it is ready. Safe on any thread, any
// number of times, concurrently with BASS_Init.
void Preload();
// Stops every stream that was started and still plays.
void StopAll();
// Streams created and not yet stopped or ended.
std::size_t ActiveStreamCount();
// Frees every stream and the internal thread, and forgets BASS_Init. Runs at exit too.
void Shutdown();

}  // namespace audio

// The stream calls against real GStreamer pipelines, recording into WAV files instead of
// a sound card so what was played can be counted.
#include <fcntl.h>
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/bass_api.h"
#include "audio/sink_description.h"
#include "audio/wav_file.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kRate = 44100;

class AudioStreams : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/utrozvon-audio-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        UseSink(false);
        ASSERT_TRUE(BASS_Init(-1, kRate, 0, nullptr, nullptr));
    }
    void TearDown() override {
        audio::Shutdown();
        fs::remove_all(dir_);
    }

    // realtime: the file sink paces itself like a sound card, so a stream can be caught mid-way.
    void UseSink(bool realtime) {
        const std::string desc =
            "audioconvert ! audioresample ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! "
            "wavenc ! filesink sync=" + std::string(realtime ? "true" : "false") +
            " location=" + dir_ + "/out-%n.wav";
        setenv("UTROZVON_AUDIO_SINK", desc.c_str(), 1);
    }
    std::string Melody(const std::string& name, double seconds, uint32_t rate = kRate,
                       uint16_t channels = 2) {
        const std::string path = dir_ + "/" + name;
        wav::WriteSine(path, rate, channels, static_cast<uint32_t>(seconds * rate));
        return path;
    }
    std::string Out(HSTREAM h) const { return dir_ + "/out-" + std::to_string(h) + ".wav"; }

    static bool WaitFor(auto done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }
    static bool WaitIdle() { return WaitFor([] { return audio::ActiveStreamCount() == 0; }); }
    // Some sound has reached the file, so the stream is audibly under way.
    bool WaitRecording(HSTREAM h) const {
        return WaitFor([&] {
            std::error_code ec;
            return fs::file_size(Out(h), ec) > 44 + 8192 && !ec;
        });
    }
    uint32_t RecordedFrames(HSTREAM h) const {
        const auto info = wav::Read(Out(h));
        EXPECT_TRUE(info && info->finalized) << Out(h) << " is not a complete WAV file";
        return info && info->finalized ? info->frames : 0;
    }

    std::string dir_;
};

TEST_F(AudioStreams, PlaysToTheEndAndTheSinkGetsEverySample) {
    const HSTREAM h = BASS_StreamCreateFile(FALSE, Melody("a.wav", 0.5).c_str(), 0, 0, 0);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(audio::ActiveStreamCount(), 1u);
    ASSERT_TRUE(BASS_ChannelPlay(h, FALSE));
    ASSERT_TRUE(WaitIdle());
    EXPECT_NEAR(RecordedFrames(h), kRate / 2, 16);
    // The ended handle is refused but harmless.
    EXPECT_FALSE(BASS_ChannelPlay(h, FALSE));
    EXPECT_FALSE(BASS_ChannelStop(h));
}

TEST_F(AudioStreams, PathsWithSpacesCyrillicAndUriCharactersPlay) {
    fs::create_directories(dir_ + "/Мелодии будильника");
    for (const char* name : {"Мелодии будильника/утро 1.wav", "50% #1 ?a=b.wav"}) {
        SCOPED_TRACE(name);
        const HSTREAM h = BASS_StreamCreateFile(FALSE, Melody(name, 0.3).c_str(), 0, 0, 0);
        ASSERT_NE(h, 0u);
        ASSERT_TRUE(BASS_ChannelPlay(h, FALSE));
        ASSERT_TRUE(WaitIdle());
        EXPECT_NEAR(RecordedFrames(h), kRate * 3 / 10, 16);
    }
}

TEST_F(AudioStreams, FilesThatCannotBePlayedGiveZeroSilently) {
    const std::string text = dir_ + "/notes.txt";
    std::ofstream(text) << "wake up at seven\n";
    const std::string truncated = dir_ + "/cut.wav";
    std::ofstream(truncated, std::ios::binary) << "RIFF\x10\0\0\0WAVEfmt ";
    const std::string as_uri = "file://" + Melody("real.wav", 0.2);

    testing::internal::CaptureStderr();
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, (dir_ + "/missing.wav").c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, text.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, truncated.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, "", 0, 0, 0), 0u);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, dir_.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, as_uri.c_str(), 0, 0, 0), 0u);  // a path, not a URI
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, nullptr, 0, 0, 0), 0u);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, text.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(audio::ActiveStreamCount(), 0u);
}

TEST_F(AudioStreams, UnknownHandlesAreRefusedAndHandlesAreNeverReused) {
    const std::string path = Melody("a.wav", 0.3);
    const HSTREAM first = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(first, 0u);
    for (DWORD bad : {DWORD{0}, first + 1000, DWORD{0xffffffff}}) {
        EXPECT_FALSE(BASS_ChannelPlay(bad, FALSE)) << bad;
        EXPECT_FALSE(BASS_ChannelStop(bad)) << bad;
    }
    EXPECT_EQ(audio::ActiveStreamCount(), 1u);
    // Stopping a stream that never played frees it at once.
    EXPECT_TRUE(BASS_ChannelStop(first));
    EXPECT_FALSE(BASS_ChannelStop(first));
    EXPECT_EQ(audio::ActiveStreamCount(), 0u);

    const HSTREAM second = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    EXPECT_GT(second, first);
    EXPECT_FALSE(BASS_ChannelPlay(first, FALSE));
}

TEST_F(AudioStreams, TwoStreamsPlayTogetherWhateverTheirFormat) {
    const HSTREAM a = BASS_StreamCreateFile(FALSE, Melody("a.wav", 0.4).c_str(), 0, 0, 0);
    const HSTREAM b = BASS_StreamCreateFile(FALSE, Melody("b.wav", 0.6, 22050, 1).c_str(), 0, 0, 0);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(audio::ActiveStreamCount(), 2u);
    ASSERT_TRUE(BASS_ChannelPlay(a, FALSE));
    ASSERT_TRUE(BASS_ChannelPlay(b, FALSE));
    ASSERT_TRUE(WaitIdle());
    EXPECT_NEAR(RecordedFrames(a), kRate * 4 / 10, 16);
    EXPECT_NEAR(RecordedFrames(b), kRate * 6 / 10, kRate / 100);
}

TEST_F(AudioStreams, StoppingOneLeavesTheOtherAndClosesItsFile) {
    UseSink(true);
    const HSTREAM a = BASS_StreamCreateFile(FALSE, Melody("a.wav", 1.5).c_str(), 0, 0, 0);
    const HSTREAM b = BASS_StreamCreateFile(FALSE, Melody("b.wav", 0.8).c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_ChannelPlay(a, FALSE));
    ASSERT_TRUE(BASS_ChannelPlay(b, FALSE));
    ASSERT_TRUE(WaitRecording(a));
    ASSERT_TRUE(BASS_ChannelStop(a));
    EXPECT_EQ(audio::ActiveStreamCount(), 1u);

    const uint32_t cut = RecordedFrames(a);  // a valid WAV already: the stop drained the sink
    EXPECT_GT(cut, 0u);
    EXPECT_LT(cut, kRate * 3 / 2 - kRate / 10);

    ASSERT_TRUE(WaitIdle());
    EXPECT_NEAR(RecordedFrames(b), kRate * 8 / 10, 16);
}

TEST_F(AudioStreams, StopAllSilencesEveryPlayingStream) {
    UseSink(true);
    const std::string path = Melody("a.wav", 1.5);
    const HSTREAM a = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    const HSTREAM b = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    const HSTREAM idle = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_ChannelPlay(a, FALSE));
    ASSERT_TRUE(BASS_ChannelPlay(b, FALSE));
    ASSERT_TRUE(WaitRecording(a));
    ASSERT_TRUE(WaitRecording(b));

    audio::StopAll();
    EXPECT_EQ(audio::ActiveStreamCount(), 1u);  // the one never started is kept
    EXPECT_FALSE(BASS_ChannelStop(a));
    EXPECT_FALSE(BASS_ChannelStop(b));
    EXPECT_LT(RecordedFrames(a), kRate * 3 / 2);
    EXPECT_LT(RecordedFrames(b), kRate * 3 / 2);
    EXPECT_TRUE(BASS_ChannelPlay(idle, FALSE));
}

TEST_F(AudioStreams, RestartPlaysFromTheBeginningAgain) {
    // Raw PCM appended to a file: WAV headers and file truncation do not survive a rewind.
    const std::string raw = dir_ + "/restart.raw";
    const int fd = open(raw.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    ASSERT_GE(fd, 0);
    const std::string desc =
        "audioconvert ! audioresample ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! "
        "fdsink sync=true fd=" + std::to_string(fd);
    setenv("UTROZVON_AUDIO_SINK", desc.c_str(), 1);
    const HSTREAM h = BASS_StreamCreateFile(FALSE, Melody("a.wav", 0.6).c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_ChannelPlay(h, FALSE));
    ASSERT_TRUE(WaitFor([&] { return fs::file_size(raw) > 16384; }));
    ASSERT_TRUE(BASS_ChannelPlay(h, TRUE));
    ASSERT_TRUE(WaitIdle());
    close(fd);
    // The part heard before the restart is heard twice.
    EXPECT_GT(fs::file_size(raw) / 4, kRate * 6 / 10 + 16384 / 4);
}

TEST_F(AudioStreams, CallsFromSeveralThreadsKeepHandlesDistinct) {
    const std::string path = Melody("a.wav", 0.2);
    std::vector<HSTREAM> handles(4);
    std::vector<std::thread> threads;
    for (auto& h : handles) {
        threads.emplace_back([&] {
            audio::Preload();
            h = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
            BASS_ChannelPlay(h, FALSE);
            audio::StopAll();
        });
    }
    for (auto& t : threads) t.join();
    std::sort(handles.begin(), handles.end());
    EXPECT_EQ(std::adjacent_find(handles.begin(), handles.end()), handles.end());
    EXPECT_NE(handles.front(), 0u);
    EXPECT_TRUE(WaitIdle());
}

TEST_F(AudioStreams, NothingIsCreatedBeforeInitOrWithABrokenSink) {
    const std::string path = Melody("a.wav", 0.2);
    audio::Shutdown();
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0), 0u);
    BASS_INFO info{};
    EXPECT_FALSE(BASS_GetInfo(&info));
    EXPECT_FALSE(BASS_Init(7, kRate, 0, nullptr, nullptr));

    ASSERT_TRUE(BASS_Init(1, 48000, 0, nullptr, nullptr));
    EXPECT_TRUE(BASS_Start());
    ASSERT_TRUE(BASS_GetInfo(&info));
    EXPECT_EQ(info.freq, 48000u);

    setenv("UTROZVON_AUDIO_SINK", "wavenc ! no-such-element-here", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(AudioSinkDescription, EveryHandleMarkerIsReplaced) {
    using audio::detail::ExpandSinkDescription;
    EXPECT_EQ(ExpandSinkDescription("filesink location=/t/%n-%n.wav", 42), "filesink location=/t/42-42.wav");
    EXPECT_EQ(ExpandSinkDescription("a ! b location=100%d %", 7), "a ! b location=100%d %");
    EXPECT_EQ(ExpandSinkDescription("%n", 4294967295u), "4294967295");
}

TEST(AudioDecoders, CompressedMelodyFormatsCanBeDecoded) {
    audio::Preload();
    for (const char* name : {"vorbisdec", "flacdec", "mpg123audiodec", "oggdemux", "wavparse"}) {
        GstElementFactory* f = gst_element_factory_find(name);
        EXPECT_NE(f, nullptr) << name;
        if (f) gst_object_unref(f);
    }
}

// Initialising the sound starts GStreamer on a thread of its own, so the first frame is not
// held up by it; a melody asked for at once, before that thread is done, waits for it and
// plays whole. The check runs in a new process of its own, where no earlier test has
// started GStreamer yet.
TEST(AudioStart, AMelodyAskedForBeforeTheBackEndIsReadyWaitsForItAndPlaysWhole) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char tmpl[] = "/tmp/utrozvon-audio-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl, melody = dir + "/a.wav";
    wav::WriteSine(melody, kRate, 2, kRate * 3 / 10);
    const std::string desc =
        "audioconvert ! audioresample ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! "
        "wavenc ! filesink location=" +
        dir + "/out-%n.wav";
    setenv("UTROZVON_AUDIO_SINK", desc.c_str(), 1);
    EXPECT_EXIT(
        {
            const bool fresh = !gst_is_initialized();
            BASS_Init(-1, kRate, 0, nullptr, nullptr);
            const HSTREAM h = BASS_StreamCreateFile(FALSE, melody.c_str(), 0, 0, 0);
            bool played = h != 0 && BASS_ChannelPlay(h, FALSE);
            for (int i = 0; played && audio::ActiveStreamCount() != 0 && i < 1000; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const auto info =
                played ? wav::Read(dir + "/out-" + std::to_string(h) + ".wav") : std::nullopt;
            const bool whole = info && info->finalized && info->frames + 16 >= kRate * 3 / 10 &&
                               info->frames <= kRate * 3 / 10 + 16;
            audio::Shutdown();
            std::fprintf(stderr, "fresh %d handle %u whole %d\n", fresh, static_cast<unsigned>(h),
                         whole);
            std::_Exit(fresh && whole ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "fresh 1 handle [1-9][0-9]* whole 1");
    fs::remove_all(dir);
}

}  // namespace

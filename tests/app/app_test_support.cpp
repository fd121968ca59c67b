#include "support/headless_screen.h"
#include "app_test_support.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "audio/bass_api.h"
#include "audio/wav_file.h"

namespace app_testing {

namespace fs = std::filesystem;

platform::headless::HeadlessBackend& Screen() { return test_support::HeadlessScreen(); }

void MainWindowTest::SetUp() {
    Screen();
    char tmpl[] = "/tmp/utrozvon-app-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    folder = tmpl;
    app::SetSettingsFolderForTests(folder);
    std::string sink = "audioconvert ! audioresample ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! wavenc ! "
                       "filesink sync=true location=" + folder + "/out-%n.wav";
    setenv("UTROZVON_AUDIO_SINK", sink.c_str(), 1);
    SetNow(2024, 1, 1, 12, 0, 0, 0);
    platform::SetLocalTimeSource([this] { return now; });
}

void MainWindowTest::TearDown() {
    audio::StopAll();
    application.reset();
    Pump();
    platform::SetLocalTimeSource(nullptr);
    app::SetSettingsFolderForTests("");
    std::error_code ec;
    fs::remove_all(folder, ec);
}

void MainWindowTest::WriteSettings(const std::vector<std::string>& lines) {
    std::ofstream out(folder + "/nastr.ini", std::ios::binary);
    for (const std::string& l : lines) out << l << "\r\n";
}

std::string MainWindowTest::ReadSettingsBytes() const {
    std::ifstream in(folder + "/nastr.ini", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void MainWindowTest::CreateWindow(bool localeTimeSettings) {
    application = std::make_unique<framework::TApplication>();
    application->Title = "Утрозвон";
    application->CreateForm(form);
    if (localeTimeSettings) return;
    // Fixed settings, whatever the machine's locale.
    app::TimeFormatSettings fs;
    fs.HourLeadingZero = true;
    fs.Clock24 = true;
    form->TimeSettings = fs;
}

void MainWindowTest::SetNow(int year, int month, int day, int hour, int minute, int second, int ms) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = 12;
    timegm(&tm);
    now = platform::LocalTime{year, month, day, hour, minute, second, ms, tm.tm_wday};
}

void MainWindowTest::Pump() {
    if (application) application->ProcessMessages();
}

std::string MainWindowTest::Melody(const std::string& name) {
    std::string path = folder + "/" + name;
    wav::WriteSine(path, 44100, 2, 44100);  // one second
    return path;
}

int MainWindowTest::RecordedStreams() const {
    int n = 0;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().rfind("out-", 0) == 0) ++n;
    return n;
}

}  // namespace app_testing

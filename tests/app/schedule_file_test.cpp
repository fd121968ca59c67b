// Reading and saving the 21-line settings file, including failures part-way.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app_test_support.h"
#include "framework/exceptions.h"

namespace {

using app_testing::MainWindowTest;
namespace fs = std::filesystem;

using ScheduleFile = MainWindowTest;

std::vector<std::string> Lines(std::initializer_list<const char*> l) { return {l.begin(), l.end()}; }

TEST_F(ScheduleFile, WithoutAFileTheWindowKeepsItsDesignValues) {
    CreateWindow();
    for (int d = 0; d < 7; ++d) {
        EXPECT_FALSE(form->sCheckBox[d]->Checked());
        EXPECT_EQ(form->sEdit[d]->Text(), "07:00:00");
        EXPECT_EQ(form->sFilenameEdit[d]->Text(), "");
    }
    EXPECT_EQ(form->SButton->Caption(), "Вкл");
    EXPECT_EQ(Panel(0) + Panel(1) + Panel(2), "");
}

TEST_F(ScheduleFile, SevenLinesSetTheBoxesAndEmptyTimesAndMelodies) {
    WriteSettings(Lines({"TRUE", "FALSE", "true", "False", "1", "0", "-2.5"}));
    CreateWindow();
    bool expected[] = {true, false, true, false, true, false, true};
    for (int d = 0; d < 7; ++d) {
        EXPECT_EQ(form->sCheckBox[d]->Checked(), expected[d]) << d;
        EXPECT_EQ(form->sEdit[d]->Text(), "") << d;
        EXPECT_EQ(form->sFilenameEdit[d]->Text(), "") << d;
    }
}

TEST_F(ScheduleFile, AnUnreadableBooleanStopsTheReadAndKeepsWhatCameBefore) {
    for (const char* bad : {"yes", "да", ""}) {
        WriteSettings(Lines({"TRUE", "TRUE", bad, "TRUE", "TRUE", "TRUE", "TRUE", "08:00"}));
        CreateWindow();
        EXPECT_TRUE(form->sCheckBox[1]->Checked()) << bad;
        EXPECT_FALSE(form->sCheckBox[2]->Checked()) << bad;
        EXPECT_FALSE(form->sCheckBox[3]->Checked()) << bad;
        EXPECT_EQ(form->sEdit[0]->Text(), "07:00:00") << bad;
        application.reset();
    }
}

TEST_F(ScheduleFile, LfEndingsCtrlZAndOddTimesAreReadAsTheyStand) {
    std::ofstream(folder + "/nastr.ini", std::ios::binary)
        << "TRUE\nFALSE\nFALSE\nFALSE\nFALSE\nFALSE\nFALSE\n25:00\r\n7:00\n\n\n\n\n\n/music/a b.wav\n\x1aTRUE\n";
    CreateWindow();
    EXPECT_TRUE(form->sCheckBox[0]->Checked());
    EXPECT_EQ(form->sEdit[0]->Text(), "25:00");
    EXPECT_EQ(form->sEdit[1]->Text(), "7:00");
    EXPECT_EQ(form->sFilenameEdit[0]->Text(), "/music/a b.wav");
    EXPECT_EQ(form->sFilenameEdit[1]->Text(), "") << "Ctrl-Z ends the file";
}

TEST_F(ScheduleFile, AnUntouchedWindowWritesTheDefaultsByteForByte) {
    CreateWindow();
    form->SaveIni();
    std::string expected;
    for (int i = 0; i < 7; ++i) expected += "FALSE\r\n";
    for (int i = 0; i < 7; ++i) expected += "07:00:00\r\n";
    for (int i = 0; i < 7; ++i) expected += "\r\n";
    EXPECT_EQ(ReadSettingsBytes(), expected);
    form->SaveIni();
    EXPECT_EQ(ReadSettingsBytes(), expected) << "saving twice gives the same bytes";
    EXPECT_FALSE(fs::exists(folder + "/nastr.ini.tmp"));
}

TEST_F(ScheduleFile, TextsRoundTripUnquotedAndUnchanged) {
    CreateWindow();
    form->sCheckBox[4]->SetChecked(true);
    form->sEdit[4]->SetText(" 7 : 30 ");
    form->sFilenameEdit[4]->SetText("/home/пользователь/Музыка/утро с пробелами.ogg");
    form->SaveIni();
    application.reset();
    CreateWindow();
    EXPECT_TRUE(form->sCheckBox[4]->Checked());
    EXPECT_EQ(form->sEdit[4]->Text(), " 7 : 30 ");
    EXPECT_EQ(form->sFilenameEdit[4]->Text(), "/home/пользователь/Музыка/утро с пробелами.ogg");
}

TEST_F(ScheduleFile, SavingAfterAFailedReadWritesTheWholeWindow) {
    WriteSettings(Lines({"TRUE", "maybe"}));
    CreateWindow();
    form->SaveIni();
    std::string bytes = ReadSettingsBytes();
    EXPECT_EQ(bytes.substr(0, 12), "TRUE\r\nFALSE\r");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 21);
}

// A save that runs out of room part-way keeps the old file whole and says "Disk full".
TEST_F(ScheduleFile, ASaveThatFailsPartWayKeepsThePreviousFile) {
    WriteSettings(Lines({"TRUE", "TRUE", "TRUE", "TRUE", "TRUE", "TRUE", "TRUE"}));
    std::string before = ReadSettingsBytes();
    CreateWindow();
    for (int d = 0; d < 7; ++d) form->sFilenameEdit[d]->SetText(std::string(200, 'x'));
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{512, 512};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            form->SaveIni();
        } catch (const framework::EInOutError& e) {
            _exit(e.ErrorCode == 101 && e.Message() == "Disk full" ? 42 : 1);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 42);
    EXPECT_EQ(ReadSettingsBytes(), before);
    EXPECT_FALSE(fs::exists(folder + "/nastr.ini.tmp"));
}

// A melody path with a line break (legal on Linux) was written raw and shifted every later
// line of the file: the later rows were lost on the next start.
TEST_F(ScheduleFile, TextsThatWouldBreakTheirLineAreNeverWritten) {
    WriteSettings(Lines({"TRUE"}));
    const std::string before = ReadSettingsBytes();
    CreateWindow();
    struct Row {
        const char* name;
        int melodyRow;  // -1: the time edit of row 0 holds the text
        const char* text;
        const char* message;
    } rows[] = {
        {"line feed in a melody", 2, "/music/a\nb.mp3", "Invalid filename"},
        {"carriage return in a melody", 6, "/music/a\rb.mp3", "Invalid filename"},
        {"ctrl-z in a melody", 0, "/music/a\x1a.mp3", "Invalid filename"},
        {"line feed in a time", -1, "07:00\n:00", "'07:00\n:00' is not a valid time"},
    };
    for (const Row& r : rows) {
        if (r.melodyRow >= 0) form->sFilenameEdit[static_cast<size_t>(r.melodyRow)]->SetText(r.text);
        else form->sEdit[0]->SetText(r.text);
        try {
            form->SaveIni();
            ADD_FAILURE() << r.name << ": saved";
        } catch (const framework::Exception& e) {
            EXPECT_EQ(e.Message(), r.message) << r.name;
        }
        EXPECT_EQ(ReadSettingsBytes(), before) << r.name;
        if (r.melodyRow >= 0) form->sFilenameEdit[static_cast<size_t>(r.melodyRow)]->SetText("");
        else form->sEdit[0]->SetText("07:00:00");
    }
    form->SaveIni();
    const std::string after = ReadSettingsBytes();
    EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 21);
}

TEST_F(ScheduleFile, AStaleTemporaryFileIsRemovedAtStart) {
    std::ofstream(folder + "/nastr.ini.tmp") << "half a save";
    CreateWindow();
    EXPECT_FALSE(fs::exists(folder + "/nastr.ini.tmp"));
}

}  // namespace

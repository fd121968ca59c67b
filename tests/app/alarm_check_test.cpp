// The one-second alarm check: the firing window, today's row only, the armed state, bad
// times, midnight, and what the status bar shows.
#include <gtest/gtest.h>

#include "app_test_support.h"
#include "audio/bass_api.h"

namespace {

using app_testing::MainWindowTest;

class AlarmCheck : public MainWindowTest {
protected:
    // Monday's row enabled at 07:00:00 with a melody.
    void ArmMonday(const std::string& time = "07:00:00") {
        CreateWindow();
        melody = Melody("утро мелодия.wav");
        form->sCheckBox[0]->SetChecked(true);
        form->sEdit[0]->SetText(time);
        form->sFilenameEdit[0]->SetText(melody);
    }
    void TickAt(int day, int h, int m, int s, int ms) {
        SetNow(2024, 1, day, h, m, s, ms);  // 1 January 2024 is a Monday
        form->Timer1Timer(form->Timer1);
    }
    std::string melody;
};

TEST_F(AlarmCheck, FiresOnlyStrictlyInsideTheSecondAfterTheAlarmTime) {
    struct Row {
        const char* name;
        int s, ms;
        bool fires;
    } rows[] = {
        {"a second early", -1, 900, false}, {"exactly on time", 0, 0, false}, {"400 ms late", 0, 400, true},
        {"999 ms late", 0, 999, true},      {"1.5 s late", 1, 500, false},
    };
    for (const Row& r : rows) {
        ArmMonday();
        if (r.s < 0) TickAt(1, 6, 59, 59, r.ms);
        else TickAt(1, 7, 0, r.s, r.ms);
        EXPECT_EQ(form->FStream != 0, r.fires) << r.name;
        EXPECT_EQ(Panel(0), r.fires ? melody : "") << r.name;
        audio::StopAll();
        application.reset();
    }
}

TEST_F(AlarmCheck, StatusBarShowsStateAndTimeEveryTickEvenDisarmed) {
    ArmMonday();
    form->SButtonClick(form->SButton);
    TickAt(1, 7, 0, 0, 400);
    EXPECT_EQ(Panel(1), "Выкл");
    EXPECT_EQ(Panel(2), "  07:00:00");
    EXPECT_EQ(form->FStream, 0u);
    EXPECT_EQ(Panel(0), "");
    form->SButtonClick(form->SButton);
    TickAt(1, 7, 0, 1, 100);
    EXPECT_EQ(Panel(1), "Вкл");
    EXPECT_EQ(Panel(2), "  07:00:01");
}

TEST_F(AlarmCheck, RowsOfOtherDaysDoNotFire) {
    ArmMonday();
    TickAt(2, 7, 0, 0, 400);  // Tuesday
    EXPECT_EQ(form->FStream, 0u);
    EXPECT_EQ(Panel(0), "");
}

TEST_F(AlarmCheck, TimeWithoutSecondsBehavesAsTheFullTime) {
    ArmMonday("7:00");
    TickAt(1, 7, 0, 0, 300);
    EXPECT_NE(form->FStream, 0u);
}

TEST_F(AlarmCheck, InvalidTimeIsIgnoredAndTheClockKeepsTicking) {
    ArmMonday("25:00");
    TickAt(1, 7, 0, 0, 300);
    EXPECT_EQ(form->FStream, 0u);
    EXPECT_EQ(Panel(2), "  07:00:00");
    TickAt(1, 7, 0, 1, 300);
    EXPECT_EQ(Panel(2), "  07:00:01");
}

TEST_F(AlarmCheck, LastSecondOfSundayAndFirstSecondOfMonday) {
    CreateWindow();
    std::string tune = Melody("tune.wav");
    form->sCheckBox[6]->SetChecked(true);
    form->sEdit[6]->SetText("23:59:59");
    form->sFilenameEdit[6]->SetText(tune);
    TickAt(7, 23, 59, 59, 500);  // Sunday 7 January
    EXPECT_NE(form->FStream, 0u);
    form->sSpeedButton1Click(form->sSpeedButton1);
    form->FStream = 0;
    form->sCheckBox[0]->SetChecked(true);
    form->sEdit[0]->SetText("00:00:00");
    form->sFilenameEdit[0]->SetText(tune);
    TickAt(8, 0, 0, 0, 300);  // Monday 8 January
    EXPECT_NE(form->FStream, 0u);
}

TEST_F(AlarmCheck, UnplayableMelodyStillShowsItsPathAndAnEmptyOneClearsIt) {
    ArmMonday();
    form->sFilenameEdit[0]->SetText(folder + "/missing.mp3");
    TickAt(1, 7, 0, 0, 500);
    EXPECT_EQ(form->FStream, 0u);
    EXPECT_EQ(Panel(0), folder + "/missing.mp3");
    form->sFilenameEdit[0]->SetText("");
    TickAt(1, 7, 0, 0, 600);
    EXPECT_EQ(Panel(0), "");
}

TEST_F(AlarmCheck, StopSilencesEveryMelodyStillPlaying) {
    ArmMonday();
    TickAt(1, 7, 0, 0, 200);
    std::uint32_t first = form->FStream;
    TickAt(1, 7, 0, 0, 700);
    EXPECT_NE(form->FStream, first);
    EXPECT_EQ(audio::ActiveStreamCount(), 2u);
    form->sSpeedButton1Click(form->sSpeedButton1);
    EXPECT_EQ(audio::ActiveStreamCount(), 0u);
    EXPECT_EQ(Panel(0), melody) << "stopping keeps the path shown";
}

}  // namespace
